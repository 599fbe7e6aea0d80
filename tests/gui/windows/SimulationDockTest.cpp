// The simulation panel and Simulate mode of a document window: stepping,
// going back, asked conditions answered with the buttons or by choosing a
// transition, the variable table, and the diagram left as it was.
#include "WindowTestSupport.h"

#include "Messenger.h"
#include "Records.h"
#include "ReplayDock.h"
#include "SimulationDock.h"
#include "SimulationOverlay.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>

using namespace orvane;
using namespace orvane::test;

namespace {

// Idle -[1: go]-> Busy (entry "n++;"), Busy -[1: sensor()]-> Idle,
// Busy -[2: n > 2]-> Done (final). Machine "M".
void buildMachine(FsmDocument& doc)
{
    Diagram& d = doc.diagram();
    const auto state = [&d](const QString& name, qint32 kind, const QString& entry) {
        Node* n = d.addNode(1000, 1000, 1500, 900);
        n->setUserData(kind);
        n->setTag(StateRecord{
            name,
            {},
            QString::number(d.nodeCount()),
            entry,
            {},
            QStringLiteral("N"),
            QStringLiteral("N"),
            {}}.toText());
        return n;
    };
    const auto transition = [&d](Node* from, Node* to, const QString& priority,
                                 const QString& condition) {
        Node* t = d.addNode(2000, 2000, 150, 100);
        t->setUserData(NodeTransition);
        t->setTag(
            TransitionRecord{priority, condition, {}, QStringLiteral("Y"), QStringLiteral("N")}
                .toText());
        d.addLink(from, t);
        d.addLink(t, to);
    };
    Node* idle = state(QStringLiteral("Idle"), NodeStateInitial, {});
    Node* busy = state(QStringLiteral("Busy"), NodeStateNormal, QStringLiteral("n++;"));
    Node* done = state(QStringLiteral("Done"), NodeStateFinal, {});
    transition(idle, busy, QStringLiteral("1"), QStringLiteral("go"));
    transition(busy, idle, QStringLiteral("1"), QStringLiteral("sensor()"));
    transition(busy, done, QStringLiteral("2"), QStringLiteral("n > 2"));
    MachineConfig c;
    c.name = QStringLiteral("M");
    c.init = QStringLiteral("static int n = 0, go = 1;");
    d.setTag(c.toText());
}

QString currentText(SimulationDock& dock)
{
    return dock.findChild<QLabel*>(QStringLiteral("currentState"))->text();
}

void click(SimulationDock& dock, const char* name)
{
    dock.findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

QString variable(SimulationDock& dock, const QString& name)
{
    auto* table = dock.findChild<QTableWidget*>(QStringLiteral("variables"));
    for (int r = 0; r < table->rowCount(); ++r)
        if (table->item(r, 0)->text() == name)
            return table->item(r, 1)->text();
    return QStringLiteral("<none>");
}

class SimulationDockTest : public ::testing::Test {
protected:
    void SetUp() override { buildMachine(doc); }
    FsmDocument doc;
};

}  // namespace

TEST_F(SimulationDockTest, StepsBacksAndAsksWithTheButtons)
{
    SimulationDock dock({Simulation::Machine::read(doc)});
    EXPECT_TRUE(currentText(dock).startsWith(QStringLiteral("M: Idle")));
    EXPECT_EQ(variable(dock, QStringLiteral("n")), QStringLiteral("0"));
    EXPECT_EQ(variable(dock, QStringLiteral("go")), QStringLiteral("1"));
    auto* transitions = dock.findChild<QTreeWidget*>(QStringLiteral("transitions"));
    ASSERT_EQ(transitions->topLevelItemCount(), 1);
    EXPECT_EQ(transitions->topLevelItem(0)->text(3), QStringLiteral("true"));

    click(dock, "stepButton");
    EXPECT_TRUE(currentText(dock).startsWith(QStringLiteral("M: Busy")));
    ASSERT_EQ(transitions->topLevelItemCount(), 2);
    EXPECT_EQ(transitions->topLevelItem(0)->text(3), QStringLiteral("ask"));

    // sensor() cannot be read: the step waits for the answer.
    click(dock, "stepButton");
    auto* trueButton = dock.findChild<QPushButton*>(QStringLiteral("trueButton"));
    EXPECT_TRUE(trueButton->isEnabled());
    EXPECT_TRUE(dock.findChild<QLabel*>(QStringLiteral("question"))->text().contains("sensor()"));
    EXPECT_EQ(variable(dock, QStringLiteral("n")), QStringLiteral("0"));  // nothing ran yet
    click(dock, "falseButton");
    EXPECT_FALSE(trueButton->isEnabled());
    EXPECT_EQ(variable(dock, QStringLiteral("n")), QStringLiteral("1"));  // the entry ran
    EXPECT_TRUE(currentText(dock).startsWith(QStringLiteral("M: Busy")));

    click(dock, "stepButton");
    click(dock, "trueButton");
    EXPECT_TRUE(currentText(dock).startsWith(QStringLiteral("M: Idle")));
    EXPECT_EQ(dock.firedNodes().size(), 1u);

    click(dock, "backButton");
    EXPECT_TRUE(currentText(dock).startsWith(QStringLiteral("M: Busy")));
    click(dock, "resetButton");
    EXPECT_TRUE(currentText(dock).startsWith(QStringLiteral("M: Idle")));
    EXPECT_EQ(variable(dock, QStringLiteral("n")), QStringLiteral("0"));
    EXPECT_FALSE(dock.findChild<QPushButton*>(QStringLiteral("backButton"))->isEnabled());
}

TEST_F(SimulationDockTest, AChosenTransitionFiresAndRunsStopAtQuestionsAndFinalStates)
{
    SimulationDock dock({Simulation::Machine::read(doc)});
    dock.step();
    dock.fireTransition(0);  // "sensor()" taken as true
    EXPECT_TRUE(currentText(dock).startsWith(QStringLiteral("M: Idle")));
    dock.run();  // Idle -> Busy, then sensor() is asked
    EXPECT_TRUE(currentText(dock).startsWith(QStringLiteral("M: Busy")));
    EXPECT_TRUE(dock.simulator().question());
    dock.simulator().setVariable(QStringLiteral("n"), 5);
    dock.answer(false);  // n > 2 fires
    EXPECT_TRUE(currentText(dock).contains(QStringLiteral("M: Done")));
    EXPECT_TRUE(currentText(dock).contains(QStringLiteral("final")));
    const size_t steps = dock.simulator().steps().size();
    dock.run();
    EXPECT_EQ(dock.simulator().steps().size(), steps);
}

TEST_F(SimulationDockTest, TheVariableTableEditsAddsAndRemoves)
{
    SimulationDock dock({Simulation::Machine::read(doc)});
    auto* table = dock.findChild<QTableWidget*>(QStringLiteral("variables"));
    const auto rowOf = [table](const QString& name) {
        for (int r = 0; r < table->rowCount(); ++r)
            if (table->item(r, 0)->text() == name)
                return r;
        return -1;
    };
    table->item(rowOf(QStringLiteral("go")), 1)->setText(QStringLiteral("0x10"));
    EXPECT_EQ(dock.simulator().variables().value(QStringLiteral("go")), 16);
    table->item(rowOf(QStringLiteral("go")), 1)->setText(QStringLiteral("many"));
    EXPECT_EQ(variable(dock, QStringLiteral("go")), QStringLiteral("16"));      // put back
    table->item(rowOf(QStringLiteral("go")), 0)->setText(QStringLiteral("n"));  // taken
    EXPECT_EQ(variable(dock, QStringLiteral("go")), QStringLiteral("16"));
    table->item(rowOf(QStringLiteral("go")), 0)->setText(QStringLiteral("start"));
    EXPECT_EQ(variable(dock, QStringLiteral("start")), QStringLiteral("16"));
    EXPECT_FALSE(dock.simulator().variables().contains(QStringLiteral("go")));

    click(dock, "addVariableButton");
    EXPECT_EQ(variable(dock, QStringLiteral("v1")), QStringLiteral("0"));
    table->setCurrentCell(rowOf(QStringLiteral("v1")), 0);
    click(dock, "removeVariableButton");
    EXPECT_EQ(rowOf(QStringLiteral("v1")), -1);
    // The table is what the steps read: with "go" renamed, Idle must ask.
    dock.step();
    EXPECT_TRUE(dock.simulator().question());
}

namespace {
class SimulateModeTest : public WindowTest {
protected:
    // The traffic light copied into the work folder, opened in a window.
    DocumentWindow* openTrafficLight()
    {
        const QString path = work(QStringLiteral("traffic_light.fsm"));
        EXPECT_TRUE(
            QFile::copy(QStringLiteral(ORVANE_SOURCE_DIR "/examples/traffic_light.fsm"), path));
        return open(path);
    }
};
}  // namespace

TEST_F(SimulateModeTest, TheModeLocksTheDiagramAndLeavingRestoresIt)
{
    DocumentWindow* w = openTrafficLight();
    ASSERT_TRUE(w);
    Diagram& d = diagramOf(w);
    d.setReadOnly(false);
    d.setChanged(false);
    QAction* simulate = w->action(QStringLiteral("simulateAction"));
    ASSERT_TRUE(simulate);
    EXPECT_EQ(simulate->shortcut(), QKeySequence(Qt::Key_F5));
    simulate->trigger();
    ASSERT_TRUE(w->simulating());
    EXPECT_TRUE(d.readOnly());
    EXPECT_TRUE(simulate->isChecked());
    SimulationDock* dock = w->simulationDock();
    ASSERT_TRUE(dock);
    EXPECT_TRUE(dock->isVisible());
    // The lock cannot be taken off while simulating.
    w->toggleLocked();
    EXPECT_TRUE(d.readOnly());
    for (int i = 0; i < 31; ++i)
        dock->step();
    // Red for 30 ticks (the diagram's own #define), then Green.
    EXPECT_TRUE(currentText(*dock).startsWith(machineConfig(d).name + QStringLiteral(": Green")))
        << currentText(*dock).toStdString();
    EXPECT_EQ(dock->currentNodes().size(), 1u);
    simulate->trigger();
    EXPECT_FALSE(w->simulating());
    EXPECT_FALSE(d.readOnly());
    EXPECT_FALSE(d.changed());
    EXPECT_FALSE(simulate->isChecked());
    EXPECT_EQ(w->findChild<SimulationDock*>(), nullptr);
}

TEST_F(SimulationDockTest, AReplayStepsGoesBackAndStopsAtALineThatDoesNotFit)
{
    const QByteArray trace =
        "noise\norvane-trace M Busy 1\norvane-trace M Idle 1\n"
        "orvane-trace M Busy 1\norvane-trace M Done 7\norvane-trace M Idle 0\n";
    ReplayDock dock({Simulation::Machine::read(doc)}, trace, QStringLiteral("run.log"));
    EXPECT_EQ(dock.entryCount(), 5);
    const auto state = [&dock] {
        return dock.findChild<QLabel*>(QStringLiteral("replayState"))->text();
    };
    EXPECT_TRUE(state().startsWith(QStringLiteral("M: Idle")));
    dock.step();
    EXPECT_TRUE(state().startsWith(QStringLiteral("M: Busy")));
    EXPECT_EQ(dock.firedNodes().size(), 1u);
    dock.back();
    EXPECT_EQ(dock.position(), 0);
    EXPECT_TRUE(state().startsWith(QStringLiteral("M: Idle")));
    dock.runToEnd();
    EXPECT_EQ(dock.position(), 3);  // line 5 names a transition Busy does not have
    const QString misfit = dock.findChild<QLabel*>(QStringLiteral("misfit"))->text();
    EXPECT_TRUE(misfit.startsWith(QStringLiteral("Line 5 does not fit")));
    EXPECT_TRUE(misfit.contains(QStringLiteral("has no transition 7")));
    dock.step();
    EXPECT_EQ(dock.position(), 3);

    const auto tips = dock.coverageTips();
    const auto colours = dock.coverageColours();
    const Simulation::Machine m = Simulation::Machine::read(doc);
    EXPECT_EQ(tips.value(m.states[0].node), QStringLiteral("Reached 2 time(s)"));  // start, return
    EXPECT_EQ(tips.value(m.states[2].node), QStringLiteral("Never reached"));
    EXPECT_EQ(tips.value(m.states[1].transitions[0].node), QStringLiteral("Fired 1 time(s)"));
    EXPECT_EQ(tips.value(m.states[1].transitions[1].node), QStringLiteral("Never fired"));
    EXPECT_NE(colours.value(m.states[0].node), colours.value(m.states[2].node));
}

TEST_F(SimulateModeTest, ReplayTraceColoursTheDiagramAndLeavingRestoresIt)
{
    const QString path = work(QStringLiteral("traffic_light.fsm"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_SOURCE_DIR "/examples/traffic_light.fsm"), path));
    DocumentWindow* w = open(path);
    ASSERT_TRUE(w);
    Diagram& d = diagramOf(w);
    d.setReadOnly(false);
    d.setChanged(false);
    const QString name = machineConfig(d).name;
    const QString tracePath = work(QStringLiteral("run.log"));
    QFile f(tracePath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(("orvane-trace " + name + " Red 0\norvane-trace " + name + " Green 1\n").toUtf8());
    f.close();
    ui.fileNames = {tracePath};
    w->action(QStringLiteral("replayTraceAction"))->trigger();
    ReplayDock* dock = w->replayDock();
    ASSERT_TRUE(dock);
    EXPECT_TRUE(d.readOnly());
    dock->runToEnd();
    EXPECT_EQ(dock->position(), 2);
    auto* overlay = w->view()->findChild<SimulationOverlay*>();
    ASSERT_TRUE(overlay);
    const Simulation::Machine m = Simulation::Machine::read(w->document()->fsm);
    const Node* yellow = m.states[size_t(m.stateIndex(QStringLiteral("Yellow")))].node;
    const Node* red = m.states[size_t(m.stateIndex(QStringLiteral("Red")))].node;
    EXPECT_EQ(overlay->tipAt(centre(w, yellow)), QStringLiteral("Never reached"));
    EXPECT_EQ(overlay->tipAt(centre(w, red)), QStringLiteral("Reached 1 time(s)"));
    w->action(QStringLiteral("simulateAction"))->trigger();  // F5 leaves the replay too
    EXPECT_EQ(w->replayDock(), nullptr);
    EXPECT_EQ(w->view()->findChild<SimulationOverlay*>(), nullptr);
    EXPECT_FALSE(d.readOnly());
    EXPECT_FALSE(d.changed());
}

namespace {

class ChildMarksTest : public SimulateModeTest {
protected:
    void SetUp() override
    {
        SimulateModeTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(work(QStringLiteral("Washer"))));
        for (const char* file : {"Washer.fsm", "Door.fsm", "Washer/Drum.fsm"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_SOURCE_DIR "/examples/washer/")
                                        + QLatin1String(file),
                                    work(QLatin1String(file))));
    }

