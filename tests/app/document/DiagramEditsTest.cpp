#include "modModifica.h"

#include "../model/FsmTestKit.h"

#include <gtest/gtest.h>

#include <QRectF>

using namespace orvane;
using namespace orvane::testkit;
using modNodoTransicion::GetTransitionField;
using modNodoTransicion::IsTransitionNode;

namespace {

std::vector<Node*> Transitions(const Diagram& d)
{
    std::vector<Node*> out;
    for (const auto& n : d.nodes())
        if (IsTransitionNode(n.get()))
            out.push_back(n.get());
    return out;
}

// A link drawn by the user and made the current one.
Link* Draw(FsmDocument& doc, Node* from, Node* to)
{
    Link* l = doc.diagram().addLink(from, to);
    doc.diagram().setCurrentLink(l);
    return l;
}

}  // namespace

TEST(modModificaTest, ADrawnNodeBecomesAStateOnlyWhenLargerThanTheLeast)
{
    FsmDocument doc;
    RecordingMessenger m;
    AddState(doc, {QStringLiteral("A"), QStringLiteral("4")});
    Diagram& d = doc.diagram();
    EXPECT_EQ(modModifica::DrawnNodeToState(doc, d.addNode(0, 0, 300, 500), m), nullptr);
    EXPECT_EQ(modModifica::DrawnNodeToState(doc, d.addNode(0, 0, 500, 200), m), nullptr);
    EXPECT_EQ(d.nodeCount(), 1);

    Node* s = modModifica::DrawnNodeToState(doc, d.addNode(0, 0, 301, 201), m);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->userData(), modNodoEstado::NODE_STATE_NORMAL);
    EXPECT_EQ(modNodoEstado::GetStateField(modNodoEstado::kStateIndex, s), QStringLiteral("5"));
    EXPECT_TRUE(modNodoEstado::GetStateField(modNodoEstado::kStateName, s).startsWith(
        QStringLiteral("STATE_")));
    EXPECT_EQ(modNodoEstado::GetStateField(modNodoEstado::kStateIsIn, s), N);
    EXPECT_TRUE(m.messages.empty());
}

TEST(modModificaTest, LinksAreJudgedByTheKindsOfTheirEnds)
{
    FsmDocument doc;
    Node* a = AddState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    Node* b = AddState(doc, {QStringLiteral("B"), QStringLiteral("2")}, 5000);
    Diagram& d = doc.diagram();

    EXPECT_EQ(modModifica::AfterLinkDrawn(doc, Draw(doc, a, b), false), modModifica::LinkOutcome::Transition);
    EXPECT_EQ(modModifica::AfterLinkDrawn(doc, Draw(doc, a, b), false), modModifica::LinkOutcome::Transition);
    std::vector<Node*> t = Transitions(d);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(GetTransitionField(0, t[0]), QStringLiteral("1"));
    EXPECT_EQ(GetTransitionField(0, t[1]), QStringLiteral("2"));

    // Between two transitions: the link goes.
    const size_t links = d.links().size();
    EXPECT_EQ(modModifica::AfterLinkDrawn(doc, Draw(doc, t[0], t[1]), false), modModifica::LinkOutcome::Removed);
    EXPECT_EQ(d.links().size(), links);

    // A second way out of a transition breaks it; the other is renumbered.
    EXPECT_EQ(modModifica::AfterLinkDrawn(doc, Draw(doc, t[0], a), false), modModifica::LinkOutcome::CleanedUp);
    t = Transitions(d);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(GetTransitionField(0, t[0]), QStringLiteral("1"));

    // Between remarks the link stays as drawn.
    Node* r1 = modModifica::InsertRemark(doc);
    Node* r2 = modModifica::InsertRemark(doc);
    EXPECT_EQ(modModifica::AfterLinkDrawn(doc, Draw(doc, r1, r2), false), modModifica::LinkOutcome::Kept);
    EXPECT_EQ(r1->outLinks().size(), 1u);
}

