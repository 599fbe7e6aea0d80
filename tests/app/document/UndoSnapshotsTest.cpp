#include "AppTestSupport.h"

#include "DocumentCommands.h"

#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::DocumentCommands;

namespace {

class UndoTest : public test::AppTest {
protected:
    Document* openUnlocked(const QString& path)
    {
        Document* doc = fileOpen(*docs, path).document;
        if (doc)
            doc->fsm.diagram().setReadOnly(false);
        return doc;
    }
    QString folder() const { return tmpDir + QStringLiteral("/$fsm-") + QString::number(getuid()); }
};

TEST_F(UndoTest, SnapshotsMirrorTheDocumentPathInAPrivateFolder)
{
    const QString base = UndoSnapshots::mirrorBase(QStringLiteral("/home/me/dir/x.fsm"));
    EXPECT_EQ(base, folder() + QStringLiteral("/home/me/dir/x"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(folder()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // ".." cannot lead out of the folder; too short a name has no undo.
    EXPECT_EQ(UndoSnapshots::mirrorBase(QStringLiteral("/a/../../etc/x.fsm")),
              folder() + QStringLiteral("/etc/x"));
    EXPECT_TRUE(UndoSnapshots::mirrorBase(QStringLiteral("abc.fsm")).isEmpty());
    EXPECT_FALSE(UndoSnapshots::mirrorBase(QStringLiteral("abcd.fsm")).isEmpty());
}

TEST_F(UndoTest, AFolderThatIsNotPrivateIsNotUsed)
{
    const QString elsewhere = makeDir(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QFile::link(elsewhere, folder()));
    Document* doc = openUnlocked(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_NE(doc, nullptr);
    edit(*doc);
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
    EXPECT_FALSE(doc->undo.canUndo());
    // The edit itself stands.
    EXPECT_TRUE(doc->undo.graphHasChanged());
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);
}

TEST_F(UndoTest, UndoingTheOnlyEditReturnsToTheFileState)
{
    Document* doc = openUnlocked(writeDiagram(QStringLiteral("lamp.fsm")));
    UndoSnapshots& u = doc->undo;
    EXPECT_FALSE(u.canUndo());
    EXPECT_FALSE(u.canRedo());
    ASSERT_EQ(snapshots().size(), 1);

    edit(*doc);
    EXPECT_TRUE(u.canUndo());
    EXPECT_TRUE(u.graphHasChanged());
    EXPECT_EQ(snapshots().size(), 2);

    u.undo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 3);
    EXPECT_FALSE(u.graphHasChanged());
    EXPECT_FALSE(u.canUndo());
    EXPECT_TRUE(u.canRedo());
    // The configuration came back with the snapshot and the info node went.
    EXPECT_EQ(doc->fsm.defaultMethodology, Methodology::SwitchCase);
    for (const auto& n : doc->fsm.diagram().nodes())
        EXPECT_EQ(n->userData() & 0x200, 0);

    u.redo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);
    EXPECT_TRUE(u.graphHasChanged());
    EXPECT_FALSE(u.canRedo());
    EXPECT_TRUE(u.canUndo());
}

TEST_F(UndoTest, AnEditAfterUndoEndsRedo)
{
    Document* doc = openUnlocked(writeDiagram(QStringLiteral("lamp.fsm")));
    UndoSnapshots& u = doc->undo;
    edit(*doc);
    edit(*doc);
    u.undo();
    ASSERT_TRUE(u.canRedo());
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);

    edit(*doc);
    EXPECT_FALSE(u.canRedo());
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 5);
    u.undo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);
    u.undo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 3);
    EXPECT_FALSE(u.graphHasChanged());
}

TEST_F(UndoTest, ALockedDiagramHasNoUndoAndWritesNoSnapshots)
{
    Document* doc = fileOpen(*docs, writeDiagram(QStringLiteral("lamp.fsm"))).document;
    ASSERT_TRUE(doc->fsm.diagram().readOnly());
    edit(*doc);
    edit(*doc);
    EXPECT_EQ(snapshots().size(), 1);
    EXPECT_FALSE(doc->undo.canUndo());
    EXPECT_TRUE(doc->undo.graphHasChanged());

    // Unlocking does not reveal a history that was never written.
    doc->fsm.diagram().setReadOnly(false);
    EXPECT_FALSE(doc->undo.canUndo());
}

