// Crash recovery: an editor process is killed with SIGKILL after making
// edits, and the next session offers what it left behind.
#include "BatchRun.h"
#include "AppTestSupport.h"

#include "DocumentCommands.h"
#include "SnapshotRecovery.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <cstdio>

using namespace orvane;
using namespace orvane::DocumentCommands;

namespace {

// The environment of the editor that gets killed.
const char* const kChildTmp = "ORVANE_CRASH_TMPDIR";
const char* const kChildWork = "ORVANE_CRASH_WORKDIR";
const char* const kChildDiagram = "ORVANE_CRASH_DIAGRAM";
const char* const kChildUndoAll = "ORVANE_CRASH_UNDO_ALL";

// A user edit, as AppTest::edit makes it.
void addRemark(Document& doc)
{
    Node* n = doc.fsm.diagram().addNode(100, 100, 800, 300);
    n->setUserData(0x400);
    n->setIsFsmItem(false);
    n->setText(QStringLiteral("remark"));
    doc.undo.storeGraphChanges();
}

// The editor that gets killed: started by the tests below as a child
// process of this test program, never run on its own. It opens the diagram,
// adds two remarks and undoes one (the last state has 4 nodes, a redo
// snapshot with 5 exists; with ORVANE_CRASH_UNDO_ALL both are undone), makes
// a new diagram with one remark, says "ready" and waits to be killed.
TEST(CrashingEditor, DISABLED_EditsAndWaitsToBeKilled)
{
    if (qEnvironmentVariableIsEmpty(kChildDiagram))
        GTEST_SKIP() << "started only by the crash-recovery tests";
    qputenv("TMPDIR", qgetenv(kChildTmp));
    QDir::setCurrent(qEnvironmentVariable(kChildWork));
    ScriptedUserInterface ui;
    DocumentRegistry docs(ui);
    Document* doc = fileOpen(docs, qEnvironmentVariable(kChildDiagram)).document;
    ASSERT_NE(doc, nullptr);
    doc->fsm.diagram().setReadOnly(false);
    addRemark(*doc);
    addRemark(*doc);
    doc->undo.undo();
    if (!qEnvironmentVariableIsEmpty(kChildUndoAll))
        doc->undo.undo();
    Document* fresh = fileNew(docs, true);
    addRemark(*fresh);
    // Ready once the snapshots are in their files; an edit's snapshot may
    // still be on its way when a crash comes right after it.
    doc->undo.waitForWrites();
    fresh->undo.waitForWrites();
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (int i = 0; i < 600; ++i)
        QThread::msleep(100);
}

class RecoveryTest : public test::AppTest {
protected:
    QString diagram;
    QByteArray diagramOnDisk;
    bool undoEverything = false;

    void SetUp() override
    {
        AppTest::SetUp();
        diagram = writeDiagram(QStringLiteral("lamp.fsm"));
        diagramOnDisk = test::readFile(diagram);
    }
    void TearDown() override
    {
        if (m_editor.state() != QProcess::NotRunning) {
            m_editor.kill();
            m_editor.waitForFinished();
        }
        AppTest::TearDown();
    }

