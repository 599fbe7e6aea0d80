#include "CoveragePage.h"

#include "DiagramPicture.h"
#include "ExportTestSupport.h"
#include "TraceReplay.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace orvane {
namespace {

using namespace exporttest;

std::unique_ptr<FsmDocument> machine(const QString& path)
{
    return loadDocument(
        path,
        {stateJson(1, 1000, 1000, 16384, QStringLiteral("A"), QStringLiteral("1")),
         stateJson(2, 4000, 1000, 8192, QStringLiteral("B<&>"), QStringLiteral("2")),
         transitionJson(3, 3000, 1400, QStringLiteral("1"), QStringLiteral("x && y")),
         transitionJson(5, 3000, 2400, QStringLiteral("1"), QStringLiteral("z")),
         infoJson(4, {QString(), QStringLiteral("M")})},
        {linkJson(1, 3), linkJson(3, 2), linkJson(2, 5), linkJson(5, 1)});
}

TEST(CoveragePage, ColoursOnlyWhatItNamesAndLeavesThePlainPictureAlone)
{
    QTemporaryDir dir;
    const auto doc = machine(dir.filePath(QStringLiteral("m.fsm")));
    ASSERT_TRUE(doc);
    const QByteArray plain = DiagramPicture::toSvg(doc->diagram());
    EXPECT_EQ(DiagramPicture::toSvg(doc->diagram(), DiagramRenderer::ColourOverrides()), plain);

    Simulation::TraceReplay replay({Simulation::Machine::read(*doc)});
    replay.applyAll(Simulation::parseTrace("orvane-trace M B<&> 1\n"));
    const DiagramRenderer::ColourOverrides colours = CoveragePage::coverageColours(*doc, replay, 0);
    EXPECT_EQ(colours.nodeFill.size(), 4);  // two states, two transitions
    EXPECT_EQ(colours.link.size(), 4);
    const QByteArray coloured = DiagramPicture::toSvg(doc->diagram(), colours);
    EXPECT_TRUE(coloured.contains("#1e8c1e"));
    EXPECT_TRUE(coloured.contains("#c81e1e"));
    EXPECT_FALSE(plain.contains("#1e8c1e"));
}

TEST(CoveragePage, TablesCountAndEscapeEverything)
{
    QTemporaryDir dir;
    const auto doc = machine(dir.filePath(QStringLiteral("m.fsm")));
    ASSERT_TRUE(doc);
    Simulation::TraceReplay replay({Simulation::Machine::read(*doc)});
    replay.applyAll(Simulation::parseTrace("orvane-trace M B<&> 1\norvane-trace M Q 0\n"));
    const QString page = CoveragePage::pageText({doc.get()}, replay, QStringLiteral("a<b>.txt"));
    EXPECT_TRUE(page.contains(QStringLiteral("Trace: a&lt;b&gt;.txt")));
    EXPECT_TRUE(page.contains(QStringLiteral("States 2/2 (100.0%), transitions 1/2 (50.0%).")));
    EXPECT_TRUE(page.contains(QStringLiteral(
        "<tr><td>A</td><td>1</td><td><code>x &amp;&amp; y</code></td><td>B&lt;&amp;&gt;</td>"
        "<td class=\"yes\">1</td></tr>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<td class=\"no\">0</td>")));
    EXPECT_TRUE(
        page.contains(QStringLiteral("The replay stopped at line 2: FSM &quot;M&quot; has no state "
                                     "&quot;Q&quot;.")));
    EXPECT_EQ(page.count(QStringLiteral("<svg")), 1);
    EXPECT_FALSE(page.contains(QStringLiteral("<?xml")));

    const QString target = dir.filePath(QStringLiteral("m.coverage.htm"));
    RecordingMessenger messenger;
    EXPECT_TRUE(
        CoveragePage::writePage({doc.get()}, replay, QStringLiteral("t"), target, messenger));
    EXPECT_TRUE(messenger.texts.isEmpty());
    EXPECT_FALSE(CoveragePage::writePage({doc.get()}, replay, QStringLiteral("t"), dir.path(),
                                         messenger));  // a folder is no file to replace
    EXPECT_EQ(messenger.texts.size(), 1);
}

}  // namespace
}  // namespace orvane
