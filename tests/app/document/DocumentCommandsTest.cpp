#include "AppTestSupport.h"

#include "MachineInfo.h"
#include "DocumentCommands.h"

#include <QFileInfo>
#include <QRegularExpression>

using namespace orvane;
using namespace orvane::DocumentCommands;
using orvane::test::readFile;
using orvane::test::writeFile;

namespace {

class FilesTest : public test::AppTest {};

// ------------------------------------------------------------ new

TEST_F(FilesTest, NewDocumentsAreNumberedInTheCurrentFolder)
{
    Document* a = fileNew(*docs, true);
    Document* b = fileNew(*docs, true);
    const QRegularExpression name(QStringLiteral("^FSM_(\\d{4})$"));
    const auto ma = name.match(a->caption());
    const auto mb = name.match(b->caption());
    ASSERT_TRUE(ma.hasMatch()) << a->caption().toStdString();
    ASSERT_TRUE(mb.hasMatch());
    EXPECT_EQ(mb.captured(1).toInt(), ma.captured(1).toInt() + 1);
    EXPECT_EQ(a->fsm.filePath, work(a->caption() + QStringLiteral(".fsm")));
    EXPECT_TRUE(a->fsm.isNew);
    EXPECT_EQ(docs->active(), b);
    EXPECT_FALSE(a->undo.canUndo());
}

TEST_F(FilesTest, NewChildAsksBeforeCreatingTheChildFolder)
{
    Document* parent = openUnlocked(writeDiagram(QStringLiteral("Top.fsm")));
    const QString folder = work(QStringLiteral("Top"));

    ui.answers.push_back(Answer::No);
    EXPECT_EQ(fileNewChild(*docs, *parent), nullptr);
    ASSERT_EQ(ui.count(QStringLiteral("yesno")), 1);
    EXPECT_EQ(ui.shown.back().title, QStringLiteral("Attention a chid dir must be created"));
    EXPECT_EQ(ui.shown.back().text, QStringLiteral("path:\"") + folder + QLatin1Char('"'));
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(docs->count(), 1);

    ui.answers.push_back(Answer::Yes);
    Document* child = fileNewChild(*docs, *parent);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QFileInfo(child->fsm.filePath).absolutePath(), folder);

    // The folder exists now: no second question.
    ASSERT_NE(fileNewChild(*docs, *parent), nullptr);
    EXPECT_EQ(ui.count(QStringLiteral("yesno")), 2);
}

// ------------------------------------------------------------ open

TEST_F(FilesTest, OpeningByPathLocksAndLeavesTheDocumentUnchanged)
{
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    const OpenResult r = fileOpen(*docs, path);
    ASSERT_EQ(r.status, OpenStatus::Opened);
    Document* doc = r.document;
    EXPECT_EQ(doc->caption(), QStringLiteral("lamp"));
    EXPECT_EQ(doc->fsm.filePath, path);
    EXPECT_TRUE(doc->fsm.diagram().readOnly());
    EXPECT_FALSE(doc->undo.graphHasChanged());
    EXPECT_FALSE(doc->fsm.isNew);
    EXPECT_EQ(doc->fsm.defaultMethodology, Methodology::SwitchCase);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(FilesTest, TheOpenDialogsReadOnlyBoxIsTheLockChoice)
{
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    Document* doc = openUnlocked(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->fsm.diagram().readOnly());
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].filter, QStringLiteral("Fsm Files(*.FSM)|*.fsm|"));
    EXPECT_EQ(ui.dialogs[0].defaultExtension, QStringLiteral("FSM"));

    // Cancelling the dialog opens nothing.
    EXPECT_EQ(fileOpen(*docs, QString()).status, OpenStatus::Cancelled);
    EXPECT_EQ(docs->count(), 1);
}

TEST_F(FilesTest, AFileAlreadyOpenUnderAnotherSpellingIsActivated)
{
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    QFile::link(path, work(QStringLiteral("alias.fsm")));
    Document* first = fileOpen(*docs, path).document;
    fileNew(*docs, true);

    for (const QString& other : {QStringLiteral("./lamp.fsm"), QStringLiteral("sub/../lamp.fsm"),
                                 work(QStringLiteral("alias.fsm"))}) {
        const OpenResult r = fileOpen(*docs, other);
        EXPECT_EQ(r.status, OpenStatus::AlreadyOpen) << other.toStdString();
        EXPECT_EQ(r.document, first);
        EXPECT_EQ(docs->active(), first);
    }
    EXPECT_EQ(docs->count(), 2);
}

