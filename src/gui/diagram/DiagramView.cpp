#include "DiagramView.h"

#include "DiagramPicture.h"
#include "DiagramRenderer.h"
#include "PaintClock.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QGraphicsPathItem>
#include <QGraphicsRectItem>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {
constexpr double kMinZoom = 5;
constexpr double kMaxZoom = 1000;
constexpr double kWheelZoomStep = 1.1;
// Room around the drawing that can still be scrolled to, in twips.
constexpr double kSceneMargin = 1440;
// Pasted copies move down and right by this much each time, in twips.
constexpr double kPasteStep = 240;
// Twips in an inch.
constexpr double kTwipsPerInch = 1440;
}  // namespace

const QString DiagramView::kMimeType = QStringLiteral("application/x-orvane-diagram");

DiagramView::DiagramView(Diagram* diagram, QWidget* parent)
    : QGraphicsView(parent), m_scene(std::make_unique<DiagramScene>(diagram))
{
    setScene(m_scene.get());
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTransformationAnchor(NoAnchor);
    setResizeAnchor(NoAnchor);
    setDragMode(NoDrag);
    // Every item sets its own pens, brushes and fonts.
    setOptimizationFlags(DontSavePainterState);
    setCacheMode(CacheBackground);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);

    connect(m_scene.get(), &DiagramScene::extentGrown, this, &DiagramView::updateSceneRect);
    connect(m_scene.get(), &DiagramScene::suspendedChanged, this, [this](bool suspended) {
        viewport()->setUpdatesEnabled(!suspended);
        if (!suspended)
            viewport()->update();
    });
    if (diagram) {
        // A drag must not outlive what it holds.
        connect(diagram, &Diagram::nodeAboutToBeRemoved, this, &DiagramView::abandonDrag);
        connect(diagram, &Diagram::linkAboutToBeRemoved, this, &DiagramView::abandonDrag);
        // The grid is drawn with the background, which the view caches.
        connect(diagram, &Diagram::viewSettingsChanged, this, [this] {
            resetCachedContent();
            viewport()->update();
        });
        connect(diagram, &Diagram::contentReset, this, [this] {
            abandonDrag();
            m_shownArea = QRectF();
            updateSceneRect();
        });
        viewport()->setUpdatesEnabled(!m_scene->suspended());
    }
    applyZoom(100, 100);
}

DiagramView::~DiagramView()
{
    // The scene goes first; the view must not paint it afterwards.
    setScene(nullptr);
}

// ---------------------------------------------------------------- modes and zoom

void DiagramView::setMouseMode(int mode)
{
    if (mode != InsertMode && mode != SelectMode && mode != ZoomWindowMode)
        mode = InsertMode;
    if (mode == m_mode)
        return;
    cancelDrag();
    m_mode = mode;
    if (mode == ZoomWindowMode)
        viewport()->setCursor(Qt::CrossCursor);
    else
        viewport()->unsetCursor();
    emit mouseModeChanged(mode);
}

void DiagramView::setZoom(double x, double y)
{
    applyZoom(x, y);
    emit zoomChanged();
}

void DiagramView::applyZoom(double x, double y)
{
    x = std::clamp(std::isfinite(x) ? x : 100.0, kMinZoom, kMaxZoom);
    y = std::clamp(std::isfinite(y) ? y : 100.0, kMinZoom, kMaxZoom);
    const QPointF centre = mapToScene(viewport()->rect().center());
    m_zoomX = x;
    m_zoomY = y;
    const double sx = x / 100.0 * logicalDpiX() / kTwipsPerInch;
    const double sy = y / 100.0 * logicalDpiY() / kTwipsPerInch;
    setTransform(QTransform::fromScale(sx, sy));
    m_scene->setPixelSize(1 / sx, 1 / sy);
    updateSceneRect();
    centerOn(centre);
}

void DiagramView::zoomToRect(const QRectF& twips)
{
    const QRectF r = twips.normalized();
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QSize vp = viewport()->size();
    const double zx = vp.width() * kTwipsPerInch / (logicalDpiX() * r.width()) * 100;
    const double zy = vp.height() * kTwipsPerInch / (logicalDpiY() * r.height()) * 100;
    // The same zoom both ways, so that the drawing keeps its proportions.
    const double z = std::min(zx, zy);
    // The area asked for can be scrolled to even where nothing is drawn.
    m_shownArea = m_shownArea.isNull() ? r : m_shownArea.united(r);
    applyZoom(z, z);
    centerOn(r.center());
    emit zoomChanged();
}

