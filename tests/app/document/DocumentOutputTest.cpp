#include "AppTestSupport.h"

#include "FsmDocument.h"
#include "DocumentCommands.h"

#include <QFileInfo>

#include <sys/stat.h>

using namespace orvane;
using namespace orvane::DocumentCommands;
using orvane::test::readFile;
using orvane::test::writeFile;

namespace {

GeneratedCode module(const QString& code, const QString& header) { return {code, header}; }

class OutputTest : public test::AppTest {
protected:
    FsmDocument doc;
    void SetUp() override
    {
        AppTest::SetUp();
        doc.filePath = work(QStringLiteral("lamp.fsm"));
    }
};

TEST_F(OutputTest, BatchWritesBesideTheDocumentWithoutADialog)
{
    process().swCS = true;
    process().batchMode = true;
    ASSERT_TRUE(saveCodeFiles(
        doc, ui, module(QStringLiteral("int x; /* \u00E9 */"), QStringLiteral("extern int x;"))));
    EXPECT_EQ(readFile(work(QStringLiteral("lamp.c"))), QByteArray("int x; /* \xC3\xA9 */\r\n"));
    EXPECT_EQ(readFile(work(QStringLiteral("lamp.h"))), QByteArray("extern int x;\r\n"));
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(OutputTest, WithAnOutputFolderTheFilesAreNamedAfterTheTitle)
{
    const QString out = makeDir(QStringLiteral("out"));
    process().swC = true;
    process().outputFolder = out;
    EXPECT_EQ(proposedOutputName(doc, QStringLiteral(".c")), out + QStringLiteral("/lamp.c"));
    ASSERT_TRUE(saveCodeFiles(doc, ui, module(QStringLiteral("c"), QStringLiteral("h"))));
    EXPECT_EQ(readFile(out + QStringLiteral("/lamp.c")), QByteArray("c\r\n"));
    EXPECT_EQ(readFile(out + QStringLiteral("/lamp.h")), QByteArray("h\r\n"));
    EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("lamp.c"))));
}

TEST_F(OutputTest, InteractiveSavesAskForTheNameAndCancelWritesNothing)
{
    const GeneratedCode text = module(QStringLiteral("c"), QStringLiteral("h"));
    EXPECT_FALSE(saveCodeFiles(doc, ui, text));
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, QStringLiteral("Save Finite_State file as Ansi-C File..."));
    EXPECT_EQ(ui.dialogs[0].filter, QStringLiteral("C Files(*.C)|*.c|All Files(*.*)|*.*|"));
    EXPECT_EQ(ui.dialogs[0].proposedName, work(QStringLiteral("lamp.c")));
    EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("lamp.c"))));

    ui.fileNames.push_back(work(QStringLiteral("other.c")));
    ASSERT_TRUE(saveCodeFiles(doc, ui, text));
    EXPECT_EQ(readFile(work(QStringLiteral("other.c"))), QByteArray("c\r\n"));
    EXPECT_EQ(readFile(work(QStringLiteral("other.h"))), QByteArray("h\r\n"));
}

TEST_F(OutputTest, ARefusedGenerationIsReportedAsNotCreated)
{
    process().swCS = true;
    EXPECT_FALSE(saveCodeFiles(doc, ui, std::nullopt));
    EXPECT_TRUE(errorLog().contains(QStringLiteral("]:Code can't be created:[lamp.fsm]\r\n")));
    EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("lamp.c"))));
}

TEST_F(OutputTest, AProtectedCodeFileIsRefused)
{
    const QString c = work(QStringLiteral("lamp.c"));
    writeFile(c, "keep");
    QFile::setPermissions(c, QFile::ReadOwner);
    ui.fileNames.push_back(c);
    EXPECT_FALSE(saveCodeFiles(doc, ui, module(QStringLiteral("c"), QStringLiteral("h"))));
    EXPECT_EQ(readFile(c), QByteArray("keep"));
    EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("lamp.h"))));
    EXPECT_TRUE(errorLog().contains(QStringLiteral("Fsm can't save, access denied to file:[") + c
                                    + QLatin1Char(']')));
    ASSERT_EQ(ui.count(QStringLiteral("message")), 1);
    EXPECT_EQ(ui.shown.back().title, QStringLiteral("Attention!"));
    EXPECT_EQ(ui.shown.back().text, QStringLiteral("I can't save the changes in:\r\n") + c
                                        + QStringLiteral("\r\nPermission denied"));

    // Batch mode tells it too (its user interface writes it on standard
    // error), with no dialog.
    ui.shown.clear();
    process().swCS = true;
    process().batchMode = true;
    EXPECT_FALSE(saveCodeFiles(doc, ui, module(QStringLiteral("c"), QStringLiteral("h"))));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, QStringLiteral("message"));
}

