#include "DiagramView.h"

#include "States.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;

namespace {

class DiagramViewTest : public ::testing::Test {
protected:
    Diagram d;
    DiagramView view{&d};
    std::vector<DiagramEdit> edits;
    std::vector<std::pair<Node*, Link*>> doubleClicks;

    void SetUp() override
    {
        view.resize(800, 600);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        QObject::connect(&view, &DiagramView::mouseUp,
                         [this](const DiagramEdit& e) { edits.push_back(e); });
        QObject::connect(&view, &DiagramView::doubleClicked,
                         [this](Node* n, Link* l) { doubleClicks.emplace_back(n, l); });
    }

    QWidget* vp() { return view.viewport(); }
    QPoint px(QPointF twips) { return view.mapFromScene(twips); }
    QPointF twips(QPoint pixel) { return view.mapToScene(pixel); }
    QPoint centre(const Node* n)
    {
        return px(QRectF(n->left(), n->top(), n->width(), n->height()).center());
    }

    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {})
    {
        QTest::mousePress(vp(), Qt::LeftButton, mods, from);
        QTest::mouseMove(vp(), (from + to) / 2);
        QTest::mouseMove(vp(), to);
        QTest::mouseRelease(vp(), Qt::LeftButton, mods, to);
    }
    void click(QPoint at, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(vp(), Qt::LeftButton, mods, at);
    }
    void hover(QPoint at)
    {
        QMouseEvent e(QEvent::MouseMove, at, vp()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(vp(), &e);
    }

    int itemCount(int type)
    {
        int count = 0;
        for (QGraphicsItem* it : view.scene()->items())
            count += it->type() == type;
        return count;
    }
};

// Two nodes side by side with a link from the first to the second.
struct Pair {
    Node* a;
    Node* b;
    Link* ab;
    explicit Pair(Diagram& d)
    {
        a = d.addNode(1500, 1500, 1500, 900);
        b = d.addNode(6000, 1500, 1500, 900);
        ab = d.addLink(a, b);
    }
};

}  // namespace

// ---------------------------------------------------------------- drawing

TEST_F(DiagramViewTest, DraggingOnTheBackgroundDrawsANodeWithoutKind)
{
    const QPoint from(100, 100), to(300, 220);
    drag(from, to);
    ASSERT_EQ(d.nodeCount(), 1);
    const Node* n = d.item(1);
    const QPointF tl = twips(from), br = twips(to);
    EXPECT_DOUBLE_EQ(n->left(), tl.x());
    EXPECT_DOUBLE_EQ(n->top(), tl.y());
    EXPECT_DOUBLE_EQ(n->width(), br.x() - tl.x());
    EXPECT_DOUBLE_EQ(n->height(), br.y() - tl.y());
    EXPECT_EQ(n->userData(), 0);
    EXPECT_EQ(d.currentNode(), n);
    EXPECT_TRUE(n->selected());
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].kind, DiagramEdit::NodeDrawn);
    EXPECT_EQ(edits[0].node, n);
    EXPECT_EQ(itemCount(NodeItem::Type), 1);

    // Drawn from bottom right to top left, the rectangle is the same kind.
    drag(QPoint(500, 400), QPoint(400, 300));
    ASSERT_EQ(d.nodeCount(), 2);
    EXPECT_DOUBLE_EQ(d.item(2)->left(), twips(QPoint(400, 300)).x());
    EXPECT_GT(d.item(2)->width(), 0);
}

