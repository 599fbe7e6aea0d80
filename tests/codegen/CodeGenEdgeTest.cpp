// The generators on diagrams that the golden files do not cover: refusals,
// diagrams that were never renumbered, the forms of the transition chain,
// large machines and the ANSI comment conversion of a whole module.

#include "CodegenTestSupport.h"
#include "FlatGenerators.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

const QString kData = QStringLiteral(ORVANE_TEST_DATA);
constexpr qint32 kNormal = 0x2000, kInitial = 0x4000, kFinal = 0x8000;

Generated generate(Style s, const Diagram& d, Messenger& m, const Opts& o = {})
{
    return orvane::testing::generate(s, d, QStringLiteral("/nonexistent/machine.fsm"), o, m);
}

QString generated(Style s, const Diagram& d, const Opts& o = {})
{
    RecordingMessenger m;
    const CodeAndHeader parts = split(generate(s, d, m, o));
    EXPECT_TRUE(parts.ok) << m.texts.join(u'\n').toStdString();
    return parts.code;
}

void name(Diagram& d, const QString& name, const QString& params = {}, const QString& after = {})
{
    GraphTexts g;
    g.name = name;
    g.params = params;
    g.after = after;
    DiagramBuilder(d).config(g);
}

const Style kAllStyles[] = {Style::SwitchCase, Style::Pointers, Style::PointerArray};

TEST(Refusal, EachCheckShowsItsMessageAndReturnsNothing)
{
    for (const Style s : kAllStyles) {
        Diagram d;
        DiagramBuilder b(d);
        b.state(QStringLiteral("A"), kInitial, QStringLiteral("1"));
        RecordingMessenger m;
        EXPECT_FALSE(generate(s, d, m));
        EXPECT_EQ(m.texts, QStringList{FlatGenerators::kMsgNoName});

        Diagram noStart;
        DiagramBuilder(noStart).state(QStringLiteral("A"), kNormal, QStringLiteral("1"));
        name(noStart, QStringLiteral("M"));
        m.texts.clear();
        EXPECT_FALSE(generate(s, noStart, m));
        EXPECT_EQ(m.texts, QStringList{FlatGenerators::kMsgNoInitial});

        // An exit action on a state that never leaves.
        StateTexts stuck;
        stuck.exit = QStringLiteral("off();");
        b.state(QStringLiteral("Stuck"), kNormal, QStringLiteral("2"), stuck);
        name(d, QStringLiteral("M"));
        m.texts.clear();
        EXPECT_FALSE(generate(s, d, m));
        ASSERT_EQ(m.texts.size(), 2);
        EXPECT_TRUE(m.texts[0].contains(QLatin1String("Stuck")));
        EXPECT_EQ(m.texts[1], FlatGenerators::kMsgEntryExit);
    }
}

TEST(Refusal, TwoStatesWithOneNameIgnoringCaseAreRefusedByName)
{
    // Both would become the constant i_STOPPING and one case label twice.
    for (const Style s : kAllStyles) {
        Diagram d;
        DiagramBuilder b(d);
        b.state(QStringLiteral("Run"), kInitial, QStringLiteral("1"));
        b.state(QStringLiteral("Stopping"), kNormal, QStringLiteral("2"));
        b.state(QStringLiteral("STOPPING"), kNormal, QStringLiteral("3"));
        name(d, QStringLiteral("M"));
        RecordingMessenger m;
        EXPECT_FALSE(generate(s, d, m));
        EXPECT_EQ(m.texts, QStringList{FlatGenerators::kMsgSameStateName.arg(
                               QStringLiteral("Stopping"), QStringLiteral("STOPPING"))});
    }
}

TEST(Refusal, PointersCheckEntryExitBeforeTheStartState)
{
    Diagram d;
    StateTexts stuck;
    stuck.exit = QStringLiteral("off();");
    DiagramBuilder(d).state(QStringLiteral("Stuck"), kNormal, QStringLiteral("1"), stuck);
    name(d, QStringLiteral("M"));
    for (const Style s : kAllStyles) {
        RecordingMessenger m;
        EXPECT_FALSE(generate(s, d, m));
        ASSERT_FALSE(m.texts.isEmpty());
        if (s == Style::Pointers)
            EXPECT_EQ(m.texts.last(), FlatGenerators::kMsgEntryExit);
        else
            EXPECT_EQ(m.texts, QStringList{FlatGenerators::kMsgNoInitial});
    }
}

