// The document window: drawing states and transitions with the mouse,
// generation from the menu, undo and redo, locking, remarks and closing.

#include "WindowTestSupport.h"

#include "FsmDocument.h"
#include "States.h"
#include "Transitions.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <array>

using namespace orvane;
using namespace orvane::test;

namespace {

class DocWindowTest : public WindowTest {
protected:
    // Three states drawn side by side and below; a transition from the first
    // to the second, and one from `from` (index 0 to 2) to the second or third.
    std::array<Node*, 3> threeStates(DocumentWindow* w, int from, int to)
    {
        std::array<Node*, 3> s = {drawNode(w, QPoint(40, 40), QPoint(190, 130)),
                                  drawNode(w, QPoint(420, 40), QPoint(570, 130)),
                                  drawNode(w, QPoint(40, 300), QPoint(190, 390))};
        drag(w, centre(w, s[0]), centre(w, s[1]));
        drag(w, centre(w, s[size_t(from)]), centre(w, s[size_t(to)]));
        return s;
    }
};

QStringList transitionLabels(const Diagram& d)
{
    QStringList labels;
    for (const auto& n : d.nodes())
        if (Transitions::isTransitionNode(n.get()))
            labels.append(n->text());
    labels.sort();
    return labels;
}

}  // namespace

// ---------------------------------------------------------------- drawing

TEST_F(DocWindowTest, DrawnNodesBecomeStatesAndLinksBecomeTransitionsWithPriorities)
{
    DocumentWindow* w = newDocument();
    Node* a = drawNode(w, QPoint(40, 40), QPoint(190, 130));
    Node* b = drawNode(w, QPoint(420, 40), QPoint(570, 130));
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(States::isStateNode(a));
    EXPECT_EQ(stateRecord(a).index, QStringLiteral("1"));
    EXPECT_EQ(stateRecord(b).index, QStringLiteral("2"));
    EXPECT_TRUE(stateRecord(b).name.startsWith(QStringLiteral("STATE_")));

    // One transition from a state: no priority shown.
    drag(w, centre(w, a), centre(w, b));
    ASSERT_EQ(transitionLabels(diagramOf(w)).size(), 1);
    EXPECT_FALSE(transitionLabels(diagramOf(w)).first().contains(QLatin1Char('[')));

    // A second one from the same state: both show their priorities.
    drag(w, centre(w, a), centre(w, b));
    const QStringList labels = transitionLabels(diagramOf(w));
    ASSERT_EQ(labels.size(), 2);
    EXPECT_TRUE(labels.at(0).startsWith(QStringLiteral("[1]")));
    EXPECT_TRUE(labels.at(1).startsWith(QStringLiteral("[2]")));
    for (const auto& n : diagramOf(w).nodes()) {
        if (Transitions::isTransitionNode(n.get())) {
            EXPECT_EQ(n->inLinks().size() + n->outLinks().size(), 2u);
        }
    }
}

TEST_F(DocWindowTest, APastedStateGetsAFreeNameAndIndexAndTheCodeStillGenerates)
{
    DocumentWindow* w = newDocument();
    Node* a = drawNode(w, QPoint(40, 40), QPoint(190, 130));
    ASSERT_TRUE(a);
    Diagram& d = diagramOf(w);
    d.clearSelection();
    a->setSelected(true);
    w->copy();
    w->paste();
    std::vector<Node*> states;
    for (const auto& n : d.nodes())
        if (States::isStateNode(n.get()))
            states.push_back(n.get());
    ASSERT_EQ(states.size(), 2u);
    const StateRecord original = stateRecord(states[0]);
    const StateRecord copy = stateRecord(states[1]);
    // A drawn state is STATE_1; its copy continues the numbering.
    EXPECT_EQ(original.name, QStringLiteral("STATE_1"));
    EXPECT_EQ(copy.name, QStringLiteral("STATE_2"));
    EXPECT_EQ(copy.index, QStringLiteral("2"));
    EXPECT_EQ(States::firstNameClash(d).first, nullptr);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(DocWindowTest, ShowGridDrawsTheGridOnTheCanvas)
{
    DocumentWindow* w = newDocument();
    const QColor base = QApplication::palette().color(QPalette::Base);
    auto dots = [&] {
        const QImage image = w->view()->viewport()->grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) != base;
        return n;
    };
    EXPECT_EQ(dots(), 0);
    item(w, "showGridAction")->trigger();
    ASSERT_TRUE(diagramOf(w).showGrid());
    // An empty canvas of several hundred pixels holds many grid points.
    EXPECT_GT(dots(), 100);
    item(w, "showGridAction")->trigger();
    EXPECT_EQ(dots(), 0);
}

