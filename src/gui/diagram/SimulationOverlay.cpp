#include "SimulationOverlay.h"

#include "DiagramRenderer.h"
#include "DiagramView.h"

#include <QPainter>

namespace orvane {

namespace {
constexpr int kFlashMilliseconds = 700;
const QColor kCurrentColour(0xff, 0x8c, 0x00);
const QColor kFiredColour(0x1e, 0x64, 0xdc);
}  // namespace

SimulationOverlay::SimulationOverlay(DiagramView* view) : QObject(view), m_view(view)
{
    m_flashEnd.setSingleShot(true);
    m_flashEnd.setInterval(kFlashMilliseconds);
    connect(&m_flashEnd, &QTimer::timeout, this, [this] {
        m_flashed.clear();
        update();
    });
    if (m_view)
        m_view->setForeground([this](QPainter& p) { paint(p); });
}

SimulationOverlay::~SimulationOverlay()
{
    if (m_view)
        m_view->setForeground({});
}

void SimulationOverlay::setCurrent(std::vector<const Node*> nodes)
{
    m_current = std::move(nodes);
    update();
}

void SimulationOverlay::flash(std::vector<const Node*> transitions)
{
    m_flashed = std::move(transitions);
    m_flashEnd.start();
    update();
}

void SimulationOverlay::update()
{
    if (m_view)
        m_view->viewport()->update();
}

void SimulationOverlay::paint(QPainter& p) const
{
    // Pens of 4 and 3 pixels at any zoom.
    const double pixel = m_view ? 1.0 / std::max(0.0001, m_view->transform().m11()) : 15.0;
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kCurrentColour, 4 * pixel));
    for (const Node* n : m_current)
        if (n)
            p.drawPath(DiagramRenderer::nodeOutline(*n));
    p.setPen(QPen(kFiredColour, 3 * pixel));
    for (const Node* n : m_flashed) {
        if (!n)
            continue;
        p.drawPath(DiagramRenderer::nodeOutline(*n));
        for (const Link* l : n->inLinks())
            p.drawPolyline(DiagramRenderer::linkLine(*l));
        for (const Link* l : n->outLinks())
            p.drawPolyline(DiagramRenderer::linkLine(*l));
    }
}

}  // namespace orvane
