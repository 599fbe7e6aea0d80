#include "DiagramScene.h"

#include <QApplication>
#include <QGraphicsSceneHelpEvent>
#include <QPainter>
#include <QPalette>
#include <QToolTip>

#include <cmath>

namespace orvane {

namespace {
// Grid dots closer than this many device pixels are thinned out.
constexpr double kMinGridPixels = 8;
}  // namespace

DiagramScene::DiagramScene(Diagram* diagram, QObject* parent)
    : QGraphicsScene(parent), m_diagram(diagram)
{
    // No spatial index: a tree index files every item under each cell its
    // rectangle covers, and a diagram has long links that cover nearly all
    // cells, so that index grows with items times cells (gigabytes at ten
    // thousand states) and is rebuilt as items move. Painting and hit tests
    // walk the items in a list instead, which stays linear.
    setItemIndexMethod(NoIndex);
    setBackgroundBrush(QApplication::palette().color(QPalette::Base));
    if (!diagram)
        return;
    connect(diagram, &Diagram::nodeAdded, this, &DiagramScene::onNodeTouched);
    connect(diagram, &Diagram::nodeChanged, this, &DiagramScene::onNodeTouched);
    connect(diagram, &Diagram::nodeAboutToBeRemoved, this, &DiagramScene::onNodeRemoved);
    connect(diagram, &Diagram::linkAdded, this, &DiagramScene::onLinkTouched);
    connect(diagram, &Diagram::linkChanged, this, &DiagramScene::onLinkTouched);
    connect(diagram, &Diagram::linkAboutToBeRemoved, this, &DiagramScene::onLinkRemoved);
    connect(diagram, &Diagram::selectionChanged, this, &DiagramScene::scheduleSelectionSync);
    connect(diagram, &Diagram::redrawChanged, this, &DiagramScene::onRedrawChanged);
    connect(diagram, &Diagram::viewSettingsChanged, this, &DiagramScene::onViewSettingsChanged);
    connect(diagram, &Diagram::contentReset, this, [this] {
        if (m_suspended)
            m_pendingReset = true;
        else
            rebuild();
    });
    // Items point into the model: they go before it does.
    connect(diagram, &QObject::destroyed, this, &DiagramScene::clearItems);
    m_ctx.readOnly = diagram->readOnly();
    m_suspended = !(diagram->redraw() && diagram->autoRefresh());
    if (m_suspended)
        m_pendingReset = true;
    else
        rebuild();
}

DiagramScene::~DiagramScene() { clearItems(); }

NodeItem* DiagramScene::itemOf(const Node* n) const
{
    const auto it = m_nodeItems.find(n);
    return it == m_nodeItems.end() ? nullptr : it->second;
}

LinkItem* DiagramScene::itemOf(const Link* l) const
{
    const auto it = m_linkItems.find(l);
    return it == m_linkItems.end() ? nullptr : it->second;
}

void DiagramScene::clearItems()
{
    // The scene's own clear() drops its lists at once; deleting items one by
    // one searches those lists for each. Items that are not ours (the view's
    // rubber band and previews) are taken out first and put back after.
    if (!m_nodeItems.empty() || !m_linkItems.empty()) {
        std::vector<QGraphicsItem*> others;
        for (QGraphicsItem* it : items())
            if (!it->parentItem() && it->type() != NodeItem::Type && it->type() != LinkItem::Type)
                others.push_back(it);
        for (QGraphicsItem* it : others)
            removeItem(it);
        clear();
        for (QGraphicsItem* it : others)
            addItem(it);
    }
    m_nodeItems.clear();
    m_linkItems.clear();
    m_pendingNodes.clear();
    m_pendingLinks.clear();
}

void DiagramScene::beginBatch()
{
    m_batch = true;
    m_batchGrew = false;
}

void DiagramScene::endBatch()
{
    m_batch = false;
    if (m_batchGrew)
        emit extentGrown();
}

void DiagramScene::rebuild()
{
    clearItems();
    m_extent = QRectF();
    m_pendingReset = false;
    if (!m_diagram)
        return;
    beginBatch();
    m_nodeItems.reserve(m_diagram->nodes().size());
    for (const auto& n : m_diagram->nodes())
        addNodeItem(n.get());
    m_linkItems.reserve(m_diagram->links().size());
    for (const auto& l : m_diagram->links())
        addLinkItem(l.get());
    syncSelection();
    m_batchGrew = true;  // the extent may also have shrunk
    endBatch();
}

NodeItem* DiagramScene::addNodeItem(Node* n)
{
    auto* item = new NodeItem(n, &m_ctx);
    m_nodeItems[n] = item;
    addItem(item);
    grow(item->boundingRect());
    return item;
}

LinkItem* DiagramScene::addLinkItem(Link* l)
{
    auto* item = new LinkItem(l, &m_ctx);
    m_linkItems[l] = item;
    addItem(item);
    grow(item->boundingRect());
    return item;
}

void DiagramScene::grow(const QRectF& r)
{
    if (m_extent.contains(r))
        return;
    m_extent = m_extent.isNull() ? r : m_extent.united(r);
    if (m_batch)
        m_batchGrew = true;
    else
        emit extentGrown();
}

void DiagramScene::syncNode(Node* n)
{
    NodeItem* item = itemOf(n);
    if (!item)
        return;
    item->sync();
    grow(item->boundingRect());
    // The links' ends follow the node.
    for (Link* l : n->outLinks())
        syncLink(l);
    for (Link* l : n->inLinks())
        if (l->org() != n)
            syncLink(l);
}

void DiagramScene::syncLink(Link* l)
{
    if (LinkItem* item = itemOf(l)) {
        item->sync();
        grow(item->boundingRect());
    }
}

void DiagramScene::setPixelSize(double twipsPerPixelX, double twipsPerPixelY)
{
    if (m_ctx.twipsPerPixelX == twipsPerPixelX && m_ctx.twipsPerPixelY == twipsPerPixelY)
        return;
    m_ctx.twipsPerPixelX = twipsPerPixelX;
    m_ctx.twipsPerPixelY = twipsPerPixelY;
    // Only selected items change: their handles keep their size in pixels.
    for (auto& [link, item] : m_linkItems)
        item->contextChanged();
    for (auto& [node, item] : m_nodeItems)
        item->contextChanged();
}

QRectF DiagramScene::drawingRect() const
{
    QRectF r;
    for (const auto& [node, item] : m_nodeItems)
        if (item->isVisible())
            r = r.united(item->drawnRect());
    for (const auto& [link, item] : m_linkItems)
        if (item->isVisible())
            r = r.united(item->drawnRect());
    return r;
}

Node* DiagramScene::nodeAt(QPointF pos) const
{
    for (QGraphicsItem* it : items(pos, Qt::IntersectsItemShape, Qt::DescendingOrder))
        if (it->type() == NodeItem::Type && it->isVisible())
            return static_cast<NodeItem*>(it)->node();
    return nullptr;
}

Link* DiagramScene::linkAt(QPointF pos, double tolerance) const
{
    const QRectF area(pos.x() - tolerance, pos.y() - tolerance, 2 * tolerance, 2 * tolerance);
    Link* best = nullptr;
    double bestDist = 0;
    // Topmost first: among links at the same distance the upper one wins.
    for (QGraphicsItem* it : items(area, Qt::IntersectsItemBoundingRect, Qt::DescendingOrder)) {
        if (it->type() != LinkItem::Type || !it->isVisible())
            continue;
        auto* li = static_cast<LinkItem*>(it);
        const double d = distanceToLine(li->line(), pos);
        if (d <= tolerance && (!best || d < bestDist)) {
            bestDist = d;
            best = li->link();
        }
    }
    return best;
}

QString DiagramScene::toolTipAt(QPointF pos) const
{
    // The topmost shown node under the point that has a tip.
    for (QGraphicsItem* it : items(pos, Qt::IntersectsItemShape, Qt::DescendingOrder)) {
        if (it->type() != NodeItem::Type || !it->isVisible())
            continue;
        const QString& tip = static_cast<NodeItem*>(it)->node()->toolTip();
        if (!tip.isEmpty())
            return tip;
    }
    return {};
}

void DiagramScene::helpEvent(QGraphicsSceneHelpEvent* e)
{
    const QString text = toolTipAt(e->scenePos());
    QToolTip::showText(text.isEmpty() ? QPoint() : e->screenPos(), text, e->widget());
    e->setAccepted(!text.isEmpty());
}

// ---------------------------------------------------------------- model signals

namespace {
// Deletes the item of a model object, if it has one.
template <typename Map, typename Key> void dropItem(Map& items, Key* key)
{
    const auto it = items.find(key);
    if (it == items.end())
        return;
    delete it->second;
    items.erase(it);
}
}  // namespace

void DiagramScene::onNodeTouched(Node* n)
{
    if (m_suspended) {
        m_pendingNodes.add(n);
        return;
    }
    if (itemOf(n)) {
        syncNode(n);
        return;
    }
    addNodeItem(n);
    if (n->selected())
        scheduleSelectionSync();
}

void DiagramScene::onLinkTouched(Link* l)
{
    if (m_suspended) {
        m_pendingLinks.add(l);
        return;
    }
    if (itemOf(l)) {
        syncLink(l);
        return;
    }
    addLinkItem(l);
    if (l->selected())
        scheduleSelectionSync();
}

// Removals are applied even while suspended: no item may outlive its object.
void DiagramScene::onNodeRemoved(Node* n)
{
    m_pendingNodes.remove(n);
    dropItem(m_nodeItems, n);
}

void DiagramScene::onLinkRemoved(Link* l)
{
    m_pendingLinks.remove(l);
    dropItem(m_linkItems, l);
}

void DiagramScene::onViewSettingsChanged()
{
    if (!m_diagram)
        return;
    if (m_ctx.readOnly != m_diagram->readOnly()) {
        m_ctx.readOnly = m_diagram->readOnly();
        for (auto& [node, item] : m_nodeItems)
            if (node->selected())
                item->update();
        for (auto& [link, item] : m_linkItems)
            if (link->selected())
                item->update();
    }
    // The grid is drawn in the background.
    invalidate(sceneRect(), BackgroundLayer);
}

void DiagramScene::scheduleSelectionSync()
{
    if (m_suspended) {
        m_pendingSelection = true;
        return;
    }
    // Selecting many items one by one raises one signal each: sync once.
    if (m_selectionSyncQueued)
        return;
    m_selectionSyncQueued = true;
    QMetaObject::invokeMethod(this, &DiagramScene::syncSelection, Qt::QueuedConnection);
}

void DiagramScene::syncSelection()
{
    m_selectionSyncQueued = false;
    m_pendingSelection = false;
    if (!m_diagram || m_suspended)
        return;
    for (const auto& n : m_diagram->nodes())
        if (NodeItem* item = itemOf(n.get()))
            item->setShowSelected(n->selected());
    for (const auto& l : m_diagram->links())
        if (LinkItem* item = itemOf(l.get()))
            item->setShowSelected(l->selected());
}

void DiagramScene::onRedrawChanged()
{
    if (!m_diagram)
        return;
    const bool suspend = !(m_diagram->redraw() && m_diagram->autoRefresh());
    if (suspend == m_suspended)
        return;
    m_suspended = suspend;
    if (!suspend)
        flushPending();
    emit suspendedChanged(suspend);
}

void DiagramScene::flushPending()
{
    if (m_pendingReset) {
        rebuild();
        return;
    }
    beginBatch();
    // Nodes first, so that links meet their ends' final geometry.
    m_pendingNodes.drain([this](Node* n) { onNodeTouched(n); });
    m_pendingLinks.drain([this](Link* l) { onLinkTouched(l); });
    // Links of nodes that were added while suspended have been created
    // above; links of moved nodes followed them in syncNode.
    syncSelection();
    endBatch();
}

// ---------------------------------------------------------------- grid

void DiagramScene::drawBackground(QPainter* p, const QRectF& rect)
{
    QGraphicsScene::drawBackground(p, rect);
    if (!m_diagram || !m_diagram->showGrid())
        return;
    double step = m_diagram->gridSize();
    if (step <= 0)
        return;
    const double pixel = std::min(m_ctx.twipsPerPixelX, m_ctx.twipsPerPixelY);
    while (step / pixel < kMinGridPixels)
        step *= 2;
    const double x0 = std::floor(rect.left() / step) * step;
    const double y0 = std::floor(rect.top() / step) * step;
    QVector<QPointF> dots;
    dots.reserve(qsizetype((rect.width() / step + 2) * (rect.height() / step + 2)));
    for (double y = y0; y <= rect.bottom(); y += step)
        for (double x = x0; x <= rect.right(); x += step)
            dots.append(QPointF(x, y));
    QPen pen(QApplication::palette().color(QPalette::Mid), 1);
    pen.setCosmetic(true);
    p->setPen(pen);
    p->drawPoints(dots.constData(), int(dots.size()));
}

}  // namespace orvane
