#include "ScxmlImport.h"

#include "Diagram.h"
#include "MachineInfo.h"
#include "Paths.h"
#include "Records.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace orvane::ScxmlImport {

namespace {

const QString kScxml = QStringLiteral("http://www.w3.org/2005/07/scxml");
const QString kOrvane = QStringLiteral("http://orvane.org/scxml");
constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;
constexpr size_t kMaxDepth = 500;

// The document as a tree: what the interpretation below needs of it.
struct Element {
    QString ns, name;
    QXmlStreamAttributes attributes;
    QString text;  // the element's own character data
    std::vector<std::unique_ptr<Element>> children;

    bool is(const QString& space, const char* local) const
    {
        return ns == space && name == QLatin1String(local);
    }
    QString attribute(const char* local) const
    {
        return attributes.value(QString(), QLatin1String(local)).toString();
    }
    bool hasOrvane(const char* local) const
    {
        return attributes.hasAttribute(kOrvane, QLatin1String(local));
    }
    QString orvane(const char* local) const
    {
        return attributes.value(kOrvane, QLatin1String(local)).toString();
    }
    const Element* child(const QString& space, const char* local) const
    {
        for (const auto& c : children)
            if (c->is(space, local))
                return c.get();
        return nullptr;
    }
};

std::unique_ptr<Element> readTree(const QByteArray& bytes, QString* error)
{
    QXmlStreamReader xml(bytes);
    std::unique_ptr<Element> root;
    std::vector<Element*> open;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            // The interpretation recurses along the nesting: bound it.
            if (open.size() >= kMaxDepth) {
                *error = QStringLiteral("line %1: elements nested more than %2 deep")
                             .arg(xml.lineNumber())
                             .arg(kMaxDepth);
                return nullptr;
            }
            auto e = std::make_unique<Element>();
            e->ns = xml.namespaceUri().toString();
            e->name = xml.name().toString();
            e->attributes = xml.attributes();
            Element* raw = e.get();
            if (open.empty())
                root = std::move(e);
            else
                open.back()->children.push_back(std::move(e));
            open.push_back(raw);
            break;
        }
        case QXmlStreamReader::EndElement:
            open.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (!open.empty())
                open.back()->text += xml.text();
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("line %1, column %2: %3")
                     .arg(xml.lineNumber())
                     .arg(xml.columnNumber())
                     .arg(xml.errorString());
        return nullptr;
    }
    if (!root)
        *error = QStringLiteral("no element");
    return root;
}

struct Geometry {
    double left = 0, top = 0, width = 0, height = 0;
};

struct TransitionData {
    QString target;
    TransitionRecord record;
    std::optional<Geometry> geometry;
    std::vector<QPointF> bendsIn, bendsOut;  // of the lines to and from the label
};

struct MachineData;

struct StateData {
    QString id;
    StateRecord record;
    qint32 kind = NodeStateNormal;
    bool kindGiven = false;
    bool finalElement = false;
    std::optional<Geometry> geometry;
    std::vector<TransitionData> transitions;
    int otherLinks = 0;
    std::vector<std::unique_ptr<MachineData>> children;
};

struct RemarkData {
    QString text;
    std::optional<Geometry> geometry;
};

struct MachineData {
    MachineConfig config;
    bool configGiven = false;
    QString fileReference;  // "NAME.fsm" beside the parent, "/NAME.fsm" in its child folder
    QStringList initialIds;
    std::vector<std::unique_ptr<StateData>> states;
    std::vector<RemarkData> remarks;
};

class Reader {
public:
    QStringList warnings;

    std::unique_ptr<MachineData> readDocument(const Element& root)
    {
        auto machine = std::make_unique<MachineData>();
        machine->initialIds = root.attribute("initial").split(' ', Qt::SkipEmptyParts);
        warnForeignAttributes(root);
        readMachineContent(root, *machine, nullptr);
        if (!machine->configGiven)
            machine->config.name = root.attribute("name");
        return machine;
    }

private:
    QSet<QString> m_warned;