TEST_F(FilesTest, AMissingFileDoesNothing)
{
    const OpenResult r = fileOpen(*docs, work(QStringLiteral("nothing.fsm")));
    EXPECT_EQ(r.status, OpenStatus::Missing);
    EXPECT_EQ(docs->count(), 0);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(FilesTest, AFileThatDoesNotLoadLeavesAnEmptyUnnamedDocument)
{
    const QString path = work(QStringLiteral("broken.fsm"));
    writeFile(path, "this is not a diagram");
    const OpenResult r = fileOpen(*docs, path);
    ASSERT_EQ(r.status, OpenStatus::LoadFailed);
    ASSERT_NE(r.document, nullptr);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(r.document->caption().isEmpty());
    EXPECT_TRUE(r.document->fsm.filePath.isEmpty());
    EXPECT_TRUE(debugLog().contains(QStringLiteral(" FileOpen, Error # 61704: ")));

    // Drawing into it and saving asks for a name; the broken file stays.
    edit(*r.document);
    EXPECT_FALSE(fileSave(*docs, *r.document));
    EXPECT_EQ(ui.count(QStringLiteral("save")), 1);
    EXPECT_EQ(readFile(path), QByteArray("this is not a diagram"));

    // Without a caption the close prompt has only its question.
    ui.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(closeDocument(*docs, *r.document));
    EXPECT_EQ(ui.shown.back().text, QStringLiteral("Do you want to save the changes?"));
}

TEST_F(FilesTest, ANewerSignatureAsksAndNoClosesTheDocument)
{
    const QString path = writeDiagram(QStringLiteral("new.fsm"), QStringLiteral("FSM V0.5"));
    ui.answers.push_back(Answer::No);
    const OpenResult r = fileOpen(*docs, path);
    EXPECT_EQ(r.status, OpenStatus::Declined);
    EXPECT_EQ(docs->count(), 0);
    ASSERT_EQ(ui.count(QStringLiteral("yesno")), 1);
    const auto& q = ui.shown.back();
    EXPECT_EQ(q.title, QStringLiteral("The file signature don't match: [FSM V0.5]"));
    EXPECT_EQ(q.text,
              QStringLiteral("Atention this FSM has newer signature.\r\n Ignore and continue?"));
    EXPECT_EQ(q.icon, MessageIcon::Critical);
    EXPECT_EQ(q.defaultButton, Answer::No);
    EXPECT_TRUE(snapshots().isEmpty());

    ui.answers.push_back(Answer::Yes);
    EXPECT_EQ(fileOpen(*docs, path).status, OpenStatus::Opened);
}

TEST_F(FilesTest, OlderEqualOrMissingSignaturesOpenSilently)
{
    int i = 0;
    for (const QString& sig :
         {QStringLiteral("FSM V0.4b"), QStringLiteral("FSM V0.4c"), QString()}) {
        const QString path = writeDiagram(QStringLiteral("s%1.fsm").arg(++i), sig);
        EXPECT_EQ(fileOpen(*docs, path).status, OpenStatus::Opened) << sig.toStdString();
    }
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(FilesTest, BatchModeAnswersNoToANewerSignature)
{
    process().batchMode = true;
    BatchUserInterface batchUi;
    DocumentRegistry batchDocs(batchUi);
    const QString path = writeDiagram(QStringLiteral("new.fsm"), QStringLiteral("FSM V1.0"));
    EXPECT_EQ(fileOpen(batchDocs, path).status, OpenStatus::Declined);
    EXPECT_EQ(batchDocs.count(), 0);
}

// ------------------------------------------------------------ save

TEST_F(FilesTest, SavingTwiceKeepsThePreviousContentsInTheBackup)
{
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    const QByteArray original = readFile(path);
    Document* doc = openUnlocked(path);

    edit(*doc);
    ASSERT_TRUE(fileSave(*docs, *doc));
    EXPECT_EQ(readFile(path + QStringLiteral(".bak")), original);
    const QByteArray first = readFile(path);
    EXPECT_NE(first, original);
    EXPECT_TRUE(doc->fsm.lastSaveSucceeded);
    EXPECT_FALSE(doc->undo.graphHasChanged());

    edit(*doc);
    ASSERT_TRUE(fileSave(*docs, *doc));
    EXPECT_EQ(readFile(path + QStringLiteral(".bak")), first);
    EXPECT_NE(readFile(path), first);

    // The saved file reads back with its records and no leftover info node.
    Diagram check;
    ASSERT_TRUE(check.loadFile(path, nullptr));
    EXPECT_EQ(machineConfig(doc->fsm.diagram()).name, QStringLiteral("lamp"));
    for (const auto& n : doc->fsm.diagram().nodes())
        EXPECT_EQ(n->userData() & 0x200, 0);
}

TEST_F(FilesTest, AReadOnlyFileIsNeverOverwrittenNorItsBackupTouched)
{
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    const QByteArray original = readFile(path);
    writeFile(path + QStringLiteral(".bak"), "old backup");
    Document* doc = openUnlocked(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    edit(*doc);
    EXPECT_EQ(saveDiagram(*docs, *doc), SaveStatus::Refused);
    EXPECT_EQ(readFile(path), original);
    EXPECT_EQ(readFile(path + QStringLiteral(".bak")), QByteArray("old backup"));
    EXPECT_TRUE(doc->undo.graphHasChanged());
    EXPECT_FALSE(doc->fsm.lastSaveSucceeded);
    ASSERT_EQ(ui.count(QStringLiteral("message")), 1);
    EXPECT_EQ(ui.shown.back().title, QStringLiteral("Attention!"));
    EXPECT_EQ(ui.shown.back().text, QStringLiteral("I can't save the changes in:\r\n") + path
                                        + QStringLiteral("\r\nPermission denied"));
    EXPECT_EQ(ui.shown.back().icon, MessageIcon::Exclamation);
    // The texts are drawn again and the info node is gone.
    for (const auto& n : doc->fsm.diagram().nodes())
        EXPECT_EQ(n->userData() & 0x200, 0);
    // A refused write still lists the file.
    EXPECT_EQ(getRecentFiles(*docs), QStringList{path});
}

TEST_F(FilesTest, SavingAnUnchangedDocumentWritesNothing)
{
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    const QByteArray original = readFile(path);
    Document* doc = fileOpen(*docs, path).document;
    EXPECT_TRUE(fileSave(*docs, *doc));
    EXPECT_EQ(readFile(path), original);
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".bak")));
    EXPECT_TRUE(getRecentFiles(*docs).isEmpty());
}

