#include "FsmTestKit.h"
#include "clsEntryExit.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testkit;

namespace {
struct Analysis {
    clsEntryExit ee;
    bool hasEntry = false, hasExit = false;
    int errors = -1;
    RecordingMessenger m;
    explicit Analysis(const FsmDocument& doc, const QString& suffix = {})
    {
        ee.setExitFunctionSuffix(suffix);
        ee.ProcesarEntryExit(doc.diagram(), hasEntry, hasExit, errors, m);
    }
};

Node* State(FsmDocument& doc, const QString& name, const QString& index, const QString& exit = {},
            const QString& entry = {})
{
    return AddState(doc, {name, index, modNodoEstado::NODE_STATE_NORMAL, {}, entry, exit});
}
}  // namespace

TEST(EntryExit, LongSharedExitBecomesAFunction)
{
    FsmDocument doc;
    Node* a = State(doc, QStringLiteral("A"), QStringLiteral("1"),
                    QStringLiteral("x = 1;\r\ny = 2;  \r\nz();"));
    Node* b = State(doc, QStringLiteral("B"), QStringLiteral("2"));
    AddTransition(doc, a, b);
    AddTransition(doc, a, b);
    Analysis r(doc);
    EXPECT_EQ(r.errors, 0);
    EXPECT_TRUE(r.hasExit);
    EXPECT_FALSE(r.hasEntry);
    bool internal = true, run = false;
    EXPECT_EQ(r.ee.ExistExitInThisTrans(1, 2, internal, run), QStringLiteral("A_OnExit();"));
    EXPECT_FALSE(internal);
    EXPECT_TRUE(run);
    EXPECT_EQ(r.ee.DimeDefinicionExitFunc(), QStringLiteral("static void A_OnExit(void);\r\n"));
    EXPECT_EQ(r.ee.DimeImplementacionExitFunc(),
              QStringLiteral("static void A_OnExit(void)\r\n{\r\n    x = 1;\r\n    y = 2;  \r\n"
                             "    z();\r\n}\r\n"));
}

TEST(EntryExit, SuffixGoesBetweenNameAndOnExit)
{
    FsmDocument doc;
    Node* a = State(doc, QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("a;b;c;"));
    AddTransition(doc, a, a);
    AddTransition(doc, a, a);
    Analysis r(doc, QStringLiteral("_P"));
    bool internal = false, run = false;
    EXPECT_EQ(r.ee.ExistExitInThisTrans(1, 1, internal, run), QStringLiteral("A_P_OnExit();"));
    EXPECT_EQ(r.ee.DimeDefinicionExitFunc(), QStringLiteral("static void A_P_OnExit(void);\r\n"));
}

TEST(EntryExit, ShortOrSingleExitsStayInline)
{
    FsmDocument doc;
    Node* one = State(doc, QStringLiteral("One"), QStringLiteral("1"), QStringLiteral("a;b;c;"));
    Node* two = State(doc, QStringLiteral("Two"), QStringLiteral("2"), QStringLiteral("a;b;"));
    AddTransition(doc, one, two);
    for (int i = 0; i < 5; ++i)
        AddTransition(doc, two, one);
    Analysis r(doc);
    bool internal = false, run = false;
    EXPECT_EQ(r.ee.ExistExitInThisTrans(1, 1, internal, run), QStringLiteral("a;b;c;"));
    EXPECT_EQ(r.ee.ExistExitInThisTrans(2, 5, internal, run), QStringLiteral("a;b;"));
    EXPECT_TRUE(r.ee.DimeDefinicionExitFunc().isEmpty());
    EXPECT_TRUE(r.ee.DimeImplementacionExitFunc().isEmpty());
}

TEST(EntryExit, InternalSelfTransitionDoesNotRunTheExit)
{
    FsmDocument doc;
    Node* a = State(doc, QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("bye();"));
    AddTransition(doc, a, a, {}, {}, N);
    AddTransition(doc, a, a, {}, {}, Y);
    Analysis r(doc);
    bool internal = false, run = true;
    EXPECT_EQ(r.ee.ExistExitInThisTrans(1, 1, internal, run), QStringLiteral("bye();"));
    EXPECT_TRUE(internal);
    EXPECT_FALSE(run);
    r.ee.ExistExitInThisTrans(1, 2, internal, run);
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
    EXPECT_EQ(r.ee.ExisteEntryAccion(2, exists), QStringLiteral("hello();"));
    EXPECT_TRUE(exists);
    r.ee.ExisteEntryAccion(1, exists);
    EXPECT_FALSE(exists);
}

TEST(EntryExit, StatesAndTransitionsAreAddressedByRank)
{
    FsmDocument doc;
    Diagram& d = doc.diagram();
    // Indices with a gap and a tie, priorities out of range.
    Node* b = RawNode(d, modNodoEstado::NODE_STATE_NORMAL, {"B", "", "5", "", "b;b;b;"});
    Node* a = RawNode(d, modNodoEstado::NODE_STATE_NORMAL, {"A", "", "2"});
    Node* c = RawNode(d, modNodoEstado::NODE_STATE_NORMAL, {"C", "", "5"});
    auto trans = [&](const QString& p, Node* to) {
        Node* t = RawNode(d, modNodoEstado::NODE_TRANSITION, {p, "", "", "Y", "N"});
        d.addLink(b, t);
        d.addLink(t, to);
    };
    trans(QStringLiteral("40"), c);
    trans(QStringLiteral("7"), a);
    RawNode(d, modNodoEstado::NODE_TRANSITION, {"1"});
    d.addLink(b, d.item(d.nodeCount()));  // a dangling transition node
    Analysis r(doc);
    EXPECT_EQ(r.ee.NumNodos(), 3);
    EXPECT_EQ(r.ee.StateName(1), QStringLiteral("A"));
    EXPECT_EQ(r.ee.StateName(2), QStringLiteral("B"));
    EXPECT_EQ(r.ee.StateName(3), QStringLiteral("C"));
    EXPECT_EQ(r.ee.ExitAction(2), QStringLiteral("b;b;b;"));
    // Three out-links count for the exit function, two are transitions.
    EXPECT_EQ(r.ee.DimeDefinicionExitFunc(), QStringLiteral("static void B_OnExit(void);\r\n"));
    bool internal = false, run = false;
    EXPECT_EQ(r.ee.ExistExitInThisTrans(2, 2, internal, run), QStringLiteral("B_OnExit();"));
    EXPECT_TRUE(r.ee.ExistExitInThisTrans(2, 3, internal, run).isEmpty());
    EXPECT_FALSE(run);
    EXPECT_TRUE(r.ee.StateName(0).isEmpty());
    EXPECT_TRUE(r.ee.StateName(4).isEmpty());
    EXPECT_TRUE(r.ee.ExistExitInThisTrans(9, 1, internal, run).isEmpty());
}
