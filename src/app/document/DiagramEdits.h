#pragma once
// The document window's edits of the diagram that need no window: what a
// drawn node or link becomes in the state machine, the clean-up of broken
// transitions, remarks and autosize. The window calls these from its mouse
// and menu handlers and records the undo step afterwards.

#include "Diagram.h"

namespace orvane {
class FsmDocument;
class Messenger;
}  // namespace orvane

namespace orvane::DiagramEdits {

// A drawn node must be wider than this and higher than kStateMinHeight
// (twips) to become a state; a smaller one was a click or a slip.
constexpr double kStateMinWidth = 300;
constexpr double kStateMinHeight = 200;

// A node just drawn (no kind yet) becomes a normal state with the next free
// index and a default name; a node not larger than 300 x 200 twips is
// removed. Returns the state, or null when the node was removed.
Node* drawnNodeToState(FsmDocument& doc, Node* node, Messenger& messenger);

// After the user moved or resized a node: an FSM item whose size changed is
// fitted to its text (with autosize on); every node keeps at least
// 150 x 100 twips.
void afterNodeMoved(FsmDocument& doc, Node* node, bool sizeChanged);

enum class LinkOutcome {
    Transition,  // state to state: split into a transition node
    CleanedUp,   // a transition node was involved: broken ones deleted, priorities renumbered
    Removed,     // transition node to transition node: the link is gone
    Kept,        // remarks: the link stays as drawn
};
// A link that was drawn or reconnected (`dstChanged`), judged by the kinds
// of its two ends. The link must be the diagram's current link.
LinkOutcome afterLinkDrawn(FsmDocument& doc, Link* link, bool dstChanged);

// Deletes every transition node without exactly one in-link and one
// out-link, then renumbers the priorities of every state's transitions.
// Returns the number of transition nodes deleted.
int cleanUpTransitions(FsmDocument& doc);

// Deletes the selected items, then cleanUpTransitions, with drawing
// suspended meanwhile.
void deleteSelection(FsmDocument& doc);

// A white remark text box of 500 x 500 twips at 10, 10; it becomes the
// current and only selected node.
Node* insertRemark(FsmDocument& doc);

// Fits every node to its text (autosize switched on) and marks the diagram
// changed.
void sizeAllNodesToText(FsmDocument& doc);

}  // namespace orvane::DiagramEdits
