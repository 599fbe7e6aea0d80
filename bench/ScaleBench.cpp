// How the steps of the batch road grow with the diagram: load, open (the
// load sequence), save, every generator, the page text, the picture, and
// the two renumberings, on machines of 100, 1,000 and 10,000 states (three
// transitions each). Each should grow linearly (n log n where it sorts):
// the time per state stays flat across the sizes, and the fitted
// complexity printed after each family says so.

#include "BigMachine.h"
#include "DiagramPicture.h"
#include "FontTextMeasurer.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "modC_CodeGen.h"
#include "modHTML.h"
#include "modNodoEstado.h"
#include "modNodoTransicion.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <map>
#include <memory>

using namespace orvane;

namespace {

QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString MachinePath(int states)
{
    return Folder().filePath(QStringLiteral("Big%1.fsm").arg(states));
}

// The opened machine of each size, and its file written once.
FsmDocument& Machine(int states)
{
    static std::map<int, std::unique_ptr<FsmDocument>> cache;
    auto& doc = cache[states];
    if (!doc) {
        doc = std::make_unique<FsmDocument>();
        bench::OpenMachine(*doc, states, MachinePath(states));
        SilentMessenger quiet;
        doc->BeforeSave();
        doc->diagram().saveFile(MachinePath(states), nullptr);
        doc->AfterSave(quiet);
    }
    return *doc;
}

// The time per state and the size for the fitted complexity.
void PerState(benchmark::State& state)
{
    state.SetComplexityN(state.range(0));
    state.counters["per_state"] = benchmark::Counter(
        double(state.iterations()) * double(state.range(0)),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void LoadFile(benchmark::State& state)
{
    const int n = int(state.range(0));
    Machine(n);
    for (auto _ : state) {
        Diagram d;
        benchmark::DoNotOptimize(d.loadFile(MachinePath(n), nullptr));
    }
    PerState(state);
}

void Open(benchmark::State& state)
{
    const int n = int(state.range(0));
    Machine(n);
    SilentMessenger quiet;
    for (auto _ : state) {
        FsmDocument doc;
        doc.diagram().loadFile(MachinePath(n), nullptr);
        doc.sFullDocname = MachinePath(n);
        benchmark::DoNotOptimize(doc.AfterLoad(OptionOverrides{}, quiet));
    }
    PerState(state);
}

void Save(benchmark::State& state)
{
    FsmDocument& doc = Machine(int(state.range(0)));
    const QString path = Folder().filePath(QStringLiteral("Saved.fsm"));
    SilentMessenger quiet;
    for (auto _ : state) {
        doc.BeforeSave();
        benchmark::DoNotOptimize(doc.diagram().saveFile(path, nullptr));
        doc.AfterSave(quiet);
    }
    PerState(state);
}

template <QString (*Generate)(const FsmDocument&, Messenger&)>
void Generator(benchmark::State& state)
{
    const FsmDocument& doc = Machine(int(state.range(0)));
    SilentMessenger quiet;
    for (auto _ : state)
        benchmark::DoNotOptimize(Generate(doc, quiet));
    PerState(state);
}

void ListFile(benchmark::State& state)
{
    const FsmDocument& doc = Machine(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(modC_CodeGen::GenerateListFile(doc.diagram()));
    PerState(state);
}

void PageText(benchmark::State& state)
{
    const FsmDocument& doc = Machine(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(modHTML::HtmlPageText(doc, QStringLiteral("Big"),
                                                       QStringLiteral("Big.wmf"), false));
    PerState(state);
}

void Picture(benchmark::State& state)
{
    const FsmDocument& doc = Machine(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(DiagramPicture::ToWmf(doc.diagram()));
    PerState(state);
}

void RenumberStateIndices(benchmark::State& state)
{
    FsmDocument& doc = Machine(int(state.range(0)));
    SilentMessenger quiet;
    for (auto _ : state)
        modNodoEstado::RenumberStateIndices(doc, nullptr, quiet);
    PerState(state);
}

// One state with n transitions, priorities in reverse order.
void RenumberPriorities(benchmark::State& state)
{
    FsmDocument doc;
    Node* hub = bench::BuildFan(doc.diagram(), int(state.range(0)));
    for (auto _ : state)
        modNodoTransicion::RenumberPriorities(doc, hub, nullptr);
    PerState(state);
}

#define SCALE(fn)                                                                                  \
    BENCHMARK(fn)->RangeMultiplier(10)->Range(100, 10000)->Unit(benchmark::kMillisecond)->Complexity()

SCALE(LoadFile);
SCALE(Open);
SCALE(Save);
SCALE(Generator<modC_CodeGen::GenerateCodeSwitchCase>)->Name("SwitchCase");
SCALE(Generator<modC_CodeGen::GenerateCodePointers>)->Name("Pointers");
SCALE(Generator<modC_CodeGen::GenerateCodePointerArray>)->Name("PointerArray");
SCALE(ListFile);
SCALE(PageText);
SCALE(Picture);
SCALE(RenumberStateIndices);
SCALE(RenumberPriorities);

}  // namespace

int main(int argc, char** argv)
{
    // The picture and the autosize rule measure texts with real fonts, as
    // batch mode does; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InstallFontTextMeasurer();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
