#include "TraceReplay.h"

#include "FsmTestKit.h"

#include <gtest/gtest.h>

namespace orvane::Simulation {
namespace {

using namespace orvane::testkit;

// M: A -[1]-> B, A -[2]-> A, B -[1]-> C, C has none; the name "M".
Machine machine()
{
    FsmDocument doc;
    MachineConfig c;
    c.name = QStringLiteral("M");
    doc.diagram().setTag(c.toText());
    Node* a = addState(doc, {QStringLiteral("A"), QStringLiteral("1"), NodeStateInitial});
    Node* b = addState(doc, {QStringLiteral("B"), QStringLiteral("2")});
    Node* cc = addState(doc, {QStringLiteral("C"), QStringLiteral("3")});
    addTransition(doc, a, b, QStringLiteral("x"));
    addTransition(doc, a, a, QStringLiteral("y"));
    addTransition(doc, b, cc);
    return Machine::read(doc);
}

TEST(TraceReplay, ReadsOnlyTheMarkedLines)
{
    const auto entries = parseTrace(
        "boot\r\n[12.5] orvane-trace M A 0\r\nxorvane-trace M B 1\norvane-trace M B 1 tail\n"
        "orvane-trace M\norvane-tracer M A 0\n\norvane-trace   Other  S   7");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].line, 2);
    EXPECT_EQ(entries[0].state, QStringLiteral("A"));
    EXPECT_EQ(entries[1].line, 4);
    EXPECT_EQ(entries[1].transition, 1);
    EXPECT_EQ(entries[2].line, 5);
    EXPECT_FALSE(entries[2].wellFormed);
    EXPECT_EQ(entries[3].line, 8);
    EXPECT_EQ(entries[3].machine, QStringLiteral("Other"));
    EXPECT_EQ(entries[3].transition, 7);
}

TEST(TraceReplay, CountsVisitsAndFiringsAndSkipsOtherMachines)
{
    TraceReplay r({machine()});
    const auto entries = parseTrace("orvane-trace M A 0\norvane-trace M A 2\norvane-trace X Q 3\n"
                                    "orvane-trace M B 1\norvane-trace M C 1\n");
    EXPECT_EQ(r.applyAll(entries), 5);
    EXPECT_FALSE(r.misfit());
    const MachineCoverage& c = r.coverage()[0];
    EXPECT_EQ(c.stateVisits, (std::vector<int>{2, 1, 1}));  // the start and the self transition
    EXPECT_EQ(c.transitionFires[0], (std::vector<int>{1, 1}));
    EXPECT_EQ(r.statesReached(), 3);
    EXPECT_EQ(r.transitionsFired(), 3);
    EXPECT_EQ(r.transitionCount(), 3);
    EXPECT_EQ(r.currentState(0), 2);
}

TEST(TraceReplay, StopsAtTheFirstLineThatDoesNotFit)
{
    const struct {
        const char* trace;
        int line;
        const char* text;
    } cases[] = {
        {"orvane-trace M A 0\norvane-trace M Z 0\n", 2, "FSM \"M\" has no state \"Z\""},
        {"orvane-trace M A 3\n", 1, "state \"A\" of FSM \"M\" has no transition 3"},
        {"orvane-trace M C 1\n", 1,
         "transition 1 of state \"A\" of FSM \"M\" does not lead to \"C\""},
        {"orvane-trace M B 0\n", 1,
         "FSM \"M\" is in state \"A\", not \"B\", and no transition fired"},
        {"orvane-trace M\n", 1,
         "a trace line needs an FSM name, a state name and a transition number"},
    };
    for (const auto& c : cases) {
        TraceReplay r({machine()});
        const auto entries = parseTrace(c.trace);
        r.applyAll(entries);
        ASSERT_TRUE(r.misfit()) << c.trace;
        EXPECT_EQ(r.misfit()->line, c.line) << c.trace;
        EXPECT_EQ(r.misfit()->text, QString::fromUtf8(c.text));
        EXPECT_FALSE(r.apply(parseTrace("orvane-trace M A 0").front()));  // nothing after
    }
}

TEST(TraceReplay, ALineThatFitsOnlyFromTheInitialStateIsARestart)
{
    TraceReplay r({machine()});
    EXPECT_EQ(r.applyAll(parseTrace("orvane-trace M B 1\norvane-trace M B 1\n"
                                    "orvane-trace M A 0\n")),
              3);
    EXPECT_EQ(r.coverage()[0].stateVisits[0], 3);  // the start and two restarts
    EXPECT_EQ(r.coverage()[0].transitionFires[0][0], 2);
}

Machine named(const QString& name, QStringList otherNames)
{
    Machine m = machine();
    m.name = name;
    m.otherNames = std::move(otherNames);
    return m;
}

TEST(TraceReplay, AMachineAnswersToTheNameInItsFileAndTheEditorsName)
{
    // Read from a document: the file's base name, blanks made underscores,
    // is the other name; none when it is the name itself or there is no file.
    FsmDocument doc;
    MachineConfig c;
    c.name = QStringLiteral("TrafficLight");
    doc.diagram().setTag(c.toText());
    doc.filePath = QStringLiteral("/work/traffic light.v2.fsm");
    EXPECT_EQ(Machine::read(doc).otherNames, QStringList{QStringLiteral("traffic_light.v2")});
    doc.filePath = QStringLiteral("/work/TrafficLight.fsm");
    EXPECT_TRUE(Machine::read(doc).otherNames.isEmpty());
    doc.filePath.clear();
    EXPECT_TRUE(Machine::read(doc).otherNames.isEmpty());

    TraceReplay r({named(QStringLiteral("TrafficLight"), {QStringLiteral("traffic_light")})});
    EXPECT_EQ(r.applyAll(parseTrace("orvane-trace TrafficLight B 1\n"
                                    "orvane-trace traffic_light C 1\n")),
              2);
    EXPECT_FALSE(r.misfit());
    EXPECT_EQ(r.coverage()[0].stateVisits, (std::vector<int>{1, 1, 1}));
}

TEST(TraceReplay, AnOtherNameNeverMixesTwoMachines)
{
    // "Q" is P's other name and Q's own: Q's lines stay Q's. "Z" is the other
    // name of both P and Q: it names neither and its lines are skipped.
    TraceReplay r({named(QStringLiteral("P"), {QStringLiteral("Q"), QStringLiteral("Z")}),
                   named(QStringLiteral("Q"), {QStringLiteral("Z")})});
    EXPECT_EQ(r.machineNamed(QStringLiteral("P")), 0);
    EXPECT_EQ(r.machineNamed(QStringLiteral("Q")), 1);
    EXPECT_EQ(r.machineNamed(QStringLiteral("Z")), -1);
    EXPECT_EQ(r.applyAll(parseTrace("orvane-trace Q B 1\norvane-trace Z B 1\n"
                                    "orvane-trace Z C 1\n")),
              3);
    EXPECT_EQ(r.coverage()[0].statesReached(), 0);
    EXPECT_EQ(r.coverage()[1].stateVisits, (std::vector<int>{1, 1, 0}));
    // An other name of one machine alone is that machine's.
    TraceReplay one(
        {named(QStringLiteral("P"), {QStringLiteral("p")}), named(QStringLiteral("Q"), {})});
    EXPECT_EQ(one.machineNamed(QStringLiteral("p")), 0);
}

}  // namespace
}  // namespace orvane::Simulation
