// The document window: drawing states and transitions with the mouse,
// generation from the menu, undo and redo, locking, remarks and closing.

#include "WindowTestSupport.h"

#include "FsmDocument.h"
#include "modNodoEstado.h"
#include "modNodoTransicion.h"

#include <QFileInfo>
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
    std::array<Node*, 3> ThreeStates(frmDoc* w, int from, int to)
    {
        std::array<Node*, 3> s = {DrawNode(w, QPoint(40, 40), QPoint(190, 130)),
                                  DrawNode(w, QPoint(420, 40), QPoint(570, 130)),
                                  DrawNode(w, QPoint(40, 300), QPoint(190, 390))};
        Drag(w, Centre(w, s[0]), Centre(w, s[1]));
        Drag(w, Centre(w, s[size_t(from)]), Centre(w, s[size_t(to)]));
        return s;
    }
};

QStringList TransitionLabels(const Diagram& d)
{
    QStringList labels;
    for (const auto& n : d.nodes())
        if (modNodoTransicion::IsTransitionNode(n.get()))
            labels.append(n->text());
    labels.sort();
    return labels;
}

}  // namespace

// ---------------------------------------------------------------- drawing

TEST_F(DocWindowTest, DrawnNodesBecomeStatesAndLinksBecomeTransitionsWithPriorities)
{
    frmDoc* w = NewDocument();
    Node* a = DrawNode(w, QPoint(40, 40), QPoint(190, 130));
    Node* b = DrawNode(w, QPoint(420, 40), QPoint(570, 130));
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(modNodoEstado::IsStateNode(a));
    EXPECT_EQ(modNodoEstado::GetStateField(modNodoEstado::kStateIndex, a), QStringLiteral("1"));
    EXPECT_EQ(modNodoEstado::GetStateField(modNodoEstado::kStateIndex, b), QStringLiteral("2"));
    EXPECT_TRUE(modNodoEstado::GetStateField(modNodoEstado::kStateName, b).startsWith(
        QStringLiteral("STATE_")));

    // One transition from a state: no priority shown.
    Drag(w, Centre(w, a), Centre(w, b));
    ASSERT_EQ(TransitionLabels(DiagramOf(w)).size(), 1);
    EXPECT_FALSE(TransitionLabels(DiagramOf(w)).first().contains(QLatin1Char('[')));

    // A second one from the same state: both show their priorities.
    Drag(w, Centre(w, a), Centre(w, b));
    const QStringList labels = TransitionLabels(DiagramOf(w));
    ASSERT_EQ(labels.size(), 2);
    EXPECT_TRUE(labels.at(0).startsWith(QStringLiteral("[1]")));
    EXPECT_TRUE(labels.at(1).startsWith(QStringLiteral("[2]")));
    for (const auto& n : DiagramOf(w).nodes()) {
        if (modNodoTransicion::IsTransitionNode(n.get())) {
            EXPECT_EQ(n->inLinks().size() + n->outLinks().size(), 2u);
        }
    }
}

TEST_F(DocWindowTest, ATinyNodeVanishesWithoutAnUndoStep)
{
    frmDoc* w = NewDocument();
    Document* doc = w->document();
    const int snapshots = doc->undRed.snapshotCount();
    // 300 x 200 twips is not larger than the least state.
    const int px = Pixels(w, 300) - 1, py = Pixels(w, 200) - 1;
    DrawNode(w, QPoint(50, 50), QPoint(50 + px, 50 + py));
    EXPECT_EQ(DiagramOf(w).nodeCount(), 0);
    EXPECT_FALSE(doc->undRed.GraphHasChanged());
    EXPECT_EQ(doc->undRed.snapshotCount(), snapshots);
    EXPECT_FALSE(Button("Undo")->isEnabled());
}

