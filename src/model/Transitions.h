#pragma once
// Transitions: a node between two links carrying the five-field
// TransitionInfo record, its label and look, and the priorities among the
// transitions that leave one state.

#include "Diagram.h"

#include <QString>

namespace orvane {
class FsmDocument;
}

namespace orvane::Transitions {

enum TransitionField {
    kTransPriority = 0,
    kTransCondition = 1,
    kTransAction = 2,
    kTransSelf = 3,
    kTransLast = 4,
    kTransFieldCount = 5
};

// Turns the diagram's current link (drawn from one state to another) into a
// transition node with two link halves. Returns the new node (null when the
// current link is missing).
Node* splitLinkIntoTransition(FsmDocument& doc);
void configureTransition(FsmDocument& doc, const QString& priority, const QString& condition,
                               const QString& action, const QString& selfFlag,
                               const QString& lastFlag, Node* node);
QString nextPriority(const Node* node);
void renumberPriorities(FsmDocument& doc, Node* source, Node* edited);
QString getTransitionField(int k, const Node* node);
bool isTransitionNode(const Node* node);

}  // namespace orvane::Transitions
