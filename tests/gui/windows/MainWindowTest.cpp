// The main window: start-up, placement, file drops, recent files, preview,
// view toggles and closing with open documents.

#include "WindowTestSupport.h"

#include "CommandLine.h"
#include "UndoSnapshots.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QSysInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <unistd.h>

using namespace orvane;
using namespace orvane::test;

namespace {

class MainWindowTest : public WindowTest {
protected:
    void drop(const QStringList& paths)
    {
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls.append(QUrl::fromLocalFile(p));
        main->openDroppedUrls(urls);
    }

    QStringList captions() const
    {
        QStringList list;
        for (DocumentWindow* w : main->docWindows())
            list.append(w->windowTitle());
        return list;
    }
};

// A main window of its own (the fixture's is already placed).
std::unique_ptr<MainWindow> anotherMain(UserInterface& ui)
{
    auto w = std::make_unique<MainWindow>(&ui, nullptr);
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    return w;
}

}  // namespace

TEST_F(MainWindowTest, StartOpensThePendingFileOrANewDiagram)
{
    main->start();
    ASSERT_EQ(captions().size(), 1);
    EXPECT_TRUE(captions().first().startsWith(QStringLiteral("FSM_")));

    process().pendingCommandLine = writeDiagram(QStringLiteral("lamp.fsm"));
    main->start();
    EXPECT_TRUE(process().pendingCommandLine.isEmpty());
    EXPECT_TRUE(captions().contains(QStringLiteral("lamp")));
    EXPECT_TRUE(main->activeDoc()->subWindow()->isMaximized());
}

TEST_F(MainWindowTest, StartOffersTheNewDiagramsOfAnEditorThatDied)
{
    // The files an editor leaves when it is killed with a new diagram
    // changed: its snapshot, the description and the lock of a process
    // that no longer runs.
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 pid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    const QString document = work(QStringLiteral("FSM_0007.fsm"));
    const QString folder = tmpDir + QStringLiteral("/$fsm-") + QString::number(getuid());
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString base = folder + QLatin1Char('/') + UndoSnapshots::historyKey(document)
                         + QLatin1Char('-') + QString::number(pid) + QStringLiteral("-1");
    writeFile(base + QStringLiteral(".000001.UND"), diagramBytes());
    writeFile(base + QStringLiteral(".info"),
              QStringLiteral(R"({"document":"%1","caption":"FSM_0007","new":true,)"
                             R"("current":1,"changed":true,"time":"2026-01-02T03:04:05Z"})")
                  .arg(document)
                  .toUtf8());
    writeFile(base + QStringLiteral(".lock"),
              QByteArray::number(pid) + "\norvane\n" + QSysInfo::machineHostName().toUtf8() + "\n");

    ui.answers.push_back(Answer::Yes);
    main->start();
    ASSERT_EQ(ui.count(QStringLiteral("yesno")), 1);
    EXPECT_TRUE(ui.shown.front().text.startsWith(
        QStringLiteral("Recover unsaved changes of FSM_0007 from ")));
    // The recovered diagram instead of an empty one.
    ASSERT_EQ(main->documents().count(), 1);
    Document* doc = main->documents().documents().first();
    EXPECT_EQ(doc->fsm.diagram().nodeCount(), 3);
    EXPECT_TRUE(doc->undo.graphHasChanged());
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral(".000001.UND")));
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral(".lock")));
}

TEST_F(MainWindowTest, AFileThatCannotBeLoadedIsReportedAndLeavesNoWindow)
{
    writeFile(work(QStringLiteral("broken.fsm")), "{ not json");
    main->start();
    const int before = main->documents().count();
    const DocumentCommands::OpenResult r = main->openFile(work(QStringLiteral("broken.fsm")));
    EXPECT_EQ(r.status, DocumentCommands::OpenStatus::LoadFailed);
    EXPECT_EQ(main->documents().count(), before);
    ASSERT_EQ(ui.count(QStringLiteral("message")), 1);
    EXPECT_TRUE(ui.shown.back().text.startsWith(QStringLiteral("The file can't be opened:")));

    // At start-up the user then gets a new diagram.
    auto other = anotherMain(ui);
    process().pendingCommandLine = work(QStringLiteral("broken.fsm"));
    other->start();
    EXPECT_EQ(other->documents().count(), 1);
}

TEST_F(MainWindowTest, OpeningAnOpenFileActivatesItsWindow)
{
    const QString lamp = writeDiagram(QStringLiteral("lamp.fsm"));
    DocumentWindow* first = open(lamp);
    newDocument();
    ASSERT_NE(main->activeDoc(), first);
    main->openFile(lamp);
    EXPECT_EQ(main->activeDoc(), first);
    EXPECT_EQ(main->documents().count(), 2);
}