    // The node the caller's mark points at in the window, with its state's
    // name; empty when the window shows no mark.
    static QString marked(DocumentWindow* w)
    {
        auto* overlay = w->view()->findChild<SimulationOverlay*>();
        if (!overlay || overlay->current().size() != 1)
            return {};
        return stateRecord(overlay->current().front()).name;
    }
};

}  // namespace

TEST_F(ChildMarksTest, TheChildsWindowShowsItsCurrentStateWhileTheParentRuns)
{
    DocumentWindow* door = open(work(QStringLiteral("Door.fsm")));
    ASSERT_TRUE(door);
    Diagram& doorDiagram = diagramOf(door);
    doorDiagram.setChanged(false);
    const bool doorReadOnly = doorDiagram.readOnly();
    DocumentWindow* washer = open(work(QStringLiteral("Washer.fsm")));
    ASSERT_TRUE(washer);
    EXPECT_EQ(marked(door), QString());
    washer->toggleSimulate();
    SimulationDock* dock = washer->simulationDock();
    ASSERT_TRUE(dock);
    const int doorMachine = dock->simulator().machineIndex(QStringLiteral("Door"));
    ASSERT_GT(doorMachine, 0);
    const auto doorState = [dock, doorMachine] {
        const auto& m = dock->simulator().machines()[size_t(doorMachine)];
        return m.states[size_t(dock->simulator().currentState(doorMachine))].name;
    };
    EXPECT_EQ(marked(door), QStringLiteral("Unlocked"));
    // Every asked condition true: the washer starts, fills, and the door locks.
    for (int i = 0; i < 12 && doorState() != QStringLiteral("Locked"); ++i) {
        dock->step();
        while (dock->simulator().question())
            dock->answer(true);
    }
    ASSERT_EQ(doorState(), QStringLiteral("Locked"));
    EXPECT_EQ(marked(door), QStringLiteral("Locked"));
    dock->back();
    EXPECT_EQ(marked(door), doorState());

    // A window opened while the parent runs shows the mark at once.
    door->closeWindow();
    QTest::qWait(1);
    door = open(work(QStringLiteral("Door.fsm")));
    ASSERT_TRUE(door);
    EXPECT_EQ(marked(door), doorState());

    // Leaving takes the mark off and leaves the child's diagram as it was.
    washer->toggleSimulate();
    EXPECT_EQ(door->view()->findChild<SimulationOverlay*>(), nullptr);
    EXPECT_FALSE(diagramOf(door).changed());
    EXPECT_EQ(diagramOf(door).readOnly(), doorReadOnly);
}