TEST_F(DiagramViewTest, AClickOnTheBackgroundDrawsNothing)
{
    click(QPoint(200, 200));
    QTest::mouseDClick(vp(), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(d.nodeCount(), 0);
    EXPECT_TRUE(edits.empty());
    ASSERT_EQ(doubleClicks.size(), 1u);
    EXPECT_EQ(doubleClicks[0].first, nullptr);
    EXPECT_EQ(doubleClicks[0].second, nullptr);
}

TEST_F(DiagramViewTest, SnappingPutsDrawnNodesOnTheGrid)
{
    d.setSnapToGrid(true);
    d.setGridSize(240);
    drag(QPoint(103, 97), QPoint(297, 233));
    ASSERT_EQ(d.nodeCount(), 1);
    const Node* n = d.item(1);
    for (double v : {n->left(), n->top(), n->width(), n->height()})
        EXPECT_DOUBLE_EQ(std::fmod(v, 240), 0) << v;
}

TEST_F(DiagramViewTest, DraggingFromNodeToNodeDrawsALink)
{
    Node* a = d.addNode(1500, 1500, 1500, 900);
    Node* b = d.addNode(6000, 1500, 1500, 900);
    d.setNewLinkArrowDst(3);
    drag(centre(a), centre(b));
    ASSERT_EQ(d.links().size(), 1u);
    Link* l = d.links()[0].get();
    EXPECT_EQ(l->org(), a);
    EXPECT_EQ(l->dst(), b);
    EXPECT_EQ(l->arrowDst(), 3);
    EXPECT_EQ(d.currentLink(), l);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].kind, DiagramEdit::LinkDrawn);
    EXPECT_EQ(edits[0].link, l);
    EXPECT_EQ(itemCount(LinkItem::Type), 1);
    // Neither node moved.
    EXPECT_EQ(a->left(), 1500);
    EXPECT_EQ(b->left(), 6000);
}

TEST_F(DiagramViewTest, AnUnselectedNodeDraggedToTheBackgroundMovesInsteadOfLinking)
{
    d.setSnapToGrid(false);
    Node* a = d.addNode(1500, 1500, 3000, 1800);
    Node* b = d.addNode(9000, 1500, 1500, 900);
    ASSERT_FALSE(a->selected());
    const QPointF start(a->left(), a->top());
    const QPoint from = centre(a);
    const QPoint to(from.x() + 30, from.y() + 200);  // ends on the background
    QTest::mousePress(vp(), Qt::LeftButton, {}, from);
    QTest::mouseMove(vp(), (from + to) / 2);
    QTest::mouseMove(vp(), to);
    // While the mouse is away from any other node, the outline of the
    // moved node follows it and no link is shown.
    const auto rubber = [this](int type) {
        for (QGraphicsItem* it : view.scene()->items())
            if (it->type() == type && it->isVisible() && it->zValue() > 1e8)
                return true;
        return false;
    };
    EXPECT_TRUE(rubber(QGraphicsRectItem::Type));
    EXPECT_FALSE(rubber(QGraphicsPathItem::Type));
    EXPECT_EQ(a->left(), start.x()) << "the node itself stays until the release";
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, to);

    EXPECT_TRUE(d.links().empty());
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].kind, DiagramEdit::NodesMoved);
    EXPECT_EQ(edits[0].node, a);
    const QPointF moved = twips(to) - twips(from);
    EXPECT_NEAR(a->left() - start.x(), moved.x(), 1);
    EXPECT_NEAR(a->top() - start.y(), moved.y(), 1);
    EXPECT_TRUE(a->selected());
    EXPECT_FALSE(b->selected());

    // A small drag inside a node that is not selected moves it a little.
    d.clearSelection();
    const double bLeft = b->left();
    drag(centre(b), centre(b) + QPoint(20, 0));
    EXPECT_GT(b->left(), bLeft);
    EXPECT_TRUE(d.links().empty());
}

TEST_F(DiagramViewTest, ALinkToItselfNeedsTheMouseToLeaveTheNode)
{
    Node* a = d.addNode(1500, 1500, 3000, 1800);

    // Out of the node and back in: a link to itself.
    QTest::mousePress(vp(), Qt::LeftButton, {}, centre(a));
    QTest::mouseMove(vp(), QPoint(700, 500));
    QTest::mouseMove(vp(), centre(a));
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, centre(a));
    ASSERT_EQ(d.links().size(), 1u);
    const Link* loop = d.links()[0].get();
    EXPECT_EQ(loop->org(), a);
    EXPECT_EQ(loop->dst(), a);
    // Bent outside the node, so that the loop can be seen.
    ASSERT_EQ(loop->extraPoints().size(), 2u);
    for (QPointF b : loop->extraPoints())
        EXPECT_FALSE(QRectF(a->left(), a->top(), a->width(), a->height()).contains(b));
}

// ---------------------------------------------------------------- selecting

