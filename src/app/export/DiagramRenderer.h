#pragma once
// Draws a diagram onto any QPainter whose units are twips: the diagram
// view, the printer, the metafile, SVG and image exports all use this code.
//
// Node look, by Shape:
//   0  invisible: no outline, no fill (its text, if any, is still drawn)
//   1  rounded rectangle (the default: states)
//   2  rectangle
//   3  ellipse
//   4  diamond
//   5  label box: a filled rectangle with a one-pixel outline (labelled
//      transition nodes)
//   any other value: rounded rectangle.
// A remark (NodeTextBox) is a rectangle when its shape is 1, and its text
// starts at the top left corner. Other texts form a block centred in the
// node; in a state the lines up to the name line ("·NAME·") are centred,
// the action lines below are left-aligned in the block. Outlines use
// DrawColor and DrawWidth (in pixels of 15 twips), fills FillColor, texts
// ForeColor and the node's font.
//
// Links run from the outline of their origin through their bend points to
// the outline of their destination, in DrawColor and DrawWidth; DrawStyle
// 0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot, 5 invisible;
// ArrowDst / ArrowOrg other than 0 put a filled arrow head on that end.
//
// The info node is never drawn; a margin node takes room in the extent but
// draws nothing.

#include "Diagram.h"

#include <QColor>
#include <QHash>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

class QPainter;

namespace orvane::DiagramRenderer {

// One pixel of the drawing's widths, in twips.
constexpr double kTwipsPerPixel = 15.0;

// Draws every item that meets `area` (an empty area: every item), links
// first, then nodes in collection order.
void render(QPainter& painter, const Diagram& diagram, const QRectF& area = QRectF());

// Colours that replace an item's own while it is drawn (the coverage
// picture): a node's fill and outline, a link's line and arrow heads. An
// item not named keeps its colours.
struct ColourOverrides {
    QHash<const Node*, QColor> nodeFill;
    QHash<const Node*, QColor> nodeOutline;
    QHash<const Link*, QColor> link;
};

// render with some items in other colours.
void render(QPainter& painter, const Diagram& diagram, const ColourOverrides& colours,
            const QRectF& area = QRectF());

// The rectangle (twips) that holds everything drawn, margin nodes included;
// an empty rectangle when there is nothing to draw.
QRectF extent(const Diagram& diagram);

// The pieces, for views that draw item by item (paintNode and paintLink
// leave their pen, brush and font set on the painter).
bool isDrawn(const Node& node);  // false for the info node and margin nodes
QPainterPath nodeOutline(const Node& node);
void paintNode(QPainter& painter, const Node& node);
void paintNode(QPainter& painter, const Node& node, const ColourOverrides* colours);
QRectF nodeBounds(const Node& node);   // outline, pen and text
QPolygonF linkLine(const Link& link);  // outline to outline through the bend points
void paintLink(QPainter& painter, const Link& link);
void paintLink(QPainter& painter, const Link& link, const ColourOverrides* colours);
QRectF linkBounds(const Link& link);  // line, pen and arrow heads

}  // namespace orvane::DiagramRenderer