TEST_F(ChildMarksTest, AReplayMarksTheChildAndTheChildsOwnSimulationWins)
{
    DocumentWindow* door = open(work(QStringLiteral("Door.fsm")));
    DocumentWindow* washer = open(work(QStringLiteral("Washer.fsm")));
    ASSERT_TRUE(door && washer);
    washer->startReplay("orvane-trace Door Locked 1\norvane-trace Door Unlocked 1\n",
                        QStringLiteral("run.log"));
    ReplayDock* replay = washer->replayDock();
    ASSERT_TRUE(replay);
    EXPECT_EQ(marked(door), QStringLiteral("Unlocked"));
    replay->step();
    EXPECT_EQ(marked(door), QStringLiteral("Locked"));
    // The child simulated itself: its own marks, not the parent's.
    door->toggleSimulate();
    replay->step();
    ASSERT_TRUE(door->simulationDock());
    EXPECT_EQ(door->view()->findChildren<SimulationOverlay*>().size(), 1);
    // Back from its own mode it shows the parent's replay again.
    door->toggleSimulate();
    EXPECT_EQ(marked(door), QStringLiteral("Unlocked"));
    washer->closeWindow();
    QTest::qWait(1);
    EXPECT_EQ(door->view()->findChild<SimulationOverlay*>(), nullptr);
}