TEST_F(MainWindowTest, OnlyTheFirstDroppedFileCountsAndOnlyWhenItIsADiagram)
{
    const QString a = writeDiagram(QStringLiteral("a.fsm"));
    const QString b = writeDiagram(QStringLiteral("b.fsm"));
    writeFile(work(QStringLiteral("notes.txt")), "x");
    drop({work(QStringLiteral("notes.txt")), a});
    EXPECT_EQ(main->documents().count(), 0);
    drop({a, b});
    EXPECT_EQ(captions(), QStringList{QStringLiteral("a")});
}

TEST_F(MainWindowTest, ADroppedFileGoesToTheInstanceLinkWhenThereIsOne)
{
    QStringList queued;
    ToolHooks hooks;
    hooks.queueFile = [&queued](const QString& p) { queued.append(p); };
    MainWindow linked(&ui, nullptr, hooks);
    const QString a = writeDiagram(QStringLiteral("a.fsm"));
    linked.openDroppedFile(a);
    EXPECT_EQ(queued, QStringList{a});
    EXPECT_EQ(linked.documents().count(), 0);
}

TEST_F(MainWindowTest, PlacementStartsLargeAndIsKeptUnlessMinimised)
{
    auto w = anotherMain(ui);
    const double px = w->logicalDpiX() / 1440.0;
    // A first start takes three quarters of the screen, in its middle.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(w->size(), QSize(screen.width() * 3 / 4, screen.height() * 3 / 4));
    EXPECT_TRUE(screen.contains(w->frameGeometry()));
    EXPECT_NEAR(w->frameGeometry().center().x(), screen.center().x(), 20);

    w->resize(600, 500);
    w->close();
    const AppSettings::MainPlacement stored = AppSettings::getMainPlacement();
    EXPECT_NEAR(stored.width, 600 / px, 2);

    auto again = anotherMain(ui);
    EXPECT_EQ(again->width(), 600);
    again->resize(300, 300);
    again->showMinimized();
    again->close();
    EXPECT_EQ(AppSettings::getMainPlacement().width, stored.width);
}

TEST_F(MainWindowTest, AMaximizedMainWindowStartsMaximizedAgain)
{
    {
        auto w = anotherMain(ui);
        w->resize(640, 480);
        w->showMaximized();
        QTest::qWait(1);
        w->close();
    }
    EXPECT_TRUE(AppSettings::getMainMaximized());
    // The size to come back to is the normal one, not the maximized one.
    EXPECT_NEAR(AppSettings::getMainPlacement().width, 640 * 1440.0 / main->logicalDpiX(), 2);
    auto again = anotherMain(ui);
    again->show();
    EXPECT_TRUE(again->isMaximized());
    again->showNormal();
    again->close();
    EXPECT_FALSE(AppSettings::getMainMaximized());
}

TEST_F(MainWindowTest, AMainWindowCloseCancelledByADocumentStaysOpen)
{
    DocumentWindow* w = newDocument();
    drawNode(w, QPoint(40, 40), QPoint(190, 130));
    ui.answers = {Answer::Cancel};
    EXPECT_FALSE(main->close());
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->documents().count(), 1);
    ui.answers = {Answer::No};
    EXPECT_TRUE(main->close());
    EXPECT_EQ(main->documents().count(), 0);
}

TEST_F(MainWindowTest, MenusOfTheActiveDocumentReplaceTheMainWindowsOwn)
{
    EXPECT_EQ(main->menuBar()->actions().size(), 3);
    DocumentWindow* w = newDocument();
    QStringList names;
    for (QAction* a : main->menuBar()->actions())
        names.append(a->objectName());
    EXPECT_EQ(names, (QStringList{QStringLiteral("fileMenu"), QStringLiteral("editMenu"),
                                  QStringLiteral("viewMenu"), QStringLiteral("windowMenu"),
                                  QStringLiteral("helpMenu")}));
    EXPECT_EQ(main->menuBar()->actions().first(), w->menus().first()->menuAction());
}

