// How the steps of the batch road grow with the diagram: load, open (the
// load sequence, also of a file whose states have no names), save, every
// generator, the page text, the picture, and the two renumberings, on
// machines of 100, 1,000 and 10,000 states (three transitions each). Each should grow linearly (n log n where it sorts):
// the time per state stays flat across the sizes, and the fitted
// complexity printed after each family says so.

#include "BigMachine.h"
#include "DiagramPicture.h"
#include "FontTextMeasurer.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "modC_CodeGen.h"
#include "modC_CodeGenHSC.h"
#include "modHTML.h"
#include "modNodoEstado.h"
#include "modNodoTransicion.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
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
    state.counters["per_state"] =
        benchmark::Counter(double(state.iterations()) * double(state.range(0)),
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

// A file whose states have no names: opening it names them all.
void OpenUnnamed(benchmark::State& state)
{
    const int n = int(state.range(0));
    const QString path = Folder().filePath(QStringLiteral("Unnamed%1.fsm").arg(n));
    if (!QFileInfo::exists(path)) {
        FsmDocument doc;
        bench::BuildMachine(doc.diagram(), n, false);
        doc.sFullDocname = path;
        doc.BeforeSave();
        doc.diagram().saveFile(path, nullptr);
    }
    SilentMessenger quiet;
    for (auto _ : state) {
        FsmDocument doc;
        doc.diagram().loadFile(path, nullptr);
        doc.sFullDocname = path;
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

// One step that reads the opened machine and makes a text or a picture.
template <typename Step> void OnMachine(benchmark::State& state, Step step)
{
    const FsmDocument& doc = Machine(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(step(doc));
    PerState(state);
}

QString SwitchCase(const FsmDocument& doc)
{
    SilentMessenger quiet;
    return modC_CodeGen::GenerateCodeSwitchCase(doc, quiet);
}

QString Pointers(const FsmDocument& doc)
{
    SilentMessenger quiet;
    return modC_CodeGen::GenerateCodePointers(doc, quiet);
}

QString PointerArray(const FsmDocument& doc)
{
    SilentMessenger quiet;
    return modC_CodeGen::GenerateCodePointerArray(doc, quiet);
}

// The machine calls no child diagram: a source that opens none will do.
class NoChildren : public ChildDocumentSource {
public:
    const FsmDocument* OpenChild(const QString&, QString* error) override
    {
        if (error)
            *error = QStringLiteral("no child diagrams here");
        return nullptr;
    }
};

QString Hierarchical(const FsmDocument& doc)
{
    NoChildren none;
    SilentMessenger quiet;
    return modC_CodeGenHSC::GenerateCodeHierarchical(doc, none, quiet);
}

QString ListFile(const FsmDocument& doc)
{
    return modC_CodeGen::GenerateListFile(doc.diagram());
}

QString PageText(const FsmDocument& doc)
{
    return modHTML::HtmlPageText(doc, QStringLiteral("Big"), QStringLiteral("Big.wmf"), false);
}

QByteArray Picture(const FsmDocument& doc)
{
    return DiagramPicture::ToWmf(doc.diagram());
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

#define SIZES(b)                                                                                   \
    b->RangeMultiplier(10)->Range(100, 10000)->Unit(benchmark::kMillisecond)->Complexity()
#define SCALE(fn) SIZES(BENCHMARK(fn))
#define SCALE_STEP(fn) SIZES(BENCHMARK_CAPTURE(OnMachine, fn, fn))

SCALE(LoadFile);
SCALE(Open);
SCALE(OpenUnnamed);
SCALE(Save);
SCALE_STEP(SwitchCase);
SCALE_STEP(Pointers);
SCALE_STEP(PointerArray);
SCALE_STEP(Hierarchical);
SCALE_STEP(ListFile);
SCALE_STEP(PageText);
SCALE_STEP(Picture);
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
