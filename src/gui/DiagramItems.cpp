#include "DiagramItems.h"

#include "DiagramRenderer.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane
{

namespace
{

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
    p.setPen(QPen(colour(n.drawColor()), 0)); // one device pixel
    p.setBrush(colour(n.fillColor()));
    p.drawPath(DiagramRenderer::nodeOutline(n));
}

void drawHandle(QPainter& p, const ItemContext& ctx, QPointF at, bool filled)
{
    const double w = kHandlePixels * ctx.twipsPerPixelX;
    const double h = kHandlePixels * ctx.twipsPerPixelY;
    p.setBrush(filled ? QBrush(Qt::black) : QBrush(Qt::white));
    p.drawRect(QRectF(at.x() - w / 2, at.y() - h / 2, w, h));
}

QPen handlePen()
{
    QPen pen(Qt::black, 1);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

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

// ---------------------------------------------------------------- NodeItem

NodeItem::NodeItem(Node* n, const ItemContext* ctx) : m_node(n), m_ctx(ctx)
{
    setZValue(1);
    sync();
}

void NodeItem::computeBounds()
{
    m_bounds = m_drawn;
    if (m_showSelected) {
        const double mx = kHandlePixels * m_ctx->twipsPerPixelX;
        const double my = kHandlePixels * m_ctx->twipsPerPixelY;
        m_bounds = m_bounds.united(m_rect.adjusted(-mx, -my, mx, my));
    }
}

void NodeItem::sync()
{
    prepareGeometryChange();
    m_rect = nodeRect(*m_node);
    m_drawn = DiagramRenderer::nodeBounds(*m_node).normalized();
    computeBounds();
    // The info node only travels in files and margin nodes only in exports.
    setVisible(DiagramRenderer::isDrawn(*m_node));
    if (toolTip() != m_node->toolTip())
        setToolTip(m_node->toolTip());
    update();
}

void NodeItem::setShowSelected(bool on)
{
    if (m_showSelected == on)
        return;
    prepareGeometryChange();
    m_showSelected = on;
    computeBounds();
    update();
}

void NodeItem::contextChanged()
{
    if (!m_showSelected)
        return;
    prepareGeometryChange();
    computeBounds();
    update();
}

QRectF NodeItem::boundingRect() const
{
    return m_bounds;
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
    p->setPen(handlePen());
    if (m_node->shape() == 0) {
        // An invisible box still shows where it is while selected.
        QPen dash = handlePen();
        dash.setStyle(Qt::DashLine);
        p->setPen(dash);
        p->setBrush(Qt::NoBrush);
        p->drawRect(m_rect);
        p->setPen(handlePen());
    }
    for (const QPointF& h : nodeHandles(m_rect))
        drawHandle(*p, *m_ctx, h, !m_ctx->readOnly);
}

// ---------------------------------------------------------------- LinkItem

LinkItem::LinkItem(Link* l, const ItemContext* ctx) : m_link(l), m_ctx(ctx)
{
    setZValue(0);
    sync();
}

void LinkItem::computeBounds()
{
    // The pick distance is the view's business (DiagramScene::linkAt), so
    // that zooming does not have to touch every link.
    m_bounds = m_drawn;
    if (m_showSelected) {
        const double mx = kHandlePixels * m_ctx->twipsPerPixelX;
        const double my = kHandlePixels * m_ctx->twipsPerPixelY;
        m_bounds = m_bounds.united(m_line.boundingRect().adjusted(-mx, -my, mx, my));
    }
    m_shape = QPainterPath();
}

void LinkItem::sync()
{
    prepareGeometryChange();
    m_line = DiagramRenderer::linkLine(*m_link);
    m_drawn = DiagramRenderer::linkBounds(*m_link).normalized();
    computeBounds();
    setVisible(DiagramRenderer::isDrawn(*m_link->org()) &&
               DiagramRenderer::isDrawn(*m_link->dst()));
    update();
}

void LinkItem::setShowSelected(bool on)
{
    if (m_showSelected == on)
        return;
    prepareGeometryChange();
    m_showSelected = on;
    computeBounds();
    update();
}

void LinkItem::contextChanged()
{
    if (!m_showSelected)
        return;
    prepareGeometryChange();
    computeBounds();
    update();
}

QRectF LinkItem::boundingRect() const
{
    return m_bounds;
}

QPainterPath LinkItem::shape() const
{
    if (m_shape.isEmpty() && m_line.size() >= 2) {
        QPainterPath path;
        path.addPolygon(m_line);
        QPainterPathStroker stroker;
        stroker.setWidth(2 * DiagramRenderer::kTwipsPerPixel * std::max(1, m_link->drawWidth()));
        m_shape = stroker.createStroke(path);
    }
    return m_shape;
}

void LinkItem::paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*)
{
    DiagramRenderer::paintLink(*p, *m_link);
    if (!m_showSelected)
        return;
    p->setPen(handlePen());
    const LinkHandles h = linkHandles(m_line, *m_link);
    drawHandle(*p, *m_ctx, h.orgEnd, !m_ctx->readOnly);
    drawHandle(*p, *m_ctx, h.dstEnd, !m_ctx->readOnly);
    for (const QPointF& b : h.bends)
        drawHandle(*p, *m_ctx, b, !m_ctx->readOnly);
    for (const QPointF& m : h.middles)
        drawHandle(*p, *m_ctx, m, false);
}

} // namespace orvane
