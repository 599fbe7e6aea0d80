#pragma once
// The "Check Diagram" dock: one row per problem the diagram checks find in
// the active diagram (the same list batch --lint prints); a click on a row
// selects its state or transition and brings it into view.

#include "DiagramChecks.h"

#include <QDockWidget>
#include <QPointer>

class QTreeWidget;
class QTreeWidgetItem;

namespace orvane {

class DocumentWindow;

class ProblemsDock : public QDockWidget {
    Q_OBJECT
public:
    explicit ProblemsDock(QWidget* parent = nullptr);

    // Checks the window's diagram and lists what was found; a diagram
    // without problems shows one row that says so.
    void check(DocumentWindow* window);
    QTreeWidget* list() const { return m_list; }
    // The problems of the last check.
    const std::vector<DiagramChecks::Problem>& problems() const { return m_problems; }

private:
    void onClicked(QTreeWidgetItem* row);

    QTreeWidget* m_list = nullptr;
    QPointer<DocumentWindow> m_window;
    std::vector<DiagramChecks::Problem> m_problems;
};

}  // namespace orvane
