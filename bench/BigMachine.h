#pragma once
// A large machine for the benchmarks and for the big diagram files of the
// batch measurements: `states` states on a square grid, three transitions
// each (to the next state; a two-line condition back to the first state; an
// internal self transition). Every fifth state has entry and exit actions,
// every seventh an else action. The records are written as a file holds
// them; a document opened on them rebuilds the texts.

#include "Diagram.h"
#include "FsmDocument.h"

namespace orvane::bench {

// Fills an empty diagram with the machine's nodes, links and record.
// Without `named` the states' records leave the name out, as a file
// written by another tool may: opening the file gives the default names.
void buildMachine(Diagram& d, int states, bool named = true);

// A document holding the machine, opened as after a load (texts and sizes
// rebuilt from the records) and named `path`.
void openMachine(FsmDocument& doc, int states, const QString& path);

// One state with `transitions` transitions to as many other states: the
// input of a priority renumbering.
Node* buildFan(Diagram& d, int transitions);

// A small machine named `name` (two states, a transition each way, ending
// code), opened as after a load and named `path`. The first state's during
// action is `during` (a child call "CHILD();" makes a hierarchy); the
// transition to the second state runs `action`.
void openSmallMachine(FsmDocument& doc, const QString& name, const QString& during,
                      const QString& action, const QString& path);

}  // namespace orvane::bench
