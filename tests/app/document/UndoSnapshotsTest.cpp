#include "AppTestSupport.h"

#include "DocumentCommands.h"
#include "Records.h"

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

    // The fallback folders point into the test's folder too.
    QString cacheDir;
    void SetUp() override
    {
        AppTest::SetUp();
        cacheDir = makeDir(QStringLiteral("cache"));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cacheDir));
        qunsetenv("XDG_RUNTIME_DIR");
    }
    void TearDown() override
    {
        AppTest::TearDown();
        restore("XDG_CACHE_HOME", m_cache);
        restore("XDG_RUNTIME_DIR", m_runtime);
    }

private:
    static void restore(const char* name, const QByteArray& value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    const QByteArray m_cache = qgetenv("XDG_CACHE_HOME");
    const QByteArray m_runtime = qgetenv("XDG_RUNTIME_DIR");
};

TEST_F(UndoTest, SnapshotsLieInAPrivateFolderNamedAfterTheDocument)
{
    Document* doc = openUnlocked(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_NE(doc, nullptr);
    doc->undo.waitForWrites();
    const QFileInfo first(doc->undo.snapshotName(0));
    EXPECT_EQ(first.absolutePath(), folder());
    EXPECT_TRUE(first.fileName().startsWith(QStringLiteral("lamp.fsm-")));
    EXPECT_TRUE(first.exists());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(folder()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // The key follows the canonical path: "." and ".." name the same file.
    EXPECT_EQ(UndoSnapshots::historyKey(work(QStringLiteral("lamp.fsm"))),
              UndoSnapshots::historyKey(work(QStringLiteral("./x/../lamp.fsm"))));
    // Short and very long names have a history too; the name stays within
    // what the file system allows.
    EXPECT_FALSE(UndoSnapshots::historyKey(QStringLiteral("a.fsm")).isEmpty());
    const QString longKey =
        UndoSnapshots::historyKey(work(QString(300, QChar(0x00E9)) + QStringLiteral(".fsm")));
    EXPECT_LE(longKey.toUtf8().size(), 160);
}

TEST_F(UndoTest, PathsDifferingOnlyInTheCaseOfTheExtensionKeepSeparateSnapshots)
{
    const QString lower = writeDiagram(QStringLiteral("Case.fsm"));
    const QString upper = writeDiagram(QStringLiteral("Case.FSM"));
    const QByteArray upperBytes = test::readFile(upper);
    EXPECT_NE(UndoSnapshots::historyKey(lower), UndoSnapshots::historyKey(upper));
    Document* a = openUnlocked(lower);
    Document* b = openUnlocked(upper);
    ASSERT_NE(a, b);
    ASSERT_NE(b, nullptr);
    edit(*a);
    edit(*b);
    edit(*b);
    ASSERT_EQ(snapshots().size(), 5);

    // Undo and redo in one window show that window's diagram only.
    a->undo.undo();
    EXPECT_EQ(a->fsm.diagram().nodeCount(), 3);
    a->undo.redo();
    EXPECT_EQ(a->fsm.diagram().nodeCount(), 4);
    b->undo.undo();
    EXPECT_EQ(b->fsm.diagram().nodeCount(), 4);
    EXPECT_EQ(a->fsm.diagram().nodeCount(), 4);

    // Saving one writes its own diagram into its own file.
    ASSERT_TRUE(fileSave(*docs, *a));
    EXPECT_EQ(test::readFile(upper), upperBytes);
    ui.answers.push_back(Answer::No);
    ASSERT_TRUE(closeDocument(*docs, *a));
    Document* again = openUnlocked(lower);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->fsm.diagram().nodeCount(), 4);
    b->undo.undo();
    EXPECT_EQ(b->fsm.diagram().nodeCount(), 3);
}

TEST_F(UndoTest, AnUnusableFolderGivesWayToAPrivateFallback)
{
    // A link in the temporary folder (as another user could plant one).
    const QString elsewhere = makeDir(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QFile::link(elsewhere, folder()));
    const QString runtime = makeDir(QStringLiteral("run"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    Document* doc = openUnlocked(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_NE(doc, nullptr);
    edit(*doc);
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
    EXPECT_TRUE(doc->undo.canUndo());
    EXPECT_TRUE(
        doc->undo.snapshotName(1).startsWith(runtime + QStringLiteral("/orvane-snapshots/")));
    struct stat st {};
    const QByteArray fallback = QFile::encodeName(runtime + QStringLiteral("/orvane-snapshots"));
    ASSERT_EQ(::stat(fallback.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    doc->undo.undo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 3);
    // Undo works, so nothing is said; the log names the refused folder.
    EXPECT_EQ(ui.count(QStringLiteral("message")), 0);
    EXPECT_TRUE(debugLog().contains(QStringLiteral("is a symbolic link")));

    // Without a runtime folder, the user's cache folder serves.
    qunsetenv("XDG_RUNTIME_DIR");
    Document* other = openUnlocked(writeDiagram(QStringLiteral("other.fsm")));
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(
        other->undo.snapshotName(0).startsWith(cacheDir + QStringLiteral("/orvane/snapshots/")));
}

TEST_F(UndoTest, WithoutAnyPrivateFolderUndoIsOffAndTheUserIsToldOnce)
{
    test::writeFile(folder(), "not a folder");
    const QString runtime = makeDir(QStringLiteral("run"));
    ASSERT_TRUE(QFile::link(makeDir(QStringLiteral("elsewhere")),
                            runtime + QStringLiteral("/orvane-snapshots")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    test::writeFile(cacheDir + QStringLiteral("/orvane"), "a file where a folder belongs");

    Document* doc = openUnlocked(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_NE(doc, nullptr);
    edit(*doc);
    EXPECT_FALSE(doc->undo.canUndo());
    EXPECT_TRUE(doc->undo.graphHasChanged());
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);
    ASSERT_EQ(ui.count(QStringLiteral("message")), 1);
    const QString text = ui.shown.back().text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Undo is off")));
    EXPECT_TRUE(text.contains(folder() + QStringLiteral(": is not a folder")));
    EXPECT_TRUE(text.contains(QStringLiteral("/orvane-snapshots: is a symbolic link")));
    EXPECT_TRUE(text.contains(QStringLiteral("/orvane/snapshots: cannot be created")));

    // Once: neither another open nor a new diagram says it again.
    openUnlocked(writeDiagram(QStringLiteral("other.fsm")));
    fileNew(*docs, true);
    EXPECT_EQ(ui.count(QStringLiteral("message")), 1);
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
    doc->undo.waitForWrites();
    const QString oldSnapshot = doc->undo.snapshotName(1);
    ASSERT_TRUE(QFileInfo::exists(oldSnapshot));

    ui.fileNames.push_back(work(QStringLiteral("renamed.fsm")));
    ASSERT_TRUE(fileSaveAs(*docs, *doc));
    const QStringList snaps = snapshots();
    ASSERT_EQ(snaps.size(), 1);
    EXPECT_TRUE(snaps.first().contains(QStringLiteral("/renamed.fsm-")));
    EXPECT_FALSE(QFileInfo::exists(oldSnapshot));
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
    Document* doc = openUnlocked(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_NE(doc, nullptr);
    // A folder where the next snapshot belongs cannot be replaced by it.
    ASSERT_TRUE(QDir().mkpath(doc->undo.snapshotName(1)));
    edit(*doc);
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);
    EXPECT_TRUE(doc->undo.graphHasChanged());
    EXPECT_TRUE(debugLog().contains(QStringLiteral(" clsUndoRedo.Save, Error #")));
    EXPECT_EQ(snapshots().size(), 1);

    // Redo finds no snapshot of the edit: logged, the diagram stays.
    ASSERT_TRUE(QDir().rmdir(doc->undo.snapshotName(1)));
    doc->undo.undo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 3);
    doc->undo.redo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 3);
    EXPECT_TRUE(debugLog().contains(QStringLiteral(" clsUndoRedo.Load: af.LoadFile ")));
    EXPECT_TRUE(doc->undo.canRedo());
}

}  // namespace

TEST_F(UndoTest, UndoAndRedoFindSnapshotsStillBeingWritten)
{
    Document* doc = openUnlocked(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_NE(doc, nullptr);
    Diagram& d = doc->fsm.diagram();
    // Edits in quick succession, each changing what the previous wrote.
    for (int i = 0; i < 6; ++i) {
        edit(*doc);
        d.item(1)->setLeft(100.0 * (i + 1));
        doc->undo.storeGraphChanges();
    }
    EXPECT_EQ(d.nodeCount(), 9);
    doc->undo.undo();
    EXPECT_EQ(d.item(1)->left(), 500);
    EXPECT_EQ(d.nodeCount(), 9);
    doc->undo.undo();
    EXPECT_EQ(d.nodeCount(), 8);
    EXPECT_EQ(d.item(1)->left(), 500);
    doc->undo.redo();
    doc->undo.redo();
    EXPECT_EQ(d.item(1)->left(), 600);
    EXPECT_EQ(d.nodeCount(), 9);
    // No record node is left behind in the diagram, and the files are all
    // there once written.
    for (const auto& n : d.nodes())
        EXPECT_FALSE(n->userData() & NodeInfo);
    EXPECT_EQ(snapshots().size(), 13);
}

TEST_F(UndoTest, SnapshotsAndSavesLeaveTheDiagramOnScreenAlone)
{
    Document* doc = openUnlocked(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_NE(doc, nullptr);
    Diagram& d = doc->fsm.diagram();
    int changes = 0;
    const auto count = [&] { ++changes; };
    QObject::connect(&d, &Diagram::nodeAdded, count);
    QObject::connect(&d, &Diagram::nodeChanged, count);
    QObject::connect(&d, &Diagram::nodeAboutToBeRemoved, count);
    QObject::connect(&d, &Diagram::redrawChanged, count);

    d.item(1)->setLeft(50);  // the user's edit, shown at once
    d.item(1)->setSelected(true);
    EXPECT_EQ(changes, 1);
    const QString text = d.item(1)->text();
    doc->undo.storeGraphChanges();
    ASSERT_TRUE(fileSave(*docs, *doc));
    // The record node and the cleared texts went only into the copies.
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(d.item(1)->selected());
    EXPECT_EQ(d.item(1)->text(), text);
    for (const auto& n : d.nodes())
        EXPECT_FALSE(n->userData() & NodeInfo);
    // The file holds the record and no texts, as before.
    QString error;
    Diagram saved;
    ASSERT_TRUE(saved.loadFile(doc->fsm.filePath, &error)) << error.toStdString();
    EXPECT_EQ(saved.nodeCount(), d.nodeCount() + 1);
    EXPECT_TRUE(saved.nodes().back()->userData() & NodeInfo);
    EXPECT_TRUE(saved.item(1)->text().isEmpty());
    EXPECT_EQ(saved.item(1)->left(), 50);
}
