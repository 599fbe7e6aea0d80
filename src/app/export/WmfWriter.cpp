#include "WmfWriter.h"

#include "Windows1252.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextItem>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace orvane {

namespace {

// Record functions.
enum : quint16 {
    META_EOF = 0x0000,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETPOLYFILLMODE = 0x0106,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_DELETEOBJECT = 0x01F0,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
    META_POLYPOLYGON = 0x0538,
    META_ROUNDRECT = 0x061C,
    META_EXTTEXTOUT = 0x0A32,
};

enum : quint16 {
    PS_SOLID = 0,
    PS_DASH = 1,
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5
};
enum : quint16 { BS_SOLID = 0, BS_NULL = 1 };
enum : quint16 {
    MM_ANISOTROPIC = 8,
    TRANSPARENT = 1,
    TA_BASELINE = 24,
    ALTERNATE = 1,
    WINDING = 2
};
constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr int kFaceNameBytes = 32;

// Little-endian parameter words of one record.
class Params {
public:
    Params& u16(quint16 v)
    {
        m_bytes.append(char(v & 0xFF));
        m_bytes.append(char(v >> 8));
        return *this;
    }
    // A coordinate or size, clamped to the 16-bit range.
    Params& i16(double v)
    {
        const long r = std::lround(std::clamp(v, -32768.0, 32767.0));
        return u16(quint16(qint16(r)));
    }
    Params& u32(quint32 v) { return u16(quint16(v & 0xFFFF)).u16(quint16(v >> 16)); }
    Params& u8(quint8 v)
    {
        m_bytes.append(char(v));
        return *this;
    }
    // Bytes padded to a whole number of words.
    Params& bytes(const QByteArray& b)
    {
        m_bytes.append(b);
        if (m_bytes.size() % 2)
            m_bytes.append('\0');
        return *this;
    }
    const QByteArray& data() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

quint32 colorRef(const QColor& c)
{
    const QColor rgb = c.toRgb();
    return quint32(rgb.red()) | quint32(rgb.green()) << 8 | quint32(rgb.blue()) << 16;
}

quint16 penStyle(Qt::PenStyle s)
{
    switch (s) {
    case Qt::NoPen:
        return PS_NULL;
    case Qt::DashLine:
        return PS_DASH;
    case Qt::DotLine:
        return PS_DOT;
    case Qt::DashDotLine:
        return PS_DASHDOT;
    case Qt::DashDotDotLine:
        return PS_DASHDOTDOT;
    default:
        return PS_SOLID;
    }
}

// The radii when the path is exactly what QPainterPath::addRoundedRect makes.
bool isRoundedRect(const QPainterPath& path, QRectF* rect, double* rx, double* ry)
{
    const int count = path.elementCount();
    if (count < 5 || !path.elementAt(0).isMoveTo())
        return false;
    int firstCurve = -1;
    for (int i = 1; i < count && firstCurve < 0; ++i)
        if (path.elementAt(i).isCurveTo())
            firstCurve = i;
    if (firstCurve < 0 || firstCurve + 2 >= count)
        return false;
    const QRectF r = path.boundingRect();
    // The first corner runs from the left edge (top + ry) to the top edge (left + rx).
    const double y = path.elementAt(0).y - r.top();
    const double x = path.elementAt(firstCurve + 2).x - r.left();
    if (x <= 0 || y <= 0)
        return false;
    QPainterPath reference;
    reference.addRoundedRect(r, x, y);
    if (reference.elementCount() != count)
        return false;
    const double tolerance = 1e-6 * std::max({1.0, r.width(), r.height()});
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element a = path.elementAt(i), b = reference.elementAt(i);
        if (a.type != b.type || std::abs(a.x - b.x) > tolerance || std::abs(a.y - b.y) > tolerance)
            return false;
    }
    *rect = r;
    *rx = x;
    *ry = y;
    return true;
}

}  // namespace

