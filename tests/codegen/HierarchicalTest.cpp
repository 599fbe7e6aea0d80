// The hierarchical generator: trees of diagram files compared with expected
// files written by hand, and the trees that must be refused or cut short.

#include "CodegenTestSupport.h"
#include "MachineFiles.h"
#include "HierarchicalGenerator.h"
#include "MachineInfo.h"

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

void PrintTo(const TreeCase& c, std::ostream* os) { *os << c.expected; }

class HierarchicalGolden : public ::testing::TestWithParam<TreeCase> {};

TEST_P(HierarchicalGolden, CodeAndHeaderMatchTheExpectedFiles)
{
    const TreeCase& c = GetParam();
    FileChildSource source;
    if (c.macrosOff)
        source.adjust = [](FsmDocument& doc) { doc.useMacros = false; };
    RecordingMessenger messenger;
    const CodeAndHeader parts =
        split(generateTree(source, kData + QStringLiteral("/hier/") + QLatin1String(c.top),
                           TopOptions{c.DI, c.AC, c.PT, c.BF}, messenger));
    EXPECT_TRUE(messenger.texts.isEmpty()) << messenger.texts.join(u'\n').toStdString();
    ASSERT_TRUE(parts.ok);
    expectGolden(parts, QLatin1String(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Trees, HierarchicalGolden,
    ::testing::Values(
        TreeCase{"Solo.fsm", false, false, false, false, false, "Solo--hier"},
        TreeCase{"Solo.fsm", false, true, false, false, false, "Solo--hier--AC"},
        TreeCase{"two/Pair.fsm", false, false, false, false, false, "Pair--hier"},
        TreeCase{"two/Pair.fsm", false, false, false, true, true, "Pair--hier--BF--UM_N"},
        TreeCase{"three/Top.fsm", true, false, false, false, false, "Top--hier--DI"},
        TreeCase{"three/Top.fsm", false, false, true, true, false, "Top--hier--BF--PT"},
        // A chain five deep, indented at every level: a child without ending
        // code whose child has some, ending code of blanks only, blank lines
        // with blanks inside a child's text, a last child without ending.
        TreeCase{"deep/C0.fsm", false, false, false, false, false, "Deep--hier"},
        TreeCase{"deep/C0.fsm", true, true, false, false, false, "Deep--hier--AC--DI"}));

// ------------------------------------------------------------ trees on disk

using testfiles::twoStates;

class HierarchicalTree : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& relative) const { return dir.filePath(relative); }

    void write(const QString& relative, const testfiles::TwoStateMachine& m)
    {
        QString error;
        ASSERT_TRUE(testfiles::writeMachine(path(relative), m, &error)) << error.toStdString();
    }

    Generated generate(const QString& topRelative, const TopOptions& o = {})
    {
        return generateTree(source, path(topRelative), o, messenger);
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
    bool exists(const QString& fullPath) const override { return m_inner.exists(fullPath); }
    const FsmDocument* openChild(const QString& fullPath, QString* error) override
    {
        if (QDir::cleanPath(fullPath) == m_failing) {
            *error = QStringLiteral("the file is locked");
            return nullptr;
        }
        return m_inner.openChild(fullPath, error);
    }

private:
    ChildDocumentSource& m_inner;
    QString m_failing;
};

TEST_F(HierarchicalTree, AnyFailingDiagramRefusesTheWholeTreeWithItsOwnMessage)
{
    write(QStringLiteral("Top.fsm"), twoStates(QStringLiteral("Top"), QStringLiteral("Kid();")));
    write(QStringLiteral("Top/Kid.fsm"),
          twoStates(QStringLiteral("Kid"), QStringLiteral("Leaf();")));
    write(QStringLiteral("Top/Leaf.fsm"), twoStates(QString(), QString()));
    EXPECT_FALSE(generate(QStringLiteral("Top.fsm")));
    EXPECT_EQ(messenger.texts, QStringList{FlatGenerators::kMsgNoName});

    messenger.texts.clear();
    write(QStringLiteral("Top/Kid.fsm"), twoStates(QStringLiteral("Kid"), QString(), false));
    source = FileChildSource();
    EXPECT_FALSE(generate(QStringLiteral("Top.fsm")));
    EXPECT_EQ(messenger.texts, QStringList{FlatGenerators::kMsgNoInitial});
}

TEST_F(HierarchicalTree, ChildThatCannotBeOpenedRefusesWithItsPathAndReason)
{
    write(QStringLiteral("Top.fsm"), twoStates(QStringLiteral("Top"), QStringLiteral("Near();")));
    write(QStringLiteral("Near.fsm"), twoStates(QStringLiteral("Near"), QString()));
    FsmDocument* top = source.top(path(QStringLiteral("Top.fsm")));
    ASSERT_NE(top, nullptr);
    const QString nearPath = QDir::cleanPath(path(QStringLiteral("Near.fsm")));
    FailingSource failing(source, nearPath);
    EXPECT_FALSE(HierarchicalGenerator::generate(*top, failing, messenger));
    EXPECT_EQ(messenger.texts,
              QStringList{HierarchicalGenerator::kMsgChildNotOpened + u'[' + nearPath + u']'
                          + QStringLiteral("\r\nthe file is locked")});
}

TEST_F(HierarchicalTree, CallsBackToAnAncestorEndTheWalk)
{
    // Top calls itself and X; X calls Y; Y calls X and Top: all beside each other.
    write(QStringLiteral("Top.fsm"),
          twoStates(QStringLiteral("Top"), QStringLiteral("X();\r\nTop();")));
    write(QStringLiteral("X.fsm"), twoStates(QStringLiteral("X"), QStringLiteral("Y();")));
    write(QStringLiteral("Y.fsm"),
          twoStates(QStringLiteral("Y"), QStringLiteral("X();\r\nTop();")));
    const CodeAndHeader parts = split(generate(QStringLiteral("Top.fsm")));
    ASSERT_TRUE(parts.ok);
    EXPECT_TRUE(messenger.texts.isEmpty());
    EXPECT_EQ(parts.code.count(QStringLiteral("\r\nvoid Top(void)\r\n")), 1);
    EXPECT_EQ(parts.code.count(QStringLiteral("static void X(void)\r\n")), 1);
    EXPECT_EQ(parts.code.count(QStringLiteral("static void Y(void)\r\n")), 1);
    // Top's children are "Top.fsm" (skipped, position 1) and "X.fsm".
    EXPECT_TRUE(parts.code.contains(QStringLiteral("static unsigned char ind_2_X = i_2_S1;")));
    EXPECT_TRUE(parts.code.contains(QStringLiteral("static unsigned char ind_2_1_Y = i_2_1_S1;")));
}

TEST_F(HierarchicalTree, SameNameInTwoFoldersIsOneFunctionOnlyWhenTheDiagramsAreCopies)
{
    write(QStringLiteral("Top.fsm"),
          twoStates(QStringLiteral("Top"), QStringLiteral("A();\r\nB();")));
    write(QStringLiteral("A.fsm"), twoStates(QStringLiteral("A"), QStringLiteral("Timer();")));
    write(QStringLiteral("B.fsm"), twoStates(QStringLiteral("B"), QStringLiteral("Timer();")));
    write(QStringLiteral("A/Timer.fsm"),
          twoStates(QStringLiteral("Timer"), QStringLiteral("tick();")));
    write(QStringLiteral("B/Timer.fsm"),
          twoStates(QStringLiteral("Timer"), QStringLiteral("tick();")));
    const CodeAndHeader parts = split(generate(QStringLiteral("Top.fsm")));
    ASSERT_TRUE(parts.ok);
    EXPECT_TRUE(messenger.texts.isEmpty());
    EXPECT_EQ(parts.code.count(QStringLiteral("static void Timer(void)\r\n")), 1);
    EXPECT_TRUE(parts.code.contains(QStringLiteral("ind_1_1_Timer")));
    EXPECT_FALSE(parts.code.contains(QStringLiteral("ind_2_1_Timer")));

    // A different machine under the same name would silently be left out.
    write(QStringLiteral("B/Timer.fsm"),
          twoStates(QStringLiteral("Timer"), QStringLiteral("tock();")));
    source = FileChildSource();
    EXPECT_FALSE(generate(QStringLiteral("Top.fsm")));
    EXPECT_EQ(messenger.texts,
              QStringList{HierarchicalGenerator::kMsgNameClash + QStringLiteral("[Timer]\r\n")
                          + QDir::cleanPath(path(QStringLiteral("A/Timer.fsm")))
                          + QStringLiteral("\r\n")
                          + QDir::cleanPath(path(QStringLiteral("B/Timer.fsm")))});
}

TEST_F(HierarchicalTree, TopDocumentDecidesDebugBitFieldsRemarksAndComments)
{
    write(QStringLiteral("Top.fsm"), twoStates(QStringLiteral("Top"), QStringLiteral("Kid();")));
    write(QStringLiteral("Top/Kid.fsm"),
          twoStates(QStringLiteral("Kid"), QString(), true, QStringLiteral("on();")));
    source.adjust = [](FsmDocument& doc) {
        doc.debugInfo = doc.ansiComments = doc.remarksInCode = doc.useBitFields = true;
    };
    const Generated module = generate(QStringLiteral("Top.fsm"), TopOptions{});
    ASSERT_TRUE(module);
    const QString result = module->code + module->header;
    EXPECT_FALSE(result.contains(QStringLiteral("FSM_DEBUG")));
    EXPECT_FALSE(result.contains(QStringLiteral("Diagram comments")));
    EXPECT_FALSE(result.contains(QStringLiteral("/*++")));
    EXPECT_TRUE(result.contains(QStringLiteral("  static unsigned char entryFsmFlg_1 = 0;\r\n")));
}

TEST_F(HierarchicalTree, BitFieldsWithoutEntryActionsNeedNoStructure)
{
    write(QStringLiteral("Top.fsm"), twoStates(QStringLiteral("Top"), QStringLiteral("Kid();")));
    write(QStringLiteral("Top/Kid.fsm"), twoStates(QStringLiteral("Kid"), QString()));
    const QString code =
        split(generate(QStringLiteral("Top.fsm"), TopOptions{false, false, false, true})).code;
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