    void warn(const QString& what)
    {
        if (m_warned.contains(what))
            return;
        m_warned.insert(what);
        warnings.append(what + QStringLiteral(" is not imported"));
    }

    static QString qualified(const Element& e)
    {
        return e.ns.isEmpty() || e.ns == kScxml
                   ? QLatin1Char('<') + e.name + QLatin1Char('>')
                   : QLatin1Char('<') + e.name + QStringLiteral("> of ") + e.ns;
    }

    void warnForeignAttributes(const Element& e)
    {
        for (const QXmlStreamAttribute& a : e.attributes) {
            const QString ns = a.namespaceUri().toString();
            if (!ns.isEmpty() && ns != kOrvane && ns != kScxml)
                warn(QStringLiteral("attribute ") + a.name().toString() + QStringLiteral(" of ")
                     + ns);
        }
    }

    static std::optional<Geometry> geometryOf(const Element& e)
    {
        if (!e.hasOrvane("left") || !e.hasOrvane("top"))
            return std::nullopt;
        Geometry g;
        bool ok[4] = {};
        g.left = e.orvane("left").toDouble(&ok[0]);
        g.top = e.orvane("top").toDouble(&ok[1]);
        g.width = e.orvane("width").toDouble(&ok[2]);
        g.height = e.orvane("height").toDouble(&ok[3]);
        const auto sane = [](double v) { return std::abs(v) <= 1e9; };
        if (!(ok[0] && ok[1] && ok[2] && ok[3]) || !sane(g.left) || !sane(g.top) || !sane(g.width)
            || !sane(g.height) || g.width < 0 || g.height < 0)
            return std::nullopt;
        return g;
    }

