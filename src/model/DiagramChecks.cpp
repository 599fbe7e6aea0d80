#include "DiagramChecks.h"

#include "SafeFileWriter.h"

#include "ChildDiagrams.h"
#include "EntryExitAnalysis.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "Ranking.h"
#include "Records.h"
#include "States.h"
#include "Transitions.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cmath>
#include <unordered_set>

namespace orvane::DiagramChecks {

namespace {

// Collects the messages of the entry/exit analysis in the order given.
class CollectingMessenger : public Messenger {
public:
    void message(const QString& text, MessageIcon, const QString&) override
    {
        texts.push_back(text);
    }
    std::vector<QString> texts;
};

// Line breaks of a message text become blanks: one problem, one line.
QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString stateNameOf(const Node* state) { return stateRecord(state).name; }

// "transition 2 to "Idle"": the priority as written and the target.
QString describeTransition(const Node* t)
{
    return QStringLiteral("transition %1 to \"%2\"")
        .arg(transitionRecord(t).priority, stateNameOf(Ranking::transitionTarget(t)));
}

// The state an incoming link of the transition node comes from, if any.
const Node* sourceState(const Node* transition)
{
    for (const Link* l : transition->inLinks())
        if (States::isStateNode(l->org()))
            return l->org();
    return nullptr;
}

class DiagramChecker {
public:
    DiagramChecker(const Diagram& d, const QString& file) : m_d(d), m_file(file) {}

    std::vector<Problem> run()
    {
        checkMachine();
        checkEntryExit();
        checkStates();
        checkLooseTransitions();
        return std::move(m_problems);
    }

private:
    void add(Severity severity, const QString& text, const Node* node = nullptr,
             const QString& state = QString())
    {
        m_problems.push_back(Problem{severity, oneLine(text), m_file, node, state});
    }

    void checkMachine()
    {
        if (machineConfig(m_d).name.isEmpty())
            add(Severity::Error, kMsgNoName);
        for (const auto& n : m_d.nodes())
            if (States::isInitialNode(n.get()))
                return;
        add(Severity::Error, kMsgNoInitial);
    }

    // A state with an exit action needs a way out; the analysis says which
    // state in its own words, in rank order.
    void checkEntryExit()
    {
        EntryExitAnalysis analysis;
        CollectingMessenger said;
        bool anyEntry = false, anyExit = false;
        int errors = 0;
        analysis.analyse(m_d, anyEntry, anyExit, errors, said);
        size_t next = 0;
        for (const Node* s : Ranking::statesByRank(m_d)) {
            if (stateRecord(s).exit.isEmpty() || !s->outLinks().empty())
                continue;
            const QString text = next < said.texts.size() ? said.texts[next++] : kMsgEntryExit;
            add(Severity::Error, text, s, stateNameOf(s));
        }
    }

    void checkStates()
    {
        const std::vector<Node*> states = Ranking::statesByRank(m_d);
        std::unordered_set<const Node*> reached;
        for (const Node* s : states)
            for (const Node* t : Ranking::transitionsByRank(s))
                if (Ranking::transitionTarget(t) != s)
                    reached.insert(Ranking::transitionTarget(t));

        QHash<const Node*, const Node*> clashesWith;
        for (const auto& [earlier, later] : States::nameClashes(m_d))
            clashesWith.insert(later, earlier);
        for (const Node* s : states) {
            const QString name = stateNameOf(s);
            if (const Node* earlier = clashesWith.value(s))
                add(Severity::Error,
                    QStringLiteral("the state \"%1\" has the same name ignoring case: their "
                                   "generated constants collide")
                        .arg(stateNameOf(earlier)),
                    s, name);
            if (!States::isInitialNode(s) && !reached.count(s))
                add(Severity::Warning, QStringLiteral("no transition leads to this state"), s,
                    name);
            const std::vector<Node*> out = Ranking::transitionsByRank(s);
            if (out.empty() && !States::isFinalNode(s))
                add(Severity::Warning,
                    QStringLiteral("the state has no outgoing transition and is not final"), s,
                    name);
            checkTransitions(s, out);
        }
    }

