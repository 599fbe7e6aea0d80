#pragma once
// One diagram of a hierarchical module: the checks of a switch-case machine
// and the pieces of text that the walk over the tree of diagrams collects
// into the shared sections of one C file. Identifiers carry the diagram's
// prefix ("" for the top diagram, "_1", "_1_2"... for the children).

#include "Diagram.h"
#include "Generation.h"

#include <QString>

namespace orvane {
class Messenger;
}

namespace orvane::codegen {

struct HierarchicalOptions {
    // The diagram's own choices.
    bool initFunction = false;  // [FI] the Init macro of a history FSM
    bool finalTest = false;     // [FE] the final-state test
    bool history = false;       // [HF] the FSM keeps its state between runs
    bool useMacros = true;      // [UM] macros only; off: a function behind every macro
    // The top document's choices, for the whole tree.
    bool debugInfo = false;     // [DI] FSM_DEBUG blocks
    bool printRemarks = false;  // [PT] remarks printed into the code
    bool bitFields = false;     // [BF] entry flags as one-bit members of one structure
};

// Every line ends in CR LF unless said otherwise.
struct DiagramPieces {
    QString name;            // the FSM name
    QString initialization;  // the user's initialization (the top: banner and frame head first)
    QString automatic;       // index constants, index variable, debug names, macros
    QString prototype;       // a child's "static void NAME(PARAMS);", without line end
    QString debugMacros;     // the FSM_DEBUG macros of this diagram
    QString dispatcher;      // the FSM function and the exit functions
    QString ending;          // the user's ending code and the remarks
    QString header;          // the top: header opening; all: function declarations
    QString entryFlag;       // the entry flag's declaration or bit-field member

    bool operator==(const DiagramPieces&) const = default;
};

// Checks the diagram as the switch-case generator does and builds its
// pieces. False, with the reason shown through the messenger, when refused.
bool generateDiagramPieces(const Diagram& d, const QString& documentPath,
                           const HierarchicalOptions& opt, bool isTop, const QString& prefix,
                           const ChildDocumentSource& children, Messenger& messenger,
                           DiagramPieces& out);

}  // namespace orvane::codegen
