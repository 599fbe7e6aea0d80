#include "FsmTestKit.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::Transitions;
using namespace orvane::testkit;

namespace {
struct TwoStates {
    FsmDocument doc;
    Node* a = addState(doc, {QStringLiteral("A"), QStringLiteral("1")}, 1000, 1000);
    Node* b = addState(doc, {QStringLiteral("B"), QStringLiteral("2")}, 5000, 1000);
};

}  // namespace

TEST(TransitionSplit, DrawnLinkBecomesNodeBetweenTwoLinks)
{
    TwoStates m;
    Diagram& d = m.doc.diagram();
    Link* drawn = d.addLink(m.a, m.b);
    d.setCurrentLink(drawn);
    Node* t = splitLinkIntoTransition(m.doc);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->userData(), NodeTransition);
    ASSERT_EQ(t->inLinks().size(), 1u);
    ASSERT_EQ(t->outLinks().size(), 1u);
    EXPECT_EQ(t->inLinks()[0]->org(), m.a);
    EXPECT_EQ(t->inLinks()[0]->arrowDst(), 0);
    EXPECT_EQ(t->outLinks()[0]->dst(), m.b);
    EXPECT_EQ(t->outLinks()[0]->arrowDst(), 3);
    EXPECT_EQ(d.links().size(), 2u);  // the drawn link is gone
    EXPECT_EQ(t->fillColor(), 0xFFFFC0u);
    EXPECT_EQ(t->tag(), (TransitionRecord{"1", "", "", "Y", "N"}.toText()));
    // Placed at the midpoint of the states' centres as a 1 x 1 node, then
    // grown around its own centre into an invisible 150 x 100 box.
    const QPointF mid = (States::nodeCentre(m.a) + States::nodeCentre(m.b)) / 2;
    EXPECT_DOUBLE_EQ(States::nodeCentre(t).x(), mid.x() + 0.5);
    EXPECT_EQ(t->shape(), 0);
    EXPECT_TRUE(t->text().isEmpty());
    EXPECT_EQ(t->width(), 150);
    EXPECT_EQ(t->height(), 100);
}

TEST(TransitionSplit, DeletesOnlyTheDrawnLinkWhateverElseIsSelected)
{
    TwoStates m;
    Diagram& d = m.doc.diagram();
    Node* c = addState(m.doc, {QStringLiteral("C"), QStringLiteral("3")});
    Node* old = addTransition(m.doc, m.a, c);
    c->setSelected(true);
    old->inLinks()[0]->setSelected(true);
    d.setCurrentLink(d.addLink(m.a, m.b));  // drawn, not selected
    Node* t = splitLinkIntoTransition(m.doc);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(d.nodeCount(), 5);
    EXPECT_EQ(d.links().size(), 4u);
    EXPECT_TRUE(c->selected());
    EXPECT_EQ(old->inLinks().size(), 1u);

    d.setCurrentLink(nullptr);
    EXPECT_EQ(splitLinkIntoTransition(m.doc), nullptr);
}

TEST(TransitionLabel, PriorityShownOnlyWithTwoOrMoreOutLinks)
{
    TwoStates m;
    Node* t1 = addTransition(m.doc, m.a, m.b, QStringLiteral("x > 1"));
    EXPECT_EQ(t1->text(), QStringLiteral("x > 1\r\n"));
    Node* t2 = addTransition(m.doc, m.a, m.a);
    EXPECT_EQ(t1->text(), QStringLiteral("[1]x > 1\r\n"));
    EXPECT_EQ(t2->text(), QStringLiteral("[2]\r\n"));
    EXPECT_EQ(t2->shape(), 5);
}

TEST(TransitionLabel, ConditionLinesThenActionAfterSlash)
{
    TwoStates m;
    Node* t = addTransition(m.doc, m.a, m.b, QStringLiteral("a &&\r\nb"), QStringLiteral("go();"));
    EXPECT_EQ(t->text(), QStringLiteral("a &&\r\nb\r\n/go();\r\n"));
    Node* u = addTransition(m.doc, m.a, m.b, {}, QStringLiteral("z();"), Y, Y);
    EXPECT_EQ(u->text(), QStringLiteral("{2}\r\n/z();\r\n"));
}

