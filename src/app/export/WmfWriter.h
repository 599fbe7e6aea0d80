#pragma once
// A paint device that records what is painted on it as a placeable Windows
// metafile: vector records for pens, brushes, fonts, rectangles, rounded
// rectangles, ellipses, polygons, polylines and text. Readers such as
// LibreOffice, Inkscape and libwmf open it.
//
//   WmfWriter wmf(QSize(w, h), 1440);   // w x h twips
//   QPainter p(&wmf);  ...  p.end();
//   QByteArray file = wmf.data();
//
// Device units are the metafile's logical units; coordinates are stored as
// 16-bit integers, so a picture must fit into 32767 units each way (choose
// fewer units per inch for a larger picture). code is stored in the
// Windows-1252 code page, "?" for characters it lacks. Pixmaps and images
// are not recorded; gradients and patterns are drawn as solid colours.
// A dashed or dotted pen is recorded one device pixel wide, since wider
// pens of those styles are drawn solid by metafile players.

#include <QByteArray>
#include <QPaintDevice>
#include <QSize>

class QPainter;
class QPointF;
class QString;

#include <memory>

namespace orvane {

class WmfPaintEngine;

class WmfWriter : public QPaintDevice {
public:
    // A picture of size.width() x size.height() logical units,
    // unitsPerInch of them per inch (1440: twips).
    explicit WmfWriter(const QSize& size, int unitsPerInch = 1440);
    ~WmfWriter() override;
    WmfWriter(const WmfWriter&) = delete;
    WmfWriter& operator=(const WmfWriter&) = delete;

    QPaintEngine* paintEngine() const override;

    // The metafile file's bytes; complete once the painter has ended.
    QByteArray data() const;
    // The same bytes without a copy of the records: the writer is left
    // empty, as if nothing had been painted.
    QByteArray takeData();

    QSize size() const { return m_size; }
    int unitsPerInch() const { return m_unitsPerInch; }

    // painter.drawText(baseline, text). On a WmfWriter, a line the painter
    // would hand over as one piece in the font's own glyphs (printable
    // ASCII the font has, no underline, strike-out or overline, left to
    // right) is recorded directly, with exactly the record the painter's
    // way gives: the record holds only the text and its position, so the
    // shaping the painter does first is not needed, and for megabytes of
    // text it is most of the picture's time. Any other text, or another
    // device, goes through the painter.
    static void drawText(QPainter& painter, const QPointF& baseline, const QString& text);

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    int m_unitsPerInch;
    std::unique_ptr<WmfPaintEngine> m_engine;
};

}  // namespace orvane
