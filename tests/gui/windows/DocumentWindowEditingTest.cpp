// The document window as a new user meets it: loops drawn back to a state,
// states moved without selecting them first, keys that open, move and zoom.

#include "WindowTestSupport.h"

#include "ModalTestSupport.h"

#include "FsmDocument.h"
#include "DiagramChecks.h"
#include "ProblemsDock.h"

#include <QTreeWidget>

#include <QScrollBar>
#include "States.h"
#include "Transitions.h"

using namespace orvane;
using namespace orvane::test;

namespace {

class EditingTest : public WindowTest {
protected:
    static QRectF rectOf(const Node* n)
    {
        return QRectF(n->left(), n->top(), n->width(), n->height()).normalized();
    }
    static std::vector<Node*> transitions(DocumentWindow* w)
    {
        std::vector<Node*> found;
        for (const auto& n : diagramOf(w).nodes())
            if (Transitions::isTransitionNode(n.get()))
                found.push_back(n.get());
        return found;
    }
};

}  // namespace

TEST_F(EditingTest, ALoopDrawnBackToAStateShowsBesideItWithItsLabelOutside)
{
    DocumentWindow* w = newDocument();
    Node* s = drawNode(w, QPoint(100, 100), QPoint(250, 190));
    ASSERT_TRUE(s);
    diagramOf(w).clearSelection();
    QWidget* vp = w->view()->viewport();
    const QPoint c = centre(w, s);
    QTest::mousePress(vp, Qt::LeftButton, {}, c);
    QTest::mouseMove(vp, c + QPoint(0, 150));
    QTest::mouseMove(vp, c + QPoint(5, 0));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, c + QPoint(5, 0));

    const std::vector<Node*> t = transitions(w);
    ASSERT_EQ(t.size(), 1u);
    const QRectF state = rectOf(s);
    const QRectF label = rectOf(t[0]);
    EXPECT_FALSE(state.intersects(label)) << "the label lies beside the state";
    EXPECT_GT(label.left(), state.right());
    ASSERT_EQ(t[0]->inLinks().size(), 1u);
    ASSERT_EQ(t[0]->outLinks().size(), 1u);
    EXPECT_EQ(t[0]->inLinks().front()->org(), s);
    EXPECT_EQ(t[0]->outLinks().front()->dst(), s);
    // Both halves bend outside the state: one over it, one under it.
    const auto bends = [](const Link* l) { return l->extraPoints(); };
    ASSERT_EQ(bends(t[0]->inLinks().front()).size(), 1u);
    ASSERT_EQ(bends(t[0]->outLinks().front()).size(), 1u);
    EXPECT_LT(bends(t[0]->inLinks().front())[0].y(), state.top());
    EXPECT_GT(bends(t[0]->outLinks().front())[0].y(), state.bottom());
    // One undo step removes the whole loop.
    w->undo();
    EXPECT_TRUE(transitions(w).empty());
}

TEST_F(EditingTest, AStateThatIsNotSelectedIsDraggedToANewPlaceInOneUndoStep)
{
    DocumentWindow* w = newDocument();
    Node* a = drawNode(w, QPoint(100, 100), QPoint(250, 190));
    Node* b = drawNode(w, QPoint(400, 100), QPoint(550, 190));
    ASSERT_TRUE(a && b);
    ASSERT_FALSE(a->selected());
    const QRectF before = rectOf(a);
    drag(w, centre(w, a), centre(w, a) + QPoint(40, 250));
    Diagram& d = diagramOf(w);
    a = d.item(1);
    EXPECT_GT(rectOf(a).top(), before.top() + 1000);
    EXPECT_EQ(rectOf(a).size(), before.size());
    EXPECT_TRUE(transitions(w).empty()) << "no link was drawn";
    EXPECT_TRUE(a->selected());
    // Dragging onto the other state still draws a transition.
    d.clearSelection();
    drag(w, centre(w, a), centre(w, d.item(2)));
    EXPECT_EQ(transitions(w).size(), 1u);
    w->undo();
    w->undo();
    EXPECT_EQ(rectOf(d.item(1)), before);
}

TEST_F(EditingTest, ArrowKeysMoveTheSelectionOneUndoStepPerPressAndEnterOpensTheState)
{
    DocumentWindow* w = newDocument();
    Diagram& d = diagramOf(w);
    d.setSnapToGrid(true);
    Node* s = drawNode(w, QPoint(100, 100), QPoint(250, 190));
    ASSERT_TRUE(s && s->selected());
    const QRectF start = rectOf(s);
    QWidget* view = w->view();
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Down);
    s = d.item(1);
    EXPECT_EQ(rectOf(s).topLeft(), start.topLeft() + QPointF(d.gridSize(), d.gridSize()));
    EXPECT_TRUE(s->selected());
    QTest::keyClick(view, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(rectOf(d.item(1)).left(), start.left() + d.gridSize() - 10 * d.gridSize());
    w->undo();
    EXPECT_EQ(rectOf(d.item(1)).topLeft(), start.topLeft() + QPointF(d.gridSize(), d.gridSize()));
    w->undo();
    w->undo();
    EXPECT_EQ(rectOf(d.item(1)).topLeft(), start.topLeft());

    // Nothing selected: the arrows scroll and move nothing.
    d.clearSelection();
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(rectOf(d.item(1)).topLeft(), start.topLeft());

    // Enter opens the selected state's dialog.
    d.item(1)->setSelected(true);
    QString title;
    orvane::testing::onModal([&title](QDialog* dialog) {
        title = dialog->objectName();
        dialog->reject();
    });
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(title, QStringLiteral("StateDialog"));
}

