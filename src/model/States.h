#pragma once
// States: the drawing derived from a state's record, indices, names, the
// initial state and its history mark.

#include "Diagram.h"
#include "Records.h"

#include <QString>

#include <utility>
#include <vector>

namespace orvane {
class FsmDocument;
class Messenger;
}  // namespace orvane

namespace orvane::States {

// What the user is told when a node's kind is none of the four state kinds.
inline const QString kMsgBadStateKind = QStringLiteral("Error in Configura_Nodo_Estado");

// The only writer of a state node: its record, kind, text and look. A record
// without a name gets the next default name. A kind other than the four
// state kinds is refused: kMsgBadStateKind goes to the
// messenger, the node is left as it was and the result is false.
bool configureState(FsmDocument& doc, StateRecord record, qint32 kind, Node* node,
                    Messenger& messenger);

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

// Gives pasted states names and indices that no other state has: a name
// that is taken gets the first free "_2", "_3", ... suffix (an old suffix is
// replaced: Stopping_2 pasted again becomes Stopping_3), an empty one the
// next default name; the indices continue after the largest one of the
// other states, in the pasted states' own order.
void freePastedStates(FsmDocument& doc, const std::vector<Node*>& pasted, Messenger& messenger);
// The states whose names equal an earlier state's ignoring case, in index
// order, each with that earlier state: their generated constants and case
// labels would collide.
std::vector<std::pair<const Node*, const Node*>> nameClashes(const Diagram& d);
// The first of nameClashes ({nullptr, nullptr} when every name is unique).
std::pair<const Node*, const Node*> firstNameClash(const Diagram& d);
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
