// How the steps of the batch road grow with the diagram: load, open (the
// load sequence, also of a file whose states have no names), save, every
// generator, the page text, the picture, and the two renumberings, on
// machines of 100, 1,000 and 10,000 states (three transitions each). Each should grow linearly (n
// log n where it sorts): the time per state stays flat across the sizes, and the fitted complexity
// printed after each family says so.

#include "BigMachine.h"
#include "DiagramPicture.h"
#include "FontTextMeasurer.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "FlatGenerators.h"
#include "Generation.h"
#include "HierarchicalGenerator.h"
#include "HtmlPage.h"
#include "States.h"
#include "Transitions.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <map>
#include <memory>

using namespace orvane;

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString machinePath(int states)
{
    return folder().filePath(QStringLiteral("Big%1.fsm").arg(states));
}

// The opened machine of each size, and its file written once.
FsmDocument& machine(int states)
{
    static std::map<int, std::unique_ptr<FsmDocument>> cache;
    auto& doc = cache[states];
    if (!doc) {
        doc = std::make_unique<FsmDocument>();
        bench::openMachine(*doc, states, machinePath(states));
        SilentMessenger quiet;
        doc->beforeSave();
        doc->diagram().saveFile(machinePath(states), nullptr);
        doc->afterSave(quiet);
    }
    return *doc;
}

// The time per state and the size for the fitted complexity.
void perState(benchmark::State& state)
{
    state.SetComplexityN(state.range(0));
    state.counters["per_state"] =
        benchmark::Counter(double(state.iterations()) * double(state.range(0)),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void loadFile(benchmark::State& state)
{
    const int n = int(state.range(0));
    machine(n);
    for (auto _ : state) {
        Diagram d;
        benchmark::DoNotOptimize(d.loadFile(machinePath(n), nullptr));
    }
    perState(state);
}

void open(benchmark::State& state)
{
    const int n = int(state.range(0));
    machine(n);
    SilentMessenger quiet;
    for (auto _ : state) {
        FsmDocument doc;
        doc.diagram().loadFile(machinePath(n), nullptr);
        doc.filePath = machinePath(n);
        benchmark::DoNotOptimize(doc.afterLoad(OptionOverrides{}, quiet));
    }
    perState(state);
}

// A file whose states have no names: opening it names them all.
void openUnnamed(benchmark::State& state)
{
    const int n = int(state.range(0));
    const QString path = folder().filePath(QStringLiteral("Unnamed%1.fsm").arg(n));
    if (!QFileInfo::exists(path)) {
        FsmDocument doc;
        bench::buildMachine(doc.diagram(), n, false);
        doc.filePath = path;
        doc.beforeSave();
        doc.diagram().saveFile(path, nullptr);
    }
    SilentMessenger quiet;
    for (auto _ : state) {
        FsmDocument doc;
        doc.diagram().loadFile(path, nullptr);
        doc.filePath = path;
        benchmark::DoNotOptimize(doc.afterLoad(OptionOverrides{}, quiet));
    }
    perState(state);
}

void save(benchmark::State& state)
{
    FsmDocument& doc = machine(int(state.range(0)));
    const QString path = folder().filePath(QStringLiteral("Saved.fsm"));
    SilentMessenger quiet;
    for (auto _ : state) {
        doc.beforeSave();
        benchmark::DoNotOptimize(doc.diagram().saveFile(path, nullptr));
        doc.afterSave(quiet);
    }
    perState(state);
}

// One step that reads the opened machine and makes a text or a picture.
template <typename Step> void onMachine(benchmark::State& state, Step step)
{
    const FsmDocument& doc = machine(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(step(doc));
    perState(state);
}

// The machine calls no child diagram: a source that has none will do.
class NoChildren : public ChildDocumentSource {
public:
    bool exists(const QString&) const override { return false; }
    const FsmDocument* openChild(const QString&, QString* error) override
    {
        if (error)
            *error = QStringLiteral("no child diagrams here");
        return nullptr;
    }
};

std::optional<GeneratedCode> generateIn(Methodology m, const FsmDocument& doc)
{
    NoChildren none;
    SilentMessenger quiet;
    return generateCode(m, doc, none, quiet);
}

std::optional<GeneratedCode> switchCase(const FsmDocument& doc)
{
    return generateIn(Methodology::SwitchCase, doc);
}

std::optional<GeneratedCode> pointers(const FsmDocument& doc)
{
    return generateIn(Methodology::DirectPointers, doc);
}

std::optional<GeneratedCode> pointerArray(const FsmDocument& doc)
{
    return generateIn(Methodology::PointerArray, doc);
}

std::optional<GeneratedCode> hierarchical(const FsmDocument& doc)
{
    return generateIn(Methodology::Hierarchical, doc);
}

QString listFile(const FsmDocument& doc) { return FlatGenerators::generateListFile(doc.diagram()); }

QString pageText(const FsmDocument& doc)
{
    return HtmlPage::htmlPageText(doc, QStringLiteral("Big"), QStringLiteral("Big.wmf"), false);
}

QByteArray picture(const FsmDocument& doc) { return DiagramPicture::toWmf(doc.diagram()); }

void renumberStateIndices(benchmark::State& state)
{
    FsmDocument& doc = machine(int(state.range(0)));
    SilentMessenger quiet;
    for (auto _ : state)
        States::renumberStateIndices(doc, nullptr, quiet);
    perState(state);
}

// One state with n transitions, priorities in reverse order.
void renumberPriorities(benchmark::State& state)
{
    FsmDocument doc;
    Node* hub = bench::buildFan(doc.diagram(), int(state.range(0)));
    for (auto _ : state)
        Transitions::renumberPriorities(doc, hub, nullptr);
    perState(state);
}

#define SIZES(b)                                                                                   \
    b->RangeMultiplier(10)->Range(100, 10000)->Unit(benchmark::kMillisecond)->Complexity()
#define SCALE(fn) SIZES(BENCHMARK(fn))
#define SCALE_STEP(fn) SIZES(BENCHMARK_CAPTURE(onMachine, fn, fn))

SCALE(loadFile);
SCALE(open);
SCALE(openUnnamed);
SCALE(save);
SCALE_STEP(switchCase);
SCALE_STEP(pointers);
SCALE_STEP(pointerArray);
SCALE_STEP(hierarchical);
SCALE_STEP(listFile);
SCALE_STEP(pageText);
SCALE_STEP(picture);
SCALE(renumberStateIndices);
SCALE(renumberPriorities);

}  // namespace

int main(int argc, char** argv)
{
    // The picture and the autosize rule measure texts with real fonts, as
    // batch mode does; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontTextMeasurer();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
