#include "DiagramEdits.h"

#include "FsmDocument.h"
#include "States.h"
#include "Transitions.h"

namespace orvane::DiagramEdits {

namespace {

using States::isStateNode;
using Transitions::isTransitionNode;

constexpr quint32 kWhite = 0xFFFFFF;
constexpr double kRemarkSide = 500;
constexpr double kRemarkCorner = 10;

// Drawing stays suspended while the object lives; the previous setting
// comes back at the end.
class SuspendRefresh {
public:
    explicit SuspendRefresh(Diagram& d) : m_d(d), m_was(d.autoRefresh())
    {
        m_d.setAutoRefresh(false);
    }
    ~SuspendRefresh() { m_d.setAutoRefresh(m_was); }
    SuspendRefresh(const SuspendRefresh&) = delete;
    SuspendRefresh& operator=(const SuspendRefresh&) = delete;

private:
    Diagram& m_d;
    bool m_was;
};

bool isBroken(const Node* n) { return n->inLinks().size() != 1 || n->outLinks().size() != 1; }

int removeBrokenTransitions(Diagram& d)
{
    std::vector<Node*> broken;
    for (const auto& n : d.nodes())
        if (isTransitionNode(n.get()) && !isStateNode(n.get()) && isBroken(n.get()))
            broken.push_back(n.get());
    for (Node* n : broken)
        d.deleteNode(n);
    return int(broken.size());
}

void renumberAllPriorities(FsmDocument& doc)
{
    std::vector<Node*> states;
    for (const auto& n : doc.diagram().nodes())
        if (isStateNode(n.get()))
            states.push_back(n.get());
    for (Node* s : states)
        Transitions::renumberPriorities(doc, s, nullptr);
}

}  // namespace

Node* drawnNodeToState(FsmDocument& doc, Node* node, Messenger& messenger)
{
    if (!node)
        return nullptr;
    Diagram& d = doc.diagram();
    if (node->width() <= kStateMinWidth || node->height() <= kStateMinHeight) {
        d.deleteNode(node);
        return nullptr;
    }
    // No name: configureState gives "STATE_" and a number.
    StateRecord record;
    record.index = States::nextStateIndex(d);
    record.isIn = record.goTo = QStringLiteral("N");
    if (!States::configureState(doc, record, NodeStateNormal, node, messenger)) {
        d.deleteNode(node);
        return nullptr;
    }
    return node;
}

void afterNodeMoved(FsmDocument& doc, Node* node, bool sizeChanged)
{
    if (!node)
        return;
    if (node->isFsmItem() && sizeChanged)
        States::sizeNodeToText(doc, node);
    States::enlargeToMinimum(node);
}

LinkOutcome afterLinkDrawn(FsmDocument& doc, Link* link, bool dstChanged)
{
    if (!link)
        return LinkOutcome::Kept;
    link->setIsFsmItem(true);
    Node* org = link->org();
    Node* dst = link->dst();
    const bool fromState = isStateNode(org);
    const bool toState = isStateNode(dst);
    const bool fromTransition = !fromState && isTransitionNode(org);
    const bool toTransition = !toState && isTransitionNode(dst);

    if (fromState && toState) {
        doc.diagram().setCurrentLink(link);
        Transitions::splitLinkIntoTransition(doc);
        return LinkOutcome::Transition;
    }
    if (fromTransition && toTransition) {
        doc.diagram().deleteLink(link);
        return LinkOutcome::Removed;
    }
    if (fromState && toTransition) {
        // A transition that got a new source starts afresh there.
        if (dstChanged)
            Transitions::configureTransition(doc,
                                             TransitionRecord{Transitions::nextPriority(dst),
                                                              {},
                                                              {},
                                                              QStringLiteral("Y"),
                                                              QStringLiteral("N")},
                                             dst);
        cleanUpTransitions(doc);
        return LinkOutcome::CleanedUp;
    }
    if (fromTransition && toState) {
        cleanUpTransitions(doc);
        return LinkOutcome::CleanedUp;
    }
    return LinkOutcome::Kept;
}

int cleanUpTransitions(FsmDocument& doc)
{
    const SuspendRefresh suspended(doc.diagram());
    const int removed = removeBrokenTransitions(doc.diagram());
    renumberAllPriorities(doc);
    return removed;
}

void deleteSelection(FsmDocument& doc)
{
    Diagram& d = doc.diagram();
    const SuspendRefresh suspended(d);
    d.deleteSelected();
    cleanUpTransitions(doc);
}

Node* insertRemark(FsmDocument& doc)
{
    Diagram& d = doc.diagram();
    Node* n = d.addNode(kRemarkCorner, kRemarkCorner, kRemarkSide, kRemarkSide);
    n->setFillColor(kWhite);
    n->setUserData(NodeTextBox);
    n->setIsFsmItem(false);
    d.clearSelection();
    n->setSelected(true);
    d.setCurrentNode(n);
    return n;
}

void sizeAllNodesToText(FsmDocument& doc)
{
    Diagram& d = doc.diagram();
    {
        const SuspendRefresh suspended(d);
        for (const auto& n : d.nodes())
            States::sizeNodeToText(doc, n.get());
    }
    d.setChanged(true);
}

}  // namespace orvane::DiagramEdits
