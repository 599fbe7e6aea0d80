#include "DiagramPicture.h"

#include "DiagramRenderer.h"
#include "WmfWriter.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace orvane::DiagramPicture {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kMaxWmfUnits = 32000.0;
constexpr double kMaxImagePixels = 16000.0;

void paint(QPainter& p, const Diagram& diagram, const QRectF& frame, double scale,
           const DiagramRenderer::ColourOverrides& colours = {})
{
    p.scale(scale, scale);
    p.translate(-frame.topLeft());
    DiagramRenderer::render(p, diagram, colours);
}

QSize scaledSize(const QRectF& frame, double scale)
{
    return QSize(std::max(1, int(std::ceil(frame.width() * scale))),
                 std::max(1, int(std::ceil(frame.height() * scale))));
}
}  // namespace

QRectF pictureFrame(const Diagram& diagram)
{
    const QRectF ext = DiagramRenderer::extent(diagram);
    if (ext.isNull())
        return QRectF(0, 0, DiagramRenderer::kTwipsPerPixel, DiagramRenderer::kTwipsPerPixel);
    const QPointF topLeft(std::min(0.0, ext.left()), std::min(0.0, ext.top()));
    return QRectF(topLeft, ext.bottomRight());
}

QByteArray toWmf(const Diagram& diagram)
{
    const QRectF frame = pictureFrame(diagram);
    const double longest = std::max(frame.width(), frame.height());
    int unitsPerInch = int(kTwipsPerInch);
    if (longest > kMaxWmfUnits)
        unitsPerInch = std::max(1, int(kTwipsPerInch * kMaxWmfUnits / longest));
    const double scale = unitsPerInch / kTwipsPerInch;
    WmfWriter wmf(scaledSize(frame, scale), unitsPerInch);
    QPainter p(&wmf);
    paint(p, diagram, frame, scale);
    p.end();
    return wmf.takeData();
}

QByteArray toSvg(const Diagram& diagram, double dotsPerInch)
{
    return toSvg(diagram, DiagramRenderer::ColourOverrides(), dotsPerInch);
}

QByteArray toSvg(const Diagram& diagram, const DiagramRenderer::ColourOverrides& colours,
                 double dotsPerInch)
{
    const QRectF frame = pictureFrame(diagram);
    const double scale = dotsPerInch / kTwipsPerInch;
    const QSize size = scaledSize(frame, scale);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(96);
    QPainter p(&svg);
    paint(p, diagram, frame, scale, colours);
    p.end();
    return buffer.data();
}

QImage toImage(const Diagram& diagram, double dotsPerInch)
{
    const QRectF frame = pictureFrame(diagram);
    double scale = dotsPerInch / kTwipsPerInch;
    const double longest = std::max(frame.width(), frame.height()) * scale;
    if (longest > kMaxImagePixels)
        scale *= kMaxImagePixels / longest;
    QImage image(scaledSize(frame, scale), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    image.setDotsPerMeterX(int(std::lround(dotsPerInch / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dotsPerInch / 0.0254)));
    QPainter p(&image);
    paint(p, diagram, frame, scale);
    p.end();
    return image;
}

QByteArray toPng(const Diagram& diagram, double dotsPerInch)
{
    const QImage image = toImage(diagram, dotsPerInch);
    QByteArray bytes;
    if (image.isNull())
        return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        bytes.clear();
    return bytes;
}

}  // namespace orvane::DiagramPicture