TEST_F(DiagramViewTest, SelectModeSelectsWhatLiesWhollyInsideTheRectangle)
{
    Pair p(d);
    Node* far = d.addNode(12000, 1500, 900, 900);
    Link* out = d.addLink(p.b, far);
    view.setMouseMode(DiagramView::SelectMode);
    const QPointF tl(1000, 1000), br(8000, 3000);
    drag(px(tl), px(br));
    EXPECT_TRUE(p.a->selected());
    EXPECT_TRUE(p.b->selected());
    EXPECT_TRUE(p.ab->selected());
    EXPECT_FALSE(far->selected());
    EXPECT_FALSE(out->selected());
    EXPECT_EQ(d.nodeCount(), 3);  // nothing drawn in select mode
    EXPECT_TRUE(edits.empty());

    // A new rectangle replaces the selection; with Ctrl it adds to it.
    drag(px(QPointF(11000, 1000)), px(QPointF(14000, 3000)));
    EXPECT_FALSE(p.a->selected());
    EXPECT_TRUE(far->selected());
    drag(px(tl), px(br), Qt::ControlModifier);
    EXPECT_TRUE(p.a->selected());
    EXPECT_TRUE(far->selected());
}

TEST_F(DiagramViewTest, ClicksMakeTheCurrentItemAndCtrlTogglesSelection)
{
    Pair p(d);
    click(centre(p.a));
    EXPECT_EQ(d.currentNode(), p.a);
    EXPECT_TRUE(p.a->selected());
    click(centre(p.b), Qt::ControlModifier);
    EXPECT_TRUE(p.a->selected());
    EXPECT_TRUE(p.b->selected());
    click(centre(p.b), Qt::ControlModifier);
    EXPECT_FALSE(p.b->selected());

    const QPoint onLink = px(QPointF(4500, 1950));
    click(onLink);
    EXPECT_EQ(d.currentLink(), p.ab);
    EXPECT_EQ(d.currentNode(), nullptr);
    EXPECT_TRUE(p.ab->selected());
    EXPECT_FALSE(p.a->selected());

    click(QPoint(700, 550));
    EXPECT_TRUE(d.selectedNodes().empty());
    EXPECT_TRUE(d.selectedLinks().empty());
}

TEST_F(DiagramViewTest, AnInvisibleTransitionBoxCanStillBeTaken)
{
    Pair p(d);
    Node* t = d.addNode(4000, 1900, 150, 100);
    t->setShape(0);
    t->setUserData(NodeTransition);
    const QPoint at = px(QPointF(4075, 1950));
    QTest::mouseDClick(vp(), Qt::LeftButton, {}, at);
    ASSERT_EQ(doubleClicks.size(), 1u);
    EXPECT_EQ(doubleClicks[0].first, t);  // the node wins over the link under it
    EXPECT_EQ(d.currentNode(), t);
}

TEST_F(DiagramViewTest, PointedItemsFollowTheMouse)
{
    Pair p(d);
    hover(centre(p.a));
    EXPECT_EQ(view.pointedNode(), p.a);
    EXPECT_EQ(view.pointedLink(), nullptr);
    hover(px(QPointF(4500, 1950)));
    EXPECT_EQ(view.pointedNode(), nullptr);
    EXPECT_EQ(view.pointedLink(), p.ab);
}

// ---------------------------------------------------------------- moving and shaping

TEST_F(DiagramViewTest, DraggingASelectedNodeMovesItAndItsLinksFollow)
{
    Pair p(d);
    click(centre(p.a));
    const QPolygonF before = view.diagramScene()->itemOf(p.ab)->line();
    const QPoint from = centre(p.a), to = from + QPoint(30, 60);
    drag(from, to);
    const QPointF delta = twips(to) - twips(from);
    EXPECT_DOUBLE_EQ(p.a->left(), 1500 + delta.x());
    EXPECT_DOUBLE_EQ(p.a->top(), 1500 + delta.y());
    EXPECT_EQ(p.a->width(), 1500);
    EXPECT_TRUE(d.links().size() == 1 && d.nodeCount() == 2);  // a move, not a link
    EXPECT_NE(view.diagramScene()->itemOf(p.ab)->line().front(), before.front());
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].kind, DiagramEdit::NodesMoved);
    EXPECT_EQ(edits[0].node, p.a);
    EXPECT_FALSE(edits[0].sizeChanged);
}

