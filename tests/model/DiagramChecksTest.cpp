// The diagram checks: each problem found on a diagram built to have it, the
// clean machine without any, and the tree checks on files.
#include "DiagramChecks.h"

#include "FsmTestKit.h"
#include "MachineFiles.h"
#include "MachineInfo.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>

using namespace orvane;
using namespace orvane::testkit;
using DiagramChecks::Problem;
using DiagramChecks::Severity;

namespace {

void nameMachine(FsmDocument& doc, const QString& name)
{
    MachineConfig c;
    c.signature = MachineInfo::kSignature;
    c.name = name;
    MachineInfo::setMachineConfig(doc.diagram(), c);
}

// A named machine: Idle (initial) <-> Run, both on a condition.
struct Machine {
    Machine()
    {
        nameMachine(doc, QStringLiteral("Motor"));
        idle = addState(doc, {QStringLiteral("Idle"), QStringLiteral("1"), NodeStateInitial});
        run = addState(doc, {QStringLiteral("Run"), QStringLiteral("2")}, 4000, 1000);
        toRun = addTransition(doc, idle, run, QStringLiteral("start"));
        toIdle = addTransition(doc, run, idle, QStringLiteral("stop"));
    }
    std::vector<Problem> check() const { return DiagramChecks::checkDiagram(doc.diagram()); }

    FsmDocument doc;
    Node* idle;
    Node* run;
    Node* toRun;
    Node* toIdle;
};

// The problems whose text contains `part`.
std::vector<Problem> withText(const std::vector<Problem>& all, const QString& part)
{
    std::vector<Problem> found;
    for (const Problem& p : all)
        if (p.text.contains(part))
            found.push_back(p);
    return found;
}

}  // namespace

TEST(DiagramChecks, CleanMachineHasNoProblem)
{
    Machine m;
    EXPECT_TRUE(m.check().empty());
}

TEST(DiagramChecks, RefusalsOfTheGeneratorAreErrorsAllReportedTogether)
{
    FsmDocument doc;
    Node* a = addState(doc, {QStringLiteral("A"),
                             QStringLiteral("1"),
                             NodeStateNormal,
                             {},
                             {},
                             QStringLiteral("leave();")});
    const std::vector<Problem> all = DiagramChecks::checkDiagram(doc.diagram(), "x.fsm");
    // No name, no initial state, and an exit action on a state without a way out.
    ASSERT_EQ(withText(all, DiagramChecks::kMsgNoName).size(), 1u);
    ASSERT_EQ(withText(all, DiagramChecks::kMsgNoInitial).size(), 1u);
    const auto exitProblem = withText(all, QStringLiteral("Exit action"));
    ASSERT_EQ(exitProblem.size(), 1u);
    EXPECT_EQ(exitProblem[0].node, a);
    EXPECT_EQ(exitProblem[0].stateName, QStringLiteral("A"));
    EXPECT_FALSE(exitProblem[0].text.contains(QLatin1Char('\n')));
    EXPECT_EQ(DiagramChecks::errorCount(all), 3);
    for (const Problem& p : all)
        EXPECT_EQ(p.file, QStringLiteral("x.fsm"));
}

TEST(DiagramChecks, StateNamesCollidingIgnoringCaseAreAnError)
{
    Machine m;
    Node* second = addState(m.doc, {QStringLiteral("RUN"), QStringLiteral("3")}, 8000, 1000);
    addTransition(m.doc, m.run, second, QStringLiteral("more"));
    addTransition(m.doc, second, m.idle, QStringLiteral("done"));
    const auto clash = withText(m.check(), QStringLiteral("same name"));
    ASSERT_EQ(clash.size(), 1u);
    EXPECT_EQ(clash[0].severity, Severity::Error);
    EXPECT_EQ(clash[0].node, second);
}

TEST(DiagramChecks, UnreachedAndDeadEndStatesAreWarnings)
{
    Machine m;
    // Reached by nothing but itself; and a non-final dead end.
    Node* lonely = addState(m.doc, {QStringLiteral("Lonely"), QStringLiteral("3")}, 8000, 1000);
    addTransition(m.doc, lonely, lonely, QStringLiteral("again"));
    Node* dead = addState(m.doc, {QStringLiteral("Dead"), QStringLiteral("4")}, 8000, 5000);
    addTransition(m.doc, m.run, dead, QStringLiteral("fail"));
    Node* done =
        addState(m.doc, {QStringLiteral("Done"), QStringLiteral("5"), NodeStateFinal}, 1000, 5000);
    addTransition(m.doc, m.run, done, QStringLiteral("end"));

    const std::vector<Problem> all = m.check();
    const auto unreached = withText(all, QStringLiteral("no transition leads"));
    ASSERT_EQ(unreached.size(), 1u);
    EXPECT_EQ(unreached[0].node, lonely);
    EXPECT_EQ(unreached[0].severity, Severity::Warning);
    const auto deadEnds = withText(all, QStringLiteral("no outgoing transition"));
    ASSERT_EQ(deadEnds.size(), 1u);  // the final state is no dead end
    EXPECT_EQ(deadEnds[0].node, dead);
    EXPECT_EQ(DiagramChecks::errorCount(all), 0);
}