// States with gaps and repeated indices, transitions with odd priorities.
class NotRenumbered : public ::testing::Test {
protected:
    void SetUp() override
    {
        DiagramBuilder b(d);
        bx = b.state(QStringLiteral("Bx"), kNormal, QStringLiteral("5"));
        a = b.state(QStringLiteral("A"), kInitial, QStringLiteral("2"));
        cc = b.state(QStringLiteral("Cc"), kNormal, QStringLiteral("2"));
        dd = b.state(QStringLiteral("D"), kFinal, QStringLiteral("9"));
        b.transition(a, bx, QStringLiteral("10"), QStringLiteral("c10"));
        b.transition(a, cc, QStringLiteral("abc"), QStringLiteral("cabc"));
        b.transition(a, dd, QStringLiteral("2.5"), QStringLiteral("c25"));
        name(d, QStringLiteral("M"), QString(),
             QStringLiteral("if(Is_Next_State_Illegal()) M_Init();"));
    }
    Diagram d;
    Node *a = nullptr, *bx = nullptr, *cc = nullptr, *dd = nullptr;
};

TEST_F(NotRenumbered, StatesAreNumberedByRankAndTransitionsOrderedByPriority)
{
    const QString code = generated(Style::SwitchCase, d, Opts{.DI = true});
    EXPECT_TRUE(code.contains(QStringLiteral("  #define  i_A   0\r\n  #define  i_CC  1\r\n"
                                             "  #define  i_BX  2\r\n  #define  i_D   3\r\n")));
    EXPECT_TRUE(code.contains(
        QStringLiteral("\"A\",\r\n        \"Cc\",\r\n        \"Bx\",\r\n        \"D\",")));
    EXPECT_TRUE(code.contains(QStringLiteral("(ind_M > i_D)")));
    EXPECT_LT(code.indexOf(QLatin1String("case i_A:")), code.indexOf(QLatin1String("case i_CC:")));
    EXPECT_LT(code.indexOf(QLatin1String("case i_CC:")), code.indexOf(QLatin1String("case i_BX:")));
    EXPECT_TRUE(code.contains(QStringLiteral("if(cabc){\t// [abc].")));
    EXPECT_TRUE(code.contains(QStringLiteral("}else if(c25){\t// [2.5].")));
    EXPECT_TRUE(code.contains(QStringLiteral("}else if(c10){\t// [10].")));
    EXPECT_LT(code.indexOf(QLatin1String("c25")), code.indexOf(QLatin1String("c10")));
    EXPECT_TRUE(code.contains(QStringLiteral("debug_transNumber = 2.5;")));

    // The pointer array lines up with the constants.
    const QString array = generated(Style::PointerArray, d);
    EXPECT_TRUE(array.contains(
        QStringLiteral("        E_A,\r\n        E_Cc,\r\n        E_Bx,\r\n        E_D\r\n")));
    // The pointer methodology's debug index follows the ranks too.
    const QString pointers = generated(Style::Pointers, d, Opts{.DI = true});
    EXPECT_TRUE(
        pointers.contains(QStringLiteral("Dis_M = E_D;\r\n        #if defined(FSM_DEBUG)\r\n"
                                         "            ind_M = 3;")));
}

TEST_F(NotRenumbered, ListFileKeepsTheStatesOwnIndices)
{
    const QString list = FlatGenerators::generateListFile(d);
    const QString order = QStringLiteral("  [Index]\r\n      2\r\n    [Nombre]\r\n        A\r\n");
    EXPECT_TRUE(list.contains(order));
    EXPECT_LT(list.indexOf(QLatin1String("        Cc\r\n")),
              list.indexOf(QLatin1String("        Bx\r\n")));
    EXPECT_TRUE(list.contains(QStringLiteral("      [Priority]\r\n          abc\r\n")));
}

// A state with one, two or three ways out, and the shape of its chain.
class Chain : public ::testing::Test {
protected:
    void SetUp() override { name(d, QStringLiteral("M")); }
    Diagram d;
    DiagramBuilder b{d};
};

