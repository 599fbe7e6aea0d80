// Simulate mode of a document window.

#include "DocumentWindow.h"

#include "CoverageRun.h"
#include "Document.h"
#include "Messenger.h"
#include "SimulationDock.h"
#include "SimulationOverlay.h"

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

void DocumentWindow::toggleSimulate()
{
    if (m_simulation) {
        leaveSimulation();
        return;
    }
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
    m_simulation = new SimulationDock(std::move(machines), this);
    m_simulation->setMinimumWidth(340);
    m_simulation->setMaximumWidth(480);
    if (auto* box = qobject_cast<QBoxLayout*>(layout())) {
        box->setDirection(QBoxLayout::LeftToRight);
        box->addWidget(m_simulation);
    }
    m_simulation->show();
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

void DocumentWindow::leaveSimulation()
{
    delete m_overlay;
    delete m_simulation;
    m_simulation = nullptr;
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
