// The generated modules compiled with gcc, strict warnings as errors, linked
// with a small driver that feeds varied inputs for many steps. Every action
// prints a token; the printed trace must equal the trace of a reference
// model of the machine, in every methodology.

#include "CodegenTestSupport.h"
#include "modC_CodeGen.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>

using namespace orvane;
using namespace orvane::testing;

namespace {

constexpr qint32 kNormal = 0x2000, kInitial = 0x4000, kFinal = 0x8000, kSuper = 0x10000;
const QString kCrLf = QStringLiteral("\r\n");

// A condition as C text and as the reference model evaluates it.
struct Condition {
    QString c;
    std::function<bool(unsigned long bits, int a)> eval;
};

Condition In(int k)
{
    return {QStringLiteral("in(%1)").arg(k),
            [k](unsigned long b, int) { return ((b >> k) & 1UL) != 0; }};
}

Condition Always()
{
    return {QString(), [](unsigned long, int) { return true; }};
}

struct TransitionDef {
    int target;  // position in MachineDef::states
    QString priority;
    Condition condition;
    QStringList action;
    bool internal = false;  // self transition flag "N"
};

struct StateDef {
    QString name;
    qint32 kind = kNormal;
    QString index;
    QStringList entry, during, elseAction, exit;
    QString untracedDuring;  // C text after the traced during actions
    bool callsChild = false;
    bool isIn = false, goTo = false;
    std::vector<TransitionDef> transitions;  // in out-link order
};

StateDef NewState(const QString& name, qint32 kind, const QString& index)
{
    StateDef s;
    s.name = name;
    s.kind = kind;
    s.index = index;
    return s;
}

TransitionDef Tr(int target, const QString& priority, const Condition& condition,
                 const QStringList& action = {}, bool internal = false)
{
    TransitionDef t;
    t.target = target;
    t.priority = priority;
    t.condition = condition;
    t.action = action;
    t.internal = internal;
    return t;
}

struct MachineDef {
    QString name, params, init;
    bool top = true;  // before and after actions; a child has none
    std::vector<StateDef> states;
};

QString Traced(const QStringList& tokens)
{
    QStringList lines;
    for (const QString& t : tokens)
        lines << QStringLiteral("T(\"%1\");").arg(t);
    return lines.join(kCrLf);
}

void Build(const MachineDef& m, Diagram& d)
{
    DiagramBuilder b(d);
    std::vector<Node*> nodes;
    for (const StateDef& s : m.states) {
        StateTexts t;
        t.entry = Traced(s.entry);
        t.during = Traced(s.during);
        if (s.callsChild)
            t.during += kCrLf + QStringLiteral("Child();");
        if (!s.untracedDuring.isEmpty())
            t.during += kCrLf + s.untracedDuring;
        t.elseAction = Traced(s.elseAction);
        t.exit = Traced(s.exit);
        t.isIn = s.isIn ? QStringLiteral("Y") : QStringLiteral("N");
        t.goTo = s.goTo ? QStringLiteral("Y") : QStringLiteral("N");
        nodes.push_back(b.state(s.name, s.kind, s.index, t));
    }
    for (size_t i = 0; i < m.states.size(); ++i)
        for (const TransitionDef& t : m.states[i].transitions)
            b.transition(nodes[i], nodes[size_t(t.target)], t.priority, t.condition.c,
                         Traced(t.action), t.internal ? QStringLiteral("N") : QStringLiteral("Y"));
    GraphTexts g;
    g.name = m.name;
    g.params = m.params;
    g.init = m.init;
    if (m.top) {
        g.before = QStringLiteral("T(\"before\");");
        g.after = QStringLiteral(
            "T(\"after\");\r\nif(Is_Next_State_Illegal()) T(\"illegal\");\r\n"
            "#if defined(FSM_DEBUG)\r\nTD(FSM_STATE_NAME(), FSM_TRANS_NUMBER());\r\n#endif");
    }
    g.moduleHeader = QStringLiteral("Generated for a test /* with marks */");
    g.functionHeader = QStringLiteral("Called once per step.");
    g.ending = QStringLiteral("/* end */");
    g.defaultCode = QStringLiteral("T(\"bad index\");\r\nbreak;");
    b.config(g);
    b.remark(QStringLiteral("A remark // with slashes\r\nand a */ mark"));
}

// What the generated code does, step by step, written independently of it.
class ReferenceModel {
  public:
    ReferenceModel(const MachineDef& m, ReferenceModel* child) : m_m(m), m_child(child)
    {
        for (size_t i = 0; i < m.states.size(); ++i)
            if (m.states[i].kind == kInitial)
                m_initial = int(i);
        for (const StateDef& s : m.states)
            m_anyEntry = m_anyEntry || !s.entry.isEmpty();
        Init();
    }

