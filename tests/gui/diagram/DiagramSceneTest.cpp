#include "DiagramScene.h"

#include "Records.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGraphicsRectItem>
#include <QTemporaryDir>

using namespace orvane;

namespace {

int countOf(const QGraphicsScene& scene, int type)
{
    int n = 0;
    for (QGraphicsItem* it : scene.items())
        n += it->type() == type;
    return n;
}

}  // namespace

TEST(DiagramScene, ItemsFollowMovesAndComeBackWhereTheyWere)
{
    Diagram d;
    Node* a = d.addNode(1000, 1000, 1500, 900);
    Node* b = d.addNode(6000, 1000, 1500, 900);
    Link* ab = d.addLink(a, b);
    DiagramScene scene(&d);
    NodeItem* item = scene.itemOf(a);
    const QRectF before = item->boundingRect();
    const QPolygonF line = scene.itemOf(ab)->line();

    a->setLeft(3000);
    EXPECT_EQ(item->boundingRect(), before.translated(2000, 0));
    EXPECT_EQ(scene.nodeAt(QPointF(3100, 1100)), a);
    EXPECT_EQ(scene.nodeAt(QPointF(1100, 1100)), nullptr);
    EXPECT_NE(scene.itemOf(ab)->line(), line);

    // A change that keeps the area (a colour) leaves the geometry alone.
    a->setLeft(1000);
    a->setFillColor(0x123456);
    EXPECT_EQ(item->boundingRect(), before);
    EXPECT_EQ(scene.itemOf(ab)->line(), line);
    EXPECT_EQ(scene.linkAt(line.boundingRect().center(), 30), ab);
}

TEST(DiagramScene, RebuildingReplacesOurItemsAndKeepsOthers)
{
    QTemporaryDir dir;
    Diagram d;
    Node* a = d.addNode(1000, 1000, 1500, 900);
    d.addLink(a, d.addNode(6000, 1000, 1500, 900));
    ASSERT_TRUE(d.saveFile(dir.filePath(QStringLiteral("x.fsm")), nullptr));
    DiagramScene scene(&d);
    // Something a view put into the scene, such as its rubber band.
    auto* band = new QGraphicsRectItem(0, 0, 10, 10);
    scene.addItem(band);

    d.item(1)->setSelected(true);
    ASSERT_TRUE(d.loadFile(dir.filePath(QStringLiteral("x.fsm")), nullptr));
    ASSERT_TRUE(d.loadFile(dir.filePath(QStringLiteral("x.fsm")), nullptr));
    EXPECT_EQ(countOf(scene, NodeItem::Type), 2);
    EXPECT_EQ(countOf(scene, LinkItem::Type), 1);
    EXPECT_EQ(band->scene(), &scene);
    for (const auto& n : d.nodes())
        EXPECT_EQ(scene.itemOf(n.get())->node(), n.get());

    // Selection shows on the new items too.
    d.item(2)->setSelected(true);
    QCoreApplication::processEvents();
    const QRectF plain = scene.itemOf(d.item(1))->boundingRect();
    EXPECT_GT(scene.itemOf(d.item(2))->boundingRect().width(),
              scene.itemOf(d.item(2))->drawnRect().width());
    EXPECT_EQ(plain, scene.itemOf(d.item(1))->drawnRect());

    d.clear();
    EXPECT_EQ(countOf(scene, NodeItem::Type), 0);
    EXPECT_EQ(band->scene(), &scene);
}

TEST(DiagramScene, ToolTipsComeFromTheTopmostShownNodeWithOne)
{
    Diagram d;
    Node* under = d.addNode(1000, 1000, 3000, 3000);
    under->setToolTip(QStringLiteral("under"));
    Node* over = d.addNode(2000, 2000, 1000, 1000);
    DiagramScene scene(&d);
    EXPECT_EQ(scene.toolTipAt(QPointF(1100, 1100)), QStringLiteral("under"));
    // The upper node has no tip: the one below speaks.
    EXPECT_EQ(scene.toolTipAt(QPointF(2500, 2500)), QStringLiteral("under"));
    over->setToolTip(QStringLiteral("over"));
    EXPECT_EQ(scene.toolTipAt(QPointF(2500, 2500)), QStringLiteral("over"));
    EXPECT_EQ(scene.toolTipAt(QPointF(9000, 9000)), QString());
    // The info node is never shown, so it has nothing to say.
    Node* info = d.addNode(0, 0, 20000, 20000);
    info->setUserData(NodeInfo);
    info->setToolTip(QStringLiteral("info"));
    EXPECT_EQ(scene.toolTipAt(QPointF(9000, 9000)), QString());
}
