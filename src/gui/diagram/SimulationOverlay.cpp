#include "SimulationOverlay.h"

#include "DiagramRenderer.h"
#include "DiagramView.h"
#include "Transitions.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

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
    if (m_view) {
        m_view->setForeground([this](QPainter& p) { paint(p); });
        m_view->viewport()->installEventFilter(this);
    }
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

void SimulationOverlay::setCoverage(QHash<const Node*, QColor> colours,
                                    QHash<const Node*, QString> tips)
{
    m_coverage = std::move(colours);
    m_tips = std::move(tips);
    update();
}

QString SimulationOverlay::tipAt(const QPoint& viewportPoint) const
{
    if (!m_view)
        return {};
    const QPointF twips = m_view->mapToScene(viewportPoint);
    for (auto it = m_tips.constBegin(); it != m_tips.constEnd(); ++it) {
        const Node* n = it.key();
        if (n && n->diagram() == m_view->diagram()
            && QRectF(n->left(), n->top(), n->width(), n->height()).contains(twips))
            return it.value();
    }
    return {};
}

bool SimulationOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !m_tips.isEmpty()) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = tipAt(help->pos());
        if (!tip.isEmpty()) {
            QToolTip::showText(help->globalPos(), tip, m_view);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
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
    for (auto it = m_coverage.constBegin(); it != m_coverage.constEnd(); ++it) {
        const Node* n = it.key();
        if (!n || !m_view || n->diagram() != m_view->diagram())
            continue;
        p.setPen(QPen(it.value(), 3 * pixel));
        p.drawPath(DiagramRenderer::nodeOutline(*n));
        if (!Transitions::isTransitionNode(n))
            continue;
        for (const Link* l : n->inLinks())
            p.drawPolyline(DiagramRenderer::linkLine(*l));
        for (const Link* l : n->outLinks())
            p.drawPolyline(DiagramRenderer::linkLine(*l));
    }
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
