#include "DiagramPicture.h"
#include "ExportTestSupport.h"
#include "WmfWriter.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>

using namespace orvane;
using orvane::exporttest::readWmf;
using orvane::exporttest::WmfFile;

namespace {

enum : quint16 {
    CREATEPEN = 0x02FA,
    CREATEFONT = 0x02FB,
    CREATEBRUSH = 0x02FC,
    DELETEOBJECT = 0x01F0,
    RECTANGLE = 0x041B,
    ROUNDRECT = 0x061C,
    ELLIPSE = 0x0418,
    POLYGON = 0x0324,
    POLYLINE = 0x0325,
    EXTTEXTOUT = 0x0A32,
    SETTEXTCOLOR = 0x0209,
};

template <typename Paint> WmfFile paintWmf(QSize size, Paint paint, int unitsPerInch = 1440)
{
    WmfWriter wmf(size, unitsPerInch);
    QPainter p(&wmf);
    paint(p);
    p.end();
    WmfFile file = readWmf(wmf.data());
    EXPECT_EQ(file.error, QString());
    return file;
}

QByteArray textOf(const exporttest::WmfRecord& r) { return r.params.mid(8, r.word(2)); }

QFont twipsFont(const char* family = "DejaVu Sans")
{
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(160);
    return f;
}

}  // namespace

TEST(WmfWriter, HeaderDescribesTheFrameEvenWhenNothingWasPainted)
{
    const WmfFile f = paintWmf(
        QSize(3000, 2000), [](QPainter&) {}, 720);
    EXPECT_EQ(f.right, 3000);
    EXPECT_EQ(f.bottom, 2000);
    EXPECT_EQ(f.unitsPerInch, 720);

    WmfWriter unpainted(QSize(0, 0));
    const WmfFile empty = readWmf(unpainted.data());
    EXPECT_EQ(empty.error, QString());
    EXPECT_EQ(empty.right, 1);  // at least one unit each way
}

// Taking the bytes gives the very file data() gives, and leaves the writer
// as one never painted.
TEST(WmfWriter, TakenBytesAreTheFileAndLeaveTheWriterEmpty)
{
    WmfWriter wmf(QSize(3000, 2000), 720);
    QPainter p(&wmf);
    p.drawRect(QRectF(100, 100, 500, 300));
    p.drawLine(QPointF(0, 0), QPointF(2000, 1500));
    p.end();
    const QByteArray copied = wmf.data();
    EXPECT_EQ(wmf.data(), copied);  // data() leaves the records in place
    EXPECT_EQ(wmf.takeData(), copied);
    EXPECT_GT(readWmf(copied).records.size(), 3u);

    WmfWriter unpainted(QSize(3000, 2000), 720);
    EXPECT_EQ(wmf.data(), unpainted.data());
    EXPECT_EQ(wmf.takeData(), unpainted.data());
    EXPECT_EQ(unpainted.takeData(), wmf.data());
}

TEST(WmfWriter, ShapesBecomeTheirOwnRecordsInTransformedCoordinates)
{
    const WmfFile f = paintWmf(QSize(4000, 4000), [](QPainter& p) {
        p.scale(0.5, 0.5);
        p.translate(100, 0);
        p.setBrush(Qt::yellow);
        p.drawRect(QRectF(0, 200, 400, 600));
        p.drawRoundedRect(QRectF(1000, 1000, 800, 400), 100, 50);
        p.drawEllipse(QRectF(2000, 2000, 300, 200));
        p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(100, 0), QPointF(50, 80)}));
        p.drawPolyline(QPolygonF({QPointF(0, 0), QPointF(100, 100), QPointF(200, 0)}));
    });
    const auto rect = f.withFunction(RECTANGLE);
    ASSERT_EQ(rect.size(), 1u);
    // bottom, right, top, left
    EXPECT_EQ(rect[0]->word(0), 400);
    EXPECT_EQ(rect[0]->word(1), 250);
    EXPECT_EQ(rect[0]->word(2), 100);
    EXPECT_EQ(rect[0]->word(3), 50);

    const auto round = f.withFunction(ROUNDRECT);
    ASSERT_EQ(round.size(), 1u);
    EXPECT_EQ(round[0]->word(0), 50);   // corner ellipse height: 2 * 50 * 0.5
    EXPECT_EQ(round[0]->word(1), 100);  // corner ellipse width: 2 * 100 * 0.5
    EXPECT_EQ(round[0]->word(2), 700);  // bottom
    EXPECT_EQ(round[0]->word(5), 550);  // left

    ASSERT_EQ(f.withFunction(ELLIPSE).size(), 1u);
    ASSERT_EQ(f.withFunction(POLYGON).size(), 1u);
    EXPECT_EQ(f.withFunction(POLYGON)[0]->word(0), 3);
    ASSERT_EQ(f.withFunction(POLYLINE).size(), 1u);
    const auto line = f.withFunction(POLYLINE)[0];
    EXPECT_EQ(line->word(0), 3);
    EXPECT_EQ(line->word(3), 100);  // second point x: (100 + 100) * 0.5
    EXPECT_EQ(line->word(4), 50);
}

