#pragma once
// States: the kind bits shared by every node, the eight-field StateInfo
// record and the drawing derived from it, indices, names, the initial state.

#include "Diagram.h"

#include <QString>

namespace orvane {
class FsmDocument;
class Messenger;
}

namespace orvane::States {

constexpr qint32 NODE_INFO = 0x200;
constexpr qint32 NODE_TEXTBOX = 0x400;
constexpr qint32 NODE_TRANSITION = 0x800;
constexpr qint32 NODE_MARK = 0x1000;
constexpr qint32 NODE_STATE_NORMAL = 0x2000;
constexpr qint32 NODE_STATE_INITIAL = 0x4000;
constexpr qint32 NODE_STATE_FINAL = 0x8000;
constexpr qint32 NODE_STATE_SUPER = 0x10000;
constexpr qint32 NODE_MARGIN = 0x20000;
constexpr qint32 NODE_STATE_ANY = 0x1E000;
constexpr qint32 NODE_FSM_ITEM = 0x1F800;

// StateInfo fields.
enum StateField {
    kStateName = 0,
    kStateDuring = 1,
    kStateIndex = 2,
    kStateEntry = 3,
    kStateExit = 4,
    kStateIsIn = 5,
    kStateGoto = 6,
    kStateElse = 7,
    kStateFieldCount = 8
};

// The only writer of a state node. `name` gets a default when empty.
// A kind other than the four state kinds is refused: the message
// "Error in Configura_Nodo_Estado" goes to the messenger, the node is left
// as it was and the result is false.
bool configureState(FsmDocument& doc, QString& name, const QString& during,
                           const QString& entry, const QString& exit, const QString& elseAction,
                           const QString& index, qint32 kind, const QString& isIn,
                           const QString& goTo, Node* node, Messenger& messenger);

// Fits a node to its text (transition nodes always, others with AS on)
// without touching the diagram's Changed flag.
void sizeNodeToText(const FsmDocument& doc, Node* node);
// Enlarges a node to at least 150 x 100.
void enlargeToMinimum(Node* node);
// The node's centre (left + width/2, top + height/2).
QPointF nodeCentre(const Node* node);
// Puts the node's centre on `centre`; a left or top not above 0 becomes 1.
void recentre(Node* node, QPointF centre);
// True when `kind` is exactly one of the four state kinds.
bool isStateKind(qint32 kind);

// 1 + the largest state index ("1" for a diagram without nodes).
QString nextStateIndex(const Diagram& d);
// Gives the states the indices 1..n in the order of their previous indices;
// `edited` (may be null) goes first among equals.
void renumberStateIndices(FsmDocument& doc, Node* edited, Messenger& messenger);
// False when another state than the diagram's current node uses the name
// (ignoring case).
bool isStateNameFree(const FsmDocument& doc, const QString& name);

QString getStateField(int k, const Node* node);
bool isStateNode(const Node* node);
bool isInitialNode(const Node* node);
bool isFinalNode(const Node* node);
bool isTextBox(const Node* node);
bool onlyTextItemsSelected(const Diagram& d);
// First node whose UserData has a bit of `mask` and which is not `node`.
Node* findOtherNode(const Diagram& d, qint32 mask, const Node* node);

// The "<History>" mark of the initial state (node null: the diagram's
// initial state).
void setHistoryMark(FsmDocument& doc, Node* node);
void removeHistoryMark(FsmDocument& doc, Node* node);
void applyDefaultColours(Diagram& d);
// Reconfigures every state and transition from its own record.
void refreshAllItems(FsmDocument& doc, Messenger& messenger);

}  // namespace orvane::States
