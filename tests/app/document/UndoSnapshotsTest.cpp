#include "AppTestSupport.h"

#include "modMain_Files.h"

#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::modMain;

namespace {

class UndoTest : public test::AppTest {
protected:
    Document* OpenUnlocked(const QString& path)
    {
        Document* doc = FileOpen(*docs, path).document;
        if (doc)
            doc->fsm.diagram().setReadOnly(false);
        return doc;
    }
    QString Folder() const { return tmpDir + QStringLiteral("/$fsm-") + QString::number(getuid()); }
};

TEST_F(UndoTest, SnapshotsMirrorTheDocumentPathInAPrivateFolder)
{
    const QString base = clsLib_UndoRedo::MirrorBase(QStringLiteral("/home/me/dir/x.fsm"));
    EXPECT_EQ(base, Folder() + QStringLiteral("/home/me/dir/x"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(Folder()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // ".." cannot lead out of the folder; too short a name has no undo.
    EXPECT_EQ(clsLib_UndoRedo::MirrorBase(QStringLiteral("/a/../../etc/x.fsm")), Folder() + QStringLiteral("/etc/x"));
    EXPECT_TRUE(clsLib_UndoRedo::MirrorBase(QStringLiteral("abc.fsm")).isEmpty());
    EXPECT_FALSE(clsLib_UndoRedo::MirrorBase(QStringLiteral("abcd.fsm")).isEmpty());
}

TEST_F(UndoTest, AFolderThatIsNotPrivateIsNotUsed)
{
    const QString elsewhere = MakeDir(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QFile::link(elsewhere, Folder()));
    Document* doc = OpenUnlocked(WriteDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_NE(doc, nullptr);
    Edit(*doc);
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
    EXPECT_FALSE(doc->undRed.CanUndo());
    // The edit itself stands.
    EXPECT_TRUE(doc->undRed.GraphHasChanged());
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);
}

TEST_F(UndoTest, UndoingTheOnlyEditReturnsToTheFileState)
{
    Document* doc = OpenUnlocked(WriteDiagram(QStringLiteral("lamp.fsm")));
    clsLib_UndoRedo& u = doc->undRed;
    EXPECT_FALSE(u.CanUndo());
    EXPECT_FALSE(u.CanRedo());
    ASSERT_EQ(Snapshots().size(), 1);

    Edit(*doc);
    EXPECT_TRUE(u.CanUndo());
    EXPECT_TRUE(u.GraphHasChanged());
    EXPECT_EQ(Snapshots().size(), 2);

    u.Undo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 3);
    EXPECT_FALSE(u.GraphHasChanged());
    EXPECT_FALSE(u.CanUndo());
    EXPECT_TRUE(u.CanRedo());
    // The configuration came back with the snapshot and the info node went.
    EXPECT_EQ(doc->fsm.formatCompilacion, QStringLiteral("&Switch Case..."));
    for (const auto& n : doc->fsm.diagram().nodes())
        EXPECT_EQ(n->userData() & 0x200, 0);

    u.Redo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);
    EXPECT_TRUE(u.GraphHasChanged());
    EXPECT_FALSE(u.CanRedo());
    EXPECT_TRUE(u.CanUndo());
}

TEST_F(UndoTest, AnEditAfterUndoEndsRedo)
{
    Document* doc = OpenUnlocked(WriteDiagram(QStringLiteral("lamp.fsm")));
    clsLib_UndoRedo& u = doc->undRed;
    Edit(*doc);
    Edit(*doc);
    u.Undo();
    ASSERT_TRUE(u.CanRedo());
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);

    Edit(*doc);
    EXPECT_FALSE(u.CanRedo());
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 5);
    u.Undo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);
    u.Undo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 3);
    EXPECT_FALSE(u.GraphHasChanged());
}

TEST_F(UndoTest, ALockedDiagramHasNoUndoAndWritesNoSnapshots)
{
    Document* doc = FileOpen(*docs, WriteDiagram(QStringLiteral("lamp.fsm"))).document;
    ASSERT_TRUE(doc->fsm.diagram().readOnly());
    Edit(*doc);
    Edit(*doc);
    EXPECT_EQ(Snapshots().size(), 1);
    EXPECT_FALSE(doc->undRed.CanUndo());
    EXPECT_TRUE(doc->undRed.GraphHasChanged());

    // Unlocking does not reveal a history that was never written.
    doc->fsm.diagram().setReadOnly(false);
    EXPECT_FALSE(doc->undRed.CanUndo());
}