    // Bend points written as "x,y x,y ..."; none when the text is missing
    // or not a list of sane coordinates.
    static std::vector<QPointF> bendsOf(const Element& e, const char* name)
    {
        std::vector<QPointF> points;
        const QStringList pairs = e.orvane(name).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& pair : pairs) {
            const QStringList xy = pair.split(QLatin1Char(','));
            bool okX = false, okY = false;
            const double x = xy.size() == 2 ? xy.at(0).toDouble(&okX) : 0;
            const double y = xy.size() == 2 ? xy.at(1).toDouble(&okY) : 0;
            if (!okX || !okY || std::abs(x) > 1e9 || std::abs(y) > 1e9)
                return {};
            points.emplace_back(x, y);
        }
        return points;
    }

    static QString rawRecord(const Element& e)
    {
        return QString::fromUtf8(QByteArray::fromBase64(e.orvane("record").toLatin1()));
    }

    // The scripts of an executable-content element, joined by CR LF.
    QString scripts(const Element& e)
    {
        QStringList texts;
        for (const auto& c : e.children) {
            if (c->is(kScxml, "script"))
                texts.append(c->text);
            else
                warn(qualified(*c));
        }
        return texts.join(QStringLiteral("\r\n"));
    }

    void readConfig(const Element& e, MachineData& m)
    {
        m.configGiven = true;
        m.fileReference = e.attribute("file");
        MachineConfig& c = m.config;
        const std::pair<const char*, QString*> fields[] = {
            {"signature", &c.signature},
            {"name", &c.name},
            {"init", &c.init},
            {"before", &c.before},
            {"options", &c.options},
            {"params", &c.params},
            {"after", &c.after},
            {"final", &c.finalActions},
            {"moduleHeader", &c.moduleHeader},
            {"functionHeader", &c.functionHeader},
            {"defaultAction", &c.defaultAction},
        };
        for (const auto& [name, field] : fields)
            if (const Element* f = e.child(kOrvane, name))
                *field = f->text;
        if (e.hasOrvane("record"))
            c = MachineConfig::fromText(rawRecord(e));
    }

    // The states, remarks and configuration directly inside `parent` (the
    // document or a compound state). In a compound state each configuration
    // element starts the next child diagram; states before the first one
    // form a child diagram named after the compound state.
    void readMachineContent(const Element& parent, MachineData& top, StateData* compound)
    {
        MachineData* current = compound ? nullptr : &top;
        const auto machineForState = [&]() -> MachineData& {
            if (!current) {
                compound->children.push_back(std::make_unique<MachineData>());
                current = compound->children.back().get();
                current->initialIds = parent.attribute("initial").split(' ', Qt::SkipEmptyParts);
                if (const Element* initial = parent.child(kScxml, "initial"))
                    if (const Element* t = initial->child(kScxml, "transition"))
                        current->initialIds = t->attribute("target").split(' ', Qt::SkipEmptyParts);
            }
            return *current;
        };
        for (const auto& c : parent.children) {
            const Element& e = *c;
            if (e.is(kScxml, "state") || e.is(kScxml, "final")) {
                MachineData& m = machineForState();
                m.states.push_back(readState(e));
            } else if (e.is(kOrvane, "machine")) {
                if (compound) {
                    compound->children.push_back(std::make_unique<MachineData>());
                    current = compound->children.back().get();
                    current->initialIds =
                        parent.attribute("initial").split(' ', Qt::SkipEmptyParts);
                }
                readConfig(e, *current);
            } else if (e.is(kOrvane, "remark")) {
                MachineData& m = machineForState();
                m.remarks.push_back({e.hasOrvane("record") ? rawRecord(e) : e.text, geometryOf(e)});
            } else if (compound) {
                // The compound state's own content was read by readState.
                if (e.ns == kScxml || e.ns == kOrvane)
                    continue;
                warn(qualified(e));
            } else if (e.is(kScxml, "initial")) {
                if (const Element* t = e.child(kScxml, "transition"))
                    top.initialIds = t->attribute("target").split(' ', Qt::SkipEmptyParts);
            } else {
                warn(qualified(e));
            }
        }
    }

    static qint32 kindFromName(const QString& name, bool* known)
    {
        *known = true;
        if (name == QLatin1String("initial"))
            return NodeStateInitial;
        if (name == QLatin1String("final"))
            return NodeStateFinal;
        if (name == QLatin1String("super"))
            return NodeStateSuper;
        *known = name == QLatin1String("normal");
        return NodeStateNormal;
    }

    std::unique_ptr<StateData> readState(const Element& e)
    {
        auto s = std::make_unique<StateData>();
        warnForeignAttributes(e);
        s->id = e.attribute("id");
        s->finalElement = e.is(kScxml, "final");
        s->geometry = geometryOf(e);
        StateRecord& r = s->record;
        r.name = e.hasOrvane("name") ? e.orvane("name") : s->id;
        r.index = e.orvane("index");
        r.isIn = e.hasOrvane("isIn") ? e.orvane("isIn") : QStringLiteral("N");
        r.goTo = e.hasOrvane("goTo") ? e.orvane("goTo") : QStringLiteral("N");
        if (e.hasOrvane("kind"))
            s->kind = kindFromName(e.orvane("kind"), &s->kindGiven);
        s->otherLinks = std::clamp(e.orvane("otherLinks").toInt(), 0, 10000);
        bool nested = false;
        for (const auto& c : e.children) {
            const Element& x = *c;
            if (x.is(kScxml, "onentry"))
                r.entry += scripts(x);
            else if (x.is(kScxml, "onexit"))
                r.exit += scripts(x);
            else if (x.is(kOrvane, "during"))
                r.during = x.text;
            else if (x.is(kOrvane, "else"))
                r.elseAction = x.text;
            else if (x.is(kScxml, "transition"))
                readTransition(x, *s);
            else if (x.is(kScxml, "state") || x.is(kScxml, "final") || x.is(kOrvane, "machine")
                     || x.is(kOrvane, "remark"))
                nested = true;
            else if (x.is(kScxml, "history") || x.is(kScxml, "initial"))
                continue;  // the child diagram's options and initial state say it
            else
                warn(qualified(x));
        }
        if (e.hasOrvane("record"))
            r = StateRecord::fromText(rawRecord(e));
        if (nested) {
            MachineData unused;  // a compound state's diagrams go into s->children
            readMachineContent(e, unused, s.get());
        }
        return s;
    }

    void readTransition(const Element& e, StateData& s)
    {
        warnForeignAttributes(e);
        const QStringList targets = e.attribute("target").split(' ', Qt::SkipEmptyParts);
        if (targets.isEmpty()) {
            warn(QStringLiteral("a transition without a target"));
            return;
        }
        if (targets.size() > 1)
            warn(QStringLiteral("a transition to more than one state"));
        if (!e.attribute("event").isEmpty())
            warn(QStringLiteral("the event of a transition"));
        TransitionData t;
        t.target = targets.first();
        TransitionRecord& r = t.record;
        r.priority = e.hasOrvane("priority") ? e.orvane("priority")
                                             : QString::number(s.transitions.size() + 1);
        r.condition = e.attribute("cond");
        r.action = scripts(e);
        r.selfFlag = e.hasOrvane("selfFlag")
                         ? e.orvane("selfFlag")
                         : (e.attribute("type") == QLatin1String("internal") ? QStringLiteral("N")
                                                                             : QStringLiteral("Y"));
        r.lastFlag = e.hasOrvane("lastFlag") ? e.orvane("lastFlag") : QStringLiteral("N");
        if (e.hasOrvane("record"))
            r = TransitionRecord::fromText(rawRecord(e));
        t.geometry = geometryOf(e);
        t.bendsIn = bendsOf(e, "bendsIn");
        t.bendsOut = bendsOf(e, "bendsOut");
        s.transitions.push_back(std::move(t));
    }
};

