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
    return {QStringLiteral("in(%1)").arg(k), [k](unsigned long b, int) { return ((b >> k) & 1UL) != 0; }};
}

Condition Always()
{
    return {QString(), [](unsigned long, int) { return true; }};
}

struct TransitionSpec {
    int target;  // position in MachineSpec::states
    QString priority;
    Condition condition;
    QStringList action;
    bool internal = false;  // self transition flag "N"
};

struct StateSpec {
    QString name;
    qint32 kind = kNormal;
    QString index;
    QStringList entry, during, elseAction, exit;
    QString untracedDuring;  // C text after the traced during actions
    bool callsChild = false;
    bool isIn = false, goTo = false;
    std::vector<TransitionSpec> transitions;  // in out-link order
};

StateSpec NewState(const QString& name, qint32 kind, const QString& index)
{
    StateSpec s;
    s.name = name;
    s.kind = kind;
    s.index = index;
    return s;
}

TransitionSpec Tr(int target, const QString& priority, const Condition& condition,
                  const QStringList& action = {}, bool internal = false)
{
    TransitionSpec t;
    t.target = target;
    t.priority = priority;
    t.condition = condition;
    t.action = action;
    t.internal = internal;
    return t;
}

struct MachineSpec {
    QString name, params, init;
    QStringList before;
    bool afterActions = true;  // children have none
    bool tracesDebug = false;  // the after actions print the debug names
    std::vector<StateSpec> states;
};

QString Traced(const QStringList& tokens)
{
    QStringList lines;
    for (const QString& t : tokens)
        lines << QStringLiteral("T(\"%1\");").arg(t);
    return lines.join(kCrLf);
}