    // Starts the editor above and waits until it has made its edits.
    bool startEditor()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildTmp), tmpDir);
        env.insert(QString::fromLatin1(kChildWork), workDir);
        env.insert(QString::fromLatin1(kChildDiagram), diagram);
        if (undoEverything)
            env.insert(QString::fromLatin1(kChildUndoAll), QStringLiteral("1"));
        env.insert(QStringLiteral("ORVANE_LOG_DIR"), logDir);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_editor.setProcessEnvironment(env);
        m_editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_editor.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--gtest_also_run_disabled_tests"),
                        QStringLiteral("--gtest_filter=CrashingEditor.*")});
        if (!m_editor.waitForStarted())
            return false;
        QByteArray out;
        while (!out.contains("ready\n")) {
            if (!m_editor.waitForReadyRead(30000))
                return false;
            out += m_editor.readAllStandardOutput();
        }
        return true;
    }

    // The editor dies as in a crash: SIGKILL, nothing cleaned up.
    void killEditor()
    {
        m_editor.kill();
        ASSERT_TRUE(m_editor.waitForFinished());
        EXPECT_EQ(m_editor.exitStatus(), QProcess::CrashExit);
    }

    void crashEditor()
    {
        ASSERT_TRUE(startEditor());
        killEditor();
    }

    // The files of the killed editor's histories (named by its process id).
    QStringList filesOfEditor() const
    {
        const QString session = QLatin1Char('-') + QString::number(m_pid) + QLatin1Char('-');
        QStringList found;
        QDirIterator it(tmpDir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString f = it.next();
            if (QFileInfo(f).fileName().contains(session))
                found.append(f);
        }
        return found;
    }

    int questions() const { return ui.count(QStringLiteral("yesno")); }
    QString lastQuestion() const { return ui.shown.empty() ? QString() : ui.shown.back().text; }

    QProcess m_editor;
    qint64 m_pid = 0;

    bool startAndRemember()
    {
        if (!startEditor())
            return false;
        m_pid = m_editor.processId();
        return true;
    }
};

TEST_F(RecoveryTest, AcceptedRecoveryShowsTheLastStateChangedAndLeavesTheFileAlone)
{
    ASSERT_TRUE(startAndRemember());
    killEditor();
    ASSERT_FALSE(filesOfEditor().isEmpty());

    ui.answers.push_back(Answer::Yes);
    Document* doc = fileOpen(*docs, diagram).document;
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(questions(), 1);
    EXPECT_TRUE(
        lastQuestion().startsWith(QStringLiteral("Recover unsaved changes of lamp.fsm from ")));
    EXPECT_EQ(ui.shown.back().defaultButton, Answer::Yes);

    // The state the editor showed (after its undo), changed and editable.
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 4);
    EXPECT_TRUE(doc->undo.graphHasChanged());
    EXPECT_FALSE(doc->fsm.diagram().readOnly());
    EXPECT_EQ(test::readFile(diagram), diagramOnDisk);
    EXPECT_TRUE(filesOfEditor().filter(QStringLiteral("/lamp.fsm-")).isEmpty());
    // Undo goes back to the file's state.
    doc->undo.undo();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 3);
    EXPECT_FALSE(doc->undo.graphHasChanged());
    doc->undo.redo();

    // Saved, the file holds it; the question is not asked again.
    ASSERT_TRUE(fileSave(*docs, *doc));
    ASSERT_TRUE(closeDocument(*docs, *doc));
    Document* again = fileOpen(*docs, diagram).document;
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->fsm.diagram().nodeCount(), 4);
    EXPECT_EQ(questions(), 1);
}

TEST_F(RecoveryTest, DeclinedRecoveryDeletesTheSnapshots)
{
    ASSERT_TRUE(startAndRemember());
    killEditor();
    ui.answers.push_back(Answer::No);
    Document* doc = fileOpen(*docs, diagram).document;
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(questions(), 1);
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 3);
    EXPECT_FALSE(doc->undo.graphHasChanged());
    EXPECT_TRUE(doc->fsm.diagram().readOnly());
    // The new diagram's history is offered at the next start, not here.
    EXPECT_EQ(filesOfEditor().filter(QStringLiteral("/lamp.fsm-")).size(), 0);
    EXPECT_FALSE(filesOfEditor().isEmpty());

    ASSERT_TRUE(closeDocument(*docs, *doc));
    fileOpen(*docs, diagram);
    EXPECT_EQ(questions(), 1);
}