TEST_F(OutputTest, OutputsThatAreNotRegularFilesAreRefusedWithTheReason)
{
    process().swCS = true;
    process().batchMode = true;
    const QString c = work(QStringLiteral("lamp.c"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(c).constData(), 0644), 0);
    EXPECT_FALSE(saveCodeFiles(doc, ui, module(QStringLiteral("c"), QStringLiteral("h"))));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, QStringLiteral("I can't save the changes in:\r\n") + c
                                    + QStringLiteral("\r\nNot a regular file"));
    EXPECT_TRUE(errorLog().contains(QStringLiteral("]:Fsm can't save file:[") + c
                                    + QStringLiteral("]: Not a regular file\r\n")));
    EXPECT_FALSE(QFileInfo(c).isFile());

    // The list file the same way.
    const QString lst = work(QStringLiteral("lamp.lst"));
    ASSERT_TRUE(QDir().mkdir(lst));
    process().swLS = true;
    EXPECT_FALSE(writeListFile(doc, ui, QStringLiteral("[FSM]")));
    EXPECT_TRUE(errorLog().contains(QStringLiteral("]:Fsm can't save file:[") + lst
                                    + QStringLiteral("]: Not a regular file\r\n")));
}

TEST_F(OutputTest, AReadOnlyHeaderIsReplaced)
{
    process().swCS = true;
    const QString h = work(QStringLiteral("lamp.h"));
    writeFile(h, "old");
    QFile::setPermissions(h, QFile::ReadOwner);
    ASSERT_TRUE(saveCodeFiles(doc, ui, module(QStringLiteral("c"), QStringLiteral("h"))));
    EXPECT_EQ(readFile(h), QByteArray("h\r\n"));
}

TEST_F(OutputTest, AHeaderLinkedToAReadOnlyFileIsRefusedAndKeepsItsMode)
{
    process().swCS = true;
    const QString target = work(QStringLiteral("ro.h"));
    writeFile(target, "keep");
    QFile::setPermissions(target, QFile::ReadOwner);
    ASSERT_TRUE(QFile::link(target, work(QStringLiteral("lamp.h"))));
    EXPECT_FALSE(saveCodeFiles(doc, ui, module(QStringLiteral("c"), QStringLiteral("h"))));
    EXPECT_EQ(readFile(target), QByteArray("keep"));
    EXPECT_EQ(QFile::permissions(target) & 0x7077, QFile::Permissions(QFile::ReadOwner));
    EXPECT_TRUE(errorLog().contains(QStringLiteral("Fsm can't save, access denied to file:[")
                                    + work(QStringLiteral("lamp.h")) + QLatin1Char(']')));
}

TEST_F(OutputTest, AFailedWriteIsReportedAndLeavesTheOldFile)
{
    process().swCS = true;
    doc.filePath = work(QString(252, QLatin1Char('z')) + QStringLiteral(".fsm"));
    const QString c = work(QString(252, QLatin1Char('z')) + QStringLiteral(".c"));
    writeFile(c, "old");
    EXPECT_FALSE(saveCodeFiles(doc, ui, module(QStringLiteral("c"), QStringLiteral("h"))));
    EXPECT_EQ(readFile(c), QByteArray("old"));
    EXPECT_TRUE(errorLog().contains(QStringLiteral("]:Fsm can't save file:[") + c
                                    + QStringLiteral("]: File name too long\r\n")))
        << errorLog().toStdString();
    EXPECT_TRUE(debugLog().contains(QStringLiteral(" SaveCodeFiles, Error # 75: ") + c
                                    + QStringLiteral(": File name too long")));
}

TEST_F(OutputTest, TheListFileUsesItsOwnDialogUnlessListSwitchGiven)
{
    EXPECT_FALSE(writeListFile(doc, ui, QStringLiteral("[FSM]")));
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, QStringLiteral("Save As List file..."));
    EXPECT_EQ(ui.dialogs[0].proposedName, work(QStringLiteral("lamp.lst")));

    process().swLS = true;
    process().batchMode = true;
    ASSERT_TRUE(writeListFile(doc, ui, QStringLiteral("[FSM]")));
    EXPECT_EQ(readFile(work(QStringLiteral("lamp.lst"))), QByteArray("[FSM]\r\n"));
    EXPECT_EQ(ui.dialogs.size(), 1u);
}

}  // namespace
