// The generated modules compiled with gcc, strict warnings as errors, linked
// with a small driver that feeds varied inputs for many steps. Every action
// prints a token; the printed trace must equal the trace of a reference
// model of the machine, in every methodology.

#include "CodegenTestSupport.h"
#include "CompileRunSupport.h"
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

// The driver: the machine's steps, and its tests and forcings between them.
QString Driver()
{
    return QStringLiteral("#include <stdio.h>\n#include \"harness.h\"\n#include \"Machine.h\"\n"
                          "#include \"Child.h\"\nunsigned long in_bits;\n")
           + QLatin1String(kDriverPrinters)
           + QStringLiteral("int main(void)\n{\n    unsigned long seed = 12345UL;\n"
                            "    char buf[4];\n    int step;\n"
                            "    for (step = 0; step < STEPS; ++step) {")
           + QLatin1String(kDriverLoop)
           + QStringLiteral(R"(
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
)");
}

QString ExpectedTrace(const MachineDef& m, const MachineDef& child, const Config& c)
{
    ReferenceModel childModel(child, false);
    ReferenceModel model(m, c.opts.HF);
    model.Connect(child.name, &childModel);
    const bool hasInit = !(c.opts.HF && !c.opts.FI);
    QStringList trace;
    Inputs inputs;
    for (int step = 0; step < kSteps; ++step) {
        const unsigned long bits = inputs.Next();
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

class CompileAndRun : public GccTest<Config> {
  protected:
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
            WriteTextFile(work + u'/' + def.name + QStringLiteral(".c"), parts.code);
            WriteTextFile(work + u'/' + def.name + QStringLiteral(".h"), parts.header);
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
        WriteTextFile(childPath, QStringLiteral("{}"));
        if (!generate(child, childPath, true) || !generate(m, parentPath, false))
            return {};
        WriteTextFile(work + QStringLiteral("/driver.c"), Driver());
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
            const std::string difference = TraceDifference(trace, expected);
            if (!difference.empty())
                ADD_FAILURE() << StyleName(s) << ": " << difference;
            traces << trace;
        }
        EXPECT_EQ(traces[0], traces[1]);
        EXPECT_EQ(traces[0], traces[2]);
    }
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