// ---------------------------------------------------------------- writing

constexpr double kStateWidth = 1500, kStateHeight = 900;
constexpr double kColumnStep = 3000, kRowStep = 1800, kMargin = 1000;

// Kinds and indices for a machine read from plain SCXML; positions for the
// states that have none: columns by distance from the initial state (the
// states it cannot reach after them), rows in document order.
void completeMachine(MachineData& m)
{
    const bool own = m.configGiven;
    QHash<QString, int> position;
    for (size_t i = 0; i < m.states.size(); ++i)
        position.insert(m.states[i]->id, int(i));
    for (size_t i = 0; i < m.states.size(); ++i) {
        StateData& s = *m.states[i];
        if (s.record.index.isEmpty())
            s.record.index = QString::number(i + 1);
        if (s.kindGiven)
            continue;
        const bool initial =
            m.initialIds.isEmpty() ? (!own && i == 0) : m.initialIds.contains(s.id);
        s.kind = initial ? NodeStateInitial : s.finalElement ? NodeStateFinal : NodeStateNormal;
    }
    std::vector<int> depth(m.states.size(), -1);
    std::vector<int> queue;
    for (size_t i = 0; i < m.states.size(); ++i)
        if (m.states[i]->kind == NodeStateInitial) {
            depth[i] = 0;
            queue.push_back(int(i));
        }
    for (size_t q = 0; q < queue.size(); ++q) {
        for (const TransitionData& t : m.states[size_t(queue[q])]->transitions) {
            const int j = position.value(t.target, -1);
            if (j >= 0 && depth[size_t(j)] < 0) {
                depth[size_t(j)] = depth[size_t(queue[q])] + 1;
                queue.push_back(j);
            }
        }
    }
    const int deepest = depth.empty() ? 0 : *std::max_element(depth.begin(), depth.end());
    std::map<int, int> rows;
    // Free space below the placed states, so that new ones never overlap.
    double top = kMargin;
    for (const auto& s : m.states)
        if (s->geometry)
            top = std::max(top, s->geometry->top + s->geometry->height + kRowStep - kStateHeight);
    for (size_t i = 0; i < m.states.size(); ++i) {
        StateData& s = *m.states[i];
        if (s.geometry)
            continue;
        const int column = depth[i] >= 0 ? depth[i] : deepest + 1;
        const int row = rows[column]++;
        s.geometry = Geometry{kMargin + column * kColumnStep, top + row * kRowStep, kStateWidth,
                              kStateHeight};
    }
    for (auto& s : m.states)
        for (auto& child : s->children)
            completeMachine(*child);
}

