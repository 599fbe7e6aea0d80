#include "CodegenTestSupport.h"
#include "CodeText.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::CodeText;
using namespace orvane::testing;

namespace {

TEST(IndentText, IndentsEveryLineAndKeepsAFinalLineBreak)
{
    EXPECT_EQ(indentText(QString(), 4, true), QString());
    EXPECT_EQ(indentText(QStringLiteral("a\r\nb"), 4, true), QStringLiteral("    a\r\n    b"));
    EXPECT_EQ(indentText(QStringLiteral("a\r\nb"), 4, false), QStringLiteral("a\r\n    b"));
    // The blanks put after the last line break are trimmed away again.
    EXPECT_EQ(indentText(QStringLiteral("a\r\n"), 2, true), QStringLiteral("  a\r\n"));
    // A bare LF joins two lines; a bare CR still breaks the line.
    EXPECT_EQ(indentText(QStringLiteral("a\nb\rc"), 1, true), QStringLiteral(" ab\r\n c"));
    EXPECT_EQ(indentText(QStringLiteral("x;   "), 2, true), QStringLiteral("  x;"));
}

TEST(AnsiCommentLine, KeepsALineWhoseCommentHoldsACommentEnd)
{
    // Converting would end the new comment at the user's "*/".
    EXPECT_EQ(ansiCommentLine(QStringLiteral("x; // a */ b"), 80), QStringLiteral("x; // a */ b"));
    EXPECT_EQ(ansiCommentLine(QStringLiteral("// a */ b"), 80), QStringLiteral("// a */ b"));
}

TEST(ToAnsiComments, LeavesLinesInsideABlockCommentAlone)
{
    const QString text = QStringLiteral("/*\r\nremark // with slashes\r\n*/\r\ny; // after");
    EXPECT_EQ(toAnsiComments(text, 80, false),
              QStringLiteral("/*\r\nremark // with slashes\r\n*/\r\ny; /* after */"));
    // The block opens in the middle of a line; the line that closes it began
    // inside it and stays as it is; the line after is converted again.
    EXPECT_EQ(toAnsiComments(QStringLiteral("x; /* open\r\n// in\r\nclose */ z; // c\r\n// out"),
                             80, false),
              QStringLiteral("x; /* open\r\n// in\r\nclose */ z; // c\r\n/* out")
                  + QString(74, u' ') + QStringLiteral("*/"));
}

TEST(ToAnsiComments, BlockMarksInCommentsAndLiteralsOpenNothing)
{
    const QString next = QStringLiteral("\r\n// next");
    const QString converted =
        QStringLiteral("\r\n/* next") + QString(73, u' ') + QStringLiteral("*/");
    // In a line comment.
    EXPECT_TRUE(
        toAnsiComments(QStringLiteral("// see /* here") + next, 80, false).endsWith(converted));
    // In a string literal, with an escaped quote before the mark.
    EXPECT_TRUE(
        toAnsiComments(QStringLiteral("s = \"a\\\"/*\";") + next, 80, false).endsWith(converted));
    // In a character literal.
    EXPECT_TRUE(
        toAnsiComments(QStringLiteral("c = '/'; d = '*';") + next, 80, false).endsWith(converted));
    // A quote character does not start a string.
    EXPECT_EQ(toAnsiComments(QStringLiteral("c = '\"'; /* open") + next, 80, false),
              QStringLiteral("c = '\"'; /* open") + next);
}

TEST(ParameterNames, ListsTheNamesOfAParameterList)
{
    EXPECT_EQ(parameterNames(QStringLiteral("int a, char *p")), QStringLiteral("a,p"));
    EXPECT_EQ(parameterNames(QStringLiteral("void")), QString());
    EXPECT_EQ(parameterNames(QStringLiteral("int a")), QStringLiteral("a"));
    EXPECT_EQ(parameterNames(QStringLiteral("int a,int b")), QStringLiteral("a,b"));
    EXPECT_EQ(parameterNames(QStringLiteral("const char **names, unsigned long n")),
              QStringLiteral("names,n"));
    EXPECT_EQ(parameterNames(QStringLiteral("void *ctx")), QStringLiteral("ctx"));
}

TEST(SmallHelpers, BehaveAtTheirEdges)
{
    // Tabs stop at multiples of the width, counted from the last line break.
    EXPECT_EQ(expandTabs(QStringLiteral("abcd\te\r\n\tf\n"), 4),
              QStringLiteral("abcd    e\r\n    f"));
    EXPECT_EQ(expandTabs(QStringLiteral("no tab\n"), 4), QStringLiteral("no tab\n"));
    EXPECT_EQ(unquote(QStringLiteral("\"")), QStringLiteral("\""));
    EXPECT_EQ(trimLastLineBreak(QStringLiteral("a\r\n\r\n")), QStringLiteral("a\r\n"));
    for (const char* bad : {"", "2go", "a-b", "a/b", "a,b"})
        EXPECT_FALSE(isValidIdentifier(QLatin1String(bad))) << bad;
}

// Child diagrams are found by file: beside the document and in its folder.
class ChildLookup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Top")));
        for (const char* f : {"B.fsm", "X_B.fsm", "A.fsm", "Top/A.fsm"})
            touch(dir.filePath(QLatin1String(f)));
        docPath = dir.filePath(QStringLiteral("Top.fsm"));
    }
    static void touch(const QString& path)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QTemporaryDir dir;
    QString docPath;
    const DiskChildren disk;
};