TEST_F(Chain, AnUnconditionedOnlyTransitionIsAPlainBlock)
{
    Node* s = b.state(QStringLiteral("S"), kInitial, QStringLiteral("1"));
    Node* t = b.state(QStringLiteral("T"), kNormal, QStringLiteral("2"));
    // Blanks, tabs and line breaks make no condition either.
    b.transition(s, t, QStringLiteral("1"), QStringLiteral("  \r\n\t "));
    const QString code = generated(Style::SwitchCase, d);
    EXPECT_TRUE(code.contains(
        QStringLiteral("            // Next state selection.\r\n            {\r\n"
                       "                // Pointing to the next state.\r\n"
                       "                ind_M = i_T;\r\n            }\r\n        break;")));
}

TEST_F(Chain, UnconditionedTransitionsBeforeTheLastAreAlwaysTrue)
{
    Node* s = b.state(QStringLiteral("S"), kInitial, QStringLiteral("1"));
    Node* t = b.state(QStringLiteral("T"), kNormal, QStringLiteral("2"));
    b.transition(s, t, QStringLiteral("1"));
    b.transition(s, s, QStringLiteral("2"));
    const QString code = generated(Style::Pointers, d);
    EXPECT_TRUE(code.contains(QStringLiteral("    if(1){\t// [1].\r\n")));
    EXPECT_TRUE(code.contains(QStringLiteral("    }else {\t// [2].\r\n    }\r\n}")));
}

TEST_F(Chain, ALinkThatIsNoTransitionStillCountsAsAWayOut)
{
    Node* s = b.state(QStringLiteral("S"), kInitial, QStringLiteral("1"));
    Node* t = b.state(QStringLiteral("T"), kNormal, QStringLiteral("2"));
    b.transition(s, t, QStringLiteral("1"));
    d.addLink(s, b.remark(QStringLiteral("note")));
    const QString code = generated(Style::SwitchCase, d);
    EXPECT_TRUE(code.contains(QStringLiteral("            if(1){\t// [1].\r\n")));
    EXPECT_TRUE(code.contains(
        QStringLiteral("                ind_M = i_T;\r\n            }\r\n        break;")));
}

TEST_F(Chain, AConditionEndingInACommentClosesOnTheNextLine)
{
    Node* s = b.state(QStringLiteral("S"), kInitial, QStringLiteral("1"));
    Node* t = b.state(QStringLiteral("T"), kNormal, QStringLiteral("2"));
    b.transition(s, t, QStringLiteral("1"), QStringLiteral("ready() // sensor"));
    b.transition(s, t, QStringLiteral("2"), QStringLiteral("done()\r\n"));
    const QString code = generated(Style::SwitchCase, d);
    EXPECT_TRUE(code.contains(QStringLiteral("            if(ready() // sensor\r\n")
                              + QString(15, u' ') + QStringLiteral("){\t// [1].")));
    // A condition that ends in a line break already puts "){" on a line of its own.
    EXPECT_TRUE(code.contains(QStringLiteral("}else if(done()\r\n") + QString(21, u' ')
                              + QStringLiteral("){\t// [2].")));
}

TEST_F(Chain, SelfTransitionsRunExitAndReentryUnlessInternal)
{
    StateTexts texts;
    texts.entry = QStringLiteral("on();");
    texts.exit = QStringLiteral("off();");
    texts.during = QStringLiteral("CHILD();");
    Node* s = b.state(QStringLiteral("S"), kInitial, QStringLiteral("1"), texts);
    b.transition(s, s, QStringLiteral("1"), QStringLiteral("again"), QString(),
                 QStringLiteral("Y"));
    b.transition(s, s, QStringLiteral("2"), QStringLiteral("stay"), QStringLiteral("keep();"),
                 QStringLiteral("N"));
    const QString code = generated(Style::SwitchCase, d);
    const qsizetype again = code.indexOf(QLatin1String("if(again)"));
    const qsizetype stay = code.indexOf(QLatin1String("}else if(stay)"));
    ASSERT_GT(again, 0);
    ASSERT_GT(stay, again);
    const QString normal = code.mid(again, stay - again);
    const QString internal = code.mid(stay, code.indexOf(QLatin1String("break;"), stay) - stay);
    EXPECT_TRUE(normal.contains(QLatin1String("off();")));
    EXPECT_TRUE(normal.contains(QLatin1String("// Reset entry flag")));
    EXPECT_FALSE(normal.contains(QLatin1String("Pointing to the next state")));
    EXPECT_FALSE(internal.contains(QLatin1String("off();")));
    EXPECT_FALSE(internal.contains(QLatin1String("entryFsmFlg = 0;")));
    EXPECT_TRUE(internal.contains(QLatin1String("keep();")));
}

