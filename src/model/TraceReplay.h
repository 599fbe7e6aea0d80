#pragma once
// Trace lines a program prints and their replay over a tree of machines.
// A program built with debug information and FSM_DEBUG prints, from each
// machine's after actions,
//
//   printf("orvane-trace %s %s %d\n", FSM_NAME(), FSM_STATE_NAME(), FSM_TRANS_NUMBER());
//
// that is "orvane-trace", the FSM name, the state it is in after the call
// and the number of the transition that fired in it (0: none). Lines
// without the marker are skipped, so a trace may be any program output or
// a serial log; lines of machines outside the tree are skipped too.
// A line names a machine by its name or by one of its other names (the
// name stored in its file and the one the editor gives it). A machine's
// own name always wins; another name that is also a name of a second
// machine of the tree names neither, so two machines are never mixed.
// Replaying counts how often every state was reached and every transition
// fired, and stops at the first line that does not fit the diagram.

#include "Simulator.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace orvane::Simulation {

inline const QString kTraceMarker = QStringLiteral("orvane-trace");

struct TraceEntry {
    int line = 0;  // from 1
    QString machine, state;
    int transition = 0;
    bool wellFormed = true;  // false: the marker without a name, a state and a number
};

// Every line that holds the marker, in order.
std::vector<TraceEntry> parseTrace(const QByteArray& bytes);

struct MachineCoverage {
    std::vector<int> stateVisits;                   // by state: arrivals, the start included
    std::vector<std::vector<int>> transitionFires;  // by state, by transition rank

    int stateCount() const { return int(stateVisits.size()); }
    int statesReached() const;
    int transitionCount() const;
    int transitionsFired() const;
};

struct ReplayMisfit {
    int line = 0;
    QString text;
};

class TraceReplay {
public:
    explicit TraceReplay(std::vector<Machine> machines);

    const std::vector<Machine>& machines() const { return m_machines; }
    const std::vector<MachineCoverage>& coverage() const { return m_coverage; }
    int currentState(int machine) const { return m_current[size_t(machine)]; }
    // The machine a trace line's FSM name stands for; -1 when none.
    int machineNamed(const QString& name) const { return m_byName.value(name, -1); }
    const std::optional<ReplayMisfit>& misfit() const { return m_misfit; }

    // Takes one entry; false, with the misfit set, when it does not fit.
    // Nothing is taken after a misfit. A line that fits no step from the
    // current state but one from the initial state is a restart (a parent
    // or the program called the machine's Init).
    bool apply(const TraceEntry& entry);
    // Applies every entry up to the first misfit; the number applied.
    int applyAll(const std::vector<TraceEntry>& entries);

    // Totals over the tree.
    int statesReached() const;
    int stateCount() const;
    int transitionsFired() const;
    int transitionCount() const;

private:
    // The transition rank that leads from `from` to `to` with `number`, -1
    // when none; `why` says what does not fit.
    int fit(int machine, int from, int to, int number, QString& why) const;

    std::vector<Machine> m_machines;
    QHash<QString, int> m_byName;
    std::vector<MachineCoverage> m_coverage;
    std::vector<int> m_current;
    std::vector<bool> m_started;
    std::optional<ReplayMisfit> m_misfit;
};

}  // namespace orvane::Simulation
