// The hierarchical generator: trees of diagram files compared with expected
// files written by hand, and the trees that must be refused or cut short.

#include "CodegenTestSupport.h"
#include "MachineFiles.h"
#include "modC_CodeGenHSC.h"
#include "modGrafoInfo.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::testing;

namespace {

const QString kData = QStringLiteral(ORVANE_TEST_DATA);

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
    RecordingMessenger messenger;
    const CodeAndHeader parts =
        SplitLast(GenerateTree(source, kData + QStringLiteral("/hier/") + QLatin1String(c.top),
                               TopOptions{c.DI, c.AC, c.PT, c.BF}, messenger));
    EXPECT_TRUE(messenger.messages.isEmpty()) << messenger.messages.join(u'\n').toStdString();
    ASSERT_TRUE(parts.ok);
    ExpectGolden(parts, QLatin1String(c.expected));
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

// ------------------------------------------------------------ trees on disk

using testfiles::TwoStates;

class HierarchicalTree : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString Path(const QString& relative) const { return dir.filePath(relative); }

    void Write(const QString& relative, const testfiles::TwoStateMachine& m)
    {
        QString error;
        ASSERT_TRUE(testfiles::WriteMachine(Path(relative), m, &error)) << error.toStdString();
    }

    QString Generate(const QString& topRelative, const TopOptions& o = {})
    {
        return GenerateTree(source, Path(topRelative), o, messenger);
    }

    QTemporaryDir dir;
    FileChildSource source;
    RecordingMessenger messenger;
};

// The source of the tests, failing for one path.
class FailingSource : public ChildDocumentSource {
  public:
    FailingSource(ChildDocumentSource& inner, QString failing)
        : m_inner(inner), m_failing(std::move(failing))
    {
    }
    const FsmDocument* OpenChild(const QString& fullPath, QString* error) override
    {
        if (QDir::cleanPath(fullPath) == m_failing) {
            *error = QStringLiteral("the file is locked");
            return nullptr;
        }
        return m_inner.OpenChild(fullPath, error);
    }

  private:
    ChildDocumentSource& m_inner;
    QString m_failing;
};

TEST_F(HierarchicalTree, AnyFailingDiagramRefusesTheWholeTreeWithItsOwnMessage)
{
    Write(QStringLiteral("Top.fsm"), TwoStates(QStringLiteral("Top"), QStringLiteral("Kid();")));
    Write(QStringLiteral("Top/Kid.fsm"),
          TwoStates(QStringLiteral("Kid"), QStringLiteral("Leaf();")));
    Write(QStringLiteral("Top/Leaf.fsm"), TwoStates(QString(), QString()));
    EXPECT_TRUE(Generate(QStringLiteral("Top.fsm")).isEmpty());
    EXPECT_EQ(messenger.messages, QStringList{modC_CodeGen::kMsgNoName});

    messenger.messages.clear();
    Write(QStringLiteral("Top/Kid.fsm"), TwoStates(QStringLiteral("Kid"), QString(), false));
    source = FileChildSource();
    EXPECT_TRUE(Generate(QStringLiteral("Top.fsm")).isEmpty());
    EXPECT_EQ(messenger.messages, QStringList{modC_CodeGen::kMsgNoInitial});
}

TEST_F(HierarchicalTree, ChildThatCannotBeOpenedRefusesWithItsPathAndReason)
{
    Write(QStringLiteral("Top.fsm"), TwoStates(QStringLiteral("Top"), QStringLiteral("Near();")));
    Write(QStringLiteral("Near.fsm"), TwoStates(QStringLiteral("Near"), QString()));
    FsmDocument* top = source.Top(Path(QStringLiteral("Top.fsm")));
    ASSERT_NE(top, nullptr);
    const QString nearPath = QDir::cleanPath(Path(QStringLiteral("Near.fsm")));
    FailingSource failing(source, nearPath);
    EXPECT_TRUE(modC_CodeGenHSC::GenerateCodeHierarchical(*top, failing, messenger).isEmpty());
    EXPECT_EQ(messenger.messages, QStringList{modC_CodeGenHSC::kMsgChildNotOpened + u'[' + nearPath
                                              + u']' + QStringLiteral("\r\nthe file is locked")});
}

TEST_F(HierarchicalTree, CallsBackToAnAncestorEndTheWalk)
{
    // Top calls itself and X; X calls Y; Y calls X and Top: all beside each other.
    Write(QStringLiteral("Top.fsm"),
          TwoStates(QStringLiteral("Top"), QStringLiteral("X();\r\nTop();")));
    Write(QStringLiteral("X.fsm"), TwoStates(QStringLiteral("X"), QStringLiteral("Y();")));
    Write(QStringLiteral("Y.fsm"),
          TwoStates(QStringLiteral("Y"), QStringLiteral("X();\r\nTop();")));
    const CodeAndHeader parts = SplitLast(Generate(QStringLiteral("Top.fsm")));
    ASSERT_TRUE(parts.ok);
    EXPECT_TRUE(messenger.messages.isEmpty());
    EXPECT_EQ(parts.code.count(QStringLiteral("\r\nvoid Top(void)\r\n")), 1);
    EXPECT_EQ(parts.code.count(QStringLiteral("static void X(void)\r\n")), 1);
    EXPECT_EQ(parts.code.count(QStringLiteral("static void Y(void)\r\n")), 1);
    // Top's children are "Top.fsm" (skipped, position 1) and "X.fsm".
    EXPECT_TRUE(parts.code.contains(QStringLiteral("static unsigned char ind_2_X = i_2_S1;")));
    EXPECT_TRUE(parts.code.contains(QStringLiteral("static unsigned char ind_2_1_Y = i_2_1_S1;")));
}