class WmfPaintEngine : public QPaintEngine {
public:
    WmfPaintEngine()
        : QPaintEngine(PaintEngineFeatures(QPaintEngine::AllFeatures)
                       & ~PaintEngineFeatures(QPaintEngine::PerspectiveTransform))
    {
    }

    bool begin(QPaintDevice* device) override;
    bool end() override;
    void updateState(const QPaintEngineState& state) override;

    using QPaintEngine::drawEllipse;
    using QPaintEngine::drawPolygon;
    using QPaintEngine::drawRects;
    void drawRects(const QRectF* rects, int count) override;
    void drawEllipse(const QRectF& rect) override;
    void drawPath(const QPainterPath& path) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawTextItem(const QPointF& p, const QTextItem& item) override;
    // Records a line the painter would draw as one text item; false when
    // it would not (see WmfWriter::drawText), nothing recorded then.
    bool drawPlainText(const QPainter& painter, const QPointF& baseline, const QString& text);
    // Pictures of the diagram hold no pixmaps; they are left out.
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    Type type() const override { return QPaintEngine::User; }

    // The file: the placeable and metafile headers, then the records.
    QByteArray fileData(const QSize& size, int unitsPerInch) const;
    // The same, taking the records instead of copying them; the engine is
    // left as one that never painted.
    QByteArray takeFileData(const QSize& size, int unitsPerInch);

private:
    // A created object that is selected into the device context.
    struct Selected {
        int slot = -1;
        QByteArray key;
    };

    // Writes the headers into the room kept for them at the start of the
    // records, closing a picture still being painted, or never painted.
    void finishFile(QByteArray& file, const QSize& size, int unitsPerInch) const;
    void record(quint16 function, const Params& params = Params());
    int allocateSlot();
    void select(Selected& current, quint16 createFunction, const Params& params);
    void release(Selected& current);
    void usePen(const QPen& pen);
    void useBrush(const QBrush& brush);
    void useFont(const QFont& font);
    void useFillMode(quint16 mode);
    double lengthScale() const;
    bool axisAligned() const { return m_transform.type() <= QTransform::TxScale; }
    Params& points(Params& params, const QPolygonF& polygon) const;
    void polygonRecord(quint16 function, const QPolygonF& polygon);
    void rectRecord(quint16 function, const QRectF& rect, Params params = Params());
    void textRecord(const QPointF& p, const QString& text, const QFont& font, const QColor& colour);
    bool hasPrintableAscii(const QFont& font);

    // The records after room for the headers, which are only known at the
    // end: the file is made without copying megabytes of records again.
    static constexpr qsizetype kHeadBytes = 22 + 18;
    QByteArray m_records = QByteArray(kHeadBytes, '\0');
    quint32 m_maxRecord = 0;
    std::vector<bool> m_slots;
    Selected m_pen, m_brush, m_font;
    quint32 m_textColor = 0xFFFFFFFF;  // not set yet
    quint16 m_fillMode = ALTERNATE;
    QPen m_qpen;
    QBrush m_qbrush;
    QFont m_qfont;
    // The font useFont last selected, at what scale, and as what object.
    QFont m_fontAsked;
    double m_fontScale = 0;
    Selected m_fontMade;
    QTransform m_transform;
    double m_dpiY = 1440;
    // Whether the primary face of m_asciiFont has every printable ASCII
    // character, so that the painter would draw such a line in it alone.
    QFont m_asciiFont;
    bool m_asciiCovered = false;
    bool m_asciiKnown = false;
};

