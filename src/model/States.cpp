#include "States.h"

#include "FsmDocument.h"
#include "Messenger.h"
#include "Ranking.h"
#include "Transitions.h"
#include "Texts.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <optional>

namespace orvane::States {

namespace {
constexpr quint32 kBlue = 0xFF0000;
constexpr quint32 rgb(quint32 r, quint32 g, quint32 b) { return r + 256 * g + 65536 * b; }
constexpr double kMinWidth = 150;
constexpr double kMinHeight = 100;

const QString kCrLf = QStringLiteral("\r\n");
const QString kHistoryLine = QStringLiteral("<History>\r\n");

// The names isStateNameFree compares against, upper-cased.
QSet<QString> takenNames(const FsmDocument& doc)
{
    const Diagram& d = doc.diagram();
    QSet<QString> taken;
    for (const auto& n : d.nodes())
        if (n.get() != d.currentNode() && isStateNode(n.get()))
            taken.insert(stateRecord(n.get()).name.toUpper());
    return taken;
}

QString defaultName(int n) { return QStringLiteral("STATE_") + QString::number(n); }

// The first "STATE_" + counter that no other state uses.
QString defaultStateName(const FsmDocument& doc)
{
    const QSet<QString> taken = takenNames(doc);
    for (int n = 1;; ++n) {
        const QString candidate = defaultName(n);
        if (!taken.contains(candidate.toUpper()))
            return candidate;
    }
}

// The default names a pass over every state gives, as defaultStateName
// would give them one after the other, but with the taken names collected
// once: a file full of unnamed states would otherwise cost a pass over the
// diagram for each of them. Made when the first unnamed state is met.
class DefaultNames {
public:
    explicit DefaultNames(const FsmDocument& doc)
        : m_taken(takenNames(doc)), m_current(doc.diagram().currentNode())
    {
    }