TEST(WmfWriter, ObjectsAreCreatedOnlyWhenTheyChange)
{
    const WmfFile f = paintWmf(QSize(2000, 2000), [](QPainter& p) {
        p.setPen(QPen(Qt::blue, 15));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(0, 0, 100, 100));
        p.drawRect(QRectF(200, 0, 100, 100));
        p.setPen(QPen(Qt::red, 15));
        p.drawRect(QRectF(400, 0, 100, 100));
    });
    ASSERT_EQ(f.withFunction(CREATEPEN).size(), 2u);
    EXPECT_EQ(f.withFunction(CREATEBRUSH).size(), 1u);
    // Blue first (0x00FF0000 as BBGGRR), width 15.
    const auto pens = f.withFunction(CREATEPEN);
    EXPECT_EQ(pens[0]->word(0), 0);
    EXPECT_EQ(pens[0]->word(1), 15);
    EXPECT_EQ(quint16(pens[0]->word(4)), 0x00FF);
    EXPECT_EQ(quint16(pens[1]->word(3)), 0x00FF);  // red in the low byte
    // The replaced pen is deleted while the picture goes on, the pen and the
    // brush in use at the end.
    EXPECT_EQ(f.withFunction(DELETEOBJECT).size(), 3u);
}

TEST(WmfWriter, DottedPensStayOnePixelWideAndNoPenIsNull)
{
    const WmfFile f = paintWmf(QSize(2000, 2000), [](QPainter& p) {
        p.setPen(QPen(Qt::green, 45, Qt::DotLine));
        p.drawLine(QLineF(0, 0, 500, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRect(QRectF(0, 0, 10, 10));
    });
    const auto pens = f.withFunction(CREATEPEN);
    ASSERT_EQ(pens.size(), 2u);
    EXPECT_EQ(pens[0]->word(0), 2);  // PS_DOT
    EXPECT_EQ(pens[0]->word(1), 0);
    EXPECT_EQ(pens[1]->word(0), 5);  // PS_NULL
}

TEST(WmfWriter, TextIsStoredInTheCodePageWithItsFontAndColour)
{
    const WmfFile f = paintWmf(QSize(4000, 2000), [](QPainter& p) {
        p.setFont(twipsFont());
        p.setPen(QColor(1, 2, 3));
        p.drawText(QPointF(100, 500), QStringLiteral("Caf\u00E9 \u00B7Idle\u00B7 \u20AC"));
        p.drawText(QPointF(100, 900), QStringLiteral("\u4E2D"));
        p.scale(0.5, 0.5);
        p.drawText(QPointF(0, 400), QStringLiteral("x"));
    });
    const auto texts = f.withFunction(EXTTEXTOUT);
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0]->word(0), 500);  // y first, on the baseline
    EXPECT_EQ(texts[0]->word(1), 100);
    EXPECT_EQ(textOf(*texts[0]), QByteArray("Caf\xE9 \xB7Idle\xB7 \x80"));
    EXPECT_EQ(textOf(*texts[texts.size() - 2]), QByteArray("?"));

    const auto fonts = f.withFunction(CREATEFONT);
    ASSERT_EQ(fonts.size(), 2u);
    EXPECT_EQ(fonts[0]->word(0), -160);
    EXPECT_EQ(fonts[1]->word(0), -80);  // the height follows the scale
    EXPECT_TRUE(fonts[0]->params.mid(18).startsWith("DejaVu Sans\0"));
    const auto colours = f.withFunction(SETTEXTCOLOR);
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_EQ(quint16(colours[0]->word(0)), 0x0201);
    EXPECT_EQ(colours[0]->word(1), 3);
}

TEST(WmfWriter, UnderlinedTextGetsOneUnderlineOnly)
{
    const WmfFile f = paintWmf(QSize(4000, 2000), [](QPainter& p) {
        QFont font = twipsFont();
        font.setUnderline(true);
        p.setFont(font);
        p.drawText(QPointF(100, 500), QStringLiteral("under"));
    });
    const auto fonts = f.withFunction(CREATEFONT);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0]->params[11], 0);              // the font itself does not underline
    EXPECT_EQ(f.withFunction(POLYLINE).size(), 1u);  // the painter draws the line
}