bool WmfPaintEngine::begin(QPaintDevice* device)
{
    m_records = QByteArray(kHeadBytes, '\0');
    m_maxRecord = 0;
    m_slots.clear();
    m_pen = m_brush = m_font = Selected();
    m_textColor = 0xFFFFFFFF;
    m_fillMode = ALTERNATE;
    m_transform = QTransform();
    m_dpiY = device->logicalDpiY();
    record(META_SETMAPMODE, Params().u16(MM_ANISOTROPIC));
    record(META_SETWINDOWORG, Params().i16(0).i16(0));
    record(META_SETWINDOWEXT, Params().i16(device->height()).i16(device->width()));
    record(META_SETBKMODE, Params().u16(TRANSPARENT));
    record(META_SETTEXTALIGN, Params().u16(TA_BASELINE));
    record(META_SETPOLYFILLMODE, Params().u16(ALTERNATE));
    setActive(true);
    return true;
}

bool WmfPaintEngine::end()
{
    release(m_pen);
    release(m_brush);
    release(m_font);
    record(META_EOF);
    setActive(false);
    return true;
}

void WmfPaintEngine::updateState(const QPaintEngineState& state)
{
    const DirtyFlags dirty = state.state();
    if (dirty & DirtyPen)
        m_qpen = state.pen();
    if (dirty & DirtyBrush)
        m_qbrush = state.brush();
    if (dirty & DirtyFont)
        m_qfont = state.font();
    if (dirty & DirtyTransform)
        m_transform = state.transform();
}

void WmfPaintEngine::record(quint16 function, const Params& params)
{
    const quint32 words = 3 + quint32(params.data().size() / 2);
    // The size in words and the function, little-endian.
    const char head[6] = {char(words & 0xFF), char((words >> 8) & 0xFF), char((words >> 16) & 0xFF),
                          char(words >> 24),  char(function & 0xFF),     char(function >> 8)};
    m_records.append(head, sizeof head);
    m_records.append(params.data());
    m_maxRecord = std::max(m_maxRecord, words);
}

int WmfPaintEngine::allocateSlot()
{
    const auto free = std::find(m_slots.begin(), m_slots.end(), false);
    if (free != m_slots.end()) {
        *free = true;
        return int(free - m_slots.begin());
    }
    m_slots.push_back(true);
    return int(m_slots.size()) - 1;
}

// Creates the object, selects it and deletes the one it replaces, so that a
// player's object table holds at most one pen, one brush and one font.
void WmfPaintEngine::select(Selected& current, quint16 createFunction, const Params& params)
{
    QByteArray key = params.data();
    key.prepend(char(createFunction & 0xFF));
    if (current.slot >= 0 && current.key == key)
        return;
    const int slot = allocateSlot();
    record(createFunction, params);
    record(META_SELECTOBJECT, Params().u16(quint16(slot)));
    release(current);
    current = {slot, key};
}

void WmfPaintEngine::release(Selected& current)
{
    if (current.slot < 0)
        return;
    record(META_DELETEOBJECT, Params().u16(quint16(current.slot)));
    m_slots[size_t(current.slot)] = false;
    current = Selected();
}

double WmfPaintEngine::lengthScale() const
{
    return (std::hypot(m_transform.m11(), m_transform.m12())
            + std::hypot(m_transform.m21(), m_transform.m22()))
           / 2.0;
}

void WmfPaintEngine::usePen(const QPen& pen)
{
    const quint16 style = penStyle(pen.style());
    double width = pen.isCosmetic() ? pen.widthF() : pen.widthF() * lengthScale();
    if (style != PS_SOLID && style != PS_NULL)
        width = 0;
    else if (pen.widthF() > 0)
        width = std::max(1.0, width);
    select(m_pen, META_CREATEPENINDIRECT,
           Params().u16(style).i16(width).i16(0).u32(colorRef(pen.color())));
}

void WmfPaintEngine::useBrush(const QBrush& brush)
{
    if (brush.style() == Qt::NoBrush)
        select(m_brush, META_CREATEBRUSHINDIRECT, Params().u16(BS_NULL).u32(0).u16(0));
    else
        select(m_brush, META_CREATEBRUSHINDIRECT,
               Params().u16(BS_SOLID).u32(colorRef(brush.color())).u16(0));
}

