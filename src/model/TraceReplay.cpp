#include "TraceReplay.h"

#include <QRegularExpression>
#include <QSet>

namespace orvane::Simulation {

std::vector<TraceEntry> parseTrace(const QByteArray& bytes)
{
    std::vector<TraceEntry> out;
    const QByteArray marker = kTraceMarker.toLatin1();
    static const QRegularExpression fields(
        QStringLiteral("^\\s+(\\S+)\\s+(\\S+)\\s+(\\d{1,9})(?:\\s|$)"));
    int lineNumber = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        ++lineNumber;
        const QByteArray line = bytes.mid(start, end - start);
        start = end + 1;
        qsizetype at = line.indexOf(marker);
        // The marker must stand alone: at the line's start or after a blank,
        // and followed by a blank or the line's end.
        const auto standsAlone = [&line, &marker](qsizetype i) {
            const qsizetype after = i + marker.size();
            return (i == 0 || QChar::isSpace(uchar(line.at(i - 1))))
                   && (after >= line.size() || QChar::isSpace(uchar(line.at(after))));
        };
        while (at >= 0 && !standsAlone(at))
            at = line.indexOf(marker, at + 1);
        if (at < 0)
            continue;
        const QString rest = QString::fromUtf8(line.mid(at + marker.size()));
        TraceEntry e;
        e.line = lineNumber;
        const QRegularExpressionMatch m = fields.match(rest);
        if (m.hasMatch()) {
            e.machine = m.captured(1);
            e.state = m.captured(2);
            e.transition = m.captured(3).toInt();
        } else {
            e.wellFormed = false;
        }
        out.push_back(e);
    }
    return out;
}

int MachineCoverage::statesReached() const
{
    int n = 0;
    for (const int v : stateVisits)
        n += v > 0 ? 1 : 0;
    return n;
}

int MachineCoverage::transitionCount() const
{
    int n = 0;
    for (const auto& state : transitionFires)
        n += int(state.size());
    return n;
}

int MachineCoverage::transitionsFired() const
{
    int n = 0;
    for (const auto& state : transitionFires)
        for (const int f : state)
            n += f > 0 ? 1 : 0;
    return n;
}

TraceReplay::TraceReplay(std::vector<Machine> machines) : m_machines(std::move(machines))
{
    for (const Machine& m : m_machines) {
        MachineCoverage c;
        c.stateVisits.assign(m.states.size(), 0);
        for (const MachineState& s : m.states)
            c.transitionFires.emplace_back(s.transitions.size(), 0);
        m_coverage.push_back(std::move(c));
        m_current.push_back(std::max(0, m.initial));
        m_started.push_back(false);
    }
    // Own names first (the last of a repeated one, as the generated code
    // cannot tell them apart either), then the other names that belong to
    // one machine alone.
    for (size_t i = 0; i < m_machines.size(); ++i)
        m_byName.insert(m_machines[i].name, int(i));
    QHash<QString, int> others;
    QSet<QString> shared;
    for (size_t i = 0; i < m_machines.size(); ++i) {
        for (const QString& other : m_machines[i].otherNames) {
            if (m_byName.contains(other))
                continue;
            const auto found = others.constFind(other);
            if (found != others.constEnd() && found.value() != int(i))
                shared.insert(other);
            else
                others.insert(other, int(i));
        }
    }
    for (auto it = others.constBegin(); it != others.constEnd(); ++it)
        if (!shared.contains(it.key()))
            m_byName.insert(it.key(), it.value());
}

int TraceReplay::fit(int machine, int from, int to, int number, QString& why) const
{
    const Machine& m = m_machines[size_t(machine)];
    const MachineState& s = m.states[size_t(from)];
    if (number == 0) {
        if (from == to)
            return int(s.transitions.size());  // stayed: no transition, but a fit
        why = QStringLiteral("FSM \"%1\" is in state \"%2\", not \"%3\", and no transition fired")
                  .arg(m.name, s.name, m.states[size_t(to)].name);
        return -1;
    }
    bool numbered = false;
    for (size_t k = 0; k < s.transitions.size(); ++k) {
        if (s.transitions[k].number != number)
            continue;
        numbered = true;
        if (s.transitions[k].target == to)
            return int(k);
    }
    why =
        numbered
            ? QStringLiteral("transition %1 of state \"%2\" of FSM \"%3\" does not lead to \"%4\"")
                  .arg(number)
                  .arg(s.name, m.name, m.states[size_t(to)].name)
            : QStringLiteral("state \"%1\" of FSM \"%2\" has no transition %3")
                  .arg(s.name, m.name)
                  .arg(number);
    return -1;
}

bool TraceReplay::apply(const TraceEntry& entry)
{
    if (m_misfit)
        return false;
    if (!entry.wellFormed) {
        m_misfit = ReplayMisfit{entry.line, QStringLiteral("a trace line needs an FSM name, a "
                                                           "state name and a transition number")};
        return false;
    }
    const int machine = machineNamed(entry.machine);
    if (machine < 0)
        return true;  // another machine of the program
    const Machine& m = m_machines[size_t(machine)];
    MachineCoverage& c = m_coverage[size_t(machine)];
    if (m.initial < 0) {
        m_misfit =
            ReplayMisfit{entry.line, QStringLiteral("FSM \"%1\" has no initial state").arg(m.name)};
        return false;
    }
    const int to = m.stateIndex(entry.state);
    if (to < 0) {
        m_misfit = ReplayMisfit{
            entry.line, QStringLiteral("FSM \"%1\" has no state \"%2\"").arg(m.name, entry.state)};
        return false;
    }
    if (!m_started[size_t(machine)]) {
        m_started[size_t(machine)] = true;
        ++c.stateVisits[size_t(m.initial)];
    }
    int from = m_current[size_t(machine)];
    QString why;
    int k = fit(machine, from, to, entry.transition, why);
    if (k < 0 && from != m.initial) {
        QString ignored;
        k = fit(machine, m.initial, to, entry.transition, ignored);
        if (k >= 0) {
            from = m.initial;
            ++c.stateVisits[size_t(from)];
        }
    }
    if (k < 0) {
        m_misfit = ReplayMisfit{entry.line, why};
        return false;
    }
    if (k < int(m.states[size_t(from)].transitions.size())) {
        ++c.transitionFires[size_t(from)][size_t(k)];
        ++c.stateVisits[size_t(to)];
    }
    m_current[size_t(machine)] = to;
    return true;
}

int TraceReplay::applyAll(const std::vector<TraceEntry>& entries)
{
    int applied = 0;
    for (const TraceEntry& e : entries) {
        if (!apply(e))
            break;
        ++applied;
    }
    return applied;
}

namespace {
// One figure summed over the machines.
int sumOver(const std::vector<MachineCoverage>& coverage, int (MachineCoverage::*figure)() const)
{
    int n = 0;
    for (const MachineCoverage& c : coverage)
        n += (c.*figure)();
    return n;
}
}  // namespace

int TraceReplay::statesReached() const
{
    return sumOver(m_coverage, &MachineCoverage::statesReached);
}

int TraceReplay::stateCount() const { return sumOver(m_coverage, &MachineCoverage::stateCount); }

int TraceReplay::transitionsFired() const
{
    return sumOver(m_coverage, &MachineCoverage::transitionsFired);
}

int TraceReplay::transitionCount() const
{
    return sumOver(m_coverage, &MachineCoverage::transitionCount);
}

}  // namespace orvane::Simulation
