#pragma once
// The diagram view: shows a Diagram and turns mouse and keys into edits of
// it. Drawing a node or a link, moving, resizing and reshaping are done
// here; what they mean for the state machine is decided by the document
// window, which listens to the signals below.

#include "DiagramScene.h"

#include <QGraphicsView>

#include <functional>

#include <memory>
#include <vector>

class QGraphicsPathItem;
class QGraphicsRectItem;

namespace orvane {

// What the user has just drawn or moved (reported on mouse release).
struct DiagramEdit {
    enum Kind {
        NodeDrawn,        // node: the new node (no kind bits yet)
        LinkDrawn,        // link: the new link
        NodesMoved,       // node: the one taken; nodes: every node moved
        NodeResized,      // node; sizeChanged
        LinkReshaped,     // link: a bend point was added or moved
        LinkReconnected,  // link: its destination end went to another node
        ZoomWindow,       // the zoom window was applied
    };
    Kind kind = NodeDrawn;
    Node* node = nullptr;
    Link* link = nullptr;
    std::vector<Node*> nodes;
    bool sizeChanged = false;
    bool dstChanged = false;
};

class DiagramView : public QGraphicsView {
    Q_OBJECT
public:
    enum MouseMode { InsertMode = 0, SelectMode = 1, ZoomWindowMode = 3 };
    // Numbers of the error signal.
    enum ErrorNumber { ErrorPaste = 2001 };
    // The clipboard format of copied items (the diagram file's JSON).
    static const QString kMimeType;

    explicit DiagramView(Diagram* diagram, QWidget* parent = nullptr);
    ~DiagramView() override;

    Diagram* diagram() const { return m_scene->diagram(); }
    DiagramScene* diagramScene() const { return m_scene.get(); }

    // 0 draws nodes and links, 1 selects by dragging, 3 zooms to the next
    // dragged rectangle and then returns to 0.
    int mouseMode() const { return m_mode; }
    void setMouseMode(int mode);

    // Zoom in percent of the diagram's true size, per direction.
    double zoomX() const { return m_zoomX; }
    double zoomY() const { return m_zoomY; }
    void setZoom(double x, double y);
    void setZoom(double both) { setZoom(both, both); }
    // Shows the whole drawing (same zoom in both directions).
    void fitInWindow();
    // Makes a rectangle of the diagram (twips) the visible area.
    void zoomToRect(const QRectF& twips);

    // The node or link under the mouse (the last position the view saw).
    Node* pointedNode() const;
    Link* pointedLink() const;
    // Where a node is drawn, in viewport pixels (for an editor laid over it).
    QRect nodeViewportRect(const Node* n) const;
    void ensureNodeVisible(const Node* n);

    // Clipboard: the selected nodes, the links among them and their picture.
    bool copy();
    bool canPaste() const;
    // Pastes next to the originals and selects the pasted items; refused
    // while the diagram is read-only.
    bool paste();

    // Off while an editor over the view takes the input.
    void setInputEnabled(bool on);
    bool inputEnabled() const { return m_inputEnabled; }

    // Painted over the items in the diagram's coordinates (twips): marks
    // that are no part of the drawing, such as the simulation's highlights.
    // An empty function paints nothing.
    using Foreground = std::function<void(QPainter& painter)>;
    void setForeground(Foreground paint);

signals:
    // Item under the mouse (node first, else link; both null: background),
    // already made the current item.
    void doubleClicked(orvane::Node* node, orvane::Link* link);
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF twips);
    void mouseUp(const orvane::DiagramEdit& edit);
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void error(int number, const QString& description);
    void zoomChanged();
    void mouseModeChanged(int mode);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    enum class Op {
        None,
        NewNode,
        NewLink,
        SelectRect,
        ZoomRect,
        MoveNodes,
        Resize,
        MoveBend,
        Reconnect
    };
    struct Drag {
        Op op = Op::None;
        bool started = false;  // moved far enough to count as a drag
        QPoint pressPixel;
        QPointF pressPos;  // twips
        Node* node = nullptr;
        Link* link = nullptr;
        int index = -1;  // resize handle or bend point
        bool leftOrigin = false;
        bool add = false;  // Ctrl or Shift: add to the selection
        bool changedBefore = false;
        std::vector<Node*> nodes;
        std::vector<QRectF> startRects;
        std::vector<std::pair<Link*, std::vector<QPointF>>> startBends;
    };

    // Enter opens the selected node, the arrow keys move the selection;
    // false for any other key.
    bool handleKey(QKeyEvent* e);
    void moveSelectionBy(QPointF direction, bool large);
    void applyZoom(double x, double y);
    void updateSceneRect();
    double pixelTolerance() const;
    QPointF snap(QPointF p) const;
    bool editable() const;

    // Mouse work (DiagramViewMouse.cpp).
    struct HandleHit {
        Op op = Op::None;
        Node* node = nullptr;
        Link* link = nullptr;
        int index = -1;
    };
    HandleHit handleAt(QPointF pos) const;
    void beginPress(QMouseEvent* e, QPointF pos);
    void startDrag();
    void continueDrag(QPointF pos);
    void finishDrag(QPointF pos);
    bool drawNode(const Drag& drag, QPointF pos, DiagramEdit& edit);
    bool drawLink(const Drag& drag, QPointF pos, DiagramEdit& edit);
    Node* linkTargetAt(const Drag& drag, QPointF pos) const;
    QPointF nodeMoveDelta(const Drag& drag, QPointF pos) const;
    bool moveUnselectedNode(const Drag& drag, QPointF pos, DiagramEdit& edit);
    bool reconnect(const Drag& drag, QPointF pos, DiagramEdit& edit);
    void cancelDrag();
    void abandonDrag();
    void clickWithoutDrag();
    void selectOnly(Node* n, Link* l);
    void selectInRect(const QRectF& r, bool add);
    void moveNodesTo(QPointF pos);
    void resizeTo(QPointF pos);
    void showRubberRect(const QRectF& r);
    void showRubberLine(const QPolygonF& line);
    void hideRubber();
    void updateHoverCursor(QPointF pos);

    std::unique_ptr<DiagramScene> m_scene;
    int m_mode = InsertMode;
    double m_zoomX = 100, m_zoomY = 100;
    bool m_inputEnabled = true;
    QPointF m_lastMouse;
    bool m_mouseInside = false;
    QRectF m_shownArea;  // zoomed to, kept within the scroll range
    Drag m_drag;
    QGraphicsRectItem* m_rubberRect = nullptr;
    QGraphicsPathItem* m_rubberLine = nullptr;
    QByteArray m_lastPasted;
    int m_pasteCount = 0;
    Foreground m_foreground;
};

}  // namespace orvane