    void Init()
    {
        m_cur = m_initial;
        m_entryDone = false;
        m_debugTrans = 0;
    }

    void Goto(int s)
    {
        m_cur = s;
        if (m_anyEntry)
            m_entryDone = false;
        m_debugTrans = 0;
    }

    bool IsIn(int s) const { return m_cur == s; }
    bool End() const { return m_m.states[size_t(m_cur)].kind == kFinal; }

    void Step(int a, unsigned long bits, bool debugBuild, QStringList& trace)
    {
        if (m_m.top)
            trace << QStringLiteral("before");
        m_debugTrans = 0;
        const StateDef& s = m_m.states[size_t(m_cur)];
        if (!s.entry.isEmpty() && !m_entryDone) {
            m_entryDone = true;
            trace << s.entry;
        }
        trace << s.during;
        if (s.callsChild)
            m_child->Step(a, bits, false, trace);
        std::vector<const TransitionDef*> byPriority;
        for (const TransitionDef& t : s.transitions)
            byPriority.push_back(&t);
        std::stable_sort(byPriority.begin(), byPriority.end(), [](auto* x, auto* y) {
            return x->priority.toDouble() < y->priority.toDouble();
        });
        bool fired = false;
        for (const TransitionDef* t : byPriority) {
            if (!t->condition.eval(bits, a))
                continue;
            const bool internal = t->internal && t->target == m_cur;
            if (!internal && s.callsChild)
                m_child->Init();
            if (!internal)
                trace << s.exit;
            trace << t->action;
            m_debugTrans = t->priority.toInt();
            if (!s.entry.isEmpty() && !internal)
                m_entryDone = false;
            m_cur = t->target;
            fired = true;
            break;
        }
        if (!fired)
            trace << s.elseAction;
        if (m_m.top)
            trace << QStringLiteral("after");
        if (m_m.top && debugBuild)
            trace << QStringLiteral("dbg %1 %2")
                         .arg(m_m.states[size_t(m_cur)].name)
                         .arg(m_debugTrans);
    }

