// The main window: start-up, placement, file drops, recent files, preview,
// view toggles and closing with open documents.

#include "WindowTestSupport.h"

#include "modMain.h"

#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

using namespace orvane;
using namespace orvane::test;

namespace {

class MainWindowTest : public WindowTest {
protected:
    void Drop(const QStringList& paths)
    {
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls.append(QUrl::fromLocalFile(p));
        main->openDroppedUrls(urls);
    }

    QStringList Captions() const
    {
        QStringList list;
        for (frmDoc* w : main->docWindows())
            list.append(w->windowTitle());
        return list;
    }
};

// A main window of its own (the fixture's is already placed).
std::unique_ptr<frmMain> AnotherMain(UserInterface& ui)
{
    auto w = std::make_unique<frmMain>(&ui, nullptr);
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    return w;
}

}  // namespace

TEST_F(MainWindowTest, StartOpensThePendingFileOrANewDiagram)
{
    main->Start();
    ASSERT_EQ(Captions().size(), 1);
    EXPECT_TRUE(Captions().first().startsWith(QStringLiteral("FSM_")));

    Process().pendingCommandLine = WriteDiagram(QStringLiteral("lamp.fsm"));
    main->Start();
    EXPECT_TRUE(Process().pendingCommandLine.isEmpty());
    EXPECT_TRUE(Captions().contains(QStringLiteral("lamp")));
    EXPECT_TRUE(main->activeDoc()->subWindow()->isMaximized());
}

TEST_F(MainWindowTest, AFileThatCannotBeLoadedIsReportedAndLeavesNoWindow)
{
    WriteFile(Work(QStringLiteral("broken.fsm")), "{ not json");
    main->Start();
    const int before = main->documents().count();
    const modMain::OpenResult r = main->openFile(Work(QStringLiteral("broken.fsm")));
    EXPECT_EQ(r.status, modMain::OpenStatus::LoadFailed);
    EXPECT_EQ(main->documents().count(), before);
    ASSERT_EQ(ui.count(QStringLiteral("message")), 1);
    EXPECT_TRUE(ui.shown.back().text.startsWith(QStringLiteral("The file can't be opened:")));

    // At start-up the user then gets a new diagram.
    auto other = AnotherMain(ui);
    Process().pendingCommandLine = Work(QStringLiteral("broken.fsm"));
    other->Start();
    EXPECT_EQ(other->documents().count(), 1);
}

TEST_F(MainWindowTest, OpeningAnOpenFileActivatesItsWindow)
{
    const QString lamp = WriteDiagram(QStringLiteral("lamp.fsm"));
    frmDoc* first = Open(lamp);
    NewDocument();
    ASSERT_NE(main->activeDoc(), first);
    main->openFile(lamp);
    EXPECT_EQ(main->activeDoc(), first);
    EXPECT_EQ(main->documents().count(), 2);
}

TEST_F(MainWindowTest, OnlyTheFirstDroppedFileCountsAndOnlyWhenItIsADiagram)
{
    const QString a = WriteDiagram(QStringLiteral("a.fsm"));
    const QString b = WriteDiagram(QStringLiteral("b.fsm"));
    WriteFile(Work(QStringLiteral("notes.txt")), "x");
    Drop({Work(QStringLiteral("notes.txt")), a});
    EXPECT_EQ(main->documents().count(), 0);
    Drop({a, b});
    EXPECT_EQ(Captions(), QStringList{QStringLiteral("a")});
}

TEST_F(MainWindowTest, ADroppedFileGoesToTheInstanceLinkWhenThereIsOne)
{
    QStringList queued;
    ToolHooks hooks;
    hooks.queueFile = [&queued](const QString& p) { queued.append(p); };
    frmMain linked(&ui, nullptr, hooks);
    const QString a = WriteDiagram(QStringLiteral("a.fsm"));
    linked.openDroppedFile(a);
    EXPECT_EQ(queued, QStringList{a});
    EXPECT_EQ(linked.documents().count(), 0);
}

TEST_F(MainWindowTest, PlacementStartsAtTheDefaultsAndIsKeptUnlessMinimised)
{
    auto w = AnotherMain(ui);
    const double px = w->logicalDpiX() / 1440.0;
    EXPECT_NEAR(w->width(), 6500 * px, 1);
    EXPECT_NEAR(w->height(), 6500 * w->logicalDpiY() / 1440.0, 1);

    w->resize(600, 500);
    w->close();
    const AppSettings::MainPlacement stored = AppSettings::GetMainPlacement();
    EXPECT_NEAR(stored.width, 600 / px, 2);

    auto again = AnotherMain(ui);
    EXPECT_EQ(again->width(), 600);
    again->resize(300, 300);
    again->showMinimized();
    again->close();
    EXPECT_EQ(AppSettings::GetMainPlacement().width, stored.width);
}

TEST_F(MainWindowTest, AMainWindowCloseCancelledByADocumentStaysOpen)
{
    frmDoc* w = NewDocument();
    DrawNode(w, QPoint(40, 40), QPoint(190, 130));
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
    frmDoc* w = NewDocument();
    QStringList names;
    for (QAction* a : main->menuBar()->actions())
        names.append(a->objectName());
    EXPECT_EQ(names, (QStringList{QStringLiteral("mnuFile"), QStringLiteral("mnuEdit"),
                                  QStringLiteral("mnuView"), QStringLiteral("mnuWindow"),
                                  QStringLiteral("mnuHelp")}));
    EXPECT_EQ(main->menuBar()->actions().first(), w->menus().first()->menuAction());
}

