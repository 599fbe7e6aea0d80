#pragma once
// What the compile-and-run tests share: machines described once, built as
// diagrams whose every action prints a token, a reference model that
// prints the tokens the machines must print, and running gcc and the
// programs it builds.

#include "CodegenTestSupport.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>

namespace orvane::testing {

constexpr qint32 kNormal = 0x2000, kInitial = 0x4000, kFinal = 0x8000, kSuper = 0x10000;

// A condition as C text and as the reference model evaluates it.
struct Condition {
    QString c;
    std::function<bool(unsigned long bits, int a)> eval;
};

inline Condition in(int k)
{
    return {QStringLiteral("in(%1)").arg(k),
            [k](unsigned long b, int) { return ((b >> k) & 1UL) != 0; }};
}

inline Condition always()
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

inline TransitionDef tr(int target, const QString& priority, const Condition& condition,
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

struct StateDef {
    QString name;
    qint32 kind = kNormal;
    QString index;
    QStringList entry, during, elseAction, exit;
    QString untracedDuring;        // C text after the traced during actions
    QStringList calls, elseCalls;  // child machines called ("Child();"), after the tokens
    bool isIn = false, goTo = false;
    std::vector<TransitionDef> transitions;  // in out-link order
};

inline StateDef newState(const QString& name, qint32 kind, const QString& index)
{
    StateDef s;
    s.name = name;
    s.kind = kind;
    s.index = index;
    return s;
}

struct MachineDef {
    QString name, params, init, ending;
    QString options;            // the generation options of the configuration record
    QStringList before, after;  // traced
    bool checkIllegal = false;  // the after actions use Is_Next_State_Illegal()
    bool traceDebug = false;    // the after actions print FSM_STATE_NAME(), FSM_TRANS_NUMBER()
    std::vector<StateDef> states;
};

inline const QString kCrLf = QStringLiteral("\r\n");

inline QString traced(const QStringList& tokens)
{
    QStringList lines;
    for (const QString& t : tokens)
        lines << QStringLiteral("T(\"%1\");").arg(t);
    return lines.join(kCrLf);
}

// The non-empty texts, one per line.
inline QString joinLines(const QStringList& parts)
{
    QStringList kept;
    for (const QString& p : parts)
        if (!p.isEmpty())
            kept << p;
    return kept.join(kCrLf);
}

inline QString afterText(const MachineDef& m)
{
    QStringList parts{traced(m.after)};
    if (m.checkIllegal)
        parts << QStringLiteral("if(Is_Next_State_Illegal()) T(\"illegal\");");
    if (m.traceDebug)
        parts << QStringLiteral(
            "#if defined(FSM_DEBUG)\r\nTD(FSM_STATE_NAME(), FSM_TRANS_NUMBER());\r\n#endif");
    return joinLines(parts);
}

inline void build(const MachineDef& m, Diagram& d)
{
    DiagramBuilder b(d);
    std::vector<Node*> nodes;
    for (const StateDef& s : m.states) {
        StateTexts t;
        t.entry = traced(s.entry);
        t.during = joinLines({traced(s.during), s.calls.join(kCrLf), s.untracedDuring});
        t.elseAction = joinLines({traced(s.elseAction), s.elseCalls.join(kCrLf)});
        t.exit = traced(s.exit);
        t.isIn = s.isIn ? QStringLiteral("Y") : QStringLiteral("N");
        t.goTo = s.goTo ? QStringLiteral("Y") : QStringLiteral("N");
        nodes.push_back(b.state(s.name, s.kind, s.index, t));
    }
    for (size_t i = 0; i < m.states.size(); ++i)
        for (const TransitionDef& t : m.states[i].transitions)
            b.transition(nodes[i], nodes[size_t(t.target)], t.priority, t.condition.c,
                         traced(t.action), t.internal ? QStringLiteral("N") : QStringLiteral("Y"));
    GraphTexts g;
    g.name = m.name;
    g.params = m.params;
    g.init = m.init;
    g.before = traced(m.before);
    g.after = afterText(m);
    g.moduleHeader = QStringLiteral("Generated for a test /* with marks */");
    g.functionHeader = QStringLiteral("Called once per step.");
    g.ending = m.ending;
    g.options = m.options;
    g.defaultCode = QStringLiteral("T(\"bad index\");\r\nbreak;");
    b.config(g);
    b.remark(QStringLiteral("A remark // with slashes\r\nand a */ mark"));
}

// What the generated code does, step by step, written independently of it.
class ReferenceModel {
public:
    // A history machine is left as it is when its parent restarts it.
    ReferenceModel(const MachineDef& m, bool history) : m_m(m), m_history(history)
    {
        for (size_t i = 0; i < m.states.size(); ++i)
            if (m.states[i].kind == kInitial)
                m_initial = int(i);
        for (const StateDef& s : m.states)
            m_anyEntry = m_anyEntry || !s.entry.isEmpty();
        init();
    }

    // The model of a child machine that this one calls by name.
    void connect(const QString& name, ReferenceModel* child) { m_children.insert(name, child); }

    void init()
    {
        m_cur = m_initial;
        m_entryDone = false;
        m_debugTrans = 0;
    }

    // What a parent does to this machine: Init and restart the children,
    // unless this machine keeps its history.
    void restart()
    {
        if (m_history)
            return;
        init();
        for (const StateDef& s : m_m.states)
            for (const QString& call : s.calls + s.elseCalls)
                child(call)->restart();
    }

    void gotoFunction(int s)
    {
        m_cur = s;
        if (m_anyEntry)
            m_entryDone = false;
        m_debugTrans = 0;
    }

    bool isIn(int s) const { return m_cur == s; }
    bool end() const { return m_m.states[size_t(m_cur)].kind == kFinal; }

    void step(int a, unsigned long bits, bool debugBuild, QStringList& trace)
    {
        trace << m_m.before;
        m_debugTrans = 0;
        const StateDef& s = m_m.states[size_t(m_cur)];
        if (!s.entry.isEmpty() && !m_entryDone) {
            m_entryDone = true;
            trace << s.entry;
        }
        trace << s.during;
        for (const QString& call : s.calls)
            child(call)->step(a, bits, debugBuild, trace);
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
            if (!internal) {
                for (const QString& call : s.calls + s.elseCalls)
                    child(call)->restart();
                trace << s.exit;
            }
            trace << t->action;
            m_debugTrans = t->priority.toInt();
            if (!s.entry.isEmpty() && !internal)
                m_entryDone = false;
            m_cur = t->target;
            fired = true;
            break;
        }
        if (!fired) {
            trace << s.elseAction;
            for (const QString& call : s.elseCalls)
                child(call)->step(a, bits, debugBuild, trace);
        }
        trace << m_m.after;
        if (m_m.traceDebug && debugBuild)
            trace << QStringLiteral("dbg %1 %2")
                         .arg(m_m.states[size_t(m_cur)].name)
                         .arg(m_debugTrans);
    }

private:
    // "Child(a);" calls the model connected as "Child".
    ReferenceModel* child(const QString& call) const
    {
        ReferenceModel* child = m_children.value(call.left(call.indexOf(u'(')));
        Q_ASSERT(child);
        return child;
    }

    const MachineDef& m_m;
    bool m_history;
    QHash<QString, ReferenceModel*> m_children;
    int m_initial = 0;
    int m_cur = 0;
    bool m_entryDone = false;
    bool m_anyEntry = false;
    int m_debugTrans = 0;
};

// The machine under test: every kind of state, entry and exit actions inline
// and as a function, internal and normal self transitions, multi-line
// conditions (one ending in a comment), else actions, a child machine.
inline MachineDef machine()
{
    MachineDef m;
    m.name = QStringLiteral("Machine");
    m.params = QStringLiteral("int a, char *p");
    m.init = QStringLiteral("#include \"harness.h\"\r\n#include \"Child.h\"");
    m.before = {QStringLiteral("before")};
    m.after = {QStringLiteral("after")};
    m.checkIllegal = true;
    m.traceDebug = true;
    m.ending = QStringLiteral("/* end */");
    enum { Idle, Run, Fault, Sub, Done };
    StateDef idle = newState(QStringLiteral("Idle"), kInitial, QStringLiteral("10"));
    idle.entry = {QStringLiteral("Idle.en")};
    idle.during = {QStringLiteral("Idle.du")};
    idle.isIn = true;
    idle.transitions = {
        tr(Run, QStringLiteral("1"),
           {QStringLiteral("in(0) &&\r\nin(1)"),
            [](unsigned long b, int) { return (b & 3UL) == 3UL; }},
           {QStringLiteral("go")}),
        tr(Idle, QStringLiteral("3"), in(2), {QStringLiteral("again")}),
        tr(Idle, QStringLiteral("2"),
           {QStringLiteral("a % 5 == 0 // every fifth"),
            [](unsigned long, int a) { return a % 5 == 0; }},
           {QStringLiteral("tick")}, true),
    };
    StateDef run = newState(QStringLiteral("Run"), kNormal, QStringLiteral("20"));
    run.during = {QStringLiteral("Run.du")};
    run.untracedDuring = QStringLiteral("p[0] = 'r';");
    run.exit = {QStringLiteral("Run.x1"), QStringLiteral("Run.x2"), QStringLiteral("Run.x3")};
    run.elseAction = {QStringLiteral("Run.el")};
    run.transitions = {
        tr(Run, QStringLiteral("3"),
           {QStringLiteral("in(5) && in(6)"),
            [](unsigned long b, int) { return (b & 0x60UL) == 0x60UL; }},
           {QStringLiteral("rerun")}),
        tr(Fault, QStringLiteral("1"), in(3), {QStringLiteral("fault"), QStringLiteral("fault2")}),
        tr(Sub, QStringLiteral("2"),
           {QStringLiteral("in(4) ||\r\n   a == 7"),
            [](unsigned long b, int a) { return ((b >> 4) & 1UL) || a == 7; }}),
    };
    StateDef fault = newState(QStringLiteral("Fault"), kFinal, QStringLiteral("30"));
    fault.entry = {QStringLiteral("Fault.en")};
    fault.exit = {QStringLiteral("Fault.ex")};
    fault.goTo = true;
    fault.transitions = {tr(Idle, QStringLiteral("1"), in(7))};
    StateDef sub = newState(QStringLiteral("Sub"), kSuper, QStringLiteral("40"));
    sub.during = {QStringLiteral("Sub.du")};
    sub.calls = {QStringLiteral("Child();")};
    sub.elseAction = {QStringLiteral("Sub.el")};
    sub.transitions = {
        tr(Done, QStringLiteral("1"), in(8), {QStringLiteral("done")}),
        tr(Sub, QStringLiteral("2"), in(9), {QStringLiteral("stay")}, true),
    };
    StateDef done = newState(QStringLiteral("Done"), kFinal, QStringLiteral("50"));
    done.entry = {QStringLiteral("Done.en")};
    done.transitions = {tr(Idle, QStringLiteral("1"), always(), {QStringLiteral("restart")})};
    m.states = {idle, run, fault, sub, done};
    return m;
}

inline MachineDef child()
{
    MachineDef m;
    m.name = QStringLiteral("Child");
    m.init = QStringLiteral("#include \"harness.h\"");
    StateDef ca = newState(QStringLiteral("CA"), kInitial, QStringLiteral("1"));
    ca.during = {QStringLiteral("C.A")};
    ca.transitions = {tr(1, QStringLiteral("1"), in(10))};
    StateDef cb = newState(QStringLiteral("CB"), kNormal, QStringLiteral("2"));
    cb.entry = {QStringLiteral("C.en")};
    cb.during = {QStringLiteral("C.B")};
    cb.transitions = {tr(0, QStringLiteral("1"), in(11), {QStringLiteral("C.back")})};
    m.states = {ca, cb};
    return m;
}

// The inputs of each step, as the driver computes them.
class Inputs {
public:
    unsigned long next()
    {
        m_seed = (m_seed * 1103515245UL + 12345UL) & 0x7fffffffUL;
        return (m_seed >> 4) & 0xfffUL;
    }

private:
    unsigned long m_seed = 12345UL;
};

inline const char* const kHarness = "#ifndef HARNESS_H\n#define HARNESS_H\n"
                                    "extern unsigned long in_bits;\n"
                                    "void T(const char* s);\nvoid TD(const char* s, int n);\n"
                                    "void TN(const char* s, int n);\n"
                                    "#define in(k) ((in_bits >> (k)) & 1UL)\n#endif\n";

// The driver's loop head: the same inputs as Inputs, then one step.
inline const char* const kDriverLoop = R"(
        seed = (seed * 1103515245UL + 12345UL) & 0x7fffffffUL;
        in_bits = (seed >> 4) & 0xfffUL;
        printf("step %d\n", step);
        Machine(step, buf);
)";