TEST(modModificaTest, AReconnectedFirstHalfStartsTheTransitionAfresh)
{
    FsmDocument doc;
    Node* a = AddState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    Node* b = AddState(doc, {QStringLiteral("B"), QStringLiteral("2")}, 5000);
    Node* c = AddState(doc, {QStringLiteral("C"), QStringLiteral("3")}, 9000);
    Node* ab = AddTransition(doc, a, b, QStringLiteral("go"));
    Node* cb = AddTransition(doc, c, b, QStringLiteral("x"));
    // The user moves the end of c's first half from its transition to a's.
    Link* half = cb->inLinks().front();
    half->setDst(ab);
    EXPECT_EQ(modModifica::AfterLinkDrawn(doc, half, true), modModifica::LinkOutcome::CleanedUp);
    // Both transitions are left without one way in and one way out.
    EXPECT_TRUE(Transitions(doc.diagram()).empty());
    EXPECT_EQ(doc.diagram().nodeCount(), 3);
}

TEST(modModificaTest, DeletingAStateTakesItsTransitionsAndRenumbersTheRest)
{
    FsmDocument doc;
    Node* a = AddState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    Node* b = AddState(doc, {QStringLiteral("B"), QStringLiteral("2")}, 5000);
    Node* c = AddState(doc, {QStringLiteral("C"), QStringLiteral("3")}, 9000);
    AddTransition(doc, a, b);
    Node* ac = AddTransition(doc, a, c);
    AddTransition(doc, c, b);
    ASSERT_EQ(GetTransitionField(0, ac), QStringLiteral("2"));

    doc.diagram().clearSelection();
    b->setSelected(true);
    modModifica::DeleteSelection(doc);
    const std::vector<Node*> t = Transitions(doc.diagram());
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0], ac);
    EXPECT_EQ(GetTransitionField(0, ac), QStringLiteral("1"));
    EXPECT_FALSE(ac->text().startsWith(QLatin1Char('[')));
    EXPECT_TRUE(doc.diagram().autoRefresh());
}

TEST(modModificaTest, MovedNodesKeepTheLeastSize)
{
    FsmDocument doc;
    doc.autosizeNodes = false;
    Node* s = AddState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    s->setGeometry(0, 0, 60, 60);
    modModifica::AfterNodeMoved(doc, s, true);
    EXPECT_EQ(s->width(), 150);
    EXPECT_EQ(s->height(), 100);
    Node* r = modModifica::InsertRemark(doc);
    r->setGeometry(0, 0, 80, 300);
    modModifica::AfterNodeMoved(doc, r, false);
    EXPECT_EQ(r->width(), 150);
    EXPECT_EQ(r->height(), 300);
}

TEST(modModificaTest, ARemarkIsAWhiteTextBoxOutsideTheMachine)
{
    FsmDocument doc;
    AddState(doc, {QStringLiteral("A"), QStringLiteral("1")})->setSelected(true);
    Node* r = modModifica::InsertRemark(doc);
    EXPECT_EQ(QRectF(r->left(), r->top(), r->width(), r->height()), QRectF(10, 10, 500, 500));
    EXPECT_EQ(r->userData(), modNodoEstado::NODE_TEXTBOX);
    EXPECT_FALSE(r->isFsmItem());
    EXPECT_EQ(r->fillColor(), 0xFFFFFFu);
    EXPECT_EQ(doc.diagram().currentNode(), r);
    EXPECT_EQ(doc.diagram().selectedNodes(), std::vector<Node*>{r});
}

TEST(modModificaTest, SwitchingAutosizeOnFitsEveryNodeAndMarksTheDiagram)
{
    FsmDocument doc;
    Node* s = AddState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    s->setGeometry(0, 0, 5000, 5000);
    doc.diagram().setChanged(false);
    modModifica::SizeAllNodesToText(doc);
    EXPECT_LT(s->width(), 5000);
    EXPECT_TRUE(doc.diagram().changed());
}
