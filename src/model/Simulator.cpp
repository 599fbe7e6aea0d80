#include "Simulator.h"

#include "ChildDiagrams.h"
#include "FsmDocument.h"
#include "MachineInfo.h"
#include "Paths.h"
#include "Ranking.h"
#include "Records.h"
#include "States.h"

#include <QHash>
#include <QRegularExpression>

namespace orvane::Simulation {

namespace {

// Deeper calls than this are taken for a machine that calls itself.
constexpr int kMaxDepth = 32;

// Thrown inside a step when a condition must be asked; the step is undone.
struct Unanswered {
    Question question;
};

// What the generated code stores for a priority: the number it starts with,
// in an unsigned char.
int transitionNumber(const QString& priority)
{
    return int(qint64(Ranking::lenientNumber(priority)) & 0xFF);
}

// The parameter names of a parameter list: the last name of each part.
QStringList parameterNames(const QString& params)
{
    QStringList names;
    static const QRegularExpression lastName(
        QStringLiteral("([A-Za-z_]\\w*)\\s*(\\[\\s*\\])?\\s*$"));
    for (const QString& part : params.split(u',')) {
        const QRegularExpressionMatch m = lastName.match(part.trimmed());
        if (m.hasMatch() && m.captured(1) != u"void")
            names << m.captured(1);
    }
    return names;
}

// The arguments of a call, split at the commas outside parentheses.
QStringList splitArguments(const QString& text)
{
    QStringList out;
    QString current;
    int depth = 0;
    for (const QChar c : text) {
        if (c == u'(' || c == u'[')
            ++depth;
        else if (c == u')' || c == u']')
            --depth;
        if (c == u',' && depth == 0) {
            out << current;
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty() || !out.isEmpty())
        out << current;
    return out;
}

}  // namespace

int Machine::stateIndex(const QString& stateName) const
{
    for (size_t i = 0; i < states.size(); ++i)
        if (states[i].name == stateName)
            return int(i);
    return -1;
}

Machine Machine::read(const Diagram& d, bool history)
{
    Machine m;
    const MachineConfig config = machineConfig(d);
    m.name = config.name;
    m.parameters = parameterNames(config.params);
    m.init = config.init;
    m.before = config.before;
    m.after = config.after;
    m.history = history;
    const std::vector<Node*> ranked = Ranking::statesByRank(d);
    QHash<const Node*, int> indexOf;
    for (size_t i = 0; i < ranked.size(); ++i)
        indexOf.insert(ranked[i], int(i));
    for (const Node* node : ranked) {
        const StateRecord r = stateRecord(node);
        MachineState s;
        s.node = node;
        s.name = r.name;
        s.entry = r.entry;
        s.during = r.during;
        s.elseAction = r.elseAction;
        s.exit = r.exit;
        s.isFinal = States::isFinalNode(node);
        for (const Node* t : Ranking::transitionsByRank(node)) {
            const TransitionRecord tr = transitionRecord(t);
            const Node* target = Ranking::transitionTarget(t);
            MachineTransition mt;
            mt.node = t;
            mt.priority = tr.priority;
            mt.number = transitionNumber(tr.priority);
            mt.condition = tr.condition;
            mt.action = tr.action;
            mt.target = indexOf.value(target, 0);
            mt.internal = target == node && tr.selfFlag == QLatin1String("N");
            s.transitions.push_back(mt);
        }
        m.states.push_back(std::move(s));
    }
    // The last initial state in diagram order is where the code starts.
    for (const auto& node : d.nodes()) {
        const auto it = indexOf.constFind(node.get());
        if (it != indexOf.constEnd() && States::isInitialNode(node.get()))
            m.initial = it.value();
    }
    return m;
}

Machine Machine::read(const FsmDocument& document)
{
    Machine m = read(document.diagram(), document.historyMachine);
    const QString fileName = MachineInfo::nameForFile(document.filePath);
    if (!fileName.isEmpty() && fileName != m.name)
        m.otherNames.append(fileName);
    return m;
}

QList<std::pair<QString, qint64>> declaredVariables(const QString& code)
{
    QList<std::pair<QString, qint64>> out;
    const ExpressionEvaluator literal([](const QString&) { return std::nullopt; });
    static const QRegularExpression define(
        QStringLiteral("^\\s*#\\s*define\\s+([A-Za-z_]\\w*)\\s+(.+)$"));
    static const QRegularExpression declaration(
        QStringLiteral("^(?:(?:static|volatile|const|unsigned|signed|register)\\s+)*"
                       "(?:(?:unsigned|signed)\\s+)?(?:int|char|short|long\\s+long|long|bool|_Bool|"
                       "u?int(?:8|16|32|64)_t)\\s+(.+)$"));
    static const QRegularExpression item(QStringLiteral("^\\s*([A-Za-z_]\\w*)\\s*(?:=\\s*(.+))?$"));
    const QString text = withoutComments(code);
    for (const QString& rawLine : text.split(QRegularExpression(QStringLiteral("[\r\n]")))) {
        const QRegularExpressionMatch d = define.match(rawLine);
        if (d.hasMatch()) {
            if (const auto v = literal.evaluate(d.captured(2)))
                out.append({d.captured(1), *v});
            continue;
        }
        for (const QString& statement : rawLine.split(u';')) {
            const QRegularExpressionMatch m = declaration.match(statement.trimmed());
            if (!m.hasMatch())
                continue;
            for (const QString& part : m.captured(1).split(u',')) {
                const QRegularExpressionMatch i = item.match(part);
                if (!i.hasMatch())
                    continue;
                std::optional<qint64> v = 0;
                if (!i.captured(2).isEmpty()) {
                    v = ExpressionEvaluator([&out](const QString& name) -> std::optional<qint64> {
                            for (const auto& [n, value] : out)
                                if (n == name)
                                    return value;
                            return std::nullopt;
                        }).evaluate(i.captured(2));
                }
                if (v)
                    out.append({i.captured(1), *v});
            }
        }
    }
    return out;
}

QStringList splitStatements(const QString& text)
{
    QStringList out;
    const QString s = withoutComments(text);
    QString current;
    int parens = 0;
    int braces = 0;
    bool lineStart = true;
    const auto finish = [&out, &current] {
        const QString t = current.trimmed();
        if (!t.isEmpty())
            out << t;
        current.clear();
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (lineStart && c == u'#' && parens == 0 && braces == 0 && current.trimmed().isEmpty()) {
            // A preprocessor line is a statement of its own.
            qsizetype end = i;
            while (end < s.size() && s.at(end) != u'\r' && s.at(end) != u'\n')
                ++end;
            current = s.mid(i, end - i);
            finish();
            i = end;
            lineStart = true;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            // Literals are copied whole.
            qsizetype j = i + 1;
            while (j < s.size() && s.at(j) != c) {
                if (s.at(j) == u'\\')
                    ++j;
                ++j;
            }
            current += s.mid(i, j - i + 1);
            i = j;
            lineStart = false;
            continue;
        }
        lineStart = c == u'\r' || c == u'\n' || (lineStart && (c == u' ' || c == u'\t'));
        current += c;
        if (c == u'(')
            ++parens;
        else if (c == u')')
            parens = std::max(0, parens - 1);
        else if (c == u'{')
            ++braces;
        else if (c == u'}') {
            braces = std::max(0, braces - 1);
            if (braces == 0 && parens == 0)
                finish();
        } else if (c == u';' && parens == 0 && braces == 0)
            finish();
    }
    finish();
    return out;
}

Simulator::Simulator(std::vector<Machine> machines) : m_machines(std::move(machines))
{
    m_runs.resize(m_machines.size());
    for (size_t i = 0; i < m_machines.size(); ++i)
        m_runs[i].state = std::max(0, m_machines[i].initial);
}

int Simulator::machineIndex(const QString& name) const
{
    for (size_t i = 0; i < m_machines.size(); ++i)
        if (m_machines[i].name == name)
            return int(i);
    return -1;
}

bool Simulator::canRun() const { return !m_machines.empty() && m_machines.front().initial >= 0; }

void Simulator::addDeclaredVariables()
{
    for (const Machine& m : m_machines) {
        for (const auto& [name, value] : declaredVariables(m.init))
            if (!m_variables.contains(name))
                m_variables.insert(name, value);
        for (const QString& p : m.parameters)
            if (!m_variables.contains(p))
                m_variables.insert(p, 0);
    }
}

void Simulator::answer(const Question& question, bool value)
{
    m_answers[{question.machine, question.state, question.transition}] = value;
}

ExpressionEvaluator Simulator::evaluator() const
{
    return ExpressionEvaluator([this](const QString& name) -> std::optional<qint64> {
        const auto it = m_variables.constFind(name);
        if (it == m_variables.constEnd())
            return std::nullopt;
        return it.value();
    });
}

Simulator::StepResult Simulator::step()
{
    if (!canRun())
        return StepResult::CannotRun;
    if (!m_started) {
        m_start = {m_runs, m_variables};
        m_started = true;
    }
    const Snapshot before{m_runs, m_variables};
    StepRecord record;
    try {
        stepMachine(0, 0, record);
    } catch (const Unanswered& u) {
        m_runs = before.runs;
        m_variables = before.variables;
        m_question = u.question;
        return StepResult::NeedsAnswer;
    }
    m_question.reset();
    m_answers.clear();
    m_before.push_back(before);
    m_steps.push_back(std::move(record));
    return StepResult::Stepped;
}

int Simulator::run(int maxSteps)
{
    int made = 0;
    while (made < maxSteps && !atFinal() && step() == StepResult::Stepped)
        ++made;
    return made;
}

bool Simulator::back()
{
    if (m_before.empty())
        return false;
    m_runs = m_before.back().runs;
    m_variables = m_before.back().variables;
    m_before.pop_back();
    m_steps.pop_back();
    m_question.reset();
    m_answers.clear();
    return true;
}

void Simulator::reset()
{
    if (m_started)
        m_variables = m_start.variables;
    for (size_t i = 0; i < m_machines.size(); ++i)
        m_runs[i] = Run{std::max(0, m_machines[i].initial), false, 0};
    m_before.clear();
    m_steps.clear();
    m_answers.clear();
    m_question.reset();
    m_started = false;
}

bool Simulator::atFinal() const
{
    if (!canRun())
        return false;
    return m_machines.front().states[size_t(m_runs.front().state)].isFinal;
}

QStringList Simulator::childrenOf(int machine, int state) const
{
    const MachineState& s = m_machines[size_t(machine)].states[size_t(state)];
    // The children are found as the generators find them; a machine of the
    // tree stands for an existing diagram file of its name.
    ChildDiagrams references(
        [this](const QString& path) { return machineIndex(Paths::baseName(path)) > 0; });
    references.reset(QStringLiteral("/machine.fsm"));
    references.scanText(s.during + QStringLiteral("\r\n") + s.elseAction);
    QStringList names;
    for (const QString& child : references.children()) {
        const QString name = Paths::baseName(child);
        if (!names.contains(name))
            names << name;
    }
    return names;
}

void Simulator::restart(int machine, int depth)
{
    const Machine& m = m_machines[size_t(machine)];
    if (m.history || depth > kMaxDepth)
        return;
    m_runs[size_t(machine)] = Run{std::max(0, m.initial), false, 0};
    QStringList children;
    for (size_t s = 0; s < m.states.size(); ++s)
        for (const QString& c : childrenOf(machine, int(s)))
            if (!children.contains(c))
                children << c;
    for (const QString& c : children)
        restart(machineIndex(c), depth + 1);
}

bool Simulator::holds(int machine, int state, int transition)
{
    const MachineTransition& t =
        m_machines[size_t(machine)].states[size_t(state)].transitions[size_t(transition)];
    if (const auto known = evaluator().condition(t.condition))
        return *known;
    const auto given = m_answers.find({machine, state, transition});
    if (given != m_answers.end())
        return given->second;
    const Question q{machine, state, transition, t.condition};
    if (m_oracle)
        if (const auto answered = m_oracle(q))
            return *answered;
    throw Unanswered{q};
}

void Simulator::stepMachine(int machine, int depth, StepRecord& record)
{
    const Machine& m = m_machines[size_t(machine)];
    if (m.initial < 0 || depth > kMaxDepth) {
        record.log << QStringLiteral("%1: not run").arg(m.name);
        return;
    }
    Run& run = m_runs[size_t(machine)];
    execute(m.before, machine, depth, record);
    run.debugTransition = 0;
    const int current = run.state;
    const MachineState& s = m.states[size_t(current)];
    const bool hasEntry = !s.entry.isEmpty();
    if (hasEntry && !run.entryDone) {
        run.entryDone = true;
        execute(s.entry, machine, depth, record);
    }
    execute(s.during, machine, depth, record);
    bool fired = false;
    for (size_t k = 0; k < s.transitions.size() && !fired; ++k) {
        if (!holds(machine, current, int(k)))
            continue;
        const MachineTransition& t = s.transitions[k];
        fired = true;
        if (!t.internal) {
            for (const QString& child : childrenOf(machine, current))
                restart(machineIndex(child), depth + 1);
            if (!s.exit.isEmpty())
                execute(s.exit, machine, depth, record);
        }
        execute(t.action, machine, depth, record);
        Run& after = m_runs[size_t(machine)];
        after.state = t.target;
        after.debugTransition = t.number;
        if (hasEntry && !t.internal)
            after.entryDone = false;
        record.fired.push_back({machine, current, int(k)});
        record.log << QStringLiteral("%1: %2 -> %3 [%4]")
                          .arg(m.name, s.name, m.states[size_t(t.target)].name, t.priority);
    }
    if (!fired)
        execute(s.elseAction, machine, depth, record);
    execute(m.after, machine, depth, record);
    const Run& end = m_runs[size_t(machine)];
    record.trace.push_back({m.name, m.states[size_t(end.state)].name, end.debugTransition});
}

void Simulator::execute(const QString& text, int machine, int depth, StepRecord& record)
{
    if (text.isEmpty())
        return;
    static const QRegularExpression assignment(
        QStringLiteral(
            "^([A-Za-z_]\\w*)\\s*(=|\\+=|-=|\\*=|/=|%=|<<=|>>=|&=|\\^=|\\|=)(?!=)\\s*(.+?)\\s*;?$"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression increment(QStringLiteral(
        "^(?:([A-Za-z_]\\w*)\\s*(\\+\\+|--)|(\\+\\+|--)\\s*([A-Za-z_]\\w*))\\s*;?$"));
    static const QRegularExpression call(QStringLiteral("^([A-Za-z_]\\w*)\\s*\\((.*)\\)\\s*;?$"),
                                         QRegularExpression::DotMatchesEverythingOption);
    const QString& who = m_machines[size_t(machine)].name;
    for (const QString& statement : splitStatements(text)) {
        if (const auto a = assignment.match(statement); a.hasMatch()) {
            const QString name = a.captured(1);
            const QString op = a.captured(2);
            QString expression = a.captured(3);
            if (op != u"=")
                expression = name + u' ' + op.chopped(1) + QStringLiteral(" (") + expression + u')';
            if (const auto v = evaluator().evaluate(expression)) {
                m_variables.insert(name, *v);
                record.log << QStringLiteral("%1: %2 = %3").arg(who, name).arg(*v);
            } else {
                m_variables.remove(name);
                record.log << QStringLiteral("%1: %2 (%3 unknown)").arg(who, statement, name);
            }
            continue;
        }
        if (const auto inc = increment.match(statement); inc.hasMatch()) {
            const QString name = inc.captured(1).isEmpty() ? inc.captured(4) : inc.captured(1);
            const bool up = (inc.captured(2) + inc.captured(3)) == u"++";
            const auto it = m_variables.find(name);
            if (it != m_variables.end()) {
                *it = qint64(quint64(*it) + (up ? 1U : quint64(-1)));
                record.log << QStringLiteral("%1: %2 = %3").arg(who, name).arg(*it);
            } else {
                record.log << QStringLiteral("%1: %2 (%3 unknown)").arg(who, statement, name);
            }
            continue;
        }
        if (const auto c = call.match(statement); c.hasMatch()) {
            const int child = machineIndex(c.captured(1));
            if (child >= 0) {
                // The arguments become the child's parameters.
                const QStringList args = splitArguments(c.captured(2));
                const Machine& cm = m_machines[size_t(child)];
                for (qsizetype i = 0; i < cm.parameters.size() && i < args.size(); ++i) {
                    if (const auto v = evaluator().evaluate(args.at(i)))
                        m_variables.insert(cm.parameters.at(i), *v);
                }
                stepMachine(child, depth + 1, record);
                continue;
            }
        }
        record.log << QStringLiteral("%1: %2").arg(who, statement);
    }
}

}  // namespace orvane::Simulation
