#include "ProblemsDock.h"

#include "Document.h"
#include "DocumentWindow.h"
#include "FsmDocument.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace orvane {

namespace {
constexpr int kProblemRole = Qt::UserRole;
}

ProblemsDock::ProblemsDock(QWidget* parent)
    : QDockWidget(QStringLiteral("Diagram problems"), parent)
{
    setObjectName(QStringLiteral("problemsDock"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("problemList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels(
        {QStringLiteral("Severity"), QStringLiteral("State"), QStringLiteral("Problem")});
    m_list->header()->setStretchLastSection(true);
    setWidget(m_list);
    connect(m_list, &QTreeWidget::itemClicked, this, &ProblemsDock::onClicked);
    connect(m_list, &QTreeWidget::itemActivated, this, &ProblemsDock::onClicked);
}

void ProblemsDock::check(DocumentWindow* window)
{
    m_window = window;
    m_list->clear();
    m_problems.clear();
    if (!window || !window->document())
        return;
    const FsmDocument& fsm = window->document()->fsm;
    m_problems = DiagramChecks::checkDiagram(fsm.diagram(), fsm.filePath);
    for (size_t i = 0; i < m_problems.size(); ++i) {
        const DiagramChecks::Problem& p = m_problems[i];
        auto* row = new QTreeWidgetItem(m_list, {p.severity == DiagramChecks::Severity::Error
                                                     ? QStringLiteral("Error")
                                                     : QStringLiteral("Warning"),
                                                 p.stateName, p.text});
        row->setData(0, kProblemRole, qulonglong(i));
        row->setToolTip(2, p.text);
    }
    if (m_problems.empty())
        new QTreeWidgetItem(m_list, {QString(), QString(), QStringLiteral("No problems found")});
    m_list->resizeColumnToContents(0);
    m_list->resizeColumnToContents(1);
    show();
    raise();
}

void ProblemsDock::onClicked(QTreeWidgetItem* row)
{
    if (!row || !m_window || !m_window->document() || !row->data(0, kProblemRole).isValid())
        return;
    const size_t i = size_t(row->data(0, kProblemRole).toULongLong());
    if (i >= m_problems.size() || !m_problems[i].node)
        return;
    // The diagram may have changed since the check: only a node it still
    // holds is selected.
    Diagram& d = m_window->document()->fsm.diagram();
    for (const auto& n : d.nodes()) {
        if (n.get() != m_problems[i].node)
            continue;
        d.clearSelection();
        n->setSelected(true);
        d.setCurrentNode(n.get());
        if (DiagramView* view = m_window->view()) {
            view->ensureNodeVisible(n.get());
            view->setFocus();
        }
        return;
    }
}

}  // namespace orvane