TEST(DiagramChecks, TransitionsAfterAnUnconditionedOneNeverFire)
{
    Machine m;
    // Run: 1 "stop" to Idle, 2 always to Idle, 3 "late" to Idle.
    Node* always = addTransition(m.doc, m.run, m.idle);
    Node* late = addTransition(m.doc, m.run, m.idle, QStringLiteral("late"));
    const auto never = withText(m.check(), QStringLiteral("can never fire"));
    ASSERT_EQ(never.size(), 1u);
    EXPECT_EQ(never[0].node, late);
    EXPECT_EQ(never[0].stateName, QStringLiteral("Run"));
    EXPECT_TRUE(never[0].text.contains(priority(always))) << never[0].text.toStdString();
}

TEST(DiagramChecks, DuplicateAndOutOfRangePrioritiesAreWarnings)
{
    Machine m;
    Node* second = addTransition(m.doc, m.run, m.idle, QStringLiteral("b"));
    Node* third = addTransition(m.doc, m.run, m.idle, QStringLiteral("c"));
    TransitionRecord r = transitionRecord(second);
    r.priority = QStringLiteral("1");  // the same as "stop"
    second->setTag(r.toText());
    r = transitionRecord(third);
    r.priority = QStringLiteral("7");  // three transitions: 1 to 3
    third->setTag(r.toText());
    const std::vector<Problem> all = m.check();
    const auto twice = withText(all, QStringLiteral("another transition"));
    ASSERT_EQ(twice.size(), 1u);
    EXPECT_EQ(twice[0].severity, Severity::Warning);
    const auto range = withText(all, QStringLiteral("out of the range 1 to 3"));
    ASSERT_EQ(range.size(), 1u);
    EXPECT_EQ(range[0].node, third);

    r.priority = QStringLiteral("x");  // no number at all
    third->setTag(r.toText());
    EXPECT_EQ(withText(m.check(), QStringLiteral("out of the range")).size(), 1u);
}

TEST(DiagramChecks, TransitionWithoutTargetIsReportedOnItsSourceState)
{
    Machine m;
    Node* loose = rawNode(
        m.doc.diagram(), NodeTransition,
        {QStringLiteral("2"), QStringLiteral("x"), {}, QStringLiteral("Y"), QStringLiteral("N")});
    m.doc.diagram().addLink(m.run, loose);
    const auto found = withText(m.check(), QStringLiteral("no target state"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].node, loose);
    EXPECT_EQ(found[0].stateName, QStringLiteral("Run"));
}

TEST(DiagramChecks, TreeReportsUnopenableChildrenAndNameClashes)
{
    using namespace orvane::testfiles;
    QTemporaryDir dir;
    const QString top = dir.filePath("Top.fsm");
    ASSERT_TRUE(writeMachine(top, twoStates("Top", "Left(); Right(); Broken();")));
    // Two different files with one FSM name, and a child that is no diagram.
    ASSERT_TRUE(writeMachine(dir.filePath("Left.fsm"), twoStates("Same", "")));
    ASSERT_TRUE(writeMachine(dir.filePath("Right.fsm"), twoStates("Same", "x = 1;")));
    QFile broken(dir.filePath("Broken.fsm"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a diagram");
    broken.close();

    std::vector<std::unique_ptr<FsmDocument>> opened;
    auto open = [&opened](const QString& path, QString* error) -> const FsmDocument* {
        auto doc = std::make_unique<FsmDocument>();
        RecordingMessenger m;
        if (!doc->diagram().loadFile(path, error) || !doc->afterLoad({}, m))
            return nullptr;
        doc->filePath = path;
        opened.push_back(std::move(doc));
        return opened.back().get();
    };
    FsmDocument root;
    RecordingMessenger m;
    ASSERT_TRUE(root.diagram().loadFile(top, nullptr));
    ASSERT_TRUE(root.afterLoad({}, m));
    root.filePath = top;

    const std::vector<Problem> all = DiagramChecks::checkTree(root, open);
    const auto unopened = withText(all, QStringLiteral("cannot be opened"));
    ASSERT_EQ(unopened.size(), 1u);
    EXPECT_TRUE(unopened[0].text.contains(QStringLiteral("Broken.fsm")));
    EXPECT_EQ(unopened[0].file, top);
    const auto clash = withText(all, QStringLiteral("one FSM name"));
    ASSERT_EQ(clash.size(), 1u);
    EXPECT_EQ(clash[0].file, dir.filePath("Right.fsm"));
    EXPECT_EQ(DiagramChecks::errorCount(all), 2);
}
