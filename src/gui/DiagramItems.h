#pragma once
// The graphics items of the diagram view: one per node and one per link.
// They hold no data of their own beyond a cache of their geometry; every
// look comes from the model object they show.

#include "Diagram.h"

#include <QGraphicsItem>
#include <QPolygonF>

#include <array>

namespace orvane
{

// What every item needs to know about the view it is shown in.
struct ItemContext {
    double twipsPerPixelX = 15; // at the current zoom
    double twipsPerPixelY = 15;
    bool readOnly = false;
    double pixelsToTwips() const { return std::max(twipsPerPixelX, twipsPerPixelY); }
};

// Side of a selection handle, in device pixels.
constexpr double kHandlePixels = 7;

// A node's rectangle in twips, normalised.
QRectF nodeRect(const Node& n);

// The eight resize handles of a node rectangle: corners and edge middles,
// clockwise from the top left.
std::array<QPointF, 8> nodeHandles(const QRectF& r);

// The points where a selected link can be taken: its two ends, its bend
// points, and the middle of each segment (pulling one adds a bend point).
struct LinkHandles {
    QPointF orgEnd, dstEnd;
    std::vector<QPointF> bends;
    std::vector<QPointF> middles; // middles[i] lies on segment i
};
LinkHandles linkHandles(const QPolygonF& line, const Link& l);

// Distance from `p` to a polyline; `segment` receives the index of the
// nearest segment (the one from point i to point i + 1).
double distanceToLine(const QPolygonF& line, QPointF p, int* segment = nullptr);

class NodeItem : public QGraphicsItem
{
  public:
    enum { Type = UserType + 1 };
    NodeItem(Node* n, const ItemContext* ctx);

    Node* node() const { return m_node; }
    // What the node's drawing covers, without selection handles.
    const QRectF& drawnRect() const { return m_drawn; }
    // Takes geometry, visibility and tool tip from the node.
    void sync();
    // Shows or hides the selection handles.
    void setShowSelected(bool on);
    // The zoom or read-only state changed.
    void contextChanged();

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter* p, const QStyleOptionGraphicsItem* opt, QWidget* w) override;

  private:
    Node* m_node;
    const ItemContext* m_ctx;
    QRectF m_rect;
    QRectF m_drawn;
    QRectF m_bounds;
    bool m_showSelected = false;
    void computeBounds();
};

class LinkItem : public QGraphicsItem
{
  public:
    enum { Type = UserType + 2 };
    LinkItem(Link* l, const ItemContext* ctx);

    Link* link() const { return m_link; }
    const QPolygonF& line() const { return m_line; }
    const QRectF& drawnRect() const { return m_drawn; }
    // Takes the line from the link and its ends.
    void sync();
    void setShowSelected(bool on);
    void contextChanged();

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter* p, const QStyleOptionGraphicsItem* opt, QWidget* w) override;

  private:
    Link* m_link;
    const ItemContext* m_ctx;
    QPolygonF m_line;
    QRectF m_drawn;
    QRectF m_bounds;
    mutable QPainterPath m_shape; // built when first asked for
    bool m_showSelected = false;
    void computeBounds();
};

} // namespace orvane