  private:
    const MachineDef& m_m;
    ReferenceModel* m_child;
    int m_initial = 0;
    int m_cur = 0;
    bool m_entryDone = false;
    bool m_anyEntry = false;
    int m_debugTrans = 0;
};

// The machine under test: every kind of state, entry and exit actions inline
// and as a function, internal and normal self transitions, multi-line
// conditions (one ending in a comment), else actions, a child machine.
MachineDef Machine()
{
    MachineDef m;
    m.name = QStringLiteral("Machine");
    m.params = QStringLiteral("int a, char *p");
    m.init = QStringLiteral("#include \"harness.h\"\r\n#include \"Child.h\"");
    enum { Idle, Run, Fault, Sub, Done };
    StateDef idle = NewState(QStringLiteral("Idle"), kInitial, QStringLiteral("10"));
    idle.entry = {QStringLiteral("Idle.en")};
    idle.during = {QStringLiteral("Idle.du")};
    idle.isIn = true;
    idle.transitions = {
        Tr(Run, QStringLiteral("1"),
           {QStringLiteral("in(0) &&\r\nin(1)"),
            [](unsigned long b, int) { return (b & 3UL) == 3UL; }},
           {QStringLiteral("go")}),
        Tr(Idle, QStringLiteral("3"), In(2), {QStringLiteral("again")}),
        Tr(Idle, QStringLiteral("2"),
           {QStringLiteral("a % 5 == 0 // every fifth"),
            [](unsigned long, int a) { return a % 5 == 0; }},
           {QStringLiteral("tick")}, true),
    };
    StateDef run = NewState(QStringLiteral("Run"), kNormal, QStringLiteral("20"));
    run.during = {QStringLiteral("Run.du")};
    run.untracedDuring = QStringLiteral("p[0] = 'r';");
    run.exit = {QStringLiteral("Run.x1"), QStringLiteral("Run.x2"), QStringLiteral("Run.x3")};
    run.elseAction = {QStringLiteral("Run.el")};
    run.transitions = {
        Tr(Run, QStringLiteral("3"),
           {QStringLiteral("in(5) && in(6)"),
            [](unsigned long b, int) { return (b & 0x60UL) == 0x60UL; }},
           {QStringLiteral("rerun")}),
        Tr(Fault, QStringLiteral("1"), In(3), {QStringLiteral("fault"), QStringLiteral("fault2")}),
        Tr(Sub, QStringLiteral("2"),
           {QStringLiteral("in(4) ||\r\n   a == 7"),
            [](unsigned long b, int a) { return ((b >> 4) & 1UL) || a == 7; }}),
    };
    StateDef fault = NewState(QStringLiteral("Fault"), kFinal, QStringLiteral("30"));
    fault.entry = {QStringLiteral("Fault.en")};
    fault.exit = {QStringLiteral("Fault.ex")};
    fault.goTo = true;
    fault.transitions = {Tr(Idle, QStringLiteral("1"), In(7))};
    StateDef sub = NewState(QStringLiteral("Sub"), kSuper, QStringLiteral("40"));
    sub.during = {QStringLiteral("Sub.du")};
    sub.callsChild = true;
    sub.elseAction = {QStringLiteral("Sub.el")};
    sub.transitions = {
        Tr(Done, QStringLiteral("1"), In(8), {QStringLiteral("done")}),
        Tr(Sub, QStringLiteral("2"), In(9), {QStringLiteral("stay")}, true),
    };
    StateDef done = NewState(QStringLiteral("Done"), kFinal, QStringLiteral("50"));
    done.entry = {QStringLiteral("Done.en")};
    done.transitions = {Tr(Idle, QStringLiteral("1"), Always(), {QStringLiteral("restart")})};
    m.states = {idle, run, fault, sub, done};
    return m;
}

MachineDef Child()
{
    MachineDef m;
    m.name = QStringLiteral("Child");
    m.init = QStringLiteral("#include \"harness.h\"");
    m.top = false;
    StateDef ca = NewState(QStringLiteral("CA"), kInitial, QStringLiteral("1"));
    ca.during = {QStringLiteral("C.A")};
    ca.transitions = {Tr(1, QStringLiteral("1"), In(10))};
    StateDef cb = NewState(QStringLiteral("CB"), kNormal, QStringLiteral("2"));
    cb.entry = {QStringLiteral("C.en")};
    cb.during = {QStringLiteral("C.B")};
    cb.transitions = {Tr(0, QStringLiteral("1"), In(11), {QStringLiteral("C.back")})};
    m.states = {ca, cb};
    return m;
}

struct Config {
    const char* label;
    Opts opts;
    bool debugBuild;  // -DFSM_DEBUG
};

void PrintTo(const Config& c, std::ostream* os)
{
    *os << c.label;
}

constexpr int kSteps = 3000;
enum { kIdle = 0, kFault = 2 };  // the states the driver tests and forces

const char* const kDriver = R"(#include <stdio.h>
#include "harness.h"
#include "Machine.h"
#include "Child.h"
unsigned long in_bits;
void T(const char* s) { printf("%s\n", s); }
void TD(const char* s, int n) { printf("dbg %s %d\n", s, n); }
int main(void)
{
    unsigned long seed = 12345UL;
    char buf[4];
    int step;
    for (step = 0; step < STEPS; ++step) {
        seed = (seed * 1103515245UL + 12345UL) & 0x7fffffffUL;
        in_bits = (seed >> 4) & 0xfffUL;
        printf("step %d\n", step);
        Machine(step, buf);
        if (step % 37 == 5) printf("isin %d\n", (int)Machine_IsIn_Idle());
        if (step % 53 == 7) { Machine_Goto_Fault(); printf("goto\n"); }
#ifdef HAS_INIT
        if (step % 97 == 50) { Machine_Init(); printf("init\n"); }
#endif
#ifdef HAS_END
        if (step % 11 == 3) printf("end %d\n", (int)Machine_End());
#endif
    }
    return 0;
}
)";