TEST_F(MainWindowTest, TheToolbarCarriesEveryButtonWithItsToolTip)
{
    const std::pair<const char*, const char*> buttons[] = {
        {"New", "New"},
        {"Open", "Open"},
        {"Save", "Save"},
        {"GenerateCode", "Generate C-Code"},
        {"Print", "Print"},
        {"Preview", "Print Preview"},
        {"Cut", "Cut"},
        {"Copy", "Copy"},
        {"Paste", "Paste"},
        {"Find", "Find Text"},
        {"Undo", "Undo last action"},
        {"Redo", "Redo last undo"},
        {"ReduceFont", "Reduce Font"},
        {"AdjustFont", "Change Font"},
        {"EnlargeFont", "Enlarge Font"},
        {"Lock", "Lock && Unlock the diagram"},
        {"InsertMode", "Insert mode <--> Select mode"},
        {"AutoSize", "Autosize Nodes"},
        {"Properties", "FSM Properties"},
        {"Remark", "Insert Remark"},
        {"Simulate", "Simulate the machine"},
        {"GoUp1Level", "Open Parent"},
        {"GoDown1Level", "Open child"},
        {"CheckDiagram", "Check Diagram"}};
    QStringList order;
    for (QAction* a : main->findChild<QToolBar*>(QStringLiteral("toolBar"))->actions())
        if (!a->isSeparator())
            order.append(a->objectName());
    ASSERT_EQ(order.size(), int(std::size(buttons)));
    for (size_t i = 0; i < std::size(buttons); ++i) {
        EXPECT_EQ(order.at(qsizetype(i)), QLatin1String(buttons[i].first));
        EXPECT_EQ(button(buttons[i].first)->toolTip(), QLatin1String(buttons[i].second));
        EXPECT_FALSE(button(buttons[i].first)->icon().isNull()) << buttons[i].first;
    }
    // Without their tools, Find and the font buttons stay off.
    newDocument();
    for (const char* key : {"Find", "ReduceFont", "AdjustFont", "EnlargeFont"})
        EXPECT_FALSE(button(key)->isEnabled()) << key;
    EXPECT_TRUE(button("Save")->isEnabled());
}

TEST_F(MainWindowTest, TheChildButtonListsTheChildDiagramsAndOpensThem)
{
    const QString motor = root.filePath(QStringLiteral("motor"));
    QDir().mkpath(motor + QStringLiteral("/motor"));
    QFile::copy(QStringLiteral(ORVANE_TEST_DATA "/motor.fsm"),
                motor + QStringLiteral("/motor.fsm"));
    QFile::copy(QStringLiteral(ORVANE_TEST_DATA "/motor/CHILD.fsm"),
                motor + QStringLiteral("/motor/CHILD.fsm"));
    open(motor + QStringLiteral("/motor.fsm"));
    ASSERT_TRUE(button("GoDown1Level")->isEnabled());
    EXPECT_FALSE(button("GoUp1Level")->isEnabled());
    QMenu* menu = button("GoDown1Level")->menu();
    ASSERT_TRUE(menu);
    emit menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 1);
    menu->actions().first()->trigger();
    EXPECT_EQ(main->activeDoc()->windowTitle(), QStringLiteral("CHILD"));
    // The child knows its parent.
    EXPECT_TRUE(button("GoUp1Level")->isEnabled());
    button("GoUp1Level")->trigger();
    EXPECT_EQ(main->activeDoc()->windowTitle(), QStringLiteral("motor"));
}

TEST_F(MainWindowTest, SavingListsTheFileInTheRecentItemsOfEveryWindow)
{
    DocumentWindow* w = newDocument();
    drawNode(w, QPoint(40, 40), QPoint(190, 130));
    ui.fileNames = {work(QStringLiteral("kept.fsm"))};
    button("Save")->trigger();
    DocumentWindow* other = newDocument();
    for (QAction* item : {main->menuItem(QStringLiteral("recentFileAction0")),
                          item(w, "recentFileAction0"), item(other, "recentFileAction0")}) {
        ASSERT_TRUE(item);
        EXPECT_TRUE(item->isVisible());
        EXPECT_EQ(item->text(), work(QStringLiteral("kept.fsm")));
    }
    EXPECT_FALSE(item(other, "recentFileAction1")->isVisible());
    // Choosing it activates the open document.
    item(other, "recentFileAction0")->trigger();
    EXPECT_EQ(main->activeDoc(), w);
}

TEST_F(MainWindowTest, PreviewFollowsTheActiveDocument)
{
    DocumentWindow* first = newDocument();
    button("Preview")->trigger();
    EXPECT_TRUE(main->previewShown());
    EXPECT_TRUE(button("Preview")->isChecked());
    EXPECT_TRUE(item(first, "printPreviewAction")->isChecked());

    // Another document becoming active hides it.
    newDocument();
    EXPECT_FALSE(main->previewShown());
    EXPECT_FALSE(button("Preview")->isChecked());
    EXPECT_FALSE(item(first, "printPreviewAction")->isChecked());
}

TEST_F(MainWindowTest, ToolbarAndStatusBarTogglesReachEveryWindow)
{
    DocumentWindow* a = newDocument();
    DocumentWindow* b = newDocument();
    item(b, "toolbarAction")->trigger();
    EXPECT_FALSE(main->toolbarVisible());
    EXPECT_FALSE(item(a, "toolbarAction")->isChecked());
    EXPECT_FALSE(main->menuItem(QStringLiteral("toolbarAction"))->isChecked());
    item(a, "statusBarAction")->trigger();
    EXPECT_FALSE(main->statusBarVisible());
    EXPECT_FALSE(item(b, "statusBarAction")->isChecked());
    // A window opened later starts with the same marks.
    EXPECT_FALSE(item(newDocument(), "toolbarAction")->isChecked());
}
