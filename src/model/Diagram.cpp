#include "Diagram.h"

#include <QStringList>

#include <algorithm>

namespace orvane {

namespace {
std::shared_ptr<const TextMeasurer>& defaultMeasurer()
{
    static std::shared_ptr<const TextMeasurer> m = std::make_shared<EstimatingTextMeasurer>();
    return m;
}

template <typename T> void setIfDifferent(T& field, const T& value, bool& differs)
{
    differs = !(field == value);
    if (differs)
        field = value;
}
}  // namespace

QSizeF EstimatingTextMeasurer::textSize(const QString& text, const DiagramFont& font) const
{
    // 1 point = 20 twips.
    const double em = font.size * 20.0;
    QString t = text;
    t.remove(QLatin1Char('\n'));
    const QStringList lines = t.split(QLatin1Char('\r'));
    qsizetype longest = 0;
    for (const QString& l : lines)
        longest = std::max(longest, l.size());
    qsizetype count = lines.size();
    if (text.endsWith(QLatin1Char('\r')) || text.endsWith(QLatin1String("\r\n")))
        --count;  // a final line break opens no new line
    return QSizeF(double(longest) * em * 0.5, double(std::max<qsizetype>(count, 0)) * em * 1.2);
}

// ---------------------------------------------------------------- Node

#define NODE_SETTER(name, field, type)                                                             \
    void Node::name(type v)                                                                        \
    {                                                                                              \
        if (field == v)                                                                            \
            return;                                                                                \
        field = v;                                                                                 \
        touched();                                                                                 \
    }

NODE_SETTER(setLeft, m_left, double)
NODE_SETTER(setTop, m_top, double)
NODE_SETTER(setWidth, m_width, double)
NODE_SETTER(setHeight, m_height, double)
NODE_SETTER(setText, m_text, const QString&)
NODE_SETTER(setToolTip, m_toolTip, const QString&)
NODE_SETTER(setTag, m_tag, const QString&)
NODE_SETTER(setUserData, m_userData, qint32)
NODE_SETTER(setIsFsmItem, m_isFsmItem, bool)
NODE_SETTER(setFillColor, m_fillColor, quint32)
NODE_SETTER(setDrawColor, m_drawColor, quint32)
NODE_SETTER(setForeColor, m_foreColor, quint32)
NODE_SETTER(setDrawWidth, m_drawWidth, int)
NODE_SETTER(setShape, m_shape, int)
NODE_SETTER(setFont, m_font, const DiagramFont&)
#undef NODE_SETTER

void Node::setGeometry(double left, double top, double width, double height)
{
    if (m_left == left && m_top == top && m_width == width && m_height == height)
        return;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    touched();
}

void Node::setSelected(bool v)
{
    if (m_selected == v)
        return;
    m_selected = v;
    emit m_diagram->selectionChanged();
}

void Node::setAutosize(int mode)
{
    if (mode != 3)
        return;
    // The text sits inside the outline with a small margin on each side.
    const QSizeF s = m_diagram->textMeasurer().textSize(m_text, m_font);
    setGeometry(m_left, m_top, s.width() + 120.0, s.height() + 60.0);
}

void Node::touched() { m_diagram->nodeTouched(this); }

// ---------------------------------------------------------------- Link

#define LINK_SETTER(name, field, type)                                                             \
    void Link::name(type v)                                                                        \
    {                                                                                              \
        if (field == v)                                                                            \
            return;                                                                                \
        field = v;                                                                                 \
        touched();                                                                                 \
    }

LINK_SETTER(setDrawColor, m_drawColor, quint32)
LINK_SETTER(setDrawStyle, m_drawStyle, int)
LINK_SETTER(setDrawWidth, m_drawWidth, int)
LINK_SETTER(setArrowOrg, m_arrowOrg, int)
LINK_SETTER(setArrowDst, m_arrowDst, int)
LINK_SETTER(setIsFsmItem, m_isFsmItem, bool)
LINK_SETTER(setExtraPoints, m_extraPoints, const std::vector<QPointF>&)
#undef LINK_SETTER

void Link::setSelected(bool v)
{
    if (m_selected == v)
        return;
    m_selected = v;
    emit m_diagram->selectionChanged();
}

void Link::setDst(Node* n)
{
    if (!n || n == m_dst)
        return;
    auto& in = m_dst->m_inLinks;
    in.erase(std::remove(in.begin(), in.end(), this), in.end());
    m_dst = n;
    n->m_inLinks.push_back(this);
    touched();
}

void Link::touched() { m_diagram->linkTouched(this); }

// ---------------------------------------------------------------- Diagram

Diagram::Diagram(QObject* parent) : QObject(parent) {}

Diagram::~Diagram() = default;

Node* Diagram::item(int i) const
{
    if (i < 1 || i > nodeCount())
        return nullptr;
    return m_nodes[size_t(i - 1)].get();
}

int Diagram::indexOf(const Node* n) const
{
    for (size_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i].get() == n)
            return int(i);
    return -1;
}

Node* Diagram::addNode(double left, double top, double width, double height)
{
    auto node = std::unique_ptr<Node>(new Node(this));
    node->m_left = left;
    node->m_top = top;
    node->m_width = width;
    node->m_height = height;
    node->m_fillColor = m_defaultFillColor;
    node->m_drawColor = m_defaultDrawColor;
    node->m_foreColor = m_defaultForeColor;
    node->m_font = m_font;
    Node* raw = node.get();
    m_nodes.push_back(std::move(node));
    m_changed = true;
    emit nodeAdded(raw);
    return raw;
}

