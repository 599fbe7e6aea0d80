#pragma once
// The simulation's marks over a diagram view: the current state of each
// machine drawn with a thick outline, and the transitions of the last step
// for a moment. The marks are painted over the drawing, which itself is
// left untouched.

#include <QColor>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <vector>

class QPainter;

namespace orvane {

class DiagramView;
class Link;
class Node;

class SimulationOverlay : public QObject {
    Q_OBJECT
public:
    explicit SimulationOverlay(DiagramView* view);
    // Takes the marks off the view.
    ~SimulationOverlay() override;

    void setCurrent(std::vector<const Node*> nodes);
    // Marks transition nodes and their links until the flash ends.
    void flash(std::vector<const Node*> transitions);
    // Outlines in these colours, and these texts as the nodes' tool tips
    // (the coverage of a replayed trace).
    void setCoverage(QHash<const Node*, QColor> colours, QHash<const Node*, QString> tips);
    const std::vector<const Node*>& current() const { return m_current; }
    // The tip of the node at a point of the view's viewport; empty when none.
    QString tipAt(const QPoint& viewportPoint) const;
    const std::vector<const Node*>& flashed() const { return m_flashed; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paint(QPainter& painter) const;
    void update();

    QPointer<DiagramView> m_view;
    std::vector<const Node*> m_current;
    std::vector<const Node*> m_flashed;
    QHash<const Node*, QColor> m_coverage;
    QHash<const Node*, QString> m_tips;
    QTimer m_flashEnd;
};

}  // namespace orvane
