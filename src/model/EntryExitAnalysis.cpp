#include "EntryExitAnalysis.h"

#include "Messenger.h"
#include "Ranking.h"
#include "States.h"
#include "Transitions.h"
#include "Texts.h"

namespace orvane {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

QString rejectionMessage(const QString& name)
{
    return QStringLiteral("The \"Exit action\" of the node: ") + name + kCrLf
           + QStringLiteral("node hasn 't Exit transitions were transfer.") + kCrLf
           + QStringLiteral("the Entry action");
}
}  // namespace

void EntryExitAnalysis::analyse(const Diagram& d, bool& hasEntry, bool& hasExit, int& errors,
                                Messenger& messenger)
{
    using namespace States;
    hasEntry = false;
    hasExit = false;
    errors = 0;
    m_states.clear();
    for (const Node* node : Ranking::statesByRank(d)) {
        State s;
        const StateRecord record = stateRecord(node);
        s.name = record.name;
        s.entry = record.entry;
        s.exit = record.exit;
        hasEntry = hasEntry || !s.entry.isEmpty();
        hasExit = hasExit || !s.exit.isEmpty();
        s.outCount = int(node->outLinks().size());
        for (const Node* t : Ranking::transitionsByRank(node)) {
            const Node* target = Ranking::transitionTarget(t);
            Transition tr;
            tr.targetName = recordField(target, RecordField::StateName);
            tr.internal =
                target == node && recordField(t, RecordField::SelfFlag) == QLatin1String("N");
            s.transitions.push_back(tr);
        }
        if (!s.exit.isEmpty()) {
            s.exitCount = s.outCount;
            if (s.outCount == 0) {
                messenger.message(rejectionMessage(s.name), MessageIcon::Critical);
                ++errors;
            }
        }
        decideExitEmission(s);
        m_states.push_back(std::move(s));
    }
}

void EntryExitAnalysis::decideExitEmission(State& s) const
{
    if (s.exitCount <= 0)
        return;
    QString code = s.exit;
    s.useExitFunction = s.exitCount >= 2 && s.exit.count(QLatin1Char(';')) >= 3;
    if (s.useExitFunction) {
        const QString function = s.name + m_suffix + QStringLiteral("_OnExit");
        s.exitPrototype = QStringLiteral("static void ") + function + QStringLiteral("(void);");
        s.exitBody = QStringLiteral("static void ") + function + QStringLiteral("(void)") + kCrLf
                     + QStringLiteral("{") + kCrLf + Texts::indentText(s.exit, 4, true) + kCrLf
                     + QStringLiteral("}");
        code = function + QStringLiteral("();");
    }
    for (Transition& t : s.transitions)
        t.exitCode = code;
}

const EntryExitAnalysis::State* EntryExitAnalysis::at(int rank) const
{
    if (rank < 1 || rank > stateCount())
        return nullptr;
    return &m_states[size_t(rank - 1)];
}

QString EntryExitAnalysis::stateName(int rank) const
{
    const State* s = at(rank);
    return s ? s->name : QString();
}

QString EntryExitAnalysis::entryAction(int rank, bool& exists) const
{
    const State* s = at(rank);
    const QString entry = s ? s->entry : QString();
    exists = !entry.isEmpty();
    return entry;
}

QString EntryExitAnalysis::exitAction(int rank) const
{
    const State* s = at(rank);
    return s ? s->exit : QString();
}

QString EntryExitAnalysis::transitionExit(int rank, int priorityRank, bool& internal,
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

QString EntryExitAnalysis::exitFunctionTexts(QString State::*text) const
{
    QString out;
    for (const State& s : m_states)
        if (s.useExitFunction)
            out += s.*text + kCrLf;
    return out;
}

QString EntryExitAnalysis::exitFunctionDeclarations() const
{
    return exitFunctionTexts(&State::exitPrototype);
}

QString EntryExitAnalysis::exitFunctionDefinitions() const
{
    return exitFunctionTexts(&State::exitBody);
}

}  // namespace orvane
