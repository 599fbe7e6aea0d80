// A tree of diagram files generated as one hierarchical module, compiled with
// gcc (strict warnings as errors; C89 too with ANSI comments), linked with a
// driver and run: the trace of the whole tree must equal the trace of the
// reference models of its machines.

#include "CompileRunSupport.h"
#include "MachineFiles.h"
#include "HierarchicalGenerator.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::testing;

namespace {

struct TreeConfig {
    const char* label;
    bool topFI, topFE, topHF;  // the top diagram's own options
    bool macrosOff;            // UM off in every diagram
    bool DI, AC, PT, BF;       // the top document's options, for the whole tree
    bool debugBuild;           // -DFSM_DEBUG
};

void PrintTo(const TreeConfig& c, std::ostream* os) { *os << c.label; }

QString options(bool FI, bool FE, bool HF, bool macrosOff)
{
    auto yn = [](bool b) { return b ? QStringLiteral("_Y;") : QStringLiteral("_N;"); };
    return QStringLiteral("FI") + yn(FI) + QStringLiteral("FE") + yn(FE) + QStringLiteral("HF")
           + yn(HF) + QStringLiteral("UM") + yn(!macrosOff);
}

constexpr int kSteps = 3000;
enum { kIdle = 0, kFault = 2 };  // states of the top machine the hooks test and force
enum { kChildB = 1 };            // the child state the hooks test

// Tests and forcings of the top and the child machine between two steps.
// They are the module's macros, so they run inside it, from the top's
// ending code.
QString hooks(const TreeConfig& c)
{
    QStringList lines{
        QStringLiteral("void Hooks(int step);"),
        QStringLiteral("void Hooks(int step)"),
        QStringLiteral("{"),
        QStringLiteral("    if (step % 37 == 5) TN(\"isin\", (int)Machine_IsIn_Idle());"),
        QStringLiteral("    if (step % 41 == 9) TN(\"child\", (int)Child_IsIn_CB());"),
        QStringLiteral("    if (step % 67 == 13) TN(\"child end\", (int)Child_End());"),
        QStringLiteral("    if (step % 53 == 7) { Machine_Goto_Fault(); T(\"goto\"); }"),
        QStringLiteral("    if (step % 59 == 11) { _Machine_Init(); T(\"restart\"); }")};
    if (!(c.topHF && !c.topFI))
        lines << QStringLiteral("    if (step % 97 == 50) { Machine_Init(); T(\"init\"); }");
    if (c.topFE)
        lines << QStringLiteral("    if (step % 11 == 3) TN(\"end\", (int)Machine_End());");
    lines << QStringLiteral("}");
    return lines.join(kCrLf);
}

// The top machine calls Leaf from Idle, the history machine Beside from
// Run's else actions and Child from Sub.
MachineDef topMachine(const TreeConfig& c)
{
    MachineDef m = machine();
    m.init = QStringLiteral("#include \"harness.h\"");
    // C89 allows bit fields of int types only; the user chooses the type.
    if (c.AC && c.BF)
        m.init += QStringLiteral("\r\n#define T_bit unsigned int");
    m.options = options(c.topFI, c.topFE, c.topHF, c.macrosOff);
    m.states[0].calls = {QStringLiteral("Leaf();")};
    m.states[1].elseCalls = {QStringLiteral("Beside(a);")};
    m.ending = hooks(c);
    return m;
}

// In the top's child folder; calls Leaf, its sibling.
MachineDef childMachine(const TreeConfig& c)
{
    MachineDef m = child();
    m.options = options(false, true, false, c.macrosOff);
    m.states[0].calls = {QStringLiteral("Leaf();")};
    m.states[1].isIn = true;
    m.after = {QStringLiteral("Child.after")};
    m.checkIllegal = true;
    m.traceDebug = true;
    return m;
}

// Called by the top and by Child; its exit actions become a function.
MachineDef leafMachine(const TreeConfig& c)
{
    MachineDef m;
    m.name = QStringLiteral("Leaf");
    m.options = options(false, false, false, c.macrosOff);
    StateDef la = newState(QStringLiteral("LA"), kInitial, QStringLiteral("1"));
    la.during = {QStringLiteral("L.a")};
    la.transitions = {tr(1, QStringLiteral("1"), in(1))};
    StateDef lb = newState(QStringLiteral("LB"), kNormal, QStringLiteral("2"));
    lb.entry = {QStringLiteral("L.en")};
    lb.during = {QStringLiteral("L.b")};
    lb.exit = {QStringLiteral("L.x1"), QStringLiteral("L.x2"), QStringLiteral("L.x3")};
    lb.transitions = {tr(0, QStringLiteral("1"), in(2), {QStringLiteral("L.back")}),
                      tr(1, QStringLiteral("2"), in(3), {QStringLiteral("L.stay")}, true)};
    m.states = {la, lb};
    return m;
}

// Beside the top; keeps its state when the top restarts it.
MachineDef besideMachine(const TreeConfig& c)
{
    MachineDef m;
    m.name = QStringLiteral("Beside");
    m.params = QStringLiteral("int a");
    m.options = options(true, false, true, c.macrosOff);
    StateDef ba = newState(QStringLiteral("BA"), kInitial, QStringLiteral("1"));
    ba.during = {QStringLiteral("B.a")};
    ba.transitions = {
        tr(1, QStringLiteral("1"),
           {QStringLiteral("a % 3 == 0"), [](unsigned long, int a) { return a % 3 == 0; }})};
    StateDef bb = newState(QStringLiteral("BB"), kNormal, QStringLiteral("2"));
    bb.during = {QStringLiteral("B.b")};
    bb.transitions = {tr(0, QStringLiteral("1"), in(5))};
    m.states = {ba, bb};
    return m;
}

struct Tree {
    MachineDef top, child, leaf, beside;
};

QString expectedTrace(const Tree& t, const TreeConfig& c)
{
    ReferenceModel leaf(t.leaf, false);
    ReferenceModel beside(t.beside, true);
    ReferenceModel child(t.child, false);
    ReferenceModel top(t.top, c.topHF);
    child.connect(t.leaf.name, &leaf);
    top.connect(t.leaf.name, &leaf);
    top.connect(t.child.name, &child);
    top.connect(t.beside.name, &beside);
    const bool debug = c.debugBuild && c.DI;
    QStringList trace;
    Inputs inputs;
    for (int step = 0; step < kSteps; ++step) {
        const unsigned long bits = inputs.next();
        trace << QStringLiteral("step %1").arg(step);
        top.step(step, bits, debug, trace);
        if (step % 37 == 5)
            trace << QStringLiteral("isin %1").arg(top.isIn(kIdle) ? 1 : 0);
        if (step % 41 == 9)
            trace << QStringLiteral("child %1").arg(child.isIn(kChildB) ? 1 : 0);
        if (step % 67 == 13)
            trace << QStringLiteral("child end %1").arg(child.end() ? 1 : 0);
        if (step % 53 == 7) {
            top.gotoFunction(kFault);
            trace << QStringLiteral("goto");
        }
        if (step % 59 == 11) {
            top.restart();
            trace << QStringLiteral("restart");
        }
        if (!(c.topHF && !c.topFI) && step % 97 == 50) {
            top.init();
            trace << QStringLiteral("init");
        }
        if (c.topFE && step % 11 == 3)
            trace << QStringLiteral("end %1").arg(top.end() ? 1 : 0);
    }
    return trace.join(u'\n') + u'\n';
}

QString driver()
{
    return QStringLiteral("#include <stdio.h>\n#include \"harness.h\"\n#include \"Machine.h\"\n"
                          "unsigned long in_bits;\nvoid Hooks(int step);\n")
           + QLatin1String(kDriverPrinters)
           + QStringLiteral("int main(void)\n{\n    unsigned long seed = 12345UL;\n"
                            "    char buf[4];\n    int step;\n"
                            "    for (step = 0; step < STEPS; ++step) {")
           + QLatin1String(kDriverLoop)
           + QStringLiteral("        Hooks(step);\n    }\n    return 0;\n}\n");
}

class HierarchicalCompileAndRun : public GccTest<TreeConfig> {
protected:
    void writeDiagram(const QString& relative, const MachineDef& m)
    {
        Diagram d;
        build(m, d);
        QString error;
        ASSERT_TRUE(testfiles::saveWithRecord(d, dir.filePath(relative), &error))
            << error.toStdString();
    }