void WmfPaintEngine::useFont(const QFont& font)
{
    // Every line of a long text asks for the font again: the one selected
    // for the same font and scale is kept without building its record.
    const double scale = std::hypot(m_transform.m21(), m_transform.m22());
    if (m_font.slot >= 0 && m_font.key == m_fontMade.key && scale == m_fontScale
        && font.pixelSize() == m_fontAsked.pixelSize()
        && font.pointSizeF() == m_fontAsked.pointSizeF() && font == m_fontAsked)
        return;
    const double em = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * m_dpiY / 72.0;
    const double height = em * scale;
    QByteArray face = Windows1252::encodeLossy(font.family()).left(kFaceNameBytes - 1);
    face.append(QByteArray(kFaceNameBytes - face.size(), '\0'));
    // Underline and strike-out lines are drawn by the painter as lines of
    // their own, so the font does not carry them.
    Params p;
    p.i16(-std::max(1.0, height)).i16(0).i16(0).i16(0);
    p.i16(std::clamp(int(font.weight()), 100, 900));
    p.u8(font.italic() ? 1 : 0).u8(0).u8(0);
    p.u8(0 /* ANSI_CHARSET */).u8(0).u8(0).u8(0).u8(0);
    p.bytes(face);
    select(m_font, META_CREATEFONTINDIRECT, p);
    m_fontAsked = font;
    m_fontScale = scale;
    m_fontMade = m_font;
}

void WmfPaintEngine::useFillMode(quint16 mode)
{
    if (mode == m_fillMode)
        return;
    record(META_SETPOLYFILLMODE, Params().u16(mode));
    m_fillMode = mode;
}

Params& WmfPaintEngine::points(Params& params, const QPolygonF& polygon) const
{
    for (const QPointF& pt : polygon)
        params.i16(pt.x()).i16(pt.y());
    return params;
}

void WmfPaintEngine::polygonRecord(quint16 function, const QPolygonF& polygon)
{
    // Longer outlines would not fit into one record's 16-bit point count.
    const QPolygonF mapped = m_transform.map(polygon).mid(0, 16000);
    if (mapped.isEmpty())
        return;
    Params p;
    p.u16(quint16(mapped.size()));
    record(function, points(p, mapped));
}

// Records that take a rectangle as bottom, right, top, left after `params`.
void WmfPaintEngine::rectRecord(quint16 function, const QRectF& rect, Params params)
{
    const QRectF r = m_transform.mapRect(rect);
    params.i16(r.bottom()).i16(r.right()).i16(r.top()).i16(r.left());
    record(function, params);
}

void WmfPaintEngine::drawRects(const QRectF* rects, int count)
{
    usePen(m_qpen);
    useBrush(m_qbrush);
    for (int i = 0; i < count; ++i) {
        if (axisAligned())
            rectRecord(META_RECTANGLE, rects[i]);
        else
            polygonRecord(META_POLYGON, QPolygonF(rects[i]));
    }
}

void WmfPaintEngine::drawEllipse(const QRectF& rect)
{
    if (!axisAligned()) {
        QPainterPath path;
        path.addEllipse(rect);
        drawPath(path);
        return;
    }
    usePen(m_qpen);
    useBrush(m_qbrush);
    rectRecord(META_ELLIPSE, rect);
}