TEST_F(UndoTest, SavingStartsANewHistory)
{
    Document* doc = openUnlocked(writeDiagram(QStringLiteral("lamp.fsm")));
    edit(*doc);
    edit(*doc);
    ASSERT_EQ(snapshots().size(), 3);
    ASSERT_TRUE(fileSave(*docs, *doc));
    EXPECT_EQ(snapshots().size(), 1);
    EXPECT_FALSE(doc->undo.canUndo());

    // Undoing the next edit gives the saved state, not the opened one.
    edit(*doc);
    doc->undo.undo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 5);
    EXPECT_FALSE(doc->undo.graphHasChanged());
}

TEST_F(UndoTest, SaveAsDeletesTheSnapshotsOfTheOldName)
{
    Document* doc = openUnlocked(writeDiagram(QStringLiteral("lamp.fsm")));
    edit(*doc);
    const QString oldSnapshot = doc->undo.snapshotName(1);
    ASSERT_TRUE(QFileInfo::exists(oldSnapshot));

    ui.fileNames.push_back(work(QStringLiteral("renamed.fsm")));
    ASSERT_TRUE(fileSaveAs(*docs, *doc));
    const QStringList snaps = snapshots();
    ASSERT_EQ(snaps.size(), 1);
    EXPECT_TRUE(snaps.first().endsWith(QStringLiteral("/renamed.000000.UND")));
    EXPECT_TRUE(doc->fsm.lastFilePath.isEmpty());
}

TEST_F(UndoTest, ClosingDeletesTheSnapshotsButKeepsTheFolders)
{
    Document* doc = openUnlocked(writeDiagram(QStringLiteral("lamp.fsm")));
    edit(*doc);
    const QString folder = QFileInfo(doc->undo.snapshotName(0)).absolutePath();
    ui.answers.push_back(Answer::No);
    ASSERT_TRUE(closeDocument(*docs, *doc));
    EXPECT_TRUE(snapshots().isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(UndoTest, SameTitlesInDifferentFoldersKeepSeparateSnapshots)
{
    makeDir(QStringLiteral("work/one"));
    makeDir(QStringLiteral("work/two"));
    Document* a = openUnlocked(writeDiagram(QStringLiteral("one/lamp.fsm")));
    Document* b = openUnlocked(writeDiagram(QStringLiteral("two/lamp.fsm")));
    ASSERT_NE(a->undo.snapshotName(0), b->undo.snapshotName(0));
    edit(*a);
    edit(*a);
    edit(*b);
    EXPECT_EQ(snapshots().size(), 5);

    ui.answers.push_back(Answer::No);
    ASSERT_TRUE(closeDocument(*docs, *b));
    EXPECT_EQ(snapshots().size(), 3);
    a->undo.undo();
    a->undo.undo();
    EXPECT_EQ(a->fsm.diagram().nodeCount(), 3);
    EXPECT_FALSE(a->undo.graphHasChanged());
}

TEST_F(UndoTest, BatchModeWritesNoSnapshot)
{
    process().batchMode = true;
    Document* doc = fileOpen(*docs, writeDiagram(QStringLiteral("lamp.fsm"))).document;
    ASSERT_NE(doc, nullptr);
    doc->fsm.diagram().setReadOnly(false);
    edit(*doc);
    doc->undo.save(true);
    EXPECT_TRUE(snapshots().isEmpty());
    EXPECT_FALSE(doc->undo.canUndo());
}

TEST_F(UndoTest, ASnapshotThatCannotBeWrittenDoesNotBlockTheEdit)
{
    // Snapshot names add ".000000.UND" to the title; a title of 246
    // characters then passes the file system's limit.
    const QString path = work(QString(246, QLatin1Char('y')) + QStringLiteral(".fsm"));
    writeDiagram(path);
    Document* doc = openUnlocked(path);
    ASSERT_NE(doc, nullptr);
    edit(*doc);
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);
    EXPECT_TRUE(doc->undo.graphHasChanged());
    EXPECT_TRUE(debugLog().contains(QStringLiteral(" clsUndoRedo.Save, Error #")));
    EXPECT_TRUE(snapshots().isEmpty());

    // Undo finds no snapshot: logged, the diagram keeps the edit.
    doc->undo.undo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);
    EXPECT_TRUE(debugLog().contains(QStringLiteral(" clsUndoRedo.Load: af.LoadFile ")));
    EXPECT_TRUE(doc->undo.canUndo());
}

}  // namespace