TEST_F(UndoTest, SavingStartsANewHistory)
{
    Document* doc = OpenUnlocked(WriteDiagram(QStringLiteral("lamp.fsm")));
    Edit(*doc);
    Edit(*doc);
    ASSERT_EQ(Snapshots().size(), 3);
    ASSERT_TRUE(FileSave(*docs, *doc));
    EXPECT_EQ(Snapshots().size(), 1);
    EXPECT_FALSE(doc->undRed.CanUndo());

    // Undoing the next edit gives the saved state, not the opened one.
    Edit(*doc);
    doc->undRed.Undo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 5);
    EXPECT_FALSE(doc->undRed.GraphHasChanged());
}

TEST_F(UndoTest, SaveAsDeletesTheSnapshotsOfTheOldName)
{
    Document* doc = OpenUnlocked(WriteDiagram(QStringLiteral("lamp.fsm")));
    Edit(*doc);
    const QString oldSnapshot = doc->undRed.SnapshotName(1);
    ASSERT_TRUE(QFileInfo::exists(oldSnapshot));

    ui.fileNames.push_back(Work(QStringLiteral("renamed.fsm")));
    ASSERT_TRUE(FileSaveAs(*docs, *doc));
    const QStringList snaps = Snapshots();
    ASSERT_EQ(snaps.size(), 1);
    EXPECT_TRUE(snaps.first().endsWith(QStringLiteral("/renamed.000000.UND")));
    EXPECT_TRUE(doc->fsm.sLastFullDocname.isEmpty());
}

TEST_F(UndoTest, ClosingDeletesTheSnapshotsButKeepsTheFolders)
{
    Document* doc = OpenUnlocked(WriteDiagram(QStringLiteral("lamp.fsm")));
    Edit(*doc);
    const QString folder = QFileInfo(doc->undRed.SnapshotName(0)).absolutePath();
    ui.answers.push_back(Answer::No);
    ASSERT_TRUE(CloseDocument(*docs, *doc));
    EXPECT_TRUE(Snapshots().isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(UndoTest, SameTitlesInDifferentFoldersKeepSeparateSnapshots)
{
    MakeDir(QStringLiteral("work/one"));
    MakeDir(QStringLiteral("work/two"));
    Document* a = OpenUnlocked(WriteDiagram(QStringLiteral("one/lamp.fsm")));
    Document* b = OpenUnlocked(WriteDiagram(QStringLiteral("two/lamp.fsm")));
    ASSERT_NE(a->undRed.SnapshotName(0), b->undRed.SnapshotName(0));
    Edit(*a);
    Edit(*a);
    Edit(*b);
    EXPECT_EQ(Snapshots().size(), 5);

    ui.answers.push_back(Answer::No);
    ASSERT_TRUE(CloseDocument(*docs, *b));
    EXPECT_EQ(Snapshots().size(), 3);
    a->undRed.Undo();
    a->undRed.Undo();
    EXPECT_EQ(a->fsm.diagram().nodeCount(), 3);
    EXPECT_FALSE(a->undRed.GraphHasChanged());
}

TEST_F(UndoTest, BatchModeWritesNoSnapshot)
{
    Process().batchMode = true;
    Document* doc = FileOpen(*docs, WriteDiagram(QStringLiteral("lamp.fsm"))).document;
    ASSERT_NE(doc, nullptr);
    doc->fsm.diagram().setReadOnly(false);
    Edit(*doc);
    doc->undRed.Save(true);
    EXPECT_TRUE(Snapshots().isEmpty());
    EXPECT_FALSE(doc->undRed.CanUndo());
}

TEST_F(UndoTest, ASnapshotThatCannotBeWrittenDoesNotBlockTheEdit)
{
    // Snapshot names add ".000000.UND" to the title; a title of 246
    // characters then passes the file system's limit.
    const QString path = Work(QString(246, QLatin1Char('y')) + QStringLiteral(".fsm"));
    WriteDiagram(path);
    Document* doc = OpenUnlocked(path);
    ASSERT_NE(doc, nullptr);
    Edit(*doc);
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);
    EXPECT_TRUE(doc->undRed.GraphHasChanged());
    EXPECT_TRUE(DebugLog().contains(QStringLiteral(" clsUndoRedo.Save, Error #")));
    EXPECT_TRUE(Snapshots().isEmpty());

    // Undo finds no snapshot: logged, the diagram keeps the edit.
    doc->undRed.Undo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);
    EXPECT_TRUE(DebugLog().contains(QStringLiteral(" clsUndoRedo.Load: af.LoadFile ")));
    EXPECT_TRUE(doc->undRed.CanUndo());
}

}  // namespace
