// Generation time of a large machine (5,000 states, 15,000 transitions) in
// each methodology and as a list file. Generation should grow linearly with
// the machine, so the time per state stays flat from 500 to 5,000 states.

#include "Diagram.h"
#include "Messenger.h"
#include "modC_CodeGen.h"
#include "modStrings.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

using namespace orvane;

namespace {

// Three transitions per state: to the next state, a multi-line condition
// back to the first one, and an internal self transition. Every fifth state
// has entry and exit actions, every seventh an else action.
std::unique_ptr<Diagram> BuildMachine(int states)
{
    auto d = std::make_unique<Diagram>();
    std::vector<Node*> nodes;
    nodes.reserve(size_t(states));
    for (int i = 0; i < states; ++i) {
        const QString name = QStringLiteral("State%1").arg(i + 1);
        const bool entryExit = i % 5 == 0;
        Node* n = d->addNode(0, 0, 1500, 900);
        n->setUserData(i == 0 ? 0x4000 : (i == states - 1 ? 0x8000 : 0x2000));
        n->setTag(modStrings::JoinFields(
            {name, QStringLiteral("out(%1);\r\ncount++;").arg(i), QString::number(i + 1),
             entryExit ? QStringLiteral("led(1);") : QString(),
             entryExit ? QStringLiteral("led(0);\r\nlog(%1);\r\nbeep();").arg(i) : QString(),
             i % 3 == 0 ? QStringLiteral("Y") : QStringLiteral("N"),
             i % 4 == 0 ? QStringLiteral("Y") : QStringLiteral("N"),
             i % 7 == 0 ? QStringLiteral("idle();") : QString()}));
        nodes.push_back(n);
    }
    auto transition = [&](Node* from, Node* to, int priority, const QString& condition,
                          const QString& action, const QString& self) {
        Node* t = d->addNode(0, 0, 150, 100);
        t->setUserData(0x800);
        t->setTag(modStrings::JoinFields(
            {QString::number(priority), condition, action, self, QStringLiteral("N")}));
        d->addLink(from, t);
        d->addLink(t, to);
    };
    for (int i = 0; i < states; ++i) {
        Node* s = nodes[size_t(i)];
        transition(s, nodes[size_t((i + 1) % states)], 1, QStringLiteral("in(%1)").arg(i % 16),
                   QStringLiteral("step();"), QStringLiteral("Y"));
        transition(s, nodes[0], 2, QStringLiteral("reset &&\r\nin(%1) // back").arg(i % 8),
                   QString(), QStringLiteral("Y"));
        transition(s, s, 3, QString(), QStringLiteral("wait();"), QStringLiteral("N"));
    }
    d->setTag(modStrings::JoinFields(
        {QStringLiteral("FSM V0.4c"), QStringLiteral("Big"), QStringLiteral("#include \"io.h\""),
         QStringLiteral("read();"), QString(), QStringLiteral("int a, char *p"),
         QStringLiteral("write();"), QString(), QStringLiteral("Benchmark machine."), QString(),
         QStringLiteral("Big_Init();")}));
    return d;
}

const Diagram& Machine(int states)
{
    static std::map<int, std::unique_ptr<Diagram>> cache;
    auto& d = cache[states];
    if (!d)
        d = BuildMachine(states);
    return *d;
}

const QString kPath = QStringLiteral("/nonexistent/Big.fsm");

template <typename Generate>
void Run(benchmark::State& state, Generate generate)
{
    const Diagram& d = Machine(int(state.range(0)));
    SilentMessenger messenger;
    qsizetype size = 0;
    for (auto _ : state) {
        const QString text = generate(d, messenger);
        size = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.counters["chars"] = double(size);
    state.SetComplexityN(state.range(0));
}

void SwitchCase(benchmark::State& state)
{
    Run(state, [](const Diagram& d, Messenger& m) {
        return modC_CodeGen::GenerateCodeSwitchCase(d, kPath, true, true, false, true, true, false,
                                                    m);
    });
}

void Pointers(benchmark::State& state)
{
    Run(state, [](const Diagram& d, Messenger& m) {
        return modC_CodeGen::GenerateCodePointers(d, kPath, true, true, false, true, true, false,
                                                  m);
    });
}

void PointerArray(benchmark::State& state)
{
    Run(state, [](const Diagram& d, Messenger& m) {
        return modC_CodeGen::GenerateCodePointerArray(d, kPath, true, true, false, true, true,
                                                      false, m);
    });
}

void ListFile(benchmark::State& state)
{
    Run(state, [](const Diagram& d, Messenger&) { return modC_CodeGen::GenerateListFile(d); });
}

BENCHMARK(SwitchCase)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(Pointers)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(PointerArray)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(ListFile)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

BENCHMARK_MAIN();
