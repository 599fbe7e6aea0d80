#include "Paths.h"
#include "Texts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::Texts;

namespace {
const QString S = kSep;
}

TEST(RecordFields, ReadWriteAndMissingFields)
{
    const QString rec = QStringLiteral("a") + S + QStringLiteral("b\r\nc") + S + S;
    EXPECT_EQ(getField(rec, 0), QStringLiteral("a"));
    EXPECT_EQ(getField(rec, 1), QStringLiteral("b\r\nc"));
    EXPECT_EQ(getField(rec, 2), QString());
    EXPECT_EQ(getField(rec, 3), QString());  // three separators: k = 3 is empty
    EXPECT_EQ(getField(rec, 9), QString());
    EXPECT_EQ(getField(QStringLiteral("no separator"), 0), QString());
    const QStringList f = splitFields(rec, 5);
    ASSERT_EQ(f.size(), 5);
    EXPECT_EQ(f[1], QStringLiteral("b\r\nc"));
    EXPECT_TRUE(f[4].isEmpty());
    // A middle dot alone is no separator.
    EXPECT_EQ(getField(QStringLiteral("x\u00B7y") + S, 0), QStringLiteral("x\u00B7y"));
    EXPECT_EQ(splitFields(joinFields({"1", "", "three"}), 3), (QStringList{"1", "", "three"}));
    EXPECT_TRUE(joinFields({"1"}).endsWith(S));
}

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

TEST(CommentFilters, CommentOutAndBreakMarks)
{
    EXPECT_EQ(commentOutLines(QString()), QStringLiteral("// \r\n"));
    EXPECT_EQ(commentOutLines(QStringLiteral("a\r\nb")), QStringLiteral("// a\r\n// b\r\n"));
    EXPECT_EQ(breakCommentMarks(QStringLiteral("x = a/b;\nq")), QStringLiteral("x = a/b;\nq"));
    EXPECT_EQ(breakCommentMarks(QStringLiteral("end */ here")), QStringLiteral("end * / here"));
    EXPECT_EQ(breakCommentMarks(QStringLiteral("/*/")), QStringLiteral("/ * /"));
    EXPECT_EQ(breakCommentMarks(QStringLiteral("/* a\r\nb\n */")), QStringLiteral("/ * a\r\nb * /"));
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
    EXPECT_EQ(absolutePath(QStringLiteral("./x.fsm")), QDir::currentPath() + QStringLiteral("/x.fsm"));
    EXPECT_EQ(absolutePath(QStringLiteral("x.fsm")), QDir::currentPath() + QStringLiteral("/x.fsm"));
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
