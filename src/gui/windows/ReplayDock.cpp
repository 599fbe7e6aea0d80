#include "ReplayDock.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane {

namespace {

const QColor kCovered(0x1e, 0x8c, 0x1e);
const QColor kMissed(0xc8, 0x1e, 0x1e);

QPushButton* button(QWidget* parent, const QString& name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

ReplayDock::ReplayDock(std::vector<Simulation::Machine> machines, const QByteArray& trace,
                       const QString& traceName, QWidget* parent)
    : QWidget(parent), m_machines(machines), m_entries(Simulation::parseTrace(trace)),
      m_replay(std::move(machines))
{
    setObjectName(QStringLiteral("replayDock"));
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(
        tr("Trace: %1 (%2 lines for the machines)").arg(traceName).arg(m_entries.size()), this);
    name->setWordWrap(true);
    layout->addWidget(name);
    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("replayState"));
    m_state->setWordWrap(true);
    layout->addWidget(m_state);
    auto* buttons = new QHBoxLayout;
    QPushButton* stepButton = button(this, QStringLiteral("replayStepButton"), tr("&Step"));
    m_backButton = button(this, QStringLiteral("replayBackButton"), tr("&Back"));
    QPushButton* runButton = button(this, QStringLiteral("replayRunButton"), tr("Run to &end"));
    buttons->addWidget(stepButton);
    buttons->addWidget(m_backButton);
    buttons->addWidget(runButton);
    layout->addLayout(buttons);
    connect(stepButton, &QPushButton::clicked, this, &ReplayDock::step);
    connect(m_backButton, &QPushButton::clicked, this, &ReplayDock::back);
    connect(runButton, &QPushButton::clicked, this, &ReplayDock::runToEnd);
    m_misfit = new QLabel(this);
    m_misfit->setObjectName(QStringLiteral("misfit"));
    m_misfit->setWordWrap(true);
    m_misfit->setStyleSheet(QStringLiteral("color: #c81e1e"));
    layout->addWidget(m_misfit);
    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(QStringLiteral("replayLog"));
    m_log->setReadOnly(true);
    layout->addWidget(m_log, 1);
    refresh();
}

void ReplayDock::step()
{
    m_fired.clear();
    if (m_position >= entryCount() || m_replay.misfit())
        return;
    const Simulation::TraceEntry& e = m_entries[size_t(m_position)];
    const std::vector<Simulation::MachineCoverage> before = m_replay.coverage();
    if (m_replay.apply(e)) {
        ++m_position;
        m_log->appendPlainText(
            tr("%1: %2 %3 %4").arg(e.line).arg(e.machine, e.state).arg(e.transition));
        // The transition whose count grew is the one that fired.
        for (size_t m = 0; m < m_machines.size(); ++m)
            for (size_t s = 0; s < m_machines[m].states.size(); ++s)
                for (size_t t = 0; t < m_machines[m].states[s].transitions.size(); ++t)
                    if (m_replay.coverage()[m].transitionFires[s][t]
                        != before[m].transitionFires[s][t])
                        m_fired.push_back(m_machines[m].states[s].transitions[t].node);
    }
    refresh();
    emit stepped();
}

void ReplayDock::back()
{
    if (m_position == 0)
        return;
    const int target = m_position - 1;
    m_replay = Simulation::TraceReplay(m_machines);
    m_position = 0;
    for (int i = 0; i < target; ++i)
        if (m_replay.apply(m_entries[size_t(i)]))
            ++m_position;
    m_fired.clear();
    m_log->appendPlainText(tr("Back to line %1 of the trace")
                               .arg(m_position > 0 ? m_entries[size_t(m_position - 1)].line : 0));
    refresh();
    emit stepped();
}

void ReplayDock::runToEnd()
{
    while (m_position < entryCount() && !m_replay.misfit()) {
        const int before = m_position;
        step();
        if (m_position == before)
            break;
    }
}

QHash<const Node*, QColor> ReplayDock::coverageColours() const
{
    QHash<const Node*, QColor> out;
    for (size_t m = 0; m < m_machines.size(); ++m) {
        const auto& c = m_replay.coverage()[m];
        for (size_t s = 0; s < m_machines[m].states.size(); ++s) {
            out.insert(m_machines[m].states[s].node, c.stateVisits[s] > 0 ? kCovered : kMissed);
            for (size_t t = 0; t < m_machines[m].states[s].transitions.size(); ++t)
                out.insert(m_machines[m].states[s].transitions[t].node,
                           c.transitionFires[s][t] > 0 ? kCovered : kMissed);
        }
    }
    return out;
}

QHash<const Node*, QString> ReplayDock::coverageTips() const
{
    QHash<const Node*, QString> out;
    for (size_t m = 0; m < m_machines.size(); ++m) {
        const auto& c = m_replay.coverage()[m];
        for (size_t s = 0; s < m_machines[m].states.size(); ++s) {
            const int visits = c.stateVisits[s];
            out.insert(m_machines[m].states[s].node, visits > 0
                                                         ? tr("Reached %n time(s)", nullptr, visits)
                                                         : tr("Never reached"));
            for (size_t t = 0; t < m_machines[m].states[s].transitions.size(); ++t) {
                const int fires = c.transitionFires[s][t];
                out.insert(m_machines[m].states[s].transitions[t].node,
                           fires > 0 ? tr("Fired %n time(s)", nullptr, fires) : tr("Never fired"));
            }
        }
    }
    return out;
}

std::vector<const Node*> ReplayDock::currentNodes() const
{
    std::vector<const Node*> out;
    for (size_t m = 0; m < m_machines.size(); ++m)
        if (m_machines[m].initial >= 0)
            out.push_back(m_machines[m].states[size_t(m_replay.currentState(int(m)))].node);
    return out;
}

void ReplayDock::refresh()
{
    QString text;
    for (size_t m = 0; m < m_machines.size(); ++m) {
        if (m_machines[m].initial < 0)
            continue;
        text += tr("%1: %2\n")
                    .arg(m_machines[m].name,
                         m_machines[m].states[size_t(m_replay.currentState(int(m)))].name);
    }
    text += tr("Line %1 of %2; states %3/%4, transitions %5/%6")
                .arg(m_position)
                .arg(entryCount())
                .arg(m_replay.statesReached())
                .arg(m_replay.stateCount())
                .arg(m_replay.transitionsFired())
                .arg(m_replay.transitionCount());
    m_state->setText(text);
    if (const auto& misfit = m_replay.misfit())
        m_misfit->setText(
            tr("Line %1 does not fit the diagram: %2").arg(misfit->line).arg(misfit->text));
    else
        m_misfit->clear();
    m_backButton->setEnabled(m_position > 0);
}

}  // namespace orvane