    QString nameFor(const Node* node)
    {
        while (m_taken.contains(defaultName(m_next).toUpper()))
            ++m_next;
        const QString name = defaultName(m_next);
        // The current node's own name never counts as taken.
        if (node != m_current)
            m_taken.insert(name.toUpper());
        return name;
    }

private:
    QSet<QString> m_taken;
    const Node* m_current;
    int m_next = 1;
};

// The drawn text: the name between middle dots, then the actions under their
// headers. "#during:" appears only when an entry action precedes it.
QString stateDisplayText(const FsmDocument& doc, const StateRecord& r)
{
    const bool hide = doc.hideComments;
    const QString& name = r.name;
    const QString& during = r.during;
    const QString& entry = r.entry;
    const QString& exit = r.exit;
    const QString& elseAction = r.elseAction;
    QString t = QStringLiteral("\u00B7") + name + QStringLiteral("\u00B7") + kCrLf;
    if (!entry.isEmpty()) {
        t += QStringLiteral("#entry:") + kCrLf + Texts::formatActionText(entry, 1, hide);
        if (!during.isEmpty())
            t += QStringLiteral("#during:") + kCrLf;
    }
    if (!during.isEmpty())
        t += Texts::formatActionText(during, 1, hide);
    if (!elseAction.isEmpty())
        t += QStringLiteral("#else:") + kCrLf + Texts::formatActionText(elseAction, 1, hide);
    if (!exit.isEmpty())
        t += QStringLiteral("#exit:") + kCrLf + Texts::formatActionText(exit, 1, hide);
    return t;
}

// Makes a former initial state ordinary. A renumbering mark survives, so a
// pass over the states never visits it twice.
void demoteToNormal(FsmDocument& doc, Node* other)
{
    removeHistoryMark(doc, other);
    other->setUserData(NodeStateNormal | (other->userData() & NodeMark));
    other->setDrawWidth(1);
    other->setDrawColor(kBlue);
}

void applyKindLook(FsmDocument& doc, Node* node, qint32 kind)
{
    switch (kind) {
    case NodeStateInitial:
        node->setDrawWidth(2);
        setHistoryMark(doc, node);
        if (Node* other = findOtherNode(doc.diagram(), NodeStateInitial, node))
            demoteToNormal(doc, other);
        break;
    case NodeStateFinal:
        node->setDrawWidth(2);
        node->setDrawColor(rgb(128, 128, 64));
        break;
    case NodeStateSuper:
        node->setUserData(NodeStateSuper);
        node->setDrawWidth(2);
        node->setDrawColor(kBlue);
        break;
    default:
        node->setUserData(NodeStateNormal);
        node->setDrawWidth(1);
        node->setDrawColor(kBlue);
        break;
    }
}

// Configures a state again from its own record with another index; an
// unnamed one gets its default name from `names`.
void reconfigureState(FsmDocument& doc, Node* n, const QString& index, Messenger& messenger,
                      std::optional<DefaultNames>& names)
{
    StateRecord record = StateRecord::fromText(n->tag());
    record.index = index;
    const qint32 kind = n->userData() & NodeAnyState;
    if (record.name.isEmpty() && isStateKind(kind)) {
        if (!names)
            names.emplace(doc);
        record.name = names->nameFor(n);
    }
    configureState(doc, std::move(record), kind, n, messenger);
}
}  // namespace

bool isStateKind(qint32 kind)
{
    return kind == NodeStateNormal || kind == NodeStateInitial || kind == NodeStateFinal
           || kind == NodeStateSuper;
}

QPointF nodeCentre(const Node* node)
{
    return QPointF(node->left() + node->width() / 2, node->top() + node->height() / 2);
}

void recentre(Node* node, QPointF centre)
{
    const double left = centre.x() - node->width() / 2;
    const double top = centre.y() - node->height() / 2;
    node->setLeft(left > 0 ? left : 1);
    node->setTop(top > 0 ? top : 1);
}

void enlargeToMinimum(Node* node)
{
    if (node->width() < kMinWidth)
        node->setWidth(kMinWidth);
    if (node->height() < kMinHeight)
        node->setHeight(kMinHeight);
}

bool configureState(FsmDocument& doc, StateRecord record, qint32 kind, Node* node,
                    Messenger& messenger)
{
    if (!node)
        return false;
    if (!isStateKind(kind)) {
        messenger.message(kMsgBadStateKind, MessageIcon::Critical);
        return false;
    }
    const QPointF centre = nodeCentre(node);
    if (record.name.isEmpty())
        record.name = defaultStateName(doc);
    node->setUserData(kind);
    node->setText(stateDisplayText(doc, record));
    node->setTag(record.toText());
    node->setToolTip(record.name + QStringLiteral("  (") + record.index + QStringLiteral(")"));
    sizeNodeToText(doc, node);
    enlargeToMinimum(node);
    applyKindLook(doc, node, kind);
    recentre(node, centre);
    return true;
}

void sizeNodeToText(const FsmDocument& doc, Node* node)
{
    if (!node)
        return;
    Diagram* d = node->diagram();
    const bool wasChanged = d->changed();
    if (node->userData() & NodeTransition) {
        if (!node->text().isEmpty()) {
            node->setAutosize(3);
            node->setAutosize(0);
            node->setHeight(node->height() + 50);
            node->setWidth(node->width() + 50);
        } else {
            node->setHeight(100);
            node->setWidth(150);
        }
    } else if (doc.autosizeNodes) {
        node->setAutosize(3);
        node->setAutosize(0);
        node->setHeight(node->height() + 15);
        node->setWidth(node->width() + 15);
    }
    d->setChanged(wasChanged);
}

QString nextStateIndex(const Diagram& d)
{
    qint64 largest = 0;
    for (const auto& n : d.nodes())
        if (isStateNode(n.get()))
            largest = std::max<qint64>(largest, Ranking::lenientIndex(stateRecord(n.get()).index));
    return QString::number(largest + 1);
}

void renumberStateIndices(FsmDocument& doc, Node* edited, Messenger& messenger)
{
    Diagram& d = doc.diagram();
    if (d.nodeCount() == 0)
        return;
    std::vector<Node*> order = Ranking::statesByRank(d);
    // The state just edited goes first among those with its index.
    const auto pos = std::find(order.begin(), order.end(), edited);
    if (pos != order.end()) {
        const int target = Ranking::lenientIndex(stateRecord(edited).index);
        const auto first = std::find_if(order.begin(), pos, [target](const Node* n) {
            return Ranking::lenientIndex(stateRecord(n).index) == target;
        });
        std::rotate(first, pos, pos + 1);
    }
    const bool autoRefresh = d.autoRefresh();
    d.setAutoRefresh(false);
    int counter = 0;
    std::optional<DefaultNames> names;
    for (Node* n : order) {
        reconfigureState(doc, n, QString::number(++counter), messenger, names);
        n->setUserData(n->userData() | NodeMark);
    }
    for (const auto& n : d.nodes())
        n->setUserData(n->userData() & ~NodeMark);
    d.setAutoRefresh(autoRefresh);
}

void freePastedStates(FsmDocument& doc, const std::vector<Node*>& pasted, Messenger& messenger)
{
    std::vector<Node*> states;
    for (Node* n : pasted)
        if (isStateNode(n))
            states.push_back(n);
    if (states.empty())
        return;
    std::stable_sort(states.begin(), states.end(), [](const Node* a, const Node* b) {
        return Ranking::lenientIndex(stateRecord(a).index)
               < Ranking::lenientIndex(stateRecord(b).index);
    });
    const QSet<const Node*> pastedSet(states.begin(), states.end());
    QSet<QString> taken;
    qint64 largest = 0;
    for (const auto& n : doc.diagram().nodes()) {
        if (!isStateNode(n.get()) || pastedSet.contains(n.get()))
            continue;
        const StateRecord r = stateRecord(n.get());
        taken.insert(r.name.toUpper());
        largest = std::max<qint64>(largest, Ranking::lenientIndex(r.index));
    }
    static const QRegularExpression suffix(QStringLiteral("_[0-9]+$"));
    for (Node* n : states) {
        StateRecord record = stateRecord(n);
        if (record.name.isEmpty()) {
            int k = 1;
            while (taken.contains(defaultName(k).toUpper()))
                ++k;
            record.name = defaultName(k);
        } else if (taken.contains(record.name.toUpper())) {
            QString base = record.name;
            base.remove(suffix);
            int k = 2;
            while (taken.contains((base + u'_' + QString::number(k)).toUpper()))
                ++k;
            record.name = base + u'_' + QString::number(k);
        }
        taken.insert(record.name.toUpper());
        record.index = QString::number(++largest);
        configureState(doc, record, n->userData() & NodeAnyState, n, messenger);
    }
}

std::vector<std::pair<const Node*, const Node*>> nameClashes(const Diagram& d)
{
    std::vector<std::pair<const Node*, const Node*>> clashes;
    QHash<QString, const Node*> first;
    for (const Node* n : Ranking::statesByRank(d)) {
        const QString key = stateRecord(n).name.toUpper();
        if (key.isEmpty())
            continue;
        if (const Node* earlier = first.value(key))
            clashes.emplace_back(earlier, n);
        else
            first.insert(key, n);
    }
    return clashes;
}

std::pair<const Node*, const Node*> firstNameClash(const Diagram& d)
{
    const auto clashes = nameClashes(d);
    return clashes.empty() ? std::pair<const Node*, const Node*>{nullptr, nullptr}
                           : clashes.front();
}

bool isStateNameFree(const FsmDocument& doc, const QString& name)
{
    return !takenNames(doc).contains(name.toUpper());
}

bool isStateNode(const Node* node) { return node && (node->userData() & NodeAnyState); }
bool isInitialNode(const Node* node) { return node && (node->userData() & NodeStateInitial); }
bool isFinalNode(const Node* node) { return node && (node->userData() & NodeStateFinal); }
bool isTextBox(const Node* node) { return node && (node->userData() & NodeTextBox); }

bool onlyTextItemsSelected(const Diagram& d)
{
    if (!d.selectedLinks().empty())
        return false;
    const auto nodes = d.selectedNodes();
    return std::none_of(nodes.begin(), nodes.end(), [](const Node* n) { return n->isFsmItem(); });
}

Node* findOtherNode(const Diagram& d, qint32 mask, const Node* node)
{
    for (const auto& n : d.nodes())
        if ((n->userData() & mask) && n.get() != node)
            return n.get();
    return nullptr;
}

void setHistoryMark(FsmDocument& doc, Node* node)
{
    if (!node)
        node = findOtherNode(doc.diagram(), NodeStateInitial, nullptr);
    if (!node)
        return;
    if (!doc.historyMachine) {
        removeHistoryMark(doc, node);
        node->setDrawColor(rgb(230, 0, 0));
        return;
    }
    node->setDrawColor(rgb(180, 0, 60));
    if (!node->text().startsWith(kHistoryLine))
        node->setText(kHistoryLine + node->text());
    sizeNodeToText(doc, node);
}

void removeHistoryMark(FsmDocument& doc, Node* node)
{
    if (!node)
        node = findOtherNode(doc.diagram(), NodeStateInitial, nullptr);
    if (!node || !node->text().startsWith(kHistoryLine))
        return;
    node->setText(node->text().mid(kHistoryLine.size()));
    sizeNodeToText(doc, node);
    enlargeToMinimum(node);
}

void applyDefaultColours(Diagram& d)
{
    for (const auto& n : d.nodes()) {
        if (!isStateNode(n.get()))
            continue;
        n->setFillColor(d.defaultFillColor());
        n->setForeColor(d.defaultForeColor());
    }
}

void refreshAllItems(FsmDocument& doc, Messenger& messenger)
{
    Diagram& d = doc.diagram();
    // Configuring never adds or removes nodes, so indices stay valid.
    std::optional<DefaultNames> names;
    for (int i = 1; i <= d.nodeCount(); ++i) {
        Node* n = d.item(i);
        if (isStateNode(n)) {
            reconfigureState(doc, n, stateRecord(n).index, messenger, names);
        } else if (Transitions::isTransitionNode(n)) {
            const TransitionRecord f = TransitionRecord::fromText(n->tag());
            Transitions::configureTransition(
                doc, TransitionRecord{f.priority, f.condition, f.action, f.selfFlag, f.lastFlag},
                n);
        }
    }
}

}  // namespace orvane::States