TEST_F(DocWindowTest, TheGenerateButtonOffersTheMethodologiesWhenTheDiagramHasNoDefault)
{
    DocumentWindow* w = newDocument();
    ASSERT_FALSE(w->document()->fsm.defaultMethodology);
    QMenu* menu = item(w, "generateMenu")->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->isVisible());
    button("GenerateCode")->trigger();
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    EXPECT_TRUE(ui.dialogs.empty());  // nothing was generated or asked
}

TEST_F(DocWindowTest, ATinyNodeVanishesWithoutAnUndoStep)
{
    DocumentWindow* w = newDocument();
    Document* doc = w->document();
    const int snapshots = doc->undo.snapshotCount();
    // 300 x 200 twips is not larger than the least state.
    const int px = pixels(w, 300) - 1, py = pixels(w, 200) - 1;
    drawNode(w, QPoint(50, 50), QPoint(50 + px, 50 + py));
    EXPECT_EQ(diagramOf(w).nodeCount(), 0);
    EXPECT_FALSE(doc->undo.graphHasChanged());
    EXPECT_EQ(doc->undo.snapshotCount(), snapshots);
    EXPECT_FALSE(button("Undo")->isEnabled());
}

TEST_F(DocWindowTest, ALinkBetweenTwoTransitionsIsRemoved)
{
    DocumentWindow* w = newDocument();
    threeStates(w, 2, 1);
    std::vector<Node*> transitions;
    for (const auto& n : diagramOf(w).nodes())
        if (Transitions::isTransitionNode(n.get()))
            transitions.push_back(n.get());
    ASSERT_EQ(transitions.size(), 2u);
    const size_t links = diagramOf(w).links().size();
    drag(w, centre(w, transitions[0]), centre(w, transitions[1]));
    EXPECT_EQ(diagramOf(w).links().size(), links);
}

TEST_F(DocWindowTest, DoubleClickOnALinkStraightensIt)
{
    DocumentWindow* w = newDocument();
    Diagram& d = diagramOf(w);
    Node* a = d.addNode(600, 600, 1500, 900);
    Node* b = d.addNode(6000, 600, 1500, 900);
    Link* l = d.addLink(a, b);
    l->setExtraPoints({QPointF(3800, 3000)});
    QTest::qWait(1);
    const QPoint bend = w->view()->mapFromScene(QPointF(3800, 3000));
    QTest::mouseDClick(w->view()->viewport(), Qt::LeftButton, {}, bend);
    EXPECT_TRUE(l->extraPoints().empty());
}

// ---------------------------------------------------------------- generation

