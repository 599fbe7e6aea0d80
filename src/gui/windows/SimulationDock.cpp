#include "SimulationDock.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvane {

namespace {

QPushButton* button(QWidget* parent, const QString& name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

// A value typed by the user: an integer (C notation) or true / false.
std::optional<qint64> typedValue(const QString& text)
{
    const Simulation::ExpressionEvaluator literal([](const QString&) { return std::nullopt; });
    return literal.evaluate(text);
}

}  // namespace

SimulationDock::SimulationDock(std::vector<Simulation::Machine> machines, QWidget* parent)
    : QWidget(parent), m_sim(std::move(machines))
{
    setObjectName(QStringLiteral("simulationDock"));
    m_sim.addDeclaredVariables();
    auto* layout = new QVBoxLayout(this);
    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("currentState"));
    m_state->setWordWrap(true);
    layout->addWidget(m_state);

    auto* buttons = new QHBoxLayout;
    QPushButton* stepButton = button(this, QStringLiteral("stepButton"), tr("&Step"));
    QPushButton* runButton = button(this, QStringLiteral("runButton"), tr("&Run"));
    m_runSteps = new QSpinBox(this);
    m_runSteps->setObjectName(QStringLiteral("runSteps"));
    m_runSteps->setRange(1, 100000);
    m_runSteps->setValue(100);
    m_runSteps->setToolTip(tr("The most steps a run makes"));
    m_backButton = button(this, QStringLiteral("backButton"), tr("&Back"));
    QPushButton* resetButton = button(this, QStringLiteral("resetButton"), tr("Rese&t"));
    for (QWidget* w : std::initializer_list<QWidget*>{stepButton, runButton, m_runSteps,
                                                      m_backButton, resetButton})
        buttons->addWidget(w);
    layout->addLayout(buttons);
    connect(stepButton, &QPushButton::clicked, this, &SimulationDock::step);
    connect(runButton, &QPushButton::clicked, this, &SimulationDock::run);
    connect(m_backButton, &QPushButton::clicked, this, &SimulationDock::back);
    connect(resetButton, &QPushButton::clicked, this, &SimulationDock::reset);

    m_question = new QLabel(this);
    m_question->setObjectName(QStringLiteral("question"));
    m_question->setWordWrap(true);
    m_yes = button(this, QStringLiteral("trueButton"), tr("True"));
    m_no = button(this, QStringLiteral("falseButton"), tr("False"));
    auto* answers = new QHBoxLayout;
    answers->addWidget(m_question, 1);
    answers->addWidget(m_yes);
    answers->addWidget(m_no);
    layout->addLayout(answers);
    connect(m_yes, &QPushButton::clicked, this, [this] { answer(true); });
    connect(m_no, &QPushButton::clicked, this, [this] { answer(false); });

    layout->addWidget(new QLabel(tr("Transitions of the current state:"), this));
    m_transitions = new QTreeWidget(this);
    m_transitions->setObjectName(QStringLiteral("transitions"));
    m_transitions->setHeaderLabels({tr("Priority"), tr("Condition"), tr("To"), tr("Holds")});
    m_transitions->setRootIsDecorated(false);
    m_transitions->setToolTip(
        tr("Double click a transition to fire it when its condition is asked"));
    connect(m_transitions, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        fireTransition(m_transitions->indexOfTopLevelItem(item));
    });
    layout->addWidget(m_transitions, 1);

    layout->addWidget(new QLabel(tr("Variables:"), this));
    m_variables = new QTableWidget(0, 2, this);
    m_variables->setObjectName(QStringLiteral("variables"));
    m_variables->setHorizontalHeaderLabels({tr("Name"), tr("Value")});
    m_variables->horizontalHeader()->setStretchLastSection(true);
    m_variables->verticalHeader()->hide();
    connect(m_variables, &QTableWidget::cellChanged, this, &SimulationDock::variableEdited);
    layout->addWidget(m_variables, 1);
    auto* variableButtons = new QHBoxLayout;
    QPushButton* add = button(this, QStringLiteral("addVariableButton"), tr("&Add"));
    QPushButton* remove = button(this, QStringLiteral("removeVariableButton"), tr("Re&move"));
    variableButtons->addWidget(add);
    variableButtons->addWidget(remove);
    variableButtons->addStretch();
    layout->addLayout(variableButtons);
    connect(add, &QPushButton::clicked, this, &SimulationDock::addVariable);
    connect(remove, &QPushButton::clicked, this, &SimulationDock::removeSelectedVariable);

    layout->addWidget(new QLabel(tr("Log:"), this));
    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(QStringLiteral("log"));
    m_log->setReadOnly(true);
    layout->addWidget(m_log, 1);

    if (!m_sim.canRun())
        appendLog(tr("The machine has no initial state: it cannot run."));
    refresh();
}

