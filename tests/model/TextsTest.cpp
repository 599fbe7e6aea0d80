#include "Paths.h"
#include "Texts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::Texts;

TEST(ActionText, IndentsEndsAndHidesLines)
{
    EXPECT_EQ(formatActionText(QString(), 1, false), QString());
    EXPECT_EQ(formatActionText(QStringLiteral("a = 1;\r\nb = 2;"), 1, false),
              QStringLiteral(" a = 1;\r\n b = 2;\r\n"));
    // A bare LF is dropped, joining the lines.
    EXPECT_EQ(formatActionText(QStringLiteral("a\nb"), 0, false), QStringLiteral("ab\r\n"));
    EXPECT_EQ(formatActionText(QStringLiteral("x = 1; //HIDE_LINE\r\ny = 2;"), 1, false),
              QStringLiteral(" y = 2;\r\n"));
    const QString commented = QStringLiteral("   // only a comment\r\nz = 3; // trailing");
    EXPECT_EQ(formatActionText(commented, 0, true), QStringLiteral("z = 3; // trailing\r\n"));
    EXPECT_EQ(formatActionText(commented, 0, false),
              QStringLiteral("   // only a comment\r\nz = 3; // trailing\r\n"));
}

// Long texts go in with room made for them first; what comes out must be
// what short texts give, line for line, whatever the string held before.
TEST(ActionText, LongTextsAppendAsShortOnesDo)
{
    QString action, expectedFormatted, expectedIndented;
    for (int i = 0; action.size() < 200000; ++i) {
        const QString line = QStringLiteral("step(%1);  ").arg(i);
        action += line + QStringLiteral("\r\n");
        expectedFormatted += line + QStringLiteral("\r\n");
        expectedIndented += QStringLiteral("    ") + line + QStringLiteral("\r\n");
    }
    // The final break opens one more, empty, line: formatted it is a line
    // break of its own; indented its blanks go with the trailing ones.
    expectedFormatted += QStringLiteral("\r\n");

    QString label = QStringLiteral("[1]");
    label += QLatin1Char('/');
    appendFormattedActionText(label, action, 0, false);
    EXPECT_EQ(label, QStringLiteral("[1]/") + expectedFormatted);
    EXPECT_EQ(formatActionText(action, 0, false), expectedFormatted);

    // Blanks already in the string stay, even when the long text is only
    // blanks and breaks.
    QString out = QStringLiteral("x  ");
    appendIndented(out, action, 4, true);
    EXPECT_EQ(out, QStringLiteral("x  ") + expectedIndented);
    QString blanks = QStringLiteral("y ");
    appendIndented(blanks, QString(100000, QLatin1Char(' ')), 2, true);
    EXPECT_EQ(blanks, QStringLiteral("y "));

    // Several long texts in a row, and short ones between them.
    QString many, expectedMany;
    for (int k = 0; k < 5; ++k) {
        appendIndented(many, action, 4, true);
        appendIndented(many, QStringLiteral("tail;"), 1, true);
        expectedMany += expectedIndented + QStringLiteral(" tail;");
    }
    EXPECT_EQ(many, expectedMany);
}

TEST(CommentFilters, CommentOutAndBreakMarks)
{
    EXPECT_EQ(commentOutLines(QString()), QStringLiteral("// \r\n"));
    EXPECT_EQ(commentOutLines(QStringLiteral("a\r\nb")), QStringLiteral("// a\r\n// b\r\n"));
    EXPECT_EQ(breakCommentMarks(QStringLiteral("x = a/b;\nq")), QStringLiteral("x = a/b;\nq"));
    EXPECT_EQ(breakCommentMarks(QStringLiteral("end */ here")), QStringLiteral("end * / here"));
    EXPECT_EQ(breakCommentMarks(QStringLiteral("/*/")), QStringLiteral("/ * /"));
    EXPECT_EQ(breakCommentMarks(QStringLiteral("/* a\r\nb\n */")),
              QStringLiteral("/ * a\r\nb * /"));
}

TEST(FindInText, CaseAndStart)
{
    EXPECT_EQ(findInText(QStringLiteral("Hello hello"), QStringLiteral("hello"), true, 0), 6);
    EXPECT_EQ(findInText(QStringLiteral("Hello hello"), QStringLiteral("hello"), false, 0), 0);
    EXPECT_EQ(findInText(QStringLiteral("Hello hello"), QStringLiteral("HELLO"), false, 1), 6);
    EXPECT_EQ(findInText(QStringLiteral("abc"), QStringLiteral("x"), false, 0), -1);
    EXPECT_EQ(findInText(QStringLiteral("abc"), QStringLiteral("a"), false, 9), -1);
}

TEST(PathHelpers, SplitNames)
{
    using namespace orvane::Paths;
    EXPECT_EQ(baseName(QStringLiteral("/a/b.c.fsm")), QStringLiteral("b.c"));
    EXPECT_EQ(baseName(QStringLiteral("/a/noext")), QStringLiteral("noext"));
    EXPECT_EQ(fileNameOf(QStringLiteral("/a/b.fsm")), QStringLiteral("b.fsm"));
    EXPECT_EQ(fileNameOf(QStringLiteral("b.fsm")), QStringLiteral("b.fsm"));
    EXPECT_EQ(folderOf(QStringLiteral("/work/Top/x.fsm")), QStringLiteral("/work/Top"));
    EXPECT_EQ(folderOf(QStringLiteral("/x.fsm")), QStringLiteral("/"));
    EXPECT_EQ(stripExtension(QStringLiteral("/old.dir/file")), QStringLiteral("/old"));
    EXPECT_EQ(stripExtension(QStringLiteral("/dir/file")), QString());
    EXPECT_EQ(absolutePath(QStringLiteral("/abs/x")), QStringLiteral("/abs/x"));
    EXPECT_EQ(absolutePath(QStringLiteral("./x.fsm")),
              QDir::currentPath() + QStringLiteral("/x.fsm"));
    EXPECT_EQ(absolutePath(QStringLiteral("x.fsm")),
              QDir::currentPath() + QStringLiteral("/x.fsm"));
    EXPECT_TRUE(tempFolder().endsWith(QLatin1Char('/')));
}

TEST(PathHelpers, FoldersExistenceAndDelete)
{
    using namespace orvane::Paths;
    QTemporaryDir dir;
    const QString deep = dir.filePath("a/b/c/");
    ensureFolders(deep);
    EXPECT_TRUE(QDir(deep).exists());
    const QString file = dir.filePath("a/f.txt");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QFile::setPermissions(file, QFile::ReadOwner);
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(fileExists(dir.filePath("a/F.txt")));  // names are exact
    EXPECT_TRUE(deleteFile(file));
    EXPECT_FALSE(fileExists(file));
    EXPECT_FALSE(deleteFile(file));
    EXPECT_FALSE(fileExists(QString()));
}
