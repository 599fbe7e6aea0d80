#include "DiagramRenderer.h"

#include "FontTextMeasurer.h"
#include "States.h"
#include "WmfWriter.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace orvane::DiagramRenderer {

namespace {

enum Shape { Invisible = 0, Rounded = 1, Box = 2, Ellipse = 3, Diamond = 4, Label = 5 };

// Room between a remark's outline and its text; the same margins that
// autosize leaves around a text.
constexpr double kTextPadX = 60.0;
constexpr double kTextPadY = 30.0;

QColor toColor(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

double penWidth(int drawWidth) { return std::max(1, drawWidth) * kTwipsPerPixel; }

Shape shapeOf(const Node& n)
{
    const int s = n.shape();
    if ((n.userData() & NodeTextBox) && s == Rounded)
        return Box;
    if (s >= Invisible && s <= Label)
        return Shape(s);
    return Rounded;
}

QRectF rectOf(const Node& n) { return QRectF(n.left(), n.top(), n.width(), n.height()); }

double cornerRadius(const QRectF& r)
{
    return std::min(std::min(r.width(), r.height()) / 4.0, 200.0);
}

QPolygonF diamondOf(const QRectF& r)
{
    const QPointF c = r.center();
    return QPolygonF({QPointF(c.x(), r.top()), QPointF(r.right(), c.y()),
                      QPointF(c.x(), r.bottom()), QPointF(r.left(), c.y())});
}

QPen outlinePen(const Node& n)
{
    const double w = shapeOf(n) == Label ? kTwipsPerPixel : penWidth(n.drawWidth());
    QPen pen(toColor(n.drawColor()), w);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// A pen no thinner than one device pixel, so that outlines and links stay
// solid when the drawing is shown scaled down.
QPen visiblePen(const QPainter& p, QPen pen)
{
    const QTransform& t = p.worldTransform();
    const double scale = std::min(std::hypot(t.m11(), t.m12()), std::hypot(t.m21(), t.m22()));
    if (scale > 0 && pen.widthF() * scale < 1.0)
        pen.setWidthF(1.0 / scale);
    return pen;
}

// Lines up to and including the first one that starts with the name mark:
// they are centred. Read from the text itself, where a display line starts
// just after a CR, any LF dropped.
int centredLineCount(const Node& n)
{
    if (!(n.userData() & NodeAnyState))
        return 0;
    const QString& text = n.text();
    int line = 0;
    qsizetype start = 0;
    while (true) {
        qsizetype first = start;
        while (first < text.size() && text.at(first) == QLatin1Char('\n'))
            ++first;
        if (first < text.size() && text.at(first) == QChar(0x00B7))
            return line + 1;
        const qsizetype cr = text.indexOf(QLatin1Char('\r'), start);
        if (cr < 0)
            return 1;
        start = cr + 1;
        ++line;
    }
}

// A node's text as one block: its font with the line's ascent and spacing,
// the advance of each line and the rectangle the lines fill.
struct TextBlock {
    QFont font;
    double ascent = 0, lineSpacing = 0;
    std::shared_ptr<const std::vector<double>> advances;
    QRectF bounds;
};

TextBlock textBlock(const Node& n)
{
    TextBlock block;
    block.font = toQFont(n.font());
    const QFontMetricsF fm(block.font);
    block.ascent = fm.ascent();
    block.lineSpacing = fm.lineSpacing();
    block.advances = lineAdvances(n.text(), n.font());
    double blockWidth = 0;
    for (const double w : *block.advances)
        blockWidth = std::max(blockWidth, w);
    const double blockHeight = block.lineSpacing * double(block.advances->size());
    const QRectF r = rectOf(n);
    QPointF topLeft;
    if (n.userData() & NodeTextBox)
        topLeft = r.topLeft() + QPointF(kTextPadX, kTextPadY);
    else
        topLeft = r.center() - QPointF(blockWidth / 2.0, blockHeight / 2.0);
    block.bounds = QRectF(topLeft, QSizeF(blockWidth, blockHeight));
    return block;
}

// Whether any line of the text has a character to draw: only line breaks
// make empty lines.
bool hasDrawnLine(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c != QLatin1Char('\r') && c != QLatin1Char('\n'); });
}

// The point where the ray from the node's centre towards `towards` leaves
// the node's outline (`towards` itself when it lies inside). Links of an
// invisible node meet at its centre, so they read as one line.
QPointF exitPoint(const Node& n, const QPointF& towards)
{
    const QRectF r = rectOf(n);
    const QPointF c = r.center();
    const double dx = towards.x() - c.x(), dy = towards.y() - c.y();
    const double a = r.width() / 2.0, b = r.height() / 2.0;
    if ((dx == 0 && dy == 0) || a <= 0 || b <= 0 || shapeOf(n) == Invisible)
        return c;
    double t;
    switch (shapeOf(n)) {
    case Ellipse:
        t = 1.0 / std::sqrt((dx / a) * (dx / a) + (dy / b) * (dy / b));
        break;
    case Diamond:
        t = 1.0 / (std::abs(dx) / a + std::abs(dy) / b);
        break;
    default:
        t = std::min(dx != 0 ? a / std::abs(dx) : HUGE_VAL, dy != 0 ? b / std::abs(dy) : HUGE_VAL);
        break;
    }
    t = std::min(t, 1.0);
    return QPointF(c.x() + t * dx, c.y() + t * dy);
}

Qt::PenStyle penStyle(int drawStyle)
{
    switch (drawStyle) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case 5:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

struct Arrow {
    QPolygonF head;
    QPointF base;  // where the line meets the head
};

// The head at `tip` for a line arriving from `from`; empty when they meet.
Arrow arrowHead(const QPointF& from, const QPointF& tip, double lineWidth)
{
    const double dx = tip.x() - from.x(), dy = tip.y() - from.y();
    const double len = std::hypot(dx, dy);
    if (len <= 0)
        return {};
    const double length = 120.0 + 2.0 * lineWidth, half = length * 0.4;
    const QPointF u(dx / len, dy / len), normal(-u.y(), u.x());
    const QPointF base = tip - u * std::min(length, len);
    return {QPolygonF({tip, base + normal * half, base - normal * half}), base};
}

// The last point of `line` before index `end` that differs from line[end].
QPointF previousDistinct(const QPolygonF& line, qsizetype end, int step)
{
    for (qsizetype i = end - step; i >= 0 && i < line.size(); i -= step)
        if (line[i] != line[end])
            return line[i];
    return line[end];
}

}  // namespace

bool isDrawn(const Node& node) { return !(node.userData() & (NodeInfo | NodeMargin)); }

QPainterPath nodeOutline(const Node& node)
{
    QPainterPath path;
    const QRectF r = rectOf(node);
    switch (shapeOf(node)) {
    case Rounded:
        path.addRoundedRect(r, cornerRadius(r), cornerRadius(r));
        break;
    case Ellipse:
        path.addEllipse(r);
        break;
    case Diamond:
        path.addPolygon(diamondOf(r));
        path.closeSubpath();
        break;
    default:
        path.addRect(r);
        break;
    }
    return path;
}

void paintNode(QPainter& p, const Node& node) { paintNode(p, node, nullptr); }

void paintNode(QPainter& p, const Node& node, const ColourOverrides* colours)
{
    if (!isDrawn(node))
        return;
    const QRectF r = rectOf(node);
    const Shape shape = shapeOf(node);
    if (shape != Invisible) {
        QPen outline = outlinePen(node);
        if (colours && colours->nodeOutline.contains(&node))
            outline.setColor(colours->nodeOutline.value(&node));
        p.setPen(visiblePen(p, outline));
        p.setBrush(colours && colours->nodeFill.contains(&node) ? colours->nodeFill.value(&node)
                                                                : toColor(node.fillColor()));
        switch (shape) {
        case Rounded:
            p.drawRoundedRect(r, cornerRadius(r), cornerRadius(r));
            break;
        case Ellipse:
            p.drawEllipse(r);
            break;
        case Diamond:
            p.drawPolygon(diamondOf(r));
            break;
        default:
            p.drawRect(r);
            break;
        }
    }
    if (!hasDrawnLine(node.text()))
        return;
    // Line by line as they are cut: a text of megabytes is not held again as
    // a list of lines.
    const TextBlock block = textBlock(node);
    const std::vector<double>& widths = *block.advances;
    const double centreX = r.center().x();
    const int centred = centredLineCount(node);
    p.setFont(block.font);
    p.setPen(toColor(node.foreColor()));
    int i = 0;
    forEachDisplayLine(node.text(), [&](const QString& line) {
        if (!line.isEmpty()) {
            const double x = i < centred ? centreX - widths[size_t(i)] / 2.0 : block.bounds.left();
            const double y = block.bounds.top() + block.ascent + block.lineSpacing * i;
            WmfWriter::drawText(p, QPointF(x, y), line);
        }
        ++i;
    });
}

QRectF nodeBounds(const Node& node)
{
    QRectF r = rectOf(node);
    if (!isDrawn(node))
        return r;
    if (shapeOf(node) != Invisible) {
        const double half = outlinePen(node).widthF() / 2.0;
        r.adjust(-half, -half, half, half);
    }
    // The block alone: the lines themselves are not needed for its bounds.
    return hasDrawnLine(node.text()) ? r.united(textBlock(node).bounds) : r;
}

QPolygonF linkLine(const Link& link)
{
    QPolygonF line;
    line << rectOf(*link.org()).center();
    for (const QPointF& pt : link.extraPoints())
        line << pt;
    line << rectOf(*link.dst()).center();
    line.front() = exitPoint(*link.org(), line[1]);
    line.back() = exitPoint(*link.dst(), line[line.size() - 2]);
    return line;
}

void paintLink(QPainter& p, const Link& link) { paintLink(p, link, nullptr); }

void paintLink(QPainter& p, const Link& link, const ColourOverrides* colours)
{
    QPolygonF line = linkLine(link);
    const double width = penWidth(link.drawWidth());
    Arrow atDst, atOrg;
    if (link.arrowDst() != 0) {
        atDst = arrowHead(previousDistinct(line, line.size() - 1, 1), line.back(), width);
        if (!atDst.head.isEmpty())
            line.back() = atDst.base;
    }
    if (link.arrowOrg() != 0) {
        atOrg = arrowHead(previousDistinct(line, 0, -1), line.front(), width);
        if (!atOrg.head.isEmpty())
            line.front() = atOrg.base;
    }
    const QColor colour = colours && colours->link.contains(&link) ? colours->link.value(&link)
                                                                   : toColor(link.drawColor());
    const QPen pen =
        visiblePen(p, QPen(colour, width, penStyle(link.drawStyle()), Qt::FlatCap, Qt::MiterJoin));
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(line);
    if (pen.style() == Qt::NoPen)
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (const Arrow* a : {&atDst, &atOrg})
        if (!a->head.isEmpty())
            p.drawPolygon(a->head);
}

QRectF linkBounds(const Link& link)
{
    const double width = penWidth(link.drawWidth());
    const double reach = std::max(
        width / 2.0, (link.arrowDst() || link.arrowOrg()) ? (120.0 + 2.0 * width) * 0.4 : 0.0);
    return linkLine(link).boundingRect().adjusted(-reach, -reach, reach, reach);
}

void render(QPainter& p, const Diagram& diagram, const QRectF& area)
{
    render(p, diagram, ColourOverrides(), area);
}

void render(QPainter& p, const Diagram& diagram, const ColourOverrides& colours, const QRectF& area)
{
    const bool all = area.isEmpty();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const auto& l : diagram.links())
        if (isDrawn(*l->org()) && isDrawn(*l->dst()) && (all || linkBounds(*l).intersects(area)))
            paintLink(p, *l, &colours);
    for (const auto& n : diagram.nodes())
        if (isDrawn(*n) && (all || nodeBounds(*n).intersects(area)))
            paintNode(p, *n, &colours);
    p.restore();
}

QRectF extent(const Diagram& diagram)
{
    QRectF r;
    for (const auto& n : diagram.nodes())
        if (!(n->userData() & NodeInfo))
            r = r.united(nodeBounds(*n));
    for (const auto& l : diagram.links())
        if (isDrawn(*l->org()) && isDrawn(*l->dst()))
            r = r.united(linkBounds(*l));
    return r;
}

}  // namespace orvane::DiagramRenderer
