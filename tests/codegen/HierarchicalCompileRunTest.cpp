// A tree of diagram files generated as one hierarchical module, compiled with
// gcc (strict warnings as errors; C89 too with ANSI comments), linked with a
// driver and run: the trace of the whole tree must equal the trace of the
// reference models of its machines.

#include "CompileRunSupport.h"
#include "MachineFiles.h"
#include "modC_CodeGenHSC.h"

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

void PrintTo(const TreeConfig& c, std::ostream* os)
{
    *os << c.label;
}

QString Options(bool FI, bool FE, bool HF, bool macrosOff)
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
QString Hooks(const TreeConfig& c)
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
MachineDef TopMachine(const TreeConfig& c)
{
    MachineDef m = Machine();
    m.init = QStringLiteral("#include \"harness.h\"");
    // C89 allows bit fields of int types only; the user chooses the type.
    if (c.AC && c.BF)
        m.init += QStringLiteral("\r\n#define T_bit unsigned int");
    m.options = Options(c.topFI, c.topFE, c.topHF, c.macrosOff);
    m.states[0].calls = {QStringLiteral("Leaf();")};
    m.states[1].elseCalls = {QStringLiteral("Beside(a);")};
    m.ending = Hooks(c);
    return m;
}

// In the top's child folder; calls Leaf, its sibling.
MachineDef ChildMachine(const TreeConfig& c)
{
    MachineDef m = Child();
    m.options = Options(false, true, false, c.macrosOff);
    m.states[0].calls = {QStringLiteral("Leaf();")};
    m.states[1].isIn = true;
    m.after = {QStringLiteral("Child.after")};
    m.checkIllegal = true;
    m.traceDebug = true;
    return m;
}

// Called by the top and by Child; its exit actions become a function.
MachineDef LeafMachine(const TreeConfig& c)
{
    MachineDef m;
    m.name = QStringLiteral("Leaf");
    m.options = Options(false, false, false, c.macrosOff);
    StateDef la = NewState(QStringLiteral("LA"), kInitial, QStringLiteral("1"));
    la.during = {QStringLiteral("L.a")};
    la.transitions = {Tr(1, QStringLiteral("1"), In(1))};
    StateDef lb = NewState(QStringLiteral("LB"), kNormal, QStringLiteral("2"));
    lb.entry = {QStringLiteral("L.en")};
    lb.during = {QStringLiteral("L.b")};
    lb.exit = {QStringLiteral("L.x1"), QStringLiteral("L.x2"), QStringLiteral("L.x3")};
    lb.transitions = {Tr(0, QStringLiteral("1"), In(2), {QStringLiteral("L.back")}),
                      Tr(1, QStringLiteral("2"), In(3), {QStringLiteral("L.stay")}, true)};
    m.states = {la, lb};
    return m;
}

// Beside the top; keeps its state when the top restarts it.
MachineDef BesideMachine(const TreeConfig& c)
{
    MachineDef m;
    m.name = QStringLiteral("Beside");
    m.params = QStringLiteral("int a");
    m.options = Options(true, false, true, c.macrosOff);
    StateDef ba = NewState(QStringLiteral("BA"), kInitial, QStringLiteral("1"));
    ba.during = {QStringLiteral("B.a")};
    ba.transitions = {
        Tr(1, QStringLiteral("1"),
           {QStringLiteral("a % 3 == 0"), [](unsigned long, int a) { return a % 3 == 0; }})};
    StateDef bb = NewState(QStringLiteral("BB"), kNormal, QStringLiteral("2"));
    bb.during = {QStringLiteral("B.b")};
    bb.transitions = {Tr(0, QStringLiteral("1"), In(5))};
    m.states = {ba, bb};
    return m;
}

struct Tree {
    MachineDef top, child, leaf, beside;
};

QString ExpectedTrace(const Tree& t, const TreeConfig& c)
{
    ReferenceModel leaf(t.leaf, false);
    ReferenceModel beside(t.beside, true);
    ReferenceModel child(t.child, false);
    ReferenceModel top(t.top, c.topHF);
    child.Connect(t.leaf.name, &leaf);
    top.Connect(t.leaf.name, &leaf);
    top.Connect(t.child.name, &child);
    top.Connect(t.beside.name, &beside);
    const bool debug = c.debugBuild && c.DI;
    QStringList trace;
    Inputs inputs;
    for (int step = 0; step < kSteps; ++step) {
        const unsigned long bits = inputs.Next();
        trace << QStringLiteral("step %1").arg(step);
        top.Step(step, bits, debug, trace);
        if (step % 37 == 5)
            trace << QStringLiteral("isin %1").arg(top.IsIn(kIdle) ? 1 : 0);
        if (step % 41 == 9)
            trace << QStringLiteral("child %1").arg(child.IsIn(kChildB) ? 1 : 0);
        if (step % 67 == 13)
            trace << QStringLiteral("child end %1").arg(child.End() ? 1 : 0);
        if (step % 53 == 7) {
            top.Goto(kFault);
            trace << QStringLiteral("goto");
        }
        if (step % 59 == 11) {
            top.Restart();
            trace << QStringLiteral("restart");
        }
        if (!(c.topHF && !c.topFI) && step % 97 == 50) {
            top.Init();
            trace << QStringLiteral("init");
        }
        if (c.topFE && step % 11 == 3)
            trace << QStringLiteral("end %1").arg(top.End() ? 1 : 0);
    }
    return trace.join(u'\n') + u'\n';
}

