// The simulator against the compiled code: every example and a few random
// machines are generated in the switch-case and pointer-array styles with
// debug information, compiled with a driver that feeds both the same inputs
// and prints the trace line after every call, and run for some hundred
// steps; the program's trace and the simulator's must agree line by line.

#include "CompileRunSupport.h"
#include "Simulator.h"
#include "TraceReplay.h"

#include <QRandomGenerator>

#include <memory>
#include <set>
#include <tuple>

namespace orvane::testing {
namespace {

using Simulation::ExpressionEvaluator;
using Simulation::Machine;
using Simulation::Question;
using Simulation::Simulator;

constexpr int kAgreementSteps = 300;

const QString kTracePrint =
    QStringLiteral("#if defined(FSM_DEBUG)\r\nprintf(\"orvane-trace %s %s %d\\n\", FSM_NAME(), "
                   "FSM_STATE_NAME(), FSM_TRANS_NUMBER());\r\n#endif");

struct AgreementCase {
    std::string name;
    std::vector<std::shared_ptr<FsmDocument>> documents;  // the top machine first
    QString includes;      // extra lines for the top machine's initialization
    QString declarations;  // the driver's definitions of inputs and outputs
    QString stepCode;      // the driver's step once in_bits is set
    std::function<void(Simulator&, unsigned long bits)> setInputs;
    // The functions of the inputs that the conditions call.
    std::function<std::optional<qint64>(const QString&, unsigned long bits)> functions;
    QStringList includeDirs;
};

// Adds the trace line to the after actions, stdio to the initialization,
// and turns the debug information on.
void prepare(FsmDocument& doc, const QString& includes)
{
    MachineConfig c = machineConfig(doc.diagram());
    c.init = QStringLiteral("#include <stdio.h>\r\n") + includes + c.init;
    c.after = c.after.isEmpty() ? kTracePrint : c.after + QStringLiteral("\r\n") + kTracePrint;
    doc.diagram().setTag(c.toText());
    doc.debugInfo = true;
}

std::shared_ptr<FsmDocument> openExample(const QString& relative)
{
    auto doc = std::make_shared<FsmDocument>();
    const QString path = QStringLiteral(ORVANE_SOURCE_DIR "/examples/") + relative;
    if (!openDocument(*doc, path))
        return nullptr;
    return doc;
}

// A random machine over the inputs i0..i2 and the counters c0, c1.
std::shared_ptr<FsmDocument> randomMachine(quint32 seed)
{
    QRandomGenerator rng(seed);
    const QStringList conditions = {
        QStringLiteral("i0 > 3"),
        QStringLiteral("i1 == 2"),
        QStringLiteral("c0 % 3 == 0"),
        QStringLiteral("i2 && c1 > 4"),
        QStringLiteral("(i0 + c0) % 3 == 1"),
        QStringLiteral("i1 < 2 || !i2"),
        QStringLiteral("(c1 >= 6 ? i0 : i1) > 2"),
        QStringLiteral("(i0 ^ i1) & 1"),
        QStringLiteral("c0 - c1 < -3 /* drift */"),
        QStringLiteral("i0 << 1 >= 10 && i1 != 0"),
    };
    const QStringList actions = {
        QStringLiteral("c0 = c0 + 1;"),
        QStringLiteral("c1 += i0;"),
        QStringLiteral("c0 = i1;"),
        QStringLiteral("c1--;"),
        QStringLiteral("c0 = (c0 * 3 + i2) % 7;"),
        QStringLiteral("c1 = 0;"),
        QStringLiteral("++c0; c1 -= 2;"),
        QStringLiteral("c0 %= 5; // small"),
    };
    const auto pick = [&rng](const QStringList& l) { return l.at(int(rng.bounded(l.size()))); };
    const auto maybe = [&rng, &pick, &actions](int percent) {
        return int(rng.bounded(100)) < percent ? pick(actions) : QString();
    };
    auto doc = std::make_shared<FsmDocument>();
    DiagramBuilder b(doc->diagram());
    const int count = 3 + int(rng.bounded(4));
    std::vector<Node*> states;
    for (int i = 0; i < count; ++i) {
        StateTexts t;
        t.entry = maybe(40);
        t.during = maybe(40);
        t.exit = maybe(30);
        t.elseAction = maybe(30);
        const qint32 kind = i == 0 ? kInitial : (i == count - 1 ? kFinal : kNormal);
        states.push_back(b.state(QStringLiteral("S%1").arg(i), kind, QString::number(i + 1), t));
    }
    for (int i = 0; i < count; ++i) {
        const int n = 1 + int(rng.bounded(3));
        QList<int> priorities{1, 2, 3};
        std::shuffle(priorities.begin(), priorities.end(), rng);
        for (int k = 0; k < n; ++k) {
            const int target = int(rng.bounded(count));
            const bool always = k == n - 1 && rng.bounded(4) == 0;
            b.transition(states[size_t(i)], states[size_t(target)], QString::number(priorities[k]),
                         always ? QString() : pick(conditions), maybe(60),
                         rng.bounded(2) ? QStringLiteral("N") : QStringLiteral("Y"));
        }
    }
    GraphTexts g;
    g.name = QStringLiteral("Random%1").arg(seed);
    g.init = QStringLiteral("int i0 = 0, i1 = 0, i2 = 0, c0 = 0, c1 = 0;");
    g.before = rng.bounded(2) ? QStringLiteral("c1 = c1 % 20;") : QString();
    b.config(g);
    return doc;
}

std::vector<AgreementCase> cases()
{
    std::vector<AgreementCase> out;
    {
        AgreementCase c;
        c.name = "lamp";
        c.documents = {openExample(QStringLiteral("lamp.fsm"))};
        c.declarations = QStringLiteral("int button, led;\nvoid Lamp(void);\n");
        c.stepCode = QStringLiteral("button = (int)(in_bits & 1UL); Lamp();");
        c.setInputs = [](Simulator& s, unsigned long bits) {
            s.setVariable(QStringLiteral("button"), qint64(bits & 1UL));
        };
        c.includeDirs << QStringLiteral(ORVANE_SOURCE_DIR "/examples");
        out.push_back(c);
    }
    {
        AgreementCase c;
        c.name = "traffic_light";
        c.documents = {openExample(QStringLiteral("traffic_light.fsm"))};
        c.declarations = QStringLiteral("void TrafficLight(unsigned char pedestrian);\n"
                                        "void lamps(int r, int y, int g) { (void)r; (void)y; "
                                        "(void)g; }\n");
        c.stepCode = QStringLiteral("TrafficLight((unsigned char)((in_bits & 15UL) == 0));");
        c.setInputs = [](Simulator& s, unsigned long bits) {
            s.setVariable(QStringLiteral("pedestrian"), (bits & 15UL) == 0 ? 1 : 0);
        };
        out.push_back(c);
    }
    {
        AgreementCase c;
        c.name = "washer";
        c.documents = {openExample(QStringLiteral("washer/Washer.fsm")),
                       openExample(QStringLiteral("washer/Door.fsm")),
                       openExample(QStringLiteral("washer/Washer/Drum.fsm"))};
        c.includes = QStringLiteral("#include \"Door.h\"\r\n#include \"Drum.h\"\r\n");
        const QStringList inputs = {
            QStringLiteral("start_pressed"), QStringLiteral("door_closed"),
            QStringLiteral("level_full"),    QStringLiteral("level_empty"),
            QStringLiteral("timer_expired"), QStringLiteral("drum_timer_expired")};
        for (qsizetype k = 0; k < inputs.size(); ++k)
            c.declarations +=
                QStringLiteral("int %1(void) { return (int)((in_bits >> %2) & 1UL); }\n")
                    .arg(inputs[k])
                    .arg(k);
        for (const char* output :
             {"lamp", "valve", "pump", "motor", "latch", "timer_start", "drum_timer_start"})
            c.declarations +=
                QStringLiteral("void %1(int v) { (void)v; }\n").arg(QLatin1String(output));
        c.declarations += QStringLiteral("void Washer(void);\n");
        c.stepCode = QStringLiteral("Washer();");
        c.functions = [inputs](const QString& name, unsigned long bits) -> std::optional<qint64> {
            const qsizetype k = inputs.indexOf(name);
            if (k < 0)
                return std::nullopt;
            return qint64((bits >> k) & 1UL);
        };
        c.includeDirs << QStringLiteral(ORVANE_SOURCE_DIR "/examples/washer");
        out.push_back(c);
    }
    for (const quint32 seed : {7u, 21u, 1234u, 98765u}) {
        AgreementCase c;
        c.name = "random" + std::to_string(seed);
        c.documents = {randomMachine(seed)};
        c.declarations = QStringLiteral("extern int i0, i1, i2;\nvoid Random%1(void);\n").arg(seed);
        c.stepCode = QStringLiteral("i0 = (int)(in_bits & 7UL); i1 = (int)((in_bits >> 3) & 7UL); "
                                    "i2 = (int)((in_bits >> 6) & 1UL); Random%1();")
                         .arg(seed);
        c.setInputs = [](Simulator& s, unsigned long bits) {
            s.setVariable(QStringLiteral("i0"), qint64(bits & 7UL));
            s.setVariable(QStringLiteral("i1"), qint64((bits >> 3) & 7UL));
            s.setVariable(QStringLiteral("i2"), qint64((bits >> 6) & 1UL));
        };
        out.push_back(c);
    }
    return out;
}

QString driverText(const AgreementCase& c)
{
    return QStringLiteral("#include <stdio.h>\nunsigned long in_bits;\n") + c.declarations
           + QStringLiteral("int main(void)\n{\n    unsigned long seed = 12345UL;\n    int step;\n"
                            "    for (step = 0; step < %1; ++step) {\n"
                            "        seed = (seed * 1103515245UL + 12345UL) & 0x7fffffffUL;\n"
                            "        in_bits = (seed >> 4) & 0xfffUL;\n        ")
                 .arg(kAgreementSteps)
           + c.stepCode + QStringLiteral("\n    }\n    return 0;\n}\n");
}

// What the simulator did over the inputs of the driver.
struct Simulated {
    QString trace;
    std::set<std::tuple<int, int, int>> fired;  // machine, state, transition rank
    std::set<std::pair<int, int>> reached;      // machine, state
};

Simulated simulate(const AgreementCase& c)
{
    std::vector<Machine> machines;
    for (const auto& doc : c.documents)
        machines.push_back(Machine::read(*doc));
    Simulator sim(std::move(machines));
    sim.addDeclaredVariables();
    unsigned long bits = 0;
    sim.setOracle([&sim, &bits, &c](const Question& q) -> std::optional<bool> {
        if (!c.functions)
            return std::nullopt;
        const ExpressionEvaluator e(
            [&sim](const QString& name) -> std::optional<qint64> {
                if (!sim.variables().contains(name))
                    return std::nullopt;
                return sim.variables().value(name);
            },
            [&c, &bits](const QString& name, const QList<qint64>&) {
                return c.functions(name, bits);
            });
        return e.condition(q.condition);
    });
    Inputs inputs;
    Simulated out;
    QString& trace = out.trace;
    for (int step = 0; step < kAgreementSteps; ++step) {
        bits = inputs.next();
        if (c.setInputs)
            c.setInputs(sim, bits);
        const Simulator::StepResult r = sim.step();
        if (r != Simulator::StepResult::Stepped) {
            trace += QStringLiteral("<stopped: %1>\n")
                         .arg(sim.question() ? sim.question()->condition : QStringLiteral("?"));
            break;
        }
        for (const Simulation::TraceLine& line : sim.steps().back().trace) {
            trace += QStringLiteral("orvane-trace %1 %2 %3\n")
                         .arg(line.machine, line.state)
                         .arg(line.transition);
            const int m = sim.machineIndex(line.machine);
            out.reached.insert({m, sim.machines()[size_t(m)].initial});
        }
        for (const Simulation::FiredTransition& f : sim.steps().back().fired) {
            out.fired.insert({f.machine, f.state, f.transition});
            const auto& t = sim.machines()[size_t(f.machine)]
                                .states[size_t(f.state)]
                                .transitions[size_t(f.transition)];
            out.reached.insert({f.machine, t.target});
        }
    }
    return out;
}

QString simulatedTrace(const AgreementCase& c) { return simulate(c).trace; }

// Replaying the program's own trace covers exactly what the run did: every
// transition it fired and every state it reached, and nothing else.
void expectReplayCovers(const AgreementCase& c, const QString& programOutput)
{
    const Simulated expected = simulate(c);
    std::vector<Machine> machines;
    for (const auto& doc : c.documents)
        machines.push_back(Machine::read(*doc));
    Simulation::TraceReplay replay(std::move(machines));
    const auto entries = Simulation::parseTrace(programOutput.toUtf8());
    EXPECT_EQ(replay.applyAll(entries), int(entries.size()));
    EXPECT_FALSE(replay.misfit()) << replay.misfit()->text.toStdString();
    for (size_t m = 0; m < replay.coverage().size(); ++m) {
        const auto& cov = replay.coverage()[m];
        for (size_t s = 0; s < cov.stateVisits.size(); ++s) {
            EXPECT_EQ(cov.stateVisits[s] > 0, expected.reached.count({int(m), int(s)}) > 0)
                << "machine " << m << " state " << s;
            for (size_t t = 0; t < cov.transitionFires[s].size(); ++t)
                EXPECT_EQ(cov.transitionFires[s][t] > 0,
                          expected.fired.count({int(m), int(s), int(t)}) > 0)
                    << "machine " << m << " state " << s << " transition " << t;
        }
    }
    EXPECT_EQ(replay.transitionsFired(), int(expected.fired.size()));
}

class SimulationAgreement : public GccTest<Methodology> {};
class SimulationAgreementHierarchical : public GccTest<int> {};

TEST_P(SimulationAgreement, SimulatorAndCompiledCodeStepAlike)
{
    const Methodology style = GetParam();
    for (const AgreementCase& c : cases()) {
        SCOPED_TRACE(c.name);
        for (const auto& doc : c.documents)
            ASSERT_TRUE(doc) << "cannot open the example";
        const QString work = dir.filePath(QString::fromStdString(c.name));
        ASSERT_TRUE(QDir().mkpath(work));
        QStringList sources{QStringLiteral("driver.c")};
        for (size_t i = 0; i < c.documents.size(); ++i) {
            FsmDocument& doc = *c.documents[i];
            prepare(doc, i == 0 ? c.includes : QString());
            RecordingMessenger messenger;
            const Generated g = FlatGenerators::generate(style, doc, DiskChildren(), messenger);
            ASSERT_TRUE(g) << messenger.texts.join(u'\n').toStdString();
            const QString name = machineConfig(doc.diagram()).name;
            writeTextFile(work + u'/' + name + QStringLiteral(".c"), g->code);
            writeTextFile(work + u'/' + name + QStringLiteral(".h"), g->header);
            sources << name + QStringLiteral(".c");
        }
        writeTextFile(work + QStringLiteral("/driver.c"), driverText(c));
        QStringList args{QStringLiteral("-std=c99"), QStringLiteral("-Wall"),
                         QStringLiteral("-DFSM_DEBUG"), QStringLiteral("-I") + work};
        for (const QString& include : c.includeDirs)
            args << QStringLiteral("-I") + include;
        args << sources << QStringLiteral("-o") << QStringLiteral("machine");
        const ProcessResult built = runProcess(gcc, args, work);
        ASSERT_TRUE(built.ok) << built.output.toStdString();
        const ProcessResult run = runProcess(work + QStringLiteral("/machine"), {}, work);
        ASSERT_TRUE(run.ok) << run.output.toStdString();
        ASSERT_GE(run.output.count(QStringLiteral("\n")), kAgreementSteps);
        EXPECT_EQ(traceDifference(simulatedTrace(c), run.output), std::string());
        expectReplayCovers(c, run.output);
    }
}

// The washer tree as one hierarchical module: children called from the
// states, restarted on leaving them, the door keeping its history.
TEST_F(SimulationAgreementHierarchical, WasherTreeStepsAlike)
{
    AgreementCase c;
    for (AgreementCase& k : cases())
        if (k.name == "washer")
            c = k;
    FileChildSource source;
    source.adjust = [](FsmDocument& doc) { prepare(doc, QString()); };
    FsmDocument* top = source.top(QStringLiteral(ORVANE_SOURCE_DIR "/examples/washer/Washer.fsm"));
    ASSERT_TRUE(top);
    RecordingMessenger messenger;
    const Generated g = HierarchicalGenerator::generate(*top, source, messenger);
    ASSERT_TRUE(g) << messenger.texts.join(u'\n').toStdString();
    const QString work = dir.path();
    writeTextFile(work + QStringLiteral("/Washer.c"), g->code);
    writeTextFile(work + QStringLiteral("/Washer.h"), g->header);
    writeTextFile(work + QStringLiteral("/driver.c"), driverText(c));
    QStringList args{QStringLiteral("-std=c99"), QStringLiteral("-DFSM_DEBUG"),
                     QStringLiteral("-I") + work};
    for (const QString& include : c.includeDirs)
        args << QStringLiteral("-I") + include;
    args << QStringLiteral("driver.c") << QStringLiteral("Washer.c") << QStringLiteral("-o")
         << QStringLiteral("machine");
    const ProcessResult built = runProcess(gcc, args, work);
    ASSERT_TRUE(built.ok) << built.output.toStdString();
    const ProcessResult run = runProcess(work + QStringLiteral("/machine"), {}, work);
    ASSERT_TRUE(run.ok) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("orvane-trace Drum Right 1")));
    EXPECT_EQ(traceDifference(simulatedTrace(c), run.output), std::string());
    expectReplayCovers(c, run.output);
}

INSTANTIATE_TEST_SUITE_P(Styles, SimulationAgreement,
                         ::testing::Values(Methodology::SwitchCase, Methodology::PointerArray),
                         [](const auto& info) {
                             return info.param == Methodology::SwitchCase
                                        ? std::string("SwitchCase")
                                        : std::string("PointerArray");
                         });

}  // namespace
}  // namespace orvane::testing
