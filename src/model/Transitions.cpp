#include "Transitions.h"

#include "FsmDocument.h"
#include "Ranking.h"
#include "States.h"
#include "Texts.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace orvane::Transitions {

namespace {
constexpr quint32 kBlue = 0xFF0000;
constexpr quint32 kGreen = 32512;  // RGB(0,127,0)
constexpr int kStyleSolid = 0;
constexpr int kStyleDotted = 2;
const QString kLastPriority = QStringLiteral("10000");

// The state the transition leaves: the origin of its first in-link.
Node* sourceOf(const Node* t)
{
    return t->inLinks().empty() ? nullptr : t->inLinks().front()->org();
}

// A number as decimal text: whole numbers without a fraction.
QString numberText(double v)
{
    if (v == std::floor(v) && std::abs(v) < 1e15)
        return QString::number(qint64(v));
    return QString::number(v, 'g', 15);
}

// The label: "[p]" or "{p}" when the source has two or more out-links, the
// condition, then "/" and the action.
QString transitionLabel(const FsmDocument& doc, const Node* t, const QString& priority,
                        const QString& condition, const QString& action, const QString& lastFlag)
{
    const Node* source = sourceOf(t);
    QString label;
    if (source && source->outLinks().size() >= 2)
        label = lastFlag == QLatin1String("Y")
                    ? QStringLiteral("{") + priority + QStringLiteral("}")
                    : QStringLiteral("[") + priority + QStringLiteral("]");
    if (condition.isEmpty()) {
        if (!label.isEmpty())
            label += QStringLiteral("\r\n");
    } else {
        Texts::appendFormattedActionText(label, condition, 0, doc.hideComments);
    }
    if (!action.isEmpty()) {
        label += QLatin1Char('/');
        Texts::appendFormattedActionText(label, action, 0, doc.hideComments);
    }
    return label;
}

void styleLink(Link* l, bool internal)
{
    if (!l)
        return;
    l->setDrawStyle(internal ? kStyleDotted : kStyleSolid);
    l->setDrawColor(internal ? kGreen : kBlue);
}

// The distinct transition nodes reached by the state's out-links, in link order.
std::vector<Node*> transitionNodesOf(const Node* source)
{
    std::vector<Node*> out;
    std::unordered_set<const Node*> seen;
    for (const Link* l : source->outLinks())
        if (isTransitionNode(l->dst()) && !States::isStateNode(l->dst())
            && seen.insert(l->dst()).second)
            out.push_back(l->dst());
    return out;
}

// Configures a transition again from its own record with another priority.
void reprioritise(FsmDocument& doc, Node* t, const QString& priority)
{
    TransitionRecord record = TransitionRecord::fromText(t->tag());
    record.priority = priority;
    configureTransition(doc, record, t);
}
}  // namespace

Node* splitLinkIntoTransition(FsmDocument& doc)
{
    Diagram& d = doc.diagram();
    Link* drawn = d.currentLink();
    if (!drawn)
        return nullptr;
    Node* source = drawn->org();
    Node* dest = drawn->dst();
    const QPointF mid = (States::nodeCentre(source) + States::nodeCentre(dest)) / 2;
    Node* t = d.addNode(mid.x(), mid.y(), 1, 1);
    t->setForeColor(0);
    t->setFillColor(0xFFFFC0);
    d.setNewLinkArrowDst(0);
    d.addLink(source, t);
    d.setNewLinkArrowDst(3);
    d.addLink(t, dest);
    // Only the drawn link goes: whatever else the user has selected stays.
    d.deleteLink(drawn);
    configureTransition(doc,
                        TransitionRecord{nextPriority(t), QString(), QString(), QStringLiteral("Y"),
                                         QStringLiteral("N")},
                        t);
    renumberPriorities(doc, source, t);
    return t;
}

void configureTransition(FsmDocument& doc, const TransitionRecord& record, Node* node)
{
    if (!node)
        return;
    const QString& priority = record.priority;
    const QString& condition = record.condition;
    const QString& action = record.action;
    const QString& selfFlag = record.selfFlag;
    const QString& lastFlag = record.lastFlag;
    const QPointF centre = States::nodeCentre(node);
    node->setUserData(NodeTransition);
    const QString label = transitionLabel(doc, node, priority, condition, action, lastFlag);
    node->setText(label);
    const bool internal = selfFlag == QLatin1String("N");
    styleLink(node->inLinks().empty() ? nullptr : node->inLinks().front(), internal);
    styleLink(node->outLinks().empty() ? nullptr : node->outLinks().front(), internal);
    if (!label.isEmpty()) {
        node->setShape(5);
    } else {
        node->setShape(0);
        node->setWidth(1);
        node->setHeight(1);
    }
    node->setTag(record.toText());
    States::sizeNodeToText(doc, node);
    States::enlargeToMinimum(node);
    States::recentre(node, centre);
}

QString nextPriority(const Node* node)
{
    const Node* source = node ? sourceOf(node) : nullptr;
    if (!source)
        return QStringLiteral("1");
    bool any = false;
    double largest = 0;
    for (const Link* l : source->outLinks()) {
        const Node* t = l->dst();
        if (t == node || !isTransitionNode(t))
            continue;
        const double p = Ranking::lenientNumber(transitionRecord(t).priority);
        largest = any ? std::max(largest, p) : p;
        any = true;
    }
    return any ? numberText(largest + 1) : QStringLiteral("1");
}

void renumberPriorities(FsmDocument& doc, Node* source, Node* edited)
{
    if (!source || source->outLinks().empty())
        return;
    std::vector<Node*> transitions = transitionNodesOf(source);
    for (Node* t : transitions)
        if (transitionRecord(t).lastFlag == QLatin1String("Y"))
            reprioritise(doc, t, kLastPriority);

    std::vector<std::pair<double, Node*>> order;
    for (Node* t : transitions)
        order.emplace_back(Ranking::lenientNumber(transitionRecord(t).priority), t);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // The transition just edited goes first among those with its priority.
    const auto pos = std::find_if(order.begin(), order.end(),
                                  [edited](const auto& e) { return e.second == edited; });
    if (pos != order.end()) {
        const double target = pos->first;
        const auto first =
            std::find_if(order.begin(), pos, [target](const auto& e) { return e.first == target; });
        std::rotate(first, pos, pos + 1);
    }
    int counter = 0;
    for (const auto& e : order) {
        reprioritise(doc, e.second, QString::number(++counter));
        e.second->setUserData(e.second->userData() | NodeMark);
    }
    for (Node* t : transitions)
        t->setUserData(t->userData() & ~NodeMark);
}

bool isTransitionNode(const Node* node) { return node && (node->userData() & NodeTransition); }

}  // namespace orvane::Transitions