TEST_F(MainWindowTest, TheToolbarCarriesEveryButtonWithItsToolTip)
{
    const std::pair<const char*, const char*> buttons[] = {
        {"New", "New"}, {"Open", "Open"}, {"Save", "Save"}, {"GeneraCode", "Generate C-Code"},
        {"Print", "Print"}, {"Preview", "Print Preview"}, {"Cut", "Cut"}, {"Copy", "Copy"},
        {"Paste", "Paste"}, {"Find", "Find Text"}, {"Undo", "Undo last action"},
        {"Redo", "Redo last undo"}, {"ReduceFont", "Reduce Font"}, {"AdjustFont", "Change Font"},
        {"AmpliaFont", "Enlarge Font"}, {"Lock_Unlock", "Lock && Unlock the diagram"},
        {"InsertMode", "Insert mode <--> Select mode"}, {"AutoSize", "Autosize Nodes"},
        {"Properties", "FSM Properties"}, {"Remark", "Insert Remark"},
        {"GoUp1Level", "Open Parent"}, {"GoDown1Level", "Open child"}};
    QStringList order;
    for (QAction* a : main->findChild<QToolBar*>(QStringLiteral("tbToolBar"))->actions())
        if (!a->isSeparator())
            order.append(a->objectName());
    ASSERT_EQ(order.size(), int(std::size(buttons)));
    for (size_t i = 0; i < std::size(buttons); ++i) {
        EXPECT_EQ(order.at(qsizetype(i)), QLatin1String(buttons[i].first));
        EXPECT_EQ(Button(buttons[i].first)->toolTip(), QLatin1String(buttons[i].second));
        EXPECT_FALSE(Button(buttons[i].first)->icon().isNull()) << buttons[i].first;
    }
    // Without their tools, Find and the font buttons stay off.
    NewDocument();
    for (const char* key : {"Find", "ReduceFont", "AdjustFont", "AmpliaFont"})
        EXPECT_FALSE(Button(key)->isEnabled()) << key;
    EXPECT_TRUE(Button("Save")->isEnabled());
}

TEST_F(MainWindowTest, TheChildButtonListsTheChildDiagramsAndOpensThem)
{
    const QString motor = root.filePath(QStringLiteral("motor"));
    QDir().mkpath(motor + QStringLiteral("/motor"));
    QFile::copy(QStringLiteral(ORVANE_TEST_DATA "/motor.fsm"), motor + QStringLiteral("/motor.fsm"));
    QFile::copy(QStringLiteral(ORVANE_TEST_DATA "/motor/CHILD.fsm"),
                motor + QStringLiteral("/motor/CHILD.fsm"));
    Open(motor + QStringLiteral("/motor.fsm"));
    ASSERT_TRUE(Button("GoDown1Level")->isEnabled());
    EXPECT_FALSE(Button("GoUp1Level")->isEnabled());
    QMenu* menu = Button("GoDown1Level")->menu();
    ASSERT_TRUE(menu);
    emit menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 1);
    menu->actions().first()->trigger();
    EXPECT_EQ(main->activeDoc()->windowTitle(), QStringLiteral("CHILD"));
    // The child knows its parent.
    EXPECT_TRUE(Button("GoUp1Level")->isEnabled());
    Button("GoUp1Level")->trigger();
    EXPECT_EQ(main->activeDoc()->windowTitle(), QStringLiteral("motor"));
}

TEST_F(MainWindowTest, SavingListsTheFileInTheRecentItemsOfEveryWindow)
{
    frmDoc* w = NewDocument();
    DrawNode(w, QPoint(40, 40), QPoint(190, 130));
    ui.fileNames = {Work(QStringLiteral("kept.fsm"))};
    Button("Save")->trigger();
    frmDoc* other = NewDocument();
    for (QAction* item : {main->menuItem(QStringLiteral("mnuFileMRU0")),
                          Item(w, "mnuFileMRU0"), Item(other, "mnuFileMRU0")}) {
        ASSERT_TRUE(item);
        EXPECT_TRUE(item->isVisible());
        EXPECT_EQ(item->text(), Work(QStringLiteral("kept.fsm")));
    }
    EXPECT_FALSE(Item(other, "mnuFileMRU1")->isVisible());
    // Choosing it activates the open document.
    Item(other, "mnuFileMRU0")->trigger();
    EXPECT_EQ(main->activeDoc(), w);
}

TEST_F(MainWindowTest, PreviewFollowsTheActiveDocument)
{
    frmDoc* first = NewDocument();
    Button("Preview")->trigger();
    EXPECT_TRUE(main->previewShown());
    EXPECT_TRUE(Button("Preview")->isChecked());
    EXPECT_TRUE(Item(first, "mnuFilePrintPreview")->isChecked());

    // Another document becoming active hides it.
    NewDocument();
    EXPECT_FALSE(main->previewShown());
    EXPECT_FALSE(Button("Preview")->isChecked());
    EXPECT_FALSE(Item(first, "mnuFilePrintPreview")->isChecked());
}

TEST_F(MainWindowTest, ToolbarAndStatusBarTogglesReachEveryWindow)
{
    frmDoc* a = NewDocument();
    frmDoc* b = NewDocument();
    Item(b, "mnuViewToolbar")->trigger();
    EXPECT_FALSE(main->toolbarVisible());
    EXPECT_FALSE(Item(a, "mnuViewToolbar")->isChecked());
    EXPECT_FALSE(main->menuItem(QStringLiteral("mnuViewToolbar"))->isChecked());
    Item(a, "mnuViewStatusBar")->trigger();
    EXPECT_FALSE(main->statusBarVisible());
    EXPECT_FALSE(Item(b, "mnuViewStatusBar")->isChecked());
    // A window opened later starts with the same marks.
    EXPECT_FALSE(Item(NewDocument(), "mnuViewToolbar")->isChecked());
}
