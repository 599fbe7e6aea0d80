// The SVG and PNG pictures: texts kept as texts, sizes from the diagram's
// twips and the resolution, rendering by an independent SVG renderer, and
// the batch switches that write them (with --check and --depfile).
#include "BatchRun.h"
#include "DiagramPicture.h"
#include "ExportTestSupport.h"
#include "FontTextMeasurer.h"
#include "FsmDocument.h"
#include "HtmlPage.h"
#include "ProcessState.h"
#include "RecordingMessenger.h"
#include "Records.h"
#include "States.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <memory>

using namespace orvane;
using namespace orvane::exporttest;

namespace {

std::unique_ptr<FsmDocument> openExample(const QString& relative)
{
    return openDocument(QStringLiteral(ORVANE_SOURCE_DIR "/examples/") + relative);
}

QStringList stateNames(const Diagram& d)
{
    QStringList names;
    for (const auto& n : d.nodes())
        if (States::isStateNode(n.get()))
            names.append(stateRecord(n.get()).name);
    return names;
}

// The texts of the <text> elements (with their <tspan> parts) and the
// width and height attributes of the root.
struct SvgSummary {
    QStringList texts;
    QString width, height;
    QString error;
};

SvgSummary readSvg(const QByteArray& bytes)
{
    SvgSummary out;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("svg") && out.width.isEmpty()) {
            out.width = xml.attributes().value(QLatin1String("width")).toString();
            out.height = xml.attributes().value(QLatin1String("height")).toString();
        } else if (xml.name() == QLatin1String("text")) {
            out.texts.append(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        }
    }
    if (xml.hasError())
        out.error = xml.errorString();
    return out;
}

class PictureFiles : public ExportFixture {};

}  // namespace

TEST_F(PictureFiles, SvgKeepsEveryStateNameAsTextAndIsWellFormed)
{
    for (const char* example : {"traffic_light.fsm", "washer/Washer.fsm", "lamp.fsm"}) {
        SCOPED_TRACE(example);
        auto doc = openExample(QString::fromLatin1(example));
        ASSERT_TRUE(doc);
        const SvgSummary svg = readSvg(DiagramPicture::toSvg(doc->diagram()));
        ASSERT_TRUE(svg.error.isEmpty()) << svg.error.toStdString();
        const QString allText = svg.texts.join(QLatin1Char('\n'));
        const QStringList names = stateNames(doc->diagram());
        ASSERT_FALSE(names.isEmpty());
        for (const QString& name : names)
            EXPECT_TRUE(allText.contains(name)) << name.toStdString();
    }
}

TEST_F(PictureFiles, PixelSizesFollowTheTwipsAndTheResolution)
{
    auto doc = openExample(QStringLiteral("traffic_light.fsm"));
    ASSERT_TRUE(doc);
    const QRectF frame = DiagramPicture::pictureFrame(doc->diagram());
    const QImage at96 = DiagramPicture::toImage(doc->diagram());
    EXPECT_EQ(at96.width(), int(std::ceil(frame.width() / 15.0)));
    EXPECT_EQ(at96.height(), int(std::ceil(frame.height() / 15.0)));

    QImage png;
    ASSERT_TRUE(png.loadFromData(DiagramPicture::toPng(doc->diagram(), 192.0), "PNG"));
    EXPECT_EQ(png.width(), int(std::ceil(frame.width() * 192.0 / 1440.0)));
    EXPECT_NEAR(png.dotsPerMeterX() * 0.0254, 192.0, 0.5);
    // The same drawing gives the same bytes, so --check and the writer's
    // "unchanged" test work for pictures too.
    EXPECT_EQ(DiagramPicture::toPng(doc->diagram()), DiagramPicture::toPng(doc->diagram()));
    EXPECT_EQ(DiagramPicture::toSvg(doc->diagram()), DiagramPicture::toSvg(doc->diagram()));

    // The SVG's view box grows with the resolution, in pixels.
    const QByteArray svg96 = DiagramPicture::toSvg(doc->diagram());
    const QByteArray svg192 = DiagramPicture::toSvg(doc->diagram(), 192.0);
    const auto viewBoxWidth = [](const QByteArray& bytes) {
        QXmlStreamReader xml(bytes);
        while (xml.readNextStartElement())
            if (xml.name() == QLatin1String("svg"))
                return xml.attributes()
                    .value(QLatin1String("viewBox"))
                    .toString()
                    .split(' ')
                    .value(2)
                    .toInt();
        return 0;
    };
    EXPECT_EQ(viewBoxWidth(svg96), at96.width());
    EXPECT_EQ(viewBoxWidth(svg192), png.width());
}