TEST_F(EditingTest, CtrlPlusAndCtrlMinusZoomInAndOut)
{
    DocumentWindow* w = newDocument();
    const double start = w->view()->zoomX();
    QTest::keyClick(w->view(), Qt::Key_Plus, Qt::ControlModifier);
    const double in = w->view()->zoomX();
    EXPECT_GT(in, start);
    QTest::keyClick(w->view(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(w->view(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_LT(w->view()->zoomX(), start);
    // The fixed zoom items lose their check mark.
    EXPECT_FALSE(item(w, "zoomAction1")->isChecked());
}

TEST_F(EditingTest, TheStatusBarSaysWhereTheCodeAndTheListWereWritten)
{
    DocumentWindow* w = open(writeDiagram(QStringLiteral("lamp.fsm")));
    ASSERT_TRUE(w);
    const QString dir = makeDir(QStringLiteral("out"));
    ui.fileNames.push_back(dir + QStringLiteral("/machine.c"));
    item(w, "generatePointersAction")->trigger();
    EXPECT_EQ(main->statusMessage(), QStringLiteral("Written: ") + dir
                                         + QStringLiteral("/machine.c and ") + dir
                                         + QStringLiteral("/machine.h"));
    ui.fileNames.push_back(dir + QStringLiteral("/lamp.lst"));
    item(w, "generateListAction")->trigger();
    EXPECT_EQ(main->statusMessage(),
              QStringLiteral("Written: ") + dir + QStringLiteral("/lamp.lst"));

    // A cancelled save dialog writes nothing and claims nothing.
    main->showStatusMessage(QString());
    ui.fileNames.push_back(QString());
    item(w, "generatePointersAction")->trigger();
    EXPECT_EQ(main->statusMessage(), QString());
}

TEST_F(EditingTest, UndoLeavesThePictureWhereItWas)
{
    DocumentWindow* w = newDocument();
    DiagramView* view = w->view();
    QWidget* vp = view->viewport();
    Node* a = drawNode(w, QPoint(vp->width() - 200, vp->height() - 120),
                       QPoint(vp->width() - 40, vp->height() - 30));
    ASSERT_TRUE(a);
    // Moved past the window's corner: the drawing is now larger than the window.
    drag(w, centre(w, a), QPoint(vp->width() - 5, vp->height() - 5));
    Node* b = drawNode(w, QPoint(60, 60), QPoint(200, 150));
    ASSERT_TRUE(b);
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    ASSERT_GT(view->horizontalScrollBar()->value(), 0);
    const QPointF corner = view->mapToScene(QPoint(0, 0));
    w->undo();
    w->undo();
    QTest::qWait(1);
    EXPECT_NEAR(view->mapToScene(QPoint(0, 0)).x(), corner.x(), 16);
    EXPECT_NEAR(view->mapToScene(QPoint(0, 0)).y(), corner.y(), 16);
}

TEST_F(EditingTest, ThePreviewFitsTheDrawingOnOnePageOrTurnsThePaper)
{
    DocumentWindow* w = newDocument();
    Diagram& d = diagramOf(w);
    // Three states across more than a portrait page's width.
    for (int i = 0; i < 3; ++i)
        d.addNode(500 + 6500 * i, 500, 1500, 900);
    main->showPreview(true);
    ASSERT_TRUE(main->previewShown());
    const int plain = main->previewPageCount();
    EXPECT_GE(plain, 2);
    auto* fit = main->findChild<QAction*>(QStringLiteral("fitToPageAction"));
    auto* landscape = main->findChild<QAction*>(QStringLiteral("landscapeAction"));
    ASSERT_TRUE(fit && landscape);
    landscape->setChecked(true);
    EXPECT_LT(main->previewPageCount(), plain);
    landscape->setChecked(false);
    fit->setChecked(true);
    EXPECT_EQ(main->previewPageCount(), 1);
    fit->setChecked(false);
    EXPECT_EQ(main->previewPageCount(), plain);
}

TEST_F(EditingTest, CheckDiagramListsEveryProblemAndAClickSelectsItsState)
{
    DocumentWindow* w = newDocument();
    Diagram& d = diagramOf(w);
    Node* a = drawNode(w, QPoint(60, 60), QPoint(200, 150));
    Node* b = drawNode(w, QPoint(400, 60), QPoint(540, 150));
    ASSERT_TRUE(a && b);
    // The same name ignoring case, and no transition between them.
    const auto name = [&](int i, const char* text, qint32 kind) {
        States::configureState(w->document()->fsm,
                               StateRecord{QLatin1String(text),
                                           {},
                                           QString::number(i),
                                           {},
                                           {},
                                           QStringLiteral("N"),
                                           QStringLiteral("N"),
                                           {}},
                               kind, d.item(i), ui);
    };
    name(1, "Stop", NodeStateInitial);
    name(2, "stop", NodeStateNormal);
    item(w, "checkDiagramAction")->trigger();
    ProblemsDock* dock = main->problemsDock();
    ASSERT_TRUE(dock);
    EXPECT_TRUE(dock->isVisible());
    const auto& problems = dock->problems();
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(dock->list()->topLevelItemCount(), int(problems.size()));
    // The same list as the batch check, row by row.
    const auto expected = DiagramChecks::checkDiagram(d, w->document()->fsm.filePath);
    ASSERT_EQ(expected.size(), problems.size());
    int withNode = -1;
    for (int i = 0; i < int(problems.size()); ++i) {
        EXPECT_EQ(dock->list()->topLevelItem(i)->text(2), expected[size_t(i)].text);
        if (withNode < 0 && problems[size_t(i)].node)
            withNode = i;
    }
    ASSERT_GE(withNode, 0);
    d.clearSelection();
    QTreeWidgetItem* row = dock->list()->topLevelItem(withNode);
    const QRect at = dock->list()->visualItemRect(row);
    QTest::mouseClick(dock->list()->viewport(), Qt::LeftButton, {}, at.center());
    const auto selected = d.selectedNodes();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected.front(), problems[size_t(withNode)].node);

    // A node deleted after the check is not selected by a click.
    Node* gone = const_cast<Node*>(problems[size_t(withNode)].node);
    d.clearSelection();
    gone->setSelected(true);
    w->deleteSelected();
    QTest::mouseClick(dock->list()->viewport(), Qt::LeftButton, {}, at.center());
    EXPECT_TRUE(d.selectedNodes().empty());
}

TEST_F(EditingTest, TheRemarkEditorIsWideEnoughAndTheBoxGrowsWithItsTextInOneUndoStep)
{
    DocumentWindow* w = newDocument();
    Diagram& d = diagramOf(w);
    w->insertRemark();
    QPlainTextEdit* editor = w->remarkEditor();
    ASSERT_TRUE(editor->isVisible());
    EXPECT_GE(editor->width(), editor->fontMetrics().averageCharWidth() * 20);
    Node* remark = w->editedRemark();
    ASSERT_TRUE(remark);
    const QRectF before = rectOf(remark);
    const QString text = QStringLiteral("The lamp turns off after ten minutes without motion\n"
                                        "and on again at the next step\nthird line\nfourth");
    editor->setPlainText(text);
    w->commitRemarkEditor();
    remark = d.item(d.nodeCount());
    const QRectF after = rectOf(remark);
    EXPECT_EQ(after.topLeft(), before.topLeft());
    const QFontMetricsF metrics(editor->font(), w->view());
    EXPECT_GT(after.width(), metrics.horizontalAdvance(text.section(QLatin1Char('\n'), 0, 0)) * 1440
                                 / w->view()->logicalDpiX());
    EXPECT_GT(after.height(), before.height());
    // A shorter text later never shrinks the box.
    w->startRemarkEditor(remark);
    w->remarkEditor()->setPlainText(QStringLiteral("short"));
    w->commitRemarkEditor();
    EXPECT_EQ(rectOf(d.item(d.nodeCount())), after);
    // One undo takes back the text and the size together.
    w->undo();
    w->undo();
    EXPECT_EQ(rectOf(d.item(d.nodeCount())), before);
}

TEST_F(EditingTest, HierarchicalGenerationFromAMaximizedWindowKeepsTheWindowsMaximized)
{
    DocumentWindow* w =
        open(QStringLiteral(ORVANE_TEST_DATA) + QStringLiteral("/hier/two/Pair.fsm"));
    ASSERT_TRUE(w);
    w->subWindow()->showMaximized();
    QTest::qWait(1);
    ui.fileNames.push_back(makeDir(QStringLiteral("out")) + QStringLiteral("/Pair.c"));
    ASSERT_TRUE(w->generateHierarchical());
    EXPECT_EQ(main->activeDoc(), w);
    for (DocumentWindow* each : main->docWindows())
        EXPECT_TRUE(each->subWindow()->isMaximized()) << each->windowTitle().toStdString();

    // A window opened next to a restored one stays restored.
    w->subWindow()->showNormal();
    main->newDocument();
    EXPECT_FALSE(main->activeDoc()->subWindow()->isMaximized());
}
