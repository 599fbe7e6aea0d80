#include "modModifica.h"

#include "FsmDocument.h"
#include "modNodoEstado.h"
#include "modNodoTransicion.h"

namespace orvane::modModifica {

namespace {

using modNodoEstado::IsStateNode;
using modNodoTransicion::IsTransitionNode;

constexpr quint32 kWhite = 0xFFFFFF;
constexpr double kRemarkSide = 500;
constexpr double kRemarkCorner = 10;

// Drawing stays suspended while the object lives; the previous setting
// comes back at the end.
class SuspendRefresh {
public:
    explicit SuspendRefresh(Diagram& d) : m_d(d), m_was(d.autoRefresh()) { m_d.setAutoRefresh(false); }
    ~SuspendRefresh() { m_d.setAutoRefresh(m_was); }
    SuspendRefresh(const SuspendRefresh&) = delete;
    SuspendRefresh& operator=(const SuspendRefresh&) = delete;

private:
    Diagram& m_d;
    bool m_was;
};

bool IsBroken(const Node* n)
{
    return n->inLinks().size() != 1 || n->outLinks().size() != 1;
}

int RemoveBrokenTransitions(Diagram& d)
{
    std::vector<Node*> broken;
    for (const auto& n : d.nodes())
        if (IsTransitionNode(n.get()) && !IsStateNode(n.get()) && IsBroken(n.get()))
            broken.push_back(n.get());
    for (Node* n : broken)
        d.deleteNode(n);
    return int(broken.size());
}

void RenumberAllPriorities(FsmDocument& doc)
{
    std::vector<Node*> states;
    for (const auto& n : doc.diagram().nodes())
        if (IsStateNode(n.get()))
            states.push_back(n.get());
    for (Node* s : states)
        modNodoTransicion::RenumberPriorities(doc, s, nullptr);
}

}  // namespace

Node* DrawnNodeToState(FsmDocument& doc, Node* node, Messenger& messenger)
{
    if (!node)
        return nullptr;
    Diagram& d = doc.diagram();
    if (node->width() <= kStateMinWidth || node->height() <= kStateMinHeight) {
        d.deleteNode(node);
        return nullptr;
    }
    QString name;  // empty: Configura_Nodo_Estado gives "STATE_" and a number
    const QString no = QStringLiteral("N");
    if (!modNodoEstado::Configura_Nodo_Estado(doc, name, {}, {}, {}, {},
                                              modNodoEstado::NextStateIndex(d),
                                              modNodoEstado::NODE_STATE_NORMAL, no, no, node,
                                              messenger)) {
        d.deleteNode(node);
        return nullptr;
    }
    return node;
}

void AfterNodeMoved(FsmDocument& doc, Node* node, bool sizeChanged)
{
    if (!node)
        return;
    if (node->isFsmItem() && sizeChanged)
        modNodoEstado::SizeNodeToText(doc, node);
    modNodoEstado::EnlargeToMinimum(node);
}

LinkOutcome AfterLinkDrawn(FsmDocument& doc, Link* link, bool dstChanged)
{
    if (!link)
        return LinkOutcome::Kept;
    link->setIsFsmItem(true);
    Node* org = link->org();
    Node* dst = link->dst();
    const bool fromState = IsStateNode(org);
    const bool toState = IsStateNode(dst);
    const bool fromTransition = !fromState && IsTransitionNode(org);
    const bool toTransition = !toState && IsTransitionNode(dst);

    if (fromState && toState) {
        doc.diagram().setCurrentLink(link);
        modNodoTransicion::SplitLinkIntoTransition(doc);
        return LinkOutcome::Transition;
    }
    if (fromTransition && toTransition) {
        doc.diagram().deleteLink(link);
        return LinkOutcome::Removed;
    }
    if (fromState && toTransition) {
        // A transition that got a new source starts afresh there.
        if (dstChanged)
            modNodoTransicion::Configura_Nodo_Transicion(doc, modNodoTransicion::NextPriority(dst),
                                                         {}, {}, QStringLiteral("Y"),
                                                         QStringLiteral("N"), dst);
        CleanUpTransitions(doc);
        return LinkOutcome::CleanedUp;
    }
    if (fromTransition && toState) {
        CleanUpTransitions(doc);
        return LinkOutcome::CleanedUp;
    }
    return LinkOutcome::Kept;
}

int CleanUpTransitions(FsmDocument& doc)
{
    const SuspendRefresh suspended(doc.diagram());
    const int removed = RemoveBrokenTransitions(doc.diagram());
    RenumberAllPriorities(doc);
    return removed;
}

void DeleteSelection(FsmDocument& doc)
{
    Diagram& d = doc.diagram();
    const SuspendRefresh suspended(d);
    d.deleteSelected();
    CleanUpTransitions(doc);
}

Node* InsertRemark(FsmDocument& doc)
{
    Diagram& d = doc.diagram();
    Node* n = d.addNode(kRemarkCorner, kRemarkCorner, kRemarkSide, kRemarkSide);
    n->setFillColor(kWhite);
    n->setUserData(modNodoEstado::NODE_TEXTBOX);
    n->setIsFsmItem(false);
    d.clearSelection();
    n->setSelected(true);
    d.setCurrentNode(n);
    return n;
}

void SizeAllNodesToText(FsmDocument& doc)
{
    Diagram& d = doc.diagram();
    {
        const SuspendRefresh suspended(d);
        for (const auto& n : d.nodes())
            modNodoEstado::SizeNodeToText(doc, n.get());
    }
    d.setChanged(true);
}

}  // namespace orvane::modModifica
