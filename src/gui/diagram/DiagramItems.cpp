#include "DiagramItems.h"

#include "DiagramRenderer.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane {

namespace {

// Texts smaller than this many device pixels are not drawn.
constexpr double kMinTextPixels = 4;

// A node whose text is too small to read: its outline and fill only, which
// is much quicker when a large diagram is seen whole.
void paintWithoutText(QPainter& p, const Node& n)
{
    if (n.shape() == 0)
        return;
    auto colour = [](quint32 bgr) {
        return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
    };
    p.setPen(QPen(colour(n.drawColor()), 0));  // one device pixel
    p.setBrush(colour(n.fillColor()));
    p.drawPath(DiagramRenderer::nodeOutline(n));
}

QPen handlePen()
{
    QPen pen(Qt::black, 1);
    pen.setCosmetic(true);
    return pen;
}

}  // namespace

QRectF nodeRect(const Node& n)
{
    return QRectF(n.left(), n.top(), n.width(), n.height()).normalized();
}

std::array<QPointF, 8> nodeHandles(const QRectF& r)
{
    const double cx = r.center().x(), cy = r.center().y();
    return {QPointF(r.left(), r.top()),     QPointF(cx, r.top()),
            QPointF(r.right(), r.top()),    QPointF(r.right(), cy),
            QPointF(r.right(), r.bottom()), QPointF(cx, r.bottom()),
            QPointF(r.left(), r.bottom()),  QPointF(r.left(), cy)};
}

LinkHandles linkHandles(const QPolygonF& line, const Link& l)
{
    LinkHandles h;
    if (line.size() < 2)
        return h;
    h.orgEnd = line.front();
    h.dstEnd = line.back();
    // A link to its own node without bends has no segment to take.
    if (!(l.org() == l.dst() && l.extraPoints().empty())) {
        h.bends.assign(l.extraPoints().begin(), l.extraPoints().end());
        for (int i = 0; i + 1 < line.size(); ++i)
            h.middles.push_back((line[i] + line[i + 1]) / 2);
    }
    return h;
}

double distanceToLine(const QPolygonF& line, QPointF p, int* segment)
{
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i + 1 < line.size(); ++i) {
        const QPointF a = line[i], b = line[i + 1];
        const QPointF ab = b - a;
        const double len2 = QPointF::dotProduct(ab, ab);
        double t = len2 > 0 ? QPointF::dotProduct(p - a, ab) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const QPointF d = p - (a + ab * t);
        const double dist = std::hypot(d.x(), d.y());
        if (dist < best) {
            best = dist;
            if (segment)
                *segment = i;
        }
    }
    return best;
}

