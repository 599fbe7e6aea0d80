// The generated modules compiled with gcc, strict warnings as errors, linked
// with a small driver that feeds varied inputs for many steps. Every action
// prints a token; the printed trace must equal the trace of a reference
// model of the machine, in every methodology.

#include "CodegenTestSupport.h"
#include "CompileRunSupport.h"
#include "FlatGenerators.h"

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

void PrintTo(const Config& c, std::ostream* os) { *os << c.label; }

constexpr int kSteps = 3000;
enum { kIdle = 0, kFault = 2 };  // the states the driver tests and forces

// The driver: the machine's steps, and its tests and forcings between them.
QString driver()
{
    return QStringLiteral("#include <stdio.h>\n#include \"harness.h\"\n#include \"Machine.h\"\n"
                          "#include \"Child.h\"\nunsigned long in_bits;\n")
           + QLatin1String(kDriverPrinters)
           + QStringLiteral("int main(void)\n{\n    unsigned long seed = 12345UL;\n"
                            "    char buf[4];\n    int step;\n"
                            "    for (step = 0; step < STEPS; ++step) {")
           + QLatin1String(kDriverLoop) + QStringLiteral(R"(
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

QString expectedTrace(const MachineDef& m, const MachineDef& child, const Config& c)
{
    ReferenceModel childModel(child, false);
    ReferenceModel model(m, c.opts.HF);
    model.connect(child.name, &childModel);
    const bool hasInit = !(c.opts.HF && !c.opts.FI);
    QStringList trace;
    Inputs inputs;
    for (int step = 0; step < kSteps; ++step) {
        const unsigned long bits = inputs.next();
        trace << QStringLiteral("step %1").arg(step);
        model.step(step, bits, c.debugBuild && c.opts.DI, trace);
        if (step % 37 == 5)
            trace << QStringLiteral("isin %1").arg(model.isIn(kIdle) ? 1 : 0);
        if (step % 53 == 7) {
            model.gotoFunction(kFault);
            trace << QStringLiteral("goto");
        }
        if (hasInit && step % 97 == 50) {
            model.init();
            trace << QStringLiteral("init");
        }
        if (c.opts.FE && step % 11 == 3)
            trace << QStringLiteral("end %1").arg(model.end() ? 1 : 0);
    }
    return trace.join(u'\n') + u'\n';
}

const char* styleName(Style s)
{
    return s == Style::SwitchCase ? "switchcase"
           : s == Style::Pointers ? "pointers"
                                  : "pointerarray";
}

QStringList warningFlags(Style s, const Config& c, const QString& standard)
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
    QString buildAndRun(Style s, const MachineDef& m, const MachineDef& child, const Config& c)
    {
        const QString work = dir.filePath(QLatin1String(styleName(s)) + u'-' + m.name);
        QDir().mkpath(work);
        QStringList objects;
        const QStringList standards =
            c.opts.AC ? QStringList{QStringLiteral("c89"), QStringLiteral("c99")}
                      : QStringList{QStringLiteral("c99")};
        auto generateOne = [&](const MachineDef& def, const QString& docPath,
                               bool isChild) -> bool {
            Diagram d;
            build(def, d);
            // A child keeps no history, so that its parent's transitions restart it.
            Opts o = c.opts;
            o.HF = o.HF && !isChild;
            RecordingMessenger messenger;
            const CodeAndHeader parts = split(generate(s, d, docPath, o, messenger));
            EXPECT_TRUE(parts.ok) << def.name.toStdString();
            if (!parts.ok)
                return false;
            writeTextFile(work + u'/' + def.name + QStringLiteral(".c"), parts.code);
            writeTextFile(work + u'/' + def.name + QStringLiteral(".h"), parts.header);
            for (const QString& standard : standards) {
                QStringList args = warningFlags(s, c, standard);
                args << QStringLiteral("-I") + dir.path() << QStringLiteral("-c")
                     << def.name + QStringLiteral(".c") << QStringLiteral("-o")
                     << def.name + u'-' + standard + QStringLiteral(".o");
                const ProcessResult r = runProcess(gcc, args, work);
                EXPECT_TRUE(r.ok) << styleName(s) << " -std=" << standard.toStdString() << "\n"
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
        writeTextFile(childPath, QStringLiteral("{}"));
        if (!generateOne(child, childPath, true) || !generateOne(m, parentPath, false))
            return {};
        writeTextFile(work + QStringLiteral("/driver.c"), driver());
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
        const ProcessResult link = runProcess(gcc, args, work);
        EXPECT_TRUE(link.ok) << link.output.toStdString();
        if (!link.ok)
            return {};
        const ProcessResult run = runProcess(work + QStringLiteral("/machine"), {}, work);
        EXPECT_TRUE(run.ok) << run.output.toStdString();
        return run.output;
    }

    void checkAllStyles(const MachineDef& m, const MachineDef& child)
    {
        const Config& c = GetParam();
        const QString expected = expectedTrace(m, child, c);
        QStringList traces;
        for (const Style s : {Style::SwitchCase, Style::Pointers, Style::PointerArray}) {
            const QString trace = buildAndRun(s, m, child, c);
            const std::string difference = traceDifference(trace, expected);
            if (!difference.empty())
                ADD_FAILURE() << styleName(s) << ": " << difference;
            traces << trace;
        }
        EXPECT_EQ(traces[0], traces[1]);
        EXPECT_EQ(traces[0], traces[2]);
    }
};

TEST_P(CompileAndRun, MachineWithChildBehavesAlikeInEveryMethodology)
{
    checkAllStyles(machine(), child());
}

INSTANTIATE_TEST_SUITE_P(
    options, CompileAndRun,
    ::testing::Values(
        Config{"all_on_debug", {true, true, false, true, false, true}, true},
        Config{"debug_info_without_debug_build", {true, true, false, true, false, true}, false},
        Config{"ansi_comments", {false, true, false, true, true, true}, true},
        Config{"history_without_init", {false, false, true, false, false, false}, false}),
    [](const ::testing::TestParamInfo<Config>& info) { return std::string(info.param.label); });

}  // namespace
