#include "AppTestSupport.h"

#include "FsmDocument.h"
#include "modMain_Files.h"

#include <QFileInfo>

using namespace orvane;
using namespace orvane::modMain;
using orvane::test::ReadFile;
using orvane::test::WriteFile;

namespace {

const QString kSep = modStrings::kSep;

class OutputTest : public test::AppTest {
protected:
    FsmDocument doc;
    void SetUp() override
    {
        AppTest::SetUp();
        doc.sFullDocname = Work(QStringLiteral("lamp.fsm"));
    }
};

TEST(SplitGeneratedCode, UsesTheLastTwoSeparators)
{
    const CodeParts p = SplitGeneratedCode(QStringLiteral("code") + kSep + QStringLiteral("header") + kSep);
    EXPECT_EQ(p.code, QStringLiteral("code"));
    EXPECT_EQ(p.header, QStringLiteral("header"));

    // A remark in the code may hold the separator.
    const CodeParts r = SplitGeneratedCode(QStringLiteral("a") + kSep + QStringLiteral("b") + kSep
                                           + QStringLiteral("h") + kSep);
    EXPECT_EQ(r.code, QStringLiteral("a") + kSep + QStringLiteral("b"));
    EXPECT_EQ(r.header, QStringLiteral("h"));

    const CodeParts none = SplitGeneratedCode(QStringLiteral("no separator"));
    EXPECT_TRUE(none.code.isEmpty() && none.header.isEmpty());
    const CodeParts one = SplitGeneratedCode(QStringLiteral("code") + kSep);
    EXPECT_EQ(one.code, QStringLiteral("code"));
    EXPECT_TRUE(one.header.isEmpty());
    // Separators that share a character do not make a negative header.
    const CodeParts overlap = SplitGeneratedCode(QStringLiteral("x\u00B7 \u00B7 \u00B7"));
    EXPECT_EQ(overlap.code, QStringLiteral("x\u00B7 "));
    EXPECT_TRUE(overlap.header.isEmpty());
}

TEST_F(OutputTest, BatchWritesBesideTheDocumentWithoutADialog)
{
    Process().swCS = true;
    Process().batchMode = true;
    const QString text = QStringLiteral("int x; /* \u00E9 */") + kSep + QStringLiteral("extern int x;") + kSep;
    ASSERT_TRUE(SaveCodeFiles(doc, ui, text));
    EXPECT_EQ(ReadFile(Work(QStringLiteral("lamp.c"))), QByteArray("int x; /* \xC3\xA9 */\r\n"));
    EXPECT_EQ(ReadFile(Work(QStringLiteral("lamp.h"))), QByteArray("extern int x;\r\n"));
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(OutputTest, WithAnOutputFolderTheFilesAreNamedAfterTheTitle)
{
    const QString out = MakeDir(QStringLiteral("out"));
    Process().swC = true;
    Process().outputFolder = out;
    EXPECT_EQ(ProposedOutputName(doc, QStringLiteral(".c")), out + QStringLiteral("/lamp.c"));
    ASSERT_TRUE(SaveCodeFiles(doc, ui, QStringLiteral("no separator")));
    EXPECT_EQ(ReadFile(out + QStringLiteral("/lamp.c")), QByteArray("\r\n"));
    EXPECT_EQ(ReadFile(out + QStringLiteral("/lamp.h")), QByteArray("\r\n"));
    EXPECT_FALSE(QFileInfo::exists(Work(QStringLiteral("lamp.c"))));
}

TEST_F(OutputTest, InteractiveSavesAskForTheNameAndCancelWritesNothing)
{
    const QString text = QStringLiteral("c") + kSep + QStringLiteral("h") + kSep;
    EXPECT_FALSE(SaveCodeFiles(doc, ui, text));
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, QStringLiteral("Save Finite_State file as Ansi-C File..."));
    EXPECT_EQ(ui.dialogs[0].filter, QStringLiteral("C Files(*.C)|*.c|All Files(*.*)|*.*|"));
    EXPECT_EQ(ui.dialogs[0].proposedName, Work(QStringLiteral("lamp.c")));
    EXPECT_FALSE(QFileInfo::exists(Work(QStringLiteral("lamp.c"))));

    ui.fileNames.push_back(Work(QStringLiteral("other.c")));
    ASSERT_TRUE(SaveCodeFiles(doc, ui, text));
    EXPECT_EQ(ReadFile(Work(QStringLiteral("other.c"))), QByteArray("c\r\n"));
    EXPECT_EQ(ReadFile(Work(QStringLiteral("other.h"))), QByteArray("h\r\n"));
}

TEST_F(OutputTest, EmptyTextIsReportedAsNotCreated)
{
    Process().swCS = true;
    EXPECT_FALSE(SaveCodeFiles(doc, ui, QString()));
    EXPECT_TRUE(ErrorLog().contains(QStringLiteral("]:Code can't be created:[lamp.fsm]\r\n")));
    EXPECT_FALSE(QFileInfo::exists(Work(QStringLiteral("lamp.c"))));
}

TEST_F(OutputTest, AProtectedCodeFileIsRefused)
{
    const QString c = Work(QStringLiteral("lamp.c"));
    WriteFile(c, "keep");
    QFile::setPermissions(c, QFile::ReadOwner);
    ui.fileNames.push_back(c);
    EXPECT_FALSE(SaveCodeFiles(doc, ui, QStringLiteral("c") + kSep + QStringLiteral("h") + kSep));
    EXPECT_EQ(ReadFile(c), QByteArray("keep"));
    EXPECT_FALSE(QFileInfo::exists(Work(QStringLiteral("lamp.h"))));
    EXPECT_TRUE(ErrorLog().contains(QStringLiteral("Fsm can't save, access denied to file:[") + c + QLatin1Char(']')));
    ASSERT_EQ(ui.count(QStringLiteral("message")), 1);
    EXPECT_EQ(ui.shown.back().title, QStringLiteral("Attention!"));

    // Batch mode reports it to the error log only.
    ui.shown.clear();
    Process().swCS = true;
    EXPECT_FALSE(SaveCodeFiles(doc, ui, QStringLiteral("c") + kSep + QStringLiteral("h") + kSep));
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(OutputTest, AReadOnlyHeaderIsReplaced)
{
    Process().swCS = true;
    const QString h = Work(QStringLiteral("lamp.h"));
    WriteFile(h, "old");
    QFile::setPermissions(h, QFile::ReadOwner);
    ASSERT_TRUE(SaveCodeFiles(doc, ui, QStringLiteral("c") + kSep + QStringLiteral("h") + kSep));
    EXPECT_EQ(ReadFile(h), QByteArray("h\r\n"));
}

TEST_F(OutputTest, AFailedWriteIsReportedAndLeavesTheOldFile)
{
    Process().swCS = true;
    doc.sFullDocname = Work(QString(252, QLatin1Char('z')) + QStringLiteral(".fsm"));
    const QString c = Work(QString(252, QLatin1Char('z')) + QStringLiteral(".c"));
    WriteFile(c, "old");
    EXPECT_FALSE(SaveCodeFiles(doc, ui, QStringLiteral("c") + kSep + QStringLiteral("h") + kSep));
    EXPECT_EQ(ReadFile(c), QByteArray("old"));
    EXPECT_TRUE(ErrorLog().contains(QStringLiteral("Fsm can't save, access denied to file:[") + c + QLatin1Char(']')));
}

TEST_F(OutputTest, TheListFileUsesItsOwnDialogUnlessListSwitchGiven)
{
    EXPECT_FALSE(GenerarListado(doc, ui, QStringLiteral("[FSM]")));
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, QStringLiteral("Save As List file..."));
    EXPECT_EQ(ui.dialogs[0].proposedName, Work(QStringLiteral("lamp.lst")));

    Process().swLS = true;
    Process().batchMode = true;
    ASSERT_TRUE(GenerarListado(doc, ui, QStringLiteral("[FSM]")));
    EXPECT_EQ(ReadFile(Work(QStringLiteral("lamp.lst"))), QByteArray("[FSM]\r\n"));
    EXPECT_EQ(ui.dialogs.size(), 1u);
}

}  // namespace
