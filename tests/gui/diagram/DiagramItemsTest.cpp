#include "DiagramItems.h"
#include "DiagramView.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

using namespace orvane;

namespace {

const QRectF kArea(1000, 1000, 2000, 1000);  // x 1000..3000, y 1000..2000

QPolygonF line(std::initializer_list<QPointF> points) { return QPolygonF(points); }

}  // namespace

// ---------------------------------------------------------------- lineMeets

TEST(LineMeetsTest, SegmentsThatCrossOrEndInsideMeetTheArea)
{
    // An end inside; both ends outside but crossing; straight through in
    // each direction (the cases without a slope).
    EXPECT_TRUE(lineMeets(line({{2000, 1500}, {9000, 9000}}), kArea, 0));
    EXPECT_TRUE(lineMeets(line({{0, 0}, {4000, 3000}}), kArea, 0));
    EXPECT_TRUE(lineMeets(line({{4000, 3000}, {0, 0}}), kArea, 0));
    EXPECT_TRUE(lineMeets(line({{2000, 0}, {2000, 5000}}), kArea, 0));
    EXPECT_TRUE(lineMeets(line({{0, 1500}, {5000, 1500}}), kArea, 0));
    // Only a later segment of a polyline comes in.
    EXPECT_TRUE(lineMeets(line({{0, 0}, {0, 5000}, {2000, 5000}, {2000, 1200}}), kArea, 0));
    // A single point, a segment of no length.
    EXPECT_TRUE(lineMeets(line({{1500, 1500}}), kArea, 0));
    EXPECT_TRUE(lineMeets(line({{1500, 1500}, {1500, 1500}}), kArea, 0));
}

TEST(LineMeetsTest, ADiagonalWhoseBoundingBoxCoversTheAreaCanMissIt)
{
    // From (0, 1800) to (1800, 0): its box holds the area's top left
    // corner, the line passes 141 twips outside it. Grown by 100 or more,
    // the area's corner reaches the line.
    const QPolygonF past = line({{0, 1800}, {1800, 0}});
    EXPECT_FALSE(lineMeets(past, kArea, 0));
    EXPECT_FALSE(lineMeets(past, kArea, 90));
    EXPECT_TRUE(lineMeets(past, kArea, 110));
    // Parallel to a side: outside it, then within the margin.
    EXPECT_FALSE(lineMeets(line({{0, 2100}, {5000, 2100}}), kArea, 50));
    EXPECT_TRUE(lineMeets(line({{0, 2100}, {5000, 2100}}), kArea, 150));
    EXPECT_FALSE(lineMeets(line({{500, 0}, {500, 5000}}), kArea, 499));
    EXPECT_TRUE(lineMeets(line({{500, 0}, {500, 5000}}), kArea, 500));
    EXPECT_FALSE(lineMeets(line({{5000, 5000}}), kArea, 10));
    EXPECT_FALSE(lineMeets(QPolygonF(), kArea, 10));
}

// ---------------------------------------------------------------- painting

// What a part of the window shows after repainting only that part must be
// what the whole window shows there: long links that pass far away are
// skipped, links whose stroke, arrow head or antialiased edge reaches into
// the part are drawn.
class LinkPaintingTest : public ::testing::Test {
protected:
    Diagram d;
    DiagramView view{&d};

    void SetUp() override
    {
        view.resize(700, 500);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QImage whole()
    {
        QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::magenta);
        view.viewport()->render(&image);
        return image;
    }

    // Every pixel of `part` painted alone equals the whole window's.
    void expectPartLikeWhole(const QRect& wanted)
    {
        const QRect part = wanted & view.viewport()->rect();
        const QImage all = whole();
        QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::magenta);
        view.viewport()->render(&image, part.topLeft(), QRegion(part));
        int differing = 0;
        for (int y = part.top(); y <= part.bottom(); ++y)
            for (int x = part.left(); x <= part.right(); ++x)
                differing += image.pixel(x, y) != all.pixel(x, y);
        EXPECT_EQ(differing, 0) << "in " << part.x() << "," << part.y() << " " << part.width()
                                << "x" << part.height();
    }
};

TEST_F(LinkPaintingTest, PartsRepaintedAloneMatchTheWholeWindow)
{
    // A long diagonal link with arrow heads at both ends, a thick one with
    // a bend, and a dashed one.
    Node* a = d.addNode(300, 300, 900, 600);
    Node* b = d.addNode(8000, 5500, 900, 600);
    Node* c = d.addNode(8000, 300, 900, 600);
    Link* ab = d.addLink(a, b);
    ab->setArrowOrg(1);
    Link* cb = d.addLink(c, b);
    cb->setDrawWidth(6);
    cb->setExtraPoints({QPointF(5000, 3000)});
    Link* ca = d.addLink(c, a);
    ca->setDrawStyle(1);
    ca->setDrawColor(0x0000FF);
    for (const double zoom : {25.0, 100.0, 161.0, 400.0}) {
        view.setZoom(zoom);
        view.centerOn(QPointF(4500, 3000));
        // Strips as scrolling paints them, and small boxes near the lines,
        // next to them and on them.
        expectPartLikeWhole(QRect(0, 0, 700, 23));
        expectPartLikeWhole(QRect(0, 450, 700, 31));
        expectPartLikeWhole(QRect(0, 0, 17, 480));
        for (const QPointF at : {QPointF(2000, 1400), QPointF(4500, 3000), QPointF(5000, 3000),
                                 QPointF(6500, 2000), QPointF(1400, 2000), QPointF(8000, 5400)}) {
            const QPoint p = view.mapFromScene(at);
            for (const int size : {3, 9, 40})
                expectPartLikeWhole(QRect(p - QPoint(size, size), QSize(size, size)));
        }
    }
}

TEST_F(LinkPaintingTest, APartBesideALineStillGetsItsEdge)
{
    // Without arrow heads: a thick horizontal link and a thin diagonal one
    // whose centre lines lie just outside the repainted parts.
    Node* a = d.addNode(300, 3000, 900, 600);
    Node* b = d.addNode(9000, 3000, 900, 600);
    Link* ab = d.addLink(a, b);
    ab->setArrowDst(0);
    ab->setDrawWidth(6);
    Node* c = d.addNode(300, 6000, 900, 600);
    Node* e = d.addNode(9000, 9000, 900, 600);
    d.addLink(c, e)->setArrowDst(0);
    for (const double zoom : {50.0, 100.0, 161.0}) {
        view.setZoom(zoom);
        view.centerOn(QPointF(4500, 5000));
        const QPoint on = view.mapFromScene(QPointF(4500, 3300));  // on the thick line
        for (const int off : {1, 2, 3, 4}) {
            expectPartLikeWhole(QRect(on.x() - 50, on.y() + off, 100, 6));
            expectPartLikeWhole(QRect(on.x() - 50, on.y() - off - 6, 100, 6));
        }
        const QPoint mid = view.mapFromScene(QPointF(5100, 7800));  // on the thin one
        for (const int off : {1, 2, 3}) {
            expectPartLikeWhole(QRect(mid + QPoint(off, 0), QSize(4, 4)));
            expectPartLikeWhole(QRect(mid - QPoint(off + 4, 0), QSize(4, 4)));
        }
    }
}