    // Priorities run 1..n without repeats; after a transition without a
    // condition, none of lower priority can fire.
    void checkTransitions(const Node* s, const std::vector<Node*>& out)
    {
        const QString name = stateNameOf(s);
        const int n = int(out.size());
        QSet<double> seen;
        const Node* unconditioned = nullptr;
        for (const Node* t : out) {
            const TransitionRecord r = transitionRecord(t);
            const double p = Ranking::lenientNumber(r.priority);
            if (p != std::floor(p) || p < 1 || p > n)
                add(Severity::Warning,
                    QStringLiteral("%1: the priority \"%2\" is out of the range 1 to %3")
                        .arg(describeTransition(t), r.priority)
                        .arg(n),
                    t, name);
            else if (seen.contains(p))
                add(Severity::Warning,
                    QStringLiteral("%1: another transition of the state has the priority %2")
                        .arg(describeTransition(t), r.priority.trimmed()),
                    t, name);
            seen.insert(p);
            if (unconditioned)
                add(Severity::Warning,
                    QStringLiteral("%1 can never fire: %2 comes first and has no condition")
                        .arg(describeTransition(t), describeTransition(unconditioned)),
                    t, name);
            else if (r.condition.trimmed().isEmpty())
                unconditioned = t;
        }
    }

    void checkLooseTransitions()
    {
        for (const auto& n : m_d.nodes()) {
            const Node* t = n.get();
            if (!Transitions::isTransitionNode(t) || Ranking::transitionTarget(t))
                continue;
            const Node* from = sourceState(t);
            add(Severity::Warning,
                QStringLiteral("the transition with the priority \"%1\" has no target state and "
                               "is left out of the code")
                    .arg(transitionRecord(t).priority),
                t, from ? stateNameOf(from) : QString());
        }
    }

    const Diagram& m_d;
    QString m_file;
    std::vector<Problem> m_problems;
};

QString canonical(const QString& path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? QFileInfo(path).absoluteFilePath() : c;
}

class TreeChecker {
public:
    explicit TreeChecker(const OpenChild& open) : m_open(open) {}

    void walk(const FsmDocument& doc)
    {
        const QString self = canonical(doc.filePath);
        if (m_visited.contains(self))
            return;
        m_visited.insert(self);
        std::vector<Problem> own = checkDiagram(doc.diagram(), doc.filePath);
        m_problems.insert(m_problems.end(), own.begin(), own.end());
        checkName(doc, self);

        ChildDiagrams references;
        references.reset(doc.filePath);
        references.scanDiagram(doc.diagram());
        for (const QString& reference : references.children()) {
            const QString path = references.fullPath(reference);
            if (m_visited.contains(canonical(path)))
                continue;
            QString error;
            const FsmDocument* child = m_open(path, &error);
            if (!child) {
                m_problems.push_back(
                    Problem{Severity::Error,
                            oneLine(QStringLiteral("the child diagram %1 cannot be opened: %2")
                                        .arg(path, error.isEmpty() ? QStringLiteral("unknown error")
                                                                   : error)),
                            doc.filePath, nullptr, QString()});
                continue;
            }
            walk(*child);
        }
    }

    std::vector<Problem> m_problems;

private:
    // Two files of one tree may share an FSM name only when they hold the
    // same bytes (one diagram reached twice, or an exact copy).
    void checkName(const FsmDocument& doc, const QString& self)
    {
        const QString name = machineConfig(doc.diagram()).name;
        if (name.isEmpty())
            return;
        const auto first = m_names.constFind(name);
        if (first == m_names.constEnd()) {
            m_names.insert(name, self);
            return;
        }
        if (SafeFileWriter::readWholeFile(first.value()) == SafeFileWriter::readWholeFile(self))
            return;
        m_problems.push_back(
            Problem{Severity::Error,
                    QStringLiteral("the FSM name \"%1\" is also the name of %2: two different "
                                   "diagrams of one tree have one FSM name")
                        .arg(name, first.value()),
                    doc.filePath, nullptr, QString()});
    }

    const OpenChild& m_open;
    QSet<QString> m_visited;
    QHash<QString, QString> m_names;  // FSM name -> the first file with it
};

}  // namespace

std::vector<Problem> checkDiagram(const Diagram& d, const QString& file)
{
    return DiagramChecker(d, file).run();
}

std::vector<Problem> checkTree(const FsmDocument& top, const OpenChild& open)
{
    TreeChecker checker(open);
    checker.walk(top);
    return std::move(checker.m_problems);
}

int errorCount(const std::vector<Problem>& problems)
{
    int n = 0;
    for (const Problem& p : problems)
        n += p.severity == Severity::Error ? 1 : 0;
    return n;
}

}  // namespace orvane::DiagramChecks