TEST_F(RecoveryTest, NewDiagramsAreOfferedAtTheNextStart)
{
    crashEditor();
    // Accepted: a new document with the remark the editor added.
    ui.answers.push_back(Answer::Yes);
    EXPECT_EQ(SnapshotRecovery::offerNewDiagrams(*docs), 1);
    ASSERT_EQ(questions(), 1);
    EXPECT_TRUE(
        lastQuestion().startsWith(QStringLiteral("Recover unsaved changes of FSM_0001 from ")));
    ASSERT_EQ(docs->count(), 1);
    Document* doc = docs->active();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 1);
    EXPECT_TRUE(doc->undo.graphHasChanged());
    EXPECT_TRUE(doc->fsm.isNew);
    // Taken once: another start finds nothing.
    EXPECT_EQ(SnapshotRecovery::offerNewDiagrams(*docs), 0);
    EXPECT_EQ(questions(), 1);

    // The file's history is still there for its next open.
    ui.answers.push_back(Answer::No);
    fileOpen(*docs, diagram);
    EXPECT_EQ(questions(), 2);
}

TEST_F(RecoveryTest, DeclinedNewDiagramsAreDeleted)
{
    crashEditor();
    ui.answers.push_back(Answer::No);
    EXPECT_EQ(SnapshotRecovery::offerNewDiagrams(*docs), 0);
    EXPECT_EQ(questions(), 1);
    EXPECT_EQ(docs->count(), 0);
    EXPECT_EQ(SnapshotRecovery::offerNewDiagrams(*docs), 0);
    EXPECT_EQ(questions(), 1);
}

TEST_F(RecoveryTest, ALiveEditorKeepsItsSnapshots)
{
    ASSERT_TRUE(startAndRemember());
    const QStringList live = filesOfEditor();
    ASSERT_FALSE(live.isEmpty());

    // Another editor opening the same file, or starting, takes nothing.
    Document* doc = fileOpen(*docs, diagram).document;
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(SnapshotRecovery::offerNewDiagrams(*docs), 0);
    EXPECT_EQ(questions(), 0);
    ASSERT_TRUE(closeDocument(*docs, *doc));
    EXPECT_EQ(filesOfEditor(), live);

    // Once it is gone, its work is offered.
    killEditor();
    ui.answers.push_back(Answer::No);
    fileOpen(*docs, diagram);
    EXPECT_EQ(questions(), 1);
}

TEST_F(RecoveryTest, BatchRunsAndGeneratorsLeaveLeftSnapshotsAlone)
{
    ASSERT_TRUE(startAndRemember());
    killEditor();
    const QStringList left = filesOfEditor();

    // A batch run of the real program on the file.
    const orvane::testing::BatchOutcome batch = orvane::testing::runBatchProgram(
        workDir, logDir, {diagram, QStringLiteral("/CS"), QStringLiteral("/O") + workDir}, tmpDir);
    EXPECT_EQ(batch.exitCode, 0) << batch.err.toStdString();
    EXPECT_EQ(filesOfEditor(), left);

    // Batch mode inside this process, too.
    process().batchMode = true;
    Document* doc = fileOpen(*docs, diagram).document;
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(questions(), 0);
    docs->remove(doc);
    process().batchMode = false;

    // A child diagram opened for a generation is not asked about.
    doc = fileOpen(*docs, diagram, false).document;
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(questions(), 0);
    docs->remove(doc);
    EXPECT_EQ(filesOfEditor(), left);
}

TEST_F(RecoveryTest, AHistoryWithoutChangesIsDeletedWithoutAQuestion)
{
    // The editor undid its edits of the file: nothing of it is lost.
    undoEverything = true;
    ASSERT_TRUE(startAndRemember());
    killEditor();
    ASSERT_FALSE(filesOfEditor().filter(QStringLiteral("/lamp.fsm-")).isEmpty());
    Document* doc = fileOpen(*docs, diagram).document;
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(questions(), 0);
    EXPECT_TRUE(filesOfEditor().filter(QStringLiteral("/lamp.fsm-")).isEmpty());
}

}  // namespace