TEST_F(FilesTest, AFailedWriteKeepsTheOldFileAndTheDocumentChanged)
{
    // A name of 250 characters exists, but no temporary file can be made
    // beside it (its name would pass the file system's limit), so the write
    // fails even for a user who may write everywhere.
    const QString path = work(QString(246, QLatin1Char('x')) + QStringLiteral(".fsm"));
    writeDiagram(path);
    const QByteArray original = readFile(path);
    Document* doc = openUnlocked(path);
    ASSERT_NE(doc, nullptr);

    edit(*doc);
    EXPECT_EQ(saveDiagram(*docs, *doc), SaveStatus::Failed);
    EXPECT_EQ(readFile(path), original);
    EXPECT_TRUE(doc->undo.graphHasChanged());
    EXPECT_FALSE(doc->fsm.lastSaveSucceeded);
    EXPECT_TRUE(debugLog().contains(QStringLiteral(" SalvaDiagrama, Error # 75: ")));
    EXPECT_EQ(ui.count(QStringLiteral("message")), 1);
    EXPECT_TRUE(getRecentFiles(*docs).isEmpty());

    // The close prompt's save fails too, so the close is cancelled.
    ui.answers.push_back(Answer::Yes);
    EXPECT_FALSE(closeDocument(*docs, *doc));
    EXPECT_EQ(docs->count(), 1);
}

TEST_F(FilesTest, ANewDocumentIsSavedUnderTheChosenName)
{
    Document* doc = fileNew(*docs, true);
    const QString proposed = doc->fsm.filePath;
    edit(*doc);
    const QString target = work(QStringLiteral("my machine.fsm"));
    ui.fileNames.push_back(target);
    ASSERT_TRUE(fileSave(*docs, *doc));
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].proposedName, proposed);
    EXPECT_EQ(doc->fsm.filePath, target);
    EXPECT_EQ(doc->caption(), QStringLiteral("my machine"));
    EXPECT_FALSE(doc->fsm.isNew);
    EXPECT_TRUE(QFileInfo::exists(target));
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral(".bak")));
    EXPECT_EQ(machineConfig(doc->fsm.diagram()).name, QStringLiteral("my_machine"));
}