TEST_F(DiagramViewTest, MovingASelectionTakesTheBendsBetweenItsNodes)
{
    Pair p(d);
    Node* c = d.addNode(1500, 6000, 900, 900);
    Link* ac = d.addLink(p.a, c);
    p.ab->setExtraPoints({QPointF(4500, 600)});
    ac->setExtraPoints({QPointF(600, 4000)});
    p.a->setSelected(true);
    p.b->setSelected(true);
    d.setSnapToGrid(true);
    d.setGridSize(120);
    drag(centre(p.b), centre(p.b) + QPoint(37, 23));
    const double dx = p.b->left() - 6000, dy = p.b->top() - 1500;
    EXPECT_NE(dx, 0);
    EXPECT_DOUBLE_EQ(std::fmod(p.b->left(), 120), 0);
    EXPECT_DOUBLE_EQ(p.a->left(), 1500 + dx);
    EXPECT_EQ(p.ab->extraPoints()[0], QPointF(4500 + dx, 600 + dy));
    EXPECT_EQ(ac->extraPoints()[0], QPointF(600, 4000));  // c stayed, so did this bend
    EXPECT_EQ(c->left(), 1500);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].nodes.size(), 2u);
}

TEST_F(DiagramViewTest, EscapeDuringAMovePutsEverythingBack)
{
    Pair p(d);
    p.a->setSelected(true);
    d.setChanged(false);
    QTest::mousePress(vp(), Qt::LeftButton, {}, centre(p.a));
    QTest::mouseMove(vp(), centre(p.a) + QPoint(40, 40));
    QTest::mouseMove(vp(), centre(p.a) + QPoint(80, 80));
    EXPECT_NE(p.a->left(), 1500);
    QTest::keyClick(&view, Qt::Key_Escape);
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, centre(p.a) + QPoint(80, 80));
    EXPECT_EQ(p.a->left(), 1500);
    EXPECT_EQ(p.a->top(), 1500);
    EXPECT_FALSE(d.changed());
    EXPECT_TRUE(edits.empty());
}

TEST_F(DiagramViewTest, HandlesResizeASelectedNode)
{
    Pair p(d);
    p.a->setSelected(true);
    const QPoint corner = px(QPointF(3000, 2400));
    drag(corner, corner + QPoint(45, 30));
    EXPECT_EQ(p.a->left(), 1500);
    EXPECT_EQ(p.a->top(), 1500);
    EXPECT_DOUBLE_EQ(p.a->width(), twips(corner + QPoint(45, 30)).x() - 1500);
    EXPECT_GT(p.a->height(), 900);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].kind, DiagramEdit::NodeResized);
    EXPECT_TRUE(edits[0].sizeChanged);

    // Dragging a side handle past the opposite side stops short of it.
    const double right = p.a->left() + p.a->width();
    const QPoint left = px(QPointF(1500, p.a->top() + p.a->height() / 2));
    drag(left, left + QPoint(400, 0));
    EXPECT_GT(p.a->width(), 0);
    EXPECT_LT(p.a->left(), right);
    EXPECT_DOUBLE_EQ(p.a->left() + p.a->width(), right);
}

TEST_F(DiagramViewTest, PullingALinkAddsABendAndDoubleClickReportsIt)
{
    Pair p(d);
    const QPoint mid = px(QPointF(4500, 1950));
    drag(mid, mid + QPoint(0, 60));
    ASSERT_EQ(p.ab->extraPoints().size(), 1u);
    EXPECT_EQ(p.ab->extraPoints()[0], twips(mid + QPoint(0, 60)));
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].kind, DiagramEdit::LinkReshaped);

    // The new bend is a handle of the selected link: it moves.
    drag(mid + QPoint(0, 60), mid + QPoint(10, 90));
    ASSERT_EQ(p.ab->extraPoints().size(), 1u);
    EXPECT_EQ(p.ab->extraPoints()[0], twips(mid + QPoint(10, 90)));

    // A double click on the link names it, for the window to straighten.
    const QPolygonF line = view.diagramScene()->itemOf(p.ab)->line();
    QTest::mouseDClick(vp(), Qt::LeftButton, {}, px((line[0] + line[1]) / 2));
    ASSERT_EQ(doubleClicks.size(), 1u);
    EXPECT_EQ(doubleClicks[0].first, nullptr);
    EXPECT_EQ(doubleClicks[0].second, p.ab);
    EXPECT_EQ(d.currentLink(), p.ab);
}

TEST_F(DiagramViewTest, TheDestinationEndOfASelectedLinkCanBeMoved)
{
    Pair p(d);
    Node* c = d.addNode(6000, 6000, 1500, 900);
    p.ab->setSelected(true);
    const QPoint end = px(view.diagramScene()->itemOf(p.ab)->line().back());
    drag(end, centre(c));
    EXPECT_EQ(p.ab->dst(), c);
    EXPECT_TRUE(p.b->inLinks().empty());
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].kind, DiagramEdit::LinkReconnected);
    EXPECT_TRUE(edits[0].dstChanged);
}