void SimulationDock::step()
{
    const Simulation::Simulator::StepResult r = m_sim.step();
    if (r == Simulation::Simulator::StepResult::Stepped) {
        appendLog(tr("Step %1").arg(m_sim.steps().size()));
        for (const QString& line : m_sim.steps().back().log)
            appendLog(QStringLiteral("  ") + line);
    } else if (r == Simulation::Simulator::StepResult::NeedsAnswer) {
        appendLog(tr("Asked: %1").arg(m_sim.question()->condition));
    }
    refresh();
    emit stepped();
}

void SimulationDock::run()
{
    const int limit = m_runSteps->value();
    for (int i = 0; i < limit && !m_sim.atFinal(); ++i) {
        const size_t before = m_sim.steps().size();
        const Simulation::Simulator::StepResult r = m_sim.step();
        if (r != Simulation::Simulator::StepResult::Stepped) {
            if (r == Simulation::Simulator::StepResult::NeedsAnswer)
                appendLog(tr("Asked: %1").arg(m_sim.question()->condition));
            break;
        }
        if (m_sim.steps().size() > before) {
            appendLog(tr("Step %1").arg(m_sim.steps().size()));
            for (const QString& line : m_sim.steps().back().log)
                appendLog(QStringLiteral("  ") + line);
        }
    }
    refresh();
    emit stepped();
}

void SimulationDock::reset()
{
    m_sim.reset();
    m_log->clear();
    appendLog(tr("Reset"));
    refresh();
    emit stepped();
}

void SimulationDock::back()
{
    if (m_sim.back())
        appendLog(tr("Back to step %1").arg(m_sim.steps().size()));
    refresh();
    emit stepped();
}

void SimulationDock::answer(bool value)
{
    if (!m_sim.question())
        return;
    appendLog(tr("Answered %1").arg(value ? QStringLiteral("true") : QStringLiteral("false")));
    m_sim.answer(*m_sim.question(), value);
    step();
}

void SimulationDock::fireTransition(int row)
{
    if (!m_sim.canRun() || row < 0)
        return;
    const int state = m_sim.currentState(0);
    const auto& transitions = m_sim.machines().front().states[size_t(state)].transitions;
    if (row >= int(transitions.size()))
        return;
    m_sim.answer({0, state, row, transitions[size_t(row)].condition}, true);
    step();
}

void SimulationDock::addVariable()
{
    QString name;
    for (int i = 1;; ++i) {
        name = QStringLiteral("v%1").arg(i);
        if (!m_sim.variables().contains(name))
            break;
    }
    m_sim.setVariable(name, 0);
    refresh();
}

void SimulationDock::removeSelectedVariable()
{
    const int row = m_variables->currentRow();
    if (row < 0 || !m_variables->item(row, 0))
        return;
    m_sim.removeVariable(m_variables->item(row, 0)->text());
    refresh();
}