TEST_F(PictureFiles, SvgRendersWithAnIndependentRenderer)
{
    const QString rsvg = QStandardPaths::findExecutable(QStringLiteral("rsvg-convert"));
    if (rsvg.isEmpty())
        GTEST_SKIP() << "rsvg-convert (Debian librsvg2-bin) is not installed";
    auto doc = openExample(QStringLiteral("traffic_light.fsm"));
    ASSERT_TRUE(doc);
    orvane::testing::RecordingMessenger messenger;
    const QString svgPath = path(QStringLiteral("light.svg"));
    ASSERT_TRUE(
        HtmlPage::fileSaveAsPicture(*doc, svgPath, HtmlPage::PictureFormat::Svg, 96.0, messenger));
    QProcess p;
    p.start(rsvg, {QStringLiteral("-f"), QStringLiteral("png"), QStringLiteral("-o"),
                   path(QStringLiteral("light.png")), svgPath});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QImage rendered(path(QStringLiteral("light.png")));
    ASSERT_FALSE(rendered.isNull());
    const QImage own = DiagramPicture::toImage(doc->diagram());
    EXPECT_EQ(rendered.size(), own.size());
    // Something was drawn: the renderer shows dark pixels (outlines, texts).
    int dark = 0;
    const QImage rgb = rendered.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            if (qGray(rgb.pixel(x, y)) < 128 && qAlpha(rendered.pixel(x, y)) > 0)
                ++dark;
    EXPECT_GT(dark, 100);
}

TEST_F(PictureFiles, SavedPicturesAndThePageWithAnSvgPicture)
{
    auto doc = openExample(QStringLiteral("traffic_light.fsm"));
    ASSERT_TRUE(doc);
    doc->diagram().setChanged(false);
    orvane::testing::RecordingMessenger messenger;
    const QString page = path(QStringLiteral("light.htm"));
    ASSERT_TRUE(HtmlPage::fileSaveAsHTMLWithPicture(*doc, page, false, HtmlPage::PictureFormat::Svg,
                                                    messenger));
    const QByteArray html = readBytes(page);
    EXPECT_TRUE(html.contains("<IMG SRC=\"light.svg\">"));
    EXPECT_FALSE(html.contains(".wmf"));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("light.svg"))));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("light.wmf"))));
    EXPECT_FALSE(doc->diagram().changed());

    // With the metafile the page is the plain page's byte for byte.
    const QString plain = path(QStringLiteral("plain.htm"));
    const QString viaFormat = path(QStringLiteral("viaformat.htm"));
    ASSERT_TRUE(HtmlPage::fileSaveAsHTML(*doc, plain, false, messenger));
    ASSERT_TRUE(HtmlPage::fileSaveAsHTMLWithPicture(*doc, viaFormat, false,
                                                    HtmlPage::PictureFormat::Wmf, messenger));
    EXPECT_EQ(readBytes(path(QStringLiteral("plain.wmf"))),
              readBytes(path(QStringLiteral("viaformat.wmf"))));
    EXPECT_EQ(readBytes(plain).replace("plain", "X"),
              readBytes(viaFormat).replace("viaformat", "X"));

    // A picture that cannot be written is reported, not claimed.
    const QString blocked = path(QStringLiteral("no/such/folder/x.png"));
    EXPECT_FALSE(
        HtmlPage::fileSaveAsPicture(*doc, blocked, HtmlPage::PictureFormat::Png, 96.0, messenger));
    EXPECT_FALSE(messenger.texts.isEmpty());
}