TEST_F(HierarchicalTree, SameNameInTwoFoldersIsOneFunctionOnlyWhenTheDiagramsAreCopies)
{
    Write(QStringLiteral("Top.fsm"),
          TwoStates(QStringLiteral("Top"), QStringLiteral("A();\r\nB();")));
    Write(QStringLiteral("A.fsm"), TwoStates(QStringLiteral("A"), QStringLiteral("Timer();")));
    Write(QStringLiteral("B.fsm"), TwoStates(QStringLiteral("B"), QStringLiteral("Timer();")));
    Write(QStringLiteral("A/Timer.fsm"),
          TwoStates(QStringLiteral("Timer"), QStringLiteral("tick();")));
    Write(QStringLiteral("B/Timer.fsm"),
          TwoStates(QStringLiteral("Timer"), QStringLiteral("tick();")));
    const CodeAndHeader parts = SplitLast(Generate(QStringLiteral("Top.fsm")));
    ASSERT_TRUE(parts.ok);
    EXPECT_TRUE(messenger.messages.isEmpty());
    EXPECT_EQ(parts.code.count(QStringLiteral("static void Timer(void)\r\n")), 1);
    EXPECT_TRUE(parts.code.contains(QStringLiteral("ind_1_1_Timer")));
    EXPECT_FALSE(parts.code.contains(QStringLiteral("ind_2_1_Timer")));

    // A different machine under the same name would silently be left out.
    Write(QStringLiteral("B/Timer.fsm"),
          TwoStates(QStringLiteral("Timer"), QStringLiteral("tock();")));
    source = FileChildSource();
    EXPECT_TRUE(Generate(QStringLiteral("Top.fsm")).isEmpty());
    EXPECT_EQ(messenger.messages,
              QStringList{modC_CodeGenHSC::kMsgNameClash + QStringLiteral("[Timer]\r\n")
                          + QDir::cleanPath(Path(QStringLiteral("A/Timer.fsm")))
                          + QStringLiteral("\r\n")
                          + QDir::cleanPath(Path(QStringLiteral("B/Timer.fsm")))});
}

TEST_F(HierarchicalTree, TopDocumentDecidesDebugBitFieldsRemarksAndComments)
{
    Write(QStringLiteral("Top.fsm"), TwoStates(QStringLiteral("Top"), QStringLiteral("Kid();")));
    Write(QStringLiteral("Top/Kid.fsm"),
          TwoStates(QStringLiteral("Kid"), QString(), true, QStringLiteral("on();")));
    source.adjust = [](FsmDocument& doc) {
        doc.bDebugInfo = doc.bAnsiComment = doc.bTextBoxesInCode = doc.bUseBitFields = true;
    };
    const QString result = Generate(QStringLiteral("Top.fsm"), TopOptions{});
    ASSERT_FALSE(result.isEmpty());
    EXPECT_FALSE(result.contains(QStringLiteral("FSM_DEBUG")));
    EXPECT_FALSE(result.contains(QStringLiteral("Diagram comments")));
    EXPECT_FALSE(result.contains(QStringLiteral("/*++")));
    EXPECT_TRUE(result.contains(QStringLiteral("  static unsigned char entryFsmFlg_1 = 0;\r\n")));
}

TEST_F(HierarchicalTree, BitFieldsWithoutEntryActionsNeedNoStructure)
{
    Write(QStringLiteral("Top.fsm"), TwoStates(QStringLiteral("Top"), QStringLiteral("Kid();")));
    Write(QStringLiteral("Top/Kid.fsm"), TwoStates(QStringLiteral("Kid"), QString()));
    const QString code =
        SplitLast(Generate(QStringLiteral("Top.fsm"), TopOptions{false, false, false, true})).code;
    ASSERT_FALSE(code.isEmpty());
    EXPECT_FALSE(code.contains(QStringLiteral("typedef")));
    EXPECT_FALSE(code.contains(QStringLiteral("entryFsm")));
    const QString dash =
        QStringLiteral("//") + QStringLiteral(" -").repeated(39) + QStringLiteral("\r\n");
    EXPECT_TRUE(code.contains(QStringLiteral("// Entry flags (Start).\r\n") + dash
                              + QStringLiteral("\r\n") + dash
                              + QStringLiteral("// Entry flags (End).")));
}

}  // namespace