TEST(WmfWriter, ALargeDiagramIsStoredWithFewerUnitsPerInch)
{
    Diagram d;
    d.addNode(60000, 1000, 1500, 900);
    const QRectF frame = DiagramPicture::pictureFrame(d);
    const WmfFile f = readWmf(DiagramPicture::toWmf(d));
    ASSERT_EQ(f.error, QString());
    EXPECT_LT(f.unitsPerInch, 1440);
    EXPECT_LE(f.right, 32767);
    EXPECT_NEAR(double(f.right) / f.unitsPerInch, frame.width() / 1440.0, 0.01);  // inches
    const auto node = f.withFunction(ROUNDRECT);
    ASSERT_EQ(node.size(), 1u);
    EXPECT_LE(node[0]->word(3), f.right);  // its right edge is inside, not clamped
    EXPECT_GT(node[0]->word(5), f.right * 0.9);
}

// WmfWriter::drawText records plain lines itself instead of letting the
// painter shape them first; the file must not change by a single byte,
// whatever the text, position, font, pen or transform.
TEST(WmfWriter, DrawingTextDirectlyGivesThePaintersOwnRecords)
{
    const QStringList texts = {
        QStringLiteral("value = value * 3 + 1; // step 1"),
        QStringLiteral("  blanks around  "),
        QStringLiteral("x"),
        QString(),
        QStringLiteral("caf\u00e9 \u00b7 name"),         // beyond ASCII: the painter's way
        QStringLiteral("\u03b1\u03b2 and Latin"),        // two scripts: two items
        QStringLiteral("\u05e9\u05dc\u05d5\u05dd ltr"),  // right to left
        QString(999, QLatin1Char('w')),
        QString(5000, QLatin1Char('a')),  // split into several items
        QStringLiteral("tab\there"),
    };
    // Positions whose x rounds differently when first cut to 1/64.
    QList<QPointF> points = {{100, 200},           {10.4921875, 33.3},     {-10.4921875, -5.75},
                             {1234.56789, 987.65}, {0.0546875, 1.4999999}, {7.9999, 0.5}};
    // A sweep finer than 1/64 across points that a scale of 0.37 maps to
    // near x.5, where cutting the position first changes the record.
    for (int i = 0; i < 40; ++i)
        points.append(QPointF(28.3 + 0.0041 * i, -28.3 - 0.0041 * i));
    QFont underlined = twipsFont();
    underlined.setUnderline(true);
    QFont struck = twipsFont("Liberation Serif");
    struck.setStrikeOut(true);
    QFont bold = twipsFont("Arial");
    bold.setBold(true);
    bold.setItalic(true);
    QFont points12(QStringLiteral("DejaVu Sans Mono"));
    points12.setPointSizeF(12.5);
    const QList<QFont> fonts = {twipsFont(), bold, underlined, struck, points12};
    QTransform scaled;
    scaled.translate(-37.3, 12.1);
    scaled.scale(0.5, 0.75);
    QTransform turned;
    turned.rotate(30);
    const QList<QTransform> transforms = {QTransform(), scaled, turned,
                                          QTransform::fromScale(0.37, 0.37)};

    for (const QTransform& t : transforms) {
        const auto paint = [&](bool direct) {
            WmfWriter wmf(QSize(20000, 20000));
            QPainter p(&wmf);
            p.setTransform(t);
            int colour = 0;
            for (const QFont& font : fonts) {
                p.setFont(font);
                for (const QString& text : texts) {
                    for (const QPointF& at : points) {
                        // State the painter has not handed to the engine yet.
                        p.setPen(QColor::fromRgb(QRgb(0x102030 * (++colour % 5))));
                        if (direct)
                            WmfWriter::drawText(p, at, text);
                        else
                            p.drawText(at, text);
                    }
                }
                p.drawRect(QRectF(10, 10, 100, 50));
            }
            p.setPen(Qt::NoPen);
            if (direct)
                WmfWriter::drawText(p, QPointF(5, 5), QStringLiteral("no pen"));
            else
                p.drawText(QPointF(5, 5), QStringLiteral("no pen"));
            p.end();
            return wmf.data();
        };
        const QByteArray painted = paint(false);
        EXPECT_GT(readWmf(painted).records.size(), 300u);
        EXPECT_EQ(paint(true), painted) << "transform " << t.m11() << " " << t.m12();
    }

    // On any other device it is the painter's drawText.
    QImage image(200, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    QImage expected = image;
    {
        QPainter p(&image);
        WmfWriter::drawText(p, QPointF(5, 30), QStringLiteral("text"));
        QPainter q(&expected);
        q.drawText(QPointF(5, 30), QStringLiteral("text"));
    }
    EXPECT_EQ(image, expected);
}
