#include "AppTestSupport.h"

#include "modGrafoInfo.h"
#include "modMain_Files.h"

#include <QFileInfo>
#include <QRegularExpression>

using namespace orvane;
using namespace orvane::modMain;
using orvane::test::ReadFile;
using orvane::test::WriteFile;

namespace {

class FilesTest : public test::AppTest {
protected:
    // Opens a file unlocked, as from the dialog with the read-only box cleared.
    Document* OpenUnlocked(const QString& path)
    {
        ui.readOnlyChoice = false;
        ui.fileNames.push_back(path);
        const OpenResult r = FileOpen(*docs, QString());
        EXPECT_EQ(r.status, OpenStatus::Opened);
        return r.document;
    }
};

// ------------------------------------------------------------ new

TEST_F(FilesTest, NewDocumentsAreNumberedInTheCurrentFolder)
{
    Document* a = FileNew(*docs, true);
    Document* b = FileNew(*docs, true);
    const QRegularExpression name(QStringLiteral("^FSM_(\\d{4})$"));
    const auto ma = name.match(a->caption());
    const auto mb = name.match(b->caption());
    ASSERT_TRUE(ma.hasMatch()) << a->caption().toStdString();
    ASSERT_TRUE(mb.hasMatch());
    EXPECT_EQ(mb.captured(1).toInt(), ma.captured(1).toInt() + 1);
    EXPECT_EQ(a->fsm.sFullDocname, Work(a->caption() + QStringLiteral(".fsm")));
    EXPECT_TRUE(a->fsm.nuevoFSM);
    EXPECT_EQ(docs->active(), b);
    EXPECT_FALSE(a->undRed.CanUndo());
}

TEST_F(FilesTest, NewChildAsksBeforeCreatingTheChildFolder)
{
    Document* parent = OpenUnlocked(WriteDiagram(QStringLiteral("Top.fsm")));
    const QString folder = Work(QStringLiteral("Top"));

    ui.answers.push_back(Answer::No);
    EXPECT_EQ(FileNewChild(*docs, *parent), nullptr);
    ASSERT_EQ(ui.count(QStringLiteral("yesno")), 1);
    EXPECT_EQ(ui.shown.back().title, QStringLiteral("Attention a chid dir must be created"));
    EXPECT_EQ(ui.shown.back().text, QStringLiteral("path:\"") + folder + QLatin1Char('"'));
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(docs->count(), 1);

    ui.answers.push_back(Answer::Yes);
    Document* child = FileNewChild(*docs, *parent);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QFileInfo(child->fsm.sFullDocname).absolutePath(), folder);

    // The folder exists now: no second question.
    ASSERT_NE(FileNewChild(*docs, *parent), nullptr);
    EXPECT_EQ(ui.count(QStringLiteral("yesno")), 2);
}

// ------------------------------------------------------------ open

TEST_F(FilesTest, OpeningByPathLocksAndLeavesTheDocumentUnchanged)
{
    const QString path = WriteDiagram(QStringLiteral("lamp.fsm"));
    const OpenResult r = FileOpen(*docs, path);
    ASSERT_EQ(r.status, OpenStatus::Opened);
    Document* doc = r.document;
    EXPECT_EQ(doc->caption(), QStringLiteral("lamp"));
    EXPECT_EQ(doc->fsm.sFullDocname, path);
    EXPECT_TRUE(doc->fsm.diagram().readOnly());
    EXPECT_FALSE(doc->undRed.GraphHasChanged());
    EXPECT_FALSE(doc->fsm.nuevoFSM);
    EXPECT_EQ(doc->fsm.formatCompilacion, QStringLiteral("&Switch Case..."));
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(FilesTest, TheOpenDialogsReadOnlyBoxIsTheLockChoice)
{
    const QString path = WriteDiagram(QStringLiteral("lamp.fsm"));
    Document* doc = OpenUnlocked(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->fsm.diagram().readOnly());
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].filter, QStringLiteral("Fsm Files(*.FSM)|*.fsm|"));
    EXPECT_EQ(ui.dialogs[0].defaultExtension, QStringLiteral("FSM"));

    // Cancelling the dialog opens nothing.
    EXPECT_EQ(FileOpen(*docs, QString()).status, OpenStatus::Cancelled);
    EXPECT_EQ(docs->count(), 1);
}

TEST_F(FilesTest, AFileAlreadyOpenUnderAnotherSpellingIsActivated)
{
    const QString path = WriteDiagram(QStringLiteral("lamp.fsm"));
    QFile::link(path, Work(QStringLiteral("alias.fsm")));
    Document* first = FileOpen(*docs, path).document;
    FileNew(*docs, true);

    for (const QString& other : {QStringLiteral("./lamp.fsm"), QStringLiteral("sub/../lamp.fsm"),
                                 Work(QStringLiteral("alias.fsm"))}) {
        const OpenResult r = FileOpen(*docs, other);
        EXPECT_EQ(r.status, OpenStatus::AlreadyOpen) << other.toStdString();
        EXPECT_EQ(r.document, first);
        EXPECT_EQ(docs->active(), first);
    }
    EXPECT_EQ(docs->count(), 2);
}

