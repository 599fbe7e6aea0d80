#pragma once
// The flat C generators (switch-case, pointer to state functions, array of
// pointers to state functions) and the list file. A generator refuses (and
// tells the messenger why) when the FSM has no name, no initial state or
// errors in its entry and exit actions. The document path locates the child
// diagrams called by the states.

#include "CodeSections.h"
#include "Diagram.h"
#include "DiagramChecks.h"
#include "Generation.h"

#include <QString>

#include <optional>

namespace orvane {

class FsmDocument;
class Messenger;

namespace FlatGenerators {

// The module of a diagram in a flat style (the hierarchical style is not one).
std::optional<GeneratedCode> generate(Methodology m, const Diagram& d, const QString& documentPath,
                                      const codegen::GenOptions& options,
                                      const ChildDocumentSource& children, Messenger& messenger);
// The same with the document's diagram, file path and options.
std::optional<GeneratedCode> generate(Methodology m, const FsmDocument& doc,
                                      const ChildDocumentSource& children, Messenger& messenger);
// The generation options a document holds.
codegen::GenOptions optionsOf(const FsmDocument& doc);

// The whole FSM as tagged text; never refuses. Ends without a line break.
QString generateListFile(const Diagram& d);

// Messages of a refused generation (the diagram checks say the same).
inline const QString& kMsgNoName = DiagramChecks::kMsgNoName;
inline const QString& kMsgNoInitial = DiagramChecks::kMsgNoInitial;
inline const QString& kMsgEntryExit = DiagramChecks::kMsgEntryExit;
inline const QString& kMsgSameStateName = DiagramChecks::kMsgSameStateName;

}  // namespace FlatGenerators
}  // namespace orvane
