// Generated texts compared with expected files written by hand. A file's
// name carries the methodology and the options it was generated with.

#include "CodegenTestSupport.h"
#include "FlatGenerators.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

const QString kData = QStringLiteral(ORVANE_TEST_DATA);

struct GoldenCase {
    const char* diagram;
    const char* methodology;  // switchcase, pointers, pointerarray
    bool FI, FE, HF, DI, AC, PT;
    const char* expected;  // base name under golden/
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.expected; }

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, CodeAndHeaderMatchTheExpectedFiles)
{
    const GoldenCase& c = GetParam();
    FsmDocument doc;
    ASSERT_TRUE(openDocument(doc, kData + u'/' + QLatin1String(c.diagram)));
    RecordingMessenger messenger;
    const QString m = QLatin1String(c.methodology);
    const Style style = m == QLatin1String("switchcase") ? Style::SwitchCase
                        : m == QLatin1String("pointers") ? Style::Pointers
                                                         : Style::PointerArray;
    const Generated result = generate(style, doc.diagram(), doc.filePath,
                                      Opts{c.FI, c.FE, c.HF, c.DI, c.AC, c.PT}, messenger);
    EXPECT_TRUE(messenger.texts.isEmpty()) << messenger.texts.join(u'\n').toStdString();
    const CodeAndHeader parts = split(result);
    ASSERT_TRUE(parts.ok);
    expectGolden(parts, QLatin1String(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Diagrams, Golden,
    ::testing::Values(GoldenCase{"lamp.fsm", "switchcase", false, false, false, false, false, false,
                                 "lamp--switchcase"},
                      GoldenCase{"lamp.fsm", "pointers", true, true, true, false, false, false,
                                 "lamp--pointers--FI--FE--HF"},
                      GoldenCase{"lamp.fsm", "pointerarray", false, false, true, false, true, false,
                                 "lamp--pointerarray--HF--AC"},
                      GoldenCase{"motor.fsm", "switchcase", true, true, false, true, false, true,
                                 "motor--switchcase--FI--FE--DI--PT"},
                      GoldenCase{"motor.fsm", "pointers", true, true, false, true, false, true,
                                 "motor--pointers--FI--FE--DI--PT"},
                      GoldenCase{"motor.fsm", "pointerarray", true, true, false, true, false, true,
                                 "motor--pointerarray--FI--FE--DI--PT"}));

TEST(GoldenList, ListFilesMatchTheExpectedFiles)
{
    for (const char* name : {"lamp", "motor"}) {
        FsmDocument doc;
        ASSERT_TRUE(openDocument(doc, kData + u'/' + QLatin1String(name) + QStringLiteral(".fsm")));
        const QString expected = readUtf8(kData + QStringLiteral("/golden/") + QLatin1String(name)
                                          + QStringLiteral(".lst"));
        EXPECT_TRUE(sameText(FlatGenerators::generateListFile(doc.diagram()), expected)) << name;
    }
}

TEST(GoldenDocument, DocumentFlagsDriveTheGenerators)
{
    // motor.fsm stores FI, FE, DI and PT on and HF off: the document overload
    // must give the same text as the explicit flags.
    FsmDocument doc;
    ASSERT_TRUE(openDocument(doc, kData + QStringLiteral("/motor.fsm")));
    RecordingMessenger messenger;
    const CodeAndHeader parts = split(
        FlatGenerators::generate(Methodology::DirectPointers, doc, DiskChildren(), messenger));
    ASSERT_TRUE(parts.ok);
    EXPECT_TRUE(sameText(
        parts.code, readUtf8(kData + QStringLiteral("/golden/motor--pointers--FI--FE--DI--PT.c"))));
}

}  // namespace