// ---------------------------------------------------------------- deleting

TEST_F(DiagramViewTest, DeleteKeyIsReportedAndRemovalsDropTheirItems)
{
    Pair p(d);
    QSignalSpy keys(&view, &DiagramView::keyDown);
    p.a->setSelected(true);
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Delete);
    ASSERT_EQ(keys.count(), 1);
    EXPECT_EQ(keys[0][0].toInt(), int(Qt::Key_Delete));
    EXPECT_EQ(d.nodeCount(), 2);  // the window decides what deleteSelected does

    d.deleteSelected();  // a node takes its links along
    EXPECT_EQ(itemCount(NodeItem::Type), 1);
    EXPECT_EQ(itemCount(LinkItem::Type), 0);
    EXPECT_EQ(view.diagramScene()->itemOf(p.b)->node(), p.b);

    // Removed in the middle of a drag: the drag is dropped, nothing breaks.
    p.b->setSelected(true);
    const QPoint at = centre(p.b);
    QTest::mousePress(vp(), Qt::LeftButton, {}, at);
    QTest::mouseMove(vp(), at + QPoint(40, 40));
    d.deleteSelected();
    QTest::mouseMove(vp(), at + QPoint(80, 80));
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, QPoint(600, 500));
    EXPECT_EQ(d.nodeCount(), 0);
    EXPECT_EQ(itemCount(NodeItem::Type), 0);
    EXPECT_TRUE(edits.empty());
}

// ---------------------------------------------------------------- zoom

TEST_F(DiagramViewTest, ZoomWindowShowsTheDraggedRectangleThenReturnsToInsertMode)
{
    QSignalSpy modes(&view, &DiagramView::mouseModeChanged);
    view.setMouseMode(DiagramView::ZoomWindowMode);
    const QPointF tl(3000, 3000), br(6000, 5000);
    drag(px(tl), px(br));
    EXPECT_EQ(view.mouseMode(), DiagramView::InsertMode);
    ASSERT_EQ(modes.count(), 2);
    EXPECT_EQ(d.nodeCount(), 0);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].kind, DiagramEdit::ZoomWindow);
    EXPECT_GT(view.zoomX(), 100);
    EXPECT_EQ(view.zoomX(), view.zoomY());
    // The rectangle fills the window in one direction and fits in the other.
    const QRectF visible = view.mapToScene(vp()->rect()).boundingRect();
    EXPECT_TRUE(visible.adjusted(-30, -30, 30, 30).contains(QRectF(tl, br)));
    EXPECT_LT(std::min(visible.width() / (br.x() - tl.x()), visible.height() / (br.y() - tl.y())),
              1.05);
}

TEST_F(DiagramViewTest, ZoomScalesBothDirectionsAndFitShowsEverything)
{
    Node* a = d.addNode(1500, 1500, 1500, 900);
    QSignalSpy zooms(&view, &DiagramView::zoomChanged);
    view.setZoom(200, 50);
    EXPECT_EQ(zooms.count(), 1);
    const QRect r = view.nodeViewportRect(a);
    view.setZoom(100);
    const QRect r100 = view.nodeViewportRect(a);
    EXPECT_NEAR(r.width(), 2 * r100.width(), 2);
    EXPECT_NEAR(r.height(), r100.height() / 2.0, 2);

    view.setZoom(0);  // refused values are held within bounds
    EXPECT_GT(view.zoomX(), 0);

    Node* far = d.addNode(60000, 40000, 1500, 900);
    view.setZoom(100);
    view.fitInWindow();
    EXPECT_LT(view.zoomX(), 100);
    for (const Node* n : {a, far})
        EXPECT_TRUE(vp()->rect().contains(view.nodeViewportRect(n)));
}

TEST_F(DiagramViewTest, LinesStaySolidWhenZoomedOut)
{
    Pair p(d);
    view.setZoom(25);
    const QImage shot = vp()->grab().toImage();
    const QPoint on = px(QPointF(4500, 1950));
    bool solid = false;
    for (int dy = -1; dy <= 1; ++dy)
        solid = solid || shot.pixelColor(on + QPoint(0, dy)) == QColor(0, 0, 255);
    EXPECT_TRUE(solid);
}

