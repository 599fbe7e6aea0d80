#pragma once
// The scene of a diagram view: keeps one item per node and per link in step
// with the model through its signals, one change at a time. While the
// model's redraw is off, changes are only collected and applied in one pass
// when it comes back on.

#include "DiagramItems.h"

#include <QGraphicsScene>
#include <QPointer>

#include <unordered_map>
#include <unordered_set>

namespace orvane {

// Items changed while drawing is suspended, once each, in the order they
// first changed.
template <typename T> class PendingItems {
public:
    void add(T* p)
    {
        if (m_set.insert(p).second)
            m_order.push_back(p);
    }
    void remove(T* p) { m_set.erase(p); }
    // Calls f for each item still pending, then forgets them all.
    template <typename F> void drain(F f)
    {
        for (T* p : m_order)
            if (m_set.erase(p) != 0)
                f(p);
        clear();
    }
    void clear()
    {
        m_order.clear();
        m_set.clear();
    }

private:
    std::vector<T*> m_order;
    std::unordered_set<T*> m_set;
};

class DiagramScene : public QGraphicsScene {
    Q_OBJECT
public:
    explicit DiagramScene(Diagram* diagram, QObject* parent = nullptr);
    ~DiagramScene() override;

    Diagram* diagram() const { return m_diagram; }
    NodeItem* itemOf(const Node* n) const;
    LinkItem* itemOf(const Link* l) const;

    const ItemContext& context() const { return m_ctx; }
    // The view's zoom changed: selected items resize their handles.
    void setPixelSize(double twipsPerPixelX, double twipsPerPixelY);

    // True while the model's redraw is off.
    bool suspended() const { return m_suspended; }

    // The rectangle covered by every node and link, computed afresh.
    QRectF drawingRect() const;
    // A rectangle that holds everything drawn since the last rebuild; it
    // only grows, so that scrolling stays calm while items move.
    QRectF extent() const { return m_extent; }

    // The topmost shown node at a scene point (twips).
    Node* nodeAt(QPointF pos) const;
    // The link nearest to a scene point within `tolerance` twips.
    Link* linkAt(QPointF pos, double tolerance) const;
    // The tool tip of the topmost shown node at a scene point that has one.
    QString toolTipAt(QPointF pos) const;

signals:
    void extentGrown();
    void suspendedChanged(bool suspended);

protected:
    void drawBackground(QPainter* p, const QRectF& rect) override;
    // Tool tips come from the nodes themselves, not from copies in items.
    void helpEvent(QGraphicsSceneHelpEvent* e) override;

private:
    void rebuild();
    void clearItems();
    NodeItem* addNodeItem(Node* n);
    LinkItem* addLinkItem(Link* l);
    void syncNode(Node* n);
    void syncLink(Link* l);
    void grow(const QRectF& r);
    // Many items at once report the grown extent once, at the end.
    void beginBatch();
    void endBatch();
    void scheduleSelectionSync();
    void syncSelection();
    void onRedrawChanged();
    void flushPending();

    // Added or changed.
    void onNodeTouched(Node* n);
    void onLinkTouched(Link* l);
    void onNodeRemoved(Node* n);
    void onLinkRemoved(Link* l);
    void onViewSettingsChanged();

    QPointer<Diagram> m_diagram;
    ItemContext m_ctx;
    std::unordered_map<const Node*, NodeItem*> m_nodeItems;
    std::unordered_map<const Link*, LinkItem*> m_linkItems;
    QRectF m_extent;
    bool m_batch = false;
    bool m_batchGrew = false;
    bool m_selectionSyncQueued = false;

    // Collected while suspended, in the order they came.
    bool m_suspended = false;
    bool m_pendingReset = false;
    bool m_pendingSelection = false;
    PendingItems<Node> m_pendingNodes;
    PendingItems<Link> m_pendingLinks;
};

}  // namespace orvane