TEST_F(FilesTest, AMissingFileDoesNothing)
{
    const OpenResult r = FileOpen(*docs, Work(QStringLiteral("nothing.fsm")));
    EXPECT_EQ(r.status, OpenStatus::Missing);
    EXPECT_EQ(docs->count(), 0);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(FilesTest, AFileThatDoesNotLoadLeavesAnEmptyUnnamedDocument)
{
    const QString path = Work(QStringLiteral("broken.fsm"));
    WriteFile(path, "this is not a diagram");
    const OpenResult r = FileOpen(*docs, path);
    ASSERT_EQ(r.status, OpenStatus::LoadFailed);
    ASSERT_NE(r.document, nullptr);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(r.document->caption().isEmpty());
    EXPECT_TRUE(r.document->fsm.sFullDocname.isEmpty());
    EXPECT_TRUE(DebugLog().contains(QStringLiteral(" FileOpen, Error # 61704: ")));

    // Drawing into it and saving asks for a name; the broken file stays.
    Edit(*r.document);
    EXPECT_FALSE(FileSave(*docs, *r.document));
    EXPECT_EQ(ui.count(QStringLiteral("save")), 1);
    EXPECT_EQ(ReadFile(path), QByteArray("this is not a diagram"));

    // Without a caption the close prompt has only its question.
    ui.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(CloseDocument(*docs, *r.document));
    EXPECT_EQ(ui.shown.back().text, QStringLiteral("Do you want to save the changes?"));
}

TEST_F(FilesTest, ANewerSignatureAsksAndNoClosesTheDocument)
{
    const QString path = WriteDiagram(QStringLiteral("new.fsm"), QStringLiteral("FSM V0.5"));
    ui.answers.push_back(Answer::No);
    const OpenResult r = FileOpen(*docs, path);
    EXPECT_EQ(r.status, OpenStatus::Declined);
    EXPECT_EQ(docs->count(), 0);
    ASSERT_EQ(ui.count(QStringLiteral("yesno")), 1);
    const auto& q = ui.shown.back();
    EXPECT_EQ(q.title, QStringLiteral("The file signature don't match: [FSM V0.5]"));
    EXPECT_EQ(q.text, QStringLiteral("Atention this FSM has newer signature.\r\n Ignore and continue?"));
    EXPECT_EQ(q.icon, MessageIcon::Critical);
    EXPECT_EQ(q.defaultButton, Answer::No);
    EXPECT_TRUE(Snapshots().isEmpty());

    ui.answers.push_back(Answer::Yes);
    EXPECT_EQ(FileOpen(*docs, path).status, OpenStatus::Opened);
}

TEST_F(FilesTest, OlderEqualOrMissingSignaturesOpenSilently)
{
    int i = 0;
    for (const QString& sig : {QStringLiteral("FSM V0.4b"), QStringLiteral("FSM V0.4c"), QString()}) {
        const QString path = WriteDiagram(QStringLiteral("s%1.fsm").arg(++i), sig);
        EXPECT_EQ(FileOpen(*docs, path).status, OpenStatus::Opened) << sig.toStdString();
    }
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(FilesTest, BatchModeAnswersNoToANewerSignature)
{
    Process().batchMode = true;
    BatchUserInterface batchUi;
    DocumentRegistry batchDocs(batchUi);
    const QString path = WriteDiagram(QStringLiteral("new.fsm"), QStringLiteral("FSM V1.0"));
    EXPECT_EQ(FileOpen(batchDocs, path).status, OpenStatus::Declined);
    EXPECT_EQ(batchDocs.count(), 0);
}

// ------------------------------------------------------------ save

TEST_F(FilesTest, SavingTwiceKeepsThePreviousContentsInTheBackup)
{
    const QString path = WriteDiagram(QStringLiteral("lamp.fsm"));
    const QByteArray original = ReadFile(path);
    Document* doc = OpenUnlocked(path);

    Edit(*doc);
    ASSERT_TRUE(FileSave(*docs, *doc));
    EXPECT_EQ(ReadFile(path + QStringLiteral(".bak")), original);
    const QByteArray first = ReadFile(path);
    EXPECT_NE(first, original);
    EXPECT_TRUE(doc->fsm.bPudoSalvar);
    EXPECT_FALSE(doc->undRed.GraphHasChanged());

    Edit(*doc);
    ASSERT_TRUE(FileSave(*docs, *doc));
    EXPECT_EQ(ReadFile(path + QStringLiteral(".bak")), first);
    EXPECT_NE(ReadFile(path), first);

    // The saved file reads back with its records and no leftover info node.
    Diagram check;
    ASSERT_TRUE(check.loadFile(path, nullptr));
    EXPECT_EQ(modGrafoInfo::GetGraphField(modGrafoInfo::kGraphName, doc->fsm.diagram()), QStringLiteral("lamp"));
    for (const auto& n : doc->fsm.diagram().nodes())
        EXPECT_EQ(n->userData() & 0x200, 0);
}

TEST_F(FilesTest, AReadOnlyFileIsNeverOverwrittenNorItsBackupTouched)
{
    const QString path = WriteDiagram(QStringLiteral("lamp.fsm"));
    const QByteArray original = ReadFile(path);
    WriteFile(path + QStringLiteral(".bak"), "old backup");
    Document* doc = OpenUnlocked(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    Edit(*doc);
    EXPECT_EQ(SalvaDiagrama(*docs, *doc), SaveStatus::Refused);
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_EQ(ReadFile(path + QStringLiteral(".bak")), QByteArray("old backup"));
    EXPECT_TRUE(doc->undRed.GraphHasChanged());
    EXPECT_FALSE(doc->fsm.bPudoSalvar);
    ASSERT_EQ(ui.count(QStringLiteral("message")), 1);
    EXPECT_EQ(ui.shown.back().title, QStringLiteral("Attention!"));
    EXPECT_EQ(ui.shown.back().text, QStringLiteral("I can't save the changes in:\r\n") + path);
    EXPECT_EQ(ui.shown.back().icon, MessageIcon::Exclamation);
    // The texts are drawn again and the info node is gone.
    for (const auto& n : doc->fsm.diagram().nodes())
        EXPECT_EQ(n->userData() & 0x200, 0);
    // A refused write still lists the file.
    EXPECT_EQ(GetRecentFiles(*docs), QStringList{path});
}

TEST_F(FilesTest, SavingAnUnchangedDocumentWritesNothing)
{
    const QString path = WriteDiagram(QStringLiteral("lamp.fsm"));
    const QByteArray original = ReadFile(path);
    Document* doc = FileOpen(*docs, path).document;
    EXPECT_TRUE(FileSave(*docs, *doc));
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".bak")));
    EXPECT_TRUE(GetRecentFiles(*docs).isEmpty());
}