// ---------------------------------------------------------------- read-only

TEST_F(DiagramViewTest, ReadOnlyRefusesEveryEditButStillSelects)
{
    Pair p(d);
    d.setReadOnly(true);
    d.setChanged(false);
    drag(QPoint(500, 400), QPoint(700, 550));  // would draw a node
    drag(centre(p.a), centre(p.b));            // would draw a link
    EXPECT_EQ(d.nodeCount(), 2);
    EXPECT_EQ(d.links().size(), 1u);

    click(centre(p.a));
    EXPECT_TRUE(p.a->selected());
    drag(centre(p.a), centre(p.a) + QPoint(50, 50));  // would move it
    EXPECT_EQ(p.a->left(), 1500);
    const QPoint corner = px(QPointF(3000, 2400));
    drag(corner, corner + QPoint(40, 40));  // would resize it
    EXPECT_EQ(p.a->width(), 1500);
    const QPoint mid = px(QPointF(4500, 1950));
    drag(mid, mid + QPoint(0, 60));  // would bend the link
    EXPECT_TRUE(p.ab->extraPoints().empty());

    p.a->setSelected(true);
    ASSERT_TRUE(view.copy());  // copying is no edit
    EXPECT_FALSE(view.canPaste());
    EXPECT_FALSE(view.paste());
    EXPECT_EQ(d.nodeCount(), 2);
    EXPECT_FALSE(d.changed());
    EXPECT_TRUE(edits.empty());
}

// ---------------------------------------------------------------- clipboard

TEST_F(DiagramViewTest, CopyAndPasteRoundTrip)
{
    Pair p(d);
    p.a->setText(QStringLiteral("\u00B7A\u00B7\r\n#entry:\r\n x = 1;\r\n"));
    p.a->setUserData(NodeStateInitial);
    p.ab->setExtraPoints({QPointF(4500, 600)});
    d.selectAll();
    ASSERT_TRUE(view.copy());
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(mime);
    EXPECT_TRUE(mime->hasFormat(DiagramView::kMimeType));
    EXPECT_TRUE(mime->data(QStringLiteral("image/png")).startsWith("\x89PNG"));
    EXPECT_TRUE(mime->data(QStringLiteral("image/svg+xml")).contains("<svg"));
    EXPECT_TRUE(view.canPaste());

    ASSERT_TRUE(view.paste());
    ASSERT_EQ(d.nodeCount(), 4);
    ASSERT_EQ(d.links().size(), 2u);
    const Node* a2 = d.item(3);
    EXPECT_EQ(a2->text(), p.a->text());
    EXPECT_EQ(a2->userData(), p.a->userData());
    const double step = a2->left() - p.a->left();
    EXPECT_GT(step, 0);
    EXPECT_EQ(a2->top() - p.a->top(), step);
    const Link* l2 = d.links()[1].get();
    EXPECT_EQ(l2->org(), a2);
    EXPECT_EQ(l2->dst(), d.item(4));
    EXPECT_EQ(l2->extraPoints()[0], QPointF(4500 + step, 600 + step));
    EXPECT_EQ(d.selectedNodes(), (std::vector<Node*>{d.item(3), d.item(4)}));
    EXPECT_EQ(itemCount(NodeItem::Type), 4);
    EXPECT_EQ(itemCount(LinkItem::Type), 2);

    // A second paste lands a step further instead of on the first copy.
    ASSERT_TRUE(view.paste());
    EXPECT_EQ(d.item(5)->left() - p.a->left(), 2 * step);
}

TEST_F(DiagramViewTest, PastingBrokenDataReportsAnError)
{
    auto* mime = new QMimeData;
    mime->setData(DiagramView::kMimeType, "{\"format\": \"fsm-diagram\"");
    QApplication::clipboard()->setMimeData(mime);
    QSignalSpy errors(&view, &DiagramView::error);
    EXPECT_FALSE(view.paste());
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors[0][0].toInt(), int(DiagramView::ErrorPaste));
    EXPECT_EQ(d.nodeCount(), 0);
    EXPECT_FALSE(view.copy());  // nothing selected, nothing copied
}

// ---------------------------------------------------------------- keeping in step

