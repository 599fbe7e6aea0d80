#pragma once
// The panel of trace replay: a trace read from a program's output stepped
// through line by line over the diagram and its children (Step, Back, Run to
// the end), the current state of every machine, the line reached, and the
// line that does not fit the diagram, where the replay stops.

#include "TraceReplay.h"

#include <QHash>
#include <QWidget>

#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace orvane {

class Node;

class ReplayDock : public QWidget {
    Q_OBJECT
public:
    ReplayDock(std::vector<Simulation::Machine> machines, const QByteArray& trace,
               const QString& traceName, QWidget* parent = nullptr);

    const Simulation::TraceReplay& replay() const { return m_replay; }
    // The trace entries applied so far.
    int position() const { return m_position; }
    int entryCount() const { return int(m_entries.size()); }

    void step();
    void back();
    void runToEnd();

    // Every state and transition node of the machines with its coverage
    // colour (reached or fired: green, else red) and its counts as a tip.
    QHash<const Node*, QColor> coverageColours() const;
    QHash<const Node*, QString> coverageTips() const;
    std::vector<const Node*> currentNodes() const;
    std::vector<const Node*> firedNodes() const { return m_fired; }

signals:
    void stepped();

private:
    void refresh();

    std::vector<Simulation::Machine> m_machines;
    std::vector<Simulation::TraceEntry> m_entries;
    Simulation::TraceReplay m_replay;
    int m_position = 0;
    std::vector<const Node*> m_fired;
    QLabel* m_state = nullptr;
    QLabel* m_misfit = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QPushButton* m_backButton = nullptr;
};

}  // namespace orvane