TEST_F(FilesTest, AFailedWriteKeepsTheOldFileAndTheDocumentChanged)
{
    // A name of 250 characters exists, but no temporary file can be made
    // beside it (its name would pass the file system's limit), so the write
    // fails even for a user who may write everywhere.
    const QString path = Work(QString(246, QLatin1Char('x')) + QStringLiteral(".fsm"));
    WriteDiagram(path);
    const QByteArray original = ReadFile(path);
    Document* doc = OpenUnlocked(path);
    ASSERT_NE(doc, nullptr);

    Edit(*doc);
    EXPECT_EQ(SalvaDiagrama(*docs, *doc), SaveStatus::Failed);
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_TRUE(doc->undRed.GraphHasChanged());
    EXPECT_FALSE(doc->fsm.bPudoSalvar);
    EXPECT_TRUE(DebugLog().contains(QStringLiteral(" SalvaDiagrama, Error # 75: ")));
    EXPECT_EQ(ui.count(QStringLiteral("message")), 1);
    EXPECT_TRUE(GetRecentFiles(*docs).isEmpty());

    // The close prompt's save fails too, so the close is cancelled.
    ui.answers.push_back(Answer::Yes);
    EXPECT_FALSE(CloseDocument(*docs, *doc));
    EXPECT_EQ(docs->count(), 1);
}

TEST_F(FilesTest, ANewDocumentIsSavedUnderTheChosenName)
{
    Document* doc = FileNew(*docs, true);
    const QString proposed = doc->fsm.sFullDocname;
    Edit(*doc);
    const QString target = Work(QStringLiteral("my machine.fsm"));
    ui.fileNames.push_back(target);
    ASSERT_TRUE(FileSave(*docs, *doc));
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].proposedName, proposed);
    EXPECT_EQ(doc->fsm.sFullDocname, target);
    EXPECT_EQ(doc->caption(), QStringLiteral("my machine"));
    EXPECT_FALSE(doc->fsm.nuevoFSM);
    EXPECT_TRUE(QFileInfo::exists(target));
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral(".bak")));
    EXPECT_EQ(modGrafoInfo::GetGraphField(modGrafoInfo::kGraphName, doc->fsm.diagram()),
              QStringLiteral("my_machine"));
}

