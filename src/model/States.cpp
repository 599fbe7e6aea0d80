#include "modNodoEstado.h"

#include "FsmDocument.h"
#include "Messenger.h"
#include "modFsmOrder.h"
#include "modNodoTransicion.h"
#include "modStrings.h"

#include <QSet>

#include <algorithm>
#include <optional>

namespace orvane::modNodoEstado {

namespace {
constexpr quint32 kBlue = 0xFF0000;
constexpr quint32 Rgb(quint32 r, quint32 g, quint32 b) { return r + 256 * g + 65536 * b; }
constexpr double kMinWidth = 150;
constexpr double kMinHeight = 100;

const QString kCrLf = QStringLiteral("\r\n");
const QString kHistoryLine = QStringLiteral("<History>\r\n");

// The names IsStateNameFree compares against, upper-cased.
QSet<QString> TakenNames(const FsmDocument& doc)
{
    const Diagram& d = doc.diagram();
    QSet<QString> taken;
    for (const auto& n : d.nodes())
        if (n.get() != d.currentNode() && IsStateNode(n.get()))
            taken.insert(GetStateField(kStateName, n.get()).toUpper());
    return taken;
}

QString DefaultName(int n) { return QStringLiteral("STATE_") + QString::number(n); }

// The first "STATE_" + counter that no other state uses.
QString DefaultStateName(const FsmDocument& doc)
{
    const QSet<QString> taken = TakenNames(doc);
    for (int n = 1;; ++n) {
        const QString candidate = DefaultName(n);
        if (!taken.contains(candidate.toUpper()))
            return candidate;
    }
}

// The default names a pass over every state gives, as DefaultStateName
// would give them one after the other, but with the taken names collected
// once: a file full of unnamed states would otherwise cost a pass over the
// diagram for each of them. Made when the first unnamed state is met.
class DefaultNames {
public:
    explicit DefaultNames(const FsmDocument& doc)
        : m_taken(TakenNames(doc)), m_current(doc.diagram().currentNode())
    {
    }