QString ExpectedTrace(const MachineDef& m, const MachineDef& child, const Config& c)
{
    ReferenceModel childModel(child, nullptr);
    ReferenceModel model(m, &childModel);
    const bool hasInit = !(c.opts.HF && !c.opts.FI);
    QStringList trace;
    unsigned long seed = 12345UL;
    for (int step = 0; step < kSteps; ++step) {
        seed = (seed * 1103515245UL + 12345UL) & 0x7fffffffUL;
        const unsigned long bits = (seed >> 4) & 0xfffUL;
        trace << QStringLiteral("step %1").arg(step);
        model.Step(step, bits, c.debugBuild && c.opts.DI, trace);
        if (step % 37 == 5)
            trace << QStringLiteral("isin %1").arg(model.IsIn(kIdle) ? 1 : 0);
        if (step % 53 == 7) {
            model.Goto(kFault);
            trace << QStringLiteral("goto");
        }
        if (hasInit && step % 97 == 50) {
            model.Init();
            trace << QStringLiteral("init");
        }
        if (c.opts.FE && step % 11 == 3)
            trace << QStringLiteral("end %1").arg(model.End() ? 1 : 0);
    }
    return trace.join(u'\n') + u'\n';
}

struct ProcessResult {
    bool ok = false;
    QString output;
};

ProcessResult RunProcess(const QString& program, const QStringList& args, const QString& dir)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.start(program, args);
    ProcessResult r;
    if (!p.waitForStarted(30000) || !p.waitForFinished(120000))
        return r;
    r.output = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError());
    r.ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!r.ok)
        r.output += err;
    return r;
}

