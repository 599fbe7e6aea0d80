// The diagram view's mouse work: what a press takes hold of, what a drag
// does while it runs, and the edit reported when it ends.

#include "DiagramView.h"

#include <QApplication>
#include <QGraphicsPathItem>
#include <QGraphicsRectItem>
#include <QMouseEvent>
#include <QPainterPath>

#include <cmath>

namespace orvane {

namespace {

// A node's geometry as stored (not normalised), to put it back exactly.
QRectF storedRect(const Node* n) { return QRectF(n->left(), n->top(), n->width(), n->height()); }

void setStoredRect(Node* n, const QRectF& r)
{
    n->setGeometry(r.left(), r.top(), r.width(), r.height());
}

// Whether `inner` lies within `outer`; unlike QRectF::contains, a line
// (a rectangle without height or width) can be inside too.
bool within(const QRectF& outer, const QRectF& inner)
{
    return inner.left() >= outer.left() && inner.right() <= outer.right()
           && inner.top() >= outer.top() && inner.bottom() <= outer.bottom();
}

// Smallest side a node can be resized to, in twips.
constexpr double kMinNodeSide = 60;

Qt::CursorShape resizeCursor(int handle)
{
    switch (handle) {
    case 0:
    case 4:
        return Qt::SizeFDiagCursor;
    case 2:
    case 6:
        return Qt::SizeBDiagCursor;
    case 1:
    case 5:
        return Qt::SizeVerCursor;
    default:
        return Qt::SizeHorCursor;
    }
}

}  // namespace

// ---------------------------------------------------------------- events

void DiagramView::mousePressEvent(QMouseEvent* e)
{
    const QPointF pos = mapToScene(e->position().toPoint());
    m_lastMouse = pos;
    m_mouseInside = true;
    setFocus(Qt::MouseFocusReason);
    if (m_inputEnabled && diagram() && m_drag.op == Op::None && !m_drag.node && !m_drag.link) {
        if (e->button() == Qt::LeftButton) {
            beginPress(e, pos);
        } else if (e->button() == Qt::RightButton) {
            // A context click acts on what is under the mouse.
            if (Node* n = m_scene->nodeAt(pos)) {
                diagram()->setCurrentNode(n);
                if (!n->selected())
                    selectOnly(n, nullptr);
            } else if (Link* l = m_scene->linkAt(pos, pixelTolerance())) {
                diagram()->setCurrentLink(l);
                if (!l->selected())
                    selectOnly(nullptr, l);
            }
        }
    }
    emit mouseDown(e->button(), e->modifiers(), pos);
    e->accept();
}

void DiagramView::mouseMoveEvent(QMouseEvent* e)
{
    const QPointF pos = mapToScene(e->position().toPoint());
    m_lastMouse = pos;
    m_mouseInside = true;
    if (!(e->buttons() & Qt::LeftButton) || m_drag.op == Op::None) {
        updateHoverCursor(pos);
        return;
    }
    if (!m_drag.started) {
        if ((e->position().toPoint() - m_drag.pressPixel).manhattanLength()
            < QApplication::startDragDistance())
            return;
        startDrag();
    }
    continueDrag(pos);
    if (!viewport()->rect().contains(e->position().toPoint()))
        ensureVisible(QRectF(pos, QSizeF(1, 1)), 0, 0);
}

void DiagramView::mouseReleaseEvent(QMouseEvent* e)
{
    const QPointF pos = mapToScene(e->position().toPoint());
    m_lastMouse = pos;
    if (e->button() != Qt::LeftButton)
        return;
    if (!m_drag.started)
        clickWithoutDrag();
    else
        finishDrag(pos);
    m_drag = Drag{};
}

void DiagramView::mouseDoubleClickEvent(QMouseEvent* e)
{
    const QPointF pos = mapToScene(e->position().toPoint());
    m_lastMouse = pos;
    abandonDrag();
    if (!m_inputEnabled || !diagram() || e->button() != Qt::LeftButton)
        return;
    Node* n = m_scene->nodeAt(pos);
    Link* l = n ? nullptr : m_scene->linkAt(pos, pixelTolerance());
    if (n)
        diagram()->setCurrentNode(n);
    else if (l)
        diagram()->setCurrentLink(l);
    emit doubleClicked(n, l);
}

// ---------------------------------------------------------------- press

DiagramView::HandleHit DiagramView::handleAt(QPointF pos) const
{
    HandleHit hit;
    const ItemContext& ctx = m_scene->context();
    const double rx = (kHandlePixels / 2 + 1) * ctx.twipsPerPixelX;
    const double ry = (kHandlePixels / 2 + 1) * ctx.twipsPerPixelY;
    auto near = [&](QPointF h) {
        return std::fabs(h.x() - pos.x()) <= rx && std::fabs(h.y() - pos.y()) <= ry;
    };
    const QRectF area(pos.x() - rx, pos.y() - ry, 2 * rx, 2 * ry);
    for (QGraphicsItem* it :
         m_scene->items(area, Qt::IntersectsItemBoundingRect, Qt::DescendingOrder)) {
        if (it->type() == NodeItem::Type && it->isVisible()) {
            Node* n = static_cast<NodeItem*>(it)->node();
            if (!n->selected())
                continue;
            const auto handles = nodeHandles(nodeRect(*n));
            for (int i = 0; i < 8; ++i)
                if (near(handles[size_t(i)]))
                    return HandleHit{Op::Resize, n, nullptr, i};
        } else if (it->type() == LinkItem::Type && it->isVisible()) {
            const auto* li = static_cast<LinkItem*>(it);
            Link* l = li->link();
            if (!l->selected())
                continue;
            const LinkHandles h = linkHandles(li->line(), *l);
            if (near(h.dstEnd))
                return HandleHit{Op::Reconnect, nullptr, l, -1};
            for (size_t i = 0; i < h.bends.size(); ++i)
                if (near(h.bends[i]))
                    return HandleHit{Op::MoveBend, nullptr, l, int(i)};
            for (size_t i = 0; i < h.middles.size(); ++i)
                if (near(h.middles[i]))
                    hit = HandleHit{Op::MoveBend, nullptr, l, -1 - int(i)};  // insert on segment i
        }
    }
    return hit;
}

void DiagramView::beginPress(QMouseEvent* e, QPointF pos)
{
    Diagram* d = diagram();
    m_drag = Drag{};
    m_drag.pressPixel = e->position().toPoint();
    m_drag.pressPos = pos;
    m_drag.changedBefore = d->changed();
    m_drag.add = e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
    if (m_mode == ZoomWindowMode) {
        m_drag.op = Op::ZoomRect;
        return;
    }
    if (editable() && !m_drag.add) {
        const HandleHit h = handleAt(pos);
        if (h.op != Op::None) {
            m_drag.op = h.op;
            m_drag.node = h.node;
            m_drag.link = h.link;
            m_drag.index = h.index;
            if (h.node)
                d->setCurrentNode(h.node);
            else
                d->setCurrentLink(h.link);
            return;
        }
    }
    if (Node* n = m_scene->nodeAt(pos)) {
        d->setCurrentNode(n);
        if (m_drag.add) {
            n->setSelected(!n->selected());
            return;
        }
        m_drag.node = n;
        // In insert mode a drag from a node that is not selected draws a
        // link when it ends on a node, and moves the node when it ends
        // elsewhere; a drag from a selected node moves the selection.
        if (!n->selected() && m_mode == SelectMode)
            selectOnly(n, nullptr);
        if (editable())
            m_drag.op = n->selected() ? Op::MoveNodes : Op::NewLink;
        return;
    }
    if (Link* l = m_scene->linkAt(pos, pixelTolerance())) {
        d->setCurrentLink(l);
        if (m_drag.add) {
            l->setSelected(!l->selected());
            return;
        }
        m_drag.link = l;
        if (!l->selected())
            selectOnly(nullptr, l);
        // Pulling a link bends it where it was taken (a bare loop has no
        // segment of its own to bend).
        const bool bareLoop = l->org() == l->dst() && l->extraPoints().empty();
        if (editable() && !bareLoop) {
            int segment = 0;
            distanceToLine(m_scene->itemOf(l)->line(), pos, &segment);
            m_drag.op = Op::MoveBend;
            m_drag.index = -1 - segment;
        }
        return;
    }
    if (!m_drag.add) {
        d->clearSelection();
        d->setCurrentNode(nullptr);
        d->setCurrentLink(nullptr);
    }
    m_drag.op = (m_mode == SelectMode || !editable()) ? Op::SelectRect : Op::NewNode;
}

void DiagramView::clickWithoutDrag()
{
    // A plain click on an item makes it the only selected one.
    if (m_drag.add)
        return;
    if (m_drag.node)
        selectOnly(m_drag.node, nullptr);
    else if (m_drag.link)
        selectOnly(nullptr, m_drag.link);
}

void DiagramView::selectOnly(Node* n, Link* l)
{
    Diagram* d = diagram();
    const auto nodes = d->selectedNodes();
    const auto links = d->selectedLinks();
    const bool already = (n && nodes.size() == 1 && nodes[0] == n && links.empty())
                         || (l && links.size() == 1 && links[0] == l && nodes.empty());
    if (already)
        return;
    d->clearSelection();
    if (n)
        n->setSelected(true);
    if (l)
        l->setSelected(true);
}

void DiagramView::selectInRect(const QRectF& r, bool add)
{
    Diagram* d = diagram();
    if (!add)
        d->clearSelection();
    // Items wholly inside the rectangle.
    for (QGraphicsItem* it : m_scene->items(r, Qt::IntersectsItemBoundingRect)) {
        if (it->type() == NodeItem::Type && it->isVisible()) {
            Node* n = static_cast<NodeItem*>(it)->node();
            if (within(r, nodeRect(*n)))
                n->setSelected(true);
        } else if (it->type() == LinkItem::Type && it->isVisible()) {
            auto* li = static_cast<LinkItem*>(it);
            if (within(r, li->line().boundingRect()))
                li->link()->setSelected(true);
        }
    }
}

// ---------------------------------------------------------------- drag

void DiagramView::startDrag()
{
    Diagram* d = diagram();
    m_drag.started = true;
    if (m_drag.op == Op::MoveNodes) {
        m_drag.nodes = d->selectedNodes();
        for (Node* n : m_drag.nodes) {
            m_drag.startRects.push_back(storedRect(n));
            // Bends of links whose both ends move go along.
            for (Link* l : n->outLinks())
                if (l->dst()->selected() && !l->extraPoints().empty())
                    m_drag.startBends.emplace_back(l, l->extraPoints());
        }
    } else if (m_drag.op == Op::Resize) {
        m_drag.startRects = {storedRect(m_drag.node)};
    } else if (m_drag.op == Op::MoveBend) {
        std::vector<QPointF> pts = m_drag.link->extraPoints();
        m_drag.startBends = {{m_drag.link, pts}};
        if (m_drag.index < 0) {
            const int at = -1 - m_drag.index;
            pts.insert(pts.begin() + std::min<size_t>(size_t(at), pts.size()),
                       snap(m_drag.pressPos));
            m_drag.index = std::min(at, int(pts.size()) - 1);
            m_drag.link->setExtraPoints(pts);
        }
    }
}

void DiagramView::continueDrag(QPointF pos)
{
    switch (m_drag.op) {
    case Op::NewNode:
        showRubberRect(QRectF(snap(m_drag.pressPos), snap(pos)).normalized());
        break;
    case Op::SelectRect:
    case Op::ZoomRect:
        showRubberRect(QRectF(m_drag.pressPos, pos).normalized());
        break;
    case Op::NewLink: {
        const QRectF from = nodeRect(*m_drag.node);
        if (!from.contains(pos))
            m_drag.leftOrigin = true;
        // Over another node (or back on its own after leaving it) the drag
        // draws a link; anywhere else it moves the node, shown as an outline.
        if (linkTargetAt(m_drag, pos)) {
            if (m_rubberRect)
                m_rubberRect->hide();
            showRubberLine(QPolygonF() << from.center() << pos);
        } else {
            if (m_rubberLine)
                m_rubberLine->hide();
            showRubberRect(from.translated(nodeMoveDelta(m_drag, pos)));
        }
        break;
    }
    case Op::MoveNodes:
        moveNodesTo(pos);
        break;
    case Op::Resize:
        resizeTo(pos);
        break;
    case Op::MoveBend: {
        std::vector<QPointF> pts = m_drag.link->extraPoints();
        if (m_drag.index >= 0 && size_t(m_drag.index) < pts.size()) {
            pts[size_t(m_drag.index)] = snap(pos);
            m_drag.link->setExtraPoints(pts);
        }
        break;
    }
    case Op::Reconnect: {
        const QPolygonF line = m_scene->itemOf(m_drag.link)->line();
        showRubberLine(QPolygonF() << line[line.size() - 2] << pos);
        break;
    }
    case Op::None:
        break;
    }
}

void DiagramView::moveNodesTo(QPointF pos)
{
    const auto grabbed = std::find(m_drag.nodes.begin(), m_drag.nodes.end(), m_drag.node);
    if (grabbed == m_drag.nodes.end())
        return;
    // The node under the mouse snaps to the grid; the others keep their
    // distance to it.
    const QPointF start = m_drag.startRects[size_t(grabbed - m_drag.nodes.begin())].topLeft();
    const QPointF delta = snap(start + (pos - m_drag.pressPos)) - start;
    for (size_t i = 0; i < m_drag.nodes.size(); ++i)
        setStoredRect(m_drag.nodes[i], m_drag.startRects[i].translated(delta));
    for (auto& [link, points] : m_drag.startBends) {
        std::vector<QPointF> moved = points;
        for (QPointF& p : moved)
            p += delta;
        link->setExtraPoints(moved);
    }
}

void DiagramView::resizeTo(QPointF pos)
{
    const QRectF r = m_drag.startRects[0].normalized();
    const QPointF p = snap(pos);
    double left = r.left(), top = r.top(), right = r.right(), bottom = r.bottom();
    const int h = m_drag.index;
    if (h == 0 || h == 6 || h == 7)
        left = std::min(p.x(), right - kMinNodeSide);
    if (h == 2 || h == 3 || h == 4)
        right = std::max(p.x(), left + kMinNodeSide);
    if (h == 0 || h == 1 || h == 2)
        top = std::min(p.y(), bottom - kMinNodeSide);
    if (h == 4 || h == 5 || h == 6)
        bottom = std::max(p.y(), top + kMinNodeSide);
    m_drag.node->setGeometry(left, top, right - left, bottom - top);
}

void DiagramView::finishDrag(QPointF pos)
{
    hideRubber();
    Diagram* d = diagram();
    // Taken out first: handlers of the signal may start anything anew.
    const Drag drag = std::move(m_drag);
    m_drag = Drag{};
    DiagramEdit edit;
    switch (drag.op) {
    case Op::None:
        return;
    case Op::NewNode:
        if (!drawNode(drag, pos, edit))
            return;
        break;
    case Op::NewLink:
        if (linkTargetAt(drag, pos)) {
            if (!drawLink(drag, pos, edit))
                return;
        } else if (!moveUnselectedNode(drag, pos, edit)) {
            return;
        }
        break;
    case Op::SelectRect:
        selectInRect(QRectF(drag.pressPos, pos).normalized(), drag.add);
        return;
    case Op::ZoomRect:
        zoomToRect(QRectF(drag.pressPos, pos));
        setMouseMode(InsertMode);
        edit.kind = DiagramEdit::ZoomWindow;
        break;
    case Op::MoveNodes: {
        bool moved = false;
        for (size_t i = 0; i < drag.nodes.size(); ++i)
            moved = moved || storedRect(drag.nodes[i]) != drag.startRects[i];
        if (!moved)
            return;
        d->setCurrentNode(drag.node);
        edit.kind = DiagramEdit::NodesMoved;
        edit.node = drag.node;
        edit.nodes = drag.nodes;
        break;
    }
    case Op::Resize: {
        const QRectF now = storedRect(drag.node);
        if (now == drag.startRects[0])
            return;
        d->setCurrentNode(drag.node);
        edit.kind = DiagramEdit::NodeResized;
        edit.node = drag.node;
        edit.sizeChanged = now.size() != drag.startRects[0].size();
        break;
    }
    case Op::MoveBend:
        if (drag.link->extraPoints() == drag.startBends[0].second)
            return;
        d->setCurrentLink(drag.link);
        edit.kind = DiagramEdit::LinkReshaped;
        edit.link = drag.link;
        break;
    case Op::Reconnect:
        if (!reconnect(drag, pos, edit))
            return;
        break;
    }
    emit mouseUp(edit);
}

// A new node over the dragged rectangle; false when nothing was dragged.
bool DiagramView::drawNode(const Drag& drag, QPointF pos, DiagramEdit& edit)
{
    const QRectF r = QRectF(snap(drag.pressPos), snap(pos)).normalized();
    if (r.width() <= 0 && r.height() <= 0)
        return false;
    Diagram* d = diagram();
    Node* n = d->addNode(r.left(), r.top(), r.width(), r.height());
    selectOnly(n, nullptr);
    d->setCurrentNode(n);
    edit.kind = DiagramEdit::NodeDrawn;
    edit.node = n;
    return true;
}

// The node a link drawn from the press would reach at `pos`: another node,
// or the node it came from once the mouse has been out of it; else null.
Node* DiagramView::linkTargetAt(const Drag& drag, QPointF pos) const
{
    Node* target = m_scene->nodeAt(pos);
    return target && (target != drag.node || drag.leftOrigin) ? target : nullptr;
}

// How far a node taken at the press moves when the mouse is at `pos`; its
// corner snaps to the grid.
QPointF DiagramView::nodeMoveDelta(const Drag& drag, QPointF pos) const
{
    const QPointF start = storedRect(drag.node).topLeft();
    return snap(start + (pos - drag.pressPos)) - start;
}

// A node that was not selected, dragged to where no link can end, moves
// there and becomes the selection; false when it would not move.
bool DiagramView::moveUnselectedNode(const Drag& drag, QPointF pos, DiagramEdit& edit)
{
    const QPointF delta = nodeMoveDelta(drag, pos);
    if (delta.isNull())
        return false;
    Node* n = drag.node;
    setStoredRect(n, storedRect(n).translated(delta));
    selectOnly(n, nullptr);
    diagram()->setCurrentNode(n);
    edit.kind = DiagramEdit::NodesMoved;
    edit.node = n;
    edit.nodes = {n};
    return true;
}

// A new link to the node under the mouse; false when there is none.
bool DiagramView::drawLink(const Drag& drag, QPointF pos, DiagramEdit& edit)
{
    Node* target = m_scene->nodeAt(pos);
    // Back on the node it came from: a loop only when the mouse went out.
    if (!target || (target == drag.node && !drag.leftOrigin))
        return false;
    Diagram* d = diagram();
    Link* l = d->addLink(drag.node, target);
    if (target == drag.node) {
        // Two bends beyond the top right corner make a visible loop.
        const QRectF r = nodeRect(*target);
        const double reach = std::clamp(std::min(r.width(), r.height()) / 2, 150.0, 600.0);
        l->setExtraPoints({QPointF(r.right() - r.width() / 4, r.top() - reach),
                           QPointF(r.right() + reach, r.top() + r.height() / 4)});
    }
    selectOnly(nullptr, l);
    d->setCurrentLink(l);
    edit.kind = DiagramEdit::LinkDrawn;
    edit.link = l;
    return true;
}

// The link's destination end moved to the node under the mouse; false when
// there is none or it is the same node.
bool DiagramView::reconnect(const Drag& drag, QPointF pos, DiagramEdit& edit)
{
    Node* target = m_scene->nodeAt(pos);
    if (!target || target == drag.link->dst())
        return false;
    drag.link->setDst(target);
    diagram()->setCurrentLink(drag.link);
    edit.kind = DiagramEdit::LinkReconnected;
    edit.link = drag.link;
    edit.dstChanged = true;
    return true;
}

void DiagramView::cancelDrag()
{
    if (m_drag.started && diagram()) {
        // Put back what the drag changed so far.
        if (m_drag.op == Op::MoveNodes || m_drag.op == Op::Resize) {
            const std::vector<Node*> nodes =
                m_drag.op == Op::Resize ? std::vector<Node*>{m_drag.node} : m_drag.nodes;
            for (size_t i = 0; i < nodes.size(); ++i)
                setStoredRect(nodes[i], m_drag.startRects[i]);
        }
        for (auto& [link, points] : m_drag.startBends)
            link->setExtraPoints(points);
        diagram()->setChanged(m_drag.changedBefore);
    }
    abandonDrag();
}

void DiagramView::abandonDrag()
{
    hideRubber();
    m_drag = Drag{};
}

// ---------------------------------------------------------------- feedback

void DiagramView::showRubberRect(const QRectF& r)
{
    if (!m_rubberRect) {
        QPen pen(palette().color(QPalette::Highlight), 1, Qt::DashLine);
        pen.setCosmetic(true);
        m_rubberRect = m_scene->addRect(QRectF(), pen);
        m_rubberRect->setZValue(1e9);
    }
    m_rubberRect->setRect(r);
    m_rubberRect->show();
}

void DiagramView::showRubberLine(const QPolygonF& line)
{
    if (!m_rubberLine) {
        QPen pen(palette().color(QPalette::Highlight), 1, Qt::DashLine);
        pen.setCosmetic(true);
        m_rubberLine = m_scene->addPath(QPainterPath(), pen);
        m_rubberLine->setZValue(1e9);
    }
    QPainterPath path;
    path.addPolygon(line);
    m_rubberLine->setPath(path);
    m_rubberLine->show();
}

void DiagramView::hideRubber()
{
    if (m_rubberRect)
        m_rubberRect->hide();
    if (m_rubberLine)
        m_rubberLine->hide();
}

void DiagramView::updateHoverCursor(QPointF pos)
{
    if (m_mode == ZoomWindowMode)
        return;
    const HandleHit h = editable() ? handleAt(pos) : HandleHit{};
    if (h.op == Op::Resize)
        viewport()->setCursor(resizeCursor(h.index));
    else if (h.op == Op::MoveBend || h.op == Op::Reconnect)
        viewport()->setCursor(Qt::SizeAllCursor);
    else
        viewport()->unsetCursor();
}

}  // namespace orvane