TEST_F(FilesTest, SaveAsThatWritesNothingKeepsTheOldName)
{
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    Document* doc = openUnlocked(path);
    Document* other = openUnlocked(writeDiagram(QStringLiteral("other.fsm")));

    ui.fileNames.push_back(QString());  // cancelled
    EXPECT_FALSE(fileSaveAs(*docs, *doc));

    const QString locked = writeDiagram(QStringLiteral("locked.fsm"));
    QFile::setPermissions(locked, QFile::ReadOwner);
    ui.fileNames.push_back(locked);
    EXPECT_FALSE(fileSaveAs(*docs, *doc));

    // Onto the file of another open document.
    ui.fileNames.push_back(other->fsm.filePath);
    EXPECT_FALSE(fileSaveAs(*docs, *doc));

    EXPECT_EQ(doc->fsm.filePath, path);
    EXPECT_EQ(doc->caption(), QStringLiteral("lamp"));
    EXPECT_TRUE(doc->fsm.lastFilePath.isEmpty());
    EXPECT_EQ(readFile(other->fsm.filePath), test::diagramBytes());
}

TEST_F(FilesTest, SaveAllSavesEveryChangedDocument)
{
    Document* a = openUnlocked(writeDiagram(QStringLiteral("a.fsm")));
    Document* b = openUnlocked(writeDiagram(QStringLiteral("b.fsm")));
    Document* c = openUnlocked(writeDiagram(QStringLiteral("c.fsm")));
    edit(*a);
    edit(*c);
    EXPECT_TRUE(fileSaveAll(*docs));
    EXPECT_TRUE(QFileInfo::exists(work(QStringLiteral("a.fsm.bak"))));
    EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("b.fsm.bak"))));
    EXPECT_TRUE(QFileInfo::exists(work(QStringLiteral("c.fsm.bak"))));
    EXPECT_FALSE(a->undo.graphHasChanged() || b->undo.graphHasChanged()
                 || c->undo.graphHasChanged());
}

// ------------------------------------------------------------ close

TEST_F(FilesTest, TheClosePromptOffersYesNoAndCancel)
{
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    Document* doc = openUnlocked(path);
    edit(*doc);

    ui.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(closeDocument(*docs, *doc));
    ASSERT_EQ(ui.count(QStringLiteral("yesnocancel")), 1);
    const auto& q = ui.shown.back();
    EXPECT_EQ(q.title, QStringLiteral("Orvane Diagram Editor"));
    EXPECT_EQ(
        q.text,
        QStringLiteral("The diagram in [lamp] has changed.\r\nDo you want to save the changes?"));
    EXPECT_EQ(q.icon, MessageIcon::Question);
    EXPECT_EQ(docs->count(), 1);

    ui.answers.push_back(Answer::Yes);
    EXPECT_TRUE(closeDocument(*docs, *doc));
    EXPECT_EQ(docs->count(), 0);
    EXPECT_NE(readFile(path), test::diagramBytes());
}

TEST_F(FilesTest, NoClosesWithoutSavingAndUnchangedDocumentsCloseSilently)
{
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    Document* doc = openUnlocked(path);
    edit(*doc);
    ui.answers.push_back(Answer::No);
    EXPECT_TRUE(closeDocument(*docs, *doc));
    EXPECT_EQ(readFile(path), test::diagramBytes());

    Document* again = fileOpen(*docs, path).document;
    EXPECT_TRUE(closeDocument(*docs, *again));
    EXPECT_EQ(ui.count(QStringLiteral("yesnocancel")), 1);
}

TEST_F(FilesTest, ANewDocumentWhoseSaveIsCancelledStaysOpen)
{
    Document* doc = fileNew(*docs, true);
    edit(*doc);
    ui.answers.push_back(Answer::Yes);
    ui.fileNames.push_back(QString());
    EXPECT_FALSE(closeAllDocuments(*docs));
    EXPECT_EQ(docs->count(), 1);
}

TEST_F(FilesTest, BatchModeClosesWithoutAskingOrSaving)
{
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    Document* doc = openUnlocked(path);
    process().batchMode = true;
    doc->fsm.diagram().setChanged(true);
    EXPECT_TRUE(closeDocument(*docs, *doc));
    EXPECT_EQ(ui.count(QStringLiteral("yesnocancel")), 0);
    EXPECT_EQ(readFile(path), test::diagramBytes());
}

}  // namespace
