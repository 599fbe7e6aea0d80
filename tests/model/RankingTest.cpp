#include "FsmTestKit.h"
#include "Ranking.h"

#include <gtest/gtest.h>

#include <climits>

using namespace orvane;
using namespace orvane::Ranking;
using namespace orvane::testkit;

TEST(LenientNumbers, ReadTheLongestNumericPrefix)
{
    EXPECT_EQ(lenientNumber(QString()), 0);
    EXPECT_EQ(lenientNumber(QStringLiteral("abc")), 0);
    EXPECT_EQ(lenientNumber(QStringLiteral("12abc")), 12);
    EXPECT_EQ(lenientNumber(QStringLiteral("  \t-3.5x")), -3.5);
    EXPECT_EQ(lenientNumber(QStringLiteral("+.5")), 0.5);
    EXPECT_EQ(lenientNumber(QStringLiteral("7.")), 7);
    EXPECT_EQ(lenientNumber(QStringLiteral("1.2.3")), 1.2);
    EXPECT_EQ(lenientNumber(QStringLiteral("2e3")), 2000);
    EXPECT_EQ(lenientNumber(QStringLiteral("2e")), 2);
    EXPECT_EQ(lenientNumber(QStringLiteral("2e+x")), 2);
    EXPECT_EQ(lenientNumber(QStringLiteral("1 2")), 1);
    EXPECT_EQ(lenientNumber(QStringLiteral("-")), 0);
    EXPECT_EQ(lenientNumber(QStringLiteral(".")), 0);
    EXPECT_EQ(lenientNumber(QStringLiteral("\r\n5")), 0);
    EXPECT_GT(lenientNumber(QStringLiteral("1e999")), 1e300);
    EXPECT_LT(lenientNumber(QStringLiteral("-1e999")), -1e300);
    EXPECT_EQ(lenientNumber(QStringLiteral("1e-999")), 0);
}

TEST(LenientNumbers, IndicesRoundHalfToEvenAndClamp)
{
    EXPECT_EQ(lenientIndex(QStringLiteral("2.5")), 2);
    EXPECT_EQ(lenientIndex(QStringLiteral("3.5")), 4);
    EXPECT_EQ(lenientIndex(QStringLiteral("2.51")), 3);
    EXPECT_EQ(lenientIndex(QStringLiteral("-2.5")), -2);
    EXPECT_EQ(lenientIndex(QStringLiteral("-0.7")), -1);
    EXPECT_EQ(lenientIndex(QStringLiteral("1e20")), INT_MAX);
    EXPECT_EQ(lenientIndex(QStringLiteral("-1e20")), INT_MIN);
}

TEST(StateRanks, StableByRoundedIndexSkippingOtherNodes)
{
    Diagram d;
    Node* c = rawNode(d, NodeStateNormal, {"C", "", "3"});
    Node* a = rawNode(d, NodeStateNormal, {"A", "", "1"});
    rawNode(d, NodeTransition, {"0"});
    Node* b1 = rawNode(d, NodeStateNormal, {"B1", "", "2.5"});
    Node* b2 = rawNode(d, NodeStateNormal, {"B2", "", "2"});
    Node* z = rawNode(d, NodeStateNormal, {"Z", "", "none"});
    EXPECT_EQ(statesByRank(d), (std::vector<Node*>{z, a, b1, b2, c}));
    EXPECT_TRUE(statesByRank(Diagram()).empty());
}

TEST(TransitionRanks, OnlyRealTransitionsByPriorityTiesInLinkOrder)
{
    Diagram d;
    Node* s = rawNode(d, NodeStateNormal, {"S", "", "1"});
    Node* u = rawNode(d, NodeStateNormal, {"U", "", "2"});
    Node* remark = rawNode(d, NodeTextBox, {});
    auto trans = [&](const QString& p, Node* to) {
        Node* t = rawNode(d, NodeTransition, {p});
        d.addLink(s, t);
        if (to)
            d.addLink(t, to);
        return t;
    };
    Node* second = trans(QStringLiteral("2"), u);
    Node* dangling = trans(QStringLiteral("0"), nullptr);
    Node* toRemark = trans(QStringLiteral("0"), remark);
    Node* firstA = trans(QStringLiteral("1"), s);
    Node* half = trans(QStringLiteral("1.5"), u);
    Node* firstB = trans(QStringLiteral("1"), u);
    d.addLink(s, firstA);  // a second link to the same node
    d.addLink(s, u);       // a plain link to a state
    EXPECT_EQ(transitionsByRank(s), (std::vector<Node*>{firstA, firstB, half, second}));
    EXPECT_EQ(transitionTarget(firstA), s);
    EXPECT_EQ(transitionTarget(dangling), nullptr);
    EXPECT_EQ(transitionTarget(toRemark), nullptr);
    EXPECT_EQ(transitionTarget(s), nullptr);
    EXPECT_EQ(transitionTarget(nullptr), nullptr);
    EXPECT_TRUE(transitionsByRank(nullptr).empty());
}