    // The module of the tree, written as Machine.c and Machine.h; false when
    // the generation was refused.
    bool generate(const TreeConfig& c)
    {
        FileChildSource source;
        if (c.macrosOff)
            source.adjust = [](FsmDocument& doc) { doc.useMacros = false; };
        RecordingMessenger messenger;
        const Generated result = generateTree(source, dir.filePath(QStringLiteral("Machine.fsm")),
                                              TopOptions{c.DI, c.AC, c.PT, c.BF}, messenger);
        EXPECT_TRUE(messenger.texts.isEmpty()) << messenger.texts.join(u'\n').toStdString();
        const CodeAndHeader parts = split(result);
        if (!parts.ok)
            return false;
        writeTextFile(dir.filePath(QStringLiteral("Machine.c")), parts.code);
        writeTextFile(dir.filePath(QStringLiteral("Machine.h")), parts.header);
        return true;
    }

    ProcessResult runGcc(const QStringList& args) { return runProcess(gcc, args, dir.path()); }
};

TEST_P(HierarchicalCompileAndRun, TreeBehavesAsItsDiagramsSay)
{
    const TreeConfig& c = GetParam();
    const Tree tree{topMachine(c), childMachine(c), leafMachine(c), besideMachine(c)};
    writeDiagram(QStringLiteral("Machine.fsm"), tree.top);
    writeDiagram(QStringLiteral("Machine/Child.fsm"), tree.child);
    writeDiagram(QStringLiteral("Machine/Leaf.fsm"), tree.leaf);
    writeDiagram(QStringLiteral("Beside.fsm"), tree.beside);
    ASSERT_TRUE(generate(c));

    QStringList standards{QStringLiteral("c99")};
    if (c.AC)
        standards << QStringLiteral("c89");
    for (const QString& standard : standards) {
        QStringList args{QStringLiteral("-std=") + standard,
                         QStringLiteral("-Wall"),
                         QStringLiteral("-Wextra"),
                         QStringLiteral("-pedantic"),
                         QStringLiteral("-Werror"),
                         QStringLiteral("-c"),
                         QStringLiteral("Machine.c"),
                         QStringLiteral("-o"),
                         QStringLiteral("Machine-") + standard + QStringLiteral(".o")};
        if (c.DI)
            args << QStringLiteral("-Wno-unused-variable");
        if (c.debugBuild)
            args << QStringLiteral("-DFSM_DEBUG");
        const ProcessResult r = runGcc(args);
        ASSERT_TRUE(r.ok) << "-std=" << standard.toStdString() << "\n" << r.output.toStdString();
    }
    writeTextFile(dir.filePath(QStringLiteral("driver.c")), driver());
    const ProcessResult link =
        runGcc({QStringLiteral("-std=c99"), QStringLiteral("-Wall"), QStringLiteral("-Wextra"),
                QStringLiteral("-pedantic"), QStringLiteral("-Werror"),
                QStringLiteral("-DSTEPS=%1").arg(kSteps), QStringLiteral("driver.c"),
                QStringLiteral("Machine-c99.o"), QStringLiteral("-o"), QStringLiteral("machine")});
    ASSERT_TRUE(link.ok) << link.output.toStdString();
    const ProcessResult run = runProcess(dir.filePath(QStringLiteral("machine")), {}, dir.path());
    ASSERT_TRUE(run.ok) << run.output.toStdString();
    const std::string difference = traceDifference(run.output, expectedTrace(tree, c));
    EXPECT_TRUE(difference.empty()) << difference;
}

INSTANTIATE_TEST_SUITE_P(
    options, HierarchicalCompileAndRun,
    ::testing::Values(TreeConfig{"debug_bit_fields_remarks", false, true, false, false, true, false,
                                 true, true, true},
                      TreeConfig{"debug_info_without_debug_build", true, true, false, false, true,
                                 false, false, false, false},
                      TreeConfig{"ansi_comments_functions_behind_macros", false, true, false, true,
                                 true, true, true, true, true},
                      TreeConfig{"history_top_without_init", false, false, true, false, false,
                                 false, false, false, false}),
    [](const ::testing::TestParamInfo<TreeConfig>& info) { return std::string(info.param.label); });

// The example a new user opens first: its module is the one the generator
// makes from it, and it compiles.
TEST(HierarchicalExample, CommittedModuleIsCurrentAndCompiles)
{
    const QString folder = QStringLiteral(ORVANE_SOURCE_DIR) + QStringLiteral("/examples/washer");
    FileChildSource source;
    FsmDocument* top = source.top(folder + QStringLiteral("/Washer.fsm"));
    ASSERT_NE(top, nullptr);
    RecordingMessenger messenger;
    const CodeAndHeader parts = split(HierarchicalGenerator::generate(*top, source, messenger));
    ASSERT_TRUE(parts.ok) << messenger.texts.join(u'\n').toStdString();
    EXPECT_TRUE(sameText(parts.code, readUtf8(folder + QStringLiteral("/Washer.c"))));
    EXPECT_TRUE(sameText(parts.header, readUtf8(folder + QStringLiteral("/Washer.h"))));

    const QString gcc = QStandardPaths::findExecutable(QStringLiteral("gcc"));
    if (gcc.isEmpty())
        GTEST_SKIP() << "gcc is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeTextFile(dir.filePath(QStringLiteral("Washer.c")), parts.code);
    const ProcessResult r =
        runProcess(gcc,
                   {QStringLiteral("-std=c99"), QStringLiteral("-Wall"), QStringLiteral("-Wextra"),
                    QStringLiteral("-pedantic"), QStringLiteral("-Werror"),
                    QStringLiteral("-I") + folder, QStringLiteral("-c"), QStringLiteral("Washer.c"),
                    QStringLiteral("-o"), QStringLiteral("Washer.o")},
                   dir.path());
    EXPECT_TRUE(r.ok) << r.output.toStdString();
}

}  // namespace
