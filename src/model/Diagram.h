#pragma once
// The diagram component's data: nodes and links with their properties, the
// control-level settings, selection and the change flag. Drawing lives in the
// gui layer, which observes this model through its signals.

#include <QByteArray>
#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <memory>
#include <vector>

namespace orvane {

class Diagram;
class Link;

struct DiagramFont {
    QString name = QStringLiteral("Arial");
    double size = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    friend bool operator==(const DiagramFont&, const DiagramFont&) = default;
};

// Measures a text in twips for the autosize rule. The gui and the picture
// export install one with real font metrics; tests keep the default estimate.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual QSizeF textSize(const QString& text, const DiagramFont& font) const = 0;
};

// A deterministic estimate: half an em per character, 1.2 em per line.
class EstimatingTextMeasurer : public TextMeasurer {
public:
    QSizeF textSize(const QString& text, const DiagramFont& font) const override;
};

class Node {
public:
    Diagram* diagram() const { return m_diagram; }

    double left() const { return m_left; }
    double top() const { return m_top; }
    double width() const { return m_width; }
    double height() const { return m_height; }
    void setLeft(double v);
    void setTop(double v);
    void setWidth(double v);
    void setHeight(double v);
    void setGeometry(double left, double top, double width, double height);

    const QString& text() const { return m_text; }
    const QString& toolTip() const { return m_toolTip; }
    const QString& tag() const { return m_tag; }
    qint32 userData() const { return m_userData; }
    void setText(const QString& v);
    void setToolTip(const QString& v);
    void setTag(const QString& v);
    void setUserData(qint32 v);

    bool selected() const { return m_selected; }
    void setSelected(bool v);
    bool isFsmItem() const { return m_isFsmItem; }
    void setIsFsmItem(bool v);

    quint32 fillColor() const { return m_fillColor; }
    quint32 drawColor() const { return m_drawColor; }
    quint32 foreColor() const { return m_foreColor; }
    int drawWidth() const { return m_drawWidth; }
    int shape() const { return m_shape; }
    const DiagramFont& font() const { return m_font; }
    void setFillColor(quint32 v);
    void setDrawColor(quint32 v);
    void setForeColor(quint32 v);
    void setDrawWidth(int v);
    void setShape(int v);
    void setFont(const DiagramFont& v);

    // 3 fits the node to its text at once; 0 is off (nothing to do).
    void setAutosize(int mode);

    const std::vector<Link*>& outLinks() const { return m_outLinks; }
    const std::vector<Link*>& inLinks() const { return m_inLinks; }

private:
    friend class Diagram;
    friend class Link;
    friend class DiagramFileReader;
    explicit Node(Diagram* d) : m_diagram(d) {}
    void touched();

    Diagram* m_diagram;
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    QString m_text, m_toolTip, m_tag;
    qint32 m_userData = 0;
    bool m_selected = false;
    bool m_isFsmItem = true;
    quint32 m_fillColor = 0xFFFFF0, m_drawColor = 0xFF0000, m_foreColor = 0;
    int m_drawWidth = 1;
    int m_shape = 1;
    DiagramFont m_font;
    std::vector<Link*> m_outLinks, m_inLinks;
    bool m_doomed = false;  // marked during a bulk delete
};

class Link {
public:
    Node* org() const { return m_org; }
    Node* dst() const { return m_dst; }
    bool selected() const { return m_selected; }
    void setSelected(bool v);
    quint32 drawColor() const { return m_drawColor; }
    int drawStyle() const { return m_drawStyle; }
    int drawWidth() const { return m_drawWidth; }
    int arrowOrg() const { return m_arrowOrg; }
    int arrowDst() const { return m_arrowDst; }
    bool isFsmItem() const { return m_isFsmItem; }
    const std::vector<QPointF>& extraPoints() const { return m_extraPoints; }
    void setDrawColor(quint32 v);
    void setDrawStyle(int v);
    void setDrawWidth(int v);
    void setArrowOrg(int v);
    void setArrowDst(int v);
    void setIsFsmItem(bool v);
    void setExtraPoints(const std::vector<QPointF>& pts);
    // Moves the destination end to another node (the user reconnected it).
    void setDst(Node* n);

private:
    friend class Diagram;
    friend class DiagramFileReader;
    Link(Diagram* d, Node* org, Node* dst) : m_diagram(d), m_org(org), m_dst(dst) {}
    void touched();

    Diagram* m_diagram;
    Node* m_org;
    Node* m_dst;
    bool m_selected = false;
    quint32 m_drawColor = 0xFF0000;
    int m_drawStyle = 0;
    int m_drawWidth = 1;
    int m_arrowOrg = 0;
    int m_arrowDst = 3;
    bool m_isFsmItem = true;
    std::vector<QPointF> m_extraPoints;
    bool m_doomed = false;
};

class Diagram : public QObject {
    Q_OBJECT
public:
    explicit Diagram(QObject* parent = nullptr);
    ~Diagram() override;