void WmfPaintEngine::drawPath(const QPainterPath& path)
{
    QRectF rect;
    double rx = 0, ry = 0;
    if (axisAligned() && isRoundedRect(path, &rect, &rx, &ry)) {
        usePen(m_qpen);
        useBrush(m_qbrush);
        const double sx = std::abs(m_transform.m11()), sy = std::abs(m_transform.m22());
        rectRecord(META_ROUNDRECT, rect, Params().i16(2 * ry * sy).i16(2 * rx * sx));
        return;
    }
    const QList<QPolygonF> polygons = path.toSubpathPolygons();
    if (polygons.isEmpty())
        return;
    useFillMode(path.fillRule() == Qt::WindingFill ? WINDING : ALTERNATE);
    const bool closed = std::all_of(polygons.begin(), polygons.end(), [](const QPolygonF& p) {
        return p.size() > 2 && p.isClosed();
    });
    if (closed) {
        usePen(m_qpen);
        useBrush(m_qbrush);
    } else if (m_qbrush.style() != Qt::NoBrush) {
        // Open subpaths are filled as if closed but outlined as drawn.
        usePen(QPen(Qt::NoPen));
        useBrush(m_qbrush);
    }
    if (closed || m_qbrush.style() != Qt::NoBrush) {
        if (polygons.size() == 1) {
            polygonRecord(META_POLYGON, polygons.front());
        } else {
            Params p;
            p.u16(quint16(polygons.size()));
            for (const QPolygonF& poly : polygons)
                p.u16(quint16(poly.size()));
            for (const QPolygonF& poly : polygons)
                points(p, m_transform.map(poly));
            record(META_POLYPOLYGON, p);
        }
    }
    if (!closed) {
        usePen(m_qpen);
        for (const QPolygonF& poly : polygons)
            polygonRecord(META_POLYLINE, poly);
    }
}

void WmfPaintEngine::drawPolygon(const QPointF* pts, int count, PolygonDrawMode mode)
{
    if (count <= 0)
        return;
    const QPolygonF polygon(QList<QPointF>(pts, pts + count));
    usePen(m_qpen);
    if (mode == PolylineMode) {
        polygonRecord(META_POLYLINE, polygon);
        return;
    }
    useBrush(m_qbrush);
    useFillMode(mode == WindingMode ? WINDING : ALTERNATE);
    polygonRecord(META_POLYGON, polygon);
}

void WmfPaintEngine::drawTextItem(const QPointF& p, const QTextItem& item)
{
    textRecord(p, item.text(), item.font(), m_qpen.color());
}

bool WmfPaintEngine::hasPrintableAscii(const QFont& font)
{
    if (!m_asciiKnown || !(font == m_asciiFont)) {
        const QRawFont face = QRawFont::fromFont(font);
        m_asciiCovered = face.isValid();
        for (char32_t c = 0x20; m_asciiCovered && c < 0x7F; ++c)
            m_asciiCovered = face.supportsCharacter(c);
        m_asciiFont = font;
        m_asciiKnown = true;
    }
    return m_asciiCovered;
}

bool WmfPaintEngine::drawPlainText(const QPainter& painter, const QPointF& baseline,
                                   const QString& text)
{
    // The painter splits a text into items at every change of script or
    // direction and at most every few thousand characters, draws the runs
    // a fallback font supplies apart, and adds lines for the decorations;
    // each piece then needs the widths of those before it. None of that
    // happens to a short line of printable ASCII in a face that has it.
    constexpr qsizetype kLongestPlainLine = 1000;
    if (!isActive() || text.isEmpty() || text.size() > kLongestPlainLine
        || !painter.worldMatrixEnabled() || painter.layoutDirection() == Qt::RightToLeft
        || painter.backgroundMode() != Qt::TransparentMode)
        return false;
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    // The painter places the item at the baseline's x in 1/64 units, cut
    // towards zero; a line too far out for those units is left to it.
    const double units = baseline.x() * 64.0;
    if (!(std::abs(units) < double(INT_MAX)))
        return false;
    const QFont& font = painter.font();
    const QPen& pen = painter.pen();
    if (pen.style() == Qt::NoPen || font.underline() || font.strikeOut() || font.overline()
        || font.capitalization() != QFont::MixedCase || !hasPrintableAscii(font))
        return false;
    // What the painter would hand over in updateState before drawing.
    m_transform = painter.combinedTransform();
    const double x = double(int(units)) / 64.0;
    textRecord(QPointF(x, baseline.y()), text, font, pen.color());
    return true;
}

