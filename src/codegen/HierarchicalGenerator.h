#pragma once
// The hierarchical switch-case generator: one C module (and its header) for
// a whole tree of diagrams. The top diagram becomes the exported FSM
// function; every child diagram called from a state's during or else action
// becomes a static FSM function of the same module, its identifiers made
// unique by a prefix ("_1", "_1_2"...).

#include <QString>

namespace orvane {

class FsmDocument;
class Messenger;

// Where the generator gets the document of a child diagram. The generator
// opens no file itself: the application opens the child (or finds it
// already open) and keeps the document alive until the generation ends.
class ChildDocumentSource {
public:
    virtual ~ChildDocumentSource() = default;
    // The document of the diagram file at fullPath; null, with *error
    // saying why, when it cannot be opened.
    virtual const FsmDocument* openChild(const QString& fullPath, QString* error) = 0;
};

namespace HierarchicalGenerator {

// Code text + "· ·" + header text + "· ·" for the tree under `top`, or an
// empty text when any diagram of the tree refused (its reason went to the
// messenger). DI, PT, BF and AC are the top document's; FI, FE, HF and UM
// each diagram's own.
QString generateCodeHierarchical(const FsmDocument& top, ChildDocumentSource& children,
                                 Messenger& messenger);

// "[" + path + "]" and, when known, a line with the reason follow.
inline const QString kMsgChildNotOpened =
    QStringLiteral("Attention, the child FSM can't be opened:");
// "[" + FSM name + "]" and the two files follow.
inline const QString kMsgNameClash =
    QStringLiteral("Attention, two different diagrams have the same FSM name:");

}  // namespace HierarchicalGenerator
}  // namespace orvane
