// Saves from the editor write the file on the document's save thread: the
// document follows only when the write has ended, edits made meanwhile stay
// changes, and every save, Save As and close waits for a running save.

#include "AppTestSupport.h"

#include "DocumentCommands.h"
#include "MachineInfo.h"

#include <QDir>
#include <QFileInfo>

using namespace orvane;
using namespace orvane::DocumentCommands;
using orvane::test::readFile;

namespace {

class SaveInBackgroundTest : public test::AppTest {
protected:
    // The same diagram under the same file name in another folder.
    Document* openTwin()
    {
        QDir().mkpath(work(QStringLiteral("other")));
        return openUnlocked(writeDiagram(QStringLiteral("other/lamp.fsm")));
    }

    // The bytes the save wrote before it went to a thread: the record node
    // and the cleared texts put into the diagram itself, then written.
    static QByteArray bytesSavedInPlace(Document& doc, const QString& path)
    {
        MachineInfo::saveGraphInfo(doc.fsm, true);
        EXPECT_TRUE(doc.fsm.diagram().saveFile(path, nullptr));
        return readFile(path);
    }
};

TEST_F(SaveInBackgroundTest, TheDocumentCountsAsSavedOnlyOnceTheWriteHasEnded)
{
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    const QByteArray original = readFile(path);
    Document* doc = openUnlocked(path);
    ASSERT_NE(doc, nullptr);
    edit(*doc);

    ASSERT_TRUE(fileSave(*docs, *doc, SaveMode::Background));
    EXPECT_TRUE(doc->saving());
    // Until the result is applied the document is changed and not listed.
    EXPECT_TRUE(doc->undo.graphHasChanged());
    EXPECT_TRUE(getRecentFiles(*docs).isEmpty());
    doc->waitForSave();
    EXPECT_FALSE(doc->saving());
    EXPECT_FALSE(doc->undo.graphHasChanged());
    EXPECT_TRUE(doc->fsm.lastSaveSucceeded);
    EXPECT_EQ(getRecentFiles(*docs), QStringList{path});
    EXPECT_EQ(readFile(path + QStringLiteral(".bak")), original);

    // The same bytes as a save that changes the diagram itself.
    const QByteArray saved = readFile(path);
    Document* other = openTwin();
    ASSERT_NE(other, nullptr);
    edit(*other);
    EXPECT_EQ(bytesSavedInPlace(*other, work(QStringLiteral("other/lamp.fsm"))), saved);
    EXPECT_EQ(ui.count(QStringLiteral("message")), 0);
}

TEST_F(SaveInBackgroundTest, EditsMadeWhileTheFileIsWrittenStayChangesAndCanBeUndone)
{
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    Document* doc = openUnlocked(path);
    ASSERT_NE(doc, nullptr);
    Diagram& d = doc->fsm.diagram();
    edit(*doc);
    const qsizetype savedCount = d.nodeCount();

    ASSERT_TRUE(fileSave(*docs, *doc, SaveMode::Background));
    // The result is applied from the event loop, so this edit comes first.
    edit(*doc);
    doc->waitForSave();
    EXPECT_TRUE(doc->fsm.lastSaveSucceeded);
    EXPECT_FALSE(doc->fsm.isNew);
    EXPECT_TRUE(doc->undo.graphHasChanged());
    Diagram file;
    ASSERT_TRUE(file.loadFile(path, nullptr));
    EXPECT_EQ(file.nodeCount(), savedCount + 1);  // the record node, not the second edit

    // The history goes on: the second edit can be undone and redone.
    ASSERT_TRUE(doc->undo.canUndo());
    doc->undo.undo();
    EXPECT_EQ(d.nodeCount(), savedCount);
    doc->undo.redo();
    EXPECT_EQ(d.nodeCount(), savedCount + 1);

    // A save now writes the second edit and the document equals its file.
    ASSERT_TRUE(fileSave(*docs, *doc));
    EXPECT_FALSE(doc->undo.graphHasChanged());
    ASSERT_TRUE(file.loadFile(path, nullptr));
    EXPECT_EQ(file.nodeCount(), savedCount + 2);
}

TEST_F(SaveInBackgroundTest, AFailedWriteIsToldOnceAndLeavesTheDocumentChangedUnderItsName)
{
    // The file exists, but no temporary file can be made beside a name
    // this long, so it cannot be replaced.
    const QString longName = writeDiagram(QString(246, QLatin1Char('x')) + QStringLiteral(".fsm"));
    const QByteArray longOriginal = readFile(longName);
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    Document* doc = openUnlocked(path);
    ASSERT_NE(doc, nullptr);
    edit(*doc);

    ui.fileNames.push_back(longName);
    ASSERT_TRUE(fileSaveAs(*docs, *doc, SaveMode::Background));
    doc->waitForSave();
    EXPECT_EQ(readFile(longName), longOriginal);
    EXPECT_EQ(ui.count(QStringLiteral("message")), 1);
    EXPECT_TRUE(debugLog().contains(QStringLiteral(" SalvaDiagrama, Error # 75: ")));
    EXPECT_TRUE(doc->undo.graphHasChanged());
    EXPECT_FALSE(doc->fsm.lastSaveSucceeded);
    EXPECT_EQ(doc->fsm.filePath, path);
    EXPECT_EQ(doc->caption(), QStringLiteral("lamp"));
    EXPECT_TRUE(getRecentFiles(*docs).isEmpty());
}

TEST_F(SaveInBackgroundTest, SavesAndClosesWaitForTheRunningSave)
{
    const QString path = writeDiagram(QStringLiteral("lamp.fsm"));
    Document* doc = openUnlocked(path);
    ASSERT_NE(doc, nullptr);
    edit(*doc);

    // A second save waits, then writes the edit made in between.
    ASSERT_TRUE(fileSave(*docs, *doc, SaveMode::Background));
    edit(*doc);
    const QByteArray expected = [&] {
        Document* other = openTwin();
        edit(*other);
        edit(*other);
        return bytesSavedInPlace(*other, work(QStringLiteral("other/lamp.fsm")));
    }();
    ASSERT_TRUE(fileSave(*docs, *doc));
    EXPECT_FALSE(doc->saving());
    EXPECT_EQ(readFile(path), expected);
    EXPECT_FALSE(doc->undo.graphHasChanged());

    // Closing while a save runs waits for it: nothing left to ask about.
    edit(*doc);
    ASSERT_TRUE(fileSave(*docs, *doc, SaveMode::Background));
    const int before = docs->count();
    EXPECT_TRUE(closeDocument(*docs, *doc));
    EXPECT_EQ(ui.count(QStringLiteral("yesnocancel")), 0);
    EXPECT_EQ(docs->count(), before - 1);
    EXPECT_NE(readFile(path), expected);
}

}  // namespace