void WmfPaintEngine::textRecord(const QPointF& p, const QString& itemText, const QFont& font,
                                const QColor& textColour)
{
    const QByteArray text = Windows1252::encodeLossy(itemText);
    if (text.isEmpty())
        return;
    useFont(font);
    const quint32 colour = colorRef(textColour);
    if (colour != m_textColor) {
        record(META_SETTEXTCOLOR, Params().u32(colour));
        m_textColor = colour;
    }
    const QPointF at = m_transform.map(p);
    Params params;
    params.i16(at.y()).i16(at.x()).u16(quint16(std::min<qsizetype>(text.size(), 32767))).u16(0);
    record(META_EXTTEXTOUT, params.bytes(text.left(32767)));
}

QByteArray WmfPaintEngine::fileData(const QSize& size, int unitsPerInch) const
{
    QByteArray file = m_records;
    finishFile(file, size, unitsPerInch);
    return file;
}

QByteArray WmfPaintEngine::takeFileData(const QSize& size, int unitsPerInch)
{
    QByteArray file = std::exchange(m_records, QByteArray(kHeadBytes, '\0'));
    finishFile(file, size, unitsPerInch);
    m_maxRecord = 0;
    m_slots.clear();
    return file;
}

void WmfPaintEngine::finishFile(QByteArray& file, const QSize& size, int unitsPerInch) const
{
    if (isActive() || file.size() == kHeadBytes)
        file.append(Params().u32(3).u16(META_EOF).data());
    Params head;
    head.u32(kPlaceableKey).u16(0);
    head.i16(0).i16(0).i16(size.width()).i16(size.height());
    head.u16(quint16(unitsPerInch)).u32(0);
    quint16 checksum = 0;
    for (int i = 0; i < head.data().size(); i += 2)
        checksum ^= quint16(quint8(head.data()[i]) | quint8(head.data()[i + 1]) << 8);
    head.u16(checksum);

    const qsizetype recordBytes = file.size() - kHeadBytes;
    head.u16(1).u16(9).u16(0x0300);
    head.u32(9 + quint32(recordBytes / 2));
    head.u16(quint16(m_slots.size())).u32(std::max<quint32>(m_maxRecord, 3)).u16(0);
    Q_ASSERT(head.data().size() == kHeadBytes);
    std::memcpy(file.data(), head.data().constData(), size_t(kHeadBytes));
}

// ---------------------------------------------------------------- WmfWriter

WmfWriter::WmfWriter(const QSize& size, int unitsPerInch)
    : m_size(size.expandedTo(QSize(1, 1)).boundedTo(QSize(32767, 32767))),
      m_unitsPerInch(std::clamp(unitsPerInch, 1, 65535)),
      m_engine(std::make_unique<WmfPaintEngine>())
{
}

WmfWriter::~WmfWriter() = default;

QPaintEngine* WmfWriter::paintEngine() const { return m_engine.get(); }

void WmfWriter::drawText(QPainter& painter, const QPointF& baseline, const QString& text)
{
    auto* wmf = dynamic_cast<WmfWriter*>(painter.device());
    if (!wmf || painter.paintEngine() != wmf->m_engine.get()
        || !wmf->m_engine->drawPlainText(painter, baseline, text))
        painter.drawText(baseline, text);
}

QByteArray WmfWriter::data() const { return m_engine->fileData(m_size, m_unitsPerInch); }

QByteArray WmfWriter::takeData() { return m_engine->takeFileData(m_size, m_unitsPerInch); }

int WmfWriter::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return int(std::lround(m_size.width() * 25.4 / m_unitsPerInch));
    case PdmHeightMM:
        return int(std::lround(m_size.height() * 25.4 / m_unitsPerInch));
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return m_unitsPerInch;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    default:
        return 0;
    }
}

}  // namespace orvane