bool lineMeets(const QPolygonF& line, const QRectF& area, double margin)
{
    const QRectF r = area.normalized().adjusted(-margin, -margin, margin, margin);
    if (line.size() == 1)
        return r.contains(line.front());
    // Each segment a + t (b - a), t in [0, 1], is cut to the slab between
    // the rectangle's sides in x, then in y; what is left meets it.
    for (int i = 0; i + 1 < line.size(); ++i) {
        const QPointF a = line[i], d = line[i + 1] - line[i];
        double t0 = 0, t1 = 1;
        auto clip = [&](double p, double q) {
            // Keeps the part where p t <= q.
            if (p == 0)
                return q >= 0;
            const double t = q / p;
            if (p < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
            return t0 <= t1;
        };
        if (clip(-d.x(), a.x() - r.left()) && clip(d.x(), r.right() - a.x())
            && clip(-d.y(), a.y() - r.top()) && clip(d.y(), r.bottom() - a.y()))
            return true;
    }
    return false;
}

// ---------------------------------------------------------------- DiagramItem

void DiagramItem::setArea(const QRectF& drawn, const QRectF& handles)
{
    // An item whose area stays keeps its place in the scene's index: a
    // refresh of every text (open, save) then costs no index work.
    if (drawn == m_drawn && handles == m_handles) {
        update();
        return;
    }
    prepareGeometryChange();
    m_drawn = drawn;
    m_handles = handles;
    computeBounds();
    update();
}

void DiagramItem::computeBounds()
{
    m_bounds = m_drawn;
    if (m_showSelected) {
        const double mx = kHandlePixels * m_ctx->twipsPerPixelX;
        const double my = kHandlePixels * m_ctx->twipsPerPixelY;
        m_bounds = m_bounds.united(m_handles.adjusted(-mx, -my, mx, my));
    }
}

void DiagramItem::setShowSelected(bool on)
{
    if (m_showSelected == on)
        return;
    prepareGeometryChange();
    m_showSelected = on;
    computeBounds();
    update();
}

void DiagramItem::contextChanged()
{
    if (!m_showSelected)
        return;
    prepareGeometryChange();
    computeBounds();
    update();
}

void DiagramItem::paintHandle(QPainter& p, QPointF at, bool filled) const
{
    const double w = kHandlePixels * m_ctx->twipsPerPixelX;
    const double h = kHandlePixels * m_ctx->twipsPerPixelY;
    p.setPen(handlePen());
    p.setBrush(filled ? QBrush(Qt::black) : QBrush(Qt::white));
    p.drawRect(QRectF(at.x() - w / 2, at.y() - h / 2, w, h));
}

// ---------------------------------------------------------------- NodeItem

NodeItem::NodeItem(Node* n, const ItemContext* ctx) : DiagramItem(ctx), m_node(n)
{
    setZValue(1);
    sync();
}

void NodeItem::sync()
{
    m_rect = nodeRect(*m_node);
    setArea(DiagramRenderer::nodeBounds(*m_node).normalized(), m_rect);
    // The info node only travels in files and margin nodes only in exports.
    setVisible(DiagramRenderer::isDrawn(*m_node));
}

QPainterPath NodeItem::shape() const
{
    QPainterPath p;
    p.addRect(m_rect);
    return p;
}

void NodeItem::paint(QPainter* p, const QStyleOptionGraphicsItem* opt, QWidget*)
{
    const double lod = opt->levelOfDetailFromTransform(p->worldTransform());
    if (m_node->text().isEmpty() || m_node->font().size * 20 * lod >= kMinTextPixels)
        DiagramRenderer::paintNode(*p, *m_node);
    else
        paintWithoutText(*p, *m_node);
    if (!m_showSelected)
        return;
    if (m_node->shape() == 0) {
        // An invisible box still shows where it is while selected.
        QPen dash = handlePen();
        dash.setStyle(Qt::DashLine);
        p->setPen(dash);
        p->setBrush(Qt::NoBrush);
        p->drawRect(m_rect);
    }
    for (const QPointF& h : nodeHandles(m_rect))
        paintHandle(*p, h, !m_ctx->readOnly);
}

// ---------------------------------------------------------------- LinkItem

LinkItem::LinkItem(Link* l, const ItemContext* ctx) : DiagramItem(ctx), m_link(l)
{
    setZValue(0);
    // The view then tells paint() which part of the window it repaints.
    setFlag(ItemUsesExtendedStyleOption);
    sync();
}

void LinkItem::sync()
{
    m_line = DiagramRenderer::linkLine(*m_link);
    // The pick distance is the view's business (DiagramScene::linkAt), so
    // that zooming does not have to touch every link.
    setArea(DiagramRenderer::linkBounds(*m_link).normalized(), m_line.boundingRect());
    setVisible(DiagramRenderer::isDrawn(*m_link->org())
               && DiagramRenderer::isDrawn(*m_link->dst()));
}

bool LinkItem::drawsInto(const QPainter& p, const QRectF& area) const
{
    // How far the stroke can reach beyond the line: a miter at a bend up
    // to twice the pen's width (the pen's default miter limit; the width
    // is at least one device pixel, as the renderer keeps it), the arrow
    // heads at the ends, and the antialiased edge.
    const QTransform& t = p.worldTransform();
    const double scale = std::min(std::hypot(t.m11(), t.m12()), std::hypot(t.m21(), t.m22()));
    if (!(scale > 0))
        return true;
    const double pixel = 1.0 / scale;
    const double width = std::max(1, m_link->drawWidth()) * DiagramRenderer::kTwipsPerPixel;
    double margin = 2 * std::max(width, pixel) + 3 * pixel;
    if (m_link->arrowDst() != 0 || m_link->arrowOrg() != 0)
        margin += 1.2 * (120.0 + 2.0 * width);
    return lineMeets(m_line, area, margin);
}

void LinkItem::paint(QPainter* p, const QStyleOptionGraphicsItem* opt, QWidget*)
{
    // A long link is repainted wherever its bounding rectangle meets the
    // repainted area; most of the time the line itself passes far away
    // from it (two thousand transitions into the initial state cover the
    // whole window that way), and stroking it would only cost time.
    if (drawsInto(*p, opt->exposedRect))
        DiagramRenderer::paintLink(*p, *m_link);
    if (!m_showSelected)
        return;
    const LinkHandles h = linkHandles(m_line, *m_link);
    const bool filled = !m_ctx->readOnly;
    paintHandle(*p, h.orgEnd, filled);
    paintHandle(*p, h.dstEnd, filled);
    for (const QPointF& b : h.bends)
        paintHandle(*p, b, filled);
    for (const QPointF& m : h.middles)
        paintHandle(*p, m, false);
}

}  // namespace orvane
