#include "DiagramEdits.h"

#include "../model/FsmTestKit.h"

#include <gtest/gtest.h>

#include <QRectF>

using namespace orvane;
using namespace orvane::testkit;
using Transitions::isTransitionNode;

namespace {

std::vector<Node*> transitions(const Diagram& d)
{
    std::vector<Node*> out;
    for (const auto& n : d.nodes())
        if (isTransitionNode(n.get()))
            out.push_back(n.get());
    return out;
}

// A link drawn by the user and made the current one.
Link* draw(FsmDocument& doc, Node* from, Node* to)
{
    Link* l = doc.diagram().addLink(from, to);
    doc.diagram().setCurrentLink(l);
    return l;
}

}  // namespace

TEST(DiagramEditsTest, ADrawnNodeBecomesAStateOnlyWhenLargerThanTheLeast)
{
    FsmDocument doc;
    RecordingMessenger m;
    addState(doc, {QStringLiteral("A"), QStringLiteral("4")});
    Diagram& d = doc.diagram();
    EXPECT_EQ(DiagramEdits::drawnNodeToState(doc, d.addNode(0, 0, 300, 500), m), nullptr);
    EXPECT_EQ(DiagramEdits::drawnNodeToState(doc, d.addNode(0, 0, 500, 200), m), nullptr);
    EXPECT_EQ(d.nodeCount(), 1);

    Node* s = DiagramEdits::drawnNodeToState(doc, d.addNode(0, 0, 301, 201), m);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->userData(), NodeStateNormal);
    EXPECT_EQ(stateRecord(s).index, QStringLiteral("5"));
    EXPECT_TRUE(stateRecord(s).name.startsWith(QStringLiteral("STATE_")));
    EXPECT_EQ(stateRecord(s).isIn, N);
    EXPECT_TRUE(m.messages.empty());
}

TEST(DiagramEditsTest, LinksAreJudgedByTheKindsOfTheirEnds)
{
    FsmDocument doc;
    Node* a = addState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    Node* b = addState(doc, {QStringLiteral("B"), QStringLiteral("2")}, 5000);
    Diagram& d = doc.diagram();

    EXPECT_EQ(DiagramEdits::afterLinkDrawn(doc, draw(doc, a, b), false),
              DiagramEdits::LinkOutcome::Transition);
    EXPECT_EQ(DiagramEdits::afterLinkDrawn(doc, draw(doc, a, b), false),
              DiagramEdits::LinkOutcome::Transition);
    std::vector<Node*> t = transitions(d);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(transitionRecord(t[0]).priority, QStringLiteral("1"));
    EXPECT_EQ(transitionRecord(t[1]).priority, QStringLiteral("2"));

    // Between two transitions: the link goes.
    const size_t links = d.links().size();
    EXPECT_EQ(DiagramEdits::afterLinkDrawn(doc, draw(doc, t[0], t[1]), false),
              DiagramEdits::LinkOutcome::Removed);
    EXPECT_EQ(d.links().size(), links);

    // A second way out of a transition breaks it; the other is renumbered.
    EXPECT_EQ(DiagramEdits::afterLinkDrawn(doc, draw(doc, t[0], a), false),
              DiagramEdits::LinkOutcome::CleanedUp);
    t = transitions(d);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(transitionRecord(t[0]).priority, QStringLiteral("1"));

    // Between remarks the link stays as drawn.
    Node* r1 = DiagramEdits::insertRemark(doc);
    Node* r2 = DiagramEdits::insertRemark(doc);
    EXPECT_EQ(DiagramEdits::afterLinkDrawn(doc, draw(doc, r1, r2), false),
              DiagramEdits::LinkOutcome::Kept);
    EXPECT_EQ(r1->outLinks().size(), 1u);
}

TEST(DiagramEditsTest, AReconnectedFirstHalfStartsTheTransitionAfresh)
{
    FsmDocument doc;
    Node* a = addState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    Node* b = addState(doc, {QStringLiteral("B"), QStringLiteral("2")}, 5000);
    Node* c = addState(doc, {QStringLiteral("C"), QStringLiteral("3")}, 9000);
    Node* ab = addTransition(doc, a, b, QStringLiteral("go"));
    Node* cb = addTransition(doc, c, b, QStringLiteral("x"));
    // The user moves the end of c's first half from its transition to a's.
    Link* half = cb->inLinks().front();
    half->setDst(ab);
    EXPECT_EQ(DiagramEdits::afterLinkDrawn(doc, half, true), DiagramEdits::LinkOutcome::CleanedUp);
    // Both transitions are left without one way in and one way out.
    EXPECT_TRUE(transitions(doc.diagram()).empty());
    EXPECT_EQ(doc.diagram().nodeCount(), 3);
}

TEST(DiagramEditsTest, DeletingAStateTakesItsTransitionsAndRenumbersTheRest)
{
    FsmDocument doc;
    Node* a = addState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    Node* b = addState(doc, {QStringLiteral("B"), QStringLiteral("2")}, 5000);
    Node* c = addState(doc, {QStringLiteral("C"), QStringLiteral("3")}, 9000);
    addTransition(doc, a, b);
    Node* ac = addTransition(doc, a, c);
    addTransition(doc, c, b);
    ASSERT_EQ(transitionRecord(ac).priority, QStringLiteral("2"));

    doc.diagram().clearSelection();
    b->setSelected(true);
    DiagramEdits::deleteSelection(doc);
    const std::vector<Node*> t = transitions(doc.diagram());
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0], ac);
    EXPECT_EQ(transitionRecord(ac).priority, QStringLiteral("1"));
    EXPECT_FALSE(ac->text().startsWith(QLatin1Char('[')));
    EXPECT_TRUE(doc.diagram().autoRefresh());
}

TEST(DiagramEditsTest, MovedNodesKeepTheLeastSize)
{
    FsmDocument doc;
    doc.autosizeNodes = false;
    Node* s = addState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    s->setGeometry(0, 0, 60, 60);
    DiagramEdits::afterNodeMoved(doc, s, true);
    EXPECT_EQ(s->width(), 150);
    EXPECT_EQ(s->height(), 100);
    Node* r = DiagramEdits::insertRemark(doc);
    r->setGeometry(0, 0, 80, 300);
    DiagramEdits::afterNodeMoved(doc, r, false);
    EXPECT_EQ(r->width(), 150);
    EXPECT_EQ(r->height(), 300);
}

TEST(DiagramEditsTest, ARemarkIsAWhiteTextBoxOutsideTheMachine)
{
    FsmDocument doc;
    addState(doc, {QStringLiteral("A"), QStringLiteral("1")})->setSelected(true);
    Node* r = DiagramEdits::insertRemark(doc);
    EXPECT_EQ(QRectF(r->left(), r->top(), r->width(), r->height()), QRectF(10, 10, 500, 500));
    EXPECT_EQ(r->userData(), NodeTextBox);
    EXPECT_FALSE(r->isFsmItem());
    EXPECT_EQ(r->fillColor(), 0xFFFFFFu);
    EXPECT_EQ(doc.diagram().currentNode(), r);
    EXPECT_EQ(doc.diagram().selectedNodes(), std::vector<Node*>{r});
}

TEST(DiagramEditsTest, SwitchingAutosizeOnFitsEveryNodeAndMarksTheDiagram)
{
    FsmDocument doc;
    Node* s = addState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    s->setGeometry(0, 0, 5000, 5000);
    doc.diagram().setChanged(false);
    DiagramEdits::sizeAllNodesToText(doc);
    EXPECT_LT(s->width(), 5000);
    EXPECT_TRUE(doc.diagram().changed());
}