TEST_F(PictureFiles, BatchWritesChecksAndListsThePictures)
{
    const QString source = QStringLiteral(ORVANE_SOURCE_DIR "/examples/traffic_light.fsm");
    const QString fsm = path(QStringLiteral("light.fsm"));
    ASSERT_TRUE(QFile::copy(source, fsm));
    const QString out = path(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(out));
    auto run = [this](const QStringList& args) {
        return orvane::testing::runBatchProgram(dir.path(), path(QStringLiteral("log")), args);
    };

    auto r = run({fsm, QStringLiteral("/H"), QStringLiteral("--picture=svg"),
                  QStringLiteral("--png"), QStringLiteral("--dpi=144"), QStringLiteral("/O") + out,
                  QStringLiteral("--depfile=") + path(QStringLiteral("light.d"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/light.svg")));
    EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("/light.wmf")));
    EXPECT_TRUE(readBytes(out + QStringLiteral("/light.htm")).contains("light.svg"));
    QImage png(out + QStringLiteral("/light.png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_NEAR(png.dotsPerMeterX() * 0.0254, 144.0, 0.5);
    const QByteArray dep = readBytes(path(QStringLiteral("light.d")));
    EXPECT_TRUE(dep.contains("light.htm"));
    EXPECT_TRUE(dep.contains("light.svg"));
    EXPECT_TRUE(dep.contains("light.png"));
    EXPECT_FALSE(dep.contains("light.wmf"));

    // Current files pass --check; a changed picture does not.
    const QStringList again = {fsm,
                               QStringLiteral("/H"),
                               QStringLiteral("--picture=svg"),
                               QStringLiteral("--png"),
                               QStringLiteral("--dpi=144"),
                               QStringLiteral("/O") + out,
                               QStringLiteral("--check")};
    r = run(again);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile::remove(out + QStringLiteral("/light.png"));
    r = run(again);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("light.png"))) << r.err.toStdString();

    // --svg alone: the picture without the page's margin.
    r = run({fsm, QStringLiteral("--svg")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("light.svg"))));
}

TEST_F(PictureFiles, BadPictureOptionsAreABadCommandLine)
{
    const QString fsm = path(QStringLiteral("light.fsm"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_SOURCE_DIR "/examples/traffic_light.fsm"), fsm));
    auto run = [this](const QStringList& args) {
        return orvane::testing::runBatchProgram(dir.path(), path(QStringLiteral("log")), args);
    };
    for (const char* bad : {"--dpi=0", "--dpi=abc", "--dpi=", "--dpi=100000", "--picture=gif"}) {
        SCOPED_TRACE(bad);
        const auto r = run({fsm, QStringLiteral("--svg"), QString::fromLatin1(bad)});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains(QStringLiteral("unknown option"))) << r.err.toStdString();
    }
    // Without a switch that writes a picture they ask for nothing.
    const auto r = run({fsm, QStringLiteral("--picture=svg")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--picture"))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("light.svg"))));
}

TEST_F(PictureFiles, BrowserShowsThePageWithItsSvgPicture)
{
    QString browser;
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"}) {
        browser = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!browser.isEmpty())
            break;
    }
    if (browser.isEmpty())
        GTEST_SKIP()
            << "no headless Chromium (chromium) installed: the page is not shown; scripts/setup --formats installs it";
    const QString fsm = path(QStringLiteral("light.fsm"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_SOURCE_DIR "/examples/traffic_light.fsm"), fsm));
    // The pixels of the diagram's blue outlines in a screenshot of the page
    // (the page's own texts are black).
    const auto bluePixels = [&](const QStringList& switches, const QString& folder) {
        const QString out = path(folder);
        QDir().mkpath(out);
        const auto r = orvane::testing::runBatchProgram(dir.path(), path(QStringLiteral("log")),
                                                        QStringList{fsm, QStringLiteral("/O") + out}
                                                            + switches);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QString shot = out + QStringLiteral("/shot.png");
        QProcess p;
        p.start(browser,
                {QStringLiteral("--headless"), QStringLiteral("--disable-gpu"),
                 QStringLiteral("--no-sandbox"), QStringLiteral("--hide-scrollbars"),
                 QStringLiteral("--user-data-dir=") + out + QStringLiteral("/profile"),
                 QStringLiteral("--window-size=1000,700"), QStringLiteral("--screenshot=") + shot,
                 QStringLiteral("file://") + out + QStringLiteral("/light.htm")});
        EXPECT_TRUE(p.waitForFinished(120000));
        const QImage image(shot);
        EXPECT_FALSE(image.isNull()) << p.readAllStandardError().toStdString();
        int blue = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                if (qBlue(c) > 150 && qRed(c) < 120 && qGreen(c) < 120)
                    ++blue;
            }
        return blue;
    };
    // The metafile page shows no picture in a browser; the SVG page does.
    EXPECT_LT(bluePixels({QStringLiteral("/H")}, QStringLiteral("wmf")), 20);
    EXPECT_GT(
        bluePixels({QStringLiteral("/H"), QStringLiteral("--picture=svg")}, QStringLiteral("svg")),
        300);
}
