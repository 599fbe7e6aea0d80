#include "Diagram.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace orvane;

namespace {

struct Triangle {
    Diagram d;
    Node* a;
    Node* b;
    Node* c;
    Link* ab;
    Link* bc;
    Link* ca;
    Triangle()
    {
        a = d.addNode(100, 100, 500, 400);
        b = d.addNode(1000, 100, 500, 400);
        c = d.addNode(500, 900, 500, 400);
        a->setText(QStringLiteral("first\r\nline \u20AC"));
        a->setTag(QStringLiteral("A\u00B7 \u00B7"));
        a->setUserData(0x2000);
        ab = d.addLink(a, b);
        ab->setExtraPoints({QPointF(700, 50)});
        ab->setDrawStyle(2);
        bc = d.addLink(b, c);
        ca = d.addLink(c, a);
    }
};

}  // namespace

TEST(DiagramClipboard, NothingSelectedGivesNoData)
{
    Triangle t;
    EXPECT_TRUE(t.d.selectionData().isEmpty());
    t.ab->setSelected(true);  // a link alone cannot travel without its ends
    EXPECT_TRUE(t.d.selectionData().isEmpty());
}

TEST(DiagramClipboard, CopiesSelectedNodesAndOnlyTheLinksAmongThem)
{
    Triangle t;
    t.a->setSelected(true);
    t.b->setSelected(true);
    const QByteArray data = t.d.selectionData();

    Diagram e;
    ASSERT_TRUE(e.pasteData(data, QPointF(), nullptr));
    ASSERT_EQ(e.nodeCount(), 2);
    ASSERT_EQ(e.links().size(), 1u);
    const Node& a = *e.item(1);
    EXPECT_EQ(a.text(), t.a->text());
    EXPECT_EQ(a.tag(), t.a->tag());
    EXPECT_EQ(a.userData(), 0x2000);
    const Link& l = *e.links()[0];
    EXPECT_EQ(l.org(), e.item(1));
    EXPECT_EQ(l.dst(), e.item(2));
    EXPECT_EQ(l.drawStyle(), 2);
    EXPECT_EQ(l.extraPoints(), t.ab->extraPoints());
}

TEST(DiagramClipboard, PasteAppendsMovedItemsAndSelectsExactlyThem)
{
    Triangle t;
    t.a->setSelected(true);
    t.b->setSelected(true);
    const QByteArray data = t.d.selectionData();
    t.d.setChanged(false);
    QSignalSpy added(&t.d, &Diagram::nodeAdded);
    QSignalSpy linksAdded(&t.d, &Diagram::linkAdded);

    ASSERT_TRUE(t.d.pasteData(data, QPointF(240, 120), nullptr));
    EXPECT_EQ(added.count(), 2);
    EXPECT_EQ(linksAdded.count(), 1);
    EXPECT_TRUE(t.d.changed());
    ASSERT_EQ(t.d.nodeCount(), 5);
    const Node* pa = t.d.item(4);
    EXPECT_EQ(pa->left(), 340);
    EXPECT_EQ(pa->top(), 220);
    EXPECT_EQ(t.d.links().back()->extraPoints(), std::vector<QPointF>{QPointF(940, 170)});
    // The originals lost their selection; the copies hold it.
    const auto sel = t.d.selectedNodes();
    ASSERT_EQ(sel.size(), 2u);
    EXPECT_EQ(sel[0], t.d.item(4));
    EXPECT_EQ(sel[1], t.d.item(5));
    ASSERT_EQ(t.d.selectedLinks().size(), 1u);
    EXPECT_EQ(t.d.selectedLinks()[0], t.d.links().back().get());
    // The pasted link is hooked into its new ends' link lists.
    EXPECT_EQ(t.d.item(4)->outLinks().size(), 1u);
    EXPECT_EQ(t.d.item(5)->inLinks().size(), 1u);
}

TEST(DiagramClipboard, RefusesForeignDataAndLeavesTheDiagramAlone)
{
    Triangle t;
    t.c->setSelected(true);
    QString err;
    EXPECT_FALSE(t.d.pasteData("hello", QPointF(), &err));
    EXPECT_TRUE(err.startsWith(QStringLiteral("Cannot paste")));
    EXPECT_FALSE(t.d.pasteData(
        R"({"format":"fsm-diagram","version":1,"nodes":[],"links":[{"org":1,"dst":2}]})", QPointF(),
        &err));
    EXPECT_EQ(t.d.nodeCount(), 3);
    EXPECT_EQ(t.d.links().size(), 3u);
    EXPECT_TRUE(t.c->selected());
}
