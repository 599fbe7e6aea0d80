#pragma once
// Pictures of a whole diagram: the metafile written by the picture and page
// exports, and the SVG and image put on the clipboard or into files.

#include "Diagram.h"
#include "DiagramRenderer.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>

namespace orvane::DiagramPicture {

// The part of the diagram a picture shows (twips): from the origin, or from
// the drawing's top left corner when that lies above or left of it, to the
// drawing's lower right corner.
QRectF pictureFrame(const Diagram& diagram);

// A placeable Windows metafile of the diagram in twips; a drawing larger
// than the format's 16-bit coordinates allow is stored with fewer units
// per inch, keeping its size on paper.
QByteArray toWmf(const Diagram& diagram);

// An SVG document of the diagram, one pixel for 15 twips at 96 dots per
// inch (more pixels at a higher resolution). Texts stay <text> elements.
QByteArray toSvg(const Diagram& diagram, double dotsPerInch = 96.0);
// The same with some items in other colours.
QByteArray toSvg(const Diagram& diagram, const DiagramRenderer::ColourOverrides& colours,
                 double dotsPerInch = 96.0);

// The diagram on white at the given resolution (at most 16000 pixels each
// way; a larger drawing is scaled down to fit).
QImage toImage(const Diagram& diagram, double dotsPerInch = 96.0);

// toImage as PNG file bytes (empty when the image could not be made).
QByteArray toPng(const Diagram& diagram, double dotsPerInch = 96.0);

}  // namespace orvane::DiagramPicture