TEST_F(DocWindowTest, ExportMetafilePutsSvgAndImageOnTheClipboard)
{
    DocumentWindow* w = open(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_TRUE(w);
    w->exportEMF();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    const QByteArray svg = mime->data(QStringLiteral("image/svg+xml"));
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(mime->hasImage());
    EXPECT_FALSE(w->document()->fsm.diagram().changed());
}

TEST_F(DocWindowTest, SwitchCaseCodeFromTheMenuGoesWhereTheSaveDialogSays)
{
    DocumentWindow* w = open(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_TRUE(w);
    const QString out = makeDir(QStringLiteral("out")) + QStringLiteral("/machine.c");
    ui.fileNames.push_back(out);
    item(w, "generateSwitchCaseAction")->trigger();

    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, QStringLiteral("Save Finite_State file as Ansi-C File..."));
    EXPECT_EQ(ui.dialogs[0].proposedName, work(QStringLiteral("lamp.c")));
    EXPECT_TRUE(QFileInfo::exists(out));
    const QString header =
        QString::fromUtf8(readFile(out.left(out.size() - 2) + QStringLiteral(".h")));
    EXPECT_FALSE(header.isEmpty());
    // The file's default methodology was chosen again: nothing changed.
    EXPECT_FALSE(w->document()->undo.graphHasChanged());
    EXPECT_TRUE(item(w, "generateSwitchCaseAction")->isChecked());
    EXPECT_EQ(button("GenerateCode")->toolTip(), QStringLiteral("Generate C-Code: Switch Case..."));
}

TEST_F(DocWindowTest, AnotherMethodologyBecomesTheDefaultAndMarksTheDocumentChanged)
{
    DocumentWindow* w = open(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_TRUE(w);
    ui.fileNames.push_back(work(QStringLiteral("lamp.c")));
    EXPECT_TRUE(w->generatePointers());
    EXPECT_TRUE(w->document()->undo.graphHasChanged());
    EXPECT_TRUE(item(w, "generatePointersAction")->isChecked());
    EXPECT_FALSE(item(w, "generateSwitchCaseAction")->isChecked());
    EXPECT_EQ(button("GenerateCode")->toolTip(),
              QStringLiteral("Generate C-Code: Direct Pointers..."));

    // The toolbar's button runs the checked methodology.
    ui.fileNames.push_back(work(QStringLiteral("again.c")));
    button("GenerateCode")->trigger();
    EXPECT_TRUE(QFileInfo::exists(work(QStringLiteral("again.c"))));
}

TEST_F(DocWindowTest, ACancelledSaveDialogWritesNothingAndANewDiagramHasNoDefault)
{
    DocumentWindow* w = newDocument();
    EXPECT_FALSE(w->generateInDefaultStyle());
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_EQ(button("GenerateCode")->toolTip(), QStringLiteral("Generate C-Code"));

    DocumentWindow* lamp = open(writeDiagram(QStringLiteral("lamp.fsm")));
    EXPECT_FALSE(lamp->generateSwitchCase());
    EXPECT_FALSE(QFileInfo::exists(work(QStringLiteral("lamp.c"))));
}

// ---------------------------------------------------------------- undo, lock

TEST_F(DocWindowTest, UndoAndRedoThroughTheToolbar)
{
    DocumentWindow* w = newDocument();
    EXPECT_FALSE(button("Undo")->isEnabled());
    drawNode(w, QPoint(40, 40), QPoint(190, 130));
    ASSERT_EQ(diagramOf(w).nodeCount(), 1);
    EXPECT_TRUE(button("Undo")->isEnabled());
    EXPECT_TRUE(item(w, "undoAction")->isEnabled());
    EXPECT_FALSE(button("Redo")->isEnabled());

    button("Undo")->trigger();
    EXPECT_EQ(diagramOf(w).nodeCount(), 0);
    EXPECT_FALSE(button("Undo")->isEnabled());
    EXPECT_TRUE(button("Redo")->isEnabled());
    EXPECT_FALSE(w->document()->undo.graphHasChanged());

    button("Redo")->trigger();
    ASSERT_EQ(diagramOf(w).nodeCount(), 1);
    EXPECT_TRUE(States::isStateNode(diagramOf(w).item(1)));
    EXPECT_FALSE(button("Redo")->isEnabled());
    EXPECT_TRUE(button("Undo")->isEnabled());
}

TEST_F(DocWindowTest, LockingDisablesTheEditingCommandsAndUnlockingBringsThemBack)
{
    DocumentWindow* w = newDocument();
    drawNode(w, QPoint(40, 40), QPoint(190, 130));
    ASSERT_TRUE(button("Undo")->isEnabled());

    button("Lock")->trigger();
    EXPECT_TRUE(diagramOf(w).readOnly());
    EXPECT_TRUE(button("Lock")->isChecked());
    EXPECT_TRUE(item(w, "lockedAction")->isChecked());
    for (const char* key : {"Cut", "Copy", "Paste", "Undo", "Redo", "InsertMode", "Remark"})
        EXPECT_FALSE(button(key)->isEnabled()) << key;
    for (const char* name :
         {"insertRemarkAction", "fontMenu", "cutAction", "copyAction", "pasteAction",
          "exportMetafileAction", "deleteAction", "gridMenu", "selectAllAction", "selectModeAction",
          "zoomWindowAction", "autosizeAction", "undoAction"})
        EXPECT_FALSE(item(w, name)->isEnabled()) << name;
    // Autosize cannot change a locked diagram; its button stays as it was.
    button("AutoSize")->trigger();
    EXPECT_TRUE(button("AutoSize")->isChecked());
    EXPECT_TRUE(w->document()->fsm.autosizeNodes);
    // Drawing on a locked diagram makes nothing.
    drawNode(w, QPoint(300, 300), QPoint(450, 390));
    EXPECT_EQ(diagramOf(w).nodeCount(), 1);

    item(w, "lockedAction")->trigger();
    EXPECT_FALSE(diagramOf(w).readOnly());
    for (const char* key : {"Cut", "Copy", "Paste", "Undo", "InsertMode", "Remark"})
        EXPECT_TRUE(button(key)->isEnabled()) << key;
    EXPECT_TRUE(item(w, "deleteAction")->isEnabled());
}

TEST_F(DocWindowTest, AFileNamedToOpenStartsLocked)
{
    DocumentWindow* w = open(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_TRUE(w);
    EXPECT_TRUE(diagramOf(w).readOnly());
    EXPECT_TRUE(button("Lock")->isChecked());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("lamp"));
}

// ---------------------------------------------------------------- edit commands

TEST_F(DocWindowTest, DeletingAStateTakesItsTransitionsAndRenumbersTheRest)
{
    DocumentWindow* w = newDocument();
    Node* b = threeStates(w, 0, 2)[1];
    ASSERT_EQ(transitionLabels(diagramOf(w)).size(), 2);
    diagramOf(w).clearSelection();
    b->setSelected(true);
    item(w, "deleteAction")->trigger();
    const QStringList labels = transitionLabels(diagramOf(w));
    ASSERT_EQ(labels.size(), 1);
    EXPECT_FALSE(labels.first().contains(QLatin1Char('[')));
    EXPECT_TRUE(button("Undo")->isEnabled());
}

TEST_F(DocWindowTest, ARemarkIsEditedInPlaceAndEscStoresTheText)
{
    DocumentWindow* w = newDocument();
    item(w, "insertRemarkAction")->trigger();
    ASSERT_EQ(diagramOf(w).nodeCount(), 1);
    Node* remark = diagramOf(w).item(1);
    EXPECT_EQ(remark->userData(), NodeTextBox);
    EXPECT_FALSE(remark->isFsmItem());
    QPlainTextEdit* editor = w->remarkEditor();
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(w->editedRemark(), remark);
    EXPECT_FALSE(w->view()->inputEnabled());

    editor->setPlainText(QStringLiteral("first\nsecond"));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(remark->text(), QStringLiteral("first\r\nsecond"));
    EXPECT_TRUE(w->view()->inputEnabled());

    // The edit is one undo step.
    button("Undo")->trigger();
    ASSERT_EQ(diagramOf(w).nodeCount(), 1);
    EXPECT_TRUE(diagramOf(w).item(1)->text().isEmpty());
}

TEST_F(DocWindowTest, AnUndoWhileARemarkIsEditedUndoesTheTypedTextAndClosesTheEditor)
{
    DocumentWindow* w = newDocument();
    item(w, "insertRemarkAction")->trigger();
    w->remarkEditor()->setPlainText(QStringLiteral("kept"));
    button("Undo")->trigger();
    EXPECT_FALSE(w->remarkEditor()->isVisible());
    EXPECT_EQ(w->editedRemark(), nullptr);
    ASSERT_EQ(diagramOf(w).nodeCount(), 1);
    EXPECT_TRUE(diagramOf(w).item(1)->text().isEmpty());
}

TEST_F(DocWindowTest, SelectModeZoomWindowAndZoomItemsKeepTheirCheckMarks)
{
    DocumentWindow* w = newDocument();
    EXPECT_TRUE(item(w, "zoomAction1")->isChecked());
    button("InsertMode")->trigger();
    EXPECT_EQ(w->view()->mouseMode(), DiagramView::SelectMode);
    EXPECT_TRUE(item(w, "selectModeAction")->isChecked());
    EXPECT_TRUE(button("InsertMode")->isChecked());

    item(w, "zoomWindowAction")->trigger();
    EXPECT_EQ(w->view()->mouseMode(), DiagramView::ZoomWindowMode);
    EXPECT_FALSE(item(w, "selectModeAction")->isChecked());
    drag(w, QPoint(10, 10), QPoint(110, 80));
    EXPECT_EQ(w->view()->mouseMode(), DiagramView::InsertMode);
    EXPECT_FALSE(item(w, "zoomWindowAction")->isChecked());
    EXPECT_GT(w->view()->zoomX(), 100);

    item(w, "zoomAction3")->trigger();
    EXPECT_DOUBLE_EQ(w->view()->zoomX(), 50);
    EXPECT_TRUE(item(w, "zoomAction3")->isChecked());
    EXPECT_FALSE(item(w, "zoomAction1")->isChecked());
}

TEST_F(DocWindowTest, DisplayOptionsAreStoredWithTheDiagram)
{
    DocumentWindow* w = newDocument();
    Document* doc = w->document();
    EXPECT_TRUE(item(w, "autosizeAction")->isChecked());
    item(w, "autosizeAction")->trigger();
    EXPECT_FALSE(doc->fsm.autosizeNodes);
    EXPECT_TRUE(doc->undo.graphHasChanged());

    item(w, "hideCommentsAction")->trigger();
    EXPECT_TRUE(doc->fsm.hideComments);
    EXPECT_TRUE(item(w, "hideCommentsAction")->isChecked());

    item(w, "gridSizeAction4")->trigger();
    EXPECT_DOUBLE_EQ(diagramOf(w).gridSize(), 300);
    EXPECT_TRUE(item(w, "gridSizeAction4")->isChecked());
    EXPECT_FALSE(item(w, "gridSizeAction1")->isChecked());

    // Undo brings the options of the earlier snapshot back to the menus.
    button("Undo")->trigger();
    EXPECT_FALSE(item(w, "hideCommentsAction")->isChecked());
    EXPECT_FALSE(item(w, "autosizeAction")->isChecked());
}

// ---------------------------------------------------------------- closing

TEST_F(DocWindowTest, ClosingAChangedDocumentAsksAndFollowsTheAnswer)
{
    DocumentWindow* w = newDocument();
    drawNode(w, QPoint(40, 40), QPoint(190, 130));
    QPointer<QMdiSubWindow> sub = w->subWindow();

    ui.answers = {Answer::Cancel};
    EXPECT_FALSE(sub->close());
    ASSERT_EQ(ui.count(QStringLiteral("yesnocancel")), 1);
    EXPECT_EQ(ui.shown.back().title, QStringLiteral("Orvane Diagram Editor"));
    EXPECT_EQ(ui.shown.back().text,
              QStringLiteral("The diagram in [") + w->windowTitle()
                  + QStringLiteral("] has changed.\r\nDo you want to save the changes?"));
    EXPECT_EQ(main->documents().count(), 1);

    // Yes, but the save dialog is cancelled: the window stays.
    ui.answers = {Answer::Yes};
    ui.fileNames = {QString()};
    EXPECT_FALSE(sub->close());
    EXPECT_EQ(main->documents().count(), 1);

    ui.answers = {Answer::Yes};
    ui.fileNames = {work(QStringLiteral("saved.fsm"))};
    EXPECT_TRUE(sub->close());
    EXPECT_TRUE(QFileInfo::exists(work(QStringLiteral("saved.fsm"))));
    EXPECT_EQ(main->documents().count(), 0);
    QTest::qWait(1);
    EXPECT_TRUE(sub.isNull());
}

TEST_F(DocWindowTest, ClosingWithoutSavingLeavesOnlyNewAndOpen)
{
    DocumentWindow* w = newDocument();
    drawNode(w, QPoint(40, 40), QPoint(190, 130));
    ui.answers = {Answer::No};
    item(w, "closeAction")->trigger();
    EXPECT_EQ(main->documents().count(), 0);
    EXPECT_TRUE(QDir(workDir).entryList({QStringLiteral("*.fsm")}).isEmpty());
    EXPECT_TRUE(button("New")->isEnabled());
    EXPECT_TRUE(button("Open")->isEnabled());
    for (const char* key : {"Save", "GenerateCode", "Print", "Preview", "Cut", "Undo", "Lock",
                            "Properties", "Remark", "Simulate", "GoUp1Level", "GoDown1Level"})
        EXPECT_FALSE(button(key)->isEnabled()) << key;
    // The main window's own menus are back.
    EXPECT_EQ(main->menuBar()->actions().size(), 3);
}

// ---------------------------------------------------------------- dialogs and keys

TEST_F(DocWindowTest, DoubleClicksOpenThePropertyDialogsBetweenStoppedAndRunning)
{
    QStringList calls;
    ToolHooks hooks;
    hooks.stopped = [&calls] { calls << QStringLiteral("stopped"); };
    hooks.running = [&calls] { calls << QStringLiteral("running"); };
    MainWindow linked(&ui, nullptr, hooks);
    linked.resize(900, 700);
    linked.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&linked));
    linked.newDocument();
    DocumentWindow* w = linked.activeDoc();
    w->subWindow()->showMaximized();
    Node* state = drawNode(w, QPoint(40, 40), QPoint(190, 130));
    ASSERT_TRUE(state);

    // Each dialog is closed as soon as it shows.
    const auto closeNextDialog = [&calls] {
        QTimer::singleShot(0, [&calls] {
            if (QWidget* d = QApplication::activeModalWidget()) {
                calls << QString::fromLatin1(d->metaObject()->className());
                d->close();
            }
        });
    };
    closeNextDialog();
    QTest::mouseDClick(w->view()->viewport(), Qt::LeftButton, {}, QPoint(600, 400));
    closeNextDialog();
    QTest::mouseDClick(w->view()->viewport(), Qt::LeftButton, {}, centre(w, state));
    EXPECT_EQ(calls,
              (QStringList{QStringLiteral("stopped"), QStringLiteral("orvane::MachineDialog"),
                           QStringLiteral("running"), QStringLiteral("stopped"),
                           QStringLiteral("orvane::StateDialog"), QStringLiteral("running")}));
}

TEST_F(DocWindowTest, TheDeleteKeyActsOnTheActiveDocumentOnly)
{
    DocumentWindow* a = newDocument();
    drawNode(a, QPoint(40, 40), QPoint(190, 130));
    DocumentWindow* b = newDocument();
    drawNode(b, QPoint(40, 40), QPoint(190, 130));
    QApplication::setActiveWindow(main.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QTest::keyClick(b->view(), Qt::Key_Delete);
    EXPECT_EQ(diagramOf(b).nodeCount(), 0);
    EXPECT_EQ(diagramOf(a).nodeCount(), 1);
}
