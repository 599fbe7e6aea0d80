#include "modLib_Rutas.h"
#include "modStrings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::modStrings;

namespace {
const QString S = kSep;
}

TEST(RecordFields, ReadWriteAndMissingFields)
{
    const QString rec = QStringLiteral("a") + S + QStringLiteral("b\r\nc") + S + S;
    EXPECT_EQ(GetField(rec, 0), QStringLiteral("a"));
    EXPECT_EQ(GetField(rec, 1), QStringLiteral("b\r\nc"));
    EXPECT_EQ(GetField(rec, 2), QString());
    EXPECT_EQ(GetField(rec, 3), QString());  // three separators: k = 3 is empty
    EXPECT_EQ(GetField(rec, 9), QString());
    EXPECT_EQ(GetField(QStringLiteral("no separator"), 0), QString());
    const QStringList f = SplitFields(rec, 5);
    ASSERT_EQ(f.size(), 5);
    EXPECT_EQ(f[1], QStringLiteral("b\r\nc"));
    EXPECT_TRUE(f[4].isEmpty());
    // A middle dot alone is no separator.
    EXPECT_EQ(GetField(QStringLiteral("x\u00B7y") + S, 0), QStringLiteral("x\u00B7y"));
    EXPECT_EQ(SplitFields(JoinFields({"1", "", "three"}), 3), (QStringList{"1", "", "three"}));
    EXPECT_TRUE(JoinFields({"1"}).endsWith(S));
}

TEST(ActionText, IndentsEndsAndHidesLines)
{
    EXPECT_EQ(FormatActionText(QString(), 1, false), QString());
    EXPECT_EQ(FormatActionText(QStringLiteral("a = 1;\r\nb = 2;"), 1, false),
              QStringLiteral(" a = 1;\r\n b = 2;\r\n"));
    // A bare LF is dropped, joining the lines.
    EXPECT_EQ(FormatActionText(QStringLiteral("a\nb"), 0, false), QStringLiteral("ab\r\n"));
    EXPECT_EQ(FormatActionText(QStringLiteral("x = 1; //HIDE_LINE\r\ny = 2;"), 1, false),
              QStringLiteral(" y = 2;\r\n"));
    const QString commented = QStringLiteral("   // only a comment\r\nz = 3; // trailing");
    EXPECT_EQ(FormatActionText(commented, 0, true), QStringLiteral("z = 3; // trailing\r\n"));
    EXPECT_EQ(FormatActionText(commented, 0, false),
              QStringLiteral("   // only a comment\r\nz = 3; // trailing\r\n"));
}

TEST(CommentFilters, CommentOutAndBreakMarks)
{
    EXPECT_EQ(CommentOutLines(QString()), QStringLiteral("// \r\n"));
    EXPECT_EQ(CommentOutLines(QStringLiteral("a\r\nb")), QStringLiteral("// a\r\n// b\r\n"));
    EXPECT_EQ(BreakCommentMarks(QStringLiteral("x = a/b;\nq")), QStringLiteral("x = a/b;\nq"));
    EXPECT_EQ(BreakCommentMarks(QStringLiteral("end */ here")), QStringLiteral("end * / here"));
    EXPECT_EQ(BreakCommentMarks(QStringLiteral("/*/")), QStringLiteral("/ * /"));
    EXPECT_EQ(BreakCommentMarks(QStringLiteral("/* a\r\nb\n */")), QStringLiteral("/ * a\r\nb * /"));
}

TEST(FindInText, CaseAndStart)
{
    EXPECT_EQ(FindInText(QStringLiteral("Hello hello"), QStringLiteral("hello"), true, 0), 6);
    EXPECT_EQ(FindInText(QStringLiteral("Hello hello"), QStringLiteral("hello"), false, 0), 0);
    EXPECT_EQ(FindInText(QStringLiteral("Hello hello"), QStringLiteral("HELLO"), false, 1), 6);
    EXPECT_EQ(FindInText(QStringLiteral("abc"), QStringLiteral("x"), false, 0), -1);
    EXPECT_EQ(FindInText(QStringLiteral("abc"), QStringLiteral("a"), false, 9), -1);
}

TEST(PathHelpers, SplitNames)
{
    using namespace orvane::modLib_Rutas;
    EXPECT_EQ(BaseName(QStringLiteral("/a/b.c.fsm")), QStringLiteral("b.c"));
    EXPECT_EQ(BaseName(QStringLiteral("/a/noext")), QStringLiteral("noext"));
    EXPECT_EQ(FileNameOf(QStringLiteral("/a/b.fsm")), QStringLiteral("b.fsm"));
    EXPECT_EQ(FileNameOf(QStringLiteral("b.fsm")), QStringLiteral("b.fsm"));
    EXPECT_EQ(FolderOf(QStringLiteral("/work/Top/x.fsm")), QStringLiteral("/work/Top"));
    EXPECT_EQ(FolderOf(QStringLiteral("/x.fsm")), QStringLiteral("/"));
    EXPECT_EQ(StripExtension(QStringLiteral("/old.dir/file")), QStringLiteral("/old"));
    EXPECT_EQ(StripExtension(QStringLiteral("/dir/file")), QString());
    EXPECT_EQ(AbsolutePath(QStringLiteral("/abs/x")), QStringLiteral("/abs/x"));
    EXPECT_EQ(AbsolutePath(QStringLiteral("./x.fsm")), QDir::currentPath() + QStringLiteral("/x.fsm"));
    EXPECT_EQ(AbsolutePath(QStringLiteral("x.fsm")), QDir::currentPath() + QStringLiteral("/x.fsm"));
    EXPECT_TRUE(TempFolder().endsWith(QLatin1Char('/')));
}

TEST(PathHelpers, FoldersExistenceAndDelete)
{
    using namespace orvane::modLib_Rutas;
    QTemporaryDir dir;
    const QString deep = dir.filePath("a/b/c/");
    EnsureFolders(deep);
    EXPECT_TRUE(QDir(deep).exists());
    const QString file = dir.filePath("a/f.txt");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QFile::setPermissions(file, QFile::ReadOwner);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.filePath("a/F.txt")));  // names are exact
    EXPECT_TRUE(DeleteFile(file));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(DeleteFile(file));
    EXPECT_FALSE(FileExists(QString()));
}
