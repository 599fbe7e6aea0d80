#pragma once
// The hierarchical switch-case generator: one C module (and its header) for
// a whole tree of diagrams. The top diagram becomes the exported FSM
// function; every child diagram called from a state's during or else action
// becomes a static FSM function of the same module, its identifiers made
// unique by a prefix ("_1", "_1_2"...).

#include "Generation.h"

#include <QString>

#include <optional>

namespace orvane {

class FsmDocument;
class Messenger;

namespace HierarchicalGenerator {

// The module of the tree under `top`; nothing when any diagram of the tree
// refused (its reason went to the messenger). The debug, remark, bit-field
// and comment options are the top document's; the Init, final-test, history
// and macro options each diagram's own.
std::optional<GeneratedCode> generate(const FsmDocument& top, ChildDocumentSource& children,
                                      Messenger& messenger);

// "[" + path + "]" and, when known, a line with the reason follow.
inline const QString kMsgChildNotOpened =
    QStringLiteral("Attention, the child FSM can't be opened:");
// "[" + FSM name + "]" and the two files follow.
inline const QString kMsgNameClash =
    QStringLiteral("Attention, two different diagrams have the same FSM name:");

}  // namespace HierarchicalGenerator
}  // namespace orvane