void WriteFile(const QString& path, const QString& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

const char* StyleName(Style s)
{
    return s == Style::SwitchCase ? "switchcase"
           : s == Style::Pointers ? "pointers"
                                  : "pointerarray";
}

QStringList WarningFlags(Style s, const Config& c, const QString& standard)
{
    QStringList f{QStringLiteral("-std=") + standard, QStringLiteral("-Wall"),
                  QStringLiteral("-Wextra"), QStringLiteral("-pedantic"),
                  QStringLiteral("-Werror")};
    if (s != Style::SwitchCase)
        f << QStringLiteral("-Wno-unused-parameter") << QStringLiteral("-Wno-unused-function");
    if (s == Style::PointerArray)
        f << QStringLiteral("-Wno-unknown-pragmas");
    if (c.opts.DI)
        f << QStringLiteral("-Wno-unused-variable");
    if (c.debugBuild)
        f << QStringLiteral("-DFSM_DEBUG");
    return f;
}

class CompileAndRun : public ::testing::TestWithParam<Config> {
  protected:
    void SetUp() override
    {
        gcc = QStandardPaths::findExecutable(QStringLiteral("gcc"));
        if (gcc.isEmpty())
            GTEST_SKIP() << "gcc is not installed";
        ASSERT_TRUE(dir.isValid());
        WriteFile(dir.filePath(QStringLiteral("harness.h")),
                  QStringLiteral("#ifndef HARNESS_H\n#define HARNESS_H\n"
                                 "extern unsigned long in_bits;\n"
                                 "void T(const char* s);\nvoid TD(const char* s, int n);\n"
                                 "#define in(k) ((in_bits >> (k)) & 1UL)\n#endif\n"));
    }

    // Generates, compiles, links and runs one machine in one methodology.
    QString BuildAndRun(Style s, const MachineDef& m, const MachineDef& child, const Config& c)
    {
        const QString work = dir.filePath(QLatin1String(StyleName(s)) + u'-' + m.name);
        QDir().mkpath(work);
        QStringList objects;
        const QStringList standards =
            c.opts.AC ? QStringList{QStringLiteral("c89"), QStringLiteral("c99")}
                      : QStringList{QStringLiteral("c99")};
        auto generate = [&](const MachineDef& def, const QString& docPath, bool isChild) -> bool {
            Diagram d;
            Build(def, d);
            // A child keeps no history, so that its parent's transitions restart it.
            Opts o = c.opts;
            o.HF = o.HF && !isChild;
            RecordingMessenger messenger;
            const CodeAndHeader parts = Split(Generate(s, d, docPath, o, messenger));
            EXPECT_TRUE(parts.ok) << def.name.toStdString();
            if (!parts.ok)
                return false;
            WriteFile(work + u'/' + def.name + QStringLiteral(".c"), parts.code);
            WriteFile(work + u'/' + def.name + QStringLiteral(".h"), parts.header);
            for (const QString& standard : standards) {
                QStringList args = WarningFlags(s, c, standard);
                args << QStringLiteral("-I") + dir.path() << QStringLiteral("-c")
                     << def.name + QStringLiteral(".c") << QStringLiteral("-o")
                     << def.name + u'-' + standard + QStringLiteral(".o");
                const ProcessResult r = RunProcess(gcc, args, work);
                EXPECT_TRUE(r.ok) << StyleName(s) << " -std=" << standard.toStdString() << "\n"
                                  << r.output.toStdString();
                if (!r.ok)
                    return false;
            }
            objects << def.name + u'-' + standards.first() + QStringLiteral(".o");
            return true;
        };
        // The child diagram must exist in the parent's child folder to be found.
        const QString parentPath = dir.filePath(m.name + QStringLiteral(".fsm"));
        const QString childPath = dir.filePath(m.name) + QStringLiteral("/Child.fsm");
        QDir().mkpath(dir.filePath(m.name));
        WriteFile(childPath, QStringLiteral("{}"));
        if (!generate(child, childPath, true) || !generate(m, parentPath, false))
            return {};
        WriteFile(work + QStringLiteral("/driver.c"), QString::fromUtf8(kDriver));
        QStringList args{QStringLiteral("-std=c99"),       QStringLiteral("-Wall"),
                         QStringLiteral("-Wextra"),        QStringLiteral("-pedantic"),
                         QStringLiteral("-Werror"),        QStringLiteral("-DSTEPS=%1").arg(kSteps),
                         QStringLiteral("-I") + dir.path()};
        if (!(c.opts.HF && !c.opts.FI))
            args << QStringLiteral("-DHAS_INIT");
        if (c.opts.FE)
            args << QStringLiteral("-DHAS_END");
        args << QStringLiteral("driver.c") << objects << QStringLiteral("-o")
             << QStringLiteral("machine");
        const ProcessResult link = RunProcess(gcc, args, work);
        EXPECT_TRUE(link.ok) << link.output.toStdString();
        if (!link.ok)
            return {};
        const ProcessResult run = RunProcess(work + QStringLiteral("/machine"), {}, work);
        EXPECT_TRUE(run.ok) << run.output.toStdString();
        return run.output;
    }

    void CheckAllStyles(const MachineDef& m, const MachineDef& child)
    {
        const Config& c = GetParam();
        const QString expected = ExpectedTrace(m, child, c);
        QStringList traces;
        for (const Style s : {Style::SwitchCase, Style::Pointers, Style::PointerArray}) {
            const QString trace = BuildAndRun(s, m, child, c);
            if (trace != expected) {
                const QStringList a = trace.split(u'\n');
                const QStringList e = expected.split(u'\n');
                qsizetype i = 0;
                while (i < a.size() && i < e.size() && a[i] == e[i])
                    ++i;
                ADD_FAILURE() << StyleName(s) << ": trace differs at line " << i + 1 << ": got ["
                              << (i < a.size() ? a[i].toStdString() : "<end>") << "], expected ["
                              << (i < e.size() ? e[i].toStdString() : "<end>") << "]";
            }
            traces << trace;
        }
        EXPECT_EQ(traces[0], traces[1]);
        EXPECT_EQ(traces[0], traces[2]);
    }

    QString gcc;
    QTemporaryDir dir;
};

TEST_P(CompileAndRun, MachineWithChildBehavesAlikeInEveryMethodology)
{
    CheckAllStyles(Machine(), Child());
}

INSTANTIATE_TEST_SUITE_P(
    Options, CompileAndRun,
    ::testing::Values(
        Config{"all_on_debug", {true, true, false, true, false, true}, true},
        Config{"debug_info_without_debug_build", {true, true, false, true, false, true}, false},
        Config{"ansi_comments", {false, true, false, true, true, true}, true},
        Config{"history_without_init", {false, false, true, false, false, false}, false}),
    [](const ::testing::TestParamInfo<Config>& info) { return std::string(info.param.label); });

}  // namespace
