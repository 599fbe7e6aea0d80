// Simulate mode and trace replay of a document window.

#include "DocumentWindow.h"

#include "CoverageRun.h"
#include "Document.h"
#include "Messenger.h"
#include "ReplayDock.h"
#include "SafeFileWriter.h"
#include "SimulationDock.h"
#include "SimulationOverlay.h"
#include "UserInterface.h"

#include <QAction>
#include <QBoxLayout>

namespace orvane {

namespace {

// The marks that belong to this window's diagram (a child's current state
// is shown in the panel).
std::vector<const Node*> ownNodes(const std::vector<const Node*>& nodes, const Diagram& d)
{
    std::vector<const Node*> out;
    for (const Node* n : nodes)
        if (n && n->diagram() == &d)
            out.push_back(n);
    return out;
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
    for (const FsmDocument* doc : tree)
        machines.push_back(Simulation::Machine::read(*doc));
    return machines;
}

void DocumentWindow::toggleSimulate()
{
    if (m_simulation || m_replay) {
        leaveSimulation();
        return;
    }
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
    connect(m_simulation, &SimulationDock::stepped, this, [this] {
        if (!m_overlay || !m_doc)
            return;
        const Diagram& diagram = fsm().diagram();
        m_overlay->setCurrent(ownNodes(m_simulation->currentNodes(), diagram));
        m_overlay->flash(ownNodes(m_simulation->firedNodes(), diagram));
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
    delete m_overlay;
    delete m_simulation;
    m_simulation = nullptr;
    delete m_replay;
    m_replay = nullptr;
    m_simulationChildren.clear();
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
}

}  // namespace orvane
