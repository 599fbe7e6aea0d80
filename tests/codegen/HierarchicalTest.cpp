// The hierarchical generator: trees of diagram files compared with expected
// files written by hand, and the trees that must be refused or cut short.

#include "CodegenTestSupport.h"
#include "modC_CodeGenHSC.h"
#include "modGrafoInfo.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::testing;

namespace {

const QString kData = QStringLiteral(ORVANE_TEST_DATA);

// Code and header split at the last two separators, as the files are written.
CodeAndHeader SplitLast(const QString& result)
{
    CodeAndHeader out;
    const QString& sep = modStrings::kSep;
    const qsizetype last = result.lastIndexOf(sep);
    if (last < 0)
        return out;
    const qsizetype before = result.left(last).lastIndexOf(sep);
    if (before < 0)
        return out;
    out.code = result.left(before);
    out.header = result.mid(before + sep.size(), last - before - sep.size());
    out.ok = true;
    return out;
}

struct TreeCase {
    const char* top;  // under hier/
    bool DI, AC, PT, BF;
    bool macrosOff;  // UM off in every diagram of the tree
    const char* expected;
};

void PrintTo(const TreeCase& c, std::ostream* os)
{
    *os << c.expected;
}

class HierarchicalGolden : public ::testing::TestWithParam<TreeCase> {};

TEST_P(HierarchicalGolden, CodeAndHeaderMatchTheExpectedFiles)
{
    const TreeCase& c = GetParam();
    FileChildSource source;
    if (c.macrosOff)
        source.adjust = [](FsmDocument& doc) { doc.bUseMacros = false; };
    FsmDocument* top = source.Top(kData + QStringLiteral("/hier/") + QLatin1String(c.top));
    ASSERT_NE(top, nullptr);
    top->bDebugInfo = c.DI;
    top->bAnsiComment = c.AC;
    top->bTextBoxesInCode = c.PT;
    top->bUseBitFields = c.BF;
    RecordingMessenger messenger;
    const QString result = modC_CodeGenHSC::GenerateCodeHierarchical(*top, source, messenger);
    EXPECT_TRUE(messenger.messages.isEmpty()) << messenger.messages.join(u'\n').toStdString();
    const CodeAndHeader parts = SplitLast(result);
    ASSERT_TRUE(parts.ok);
    const QString base = kData + QStringLiteral("/golden/") + QLatin1String(c.expected);
    EXPECT_TRUE(SameText(parts.code, ReadUtf8(base + QStringLiteral(".c")))) << c.expected << ".c";
    EXPECT_TRUE(SameText(parts.header, ReadUtf8(base + QStringLiteral(".h"))))
        << c.expected << ".h";
}

INSTANTIATE_TEST_SUITE_P(
    Trees, HierarchicalGolden,
    ::testing::Values(
        TreeCase{"Solo.fsm", false, false, false, false, false, "Solo--hier"},
        TreeCase{"Solo.fsm", false, true, false, false, false, "Solo--hier--AC"},
        TreeCase{"two/Pair.fsm", false, false, false, false, false, "Pair--hier"},
        TreeCase{"two/Pair.fsm", false, false, false, true, true, "Pair--hier--BF--UM_N"},
        TreeCase{"three/Top.fsm", true, false, false, false, false, "Top--hier--DI"},
        TreeCase{"three/Top.fsm", false, false, true, true, false, "Top--hier--BF--PT"}));

}  // namespace
