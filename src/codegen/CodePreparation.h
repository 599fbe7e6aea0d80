#pragma once
// What every C generator does before it builds any text: read the
// configuration record into a context and run the checks that may refuse
// the generation.

#include "CodeSections.h"

namespace orvane {
class Messenger;
}

namespace orvane::codegen {

// A context holding the configuration texts and the identifiers of the flat
// generators ("ind_" + NAME...); the diagram is not scanned yet.
GenContext prepareContext(const Diagram& d, const QString& documentPath, const GenOptions& opt,
                          Methodology style, const ChildDocumentSource& children);

// The checks, in the methodology's order: FSM name, state scan, initial
// state and entry/exit analysis (the pointer methodology analyses before it
// looks for the initial state). The first failure shows its message; false
// then.
bool checkAndScan(GenContext& ctx, const Diagram& d, Messenger& messenger);

}  // namespace orvane::codegen
