#pragma once
// How the generators and the list file see a diagram that may not be
// renumbered: states by rank of their index, transitions of a state by rank
// of their priority, and which out-links really are transitions.

#include "Diagram.h"

#include <QString>

#include <vector>

namespace orvane::Ranking {

// A decimal text read leniently: the longest numeric prefix after leading
// blanks ("12abc" is 12, "abc" and "" are 0).
double lenientNumber(const QString& text);
// lenientNumber rounded half to even ("2.5" gives 2), clamped to int.
int lenientIndex(const QString& text);

// Every state node, ordered by its rounded index; equal indices keep
// diagram order. Position i holds the state of rank i + 1.
std::vector<Node*> statesByRank(const Diagram& d);

// The state a transition node leads to: the destination of its first
// out-link when that is a state; null otherwise (then it is no transition).
Node* transitionTarget(const Node* transition);

// The transitions of a state: transition nodes reached by its out-links
// that have a target, ordered by priority (read leniently, not rounded),
// ties in out-link order. Position i holds the transition of rank i + 1.
std::vector<Node*> transitionsByRank(const Node* state);

}  // namespace orvane::Ranking
