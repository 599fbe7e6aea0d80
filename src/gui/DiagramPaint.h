#pragma once
// How one node or one link of a diagram looks on a painter whose units are
// twips, and where a link runs. The view's items draw only through these
// functions, so the screen follows whatever the shared drawing code does.

#include "Diagram.h"

#include <QColor>
#include <QPolygonF>
#include <QRectF>

class QPainter;

namespace orvane::DiagramPaint {

// A colour of the diagram (0x00BBGGRR) as a QColor.
QColor toColor(quint32 bgr);

// The node's rectangle in twips (a negative size is normalised).
QRectF nodeRect(const Node& n);

// The line of a link in twips: from the border of its origin, through its
// bend points, to the border of its destination. A link from a node to
// itself without bend points is drawn as a loop at the node's corner.
QPolygonF linkLine(const Link& l);

// How far a node's or link's drawing may reach beyond its rectangle or line
// (outline, arrow heads), in twips.
double nodeMargin(const Node& n);
double linkMargin(const Link& l);

// Draws a node or a link in twips. `withText` false skips the texts (too
// small to read at the current zoom).
void paintNode(QPainter& p, const Node& n, bool withText);
void paintLink(QPainter& p, const Link& l, const QPolygonF& line);

// The rectangle a whole diagram covers, and the diagram drawn in twips
// (links below nodes, each in collection order).
QRectF diagramRect(const Diagram& d);
void paintDiagram(QPainter& p, const Diagram& d);

}  // namespace orvane::DiagramPaint