TEST_F(ChildLookup, InitListNamesEveryChildOnceInDiagramOrder)
{
    Diagram d;
    DiagramBuilder b(d);
    StateTexts first;
    first.elseAction = QStringLiteral("X_B();");
    b.state(QStringLiteral("S1"), 0x4000, QStringLiteral("1"), first);
    StateTexts second;
    second.during = QStringLiteral("B();\r\nA();");
    b.state(QStringLiteral("S2"), 0x2000, QStringLiteral("2"), second);
    StateTexts third;
    third.during = QStringLiteral("B(1);");
    b.state(QStringLiteral("S3"), 0x10000, QStringLiteral("3"), third);
    // A.fsm exists in both places, yet its init call is listed once; _B_Init()
    // is not mistaken for a part of _X_B_Init().
    EXPECT_EQ(childrenInitList(d, docPath, disk),
              QStringLiteral("_X_B_Init(); _A_Init(); _B_Init();"));
}

TEST_F(ChildLookup, StateBlockKeepsDuplicatesAndIsEmptyWithoutChildren)
{
    const QStringList children =
        stateChildren(docPath, QStringLiteral("A();"), QStringLiteral("none();"), disk);
    EXPECT_EQ(children, (QStringList{QStringLiteral("A"), QStringLiteral("A")}));
    EXPECT_EQ(childInitBlock(children, 16),
              QString(16, u' ') + QStringLiteral("// Child Initialization.\r\n") + QString(16, u' ')
                  + QStringLiteral("_A_Init();\r\n") + QString(16, u' ')
                  + QStringLiteral("_A_Init();\r\n"));
    EXPECT_EQ(childInitBlock(stateChildren(docPath, QStringLiteral("none();"), QString(), disk), 8),
              QString());
    Diagram empty;
    EXPECT_EQ(childrenInitList(empty, docPath, disk), QString());
}

// The generators learn which child diagrams exist from their caller only.
class NamedChildren : public ChildDocumentSource {
public:
    bool exists(const QString& fullPath) const override
    {
        return fullPath.endsWith(QLatin1String("/Ghost.fsm"))
               && !fullPath.contains(QLatin1String("/Top/"));
    }
    const FsmDocument* openChild(const QString&, QString*) override { return nullptr; }
};

TEST_F(ChildLookup, ChildrenAreTheOnesTheSourceKnows)
{
    const NamedChildren source;
    // No Ghost.fsm is on disk, and A.fsm is: the source decides.
    EXPECT_EQ(stateChildren(docPath, QStringLiteral("Ghost(); A();"), QString(), source),
              (QStringList{QStringLiteral("Ghost")}));
}

}  // namespace