    // Nodes in collection order (stable).
    const std::vector<std::unique_ptr<Node>>& nodes() const { return m_nodes; }
    int nodeCount() const { return int(m_nodes.size()); }
    Node* item(int i) const;           // 1-based, nullptr outside 1..Count
    int indexOf(const Node* n) const;  // 0-based, -1 when absent
    Node* addNode(double left, double top, double width, double height);

    // Links in creation order.
    const std::vector<std::unique_ptr<Link>>& links() const { return m_links; }
    // A link org -> dst with the current NewLinkArrowDst.
    Link* addLink(Node* org, Node* dst);

    Node* currentNode() const { return m_currentNode; }
    Link* currentLink() const { return m_currentLink; }
    void setCurrentNode(Node* n);
    void setCurrentLink(Link* l);

    std::vector<Node*> selectedNodes() const;
    std::vector<Link*> selectedLinks() const;
    void selectAll();
    void clearSelection();

    void deleteNode(Node* n);
    void deleteLink(Link* l);
    void deleteSelected();
    void deleteCurrent();
    void clear();  // removes every node and link

    bool redraw() const { return m_redraw; }
    void setRedraw(bool v);
    bool autoRefresh() const { return m_autoRefresh; }
    void setAutoRefresh(bool v);
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool v);

    bool changed() const { return m_changed; }
    void setChanged(bool v);

    quint32 defaultDrawColor() const { return m_defaultDrawColor; }
    quint32 defaultFillColor() const { return m_defaultFillColor; }
    quint32 defaultForeColor() const { return m_defaultForeColor; }
    void setDefaultDrawColor(quint32 v);
    void setDefaultFillColor(quint32 v);
    void setDefaultForeColor(quint32 v);
    const DiagramFont& font() const { return m_font; }
    void setFont(const DiagramFont& f);
    int newLinkArrowDst() const { return m_newLinkArrowDst; }
    void setNewLinkArrowDst(int v) { m_newLinkArrowDst = v; }

    bool showGrid() const { return m_showGrid; }
    bool snapToGrid() const { return m_snapToGrid; }
    double gridSize() const { return m_gridSize; }
    void setShowGrid(bool v);
    void setSnapToGrid(bool v);
    void setGridSize(double v);

    // Per-control text slot; never written by saveFile.
    const QString& tag() const { return m_tag; }
    void setTag(const QString& t) { m_tag = t; }

    const TextMeasurer& textMeasurer() const;
    void setTextMeasurer(std::shared_ptr<const TextMeasurer> m) { m_measurer = std::move(m); }
    // The measurer new diagrams use (the gui installs one with real fonts).
    static void setDefaultTextMeasurer(std::shared_ptr<const TextMeasurer> m);

    // File access (the .fsm format). On failure the diagram is untouched and
    // the result holds a message naming the file and the problem.
    bool loadFile(const QString& path, QString* error);
    bool saveFile(const QString& path, QString* error) const;
    // A copy of everything saveFile() writes, detached from every thread,
    // so that another thread can save it while this diagram changes.
    std::unique_ptr<Diagram> fileCopy() const;

    // The selected nodes and the links among them, in the file format, for
    // the clipboard; empty when no node is selected.
    QByteArray selectionData() const;
    // Adds the items of selectionData() output after the existing ones,
    // moved by `offset` (twips), and makes exactly them the selection. On
    // failure nothing changes and `error` says why.
    bool pasteData(const QByteArray& data, QPointF offset, QString* error);

signals:
    void nodeAdded(orvane::Node* n);
    void nodeAboutToBeRemoved(orvane::Node* n);
    void nodeChanged(orvane::Node* n);
    void linkAdded(orvane::Link* l);
    void linkAboutToBeRemoved(orvane::Link* l);
    void linkChanged(orvane::Link* l);
    void selectionChanged();
    void redrawChanged(bool on);
    void viewSettingsChanged();
    void contentReset();  // after loadFile or clear

private:
    friend class Node;
    friend class Link;
    friend class DiagramFileReader;
    void nodeTouched(Node* n);
    void linkTouched(Link* l);
    void removeDoomed();
    QByteArray fileBytes(const std::vector<const Node*>& nodes,
                         const std::vector<const Link*>& links) const;

    std::vector<std::unique_ptr<Node>> m_nodes;
    std::vector<std::unique_ptr<Link>> m_links;
    Node* m_currentNode = nullptr;
    Link* m_currentLink = nullptr;
    bool m_redraw = true;
    bool m_autoRefresh = true;
    bool m_readOnly = false;
    bool m_changed = false;
    quint32 m_defaultDrawColor = 0xFF0000;
    quint32 m_defaultFillColor = 0xFFFFF0;
    quint32 m_defaultForeColor = 0;
    DiagramFont m_font;
    int m_newLinkArrowDst = 3;
    bool m_showGrid = false;
    bool m_snapToGrid = false;
    double m_gridSize = 120;
    QString m_tag;
    std::shared_ptr<const TextMeasurer> m_measurer;
};

}  // namespace orvane
