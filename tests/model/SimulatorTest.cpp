#include "Simulator.h"

#include "FsmTestKit.h"

#include <gtest/gtest.h>

#include <memory>

namespace orvane::Simulation {
namespace {

using namespace orvane::testkit;

void configure(FsmDocument& doc, const QString& name, const QString& before = {},
               const QString& after = {}, const QString& params = {}, const QString& init = {})
{
    MachineConfig c;
    c.name = name;
    c.before = before;
    c.after = after;
    c.params = params;
    c.init = init;
    doc.diagram().setTag(c.toText());
}

qint64 value(const Simulator& sim, const char* name)
{
    return sim.variables().value(QString::fromUtf8(name), -999);
}

QString stateName(const Simulator& sim, int machine = 0)
{
    return sim.machines()[size_t(machine)].states[size_t(sim.currentState(machine))].name;
}

// Every piece of a step appends its own digit to "seq", so the value shows
// the order in which they ran.
TEST(Simulator, RunsOneStepInTheOrderOfTheGeneratedCode)
{
    FsmDocument doc;
    configure(doc, QStringLiteral("M"), QStringLiteral("seq = seq * 10 + 1;"),
              QStringLiteral("seq = seq * 10 + 7;"));
    Node* a = addState(
        doc, {QStringLiteral("A"), QStringLiteral("1"), NodeStateInitial,
              QStringLiteral("seq = seq * 10 + 3;"), QStringLiteral("seq = seq * 10 + 2;"),
              QStringLiteral("seq = seq * 10 + 4;"), QStringLiteral("seq = seq * 10 + 6;")});
    Node* b = addState(doc, {QStringLiteral("B"), QStringLiteral("2")});
    addTransition(doc, a, b, QStringLiteral("go"), QStringLiteral("seq = seq * 10 + 5;"));
    Simulator sim({Machine::read(doc)});
    sim.setVariable(QStringLiteral("seq"), 0);
    sim.setVariable(QStringLiteral("go"), 0);

    ASSERT_EQ(sim.step(), Simulator::StepResult::Stepped);
    EXPECT_EQ(value(sim, "seq"), 12367);  // before, entry, during, else, after
    EXPECT_EQ(stateName(sim), QStringLiteral("A"));
    EXPECT_TRUE(sim.steps().back().fired.empty());

    sim.setVariable(QStringLiteral("seq"), 0);
    sim.setVariable(QStringLiteral("go"), 1);
    ASSERT_EQ(sim.step(), Simulator::StepResult::Stepped);
    EXPECT_EQ(value(sim, "seq"), 13457);  // no second entry; exit before the action
    EXPECT_EQ(stateName(sim), QStringLiteral("B"));
    ASSERT_EQ(sim.steps().back().trace.size(), 1u);
    EXPECT_EQ(sim.steps().back().trace[0].state, QStringLiteral("B"));
    EXPECT_EQ(sim.steps().back().trace[0].transition, 1);
}

TEST(Simulator, PriorityDecidesAndSelfTransitionsKeepOrRepeatTheEntry)
{
    FsmDocument doc;
    configure(doc, QStringLiteral("M"));
    Node* a = addState(doc, {QStringLiteral("A"),
                             QStringLiteral("1"),
                             NodeStateInitial,
                             {},
                             QStringLiteral("entries++;"),
                             QStringLiteral("exits++;")});
    Node* b = addState(doc, {QStringLiteral("B"), QStringLiteral("2")});
    Node* toB = addTransition(doc, a, b, QStringLiteral("k == 3"));
    Node* inner = addTransition(doc, a, a, QStringLiteral("k == 1 || k == 3"), {}, N);
    Node* outer = addTransition(doc, a, a, QStringLiteral("k == 2 || k == 3"));
    // The priorities go against the drawing order.
    toB->setTag(TransitionRecord{QStringLiteral("3"), QStringLiteral("k == 3"), {}, Y, N}.toText());
    outer->setTag(
        TransitionRecord{QStringLiteral("2"), QStringLiteral("k == 2 || k == 3"), {}, Y, N}
            .toText());
    inner->setTag(
        TransitionRecord{QStringLiteral("1"), QStringLiteral("k == 1 || k == 3"), {}, N, N}
            .toText());
    Simulator sim({Machine::read(doc)});
    sim.setVariable(QStringLiteral("entries"), 0);
    sim.setVariable(QStringLiteral("exits"), 0);
    sim.setVariable(QStringLiteral("k"), 1);
    sim.step();  // entry; internal self transition: no exit, the entry flag stays
    sim.step();
    EXPECT_EQ(value(sim, "entries"), 1);
    EXPECT_EQ(value(sim, "exits"), 0);
    EXPECT_EQ(sim.steps().back().trace[0].transition, 1);
    sim.setVariable(QStringLiteral("k"), 2);
    sim.step();  // a normal self transition leaves and enters again
    EXPECT_EQ(value(sim, "exits"), 1);
    sim.step();
    EXPECT_EQ(value(sim, "entries"), 2);
    EXPECT_EQ(value(sim, "exits"), 2);
    sim.setVariable(QStringLiteral("k"), 3);
    sim.step();  // all three hold: the first by priority fires
    EXPECT_EQ(stateName(sim), QStringLiteral("A"));
    EXPECT_EQ(sim.steps().back().fired[0].transition, 0);
}

TEST(Simulator, AsksWhatItCannotReadAndUndoesTheStoppedStep)
{
    FsmDocument doc;
    configure(doc, QStringLiteral("M"), QStringLiteral("n++;"));
    Node* a = addState(doc, {QStringLiteral("A"), QStringLiteral("1"), NodeStateInitial});
    Node* b = addState(doc, {QStringLiteral("B"), QStringLiteral("2"), NodeStateFinal});
    addTransition(doc, a, b, QStringLiteral("sensor() && n > 1"));
    Simulator sim({Machine::read(doc)});
    sim.setVariable(QStringLiteral("n"), 0);
    // n > 1 is false after the first "n++": nothing to ask.
    EXPECT_EQ(sim.step(), Simulator::StepResult::Stepped);
    EXPECT_EQ(sim.step(), Simulator::StepResult::NeedsAnswer);
    ASSERT_TRUE(sim.question());
    EXPECT_EQ(sim.question()->condition, QStringLiteral("sensor() && n > 1"));
    EXPECT_EQ(value(sim, "n"), 1);  // the stopped step changed nothing
    EXPECT_EQ(sim.steps().size(), 1u);

    sim.answer(*sim.question(), false);
    EXPECT_EQ(sim.step(), Simulator::StepResult::Stepped);
    EXPECT_EQ(stateName(sim), QStringLiteral("A"));
    // An answer counts for one step only.
    EXPECT_EQ(sim.step(), Simulator::StepResult::NeedsAnswer);
    sim.answer(*sim.question(), true);
    EXPECT_EQ(sim.step(), Simulator::StepResult::Stepped);
    EXPECT_EQ(stateName(sim), QStringLiteral("B"));
    EXPECT_TRUE(sim.atFinal());
    EXPECT_EQ(sim.run(10), 0);  // a final state stops a run

    ASSERT_TRUE(sim.back());
    EXPECT_EQ(stateName(sim), QStringLiteral("A"));
    EXPECT_EQ(value(sim, "n"), 2);
    sim.reset();
    EXPECT_EQ(value(sim, "n"), 0);
    EXPECT_TRUE(sim.steps().empty());
    EXPECT_FALSE(sim.back());
    // A run stops at the first question.
    EXPECT_EQ(sim.run(10), 1);
    EXPECT_TRUE(sim.question());
}

TEST(Simulator, StepsChildrenAndRestartsThemAsTheirParentLeaves)
{
    FsmDocument top, child, kept;
    configure(top, QStringLiteral("Top"));
    Node* run = addState(top, {QStringLiteral("Run"), QStringLiteral("1"), NodeStateInitial,
                               QStringLiteral("Child();\r\nKept(level + 1);")});
    Node* rest = addState(top, {QStringLiteral("Rest"), QStringLiteral("2")});
    addTransition(top, run, rest, QStringLiteral("leave"));
    addTransition(top, rest, run);
    for (FsmDocument* doc : {&child, &kept}) {
        configure(*doc, doc == &child ? QStringLiteral("Child") : QStringLiteral("Kept"), {}, {},
                  QStringLiteral("int lvl"));
        Node* x = addState(*doc, {QStringLiteral("X"), QStringLiteral("1"), NodeStateInitial});
        Node* y = addState(*doc, {QStringLiteral("Y"), QStringLiteral("2")});
        addTransition(*doc, x, y, QStringLiteral("lvl > 0"));
    }
    kept.historyMachine = true;
    Simulator sim({Machine::read(top), Machine::read(child), Machine::read(kept)});
    sim.setVariable(QStringLiteral("leave"), 0);
    sim.setVariable(QStringLiteral("level"), 0);
    sim.setVariable(QStringLiteral("lvl"), 1);
    sim.step();
    // Child() passes nothing: lvl stays 1 and it moves; Kept(level + 1) gets 1.
    EXPECT_EQ(stateName(sim, 1), QStringLiteral("Y"));
    EXPECT_EQ(stateName(sim, 2), QStringLiteral("Y"));
    const auto& trace = sim.steps().back().trace;
    ASSERT_EQ(trace.size(), 3u);  // the children's after actions run first
    EXPECT_EQ(trace[0].machine, QStringLiteral("Child"));
    EXPECT_EQ(trace[2].machine, QStringLiteral("Top"));
    sim.setVariable(QStringLiteral("leave"), 1);
    sim.step();
    EXPECT_EQ(stateName(sim), QStringLiteral("Rest"));
    EXPECT_EQ(stateName(sim, 1), QStringLiteral("X"));  // restarted
    EXPECT_EQ(stateName(sim, 2), QStringLiteral("Y"));  // a history machine is kept
}

TEST(Simulator, ActionsChangeVariablesAndLogTheRest)
{
    FsmDocument doc;
    configure(doc, QStringLiteral("M"), {}, {}, {},
              QStringLiteral("#define LIMIT 0x10\r\nstatic unsigned int t = LIMIT / 2, u;\r\n"
                             "extern void f(int);\r\nint *p; char c = 'a';"));
    addState(doc, {QStringLiteral("A"), QStringLiteral("1"), NodeStateInitial,
                   QStringLiteral("t += 2; t <<= 1; u--; --u; ++c; f(t); /* note */ "
                                  "if (t) { u = 9; } w = unknown_fn(); x = t % 5;")});
    Simulator sim({Machine::read(doc)});
    sim.addDeclaredVariables();
    EXPECT_EQ(value(sim, "LIMIT"), 16);
    EXPECT_EQ(value(sim, "t"), 8);
    EXPECT_EQ(value(sim, "u"), 0);
    EXPECT_EQ(value(sim, "c"), 'a');
    EXPECT_FALSE(sim.variables().contains(QStringLiteral("p")));
    sim.setVariable(QStringLiteral("w"), 5);
    sim.step();
    EXPECT_EQ(value(sim, "t"), 20);
    EXPECT_EQ(value(sim, "u"), -2);
    EXPECT_EQ(value(sim, "c"), 'b');
    EXPECT_EQ(value(sim, "x"), 0);
    EXPECT_FALSE(sim.variables().contains(QStringLiteral("w")));  // no longer known
    const QStringList& log = sim.steps().back().log;
    EXPECT_TRUE(log.contains(QStringLiteral("M: f(t);")));
    EXPECT_TRUE(log.contains(QStringLiteral("M: if (t) { u = 9; }")));
}

TEST(Simulator, StatementsSplitAtTheirEnds)
{
    EXPECT_EQ(
        splitStatements(
            QStringLiteral("a = f(1; 2);\r\n#if defined(X)\r\n  b++; // c = 1;\r\n#endif\r\n"
                           "if (a) { b = 1; } else c = \";\";")),
        (QStringList{QStringLiteral("a = f(1; 2);"), QStringLiteral("#if defined(X)"),
                     QStringLiteral("b++;"), QStringLiteral("#endif"),
                     QStringLiteral("if (a) { b = 1; }"), QStringLiteral("else c = \";\";")}));
    EXPECT_TRUE(splitStatements(QStringLiteral(" /* nothing */ ")).isEmpty());
}

TEST(Simulator, AMachineWithoutInitialStateCannotRun)
{
    FsmDocument doc;
    configure(doc, QStringLiteral("M"));
    addState(doc, {QStringLiteral("A"), QStringLiteral("1")});
    Simulator sim({Machine::read(doc)});
    EXPECT_FALSE(sim.canRun());
    EXPECT_EQ(sim.step(), Simulator::StepResult::CannotRun);
    EXPECT_EQ(sim.run(5), 0);
    Simulator none({});
    EXPECT_EQ(none.step(), Simulator::StepResult::CannotRun);
}

}  // namespace
}  // namespace orvane::Simulation