// Machines named S1..Sn in a ring.
void ring(Diagram& d, int n)
{
    DiagramBuilder b(d);
    std::vector<Node*> states;
    for (int i = 1; i <= n; ++i)
        states.push_back(
            b.state(QStringLiteral("S%1").arg(i), i == 1 ? kInitial : kNormal, QString::number(i)));
    for (int i = 0; i < n; ++i)
        b.transition(states[size_t(i)], states[size_t((i + 1) % n)], QStringLiteral("1"),
                     QStringLiteral("go"));
    name(d, QStringLiteral("R"));
}

TEST(ManyStates, IndexVariableWidensFrom256States)
{
    for (const int n : {255, 256}) {
        Diagram d;
        ring(d, n);
        const QString type = n < 256 ? QStringLiteral("static unsigned char ind_R = i_S1;")
                                     : QStringLiteral("static unsigned int ind_R = i_S1;");
        EXPECT_TRUE(generated(Style::SwitchCase, d).contains(type)) << n;
        EXPECT_TRUE(generated(Style::PointerArray, d).contains(type)) << n;
    }
}

TEST(ManyStates, ConstantsAreRightAlignedInOneColumn)
{
    Diagram d;
    ring(d, 300);
    const QString code = generated(Style::SwitchCase, d, Opts{.DI = true});
    EXPECT_TRUE(code.contains(QStringLiteral("\r\n  #define  i_S1      0\r\n")));
    EXPECT_TRUE(code.contains(QStringLiteral("\r\n  #define  i_S300  299\r\n")));
    EXPECT_EQ(code.count(QLatin1String("        \"S")), 300);
}

TEST(ManyStates, MoreThanTenThousandStatesKeepDistinctConstants)
{
    Diagram d;
    ring(d, 10001);
    const QString code = generated(Style::SwitchCase, d);
    EXPECT_TRUE(code.contains(QStringLiteral("\r\n  #define  i_S1          0\r\n")));
    EXPECT_TRUE(code.contains(QStringLiteral("\r\n  #define  i_S10001  10000\r\n")));
}

TEST(InitialState, GeneratorsTakeTheLastAndTheListTheFirst)
{
    Diagram d;
    DiagramBuilder b(d);
    b.state(QStringLiteral("First"), kInitial, QStringLiteral("1"));
    b.state(QStringLiteral("Second"), kInitial, QStringLiteral("2"));
    name(d, QStringLiteral("M"));
    EXPECT_TRUE(generated(Style::SwitchCase, d).contains(QStringLiteral("ind_M = i_SECOND;")));
    EXPECT_TRUE(
        generated(Style::Pointers, d).contains(QStringLiteral("(*Dis_M)(void)= E_Second;")));
    EXPECT_TRUE(FlatGenerators::generateListFile(d).contains(
        QStringLiteral("[Init state]\r\n    First\r\n[Final states]\r\n")));
}

TEST(AnsiComments, NoLineCommentSurvivesOutsideRemarks)
{
    FsmDocument doc;
    ASSERT_TRUE(openDocument(doc, kData + QStringLiteral("/motor.fsm")));
    DiagramBuilder(doc.diagram()).remark(QStringLiteral("see // here"));
    const Opts o{.FI = true, .FE = true, .DI = true, .AC = true, .PT = true};
    for (const Style s : kAllStyles) {
        RecordingMessenger m;
        const CodeAndHeader parts = split(generate(s, doc.diagram(), m, o));
        ASSERT_TRUE(parts.ok);
        EXPECT_EQ(parts.code.count(QLatin1String("//")), 1);
        EXPECT_TRUE(parts.code.contains(QStringLiteral("\r\nsee // here\r\n")));
        EXPECT_TRUE(parts.code.contains(QStringLiteral("p == 0 /* null */\r\n")));
        EXPECT_FALSE(parts.header.contains(QLatin1String("//")));
    }
}

}  // namespace
