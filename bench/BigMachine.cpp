#include "BigMachine.h"

#include "Messenger.h"
#include "MachineInfo.h"
#include "States.h"
#include "Texts.h"

#include <cmath>
#include <vector>

namespace orvane::bench {

namespace {

constexpr double kPitch = 3000;  // twips between grid cells

Node* addTransition(Diagram& d, Node* from, Node* to, int priority, const QString& condition,
                    const QString& action, const QString& self)
{
    const double x = (from->left() + to->left()) / 2 + 200 * priority;
    const double y = (from->top() + to->top()) / 2 + 1100;
    Node* t = d.addNode(x, y, 150, 100);
    t->setUserData(NodeTransition);
    t->setTag(
        TransitionRecord{QString::number(priority), condition, action, self, QStringLiteral("N")}
            .toText());
    Link* in = d.addLink(from, t);
    in->setArrowDst(0);
    d.addLink(t, to);
    return t;
}

}  // namespace

void buildMachine(Diagram& d, int states, bool named)
{
    using namespace States;
    const int columns = std::max(1, int(std::ceil(std::sqrt(double(states)))));
    std::vector<Node*> nodes;
    nodes.reserve(size_t(states));
    for (int i = 0; i < states; ++i) {
        const QString name = named ? QStringLiteral("State%1").arg(i + 1) : QString();
        const bool entryExit = i % 5 == 0;
        Node* n =
            d.addNode(1000 + kPitch * (i % columns), 1000 + kPitch * (i / columns), 1500, 900);
        n->setUserData(i == 0 ? NodeStateInitial
                              : (i == states - 1 ? NodeStateFinal : NodeStateNormal));
        n->setTag(StateRecord{
            name, QStringLiteral("out(%1);\r\ncount++;").arg(i), QString::number(i + 1),
            entryExit ? QStringLiteral("led(1);") : QString(),
            entryExit ? QStringLiteral("led(0);\r\nlog(%1);\r\nbeep();").arg(i) : QString(),
            i % 3 == 0 ? QStringLiteral("Y") : QStringLiteral("N"),
            i % 4 == 0 ? QStringLiteral("Y") : QStringLiteral("N"),
            i % 7 == 0 ? QStringLiteral("idle();") : QString()}
                      .toText());
        nodes.push_back(n);
    }
    for (int i = 0; i < states; ++i) {
        Node* s = nodes[size_t(i)];
        addTransition(d, s, nodes[size_t((i + 1) % states)], 1,
                      QStringLiteral("in(%1)").arg(i % 16), QStringLiteral("step();"),
                      QStringLiteral("Y"));
        addTransition(d, s, nodes[0], 2, QStringLiteral("reset &&\r\nin(%1) // back").arg(i % 8),
                      QString(), QStringLiteral("Y"));
        addTransition(d, s, s, 3, QString(), QStringLiteral("wait();"), QStringLiteral("N"));
    }
    MachineInfo::setMachineConfig(
        d, MachineConfig{
               MachineInfo::kSignature, QStringLiteral("Big"), QStringLiteral("#include \"io.h\""),
               QStringLiteral("read();"),
               QStringLiteral(
                   "&Switch Case...;AS_Y;FO_Y;HC_N;FI_Y;FE_Y;DI_Y;AC_Y;PT_N;HF_N;BF_N;UM_Y;"),
               QStringLiteral("int a, char *p"), QStringLiteral("write();"), QString(),
               QStringLiteral("Benchmark machine."), QString(), QStringLiteral("Big_Init();")});
}

void openMachine(FsmDocument& doc, int states, const QString& path)
{
    buildMachine(doc.diagram(), states);
    doc.filePath = path;
    doc.readConfig(OptionOverrides{});
    SilentMessenger quiet;
    States::refreshAllItems(doc, quiet);
    doc.diagram().setChanged(false);
}

Node* buildFan(Diagram& d, int transitions)
{
    using namespace States;
    Node* hub = d.addNode(1000, 1000, 1500, 900);
    hub->setUserData(NodeStateInitial);
    hub->setTag(StateRecord{
        QStringLiteral("Hub"),
        {},
        QStringLiteral("1"),
        {},
        {},
        QStringLiteral("N"),
        QStringLiteral("N"),
        {}}.toText());
    for (int i = 0; i < transitions; ++i) {
        Node* s = d.addNode(1000 + kPitch * (i + 1), 5000, 1500, 900);
        s->setUserData(NodeStateNormal);
        s->setTag(StateRecord{
            QStringLiteral("S%1").arg(i),
            {},
            QString::number(i + 2),
            {},
            {},
            QStringLiteral("N"),
            QStringLiteral("N"),
            {}}.toText());
        // Priorities in reverse order, so that renumbering has to sort them.
        addTransition(d, hub, s, transitions - i, QStringLiteral("c(%1)").arg(i), QString(),
                      QStringLiteral("Y"));
    }
    return hub;
}

void openSmallMachine(FsmDocument& doc, const QString& name, const QString& during,
                      const QString& action, const QString& path)
{
    using namespace States;
    Diagram& d = doc.diagram();
    Node* first = d.addNode(1000, 1000, 1500, 900);
    first->setUserData(NodeStateInitial);
    first->setTag(StateRecord{QStringLiteral("Idle"), during, QStringLiteral("1"),
                              QStringLiteral("enter(1);"), QStringLiteral("leave(1);"),
                              QStringLiteral("N"), QStringLiteral("N"), QString()}
                      .toText());
    Node* second = d.addNode(4000 + kPitch, 1000, 1500, 900);
    second->setUserData(NodeStateNormal);
    second->setTag(StateRecord{QStringLiteral("Busy"), QStringLiteral("work();"),
                               QStringLiteral("2"), QString(), QString(), QStringLiteral("N"),
                               QStringLiteral("N"), QString()}
                       .toText());
    addTransition(d, first, second, 1, QStringLiteral("start"), action, QStringLiteral("Y"));
    addTransition(d, second, first, 1, QStringLiteral("done"), QStringLiteral("stop();"),
                  QStringLiteral("Y"));
    MachineInfo::setMachineConfig(
        d, MachineConfig{MachineInfo::kSignature, name, QStringLiteral("int level;"), QString(),
                         QStringLiteral("&Hierarchical Switch Case...;AS_Y;FO_Y;HC_N;FI_N;FE_N;"
                                        "DI_N;AC_N;PT_N;HF_N;BF_N;UM_Y;"),
                         QString(), QString(), QStringLiteral("level = 0;"), QString(), QString(),
                         QString()});
    doc.filePath = path;
    doc.readConfig(OptionOverrides{});
    SilentMessenger quiet;
    States::refreshAllItems(doc, quiet);
    doc.diagram().setChanged(false);
}

}  // namespace orvane::bench
