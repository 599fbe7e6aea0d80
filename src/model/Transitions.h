#pragma once
// Transitions: a node between two links carrying a transition's record, its
// label and look, and the priorities among the transitions that leave one
// state.

#include "Diagram.h"
#include "Records.h"

#include <QString>

namespace orvane {
class FsmDocument;
}

namespace orvane::Transitions {

// Turns the diagram's current link (drawn from one state to another) into a
// transition node with two link halves. Returns the new node (null when the
// current link is missing).
Node* splitLinkIntoTransition(FsmDocument& doc);
// The only writer of a transition node: its record, label and look.
void configureTransition(FsmDocument& doc, const TransitionRecord& record, Node* node);
QString nextPriority(const Node* node);
void renumberPriorities(FsmDocument& doc, Node* source, Node* edited);
bool isTransitionNode(const Node* node);

}  // namespace orvane::Transitions