inline const char* const kDriverPrinters =
    "void T(const char* s) { printf(\"%s\\n\", s); }\n"
    "void TD(const char* s, int n) { printf(\"dbg %s %d\\n\", s, n); }\n"
    "void TN(const char* s, int n) { printf(\"%s %d\\n\", s, n); }\n";

struct ProcessResult {
    bool ok = false;
    QString output;
};

inline ProcessResult runProcess(const QString& program, const QStringList& args, const QString& dir)
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

inline void writeTextFile(const QString& path, const QString& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

// "" when the traces agree, else where they part.
inline std::string traceDifference(const QString& actual, const QString& expected)
{
    if (actual == expected)
        return {};
    const QStringList a = actual.split(u'\n');
    const QStringList e = expected.split(u'\n');
    qsizetype i = 0;
    while (i < a.size() && i < e.size() && a[i] == e[i])
        ++i;
    return "trace differs at line " + std::to_string(i + 1) + ": got ["
           + (i < a.size() ? a[i].toStdString() : "<end>") + "], expected ["
           + (i < e.size() ? e[i].toStdString() : "<end>") + "]";
}

// A test that builds with gcc in a temporary folder holding harness.h;
// skipped where gcc is not installed.
template <class Param> class GccTest : public ::testing::TestWithParam<Param> {
protected:
    void SetUp() override
    {
        gcc = QStandardPaths::findExecutable(QStringLiteral("gcc"));
        if (gcc.isEmpty())
            GTEST_SKIP() << "gcc is not installed";
        ASSERT_TRUE(dir.isValid());
        writeTextFile(dir.filePath(QStringLiteral("harness.h")), QLatin1String(kHarness));
    }

    QString gcc;
    QTemporaryDir dir;
};

}  // namespace orvane::testing
