#pragma once
// The graphics items of the diagram view: one per node and one per link.
// They hold no data of their own beyond a cache of their geometry; every
// look comes from the model object they show.

#include "Diagram.h"

#include <QGraphicsItem>
#include <QPolygonF>

#include <array>

namespace orvane {

// What every item needs to know about the view it is shown in.
struct ItemContext {
    double twipsPerPixelX = 15;  // at the current zoom
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
    std::vector<QPointF> middles;  // middles[i] lies on segment i
};
LinkHandles linkHandles(const QPolygonF& line, const Link& l);

// Distance from `p` to a polyline; `segment` receives the index of the
// nearest segment (the one from point i to point i + 1).
double distanceToLine(const QPolygonF& line, QPointF p, int* segment = nullptr);

// True when some segment of a polyline comes within `margin` of `area`
// (that is, meets the area grown by `margin` on every side).
bool lineMeets(const QPolygonF& line, const QRectF& area, double margin);

// What node and link items share: the rectangle their drawing covers and
// the selection handles, which keep their size in pixels at any zoom.
class DiagramItem : public QGraphicsItem {
public:
    // What the drawing covers, without selection handles.
    const QRectF& drawnRect() const { return m_drawn; }
    // Shows or hides the selection handles.
    void setShowSelected(bool on);
    // The zoom or read-only state changed.
    void contextChanged();
    QRectF boundingRect() const override { return m_bounds; }

protected:
    explicit DiagramItem(const ItemContext* ctx) : m_ctx(ctx) {}
    // Sets what the drawing covers and where the handles sit.
    void setArea(const QRectF& drawn, const QRectF& handles);
    void paintHandle(QPainter& p, QPointF at, bool filled) const;

    const ItemContext* m_ctx;
    bool m_showSelected = false;

private:
    QRectF m_drawn, m_handles, m_bounds;
    void computeBounds();
};

class NodeItem : public DiagramItem {
public:
    enum { Type = UserType + 1 };
    NodeItem(Node* n, const ItemContext* ctx);

    Node* node() const { return m_node; }
    // Takes geometry and visibility from the node. (The scene shows the
    // node's tool tip: items keep no copy of it.)
    void sync();

    int type() const override { return Type; }
    QPainterPath shape() const override;
    void paint(QPainter* p, const QStyleOptionGraphicsItem* opt, QWidget* w) override;

private:
    Node* m_node;
    QRectF m_rect;
};

class LinkItem : public DiagramItem {
public:
    enum { Type = UserType + 2 };
    LinkItem(Link* l, const ItemContext* ctx);

    Link* link() const { return m_link; }
    const QPolygonF& line() const { return m_line; }
    // Takes the line from the link and its ends.
    void sync();

    int type() const override { return Type; }
    void paint(QPainter* p, const QStyleOptionGraphicsItem* opt, QWidget* w) override;

private:
    // False when the line, drawn by `p`, leaves no pixel in `area`.
    bool drawsInto(const QPainter& p, const QRectF& area) const;

    Link* m_link;
    QPolygonF m_line;
};

}  // namespace orvane
