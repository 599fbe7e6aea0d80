#include "DiagramPicture.h"
#include "DiagramRenderer.h"
#include "ExportTestSupport.h"
#include "FontTextMeasurer.h"
#include "States.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>

using namespace orvane;
using namespace orvane::States;

namespace {

constexpr quint32 kBlue = 0xFF0000;  // 0x00BBGGRR
constexpr quint32 kYellow = 0x00FFFF;
constexpr quint32 kRed = 0x0000FF;

Node* addState(Diagram& d, double left, double top, const QString& name)
{
    Node* n = d.addNode(left, top, 1500, 900);
    n->setUserData(NodeStateNormal);
    n->setText(QStringLiteral("\u00B7") + name + QStringLiteral("\u00B7\r\n"));
    n->setFillColor(kYellow);
    n->setDrawColor(kBlue);
    return n;
}

// The image at 96 dpi (15 twips a pixel), with the frame starting at the origin.
struct Picture {
    explicit Picture(const Diagram& d) : image(DiagramPicture::toImage(d)) {}
    QColor at(double xTwips, double yTwips) const
    {
        return image.pixelColor(int(xTwips / 15.0), int(yTwips / 15.0));
    }
    QImage image;
};

bool near(const QColor& c, Qt::GlobalColor expected)
{
    const QColor e(expected);
    return std::abs(c.red() - e.red()) < 100 && std::abs(c.green() - e.green()) < 100
           && std::abs(c.blue() - e.blue()) < 100;
}

// Two states side by side, joined through a transition node in the middle.
struct Transition {
    Diagram d;
    Node* a = addState(d, 1000, 1000, QStringLiteral("A"));
    Node* b = addState(d, 5000, 1000, QStringLiteral("B"));
    Node* t = d.addNode(3925, 1400, 150, 100);
    Link* in = nullptr;
    Link* out = nullptr;
    Transition()
    {
        t->setUserData(NodeTransition);
        t->setFillColor(kYellow);
        d.setNewLinkArrowDst(0);
        in = d.addLink(a, t);
        d.setNewLinkArrowDst(3);
        out = d.addLink(t, b);
        for (Link* l : {in, out})
            l->setDrawColor(kRed);
    }
};

// A paint device that keeps each text drawn on it with its baseline.
class TextRecorder : public QPaintDevice {
public:
    struct Text {
        QPointF baseline;
        QString text;
    };
    std::vector<Text> texts;

    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return 100000;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 1440;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 1;
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(std::vector<Text>& texts) : m_texts(texts) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override
        {
            if (m_texts.empty() || m_texts.back().baseline != p)
                m_texts.push_back({p, item.text()});
            else  // one line drawn in several pieces
                m_texts.back().text += item.text();
        }
        Type type() const override { return User; }

    private:
        std::vector<Text>& m_texts;
    };
    mutable Engine m_engine{texts};
};

}  // namespace