TEST_F(SimulateModeTest, AReplayAcceptsTheMachineUnderTheNameInItsFile)
{
    const QString path = work(QStringLiteral("traffic_light.fsm"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_SOURCE_DIR "/examples/traffic_light.fsm"), path));
    DocumentWindow* w = open(path);
    ASSERT_TRUE(w);
    // Code generated from the file alone prints the name the file holds;
    // code generated in the editor prints the window's name.
    FsmDocument onDisk;
    QString error;
    ASSERT_TRUE(onDisk.diagram().loadFile(path, &error));
    onDisk.filePath = path;
    SilentMessenger silent;
    ASSERT_TRUE(onDisk.afterLoad({}, silent));
    const QString stored = machineConfig(onDisk.diagram()).name;
    const QString editor = machineConfig(diagramOf(w)).name;
    ASSERT_NE(stored, editor);
    // The names alternate: a skipped line would leave the next one unfit.
    w->startReplay(("orvane-trace " + stored + " Red 0\norvane-trace " + editor
                    + " Green 1\norvane-trace Other Red 3\norvane-trace " + stored
                    + " Yellow 1\norvane-trace " + editor + " Red 1\n")
                       .toUtf8(),
                   QStringLiteral("run.log"));
    ReplayDock* dock = w->replayDock();
    ASSERT_TRUE(dock);
    dock->runToEnd();
    EXPECT_EQ(dock->position(), 5);
    EXPECT_FALSE(dock->replay().misfit()) << dock->replay().misfit()->text.toStdString();
    EXPECT_EQ(dock->replay().statesReached(), 3);
    EXPECT_EQ(dock->replay().transitionsFired(), 3);
    w->toggleSimulate();
}
