// Frame times of the diagram view on a large machine: 2,000 states and
// 6,000 transitions (8,000 nodes, 12,000 links), drawn on the offscreen
// platform. Each iteration makes one change and waits until the view has
// painted it.

#include "DiagramView.h"
#include "FontTextMeasurer.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "States.h"
#include "Transitions.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>

#include <memory>

using namespace orvane;

namespace {

constexpr int kStates = 2000;
constexpr int kColumns = 50;
constexpr int kTransitionsPerState = 3;

// States on a grid, each with transitions to its right and lower
// neighbours and back to its left one (wrapping round, so some links cross
// the whole drawing).
std::unique_ptr<FsmDocument> buildMachine()
{
    auto doc = std::make_unique<FsmDocument>();
    Diagram& d = doc->diagram();
    SilentMessenger quiet;
    std::vector<Node*> states;
    for (int i = 0; i < kStates; ++i) {
        Node* n =
            d.addNode(1000 + (i % kColumns) * 4000.0, 1000 + (i / kColumns) * 3000.0, 1800, 1200);
        QString name = QStringLiteral("S_%1").arg(i + 1);
        States::configureState(*doc,
                               StateRecord{name, QStringLiteral("work();"), QString::number(i + 1),
                                           QStringLiteral("enter();"), QString(),
                                           QStringLiteral("N"), QStringLiteral("N"), QString()},
                               i == 0 ? NodeStateInitial : NodeStateNormal, n, quiet);
        states.push_back(n);
    }
    const int steps[kTransitionsPerState] = {1, kColumns, kStates - 1};
    for (int i = 0; i < kStates; ++i) {
        for (int k = 0; k < kTransitionsPerState; ++k) {
            Node* dst = states[size_t((i + steps[k]) % kStates)];
            d.setCurrentLink(d.addLink(states[size_t(i)], dst));
            Node* t = Transitions::splitLinkIntoTransition(*doc);
            Transitions::configureTransition(
                *doc,
                TransitionRecord{transitionRecord(t).priority,
                                 QStringLiteral("evt == EV_%1").arg(k), QStringLiteral("count++;"),
                                 QStringLiteral("Y"), QStringLiteral("N")},
                t);
        }
    }
    d.clearSelection();
    return doc;
}

FsmDocument& machine()
{
    static std::unique_ptr<FsmDocument> doc = buildMachine();
    return *doc;
}

// Counts the paints of the view's viewport.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A shown view over the machine, and a way to wait for its next paint.
struct Harness {
    DiagramView view{&machine().diagram()};
    PaintCounter counter;
    Harness()
    {
        view.viewport()->installEventFilter(&counter);
        view.resize(1280, 800);
        view.show();
        frame();
    }
    void frame()
    {
        const int before = counter.paints;
        for (int round = 0; round < 20 && counter.paints == before; ++round)
            QCoreApplication::processEvents();
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, at, view.viewport()->mapToGlobal(at), Qt::LeftButton, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &e);
    }
};

void BM_OpenView(benchmark::State& state)
{
    machine();
    for (auto _ : state) {
        auto h = std::make_unique<Harness>();
        state.PauseTiming();
        h.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenView)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScrollFrame(benchmark::State& state)
{
    Harness h;
    h.view.setZoom(double(state.range(0)));
    h.frame();
    QScrollBar* bar = h.view.verticalScrollBar();
    int step = 40;
    for (auto _ : state) {
        if (bar->value() + step > bar->maximum() || bar->value() + step < bar->minimum())
            step = -step;
        bar->setValue(bar->value() + step);
        h.frame();
    }
}
BENCHMARK(BM_ScrollFrame)->Arg(100)->Arg(25)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ZoomFrame(benchmark::State& state)
{
    Harness h;
    const double zoom = double(state.range(0));
    bool wider = false;
    for (auto _ : state) {
        h.view.setZoom(wider ? zoom * 1.1 : zoom);
        wider = !wider;
        h.frame();
    }
}
BENCHMARK(BM_ZoomFrame)
    ->Arg(150)
    ->Arg(100)
    ->Arg(50)
    ->Arg(25)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The whole machine in the window, painted again from scratch.
void BM_FitInWindowFrame(benchmark::State& state)
{
    Harness h;
    h.view.fitInWindow();
    h.frame();
    for (auto _ : state) {
        h.view.viewport()->update();
        h.frame();
    }
    state.counters["zoom %"] = h.view.zoomX();
}
BENCHMARK(BM_FitInWindowFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// One mouse move while a selected state (with its six links) is dragged.
void BM_DragNodeFrame(benchmark::State& state)
{
    Harness h;
    h.view.setZoom(double(state.range(0)));
    Node* n = machine().diagram().item(kColumns + 3);
    h.view.centerOn(QRectF(n->left(), n->top(), n->width(), n->height()).center());
    h.frame();
    const QRectF before(n->left(), n->top(), n->width(), n->height());
    const QPoint at = h.view.mapFromScene(before.center());
    h.mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);  // selects it
    h.mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
    h.mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    int dx = 0;
    for (auto _ : state) {
        dx = dx == 40 ? 20 : 40;
        h.mouse(QEvent::MouseMove, at + QPoint(dx, dx / 2), Qt::LeftButton);
        h.frame();
    }
    h.mouse(QEvent::MouseButtonRelease, at + QPoint(dx, dx / 2), Qt::NoButton);
    n->setGeometry(before.left(), before.top(), before.width(), before.height());
    machine().diagram().clearSelection();
    h.frame();
}
BENCHMARK(BM_DragNodeFrame)->Arg(100)->Arg(25)->Unit(benchmark::kMillisecond)->UseRealTime();

// Selecting everything and nothing again, one selection signal per item.
void BM_SelectAllFrame(benchmark::State& state)
{
    Harness h;
    Diagram& d = machine().diagram();
    for (auto _ : state) {
        for (const auto& n : d.nodes())
            n->setSelected(true);
        h.frame();
        d.clearSelection();
        h.frame();
    }
}
BENCHMARK(BM_SelectAllFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// A bulk change with redraw off (every state recoloured), applied when
// redraw comes back on.
void BM_BulkChangeWithRedrawOff(benchmark::State& state)
{
    Harness h;
    Diagram& d = machine().diagram();
    quint32 colour = 0xFF0000;
    for (auto _ : state) {
        colour ^= 0x00FF00;
        d.setRedraw(false);
        for (const auto& n : d.nodes())
            if (States::isStateNode(n.get()))
                n->setDrawColor(colour);
        d.setRedraw(true);
        h.frame();
    }
}
BENCHMARK(BM_BulkChangeWithRedrawOff)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontTextMeasurer();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
