// The Mermaid and PlantUML texts: golden files of the examples, the
// escaping of C code for each syntax, and PlantUML's own parser when it is
// installed.
#include "DiagramText.h"
#include "ExportTestSupport.h"
#include "FontTextMeasurer.h"
#include "ProcessState.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::exporttest;

namespace {

// Two states; the transition and the states carry C that uses every
// character the two syntaxes read as markup or structure.
std::unique_ptr<FsmDocument> awkward(const QString& path)
{
    const QString condition = QStringLiteral("a[i] >= \"x:y\" && b // c -- d\r\n|| e % 2 == '#'");
    const QString action = QStringLiteral("p->q = *r ** s; /* {x} */ $v __ ~~w !z \\n;");
    return loadDocument(
        path,
        {stateJson(1, 1000, 1000, 16384, QStringLiteral("Idle"), QStringLiteral("1"),
                   QStringLiteral("poll();\r\n  tick(\"<go>\");")),
         stateJson(2, 4000, 1000, 32768, QStringLiteral("Done"), QStringLiteral("2")),
         transitionJson(3, 2500, 1000, QStringLiteral("1"), condition, action),
         infoJson(4, {QString(), QStringLiteral("Odd:Name")})},
        {linkJson(1, 3, 0), linkJson(3, 2)});
}

class DiagramTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        installFontTextMeasurer();
    }
    void TearDown() override { process() = ProcessState{}; }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(DiagramTextTest, ExamplesMatchTheirGoldenFiles)
{
    const QString golden = QStringLiteral(ORVANE_TEST_DATA "/golden/text/");
    for (const char* example : {"traffic_light", "washer/Washer", "washer/Washer/Drum"}) {
        SCOPED_TRACE(example);
        auto doc = openDocument(QStringLiteral(ORVANE_SOURCE_DIR "/examples/")
                                + QString::fromLatin1(example) + QStringLiteral(".fsm"));
        ASSERT_TRUE(doc);
        const QString base = golden + QString::fromLatin1(example).section('/', -1);
        EXPECT_EQ(DiagramText::toMermaid(*doc).toUtf8(), readBytes(base + QStringLiteral(".mmd")));
        EXPECT_EQ(DiagramText::toPlantUml(*doc).toUtf8(),
                  readBytes(base + QStringLiteral(".puml")));
    }
}

TEST_F(DiagramTextTest, MermaidEscapesEverythingItReadsAsSyntax)
{
    EXPECT_EQ(DiagramText::mermaidEscape(QStringLiteral("a;b:c#d")),
              QStringLiteral("a#59;b#58;c#35;d"));
    EXPECT_EQ(DiagramText::mermaidEscape(QStringLiteral("x < \"y\" > {z} [w] | 100%")),
              QStringLiteral("x #60; #34;y#34; #62; #123;z#125; #91;w#93; #124; 100#37;"));
    // Lines become <br>, blank lines and surrounding blanks go.
    EXPECT_EQ(DiagramText::mermaidEscape(QStringLiteral("  one\r\n\r\n\ttwo\rthree\n")),
              QStringLiteral("one<br>two<br>three"));

    auto doc = awkward(dir.filePath(QStringLiteral("odd.fsm")));
    ASSERT_TRUE(doc);
    const QString text = DiagramText::toMermaid(*doc);
    // Every line of the diagram is one statement: no raw quote, semicolon or
    // colon after the label's own separator.
    for (const QString& line : text.split('\n', Qt::SkipEmptyParts)) {
        const qsizetype label = line.indexOf(QStringLiteral(" : "));
        if (label >= 0) {
            const QString rest = line.mid(label + 3);
            EXPECT_FALSE(rest.contains(';') && !rest.contains('#')) << line.toStdString();
            EXPECT_FALSE(rest.contains('"') || rest.contains(':') || rest.contains('\r'))
                << line.toStdString();
        }
    }
    EXPECT_TRUE(text.contains(QStringLiteral("title: Odd#58;Name")));
    EXPECT_TRUE(text.contains(QStringLiteral("    [*] --> s1\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("    s2 --> [*]\n")));
}

TEST_F(DiagramTextTest, PlantUmlEscapesQuotesPreprocessorAndMarkupPairs)
{
    EXPECT_EQ(DiagramText::plantUmlEscape(QStringLiteral("a // b -- c ** d __ e ~~ f")),
              QStringLiteral("a /<U+002F> b -<U+002D> c *<U+002A> d _<U+005F> e ~<U+007E> f"));
    EXPECT_EQ(DiagramText::plantUmlEscape(QStringLiteral("\"$x\" \\ %y !z <b>")),
              QStringLiteral("<U+0022><U+0024>x<U+0022> <U+005C> <U+0025>y <U+0021>z "
                             "<U+003C>b<U+003E>"));
    // A single slash or minus stays readable; a run of three is broken twice.
    EXPECT_EQ(DiagramText::plantUmlEscape(QStringLiteral("a/b-c---")),
              QStringLiteral("a/b-c-<U+002D><U+002D>"));
    EXPECT_EQ(DiagramText::plantUmlEscape(QStringLiteral("one\r\ntwo")),
              QStringLiteral("one\\ntwo"));

    auto doc = awkward(dir.filePath(QStringLiteral("odd.fsm")));
    ASSERT_TRUE(doc);
    const QString text = DiagramText::toPlantUml(*doc);
    EXPECT_TRUE(text.startsWith(QStringLiteral("@startuml\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("@enduml\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("//")));
    EXPECT_FALSE(text.contains(QStringLiteral("--") + QStringLiteral(" d")));
    EXPECT_EQ(text.count('"'), 4);  // the two state declarations only
}

TEST_F(DiagramTextTest, PlantUmlAcceptsTheTexts)
{
    const QString plantuml = QStandardPaths::findExecutable(QStringLiteral("plantuml"));
    if (plantuml.isEmpty())
        GTEST_SKIP()
            << "plantuml (Debian plantuml) is not installed: scripts/setup --formats installs it";
    auto doc = awkward(dir.filePath(QStringLiteral("odd.fsm")));
    ASSERT_TRUE(doc);
    const QStringList files = {dir.filePath(QStringLiteral("odd.puml")),
                               dir.filePath(QStringLiteral("light.puml"))};
    QFile odd(files[0]);
    ASSERT_TRUE(odd.open(QIODevice::WriteOnly));
    odd.write(DiagramText::toPlantUml(*doc).toUtf8());
    odd.close();
    auto light = openDocument(QStringLiteral(ORVANE_SOURCE_DIR "/examples/traffic_light.fsm"));
    ASSERT_TRUE(light);
    QFile l(files[1]);
    ASSERT_TRUE(l.open(QIODevice::WriteOnly));
    l.write(DiagramText::toPlantUml(*light).toUtf8());
    l.close();
    QProcess p;
    p.start(plantuml,
            QStringList{QStringLiteral("-checkonly"), QStringLiteral("-failfast2")} + files);
    ASSERT_TRUE(p.waitForFinished(300000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardOutput().toStdString()
                               << p.readAllStandardError().toStdString();
}