TEST_F(FilesTest, SaveAsThatWritesNothingKeepsTheOldName)
{
    const QString path = WriteDiagram(QStringLiteral("lamp.fsm"));
    Document* doc = OpenUnlocked(path);
    Document* other = OpenUnlocked(WriteDiagram(QStringLiteral("other.fsm")));

    ui.fileNames.push_back(QString());  // cancelled
    EXPECT_FALSE(FileSaveAs(*docs, *doc));

    const QString locked = WriteDiagram(QStringLiteral("locked.fsm"));
    QFile::setPermissions(locked, QFile::ReadOwner);
    ui.fileNames.push_back(locked);
    EXPECT_FALSE(FileSaveAs(*docs, *doc));

    // Onto the file of another open document.
    ui.fileNames.push_back(other->fsm.sFullDocname);
    EXPECT_FALSE(FileSaveAs(*docs, *doc));

    EXPECT_EQ(doc->fsm.sFullDocname, path);
    EXPECT_EQ(doc->caption(), QStringLiteral("lamp"));
    EXPECT_TRUE(doc->fsm.sLastFullDocname.isEmpty());
    EXPECT_EQ(ReadFile(other->fsm.sFullDocname), test::DiagramBytes());
}

TEST_F(FilesTest, SaveAllSavesEveryChangedDocument)
{
    Document* a = OpenUnlocked(WriteDiagram(QStringLiteral("a.fsm")));
    Document* b = OpenUnlocked(WriteDiagram(QStringLiteral("b.fsm")));
    Document* c = OpenUnlocked(WriteDiagram(QStringLiteral("c.fsm")));
    Edit(*a);
    Edit(*c);
    EXPECT_TRUE(FileSaveAll(*docs));
    EXPECT_TRUE(QFileInfo::exists(Work(QStringLiteral("a.fsm.bak"))));
    EXPECT_FALSE(QFileInfo::exists(Work(QStringLiteral("b.fsm.bak"))));
    EXPECT_TRUE(QFileInfo::exists(Work(QStringLiteral("c.fsm.bak"))));
    EXPECT_FALSE(a->undRed.GraphHasChanged() || b->undRed.GraphHasChanged() || c->undRed.GraphHasChanged());
}

// ------------------------------------------------------------ close

TEST_F(FilesTest, TheClosePromptOffersYesNoAndCancel)
{
    const QString path = WriteDiagram(QStringLiteral("lamp.fsm"));
    Document* doc = OpenUnlocked(path);
    Edit(*doc);

    ui.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(CloseDocument(*docs, *doc));
    ASSERT_EQ(ui.count(QStringLiteral("yesnocancel")), 1);
    const auto& q = ui.shown.back();
    EXPECT_EQ(q.title, QStringLiteral("Orvane Diagram Editor"));
    EXPECT_EQ(q.text, QStringLiteral("The diagram in [lamp] has changed.\r\nDo you want to save the changes?"));
    EXPECT_EQ(q.icon, MessageIcon::Question);
    EXPECT_EQ(docs->count(), 1);

    ui.answers.push_back(Answer::Yes);
    EXPECT_TRUE(CloseDocument(*docs, *doc));
    EXPECT_EQ(docs->count(), 0);
    EXPECT_NE(ReadFile(path), test::DiagramBytes());
}

TEST_F(FilesTest, NoClosesWithoutSavingAndUnchangedDocumentsCloseSilently)
{
    const QString path = WriteDiagram(QStringLiteral("lamp.fsm"));
    Document* doc = OpenUnlocked(path);
    Edit(*doc);
    ui.answers.push_back(Answer::No);
    EXPECT_TRUE(CloseDocument(*docs, *doc));
    EXPECT_EQ(ReadFile(path), test::DiagramBytes());

    Document* again = FileOpen(*docs, path).document;
    EXPECT_TRUE(CloseDocument(*docs, *again));
    EXPECT_EQ(ui.count(QStringLiteral("yesnocancel")), 1);
}

TEST_F(FilesTest, ANewDocumentWhoseSaveIsCancelledStaysOpen)
{
    Document* doc = FileNew(*docs, true);
    Edit(*doc);
    ui.answers.push_back(Answer::Yes);
    ui.fileNames.push_back(QString());
    EXPECT_FALSE(CloseAllDocuments(*docs));
    EXPECT_EQ(docs->count(), 1);
}

TEST_F(FilesTest, BatchModeClosesWithoutAskingOrSaving)
{
    const QString path = WriteDiagram(QStringLiteral("lamp.fsm"));
    Document* doc = OpenUnlocked(path);
    Process().batchMode = true;
    doc->fsm.diagram().setChanged(true);
    EXPECT_TRUE(CloseDocument(*docs, *doc));
    EXPECT_EQ(ui.count(QStringLiteral("yesnocancel")), 0);
    EXPECT_EQ(ReadFile(path), test::DiagramBytes());
}

}  // namespace