void SimulationDock::variableEdited(int row, int column)
{
    if (m_filling)
        return;
    const QString oldName = m_variables->item(row, 0)->data(Qt::UserRole).toString();
    const QString name = m_variables->item(row, 0)->text().trimmed();
    const QString valueText = m_variables->item(row, 1)->text().trimmed();
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_]\\w*$"));
    const std::optional<qint64> value = typedValue(valueText);
    if (column == 0 && identifier.match(name).hasMatch() && !m_sim.variables().contains(name)) {
        const qint64 kept = m_sim.variables().value(oldName);
        m_sim.removeVariable(oldName);
        m_sim.setVariable(name, kept);
    } else if (column == 1 && value) {
        m_sim.setVariable(oldName, *value);
    }
    // Anything else is put back as it was.
    refresh();
}

std::vector<const Node*> SimulationDock::currentNodes() const
{
    std::vector<const Node*> out;
    if (!m_sim.canRun())
        return out;
    for (size_t m = 0; m < m_sim.machines().size(); ++m) {
        const auto& machine = m_sim.machines()[m];
        if (machine.initial >= 0)
            out.push_back(machine.states[size_t(m_sim.currentState(int(m)))].node);
    }
    return out;
}

std::vector<const Node*> SimulationDock::firedNodes() const
{
    std::vector<const Node*> out;
    if (m_sim.steps().empty())
        return out;
    for (const Simulation::FiredTransition& f : m_sim.steps().back().fired)
        out.push_back(m_sim.machines()[size_t(f.machine)]
                          .states[size_t(f.state)]
                          .transitions[size_t(f.transition)]
                          .node);
    return out;
}

void SimulationDock::refresh()
{
    QString text;
    if (m_sim.canRun()) {
        for (size_t m = 0; m < m_sim.machines().size(); ++m) {
            const auto& machine = m_sim.machines()[m];
            if (machine.initial < 0)
                continue;
            if (!text.isEmpty())
                text += QStringLiteral("\n");
            text += tr("%1: %2").arg(machine.name,
                                     machine.states[size_t(m_sim.currentState(int(m)))].name);
        }
        text += tr("\nStep %1%2")
                    .arg(m_sim.steps().size())
                    .arg(m_sim.atFinal() ? tr(" (final state)") : QString());
    }
    m_state->setText(text);
    const bool asked = m_sim.question().has_value();
    m_question->setText(asked ? tr("Does \"%1\" hold?").arg(m_sim.question()->condition)
                              : QString());
    m_yes->setEnabled(asked);
    m_no->setEnabled(asked);
    m_backButton->setEnabled(!m_sim.steps().empty());
    refreshTransitions();
    refreshVariables();
}

void SimulationDock::refreshTransitions()
{
    m_transitions->clear();
    if (!m_sim.canRun())
        return;
    const auto& machine = m_sim.machines().front();
    const auto& state = machine.states[size_t(m_sim.currentState(0))];
    const Simulation::ExpressionEvaluator evaluator(
        [this](const QString& name) -> std::optional<qint64> {
            const auto it = m_sim.variables().constFind(name);
            if (it == m_sim.variables().constEnd())
                return std::nullopt;
            return it.value();
        });
    for (const auto& t : state.transitions) {
        const std::optional<bool> holds = evaluator.condition(t.condition);
        auto* item =
            new QTreeWidgetItem({t.priority, t.condition.isEmpty() ? tr("(always)") : t.condition,
                                 machine.states[size_t(t.target)].name,
                                 holds ? (*holds ? tr("true") : tr("false")) : tr("ask")});
        m_transitions->addTopLevelItem(item);
    }
}

void SimulationDock::refreshVariables()
{
    m_filling = true;
    m_variables->setRowCount(int(m_sim.variables().size()));
    int row = 0;
    for (auto it = m_sim.variables().constBegin(); it != m_sim.variables().constEnd();
         ++it, ++row) {
        auto* name = new QTableWidgetItem(it.key());
        name->setData(Qt::UserRole, it.key());
        m_variables->setItem(row, 0, name);
        m_variables->setItem(row, 1, new QTableWidgetItem(QString::number(it.value())));
    }
    m_filling = false;
}

void SimulationDock::appendLog(const QString& text) { m_log->appendPlainText(text); }

}  // namespace orvane