// A diagram's transitions lead to its own states only: one that leaves
// its compound state (or names no state) is named in a warning.
void warnLostTransitions(const MachineData& m, QStringList& warnings)
{
    QSet<QString> ids;
    for (const auto& s : m.states)
        ids.insert(s->id);
    for (const auto& s : m.states) {
        for (const TransitionData& t : s->transitions)
            if (!ids.contains(t.target))
                warnings.append(QStringLiteral("the transition from ") + s->id
                                + QStringLiteral(" to ") + t.target
                                + QStringLiteral(" leaves its diagram and is not imported"));
        for (const auto& child : s->children)
            warnLostTransitions(*child, warnings);
    }
}

QString safeFileName(const QString& name, const QString& fallback)
{
    QString n = name.trimmed();
    n.replace(QLatin1Char(' '), QLatin1Char('_'));
    if (n.isEmpty() || n.contains(QLatin1Char('/')) || n.contains(QChar(0))
        || n.startsWith(QLatin1Char('.')))
        return fallback;
    return n;
}

struct PlannedFile {
    QString path;
    const MachineData* machine = nullptr;
};

// Where each diagram of the tree goes, the top one first.
void planFiles(const MachineData& m, const QString& path, std::vector<PlannedFile>& out)
{
    out.push_back({path, &m});
    const QString childFolder = Paths::stripExtension(path);
    const QString siblingFolder = Paths::folderOf(path);
    for (const auto& s : m.states) {
        for (const auto& child : s->children) {
            QString reference = child->fileReference;
            const QString name =
                safeFileName(child->config.name.isEmpty() ? s->record.name : child->config.name,
                             QStringLiteral("Child"));
            QString target;
            if (reference.startsWith(QLatin1Char('/')) || reference.isEmpty())
                target = childFolder + QLatin1Char('/') + name + QStringLiteral(".fsm");
            else
                target = siblingFolder + QLatin1Char('/') + name + QStringLiteral(".fsm");
            planFiles(*child, target, out);
        }
    }
}

// The child's call in its compound state's during action, unless the state
// already calls it.
void addChildCalls(MachineData& m)
{
    for (auto& s : m.states) {
        for (auto& child : s->children) {
            if (child->config.name.isEmpty())
                child->config.name = s->record.name;
            const QString call = child->config.name + QLatin1Char('(');
            if (!s->record.during.contains(call) && !s->record.elseAction.contains(call)) {
                if (!s->record.during.isEmpty())
                    s->record.during += QStringLiteral("\r\n");
                s->record.during += child->config.name + QStringLiteral("();");
            }
            addChildCalls(*child);
        }
    }
}