// The lines of a state down to its name line are centred, the rest start at
// the block's left edge; empty lines are skipped but keep their place. The
// widest line is never a centred one, so that both placements differ.
TEST(DiagramRenderer, NodeTextLinesArePlacedLineByLine)
{
    struct Case {
        const char* what;
        quint32 kind;
        QString text;
        QStringList lines;  // as drawn, empty ones included
        int centred;
    };
    const Case cases[] = {
        {"name line first",
         NodeStateNormal,
         QStringLiteral("\u00B7Name\u00B7\r\ny;\r\nentry_the_widest();\r\n\r\n\tx;\r\n"),
         {QStringLiteral("\u00B7Name\u00B7"), QStringLiteral("y;"),
          QStringLiteral("entry_the_widest();"), QString(), QStringLiteral("    x;")},
         1},
        {"name line after a LF and a comment",
         NodeStateNormal,
         QStringLiteral("// note\r\n\n\u00B7Name\u00B7\r\nbody_the_widest;"),
         {QStringLiteral("// note"), QStringLiteral("\u00B7Name\u00B7"),
          QStringLiteral("body_the_widest;")},
         2},
        {"no name line",
         NodeStateNormal,
         QStringLiteral("a\r\nwider second line\r\nc"),
         {QStringLiteral("a"), QStringLiteral("wider second line"), QStringLiteral("c")},
         1},
        {"a transition's label",
         NodeTransition,
         QStringLiteral("[1]\r\n/\u00B7go();\r\nlonger line here;"),
         {QStringLiteral("[1]"), QStringLiteral("/\u00B7go();"),
          QStringLiteral("longer line here;")},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Diagram d;
        Node* n = d.addNode(1000, 2000, 3000, 2000);
        n->setUserData(c.kind);
        n->setText(c.text);
        TextRecorder device;
        QPainter p(&device);
        DiagramRenderer::paintNode(p, *n);
        p.end();

        const QFontMetricsF fm(toQFont(n->font()));
        double widest = 0;
        for (const QString& line : c.lines)
            widest = std::max(widest, fm.horizontalAdvance(line));
        const double centre = 1000 + 3000 / 2.0;
        const double top = 2000 + 2000 / 2.0 - fm.lineSpacing() * c.lines.size() / 2.0;
        std::vector<TextRecorder::Text> expected;
        for (int i = 0; i < c.lines.size(); ++i) {
            if (c.lines[i].isEmpty())
                continue;
            const double x = i < c.centred ? centre - fm.horizontalAdvance(c.lines[i]) / 2.0
                                           : centre - widest / 2.0;
            expected.push_back({QPointF(x, top + fm.ascent() + fm.lineSpacing() * i), c.lines[i]});
        }
        // The painter hands text positions over in 1/64 units.
        ASSERT_EQ(device.texts.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(device.texts[i].text, expected[i].text) << i;
            EXPECT_NEAR(device.texts[i].baseline.x(), expected[i].baseline.x(), 0.02) << i;
            EXPECT_NEAR(device.texts[i].baseline.y(), expected[i].baseline.y(), 0.02) << i;
        }
    }
}

TEST(DiagramRenderer, StatesAreFilledAndOutlined)
{
    Diagram d;
    addState(d, 1000, 1000, QStringLiteral("Idle"));
    const Picture pic(d);
    EXPECT_TRUE(near(pic.at(1150, 1450), Qt::yellow));  // inside, away from the text
    EXPECT_TRUE(near(pic.at(1000, 1450), Qt::blue));    // left edge
    EXPECT_TRUE(near(pic.at(900, 1450), Qt::white));    // outside
    EXPECT_TRUE(near(pic.at(1030, 1030), Qt::white));   // the rounded corner is cut off
}

TEST(DiagramRenderer, AnInvisibleTransitionNodeLeavesTheLinksShowing)
{
    Transition tr;
    tr.t->setShape(0);
    Picture invisible(tr.d);
    EXPECT_TRUE(near(invisible.at(4000, 1450), Qt::red));
    EXPECT_TRUE(near(invisible.at(3960, 1410), Qt::white));  // no box around it

    tr.t->setShape(5);
    tr.t->setGeometry(3700, 1300, 600, 300);
    Picture label(tr.d);
    EXPECT_TRUE(near(label.at(3760, 1360), Qt::yellow));  // the label box is filled
    EXPECT_TRUE(near(label.at(3600, 1450), Qt::red));     // the link reaches the box
}

TEST(DiagramRenderer, DottedLinksHaveGapsAndSolidOnesHaveNone)
{
    Transition tr;
    tr.t->setShape(0);
    const auto gaps = [&tr] {
        const Picture pic(tr.d);
        int white = 0;
        for (double x = 2700; x < 3800; x += 15)
            white += near(pic.at(x, 1450), Qt::white) ? 1 : 0;
        return white;
    };
    EXPECT_EQ(gaps(), 0);
    tr.in->setDrawStyle(2);
    EXPECT_GT(gaps(), 15);
}

TEST(DiagramRenderer, ArrowHeadsOnlyWhereAsked)
{
    Transition tr;
    tr.t->setShape(0);
    // The arrow head ends at B's left edge (x 5000); 100 twips before its tip
    // it is 80 twips wide.
    const auto beside = [&tr] { return Picture(tr.d).at(4900, 1450 - 30); };
    EXPECT_TRUE(near(beside(), Qt::red));
    tr.out->setArrowDst(0);
    EXPECT_TRUE(near(beside(), Qt::white));
}

TEST(DiagramRenderer, InfoAndMarginNodesDrawNothing)
{
    Diagram d;
    addState(d, 1000, 1000, QStringLiteral("A"));
    Node* info = d.addNode(3000, 0, 500, 500);
    info->setUserData(NodeInfo);
    info->setFillColor(kRed);
    Node* margin = d.addNode(2500, 1900, 1000, 1000);
    margin->setUserData(NodeMargin);
    margin->setFillColor(kRed);

    const QRectF ext = DiagramRenderer::extent(d);
    EXPECT_DOUBLE_EQ(ext.right(), 3500);  // the margin node counts, the info node does not
    EXPECT_DOUBLE_EQ(ext.bottom(), 2900);
    const Picture pic(d);
    EXPECT_TRUE(near(pic.at(3000, 2500), Qt::white));
    EXPECT_TRUE(near(pic.at(3200, 200), Qt::white));
}

TEST(DiagramRenderer, ExtentCoversBendPointsAndStartsFrameAtTheOrigin)
{
    Transition tr;
    tr.out->setExtraPoints({QPointF(4500, 6000)});
    const QRectF ext = DiagramRenderer::extent(tr.d);
    EXPECT_GE(ext.bottom(), 6000);
    EXPECT_EQ(DiagramPicture::pictureFrame(tr.d).topLeft(), QPointF(0, 0));

    tr.a->setLeft(-500);
    EXPECT_LT(DiagramPicture::pictureFrame(tr.d).left(), -500);  // the pen reaches beyond the node
}

TEST(DiagramRenderer, AnEmptyDiagramGivesATinyBlankPicture)
{
    Diagram d;
    EXPECT_TRUE(DiagramRenderer::extent(d).isNull());
    const QImage image = DiagramPicture::toImage(d);
    EXPECT_EQ(image.size(), QSize(1, 1));
    // Its metafile has a bounding box that is not empty: players reject one
    // of no width or height.
    const exporttest::WmfFile wmf = exporttest::readWmf(DiagramPicture::toWmf(d));
    EXPECT_EQ(wmf.error, QString());
    EXPECT_GT(wmf.right, 0);
    EXPECT_GT(wmf.bottom, 0);
}

TEST(FontTextMeasurer, LinesAsDrawn)
{
    EXPECT_EQ(displayLines(QString()), QStringList{QString()});
    EXPECT_EQ(displayLines(QStringLiteral("a\r\nb\r\n")), (QStringList{"a", "b"}));
    EXPECT_EQ(displayLines(QStringLiteral("a\r\n\r\n")), (QStringList{"a", ""}));
    EXPECT_EQ(displayLines(QStringLiteral("\tx\ty")), (QStringList{"    x   y"}));
    // LF is dropped wherever it stands; only CR cuts.
    EXPECT_EQ(displayLines(QStringLiteral("\r")), QStringList{QString()});
    EXPECT_EQ(displayLines(QStringLiteral("a\n\rb\nc")), (QStringList{"a", "bc"}));
    EXPECT_EQ(displayLines(QStringLiteral("a\r\n\n")), QStringList{"a"});
    EXPECT_EQ(displayLines(QStringLiteral("\n")), QStringList{QString()});
}

TEST(FontTextMeasurer, ALongTextIsMeasuredOnceLineByLine)
{
    QString text;
    for (int i = 0; text.size() < 40000; ++i)
        text += QStringLiteral("value = %1;\tWW // i\r\n").arg(i);
    const QFont font = toQFont(DiagramFont{});
    const auto advances = lineAdvances(text, font);
    const QStringList lines = displayLines(text);
    ASSERT_EQ(advances->size(), size_t(lines.size()));
    const QFontMetricsF fm(font);
    for (qsizetype i = 0; i < lines.size(); i += 97)
        EXPECT_EQ((*advances)[size_t(i)], fm.horizontalAdvance(lines.at(i)));

    // Asked again (framing, then painting) it is not measured again; another
    // font or another text is.
    EXPECT_EQ(lineAdvances(text, font), advances);
    QFont bold = font;
    bold.setBold(true);
    EXPECT_NE(lineAdvances(text, bold), advances);
    EXPECT_NE(lineAdvances(text + QStringLiteral("x"), font), advances);
    // Short texts are measured every time.
    EXPECT_NE(lineAdvances(QStringLiteral("x"), font), lineAdvances(QStringLiteral("x"), font));
}

// A long text is measured in pieces on several threads; every line must get
// the very advance one thread gives it, in any face, whatever the line holds
// (kerning pairs, ligatures, tabs, right-to-left runs, marks, characters the
// face lacks) and wherever the pieces are cut.
TEST(FontTextMeasurer, LongTextsMeasuredInPiecesGetTheSameAdvances)
{
    const QStringList samples = {
        QStringLiteral("value = value * 3 + %1; // step %1"),
        QStringLiteral("AVATAR Ty. \"office\" ffi fl %1 WAVE yo"),
        QStringLiteral("\tx\t= %1;\t\t// tab"),
        QStringLiteral("\u05E9\u05DC\u05D5\u05DD %1 \u0645\u0631\u062D\u0628\u0627 abc"),
        QStringLiteral("e\u0301 a\u0308 \u00C5ngstr\u00F6m \u20AC %1 \u4E2D\u6587 \U0001F600"),
        QString(),
        QStringLiteral("lf\ninside %1"),
    };
    QString text;
    for (int i = 0; text.size() < 600000; ++i) {
        const QString& sample = samples.at(i % samples.size());
        text += (sample.isEmpty() ? sample : sample.arg(i)) + QStringLiteral("\r\n");
    }
    // One line longer than a whole piece, and a final line break.
    text += QString(200000, QLatin1Char('W')) + QStringLiteral("\r\n");

    DiagramFont fonts[4];
    fonts[1].name = QStringLiteral("DejaVu Serif");
    fonts[1].bold = true;
    fonts[2].name = QStringLiteral("DejaVu Sans Mono");
    fonts[2].size = 11;
    fonts[3].name = QStringLiteral("Nimbus Roman");
    fonts[3].italic = true;
    const QStringList lines = displayLines(text);
    for (const DiagramFont& font : fonts) {
        SCOPED_TRACE(font.name.toStdString());
        const auto advances = lineAdvances(text, font);
        ASSERT_EQ(advances->size(), size_t(lines.size()));
        const QFontMetricsF fm(toQFont(font));
        qsizetype differing = 0;
        for (qsizetype i = 0; i < lines.size(); ++i)
            differing += (*advances)[size_t(i)] != fm.horizontalAdvance(lines.at(i));
        EXPECT_EQ(differing, 0);
        // The QFont form finds the same measurement.
        EXPECT_EQ(lineAdvances(text, toQFont(font)), advances);
    }

    // Texts whose only line breaks sit at the end, or that have none, or
    // only LF, are still lines as displayLines cuts them.
    for (const QString& odd : {QString(300000, QLatin1Char('x')) + QStringLiteral("\r"),
                               QString(300000, QLatin1Char('\n')),
                               QStringLiteral("a\r") + QString(300000, QLatin1Char('\r'))}) {
        const auto advances = lineAdvances(odd, fonts[0]);
        const QStringList oddLines = displayLines(odd);
        ASSERT_EQ(advances->size(), size_t(oddLines.size()));
        const QFontMetricsF fm(toQFont(fonts[0]));
        EXPECT_EQ(advances->front(), fm.horizontalAdvance(oddLines.front()));
        EXPECT_EQ(advances->back(), fm.horizontalAdvance(oddLines.back()));
    }
}

TEST(FontTextMeasurer, AutosizedNodesHoldTheirDrawnText)
{
    const auto measurer = std::make_shared<FontTextMeasurer>();
    Diagram d;
    d.setTextMeasurer(measurer);
    Node* n = addState(d, 1000, 1000, QStringLiteral("A_rather_long_state_name"));
    n->setText(n->text() + QStringLiteral("#during:\r\n x = x + 1;\r\n y();\r\n"));
    n->setAutosize(3);

    const QSizeF one = measurer->textSize(QStringLiteral("x"), n->font());
    const QSizeF three = measurer->textSize(QStringLiteral("x\r\nx\r\nx\r\n"), n->font());
    EXPECT_NEAR(three.height(), 3 * one.height(), 2.0);
    EXPECT_GT(measurer->textSize(QStringLiteral("xx"), n->font()).width(), one.width());

    const double pen = DiagramRenderer::kTwipsPerPixel / 2;
    const QRectF outline(n->left() - pen, n->top() - pen, n->width() + 2 * pen,
                         n->height() + 2 * pen);
    EXPECT_EQ(DiagramRenderer::nodeBounds(*n), outline);  // no text sticks out
}

TEST(DiagramRenderer, OnlyItemsMeetingTheAreaAreDrawn)
{
    Transition tr;
    QImage image(600, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.scale(1 / 15.0, 1 / 15.0);
    DiagramRenderer::render(p, tr.d, QRectF(0, 0, 3000, 3000));  // A and its link only
    p.end();
    EXPECT_TRUE(near(image.pixelColor(1150 / 15, 1450 / 15), Qt::yellow));
    EXPECT_TRUE(near(image.pixelColor(5150 / 15, 1450 / 15), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(3000 / 15, 1450 / 15), Qt::red));
}