void DiagramView::fitInWindow()
{
    const QRectF r = m_scene->drawingRect();
    if (r.isNull()) {
        setZoom(100);
        return;
    }
    const double m = std::max(r.width(), r.height()) * 0.02;
    zoomToRect(r.adjusted(-m, -m, m, m));
}

void DiagramView::updateSceneRect()
{
    QRectF extent = m_scene->extent();
    if (!m_shownArea.isNull())
        extent = extent.isNull() ? m_shownArea : extent.united(m_shownArea);
    QRectF r = extent.isNull() ? QRectF(0, 0, 1, 1) : extent.united(QRectF(0, 0, 1, 1));
    r.adjust(-kSceneMargin, -kSceneMargin, kSceneMargin, kSceneMargin);
    // A drawing in positive coordinates starts at the window's corner.
    if (extent.isNull() || extent.left() >= 0)
        r.setLeft(0);
    if (extent.isNull() || extent.top() >= 0)
        r.setTop(0);
    // What is shown now stays inside, and at the same place in the window:
    // the picture never jumps when the drawing grows or shrinks (an undo, a
    // bend dragged past the edge). It shrinks once the user scrolls away.
    const bool shown = isVisible() && !sceneRect().isEmpty();
    const QPointF corner = mapToScene(QPoint(0, 0));
    if (shown)
        r = r.united(mapToScene(viewport()->rect()).boundingRect());
    if (r == sceneRect())
        return;
    setSceneRect(r);
    if (shown) {
        const QPointF moved = mapFromScene(corner);
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + qRound(moved.x()));
        verticalScrollBar()->setValue(verticalScrollBar()->value() + qRound(moved.y()));
    }
}

double DiagramView::pixelTolerance() const { return 4 * m_scene->context().pixelsToTwips(); }

QPointF DiagramView::snap(QPointF p) const
{
    const Diagram* d = diagram();
    if (!d || !d->snapToGrid() || d->gridSize() <= 0)
        return p;
    const double g = d->gridSize();
    return QPointF(std::round(p.x() / g) * g, std::round(p.y() / g) * g);
}

bool DiagramView::editable() const { return diagram() && !diagram()->readOnly(); }

// ---------------------------------------------------------------- queries

Node* DiagramView::pointedNode() const
{
    return m_mouseInside ? m_scene->nodeAt(m_lastMouse) : nullptr;
}

Link* DiagramView::pointedLink() const
{
    return m_mouseInside ? m_scene->linkAt(m_lastMouse, pixelTolerance()) : nullptr;
}

QRect DiagramView::nodeViewportRect(const Node* n) const
{
    if (!n)
        return {};
    return mapFromScene(nodeRect(*n)).boundingRect();
}

void DiagramView::ensureNodeVisible(const Node* n)
{
    if (n)
        ensureVisible(nodeRect(*n));
}

void DiagramView::setInputEnabled(bool on)
{
    if (!on)
        cancelDrag();
    m_inputEnabled = on;
}

// ---------------------------------------------------------------- clipboard

bool DiagramView::copy()
{
    if (!diagram())
        return false;
    const QByteArray data = diagram()->selectionData();
    if (data.isEmpty())
        return false;
    auto mime = std::make_unique<QMimeData>();
    mime->setData(kMimeType, data);

    // The picture shows exactly what was copied, from its own top left.
    Diagram copied;
    copied.pasteData(data, QPointF(), nullptr);
    const QRectF area = DiagramRenderer::extent(copied);
    Diagram shifted;
    shifted.pasteData(data, -area.topLeft(), nullptr);
    const QImage image = DiagramPicture::toImage(shifted, logicalDpiX());
    QByteArray png;
    QBuffer pngBuffer(&png);
    pngBuffer.open(QIODevice::WriteOnly);
    image.save(&pngBuffer, "PNG");
    mime->setData(QStringLiteral("image/png"), png);
    mime->setData(QStringLiteral("image/svg+xml"), DiagramPicture::toSvg(shifted));

    m_lastPasted = data;
    m_pasteCount = 0;
    QApplication::clipboard()->setMimeData(mime.release());
    return true;
}

bool DiagramView::canPaste() const
{
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    return editable() && mime && mime->hasFormat(kMimeType);
}

bool DiagramView::paste()
{
    if (!canPaste())
        return false;
    const QByteArray data = QApplication::clipboard()->mimeData()->data(kMimeType);
    // Each paste of the same items lands a step further, so copies never
    // hide each other or their originals.
    if (data == m_lastPasted) {
        ++m_pasteCount;
    } else {
        m_lastPasted = data;
        m_pasteCount = 1;
    }
    const double step = kPasteStep * m_pasteCount;
    QString problem;
    if (!diagram()->pasteData(data, QPointF(step, step), &problem)) {
        emit error(ErrorPaste, problem);
        return false;
    }
    const auto pasted = diagram()->selectedNodes();
    if (!pasted.empty())
        ensureNodeVisible(pasted.front());
    return true;
}

