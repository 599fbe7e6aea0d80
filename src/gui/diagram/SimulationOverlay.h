#pragma once
// The simulation's marks over a diagram view: the current state of each
// machine drawn with a thick outline, and the transitions of the last step
// for a moment. The marks are painted over the drawing, which itself is
// left untouched.

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
    const std::vector<const Node*>& current() const { return m_current; }
    const std::vector<const Node*>& flashed() const { return m_flashed; }

private:
    void paint(QPainter& painter) const;
    void update();

    QPointer<DiagramView> m_view;
    std::vector<const Node*> m_current;
    std::vector<const Node*> m_flashed;
    QTimer m_flashEnd;
};

}  // namespace orvane
