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

namespace orvane
{

class DiagramScene : public QGraphicsScene
{
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

  signals:
    void extentGrown();
    void suspendedChanged(bool suspended);

  protected:
    void drawBackground(QPainter* p, const QRectF& rect) override;

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

    void onNodeAdded(Node* n);
    void onNodeRemoved(Node* n);
    void onNodeChanged(Node* n);
    void onLinkAdded(Link* l);
    void onLinkRemoved(Link* l);
    void onLinkChanged(Link* l);
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
    std::vector<Node*> m_pendingNodeOrder;
    std::unordered_set<Node*> m_pendingNodes;
    std::vector<Link*> m_pendingLinkOrder;
    std::unordered_set<Link*> m_pendingLinks;
};

} // namespace orvane