    QString nameFor(const Node* node)
    {
        while (m_taken.contains(DefaultName(m_next).toUpper()))
            ++m_next;
        const QString name = DefaultName(m_next);
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
QString StateDisplayText(const FsmDocument& doc, const QString& name, const QString& during,
                         const QString& entry, const QString& exit, const QString& elseAction)
{
    const bool hide = doc.hideComments;
    QString t = QStringLiteral("\u00B7") + name + QStringLiteral("\u00B7") + kCrLf;
    if (!entry.isEmpty()) {
        t += QStringLiteral("#entry:") + kCrLf + modStrings::FormatActionText(entry, 1, hide);
        if (!during.isEmpty())
            t += QStringLiteral("#during:") + kCrLf;
    }
    if (!during.isEmpty())
        t += modStrings::FormatActionText(during, 1, hide);
    if (!elseAction.isEmpty())
        t += QStringLiteral("#else:") + kCrLf + modStrings::FormatActionText(elseAction, 1, hide);
    if (!exit.isEmpty())
        t += QStringLiteral("#exit:") + kCrLf + modStrings::FormatActionText(exit, 1, hide);
    return t;
}

// Makes a former initial state ordinary. A renumbering mark survives, so a
// pass over the states never visits it twice.
void DemoteToNormal(FsmDocument& doc, Node* other)
{
    RemoveHistoryMark(doc, other);
    other->setUserData(NODE_STATE_NORMAL | (other->userData() & NODE_MARK));
    other->setDrawWidth(1);
    other->setDrawColor(kBlue);
}

void ApplyKindLook(FsmDocument& doc, Node* node, qint32 kind)
{
    switch (kind) {
    case NODE_STATE_INITIAL:
        node->setDrawWidth(2);
        SetHistoryMark(doc, node);
        if (Node* other = FindOtherNode(doc.diagram(), NODE_STATE_INITIAL, node))
            DemoteToNormal(doc, other);
        break;
    case NODE_STATE_FINAL:
        node->setDrawWidth(2);
        node->setDrawColor(Rgb(128, 128, 64));
        break;
    case NODE_STATE_SUPER:
        node->setUserData(NODE_STATE_SUPER);
        node->setDrawWidth(2);
        node->setDrawColor(kBlue);
        break;
    default:
        node->setUserData(NODE_STATE_NORMAL);
        node->setDrawWidth(1);
        node->setDrawColor(kBlue);
        break;
    }
}

// Configures a state again from its own record with another index; an
// unnamed one gets its default name from `names`.
void ReconfigureState(FsmDocument& doc, Node* n, const QString& index, Messenger& messenger,
                      std::optional<DefaultNames>& names)
{
    const QStringList f = modStrings::SplitFields(n->tag(), kStateFieldCount);
    QString name = f[kStateName];
    const qint32 kind = n->userData() & NODE_STATE_ANY;
    if (name.isEmpty() && IsStateKind(kind)) {
        if (!names)
            names.emplace(doc);
        name = names->nameFor(n);
    }
    Configura_Nodo_Estado(doc, name, f[kStateDuring], f[kStateEntry], f[kStateExit], f[kStateElse],
                          index, kind, f[kStateIsIn], f[kStateGoto], n, messenger);
}
}  // namespace

bool IsStateKind(qint32 kind)
{
    return kind == NODE_STATE_NORMAL || kind == NODE_STATE_INITIAL || kind == NODE_STATE_FINAL
           || kind == NODE_STATE_SUPER;
}

QPointF NodeCentre(const Node* node)
{
    return QPointF(node->left() + node->width() / 2, node->top() + node->height() / 2);
}

void Recentre(Node* node, QPointF centre)
{
    const double left = centre.x() - node->width() / 2;
    const double top = centre.y() - node->height() / 2;
    node->setLeft(left > 0 ? left : 1);
    node->setTop(top > 0 ? top : 1);
}

void EnlargeToMinimum(Node* node)
{
    if (node->width() < kMinWidth)
        node->setWidth(kMinWidth);
    if (node->height() < kMinHeight)
        node->setHeight(kMinHeight);
}

bool Configura_Nodo_Estado(FsmDocument& doc, QString& name, const QString& during,
                           const QString& entry, const QString& exit, const QString& elseAction,
                           const QString& index, qint32 kind, const QString& isIn,
                           const QString& goTo, Node* node, Messenger& messenger)
{
    if (!node)
        return false;
    if (!IsStateKind(kind)) {
        messenger.message(QStringLiteral("Error in Configura_Nodo_Estado"), MessageIcon::Critical);
        return false;
    }
    const QPointF centre = NodeCentre(node);
    if (name.isEmpty())
        name = DefaultStateName(doc);
    node->setUserData(kind);
    node->setText(StateDisplayText(doc, name, during, entry, exit, elseAction));
    node->setTag(modStrings::JoinFields({name, during, index, entry, exit, isIn, goTo, elseAction}));
    node->setToolTip(name + QStringLiteral("  (") + index + QStringLiteral(")"));
    SizeNodeToText(doc, node);
    EnlargeToMinimum(node);
    ApplyKindLook(doc, node, kind);
    Recentre(node, centre);
    return true;
}

void SizeNodeToText(const FsmDocument& doc, Node* node)
{
    if (!node)
        return;
    Diagram* d = node->diagram();
    const bool wasChanged = d->changed();
    if (node->userData() & NODE_TRANSITION) {
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

QString NextStateIndex(const Diagram& d)
{
    qint64 largest = 0;
    for (const auto& n : d.nodes())
        if (IsStateNode(n.get()))
            largest = std::max<qint64>(
                largest, modFsmOrder::LenientIndex(GetStateField(kStateIndex, n.get())));
    return QString::number(largest + 1);
}

void RenumberStateIndices(FsmDocument& doc, Node* edited, Messenger& messenger)
{
    Diagram& d = doc.diagram();
    if (d.nodeCount() == 0)
        return;
    std::vector<Node*> order = modFsmOrder::StatesByRank(d);
    // The state just edited goes first among those with its index.
    const auto pos = std::find(order.begin(), order.end(), edited);
    if (pos != order.end()) {
        const int target = modFsmOrder::LenientIndex(GetStateField(kStateIndex, edited));
        const auto first = std::find_if(order.begin(), pos, [target](const Node* n) {
            return modFsmOrder::LenientIndex(GetStateField(kStateIndex, n)) == target;
        });
        std::rotate(first, pos, pos + 1);
    }
    const bool autoRefresh = d.autoRefresh();
    d.setAutoRefresh(false);
    int counter = 0;
    std::optional<DefaultNames> names;
    for (Node* n : order) {
        ReconfigureState(doc, n, QString::number(++counter), messenger, names);
        n->setUserData(n->userData() | NODE_MARK);
    }
    for (const auto& n : d.nodes())
        n->setUserData(n->userData() & ~NODE_MARK);
    d.setAutoRefresh(autoRefresh);
}

bool IsStateNameFree(const FsmDocument& doc, const QString& name)
{
    return !TakenNames(doc).contains(name.toUpper());
}

QString GetStateField(int k, const Node* node)
{
    return node ? modStrings::GetField(node->tag(), k) : QString();
}

bool IsStateNode(const Node* node) { return node && (node->userData() & NODE_STATE_ANY); }
bool IsInitialNode(const Node* node) { return node && (node->userData() & NODE_STATE_INITIAL); }
bool IsFinalNode(const Node* node) { return node && (node->userData() & NODE_STATE_FINAL); }
bool IsTextBox(const Node* node) { return node && (node->userData() & NODE_TEXTBOX); }

bool OnlyTextItemsSelected(const Diagram& d)
{
    if (!d.selectedLinks().empty())
        return false;
    const auto nodes = d.selectedNodes();
    return std::none_of(nodes.begin(), nodes.end(), [](const Node* n) { return n->isFsmItem(); });
}

Node* FindOtherNode(const Diagram& d, qint32 mask, const Node* node)
{
    for (const auto& n : d.nodes())
        if ((n->userData() & mask) && n.get() != node)
            return n.get();
    return nullptr;
}

void SetHistoryMark(FsmDocument& doc, Node* node)
{
    if (!node)
        node = FindOtherNode(doc.diagram(), NODE_STATE_INITIAL, nullptr);
    if (!node)
        return;
    if (!doc.bHistoryFsm) {
        RemoveHistoryMark(doc, node);
        node->setDrawColor(Rgb(230, 0, 0));
        return;
    }
    node->setDrawColor(Rgb(180, 0, 60));
    if (!node->text().startsWith(kHistoryLine))
        node->setText(kHistoryLine + node->text());
    SizeNodeToText(doc, node);
}

void RemoveHistoryMark(FsmDocument& doc, Node* node)
{
    if (!node)
        node = FindOtherNode(doc.diagram(), NODE_STATE_INITIAL, nullptr);
    if (!node || !node->text().startsWith(kHistoryLine))
        return;
    node->setText(node->text().mid(kHistoryLine.size()));
    SizeNodeToText(doc, node);
    EnlargeToMinimum(node);
}

void ApplyDefaultColours(Diagram& d)
{
    for (const auto& n : d.nodes()) {
        if (!IsStateNode(n.get()))
            continue;
        n->setFillColor(d.defaultFillColor());
        n->setForeColor(d.defaultForeColor());
    }
}

void RefreshAllItems(FsmDocument& doc, Messenger& messenger)
{
    Diagram& d = doc.diagram();
    // Configuring never adds or removes nodes, so indices stay valid.
    std::optional<DefaultNames> names;
    for (int i = 1; i <= d.nodeCount(); ++i) {
        Node* n = d.item(i);
        if (IsStateNode(n)) {
            ReconfigureState(doc, n, GetStateField(kStateIndex, n), messenger, names);
        } else if (modNodoTransicion::IsTransitionNode(n)) {
            const QStringList f = modStrings::SplitFields(n->tag(), modNodoTransicion::kTransFieldCount);
            modNodoTransicion::Configura_Nodo_Transicion(
                doc, f[modNodoTransicion::kTransPriority], f[modNodoTransicion::kTransCondition],
                f[modNodoTransicion::kTransAction], f[modNodoTransicion::kTransSelf],
                f[modNodoTransicion::kTransLast], n);
        }
    }
}

}  // namespace orvane::modNodoEstado
