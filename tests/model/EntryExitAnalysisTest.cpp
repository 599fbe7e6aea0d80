#include "FsmTestKit.h"
#include "EntryExitAnalysis.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testkit;

namespace {
struct Analysis {
    EntryExitAnalysis ee;
    bool hasEntry = false, hasExit = false;
    int errors = -1;
    RecordingMessenger m;
    explicit Analysis(const FsmDocument& doc, const QString& suffix = {})
    {
        ee.setExitFunctionSuffix(suffix);
        ee.analyse(doc.diagram(), hasEntry, hasExit, errors, m);
    }
};

Node* State(FsmDocument& doc, const QString& name, const QString& index, const QString& exit = {},
            const QString& entry = {})
{
    return addState(doc, {name, index, NodeStateNormal, {}, entry, exit});
}
}  // namespace

TEST(EntryExit, LongSharedExitBecomesAFunction)
{
    FsmDocument doc;
    Node* a = State(doc, QStringLiteral("A"), QStringLiteral("1"),
                    QStringLiteral("x = 1;\r\ny = 2;  \r\nz();"));
    Node* b = State(doc, QStringLiteral("B"), QStringLiteral("2"));
    addTransition(doc, a, b);
    addTransition(doc, a, b);
    Analysis r(doc);
    EXPECT_EQ(r.errors, 0);
    EXPECT_TRUE(r.hasExit);
    EXPECT_FALSE(r.hasEntry);
    bool internal = true, run = false;
    EXPECT_EQ(r.ee.transitionExit(1, 2, internal, run), QStringLiteral("A_OnExit();"));
    EXPECT_FALSE(internal);
    EXPECT_TRUE(run);
    EXPECT_EQ(r.ee.exitFunctionDeclarations(), QStringLiteral("static void A_OnExit(void);\r\n"));
    EXPECT_EQ(r.ee.exitFunctionDefinitions(),
              QStringLiteral("static void A_OnExit(void)\r\n{\r\n    x = 1;\r\n    y = 2;  \r\n"
                             "    z();\r\n}\r\n"));
}

TEST(EntryExit, SuffixGoesBetweenNameAndOnExit)
{
    FsmDocument doc;
    Node* a = State(doc, QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("a;b;c;"));
    addTransition(doc, a, a);
    addTransition(doc, a, a);
    Analysis r(doc, QStringLiteral("_P"));
    bool internal = false, run = false;
    EXPECT_EQ(r.ee.transitionExit(1, 1, internal, run), QStringLiteral("A_P_OnExit();"));
    EXPECT_EQ(r.ee.exitFunctionDeclarations(), QStringLiteral("static void A_P_OnExit(void);\r\n"));
}

TEST(EntryExit, ShortOrSingleExitsStayInline)
{
    FsmDocument doc;
    Node* one = State(doc, QStringLiteral("One"), QStringLiteral("1"), QStringLiteral("a;b;c;"));
    Node* two = State(doc, QStringLiteral("Two"), QStringLiteral("2"), QStringLiteral("a;b;"));
    addTransition(doc, one, two);
    for (int i = 0; i < 5; ++i)
        addTransition(doc, two, one);
    Analysis r(doc);
    bool internal = false, run = false;
    EXPECT_EQ(r.ee.transitionExit(1, 1, internal, run), QStringLiteral("a;b;c;"));
    EXPECT_EQ(r.ee.transitionExit(2, 5, internal, run), QStringLiteral("a;b;"));
    EXPECT_TRUE(r.ee.exitFunctionDeclarations().isEmpty());
    EXPECT_TRUE(r.ee.exitFunctionDefinitions().isEmpty());
}

TEST(EntryExit, InternalSelfTransitionDoesNotRunTheExit)
{
    FsmDocument doc;
    Node* a = State(doc, QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("bye();"));
    addTransition(doc, a, a, {}, {}, N);
    addTransition(doc, a, a, {}, {}, Y);
    Analysis r(doc);
    bool internal = false, run = true;
    EXPECT_EQ(r.ee.transitionExit(1, 1, internal, run), QStringLiteral("bye();"));
    EXPECT_TRUE(internal);
    EXPECT_FALSE(run);
    r.ee.transitionExit(1, 2, internal, run);
    EXPECT_FALSE(internal);
    EXPECT_TRUE(run);
}

TEST(EntryExit, ExitWithoutOutLinksIsReported)
{
    FsmDocument doc;
    State(doc, QStringLiteral("Dead"), QStringLiteral("1"), QStringLiteral("x();"));
    State(doc, QStringLiteral("Ok"), QStringLiteral("2"), {}, QStringLiteral("hello();"));
    Analysis r(doc);
    EXPECT_EQ(r.errors, 1);
    EXPECT_TRUE(r.hasEntry);
    ASSERT_EQ(r.m.messages.size(), 1u);
    EXPECT_EQ(r.m.messages[0].text,
              QStringLiteral("The \"Exit action\" of the node: Dead\r\n"
                             "node hasn 't Exit transitions were transfer.\r\nthe Entry action"));
    EXPECT_EQ(r.m.messages[0].icon, MessageIcon::Critical);
    bool exists = false;
    EXPECT_EQ(r.ee.entryAction(2, exists), QStringLiteral("hello();"));
    EXPECT_TRUE(exists);
    r.ee.entryAction(1, exists);
    EXPECT_FALSE(exists);
}

TEST(EntryExit, StatesAndTransitionsAreAddressedByRank)
{
    FsmDocument doc;
    Diagram& d = doc.diagram();
    // Indices with a gap and a tie, priorities out of range.
    Node* b = rawNode(d, NodeStateNormal, {"B", "", "5", "", "b;b;b;"});
    Node* a = rawNode(d, NodeStateNormal, {"A", "", "2"});
    Node* c = rawNode(d, NodeStateNormal, {"C", "", "5"});
    auto trans = [&](const QString& p, Node* to) {
        Node* t = rawNode(d, NodeTransition, {p, "", "", "Y", "N"});
        d.addLink(b, t);
        d.addLink(t, to);
    };
    trans(QStringLiteral("40"), c);
    trans(QStringLiteral("7"), a);
    rawNode(d, NodeTransition, {"1"});
    d.addLink(b, d.item(d.nodeCount()));  // a dangling transition node
    Analysis r(doc);
    EXPECT_EQ(r.ee.stateCount(), 3);
    EXPECT_EQ(r.ee.stateName(1), QStringLiteral("A"));
    EXPECT_EQ(r.ee.stateName(2), QStringLiteral("B"));
    EXPECT_EQ(r.ee.stateName(3), QStringLiteral("C"));
    EXPECT_EQ(r.ee.exitAction(2), QStringLiteral("b;b;b;"));
    // Three out-links count for the exit function, two are transitions.
    EXPECT_EQ(r.ee.exitFunctionDeclarations(), QStringLiteral("static void B_OnExit(void);\r\n"));
    bool internal = false, run = false;
    EXPECT_EQ(r.ee.transitionExit(2, 2, internal, run), QStringLiteral("B_OnExit();"));
    EXPECT_TRUE(r.ee.transitionExit(2, 3, internal, run).isEmpty());
    EXPECT_FALSE(run);
    EXPECT_TRUE(r.ee.stateName(0).isEmpty());
    EXPECT_TRUE(r.ee.stateName(4).isEmpty());
    EXPECT_TRUE(r.ee.transitionExit(9, 1, internal, run).isEmpty());
}