void Build(const MachineSpec& m, Diagram& d)
{
    DiagramBuilder b(d);
    std::vector<Node*> nodes;
    for (const StateSpec& s : m.states) {
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
        for (const TransitionSpec& t : m.states[i].transitions)
            b.transition(nodes[i], nodes[size_t(t.target)], t.priority, t.condition.c, Traced(t.action),
                         t.internal ? QStringLiteral("N") : QStringLiteral("Y"));
    GraphTexts g;
    g.name = m.name;
    g.params = m.params;
    g.init = m.init;
    g.before = Traced(m.before);
    if (m.afterActions)
        g.after = QStringLiteral("T(\"after\");\r\nif(Is_Next_State_Illegal()) T(\"illegal\");");
    if (m.tracesDebug)
        g.after += QStringLiteral("\r\n#if defined(FSM_DEBUG)\r\nTD(FSM_STATE_NAME(), FSM_TRANS_NUMBER());\r\n#endif");
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
    ReferenceModel(const MachineSpec& m, ReferenceModel* child) : m_m(m), m_child(child)
    {
        for (size_t i = 0; i < m.states.size(); ++i)
            if (m.states[i].kind == kInitial)
                m_initial = int(i);
        for (const StateSpec& s : m.states)
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
        trace << m_m.before;
        m_debugTrans = 0;
        const StateSpec& s = m_m.states[size_t(m_cur)];
        if (!s.entry.isEmpty() && !m_entryDone) {
            m_entryDone = true;
            trace << s.entry;
        }
        trace << s.during;
        if (s.callsChild)
            m_child->Step(a, bits, false, trace);
        std::vector<const TransitionSpec*> byPriority;
        for (const TransitionSpec& t : s.transitions)
            byPriority.push_back(&t);
        std::stable_sort(byPriority.begin(), byPriority.end(), [](auto* x, auto* y) {
            return x->priority.toDouble() < y->priority.toDouble();
        });
        bool fired = false;
        for (const TransitionSpec* t : byPriority) {
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
        if (m_m.afterActions) {
            trace << QStringLiteral("after");
            if (debugBuild && m_m.tracesDebug)
                trace << QStringLiteral("dbg %1 %2").arg(m_m.states[size_t(m_cur)].name).arg(m_debugTrans);
        }
    }

private:
    const MachineSpec& m_m;
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
MachineSpec Machine()
{
    MachineSpec m;
    m.name = QStringLiteral("Machine");
    m.params = QStringLiteral("int a, char *p");
    m.init = QStringLiteral("#include \"harness.h\"\r\n#include \"Child.h\"");
    m.before = {QStringLiteral("before")};
    m.tracesDebug = true;
    enum { Idle, Run, Fault, Sub, Done };
    StateSpec idle = NewState(QStringLiteral("Idle"), kInitial, QStringLiteral("10"));
    idle.entry = {QStringLiteral("Idle.en")};
    idle.during = {QStringLiteral("Idle.du")};
    idle.isIn = true;
    idle.transitions = {
        Tr(Run, QStringLiteral("1"),
           {QStringLiteral("in(0) &&\r\nin(1)"), [](unsigned long b, int) { return (b & 3UL) == 3UL; }},
           {QStringLiteral("go")}),
        Tr(Idle, QStringLiteral("3"), In(2), {QStringLiteral("again")}),
        Tr(Idle, QStringLiteral("2"),
           {QStringLiteral("a % 5 == 0 // every fifth"), [](unsigned long, int a) { return a % 5 == 0; }},
           {QStringLiteral("tick")}, true),
    };
    StateSpec run = NewState(QStringLiteral("Run"), kNormal, QStringLiteral("20"));
    run.during = {QStringLiteral("Run.du")};
    run.untracedDuring = QStringLiteral("p[0] = 'r';");
    run.exit = {QStringLiteral("Run.x1"), QStringLiteral("Run.x2"), QStringLiteral("Run.x3")};
    run.elseAction = {QStringLiteral("Run.el")};
    run.transitions = {
        Tr(Run, QStringLiteral("3"),
           {QStringLiteral("in(5) && in(6)"), [](unsigned long b, int) { return (b & 0x60UL) == 0x60UL; }},
           {QStringLiteral("rerun")}),
        Tr(Fault, QStringLiteral("1"), In(3), {QStringLiteral("fault"), QStringLiteral("fault2")}),
        Tr(Sub, QStringLiteral("2"),
           {QStringLiteral("in(4) ||\r\n   a == 7"),
            [](unsigned long b, int a) { return ((b >> 4) & 1UL) || a == 7; }}),
    };
    StateSpec fault = NewState(QStringLiteral("Fault"), kFinal, QStringLiteral("30"));
    fault.entry = {QStringLiteral("Fault.en")};
    fault.exit = {QStringLiteral("Fault.ex")};
    fault.goTo = true;
    fault.transitions = {Tr(Idle, QStringLiteral("1"), In(7))};
    StateSpec sub = NewState(QStringLiteral("Sub"), kSuper, QStringLiteral("40"));
    sub.during = {QStringLiteral("Sub.du")};
    sub.callsChild = true;
    sub.elseAction = {QStringLiteral("Sub.el")};
    sub.transitions = {
        Tr(Done, QStringLiteral("1"), In(8), {QStringLiteral("done")}),
        Tr(Sub, QStringLiteral("2"), In(9), {QStringLiteral("stay")}, true),
    };
    StateSpec done = NewState(QStringLiteral("Done"), kFinal, QStringLiteral("50"));
    done.entry = {QStringLiteral("Done.en")};
    done.transitions = {Tr(Idle, QStringLiteral("1"), Always(), {QStringLiteral("restart")})};
    m.states = {idle, run, fault, sub, done};
    return m;
}

MachineSpec Child()
{
    MachineSpec m;
    m.name = QStringLiteral("Child");
    m.init = QStringLiteral("#include \"harness.h\"");
    m.afterActions = false;
    StateSpec ca = NewState(QStringLiteral("CA"), kInitial, QStringLiteral("1"));
    ca.during = {QStringLiteral("C.A")};
    ca.transitions = {Tr(1, QStringLiteral("1"), In(10))};
    StateSpec cb = NewState(QStringLiteral("CB"), kNormal, QStringLiteral("2"));
    cb.entry = {QStringLiteral("C.en")};
    cb.during = {QStringLiteral("C.B")};
    cb.transitions = {Tr(0, QStringLiteral("1"), In(11), {QStringLiteral("C.back")})};
    m.states = {ca, cb};
    return m;
}

// 300 states in a ring: wide constants and an unsigned int index.
MachineSpec Ring()
{
    MachineSpec m;
    m.name = QStringLiteral("Ring");
    m.params = QStringLiteral("int a");
    m.init = QStringLiteral("#include \"harness.h\"");
    m.tracesDebug = true;
    const int n = 300;
    for (int i = 0; i < n; ++i) {
        StateSpec s = NewState(QStringLiteral("S%1").arg(i + 1),
                               i == 0 ? kInitial : (i == n - 1 ? kFinal : kNormal), QString::number(i + 1));
        if (i % 5 == 0) {
            s.entry = {s.name + QStringLiteral(".en")};
            s.exit = {s.name + QStringLiteral(".ex")};
        }
        if (i == 1)
            s.isIn = true;
        if (i == 2)
            s.goTo = true;
        s.transitions = {
            Tr((i + 1) % n, QStringLiteral("1"), In(i % 12)),
            Tr(0, QStringLiteral("2"),
               {QStringLiteral("a % 7 == 0"), [](unsigned long, int a) { return a % 7 == 0; }},
               {QStringLiteral("back")}),
        };
        m.states.push_back(s);
    }
    return m;
}

enum class Style { SwitchCase, Pointers, PointerArray };

struct Config {
    const char* label;
    bool FI, FE, HF, DI, AC, PT;
    bool debugBuild;  // -DFSM_DEBUG
};

void PrintTo(const Config& c, std::ostream* os)
{
    *os << c.label;
}

int FirstState(const MachineSpec& m, bool StateSpec::*flag)
{
    for (size_t i = 0; i < m.states.size(); ++i)
        if (m.states[i].*flag)
            return int(i);
    return -1;
}

constexpr int kSteps = 3000;

QString DriverSource(const MachineSpec& m, bool withChild)
{
    const int isIn = FirstState(m, &StateSpec::isIn);
    const int goTo = FirstState(m, &StateSpec::goTo);
    QString s;
    s += QStringLiteral("#include <stdio.h>\n#include \"harness.h\"\n#include \"%1.h\"\n").arg(m.name);
    if (withChild)
        s += QStringLiteral("#include \"Child.h\"\n");
    s += QStringLiteral(
        "unsigned long in_bits;\n"
        "void T(const char* s) { printf(\"%s\\n\", s); }\n"
        "void TD(const char* s, int n) { printf(\"dbg %s %d\\n\", s, n); }\n"
        "int main(void)\n{\n"
        "    unsigned long seed = 12345UL;\n    char buf[4];\n    int step;\n"
        "    for (step = 0; step < STEPS; ++step) {\n"
        "        seed = (seed * 1103515245UL + 12345UL) & 0x7fffffffUL;\n"
        "        in_bits = (seed >> 4) & 0xfffUL;\n"
        "        printf(\"step %d\\n\", step);\n");
    s += m.params.isEmpty() ? QStringLiteral("        %1();\n").arg(m.name)
         : m.params.contains(u',') ? QStringLiteral("        %1(step, buf);\n").arg(m.name)
                                   : QStringLiteral("        %1(step);\n").arg(m.name);
    s += QStringLiteral("        if (step % 37 == 5) printf(\"isin %d\\n\", (int)%1_IsIn_%2());\n")
             .arg(m.name, m.states[size_t(isIn)].name);
    s += QStringLiteral("        if (step % 53 == 7) { %1_Goto_%2(); printf(\"goto\\n\"); }\n")
             .arg(m.name, m.states[size_t(goTo)].name);
    s += QStringLiteral("#ifdef HAS_INIT\n        if (step % 97 == 50) { %1_Init(); printf(\"init\\n\"); }\n#endif\n"
                        "#ifdef HAS_END\n        if (step % 11 == 3) printf(\"end %d\\n\", (int)%1_End());\n#endif\n")
             .arg(m.name);
    s += QStringLiteral("        (void)buf;\n    }\n    return 0;\n}\n");
    return s;
}

QString ExpectedTrace(const MachineSpec& m, const MachineSpec* child, const Config& c)
{
    std::unique_ptr<ReferenceModel> childModel;
    if (child)
        childModel = std::make_unique<ReferenceModel>(*child, nullptr);
    ReferenceModel model(m, childModel.get());
    const int isIn = FirstState(m, &StateSpec::isIn);
    const int goTo = FirstState(m, &StateSpec::goTo);
    const bool hasInit = !(c.HF && !c.FI);
    QStringList trace;
    unsigned long seed = 12345UL;
    for (int step = 0; step < kSteps; ++step) {
        seed = (seed * 1103515245UL + 12345UL) & 0x7fffffffUL;
        const unsigned long bits = (seed >> 4) & 0xfffUL;
        trace << QStringLiteral("step %1").arg(step);
        model.Step(step, bits, c.debugBuild && c.DI, trace);
        if (step % 37 == 5)
            trace << QStringLiteral("isin %1").arg(model.IsIn(isIn) ? 1 : 0);
        if (step % 53 == 7) {
            model.Goto(goTo);
            trace << QStringLiteral("goto");
        }
        if (hasInit && step % 97 == 50) {
            model.Init();
            trace << QStringLiteral("init");
        }
        if (c.FE && step % 11 == 3)
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

QString Generate(Style s, const Diagram& d, const QString& path, const Config& c, bool childHistory)
{
    RecordingMessenger m;
    const bool HF = childHistory ? false : c.HF;
    switch (s) {
    case Style::SwitchCase:
        return modC_CodeGen::GenerateCodeSwitchCase(d, path, c.FI, c.FE, HF, c.DI, c.AC, c.PT, m);
    case Style::Pointers:
        return modC_CodeGen::GenerateCodePointers(d, path, c.FI, c.FE, HF, c.DI, c.AC, c.PT, m);
    case Style::PointerArray:
        return modC_CodeGen::GenerateCodePointerArray(d, path, c.FI, c.FE, HF, c.DI, c.AC, c.PT, m);
    }
    return {};
}

const char* StyleName(Style s)
{
    return s == Style::SwitchCase ? "switchcase" : s == Style::Pointers ? "pointers" : "pointerarray";
}

QStringList WarningFlags(Style s, const Config& c, const QString& standard)
{
    QStringList f{QStringLiteral("-std=") + standard, QStringLiteral("-Wall"), QStringLiteral("-Wextra"),
                  QStringLiteral("-pedantic"), QStringLiteral("-Werror")};
    if (s != Style::SwitchCase)
        f << QStringLiteral("-Wno-unused-parameter") << QStringLiteral("-Wno-unused-function");
    if (s == Style::PointerArray)
        f << QStringLiteral("-Wno-unknown-pragmas");
    if (c.DI)
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
    QString BuildAndRun(Style s, const MachineSpec& m, const MachineSpec* child, const Config& c)
    {
        const QString work = dir.filePath(QLatin1String(StyleName(s)) + u'-' + m.name);
        QDir().mkpath(work);
        QStringList objects;
        const QStringList standards = c.AC ? QStringList{QStringLiteral("c89"), QStringLiteral("c99")}
                                           : QStringList{QStringLiteral("c99")};
        auto generate = [&](const MachineSpec& spec, const QString& docPath, bool isChild) -> bool {
            Diagram d;
            Build(spec, d);
            const CodeAndHeader parts = Split(Generate(s, d, docPath, c, isChild));
            EXPECT_TRUE(parts.ok) << spec.name.toStdString();
            if (!parts.ok)
                return false;
            WriteFile(work + u'/' + spec.name + QStringLiteral(".c"), parts.code);
            WriteFile(work + u'/' + spec.name + QStringLiteral(".h"), parts.header);
            for (const QString& standard : standards) {
                QStringList args = WarningFlags(s, c, standard);
                args << QStringLiteral("-I") + dir.path() << QStringLiteral("-c") << spec.name + QStringLiteral(".c")
                     << QStringLiteral("-o") << spec.name + u'-' + standard + QStringLiteral(".o");
                const ProcessResult r = RunProcess(gcc, args, work);
                EXPECT_TRUE(r.ok) << StyleName(s) << " -std=" << standard.toStdString() << "\n"
                                  << r.output.toStdString();
                if (!r.ok)
                    return false;
            }
            objects << spec.name + u'-' + standards.first() + QStringLiteral(".o");
            return true;
        };
        // The child diagram must exist in the parent's child folder to be found.
        const QString parentPath = dir.filePath(m.name + QStringLiteral(".fsm"));
        if (child) {
            const QString childFolder = dir.filePath(m.name);
            QDir().mkpath(childFolder);
            const QString childPath = childFolder + QStringLiteral("/Child.fsm");
            WriteFile(childPath, QStringLiteral("{}"));
            if (!generate(*child, childPath, true))
                return {};
        }
        if (!generate(m, parentPath, false))
            return {};
        WriteFile(work + QStringLiteral("/driver.c"), DriverSource(m, child != nullptr));
        QStringList args{QStringLiteral("-std=c99"), QStringLiteral("-Wall"), QStringLiteral("-Wextra"),
                         QStringLiteral("-pedantic"), QStringLiteral("-Werror"),
                         QStringLiteral("-DSTEPS=%1").arg(kSteps), QStringLiteral("-I") + dir.path()};
        if (!(c.HF && !c.FI))
            args << QStringLiteral("-DHAS_INIT");
        if (c.FE)
            args << QStringLiteral("-DHAS_END");
        args << QStringLiteral("driver.c") << objects << QStringLiteral("-o") << QStringLiteral("machine");
        const ProcessResult link = RunProcess(gcc, args, work);
        EXPECT_TRUE(link.ok) << link.output.toStdString();
        if (!link.ok)
            return {};
        const ProcessResult run = RunProcess(work + QStringLiteral("/machine"), {}, work);
        EXPECT_TRUE(run.ok) << run.output.toStdString();
        return run.output;
    }

    void CheckAllStyles(const MachineSpec& m, const MachineSpec* child)
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
    const MachineSpec child = Child();
    CheckAllStyles(Machine(), &child);
}

TEST_P(CompileAndRun, ThreeHundredStateRingBehavesAlikeInEveryMethodology)
{
    CheckAllStyles(Ring(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Options, CompileAndRun,
    ::testing::Values(Config{"all_on_debug", true, true, false, true, false, true, true},
                      Config{"debug_info_without_debug_build", true, true, false, true, false, true, false},
                      Config{"ansi_comments", false, true, false, true, true, true, true},
                      Config{"history_without_init", false, false, true, false, false, false, false}),
    [](const ::testing::TestParamInfo<Config>& info) { return std::string(info.param.label); });

}  // namespace