Link* Diagram::addLink(Node* org, Node* dst)
{
    if (!org || !dst)
        return nullptr;
    auto link = std::unique_ptr<Link>(new Link(this, org, dst));
    link->m_arrowDst = m_newLinkArrowDst;
    link->m_drawColor = m_defaultDrawColor;
    Link* raw = link.get();
    m_links.push_back(std::move(link));
    org->m_outLinks.push_back(raw);
    dst->m_inLinks.push_back(raw);
    m_changed = true;
    emit linkAdded(raw);
    return raw;
}

void Diagram::setCurrentNode(Node* n)
{
    m_currentNode = n;
    if (n)
        m_currentLink = nullptr;
}

void Diagram::setCurrentLink(Link* l)
{
    m_currentLink = l;
    if (l)
        m_currentNode = nullptr;
}

std::vector<Node*> Diagram::selectedNodes() const
{
    std::vector<Node*> out;
    for (const auto& n : m_nodes)
        if (n->m_selected)
            out.push_back(n.get());
    return out;
}

std::vector<Link*> Diagram::selectedLinks() const
{
    std::vector<Link*> out;
    for (const auto& l : m_links)
        if (l->m_selected)
            out.push_back(l.get());
    return out;
}

void Diagram::selectAll()
{
    for (const auto& n : m_nodes)
        n->m_selected = true;
    for (const auto& l : m_links)
        l->m_selected = true;
    emit selectionChanged();
}

void Diagram::clearSelection()
{
    for (const auto& n : m_nodes)
        n->m_selected = false;
    for (const auto& l : m_links)
        l->m_selected = false;
    emit selectionChanged();
}

void Diagram::removeDoomed()
{
    // Links of doomed nodes go with them.
    for (const auto& l : m_links)
        if (l->m_org->m_doomed || l->m_dst->m_doomed)
            l->m_doomed = true;
    bool any = false;
    for (const auto& l : m_links) {
        if (!l->m_doomed)
            continue;
        any = true;
        emit linkAboutToBeRemoved(l.get());
        for (Node* end : {l->m_org, l->m_dst}) {
            auto& out = end->m_outLinks;
            out.erase(std::remove(out.begin(), out.end(), l.get()), out.end());
            auto& in = end->m_inLinks;
            in.erase(std::remove(in.begin(), in.end(), l.get()), in.end());
        }
        if (m_currentLink == l.get())
            m_currentLink = nullptr;
    }
    for (const auto& n : m_nodes) {
        if (!n->m_doomed)
            continue;
        any = true;
        emit nodeAboutToBeRemoved(n.get());
        if (m_currentNode == n.get())
            m_currentNode = nullptr;
    }
    std::erase_if(m_links, [](const std::unique_ptr<Link>& l) { return l->m_doomed; });
    std::erase_if(m_nodes, [](const std::unique_ptr<Node>& n) { return n->m_doomed; });
    if (any)
        m_changed = true;
}

void Diagram::deleteNode(Node* n)
{
    if (!n)
        return;
    n->m_doomed = true;
    removeDoomed();
}

void Diagram::deleteLink(Link* l)
{
    if (!l)
        return;
    l->m_doomed = true;
    removeDoomed();
}

void Diagram::deleteSelected()
{
    for (const auto& n : m_nodes)
        n->m_doomed = n->m_selected;
    for (const auto& l : m_links)
        l->m_doomed = l->m_selected;
    removeDoomed();
}

void Diagram::deleteCurrent()
{
    if (m_currentNode)
        deleteNode(m_currentNode);
    else if (m_currentLink)
        deleteLink(m_currentLink);
}

void Diagram::clear()
{
    m_currentNode = nullptr;
    m_currentLink = nullptr;
    const bool any = !m_nodes.empty() || !m_links.empty();
    m_links.clear();
    m_nodes.clear();
    if (any)
        m_changed = true;
    emit contentReset();
}

void Diagram::setRedraw(bool v)
{
    if (m_redraw == v)
        return;
    m_redraw = v;
    emit redrawChanged(v);
}

void Diagram::setAutoRefresh(bool v)
{
    if (m_autoRefresh == v)
        return;
    m_autoRefresh = v;
    emit redrawChanged(m_redraw && v);
}

void Diagram::setReadOnly(bool v)
{
    m_readOnly = v;
    emit viewSettingsChanged();
}

void Diagram::setChanged(bool v) { m_changed = v; }

void Diagram::setDefaultDrawColor(quint32 v) { m_defaultDrawColor = v; }
void Diagram::setDefaultFillColor(quint32 v) { m_defaultFillColor = v; }
void Diagram::setDefaultForeColor(quint32 v) { m_defaultForeColor = v; }

void Diagram::setFont(const DiagramFont& f)
{
    bool differs = false;
    setIfDifferent(m_font, f, differs);
    if (differs) {
        m_changed = true;
        emit viewSettingsChanged();
    }
}

void Diagram::setShowGrid(bool v)
{
    m_showGrid = v;
    emit viewSettingsChanged();
}

void Diagram::setSnapToGrid(bool v)
{
    m_snapToGrid = v;
    emit viewSettingsChanged();
}

void Diagram::setGridSize(double v)
{
    if (v > 0)
        m_gridSize = v;
    emit viewSettingsChanged();
}

const TextMeasurer& Diagram::textMeasurer() const
{
    return m_measurer ? *m_measurer : *defaultMeasurer();
}

void Diagram::setDefaultTextMeasurer(std::shared_ptr<const TextMeasurer> m)
{
    if (m)
        defaultMeasurer() = std::move(m);
}

void Diagram::nodeTouched(Node* n)
{
    m_changed = true;
    emit nodeChanged(n);
}

void Diagram::linkTouched(Link* l)
{
    m_changed = true;
    emit linkChanged(l);
}

}  // namespace orvane