QString Driver()
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
    void WriteDiagram(const QString& relative, const MachineDef& m)
    {
        Diagram d;
        Build(m, d);
        QString error;
        ASSERT_TRUE(testfiles::SaveWithRecord(d, dir.filePath(relative), &error))
            << error.toStdString();
    }

    // The module of the tree, written as Machine.c and Machine.h; false when
    // the generation was refused.
    bool Generate(const TreeConfig& c)
    {
        FileChildSource source;
        if (c.macrosOff)
            source.adjust = [](FsmDocument& doc) { doc.bUseMacros = false; };
        RecordingMessenger messenger;
        const QString result = GenerateTree(source, dir.filePath(QStringLiteral("Machine.fsm")),
                                            TopOptions{c.DI, c.AC, c.PT, c.BF}, messenger);
        EXPECT_TRUE(messenger.messages.isEmpty()) << messenger.messages.join(u'\n').toStdString();
        const CodeAndHeader parts = SplitLast(result);
        if (!parts.ok)
            return false;
        WriteTextFile(dir.filePath(QStringLiteral("Machine.c")), parts.code);
        WriteTextFile(dir.filePath(QStringLiteral("Machine.h")), parts.header);
        return true;
    }

    ProcessResult Gcc(const QStringList& args) { return RunProcess(gcc, args, dir.path()); }
};

TEST_P(HierarchicalCompileAndRun, TreeBehavesAsItsDiagramsSay)
{
    const TreeConfig& c = GetParam();
    const Tree tree{TopMachine(c), ChildMachine(c), LeafMachine(c), BesideMachine(c)};
    WriteDiagram(QStringLiteral("Machine.fsm"), tree.top);
    WriteDiagram(QStringLiteral("Machine/Child.fsm"), tree.child);
    WriteDiagram(QStringLiteral("Machine/Leaf.fsm"), tree.leaf);
    WriteDiagram(QStringLiteral("Beside.fsm"), tree.beside);
    ASSERT_TRUE(Generate(c));

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
        const ProcessResult r = Gcc(args);
        ASSERT_TRUE(r.ok) << "-std=" << standard.toStdString() << "\n" << r.output.toStdString();
    }
    WriteTextFile(dir.filePath(QStringLiteral("driver.c")), Driver());
    const ProcessResult link =
        Gcc({QStringLiteral("-std=c99"), QStringLiteral("-Wall"), QStringLiteral("-Wextra"),
             QStringLiteral("-pedantic"), QStringLiteral("-Werror"),
             QStringLiteral("-DSTEPS=%1").arg(kSteps), QStringLiteral("driver.c"),
             QStringLiteral("Machine-c99.o"), QStringLiteral("-o"), QStringLiteral("machine")});
    ASSERT_TRUE(link.ok) << link.output.toStdString();
    const ProcessResult run = RunProcess(dir.filePath(QStringLiteral("machine")), {}, dir.path());
    ASSERT_TRUE(run.ok) << run.output.toStdString();
    const std::string difference = TraceDifference(run.output, ExpectedTrace(tree, c));
    EXPECT_TRUE(difference.empty()) << difference;
}

INSTANTIATE_TEST_SUITE_P(
    Options, HierarchicalCompileAndRun,
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
    FsmDocument* top = source.Top(folder + QStringLiteral("/Washer.fsm"));
    ASSERT_NE(top, nullptr);
    RecordingMessenger messenger;
    const CodeAndHeader parts =
        SplitLast(modC_CodeGenHSC::GenerateCodeHierarchical(*top, source, messenger));
    ASSERT_TRUE(parts.ok) << messenger.messages.join(u'\n').toStdString();
    EXPECT_TRUE(SameText(parts.code, ReadUtf8(folder + QStringLiteral("/Washer.c"))));
    EXPECT_TRUE(SameText(parts.header, ReadUtf8(folder + QStringLiteral("/Washer.h"))));

    const QString gcc = QStandardPaths::findExecutable(QStringLiteral("gcc"));
    if (gcc.isEmpty())
        GTEST_SKIP() << "gcc is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteTextFile(dir.filePath(QStringLiteral("Washer.c")), parts.code);
    const ProcessResult r =
        RunProcess(gcc,
                   {QStringLiteral("-std=c99"), QStringLiteral("-Wall"), QStringLiteral("-Wextra"),
                    QStringLiteral("-pedantic"), QStringLiteral("-Werror"),
                    QStringLiteral("-I") + folder, QStringLiteral("-c"), QStringLiteral("Washer.c"),
                    QStringLiteral("-o"), QStringLiteral("Washer.o")},
                   dir.path());
    EXPECT_TRUE(r.ok) << r.output.toStdString();
}

}  // namespace
