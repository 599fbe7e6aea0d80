#include "clsEntryExit.h"

#include "Messenger.h"
#include "modFsmOrder.h"
#include "modNodoEstado.h"
#include "modNodoTransicion.h"
#include "modStrings.h"

namespace orvane {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

QString RejectionMessage(const QString& name)
{
    return QStringLiteral("The \"Exit action\" of the node: ") + name + kCrLf
           + QStringLiteral("node hasn 't Exit transitions were transfer.") + kCrLf
           + QStringLiteral("the Entry action");
}
}  // namespace

void clsEntryExit::ProcesarEntryExit(const Diagram& d, bool& hasEntry, bool& hasExit, int& errors,
                                     Messenger& messenger)
{
    using namespace modNodoEstado;
    hasEntry = false;
    hasExit = false;
    errors = 0;
    m_states.clear();
    for (const Node* node : modFsmOrder::StatesByRank(d)) {
        State s;
        s.name = GetStateField(kStateName, node);
        s.entry = GetStateField(kStateEntry, node);
        s.exit = GetStateField(kStateExit, node);
        hasEntry = hasEntry || !s.entry.isEmpty();
        hasExit = hasExit || !s.exit.isEmpty();
        s.outCount = int(node->outLinks().size());
        for (const Node* t : modFsmOrder::TransitionsByRank(node)) {
            const Node* target = modFsmOrder::TransitionTarget(t);
            Transition tr;
            tr.targetName = GetStateField(kStateName, target);
            tr.internal = target == node
                          && modNodoTransicion::GetTransitionField(modNodoTransicion::kTransSelf, t)
                                 == QLatin1String("N");
            s.transitions.push_back(tr);
        }
        if (!s.exit.isEmpty()) {
            s.exitCount = s.outCount;
            if (s.outCount == 0) {
                messenger.message(RejectionMessage(s.name), MessageIcon::Critical);
                ++errors;
            }
        }
        decideExitEmission(s);
        m_states.push_back(std::move(s));
    }
}

void clsEntryExit::decideExitEmission(State& s) const
{
    if (s.exitCount <= 0)
        return;
    QString code = s.exit;
    s.useExitFunction = s.exitCount >= 2 && s.exit.count(QLatin1Char(';')) >= 3;
    if (s.useExitFunction) {
        const QString function = s.name + m_suffix + QStringLiteral("_OnExit");
        s.exitPrototype = QStringLiteral("static void ") + function + QStringLiteral("(void);");
        s.exitBody = QStringLiteral("static void ") + function + QStringLiteral("(void)") + kCrLf
                     + QStringLiteral("{") + kCrLf + modStrings::IndentText(s.exit, 4, true) + kCrLf
                     + QStringLiteral("}");
        code = function + QStringLiteral("();");
    }
    for (Transition& t : s.transitions)
        t.exitCode = code;
}

const clsEntryExit::State* clsEntryExit::at(int rank) const
{
    if (rank < 1 || rank > NumNodos())
        return nullptr;
    return &m_states[size_t(rank - 1)];
}

QString clsEntryExit::StateName(int rank) const
{
    const State* s = at(rank);
    return s ? s->name : QString();
}

QString clsEntryExit::ExisteEntryAccion(int rank, bool& exists) const
{
    const State* s = at(rank);
    const QString entry = s ? s->entry : QString();
    exists = !entry.isEmpty();
    return entry;
}

QString clsEntryExit::ExitAction(int rank) const
{
    const State* s = at(rank);
    return s ? s->exit : QString();
}

QString clsEntryExit::ExistExitInThisTrans(int rank, int priorityRank, bool& internal,
                                           bool& runExit) const
{
    internal = false;
    runExit = false;
    const State* s = at(rank);
    if (!s || priorityRank < 1 || priorityRank > int(s->transitions.size()))
        return {};
    const Transition& t = s->transitions[size_t(priorityRank - 1)];
    internal = t.internal;
    runExit = !t.exitCode.isEmpty() && !t.internal;
    return t.exitCode;
}

QString clsEntryExit::exitFunctionTexts(QString State::*text) const
{
    QString out;
    for (const State& s : m_states)
        if (s.useExitFunction)
            out += s.*text + kCrLf;
    return out;
}

QString clsEntryExit::DimeDefinicionExitFunc() const
{
    return exitFunctionTexts(&State::exitPrototype);
}

QString clsEntryExit::DimeImplementacionExitFunc() const
{
    return exitFunctionTexts(&State::exitBody);
}

}  // namespace orvane