TEST_F(DiagramViewTest, ItemsFollowTheModelOneChangeAtATime)
{
    Pair p(d);
    NodeItem* itemA = view.diagramScene()->itemOf(p.a);
    LinkItem* itemAb = view.diagramScene()->itemOf(p.ab);
    p.a->setLeft(500);
    // The same items, brought up to date.
    EXPECT_EQ(view.diagramScene()->itemOf(p.a), itemA);
    EXPECT_LT(itemA->boundingRect().left(), 500);
    EXPECT_EQ(itemAb->line().front().x(), 2000);  // the link leaves a's new right side
    p.a->setToolTip(QStringLiteral("STATE_1  (1)"));
    EXPECT_EQ(view.diagramScene()->toolTipAt(QPointF(600, 1600)), QStringLiteral("STATE_1  (1)"));

    // The info node travels in files only.
    Node* info = d.addNode(0, 0, 5000, 5000);
    info->setUserData(NodeInfo);
    EXPECT_FALSE(view.diagramScene()->itemOf(info)->isVisible());
    hover(px(QPointF(100, 100)));
    EXPECT_EQ(view.pointedNode(), nullptr);
}

TEST_F(DiagramViewTest, RedrawOffCollectsChangesAndAppliesThemOnce)
{
    Pair p(d);
    d.setRedraw(false);
    Node* c = d.addNode(1500, 6000, 900, 900);
    Link* bc = d.addLink(p.b, c);
    p.a->setLeft(300);
    Node* gone = d.addNode(9000, 9000, 100, 100);
    d.addLink(gone, c);
    d.deleteNode(gone);  // added and removed while suspended
    d.deleteLink(p.ab);  // removed at once even while suspended
    EXPECT_EQ(view.diagramScene()->itemOf(c), nullptr);
    EXPECT_EQ(view.diagramScene()->itemOf(p.ab), nullptr);

    d.setAutoRefresh(false);
    d.setRedraw(true);  // auto refresh still off: still suspended
    EXPECT_TRUE(view.diagramScene()->suspended());
    d.setAutoRefresh(true);
    EXPECT_FALSE(view.diagramScene()->suspended());
    ASSERT_NE(view.diagramScene()->itemOf(c), nullptr);
    ASSERT_NE(view.diagramScene()->itemOf(bc), nullptr);
    EXPECT_EQ(itemCount(NodeItem::Type), 3);
    EXPECT_EQ(itemCount(LinkItem::Type), 1);
    EXPECT_LE(view.diagramScene()->itemOf(p.a)->boundingRect().left(), 300);
}

TEST_F(DiagramViewTest, LoadingAFileRebuildsTheItems)
{
    Pair p(d);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.fsm"));
    ASSERT_TRUE(d.saveFile(path, nullptr));
    d.clear();
    EXPECT_EQ(itemCount(NodeItem::Type), 0);
    ASSERT_TRUE(d.loadFile(path, nullptr));
    EXPECT_EQ(itemCount(NodeItem::Type), 2);
    EXPECT_EQ(itemCount(LinkItem::Type), 1);
    click(centre(d.item(1)));
    EXPECT_EQ(d.currentNode(), d.item(1));
}

TEST_F(DiagramViewTest, ABendPointLandsWhereTheMouseLetGoEvenPastTheDrawingsEdge)
{
    d.setSnapToGrid(false);
    // A small drawing reaching left of zero: it fits in the window.
    Node* a = d.addNode(-2000, 1500, 1500, 900);
    Node* b = d.addNode(3000, 1500, 1500, 900);
    Link* ab = d.addLink(a, b);
    ab->setSelected(true);
    QTest::qWait(1);
    const QPointF corner = twips(QPoint(0, 0));
    // Pull the link's middle up and left, past the drawing's left edge.
    const QPoint from = px(QPointF(750, 1950));
    const QPoint to(4, 4);
    QTest::mousePress(vp(), Qt::LeftButton, {}, from);
    QTest::mouseMove(vp(), from - QPoint(10, 10));
    QTest::mouseMove(vp(), (from + to) / 2);
    QTest::mouseMove(vp(), to);
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, to);
    ASSERT_EQ(ab->extraPoints().size(), 1u);
    EXPECT_LE((px(ab->extraPoints()[0]) - to).manhattanLength(), 2);
    EXPECT_NEAR(twips(QPoint(0, 0)).x(), corner.x(), 16);
    EXPECT_NEAR(twips(QPoint(0, 0)).y(), corner.y(), 16);
}
