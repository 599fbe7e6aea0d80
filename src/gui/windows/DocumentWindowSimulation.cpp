// Simulate mode and trace replay of a document window.

#include "DocumentWindow.h"

#include "CoverageRun.h"
#include "Document.h"
#include "MainWindow.h"
#include "Messenger.h"
#include "Records.h"
#include "ReplayDock.h"
#include "SafeFileWriter.h"
#include "SimulationDock.h"
#include "SimulationOverlay.h"
#include "UserInterface.h"

#include <QAction>
#include <QBoxLayout>
#include <QDir>

namespace orvane {

namespace {

// The marks that belong to this window's diagram (a child's current state
// is shown in the panel and in the child's window).
std::vector<const Node*> ownNodes(const std::vector<const Node*>& nodes, const Diagram& d)
{
    std::vector<const Node*> out;
    for (const Node* n : nodes)
        if (n && n->diagram() == &d)
            out.push_back(n);
    return out;
}

// The FSM name kept in the file at `path`; empty when it cannot be read.
QString storedName(const QString& path)
{
    if (path.isEmpty())
        return {};
    FsmDocument doc;
    QString error;
    if (!doc.diagram().loadFile(path, &error))
        return {};
    doc.filePath = path;
    SilentMessenger silent;
    if (!doc.afterLoad({}, silent))
        return {};
    return machineConfig(doc.diagram()).name;
}

}  // namespace

std::vector<Simulation::Machine> DocumentWindow::lockForSimulation()
{
    commitRemarkEditor();
    Diagram& d = fsm().diagram();
    m_readOnlyBeforeSimulation = d.readOnly();
    m_changedBeforeSimulation = d.changed();
    d.setReadOnly(true);
    // The children as their files hold them, read for the simulation alone.
    m_simulationChildren.clear();
    const std::vector<const FsmDocument*> tree =
        CoverageRun::documentTree(fsm(), [this](const QString& path) -> const FsmDocument* {
            auto child = std::make_unique<FsmDocument>();
            QString error;
            if (!child->diagram().loadFile(path, &error))
                return nullptr;
            child->filePath = path;
            SilentMessenger silent;
            if (!child->afterLoad({}, silent))
                return nullptr;
            m_simulationChildren.push_back(std::move(child));
            return m_simulationChildren.back().get();
        });
    std::vector<Simulation::Machine> machines;
    m_simulationPaths.clear();
    for (const FsmDocument* doc : tree) {
        machines.push_back(Simulation::Machine::read(*doc));
        m_simulationPaths.push_back(doc->filePath.isEmpty() ? QString()
                                                            : QDir::cleanPath(doc->filePath));
    }
    // The editor names the diagram after its file; code generated from the
    // file alone prints the name the file holds, which a trace may give too.
    if (!machines.empty()) {
        const QString stored = storedName(fsm().filePath);
        if (!stored.isEmpty() && stored != machines[0].name
            && !machines[0].otherNames.contains(stored))
            machines[0].otherNames.append(stored);
    }
    return machines;
}

void DocumentWindow::toggleSimulate()
{
    if (m_simulation || m_replay) {
        leaveSimulation();
        return;
    }
    clearCalledState();
    m_simulation = new SimulationDock(lockForSimulation(), this);
    m_simulation->setMinimumWidth(340);
    m_simulation->setMaximumWidth(480);
    if (auto* box = qobject_cast<QBoxLayout*>(layout())) {
        box->setDirection(QBoxLayout::LeftToRight);
        box->addWidget(m_simulation);
    }
    m_simulation->show();
    const Diagram& d = fsm().diagram();
    m_overlay = new SimulationOverlay(m_view);
    m_overlay->setCurrent(ownNodes(m_simulation->currentNodes(), d));
    markChildWindows();
    connect(m_simulation, &SimulationDock::stepped, this, [this] {
        if (!m_overlay || !m_doc)
            return;
        const Diagram& diagram = fsm().diagram();
        m_overlay->setCurrent(ownNodes(m_simulation->currentNodes(), diagram));
        m_overlay->flash(ownNodes(m_simulation->firedNodes(), diagram));
        markChildWindows();
    });
    if (QAction* a = action(QStringLiteral("simulateAction")))
        a->setChecked(true);
    refreshButtons(true);
    showStatus();
}

void DocumentWindow::replayTrace()
{
    FileDialog dialog;
    dialog.title = QStringLiteral("Replay Trace");
    dialog.filter = QStringLiteral("Traces (*.txt;*.log)|*.txt;*.log|All files (*.*)|*.*|");
    bool readOnly = false;
    const QString path = ui().openFileName(dialog, readOnly);
    if (path.isEmpty())
        return;
    const std::optional<QByteArray> trace = SafeFileWriter::readWholeFile(path);
    if (!trace) {
        ui().message(QStringLiteral("The trace cannot be read: ") + path, MessageIcon::Exclamation);
        return;
    }
    startReplay(*trace, path);
}

void DocumentWindow::startReplay(const QByteArray& trace, const QString& traceName)
{
    if (m_simulation || m_replay)
        leaveSimulation();
    clearCalledState();
    m_replay = new ReplayDock(lockForSimulation(), trace, traceName, this);
    m_replay->setMinimumWidth(340);
    m_replay->setMaximumWidth(480);
    if (auto* box = qobject_cast<QBoxLayout*>(layout())) {
        box->setDirection(QBoxLayout::LeftToRight);
        box->addWidget(m_replay);
    }
    m_replay->show();
    m_overlay = new SimulationOverlay(m_view);
    const auto show = [this](bool flash) {
        if (!m_overlay || !m_doc || !m_replay)
            return;
        const Diagram& diagram = fsm().diagram();
        m_overlay->setCoverage(m_replay->coverageColours(), m_replay->coverageTips());
        m_overlay->setCurrent(ownNodes(m_replay->currentNodes(), diagram));
        if (flash)
            m_overlay->flash(ownNodes(m_replay->firedNodes(), diagram));
        markChildWindows();
    };
    show(false);
    connect(m_replay, &ReplayDock::stepped, this, [show] { show(true); });
    if (QAction* a = action(QStringLiteral("simulateAction")))
        a->setChecked(true);
    refreshButtons(true);
    showStatus();
}

void DocumentWindow::leaveSimulation()
{
    unmarkChildWindows();
    delete m_overlay;
    delete m_simulation;
    m_simulation = nullptr;
    delete m_replay;
    m_replay = nullptr;
    m_simulationChildren.clear();
    m_simulationPaths.clear();
    if (auto* box = qobject_cast<QBoxLayout*>(layout()))
        box->setDirection(QBoxLayout::TopToBottom);
    if (m_doc) {
        Diagram& d = fsm().diagram();
        d.setReadOnly(m_readOnlyBeforeSimulation);
        d.setChanged(m_changedBeforeSimulation);
        m_view->viewport()->update();
    }
    if (QAction* a = action(QStringLiteral("simulateAction")))
        a->setChecked(false);
    refreshButtons(true);
    showStatus();
    // A simulation elsewhere that calls this machine marks it again.
    for (DocumentWindow* other : m_main.docWindows())
        if (other != this)
            other->markChildWindows();
}

void DocumentWindow::markChildWindows()
{
    if (!m_doc || (!m_simulation && !m_replay))
        return;
    // The current state of every machine, by name; empty when it has none.
    std::vector<QString> current;
    if (m_simulation) {
        const Simulation::Simulator& sim = m_simulation->simulator();
        for (size_t m = 0; m < sim.machines().size(); ++m) {
            const Simulation::Machine& machine = sim.machines()[m];
            current.push_back(sim.canRun() && machine.initial >= 0
                                  ? machine.states[size_t(sim.currentState(int(m)))].name
                                  : QString());
        }
    } else {
        const Simulation::TraceReplay& replay = m_replay->replay();
        for (size_t m = 0; m < replay.machines().size(); ++m) {
            const Simulation::Machine& machine = replay.machines()[m];
            current.push_back(machine.initial >= 0
                                  ? machine.states[size_t(replay.currentState(int(m)))].name
                                  : QString());
        }
    }
    for (DocumentWindow* other : m_main.docWindows()) {
        if (other == this || !other->m_doc)
            continue;
        const QString path = other->fsm().filePath;
        if (path.isEmpty())
            continue;
        const QString clean = QDir::cleanPath(path);
        for (size_t m = 1; m < m_simulationPaths.size() && m < current.size(); ++m)
            if (m_simulationPaths[m] == clean)
                other->showCalledState(this, current[m]);
    }
}

void DocumentWindow::unmarkChildWindows()
{
    for (DocumentWindow* other : m_main.docWindows())
        if (other != this)
            other->showCalledState(this, {});
}

void DocumentWindow::showCalledState(const DocumentWindow* caller, const QString& stateName)
{
    if (stateName.isEmpty()) {
        if (m_caller == caller)
            clearCalledState();
        return;
    }
    if (!m_doc || m_simulation || m_replay)
        return;
    const Node* node = nullptr;
    const Simulation::Machine own = Simulation::Machine::read(fsm().diagram(), false);
    const int index = own.stateIndex(stateName);
    if (index >= 0)
        node = own.states[size_t(index)].node;
    if (m_caller != caller) {
        if (m_caller)
            disconnect(m_caller, &QObject::destroyed, this, &DocumentWindow::clearCalledState);
        m_caller = caller;
        connect(caller, &QObject::destroyed, this, &DocumentWindow::clearCalledState);
    }
    if (!m_calledOverlay)
        m_calledOverlay = new SimulationOverlay(m_view);
    m_calledOverlay->setCurrent(node ? std::vector<const Node*>{node} : std::vector<const Node*>{});
}

void DocumentWindow::clearCalledState()
{
    if (m_caller)
        disconnect(m_caller, &QObject::destroyed, this, &DocumentWindow::clearCalledState);
    m_caller = nullptr;
    delete m_calledOverlay;
}

}  // namespace orvane