TEST_F(DocWindowTest, ALinkBetweenTwoTransitionsIsRemoved)
{
    frmDoc* w = NewDocument();
    ThreeStates(w, 2, 1);
    std::vector<Node*> transitions;
    for (const auto& n : DiagramOf(w).nodes())
        if (modNodoTransicion::IsTransitionNode(n.get()))
            transitions.push_back(n.get());
    ASSERT_EQ(transitions.size(), 2u);
    const size_t links = DiagramOf(w).links().size();
    Drag(w, Centre(w, transitions[0]), Centre(w, transitions[1]));
    EXPECT_EQ(DiagramOf(w).links().size(), links);
}

TEST_F(DocWindowTest, DoubleClickOnALinkStraightensIt)
{
    frmDoc* w = NewDocument();
    Diagram& d = DiagramOf(w);
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

TEST_F(DocWindowTest, SwitchCaseCodeFromTheMenuGoesWhereTheSaveDialogSays)
{
    frmDoc* w = Open(WriteDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_TRUE(w);
    const QString out = MakeDir(QStringLiteral("out")) + QStringLiteral("/machine.c");
    ui.fileNames.push_back(out);
    Item(w, "mnuGenerate_C_code_SwitchCase")->trigger();

    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, QStringLiteral("Save Finite_State file as Ansi-C File..."));
    EXPECT_EQ(ui.dialogs[0].proposedName, Work(QStringLiteral("lamp.c")));
    EXPECT_TRUE(QFileInfo::exists(out));
    const QString header = QString::fromUtf8(ReadFile(out.left(out.size() - 2) + QStringLiteral(".h")));
    EXPECT_FALSE(header.isEmpty());
    // The file's default methodology was chosen again: nothing changed.
    EXPECT_FALSE(w->document()->undRed.GraphHasChanged());
    EXPECT_TRUE(Item(w, "mnuGenerate_C_code_SwitchCase")->isChecked());
    EXPECT_EQ(Button("GeneraCode")->toolTip(), QStringLiteral("Generate C-Code: &Switch Case..."));
}

TEST_F(DocWindowTest, AnotherMethodologyBecomesTheDefaultAndMarksTheDocumentChanged)
{
    frmDoc* w = Open(WriteDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_TRUE(w);
    ui.fileNames.push_back(Work(QStringLiteral("lamp.c")));
    EXPECT_TRUE(w->mnuGenerate_C_code_Pointers_Click());
    EXPECT_TRUE(w->document()->undRed.GraphHasChanged());
    EXPECT_TRUE(Item(w, "mnuGenerate_C_code_Pointers")->isChecked());
    EXPECT_FALSE(Item(w, "mnuGenerate_C_code_SwitchCase")->isChecked());
    EXPECT_EQ(Button("GeneraCode")->toolTip(), QStringLiteral("Generate C-Code: &Direct Pointers..."));

    // The toolbar's button runs the checked methodology.
    ui.fileNames.push_back(Work(QStringLiteral("again.c")));
    Button("GeneraCode")->trigger();
    EXPECT_TRUE(QFileInfo::exists(Work(QStringLiteral("again.c"))));
}

TEST_F(DocWindowTest, ACancelledSaveDialogWritesNothingAndANewDiagramHasNoDefault)
{
    frmDoc* w = NewDocument();
    EXPECT_FALSE(w->mnuGenerate_C_code_Default());
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_EQ(Button("GeneraCode")->toolTip(), QStringLiteral("Generate C-Code"));

    frmDoc* lamp = Open(WriteDiagram(QStringLiteral("lamp.fsm")));
    EXPECT_FALSE(lamp->mnuGenerate_C_code_SwitchCase_Click());
    EXPECT_FALSE(QFileInfo::exists(Work(QStringLiteral("lamp.c"))));
}

// ---------------------------------------------------------------- undo, lock

TEST_F(DocWindowTest, UndoAndRedoThroughTheToolbar)
{
    frmDoc* w = NewDocument();
    EXPECT_FALSE(Button("Undo")->isEnabled());
    DrawNode(w, QPoint(40, 40), QPoint(190, 130));
    ASSERT_EQ(DiagramOf(w).nodeCount(), 1);
    EXPECT_TRUE(Button("Undo")->isEnabled());
    EXPECT_TRUE(Item(w, "mnuEditUndo")->isEnabled());
    EXPECT_FALSE(Button("Redo")->isEnabled());

    Button("Undo")->trigger();
    EXPECT_EQ(DiagramOf(w).nodeCount(), 0);
    EXPECT_FALSE(Button("Undo")->isEnabled());
    EXPECT_TRUE(Button("Redo")->isEnabled());
    EXPECT_FALSE(w->document()->undRed.GraphHasChanged());

    Button("Redo")->trigger();
    ASSERT_EQ(DiagramOf(w).nodeCount(), 1);
    EXPECT_TRUE(modNodoEstado::IsStateNode(DiagramOf(w).item(1)));
    EXPECT_FALSE(Button("Redo")->isEnabled());
    EXPECT_TRUE(Button("Undo")->isEnabled());
}

TEST_F(DocWindowTest, LockingDisablesTheEditingCommandsAndUnlockingBringsThemBack)
{
    frmDoc* w = NewDocument();
    DrawNode(w, QPoint(40, 40), QPoint(190, 130));
    ASSERT_TRUE(Button("Undo")->isEnabled());

    Button("Lock_Unlock")->trigger();
    EXPECT_TRUE(DiagramOf(w).readOnly());
    EXPECT_TRUE(Button("Lock_Unlock")->isChecked());
    EXPECT_TRUE(Item(w, "mnuLocked")->isChecked());
    for (const char* key : {"Cut", "Copy", "Paste", "Undo", "Redo", "InsertMode", "Remark"})
        EXPECT_FALSE(Button(key)->isEnabled()) << key;
    for (const char* name :
         {"mnuInsertaComentario", "mnuFont", "mnuEditCut", "mnuEditCopy", "mnuEditPaste",
          "mnuExportEMF", "mnuEditDelete", "mnuViewGrid", "mnuEditSelectAll", "mnuEditSelectMode",
          "mnuViewZoomRectangleIsotropic", "mnuAutosizeNodes", "mnuEditUndo"})
        EXPECT_FALSE(Item(w, name)->isEnabled()) << name;
    // Autosize cannot change a locked diagram; its button stays as it was.
    Button("AutoSize")->trigger();
    EXPECT_TRUE(Button("AutoSize")->isChecked());
    EXPECT_TRUE(w->document()->fsm.autosizeNodes);
    // Drawing on a locked diagram makes nothing.
    DrawNode(w, QPoint(300, 300), QPoint(450, 390));
    EXPECT_EQ(DiagramOf(w).nodeCount(), 1);

    Item(w, "mnuLocked")->trigger();
    EXPECT_FALSE(DiagramOf(w).readOnly());
    for (const char* key : {"Cut", "Copy", "Paste", "Undo", "InsertMode", "Remark"})
        EXPECT_TRUE(Button(key)->isEnabled()) << key;
    EXPECT_TRUE(Item(w, "mnuEditDelete")->isEnabled());
}

TEST_F(DocWindowTest, AFileNamedToOpenStartsLocked)
{
    frmDoc* w = Open(WriteDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_TRUE(w);
    EXPECT_TRUE(DiagramOf(w).readOnly());
    EXPECT_TRUE(Button("Lock_Unlock")->isChecked());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("lamp"));
}

// ---------------------------------------------------------------- edit commands

TEST_F(DocWindowTest, DeletingAStateTakesItsTransitionsAndRenumbersTheRest)
{
    frmDoc* w = NewDocument();
    Node* b = ThreeStates(w, 0, 2)[1];
    ASSERT_EQ(TransitionLabels(DiagramOf(w)).size(), 2);
    DiagramOf(w).clearSelection();
    b->setSelected(true);
    Item(w, "mnuEditDelete")->trigger();
    const QStringList labels = TransitionLabels(DiagramOf(w));
    ASSERT_EQ(labels.size(), 1);
    EXPECT_FALSE(labels.first().contains(QLatin1Char('[')));
    EXPECT_TRUE(Button("Undo")->isEnabled());
}

TEST_F(DocWindowTest, ARemarkIsEditedInPlaceAndEscStoresTheText)
{
    frmDoc* w = NewDocument();
    Item(w, "mnuInsertaComentario")->trigger();
    ASSERT_EQ(DiagramOf(w).nodeCount(), 1);
    Node* remark = DiagramOf(w).item(1);
    EXPECT_EQ(remark->userData(), modNodoEstado::NODE_TEXTBOX);
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
    Button("Undo")->trigger();
    ASSERT_EQ(DiagramOf(w).nodeCount(), 1);
    EXPECT_TRUE(DiagramOf(w).item(1)->text().isEmpty());
}

TEST_F(DocWindowTest, AnUndoWhileARemarkIsEditedUndoesTheTypedTextAndClosesTheEditor)
{
    frmDoc* w = NewDocument();
    Item(w, "mnuInsertaComentario")->trigger();
    w->remarkEditor()->setPlainText(QStringLiteral("kept"));
    Button("Undo")->trigger();
    EXPECT_FALSE(w->remarkEditor()->isVisible());
    EXPECT_EQ(w->editedRemark(), nullptr);
    ASSERT_EQ(DiagramOf(w).nodeCount(), 1);
    EXPECT_TRUE(DiagramOf(w).item(1)->text().isEmpty());
}

TEST_F(DocWindowTest, SelectModeZoomWindowAndZoomItemsKeepTheirCheckMarks)
{
    frmDoc* w = NewDocument();
    EXPECT_TRUE(Item(w, "mnuViewZoomValue1")->isChecked());
    Button("InsertMode")->trigger();
    EXPECT_EQ(w->view()->mouseMode(), DiagramView::SelectMode);
    EXPECT_TRUE(Item(w, "mnuEditSelectMode")->isChecked());
    EXPECT_TRUE(Button("InsertMode")->isChecked());

    Item(w, "mnuViewZoomRectangleIsotropic")->trigger();
    EXPECT_EQ(w->view()->mouseMode(), DiagramView::ZoomWindowMode);
    EXPECT_FALSE(Item(w, "mnuEditSelectMode")->isChecked());
    Drag(w, QPoint(10, 10), QPoint(110, 80));
    EXPECT_EQ(w->view()->mouseMode(), DiagramView::InsertMode);
    EXPECT_FALSE(Item(w, "mnuViewZoomRectangleIsotropic")->isChecked());
    EXPECT_GT(w->view()->zoomX(), 100);

    Item(w, "mnuViewZoomValue3")->trigger();
    EXPECT_DOUBLE_EQ(w->view()->zoomX(), 50);
    EXPECT_TRUE(Item(w, "mnuViewZoomValue3")->isChecked());
    EXPECT_FALSE(Item(w, "mnuViewZoomValue1")->isChecked());
}

TEST_F(DocWindowTest, DisplayOptionsAreStoredWithTheDiagram)
{
    frmDoc* w = NewDocument();
    Document* doc = w->document();
    EXPECT_TRUE(Item(w, "mnuAutosizeNodes")->isChecked());
    Item(w, "mnuAutosizeNodes")->trigger();
    EXPECT_FALSE(doc->fsm.autosizeNodes);
    EXPECT_TRUE(doc->undRed.GraphHasChanged());

    Item(w, "mnuHideComments")->trigger();
    EXPECT_TRUE(doc->fsm.hideComments);
    EXPECT_TRUE(Item(w, "mnuHideComments")->isChecked());

    Item(w, "mnuViewGridSizeValue4")->trigger();
    EXPECT_DOUBLE_EQ(DiagramOf(w).gridSize(), 300);
    EXPECT_TRUE(Item(w, "mnuViewGridSizeValue4")->isChecked());
    EXPECT_FALSE(Item(w, "mnuViewGridSizeValue1")->isChecked());

    // Undo brings the options of the earlier snapshot back to the menus.
    Button("Undo")->trigger();
    EXPECT_FALSE(Item(w, "mnuHideComments")->isChecked());
    EXPECT_FALSE(Item(w, "mnuAutosizeNodes")->isChecked());
}

// ---------------------------------------------------------------- closing

TEST_F(DocWindowTest, ClosingAChangedDocumentAsksAndFollowsTheAnswer)
{
    frmDoc* w = NewDocument();
    DrawNode(w, QPoint(40, 40), QPoint(190, 130));
    QPointer<QMdiSubWindow> sub = w->subWindow();

    ui.answers = {Answer::Cancel};
    EXPECT_FALSE(sub->close());
    ASSERT_EQ(ui.count(QStringLiteral("yesnocancel")), 1);
    EXPECT_EQ(ui.shown.back().title, QStringLiteral("Orvane Diagram Editor"));
    EXPECT_EQ(ui.shown.back().text, QStringLiteral("The diagram in [") + w->windowTitle()
                                        + QStringLiteral("] has changed.\r\nDo you want to save the changes?"));
    EXPECT_EQ(main->documents().count(), 1);

    // Yes, but the save dialog is cancelled: the window stays.
    ui.answers = {Answer::Yes};
    ui.fileNames = {QString()};
    EXPECT_FALSE(sub->close());
    EXPECT_EQ(main->documents().count(), 1);

    ui.answers = {Answer::Yes};
    ui.fileNames = {Work(QStringLiteral("saved.fsm"))};
    EXPECT_TRUE(sub->close());
    EXPECT_TRUE(QFileInfo::exists(Work(QStringLiteral("saved.fsm"))));
    EXPECT_EQ(main->documents().count(), 0);
    QTest::qWait(1);
    EXPECT_TRUE(sub.isNull());
}

TEST_F(DocWindowTest, ClosingWithoutSavingLeavesOnlyNewAndOpen)
{
    frmDoc* w = NewDocument();
    DrawNode(w, QPoint(40, 40), QPoint(190, 130));
    ui.answers = {Answer::No};
    Item(w, "mnuFileClose")->trigger();
    EXPECT_EQ(main->documents().count(), 0);
    EXPECT_TRUE(QDir(workDir).entryList({QStringLiteral("*.fsm")}).isEmpty());
    EXPECT_TRUE(Button("New")->isEnabled());
    EXPECT_TRUE(Button("Open")->isEnabled());
    for (const char* key : {"Save", "GeneraCode", "Print", "Preview", "Cut", "Undo", "Lock_Unlock",
                            "Properties", "Remark", "GoUp1Level", "GoDown1Level"})
        EXPECT_FALSE(Button(key)->isEnabled()) << key;
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
    frmMain linked(&ui, nullptr, hooks);
    linked.resize(900, 700);
    linked.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&linked));
    linked.newDocument();
    frmDoc* w = linked.activeDoc();
    w->subWindow()->showMaximized();
    Node* state = DrawNode(w, QPoint(40, 40), QPoint(190, 130));
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
    QTest::mouseDClick(w->view()->viewport(), Qt::LeftButton, {}, Centre(w, state));
    EXPECT_EQ(calls, (QStringList{QStringLiteral("stopped"), QStringLiteral("orvane::frmPropFSM"),
                                  QStringLiteral("running"), QStringLiteral("stopped"),
                                  QStringLiteral("orvane::frmPropNodo"), QStringLiteral("running")}));
}

TEST_F(DocWindowTest, TheDeleteKeyActsOnTheActiveDocumentOnly)
{
    frmDoc* a = NewDocument();
    DrawNode(a, QPoint(40, 40), QPoint(190, 130));
    frmDoc* b = NewDocument();
    DrawNode(b, QPoint(40, 40), QPoint(190, 130));
    QApplication::setActiveWindow(main.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QTest::keyClick(b->view(), Qt::Key_Delete);
    EXPECT_EQ(DiagramOf(b).nodeCount(), 0);
    EXPECT_EQ(DiagramOf(a).nodeCount(), 1);
}