TEST(TransitionPriorities, MustBeLastMovesBehindANewTransition)
{
    TwoStates m;
    Node* p1 = addTransition(m.doc, m.a, m.b);
    Node* p2 = addTransition(m.doc, m.a, m.b);
    Node* last = addTransition(m.doc, m.a, m.b, {}, {}, Y, Y);
    EXPECT_EQ(priority(last), QStringLiteral("3"));
    EXPECT_EQ(last->text(), QStringLiteral("{3}\r\n"));
    Node* fresh = addTransition(m.doc, m.a, m.b);
    EXPECT_EQ(priority(p1), QStringLiteral("1"));
    EXPECT_EQ(priority(p2), QStringLiteral("2"));
    EXPECT_EQ(priority(fresh), QStringLiteral("3"));
    EXPECT_EQ(fresh->text(), QStringLiteral("[3]\r\n"));
    EXPECT_EQ(priority(last), QStringLiteral("4"));
    EXPECT_EQ(last->text(), QStringLiteral("{4}\r\n"));
}

TEST(TransitionPriorities, MustBeLastCreatedFirstEndsLast)
{
    TwoStates m;
    Node* last = addTransition(m.doc, m.a, m.b, {}, {}, Y, Y);
    Node* other = addTransition(m.doc, m.a, m.b);
    EXPECT_EQ(priority(other), QStringLiteral("1"));
    EXPECT_EQ(priority(last), QStringLiteral("2"));
}

TEST(TransitionPriorities, EditedTransitionGoesFirstAmongEquals)
{
    TwoStates m;
    Node* t1 = addTransition(m.doc, m.a, m.b);
    Node* t2 = addTransition(m.doc, m.a, m.b);
    Node* t3 = addTransition(m.doc, m.a, m.b);
    // The user gives the third one priority 1.
    configureTransition(m.doc, TransitionRecord{QStringLiteral("1"), {}, {}, Y, N}, t3);
    renumberPriorities(m.doc, m.a, t3);
    EXPECT_EQ(priority(t3), QStringLiteral("1"));
    EXPECT_EQ(priority(t1), QStringLiteral("2"));
    EXPECT_EQ(priority(t2), QStringLiteral("3"));
    for (const Node* t : {t1, t2, t3})
        EXPECT_EQ(t->userData(), NodeTransition);
}

TEST(TransitionPriorities, HandWrittenPrioritiesAreReadLeniently)
{
    TwoStates m;
    Diagram& d = m.doc.diagram();
    auto raw = [&](const QString& p) {
        Node* t = rawNode(d, NodeTransition, {p, "", "", "Y", "N"});
        d.addLink(m.a, t);
        d.addLink(t, m.b);
        return t;
    };
    Node* empty = raw(QString());
    Node* text = raw(QStringLiteral("soon"));
    Node* frac = raw(QStringLiteral("1.5"));
    Node* one = raw(QStringLiteral("1"));
    Node* two = raw(QStringLiteral("2e0"));
    EXPECT_EQ(nextPriority(empty), QStringLiteral("3"));
    renumberPriorities(m.doc, m.a, nullptr);
    EXPECT_EQ(priority(empty), QStringLiteral("1"));
    EXPECT_EQ(priority(text), QStringLiteral("2"));
    EXPECT_EQ(priority(one), QStringLiteral("3"));
    EXPECT_EQ(priority(frac), QStringLiteral("4"));
    EXPECT_EQ(priority(two), QStringLiteral("5"));
    EXPECT_EQ(nextPriority(frac), QStringLiteral("6"));
}

TEST(TransitionRobustness, NodesWithoutLinksNeverCrash)
{
    FsmDocument doc;
    Diagram& d = doc.diagram();
    Node* lonely = rawNode(d, NodeTransition, {"7", "c"});
    EXPECT_EQ(nextPriority(lonely), QStringLiteral("1"));
    EXPECT_EQ(nextPriority(nullptr), QStringLiteral("1"));
    configureTransition(doc, TransitionRecord{QStringLiteral("7"), QStringLiteral("c"), {}, N, N},
                        lonely);
    EXPECT_EQ(lonely->text(), QStringLiteral("c\r\n"));
    configureTransition(doc, TransitionRecord{QStringLiteral("1"), {}, {}, Y, N}, nullptr);
    renumberPriorities(doc, nullptr, lonely);
    Node* state = addState(doc, {QStringLiteral("S"), QStringLiteral("1")});
    renumberPriorities(doc, state, lonely);  // no out-links: nothing happens
    EXPECT_EQ(priority(lonely), QStringLiteral("7"));
    RecordingMessenger m;
    States::refreshAllItems(doc, m);
    EXPECT_TRUE(isTransitionNode(lonely));
    EXPECT_FALSE(isTransitionNode(nullptr));
}
