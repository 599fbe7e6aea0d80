#pragma once
// The panel of Simulate mode: the current state of the machine (and of the
// children it calls), the variables (added, edited and removed by the
// user), the outgoing transitions of the current state in priority order
// with their conditions and what they evaluate to, the condition that must
// be answered, the log, and the Step, Run, Reset and Back buttons.

#include "Simulator.h"

#include <QWidget>

#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace orvane {

class Node;

class SimulationDock : public QWidget {
    Q_OBJECT
public:
    // machines[0] is the simulated machine, the others its children.
    explicit SimulationDock(std::vector<Simulation::Machine> machines, QWidget* parent = nullptr);

    Simulation::Simulator& simulator() { return m_sim; }

    void step();
    // Steps until a question, a final state or the number of steps set.
    void run();
    void reset();
    void back();
    // Answers the open question and makes the step again.
    void answer(bool value);
    // A transition of the current state chosen by the user (its row): an
    // asked condition of it counts as true and the step is made.
    void fireTransition(int row);
    // Adds a variable with a free name and the value 0.
    void addVariable();
    void removeSelectedVariable();

    // The current state's node of every machine; the transitions fired by
    // the last step.
    std::vector<const Node*> currentNodes() const;
    std::vector<const Node*> firedNodes() const;

signals:
    // The state of the simulation changed (a step, back, reset).
    void stepped();

private:
    void refresh();
    void refreshVariables();
    void refreshTransitions();
    void variableEdited(int row, int column);
    void appendLog(const QString& text);

    Simulation::Simulator m_sim;
    QLabel* m_state = nullptr;
    QTableWidget* m_variables = nullptr;
    QTreeWidget* m_transitions = nullptr;
    QLabel* m_question = nullptr;
    QPushButton* m_yes = nullptr;
    QPushButton* m_no = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QSpinBox* m_runSteps = nullptr;
    QPushButton* m_backButton = nullptr;
    bool m_filling = false;
};

}  // namespace orvane