// ---------------------------------------------------------------- keys, wheel, size

void DiagramView::keyPressEvent(QKeyEvent* e)
{
    if (!m_inputEnabled) {
        e->ignore();
        return;
    }
    if (e->key() == Qt::Key_Escape && m_drag.op != Op::None) {
        cancelDrag();
        return;
    }
    emit keyDown(e->key(), e->modifiers());
    if (m_drag.op == Op::None && diagram() && handleKey(e))
        return;
    QGraphicsView::keyPressEvent(e);
}

bool DiagramView::handleKey(QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const std::vector<Node*> nodes = diagram()->selectedNodes();
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
        // Enter opens the one selected node as a double click would.
        if (nodes.size() != 1 || !diagram()->selectedLinks().empty())
            return false;
        diagram()->setCurrentNode(nodes.front());
        emit doubleClicked(nodes.front(), nullptr);
        return true;
    }
    QPointF step;
    switch (e->key()) {
    case Qt::Key_Left:
        step = QPointF(-1, 0);
        break;
    case Qt::Key_Right:
        step = QPointF(1, 0);
        break;
    case Qt::Key_Up:
        step = QPointF(0, -1);
        break;
    case Qt::Key_Down:
        step = QPointF(0, 1);
        break;
    default:
        return false;
    }
    if (nodes.empty() || !editable() || (mods & ~Qt::ShiftModifier))
        return false;
    moveSelectionBy(step, mods & Qt::ShiftModifier);
    return true;
}

void DiagramView::moveSelectionBy(QPointF direction, bool large)
{
    // One grid step when snapping, else four pixels; Shift moves ten times
    // as far.
    const Diagram* d = diagram();
    const double pixels = m_scene->context().pixelsToTwips();
    double length = d->snapToGrid() && d->gridSize() > 0 ? d->gridSize() : 4 * pixels;
    if (large)
        length *= 10;
    const QPointF delta = direction * length;
    const std::vector<Node*> nodes = d->selectedNodes();
    for (Node* n : nodes) {
        n->setGeometry(n->left() + delta.x(), n->top() + delta.y(), n->width(), n->height());
        // Bends of links whose both ends move go along.
        for (Link* l : n->outLinks()) {
            if (!l->dst()->selected() || l->extraPoints().empty())
                continue;
            std::vector<QPointF> points = l->extraPoints();
            for (QPointF& p : points)
                p += delta;
            l->setExtraPoints(points);
        }
    }
    ensureNodeVisible(nodes.front());
    DiagramEdit edit;
    edit.kind = DiagramEdit::NodesMoved;
    edit.node = nodes.front();
    edit.nodes = nodes;
    emit mouseUp(edit);
}

void DiagramView::wheelEvent(QWheelEvent* e)
{
    if (!(e->modifiers() & Qt::ControlModifier) || e->angleDelta().y() == 0) {
        QGraphicsView::wheelEvent(e);
        return;
    }
    // Zoom about the point under the mouse.
    const QPoint at = e->position().toPoint();
    const QPointF before = mapToScene(at);
    const double f = e->angleDelta().y() > 0 ? kWheelZoomStep : 1 / kWheelZoomStep;
    applyZoom(m_zoomX * f, m_zoomY * f);
    const QPointF after = mapToScene(at);
    centerOn(mapToScene(viewport()->rect().center()) + (before - after));
    emit zoomChanged();
    e->accept();
}

void DiagramView::resizeEvent(QResizeEvent* e)
{
    QGraphicsView::resizeEvent(e);
    updateSceneRect();
}

bool DiagramView::viewportEvent(QEvent* e)
{
    if (e->type() == QEvent::Leave)
        m_mouseInside = false;
    else if (e->type() == QEvent::Enter)
        m_mouseInside = true;
    if (PaintClock::enabled()) {
        const PaintClock::Event timed(this, e);
        return QGraphicsView::viewportEvent(e);
    }
    return QGraphicsView::viewportEvent(e);
}

void DiagramView::setForeground(Foreground paint)
{
    m_foreground = std::move(paint);
    viewport()->update();
}

void DiagramView::drawForeground(QPainter* painter, const QRectF& rect)
{
    QGraphicsView::drawForeground(painter, rect);
    if (!m_foreground)
        return;
    painter->save();
    m_foreground(*painter);
    painter->restore();
}

}  // namespace orvane