bool writeDiagram(const MachineData& m, const QString& path, QString* error)
{
    Diagram d;
    d.setRedraw(false);
    QHash<QString, Node*> byId;
    std::vector<std::pair<const StateData*, Node*>> states;
    for (const auto& s : m.states) {
        const Geometry g = s->geometry.value_or(Geometry{});
        Node* n = d.addNode(g.left, g.top, g.width, g.height);
        n->setUserData(s->kind);
        n->setTag(s->record.toText());
        if (!byId.contains(s->id))
            byId.insert(s->id, n);
        states.emplace_back(s.get(), n);
    }
    for (const auto& [s, n] : states) {
        const QPointF from(n->left() + n->width() / 2, n->top() + n->height() / 2);
        int k = 0;
        for (const TransitionData& t : s->transitions) {
            Node* target = byId.value(t.target);
            if (!target)
                continue;
            Geometry g;
            if (t.geometry) {
                g = *t.geometry;
            } else {
                const QPointF to(target->left() + target->width() / 2,
                                 target->top() + target->height() / 2);
                g = Geometry{(from.x() + to.x()) / 2 - 75, (from.y() + to.y()) / 2 - 50 + 250 * k,
                             150, 100};
            }
            ++k;
            Node* tn = d.addNode(g.left, g.top, g.width, g.height);
            tn->setUserData(NodeTransition);
            tn->setTag(t.record.toText());
            Link* in = d.addLink(n, tn);
            in->setArrowDst(0);
            in->setExtraPoints(t.bendsIn);
            d.addLink(tn, target)->setExtraPoints(t.bendsOut);
        }
        // Out-links that lead to no state count for the generators too.
        for (int i = 0; i < s->otherLinks; ++i) {
            Node* tn = d.addNode(n->left() + n->width(), n->top() + 200 * i, 150, 100);
            tn->setUserData(NodeTransition);
            d.addLink(n, tn)->setArrowDst(0);
        }
    }
    for (const RemarkData& r : m.remarks) {
        const Geometry g = r.geometry.value_or(Geometry{kMargin, kMargin / 4, 3000, 500});
        Node* n = d.addNode(g.left, g.top, g.width, g.height);
        n->setUserData(NodeTextBox);
        n->setIsFsmItem(false);
        n->setText(r.text);
    }
    MachineConfig config = m.config;
    if (config.signature.isEmpty())
        config.signature = MachineInfo::kSignature;
    Node* info = d.addNode(0, 0, 100, 100);
    info->setIsFsmItem(false);
    info->setUserData(NodeInfo);
    info->setTag(config.toText());
    return d.saveFile(path, error);
}

}  // namespace

Result importFile(const QString& scxmlPath, const QString& outputFolder)
{
    Result result;
    QFile file(scxmlPath);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Cannot read \"") + scxmlPath + QStringLiteral("\": ")
                       + file.errorString();
        return result;
    }
    if (file.size() > kMaxFileSize) {
        result.error = QStringLiteral("Cannot read \"") + scxmlPath
                       + QStringLiteral("\": the file is larger than 256 MiB");
        return result;
    }
    QString problem;
    const std::unique_ptr<Element> root = readTree(file.readAll(), &problem);
    if (!root || !root->is(kScxml, "scxml")) {
        result.error = QStringLiteral("Cannot read \"") + scxmlPath + QStringLiteral("\": ")
                       + (root ? QStringLiteral("not an SCXML document") : problem);
        return result;
    }
    Reader reader;
    std::unique_ptr<MachineData> top = reader.readDocument(*root);
    result.warnings = reader.warnings;
    completeMachine(*top);
    addChildCalls(*top);
    warnLostTransitions(*top, result.warnings);
    if (top->config.name.isEmpty())
        top->config.name = Paths::baseName(scxmlPath);

    const QString folder =
        outputFolder.isEmpty() ? QFileInfo(scxmlPath).absolutePath() : outputFolder;
    const QString topPath = folder + QLatin1Char('/')
                            + safeFileName(top->config.name, Paths::baseName(scxmlPath))
                            + QStringLiteral(".fsm");
    std::vector<PlannedFile> plan;
    planFiles(*top, topPath, plan);
    // Nothing is replaced: a diagram of that name may hold the user's work.
    QSet<QString> seen;
    for (const PlannedFile& p : plan) {
        if (QFileInfo::exists(p.path) || seen.contains(p.path)) {
            result.error = QStringLiteral("Cannot import \"") + scxmlPath + QStringLiteral("\": \"")
                           + p.path + QStringLiteral("\" exists already");
            return result;
        }
        seen.insert(p.path);
    }
    for (const PlannedFile& p : plan) {
        QString error;
        if (!QDir().mkpath(Paths::folderOf(p.path)) || !writeDiagram(*p.machine, p.path, &error)) {
            result.error = error.isEmpty() ? QStringLiteral("Cannot make the folder of \"") + p.path
                                                 + QLatin1Char('"')
                                           : error;
            return result;
        }
        result.written.append(p.path);
    }
    result.ok = true;
    return result;
}

}  // namespace orvane::ScxmlImport
