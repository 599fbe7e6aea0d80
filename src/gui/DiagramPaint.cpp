// Plain drawing of nodes and links, good enough to edit with.

#include "DiagramPaint.h"

#include "modNodoEstado.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace orvane::DiagramPaint {

namespace {

constexpr double kArrowLength = 150;  // twips
constexpr double kArrowWidth = 90;
constexpr double kLoopSize = 300;

// Where the ray from the centre of `r` towards `target` leaves `r`.
QPointF borderPoint(const QRectF& r, QPointF target)
{
    const QPointF c = r.center();
    const double dx = target.x() - c.x();
    const double dy = target.y() - c.y();
    const double hw = r.width() / 2;
    const double hh = r.height() / 2;
    double scale = 1;
    if (dx != 0)
        scale = std::min(scale, hw / std::fabs(dx));
    if (dy != 0)
        scale = std::min(scale, hh / std::fabs(dy));
    return QPointF(c.x() + dx * scale, c.y() + dy * scale);
}

QFont qtFont(const DiagramFont& f)
{
    QFont q(f.name);
    // Points to twips: the painter draws in twips, so the font is sized in them.
    q.setPixelSize(std::max(1, int(std::lround(f.size * 20))));
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikeout);
    return q;
}

void drawArrow(QPainter& p, QPointF from, QPointF tip)
{
    const double dx = tip.x() - from.x();
    const double dy = tip.y() - from.y();
    const double len = std::hypot(dx, dy);
    if (len <= 0)
        return;
    const double ux = dx / len, uy = dy / len;
    const QPointF base(tip.x() - ux * kArrowLength, tip.y() - uy * kArrowLength);
    const QPointF side(-uy * kArrowWidth / 2, ux * kArrowWidth / 2);
    const QPointF head[3] = {tip, base + side, base - side};
    p.drawPolygon(head, 3);
}

}  // namespace

QColor toColor(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QRectF nodeRect(const Node& n)
{
    return QRectF(n.left(), n.top(), n.width(), n.height()).normalized();
}

QPolygonF linkLine(const Link& l)
{
    const QRectF from = nodeRect(*l.org());
    const QRectF to = nodeRect(*l.dst());
    const auto& bends = l.extraPoints();
    QPolygonF line;
    if (bends.empty() && l.org() == l.dst()) {
        const double d = std::min(kLoopSize, std::max(from.width(), from.height()) / 2);
        const QPointF tr = from.topRight();
        line << QPointF(tr.x() - from.width() / 4, tr.y()) << QPointF(tr.x() - from.width() / 4, tr.y() - d)
             << QPointF(tr.x() + d, tr.y() - d) << QPointF(tr.x() + d, tr.y() + from.height() / 4)
             << QPointF(tr.x(), tr.y() + from.height() / 4);
        return line;
    }
    const QPointF first = bends.empty() ? to.center() : bends.front();
    const QPointF last = bends.empty() ? from.center() : bends.back();
    line << borderPoint(from, first);
    for (const QPointF& b : bends)
        line << b;
    line << borderPoint(to, last);
    return line;
}

double nodeMargin(const Node& n) { return 15.0 * std::max(1, n.drawWidth()); }

double linkMargin(const Link& l) { return std::max(kArrowWidth, 15.0 * std::max(1, l.drawWidth())); }

void paintNode(QPainter& p, const Node& n, bool withText)
{
    const QRectF r = nodeRect(n);
    // Shape 0 is an invisible box: only its text shows.
    if (n.shape() != 0) {
        QPen pen(toColor(n.drawColor()), std::max(1, n.drawWidth()));
        pen.setCosmetic(true);
        p.setPen(pen);
        p.setBrush(toColor(n.fillColor()));
        if (n.shape() == 5)
            p.drawRect(r);
        else
            p.drawRoundedRect(r, std::min(r.width(), r.height()) / 8, std::min(r.width(), r.height()) / 8);
    }
    if (!withText || n.text().isEmpty())
        return;
    QString text = n.text();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    p.setFont(qtFont(n.font()));
    p.setPen(toColor(n.foreColor()));
    const bool isState = (n.userData() & modNodoEstado::NODE_STATE_ANY) != 0;
    p.drawText(r.adjusted(60, 30, -60, -30), (isState ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignCenter), text);
}

void paintLink(QPainter& p, const Link& l, const QPolygonF& line)
{
    if (line.size() < 2)
        return;
    QPen pen(toColor(l.drawColor()), std::max(1, l.drawWidth()));
    pen.setCosmetic(true);
    if (l.drawStyle() == 2)
        pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(line);
    pen.setStyle(Qt::SolidLine);
    p.setPen(pen);
    p.setBrush(toColor(l.drawColor()));
    if (l.arrowDst() != 0)
        drawArrow(p, line[line.size() - 2], line.back());
    if (l.arrowOrg() != 0)
        drawArrow(p, line[1], line.front());
}

QRectF diagramRect(const Diagram& d)
{
    QRectF r;
    for (const auto& n : d.nodes()) {
        const double m = nodeMargin(*n);
        const QRectF nr = nodeRect(*n).adjusted(-m, -m, m, m);
        r = r.isNull() ? nr : r.united(nr);
    }
    for (const auto& l : d.links()) {
        const double m = linkMargin(*l);
        const QRectF lr = linkLine(*l).boundingRect().adjusted(-m, -m, m, m);
        r = r.isNull() ? lr : r.united(lr);
    }
    return r;
}

void paintDiagram(QPainter& p, const Diagram& d)
{
    for (const auto& l : d.links())
        paintLink(p, *l, linkLine(*l));
    for (const auto& n : d.nodes())
        if ((n->userData() & modNodoEstado::NODE_INFO) == 0)
            paintNode(p, *n, true);
}

}  // namespace orvane::DiagramPaint
