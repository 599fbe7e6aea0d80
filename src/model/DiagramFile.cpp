// Reading and writing the .fsm diagram file: one JSON object, version 1.
// The reader checks the whole file before it touches the diagram; the writer
// emits a fixed member order and layout so that diagrams diff well.

#include "Diagram.h"

#include "JsonSlices.h"
#include "SafeFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace orvane {

namespace {

constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;
constexpr double kMaxGeometry = 1e9;

// ------------------------------------------------------------ reading

struct NodeData {
    double left = 0, top = 0, width = 0, height = 0;
    QString text, toolTip, tag;
    qint32 userData = 0;
    bool isFsmItem = true;
    int shape = 1, drawWidth = 1;
    quint32 drawColor = 0xFF0000, fillColor = 0xFFFFF0, foreColor = 0;
    DiagramFont font;
};

struct LinkData {
    int org = 0, dst = 0;  // indices into the node list
    quint32 drawColor = 0xFF0000;
    int drawStyle = 0, drawWidth = 1, arrowOrg = 0, arrowDst = 3;
    bool isFsmItem = true;
    std::vector<QPointF> extraPoints;
};

struct FileData {
    DiagramFont font;
    quint32 defaultDrawColor = 0xFF0000, defaultFillColor = 0xFFFFF0, defaultForeColor = 0;
    bool showGrid = false, snapToGrid = false;
    double gridSize = 120;
    std::vector<NodeData> nodes;
    std::vector<LinkData> links;
};

// Collects the first problem found; every getter returns a usable value.
class Checker {
public:
    QString problem;
    bool ok() const { return problem.isEmpty(); }
    void fail(const QString& what)
    {
        if (problem.isEmpty())
            problem = what;
    }

    bool has(const QJsonObject& o, const char* key) const { return o.contains(QLatin1String(key)); }

    double number(const QJsonObject& o, const char* key, const QString& where, bool required,
                  double def)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) {
            if (required)
                fail(QStringLiteral("%1: member \"%2\" is missing").arg(where, QLatin1String(key)));
            return def;
        }
        if (!v.isDouble()) {
            fail(
                QStringLiteral("%1: member \"%2\" is not a number").arg(where, QLatin1String(key)));
            return def;
        }
        const double d = v.toDouble();
        if (!std::isfinite(d)) {
            fail(QStringLiteral("%1: member \"%2\" is not finite").arg(where, QLatin1String(key)));
            return def;
        }
        return d;
    }

    double geometry(const QJsonObject& o, const char* key, const QString& where)
    {
        const double d = number(o, key, where, true, 0);
        if (std::fabs(d) > kMaxGeometry) {
            fail(
                QStringLiteral("%1: member \"%2\" is out of range").arg(where, QLatin1String(key)));
            return 0;
        }
        return d;
    }

    qint64 integer(const QJsonObject& o, const char* key, const QString& where, bool required,
                   qint64 def, qint64 lo, qint64 hi)
    {
        if (!has(o, key) && !required)
            return def;
        const double d = number(o, key, where, required, double(def));
        if (!ok())
            return def;
        if (d != std::floor(d) || d < double(lo) || d > double(hi)) {
            fail(QStringLiteral("%1: member \"%2\" is not an integer in range")
                     .arg(where, QLatin1String(key)));
            return def;
        }
        return qint64(d);
    }

    quint32 colour(const QJsonObject& o, const char* key, const QString& where, quint32 def)
    {
        return quint32(integer(o, key, where, false, def, -2147483648LL, 4294967295LL)
                       & 0xFFFFFFFF);
    }

    bool boolean(const QJsonObject& o, const char* key, const QString& where, bool def)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return def;
        if (!v.isBool()) {
            fail(QStringLiteral("%1: member \"%2\" is not a boolean")
                     .arg(where, QLatin1String(key)));
            return def;
        }
        return v.toBool();
    }

    QString string(const QJsonObject& o, const char* key, const QString& where)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return {};
        if (!v.isString()) {
            fail(
                QStringLiteral("%1: member \"%2\" is not a string").arg(where, QLatin1String(key)));
            return {};
        }
        return v.toString();
    }

    DiagramFont font(const QJsonObject& o, const char* key, const QString& where,
                     const DiagramFont& def)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return def;
        if (!v.isObject()) {
            fail(QStringLiteral("%1: member \"%2\" is not an object")
                     .arg(where, QLatin1String(key)));
            return def;
        }
        const QJsonObject f = v.toObject();
        const QString fw = where + QStringLiteral(" font");
        DiagramFont out = def;
        if (f.contains(QLatin1String("name")))
            out.name = string(f, "name", fw);
        out.size = number(f, "size", fw, false, def.size);
        if (out.size <= 0 || out.size > 10000) {
            fail(QStringLiteral("%1: member \"size\" is out of range").arg(fw));
            out.size = def.size;
        }
        out.bold = boolean(f, "bold", fw, def.bold);
        out.italic = boolean(f, "italic", fw, def.italic);
        out.underline = boolean(f, "underline", fw, def.underline);
        out.strikeout = boolean(f, "strikeout", fw, def.strikeout);
        return out;
    }
};

bool syntaxError(const JsonSlices::SyntaxError& e, QString& problem)
{
    problem = QStringLiteral("not valid JSON at offset %1 (%2)").arg(e.offset).arg(e.text);
    return false;
}

// The top-level members, parsed, except the node and link arrays, whose
// ranges are kept to be read one element at a time: parsed whole, a big
// diagram would take several times the size of its file.
struct TopLevel {
    QJsonObject members;
    std::optional<JsonSlices::Range> nodes, links;
};

bool readTopLevel(const QByteArray& bytes, TopLevel& top, QString& problem)
{
    using namespace JsonSlices;
    SyntaxError serr;
    std::vector<Member> members;
    switch (objectMembers(bytes, members, serr)) {
    case Outline::Invalid:
        return syntaxError(serr, problem);
    case Outline::NotAnObject: {
        QJsonParseError perr;
        QJsonDocument::fromJson(bytes, &perr);
        if (perr.error != QJsonParseError::NoError)
            return syntaxError({perr.offset, perr.errorString()}, problem);
        problem = QStringLiteral("not a JSON object");
        return false;
    }
    case Outline::Object:
        break;
    }
    for (const Member& m : members) {
        std::optional<Range>* array = m.name == QLatin1String("nodes")   ? &top.nodes
                                      : m.name == QLatin1String("links") ? &top.links
                                                                         : nullptr;
        QJsonValue value;
        // A repeated name: the last one counts, as in a parsed object; the
        // earlier array is still checked.
        if (array && *array) {
            if (!parse(bytes, **array, value, serr))
                return syntaxError(serr, problem);
            array->reset();
        }
        if (array && firstByte(bytes, m.value) == '[') {
            *array = m.value;
            top.members.remove(m.name);
            continue;
        }
        if (!parse(bytes, m.value, value, serr))
            return syntaxError(serr, problem);
        top.members.insert(m.name, value);
    }
    return true;
}

// The format and version members and the presence of the two arrays.
bool checkOutline(const TopLevel& outline, QString& problem)
{
    const QJsonObject& top = outline.members;
    if (top.value(QLatin1String("format")).toString() != QLatin1String("fsm-diagram")) {
        problem = QStringLiteral("not a diagram file (format is not \"fsm-diagram\")");
        return false;
    }
    const QJsonValue ver = top.value(QLatin1String("version"));
    if (!ver.isDouble() || ver.toDouble() != std::floor(ver.toDouble())) {
        problem = QStringLiteral("version missing or not an integer");
        return false;
    }
    if (ver.toDouble() > 1) {
        problem =
            QStringLiteral("version %1 is newer than this program reads (1)").arg(ver.toDouble());
        return false;
    }
    if (ver.toDouble() < 1) {
        problem = QStringLiteral("unknown version %1").arg(ver.toDouble());
        return false;
    }
    if (!outline.nodes) {
        problem = QStringLiteral("\"nodes\" missing or not an array");
        return false;
    }
    if (!outline.links) {
        problem = QStringLiteral("\"links\" missing or not an array");
        return false;
    }
    return true;
}

// The control-level members; false when "diagram" is there but no object.
bool readDiagramMembers(const QJsonObject& top, Checker& c, FileData& data, QString& problem)
{
    if (!top.contains(QLatin1String("diagram")))
        return true;
    if (!top.value(QLatin1String("diagram")).isObject()) {
        problem = QStringLiteral("\"diagram\" is not an object");
        return false;
    }
    const QJsonObject d = top.value(QLatin1String("diagram")).toObject();
    const QString w = QStringLiteral("diagram");
    data.font = c.font(d, "font", w, DiagramFont());
    data.defaultDrawColor = c.colour(d, "defaultDrawColor", w, 0xFF0000);
    data.defaultFillColor = c.colour(d, "defaultFillColor", w, 0xFFFFF0);
    data.defaultForeColor = c.colour(d, "defaultForeColor", w, 0);
    data.showGrid = c.boolean(d, "showGrid", w, false);
    data.snapToGrid = c.boolean(d, "snapToGrid", w, false);
    data.gridSize = c.number(d, "gridSize", w, false, 120);
    if (data.gridSize <= 0 || data.gridSize > kMaxGeometry)
        c.fail(QStringLiteral("diagram: member \"gridSize\" is out of range"));
    return true;
}

// The node index of each node id. This program writes the ids 1, 2, 3, ...
// in order; while they come that way no table is needed.
class IdIndex {
public:
    // False when `id` is already taken.
    bool add(qint64 id, int index)
    {
        if (m_table.empty() && id == qint64(index) + 1 && index == m_count) {
            ++m_count;
            return true;
        }
        for (; m_count > 0; --m_count)
            m_table.emplace(qint64(m_count), m_count - 1);
        return m_table.emplace(id, index).second;
    }
    // The index of node `id`, or -1.
    int find(qint64 id) const
    {
        if (id >= 1 && id <= m_count)
            return int(id - 1);
        const auto found = m_table.find(id);
        return found == m_table.end() ? -1 : found->second;
    }

private:
    int m_count = 0;  // ids 1..m_count are nodes 0..m_count-1
    std::unordered_map<qint64, int> m_table;
};

// Node number i (from 0); false, with the checker's problem set, when the
// reading must stop.
bool readNode(const QJsonValue& v, size_t i, Checker& c, IdIndex& idToIndex, FileData& data)
{
    const QString w = QStringLiteral("node %1").arg(i + 1);
    if (!v.isObject()) {
        c.fail(w + QStringLiteral(" is not an object"));
        return false;
    }
    const QJsonObject o = v.toObject();
    const qint64 id = c.integer(o, "id", w, true, 0, 1, 9007199254740991LL);
    if (!c.ok())
        return false;
    if (!idToIndex.add(id, int(i))) {
        c.fail(QStringLiteral("%1: id %2 is used by another node").arg(w).arg(id));
        return false;
    }
    NodeData n;
    n.left = c.geometry(o, "left", w);
    n.top = c.geometry(o, "top", w);
    n.width = c.geometry(o, "width", w);
    n.height = c.geometry(o, "height", w);
    n.text = c.string(o, "text", w);
    n.toolTip = c.string(o, "toolTip", w);
    n.tag = c.string(o, "tag", w);
    n.userData = qint32(c.integer(o, "userData", w, false, 0, -2147483648LL, 2147483647LL));
    n.isFsmItem = c.boolean(o, "isFsmItem", w, true);
    n.shape = int(c.integer(o, "shape", w, false, 1, -2147483648LL, 2147483647LL));
    n.drawWidth = int(c.integer(o, "drawWidth", w, false, 1, 0, 1000));
    n.drawColor = c.colour(o, "drawColor", w, 0xFF0000);
    n.fillColor = c.colour(o, "fillColor", w, 0xFFFFF0);
    n.foreColor = c.colour(o, "foreColor", w, 0);
    n.font = c.font(o, "font", w, data.font);
    data.nodes.push_back(std::move(n));
    return true;
}

// A link's bend points; false when one is not a pair of numbers in range.
bool readBends(const QJsonValue& pts, const QString& w, Checker& c, LinkData& l)
{
    if (pts.isUndefined())
        return true;
    if (!pts.isArray()) {
        c.fail(w + QStringLiteral(": member \"extraPoints\" is not an array"));
        return false;
    }
    for (const QJsonValue& p : pts.toArray()) {
        const QJsonArray xy = p.toArray();
        if (!p.isArray() || xy.size() != 2 || !xy.at(0).isDouble() || !xy.at(1).isDouble()
            || !std::isfinite(xy.at(0).toDouble()) || !std::isfinite(xy.at(1).toDouble())
            || std::fabs(xy.at(0).toDouble()) > kMaxGeometry
            || std::fabs(xy.at(1).toDouble()) > kMaxGeometry) {
            c.fail(w + QStringLiteral(": a bend point is not a pair of numbers in range"));
            return false;
        }
        l.extraPoints.emplace_back(xy.at(0).toDouble(), xy.at(1).toDouble());
    }
    return true;
}

// Link number i (from 0); false, with the checker's problem set, when the
// reading must stop.
bool readLink(const QJsonValue& v, size_t i, Checker& c, const IdIndex& idToIndex, FileData& data)
{
    const QString w = QStringLiteral("link %1").arg(i + 1);
    if (!v.isObject()) {
        c.fail(w + QStringLiteral(" is not an object"));
        return false;
    }
    const QJsonObject o = v.toObject();
    LinkData l;
    const qint64 org = c.integer(o, "org", w, true, 0, -9007199254740991LL, 9007199254740991LL);
    const qint64 dst = c.integer(o, "dst", w, true, 0, -9007199254740991LL, 9007199254740991LL);
    if (!c.ok())
        return false;
    const int io = idToIndex.find(org);
    const int id = idToIndex.find(dst);
    if (io < 0 || id < 0) {
        c.fail(QStringLiteral("%1: refers to node id %2, which does not exist")
                   .arg(w)
                   .arg(io < 0 ? org : dst));
        return false;
    }
    l.org = io;
    l.dst = id;
    l.drawColor = c.colour(o, "drawColor", w, 0xFF0000);
    l.drawStyle = int(c.integer(o, "drawStyle", w, false, 0, 0, 100));
    l.drawWidth = int(c.integer(o, "drawWidth", w, false, 1, 0, 1000));
    l.arrowOrg = int(c.integer(o, "arrowOrg", w, false, 0, 0, 100));
    l.arrowDst = int(c.integer(o, "arrowDst", w, false, 3, 0, 100));
    l.isFsmItem = c.boolean(o, "isFsmItem", w, true);
    if (!readBends(o.value(QLatin1String("extraPoints")), w, c, l))
        return false;
    data.links.push_back(std::move(l));
    return true;
}

// ------------------------------------------------------------ plain road
// Most nodes and links are written by this program: known members of the
// right kinds, in range, each once. They are read straight from the text
// with JsonSlices::PlainReader. Anything else (a problem, an unknown or
// repeated member, a value the plain reader leaves to Qt's parser) makes
// these readers give up, and the element goes through readNode/readLink,
// which decide and word every problem. So the plain road only ever accepts
// what the checked one accepts, with the same values.

using JsonSlices::PlainReader;

bool inRange(double d, qint64 lo, qint64 hi)
{
    return d == std::floor(d) && d >= double(lo) && d <= double(hi);
}

bool plainInteger(PlainReader& in, qint64 lo, qint64 hi, qint64& value)
{
    double d;
    if (!in.number(d) || !inRange(d, lo, hi))
        return false;
    value = qint64(d);
    return true;
}

template <typename T> bool plainInteger(PlainReader& in, qint64 lo, qint64 hi, T& value)
{
    qint64 n;
    if (!plainInteger(in, lo, hi, n))
        return false;
    value = T(n);
    return true;
}

bool plainColour(PlainReader& in, quint32& value)
{
    qint64 n;
    if (!plainInteger(in, -2147483648LL, 4294967295LL, n))
        return false;
    value = quint32(n & 0xFFFFFFFF);
    return true;
}

bool plainGeometry(PlainReader& in, double& value)
{
    return in.number(value) && std::fabs(value) <= kMaxGeometry;
}

// Marks member `bit` as seen; false when it was seen before.
bool firstTime(unsigned& seen, int bit)
{
    if (seen & (1u << bit))
        return false;
    seen |= 1u << bit;
    return true;
}

// Reads an object the plain way, handing each member's name to
// `readMember`, which reads the value and says whether it took it. False when
// the object is not plain or a member was not taken.
template <typename ReadMember> bool readPlainObject(PlainReader& in, ReadMember readMember)
{
    if (!in.enter('{'))
        return false;
    bool first = true;
    std::string_view name;
    while (true) {
        const PlainReader::Step step = in.nextMember(first, name);
        if (step == PlainReader::Step::End)
            return true;
        if (step == PlainReader::Step::Refused || !readMember(name))
            return false;
    }
}

// Reads an array the plain way, `readElement` reading each element. False
// when the array is not plain or an element was not taken.
template <typename ReadElement> bool readPlainArray(PlainReader& in, ReadElement readElement)
{
    if (!in.enter('['))
        return false;
    bool first = true;
    while (true) {
        const PlainReader::Step step = in.nextElement(first);
        if (step == PlainReader::Step::End)
            return true;
        if (step == PlainReader::Step::Refused || !readElement())
            return false;
    }
}

bool readPlainFont(PlainReader& in, DiagramFont& font)
{
    unsigned seen = 0;
    const bool read = readPlainObject(in, [&](std::string_view name) {
        if (name == "name")
            return firstTime(seen, 0) && in.string(font.name);
        if (name == "size")
            return firstTime(seen, 1) && in.number(font.size);
        if (name == "bold")
            return firstTime(seen, 2) && in.boolean(font.bold);
        if (name == "italic")
            return firstTime(seen, 3) && in.boolean(font.italic);
        if (name == "underline")
            return firstTime(seen, 4) && in.boolean(font.underline);
        if (name == "strikeout")
            return firstTime(seen, 5) && in.boolean(font.strikeout);
        return false;
    });
    return read && font.size > 0 && font.size <= 10000;
}

// Node `n` (its font preset to the diagram's) and its id, read the plain way.
bool readPlainNode(PlainReader& in, qint64& id, NodeData& n)
{
    unsigned seen = 0;
    const bool read = readPlainObject(in, [&](std::string_view name) {
        if (name == "id")
            return firstTime(seen, 0) && plainInteger(in, 1, 9007199254740991LL, id);
        if (name == "left")
            return firstTime(seen, 1) && plainGeometry(in, n.left);
        if (name == "top")
            return firstTime(seen, 2) && plainGeometry(in, n.top);
        if (name == "width")
            return firstTime(seen, 3) && plainGeometry(in, n.width);
        if (name == "height")
            return firstTime(seen, 4) && plainGeometry(in, n.height);
        if (name == "text")
            return firstTime(seen, 5) && in.string(n.text);
        if (name == "toolTip")
            return firstTime(seen, 6) && in.string(n.toolTip);
        if (name == "tag")
            return firstTime(seen, 7) && in.string(n.tag);
        if (name == "userData")
            return firstTime(seen, 8) && plainInteger(in, -2147483648LL, 2147483647LL, n.userData);
        if (name == "isFsmItem")
            return firstTime(seen, 9) && in.boolean(n.isFsmItem);
        if (name == "shape")
            return firstTime(seen, 10) && plainInteger(in, -2147483648LL, 2147483647LL, n.shape);
        if (name == "drawWidth")
            return firstTime(seen, 11) && plainInteger(in, 0, 1000, n.drawWidth);
        if (name == "drawColor")
            return firstTime(seen, 12) && plainColour(in, n.drawColor);
        if (name == "fillColor")
            return firstTime(seen, 13) && plainColour(in, n.fillColor);
        if (name == "foreColor")
            return firstTime(seen, 14) && plainColour(in, n.foreColor);
        if (name == "font")
            return firstTime(seen, 15) && readPlainFont(in, n.font);
        return false;
    });
    constexpr unsigned kRequired = 0x1F;  // id and the four geometry members
    return read && (seen & kRequired) == kRequired;
}

bool readPlainBends(PlainReader& in, std::vector<QPointF>& bends)
{
    return readPlainArray(in, [&] {
        bool first = true;
        double x, y;
        if (!in.enter('[') || in.nextElement(first) != PlainReader::Step::Item
            || !plainGeometry(in, x) || in.nextElement(first) != PlainReader::Step::Item
            || !plainGeometry(in, y) || in.nextElement(first) != PlainReader::Step::End)
            return false;
        bends.emplace_back(x, y);
        return true;
    });
}

// Link `l`, its ends found in `idToIndex`, read the plain way.
bool readPlainLink(PlainReader& in, const IdIndex& idToIndex, LinkData& l)
{
    unsigned seen = 0;
    qint64 org = 0, dst = 0;
    const bool read = readPlainObject(in, [&](std::string_view name) {
        if (name == "org")
            return firstTime(seen, 0)
                   && plainInteger(in, -9007199254740991LL, 9007199254740991LL, org);
        if (name == "dst")
            return firstTime(seen, 1)
                   && plainInteger(in, -9007199254740991LL, 9007199254740991LL, dst);
        if (name == "drawColor")
            return firstTime(seen, 2) && plainColour(in, l.drawColor);
        if (name == "drawStyle")
            return firstTime(seen, 3) && plainInteger(in, 0, 100, l.drawStyle);
        if (name == "drawWidth")
            return firstTime(seen, 4) && plainInteger(in, 0, 1000, l.drawWidth);
        if (name == "arrowOrg")
            return firstTime(seen, 5) && plainInteger(in, 0, 100, l.arrowOrg);
        if (name == "arrowDst")
            return firstTime(seen, 6) && plainInteger(in, 0, 100, l.arrowDst);
        if (name == "isFsmItem")
            return firstTime(seen, 7) && in.boolean(l.isFsmItem);
        if (name == "extraPoints")
            return firstTime(seen, 8) && readPlainBends(in, l.extraPoints);
        return false;
    });
    if (!read || (seen & 3u) != 3u)
        return false;
    l.org = idToIndex.find(org);
    l.dst = idToIndex.find(dst);
    if (l.org < 0 || l.dst < 0)
        return false;
    return true;
}

bool readPlainNode(const QByteArray& bytes, JsonSlices::Range range, qint64& id, NodeData& n)
{
    PlainReader in(bytes, range);
    return readPlainNode(in, id, n) && in.finished();
}

bool readPlainLink(const QByteArray& bytes, JsonSlices::Range range, const IdIndex& idToIndex,
                   LinkData& l)
{
    PlainReader in(bytes, range);
    return readPlainLink(in, idToIndex, l) && in.finished();
}

// The node and link arrays, read whole the plain way in one pass over the
// text. False when any element is not plain (or an id repeats): `data` then
// holds part of the arrays and the caller reads them again element by element.
bool readPlainArrays(const QByteArray& bytes, const TopLevel& outline, FileData& data)
{
    // Room for as many elements as the arrays hold when this program wrote
    // them (a node takes at least about 290 bytes of text, a link 130), so
    // that the vectors are not moved while they grow: moving touches fresh
    // memory, which is slow. Room that is never written costs nothing.
    data.nodes.reserve(size_t(outline.nodes->end - outline.nodes->begin) / 256 + 1);
    data.links.reserve(size_t(outline.links->end - outline.links->begin) / 96 + 1);
    IdIndex idToIndex;
    PlainReader nodes(bytes, *outline.nodes);
    int i = 0;
    const bool nodesRead = readPlainArray(nodes, [&] {
        NodeData n;
        n.font = data.font;
        qint64 id = 0;
        if (!readPlainNode(nodes, id, n) || !idToIndex.add(id, i++))
            return false;
        data.nodes.push_back(std::move(n));
        return true;
    });
    if (!nodesRead || !nodes.finished())
        return false;
    PlainReader links(bytes, *outline.links);
    const bool linksRead = readPlainArray(links, [&] {
        LinkData l;
        if (!readPlainLink(links, idToIndex, l))
            return false;
        data.links.push_back(std::move(l));
        return true;
    });
    return linksRead && links.finished();
}

bool parseFile(const QByteArray& bytes, FileData& data, QString& problem)
{
    TopLevel outline;
    if (!readTopLevel(bytes, outline, problem) || !checkOutline(outline, problem))
        return false;
    // A file this program wrote reads in one pass. When that pass gives up,
    // the arrays are outlined first, so that a syntax error in them is
    // reported before any problem of their elements, and then read element
    // by element.
    {
        Checker c;
        QString ignored;
        if (readDiagramMembers(outline.members, c, data, ignored) && c.ok()
            && readPlainArrays(bytes, outline, data))
            return true;
        data.nodes.clear();
        data.links.clear();
    }
    JsonSlices::SyntaxError serr;
    std::vector<JsonSlices::Range> nodes, links;
    if (!JsonSlices::arrayElements(bytes, *outline.nodes, nodes, serr)
        || !JsonSlices::arrayElements(bytes, *outline.links, links, serr))
        return syntaxError(serr, problem);

    Checker c;
    if (!readDiagramMembers(outline.members, c, data, problem))
        return false;
    // Each element parsed in turn; a syntax error in it ends the reading.
    IdIndex idToIndex;
    data.nodes.reserve(nodes.size());
    for (size_t i = 0; i < nodes.size() && c.ok(); ++i) {
        NodeData n;
        n.font = data.font;
        qint64 id = 0;
        if (readPlainNode(bytes, nodes[i], id, n) && idToIndex.add(id, int(i))) {
            data.nodes.push_back(std::move(n));
            continue;
        }
        QJsonValue v;
        if (!JsonSlices::parse(bytes, nodes[i], v, serr))
            return syntaxError(serr, problem);
        if (!readNode(v, i, c, idToIndex, data))
            break;
    }
    data.links.reserve(links.size());
    for (size_t i = 0; i < links.size() && c.ok(); ++i) {
        LinkData l;
        if (readPlainLink(bytes, links[i], idToIndex, l)) {
            data.links.push_back(std::move(l));
            continue;
        }
        QJsonValue v;
        if (!JsonSlices::parse(bytes, links[i], v, serr))
            return syntaxError(serr, problem);
        if (!readLink(v, i, c, idToIndex, data))
            break;
    }
    problem = c.problem;
    return c.ok();
}

// Reads up to `limit` bytes. Asking QIODevice::read for the whole limit at
// once would allocate all of it for any file, however small; the file's size
// (plus one byte, to see whether it grew) is read instead, then the rest
// in pieces while there is more.
bool readAtMost(QFile& f, qint64 limit, QByteArray& bytes)
{
    constexpr qint64 kPiece = 1 << 16;
    while (bytes.size() < limit) {
        const qint64 expected = std::max(f.size() - bytes.size() + 1, kPiece);
        const QByteArray piece = f.read(std::min(expected, limit - bytes.size()));
        if (piece.isEmpty())
            return f.error() == QFileDevice::NoError;
        if (bytes.isEmpty())
            bytes = piece;  // shared, not copied: a whole file is read once
        else
            bytes += piece;
    }
    return true;
}

// ------------------------------------------------------------ writing

void appendString(QByteArray& out, const QString& s)
{
    out += '"';
    const QByteArray utf8 = s.toUtf8();
    for (char ch : utf8) {
        const auto u = static_cast<unsigned char>(ch);
        switch (ch) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (u < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", u);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

void appendNumber(QByteArray& out, double v)
{
    if (v == std::floor(v) && std::fabs(v) < 1e15) {
        out += QByteArray::number(qint64(v));
        return;
    }
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, int(res.ptr - buf));
}

// The reader refuses geometry beyond the limit. A node can be pushed past
// it (re-centred after its text shrank, or fitted to a huge text), so it is
// stored at the limit: every saved diagram must load again.
void appendGeometry(QByteArray& out, double v)
{
    appendNumber(out, std::isfinite(v) ? std::clamp(v, -kMaxGeometry, kMaxGeometry) : 0.0);
}

void appendMember(QByteArray& out, const char* key, bool first = false)
{
    if (!first)
        out += ", ";
    out += '"';
    out += key;
    out += "\": ";
}

void appendBool(QByteArray& out, bool b) { out += b ? "true" : "false"; }

void appendFont(QByteArray& out, const DiagramFont& f)
{
    out += '{';
    appendMember(out, "name", true);
    appendString(out, f.name);
    appendMember(out, "size");
    appendNumber(out, f.size);
    appendMember(out, "bold");
    appendBool(out, f.bold);
    appendMember(out, "italic");
    appendBool(out, f.italic);
    appendMember(out, "underline");
    appendBool(out, f.underline);
    appendMember(out, "strikeout");
    appendBool(out, f.strikeout);
    out += '}';
}

// One node's members, from its id to its font, and the closing brace.
void appendNode(QByteArray& out, const Node& n, qint64 id)
{
    appendMember(out, "id", true);
    out += QByteArray::number(id);
    appendMember(out, "left");
    appendGeometry(out, n.left());
    appendMember(out, "top");
    appendGeometry(out, n.top());
    appendMember(out, "width");
    appendGeometry(out, n.width());
    appendMember(out, "height");
    appendGeometry(out, n.height());
    appendMember(out, "text");
    appendString(out, n.text());
    appendMember(out, "toolTip");
    appendString(out, n.toolTip());
    appendMember(out, "tag");
    appendString(out, n.tag());
    appendMember(out, "userData");
    out += QByteArray::number(n.userData());
    appendMember(out, "isFsmItem");
    appendBool(out, n.isFsmItem());
    appendMember(out, "shape");
    out += QByteArray::number(n.shape());
    appendMember(out, "drawWidth");
    out += QByteArray::number(n.drawWidth());
    appendMember(out, "drawColor");
    out += QByteArray::number(n.drawColor());
    appendMember(out, "fillColor");
    out += QByteArray::number(n.fillColor());
    appendMember(out, "foreColor");
    out += QByteArray::number(n.foreColor());
    appendMember(out, "font");
    appendFont(out, n.font());
    out += '}';
}

// One link's members, its ends named by the ids of the nodes written.
void appendLink(QByteArray& out, const Link& l, std::unordered_map<const Node*, qint64>& ids)
{
    appendMember(out, "org", true);
    out += QByteArray::number(ids[l.org()]);
    appendMember(out, "dst");
    out += QByteArray::number(ids[l.dst()]);
    appendMember(out, "drawColor");
    out += QByteArray::number(l.drawColor());
    appendMember(out, "drawStyle");
    out += QByteArray::number(l.drawStyle());
    appendMember(out, "drawWidth");
    out += QByteArray::number(l.drawWidth());
    appendMember(out, "arrowOrg");
    out += QByteArray::number(l.arrowOrg());
    appendMember(out, "arrowDst");
    out += QByteArray::number(l.arrowDst());
    appendMember(out, "isFsmItem");
    appendBool(out, l.isFsmItem());
    appendMember(out, "extraPoints");
    out += '[';
    const std::vector<QPointF>& bends = l.extraPoints();
    for (size_t p = 0; p < bends.size(); ++p) {
        out += p ? ", [" : "[";
        appendGeometry(out, bends[p].x());
        out += ", ";
        appendGeometry(out, bends[p].y());
        out += ']';
    }
    out += "]}";
}

}  // namespace

// Builds the diagram from checked data (friend of Diagram).
class DiagramFileReader {
public:
    static void apply(Diagram& d, FileData& data)
    {
        d.m_currentNode = nullptr;
        d.m_currentLink = nullptr;
        d.m_links.clear();
        d.m_nodes.clear();
        d.m_font = data.font;
        d.m_defaultDrawColor = data.defaultDrawColor;
        d.m_defaultFillColor = data.defaultFillColor;
        d.m_defaultForeColor = data.defaultForeColor;
        d.m_showGrid = data.showGrid;
        d.m_snapToGrid = data.snapToGrid;
        d.m_gridSize = data.gridSize;
        d.m_nodes.reserve(data.nodes.size());
        for (NodeData& nd : data.nodes)
            d.m_nodes.push_back(makeNode(d, nd, QPointF()));
        d.m_links.reserve(data.links.size());
        for (LinkData& ld : data.links)
            d.m_links.push_back(makeLink(d, ld, d.m_nodes[size_t(ld.org)].get(),
                                         d.m_nodes[size_t(ld.dst)].get(), QPointF()));
        d.m_changed = false;
        emit d.contentReset();
    }

    // Adds the items of `data`, moved by `offset`, after the existing ones
    // and makes them the selection. Diagram-wide settings are not taken.
    static void append(Diagram& d, FileData& data, QPointF offset)
    {
        d.clearSelection();
        std::vector<Node*> added;
        added.reserve(data.nodes.size());
        for (NodeData& nd : data.nodes) {
            auto n = makeNode(d, nd, offset);
            n->m_selected = true;
            added.push_back(n.get());
            d.m_nodes.push_back(std::move(n));
            d.m_changed = true;
            emit d.nodeAdded(added.back());
        }
        for (LinkData& ld : data.links) {
            auto l = makeLink(d, ld, added[size_t(ld.org)], added[size_t(ld.dst)], offset);
            l->m_selected = true;
            Link* raw = l.get();
            d.m_links.push_back(std::move(l));
            d.m_changed = true;
            emit d.linkAdded(raw);
        }
        emit d.selectionChanged();
    }

private:
    static std::unique_ptr<Node> makeNode(Diagram& d, NodeData& nd, QPointF offset)
    {
        auto n = std::unique_ptr<Node>(new Node(&d));
        n->m_left = nd.left + offset.x();
        n->m_top = nd.top + offset.y();
        n->m_width = nd.width;
        n->m_height = nd.height;
        n->m_text = std::move(nd.text);
        n->m_toolTip = std::move(nd.toolTip);
        n->m_tag = std::move(nd.tag);
        n->m_userData = nd.userData;
        n->m_isFsmItem = nd.isFsmItem;
        n->m_shape = nd.shape;
        n->m_drawWidth = nd.drawWidth;
        n->m_drawColor = nd.drawColor;
        n->m_fillColor = nd.fillColor;
        n->m_foreColor = nd.foreColor;
        n->m_font = std::move(nd.font);
        return n;
    }

    static std::unique_ptr<Link> makeLink(Diagram& d, LinkData& ld, Node* org, Node* dst,
                                          QPointF offset)
    {
        auto l = std::unique_ptr<Link>(new Link(&d, org, dst));
        l->m_drawColor = ld.drawColor;
        l->m_drawStyle = ld.drawStyle;
        l->m_drawWidth = ld.drawWidth;
        l->m_arrowOrg = ld.arrowOrg;
        l->m_arrowDst = ld.arrowDst;
        l->m_isFsmItem = ld.isFsmItem;
        l->m_extraPoints = std::move(ld.extraPoints);
        for (QPointF& p : l->m_extraPoints)
            p += offset;
        org->m_outLinks.push_back(l.get());
        dst->m_inLinks.push_back(l.get());
        return l;
    }
};

bool Diagram::loadFile(const QString& path, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("Cannot load \"%1\": %2").arg(path, why);
        return false;
    };
    QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return fail(QStringLiteral("no such file"));
    if (info.size() > kMaxFileSize)
        return fail(QStringLiteral("the file is larger than 256 MiB"));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return fail(f.errorString());
    QByteArray bytes;
    if (!readAtMost(f, kMaxFileSize + 1, bytes))
        return fail(f.errorString());
    if (bytes.size() > kMaxFileSize)
        return fail(QStringLiteral("the file is larger than 256 MiB"));
    FileData data;
    QString problem;
    if (!parseFile(bytes, data, problem))
        return fail(problem);
    DiagramFileReader::apply(*this, data);
    return true;
}

QByteArray Diagram::fileBytes(const std::vector<const Node*>& nodes,
                              const std::vector<const Link*>& links) const
{
    QByteArray out;
    out.reserve(256 + qsizetype(nodes.size()) * 256 + qsizetype(links.size()) * 64);
    out += "{\n  \"format\": \"fsm-diagram\",\n  \"version\": 1,\n  \"diagram\": {\n    \"font\": ";
    appendFont(out, m_font);
    out += ",\n    \"defaultDrawColor\": " + QByteArray::number(m_defaultDrawColor);
    out += ",\n    \"defaultFillColor\": " + QByteArray::number(m_defaultFillColor);
    out += ",\n    \"defaultForeColor\": " + QByteArray::number(m_defaultForeColor);
    out += ",\n    \"showGrid\": ";
    appendBool(out, m_showGrid);
    out += ",\n    \"snapToGrid\": ";
    appendBool(out, m_snapToGrid);
    out += ",\n    \"gridSize\": ";
    appendNumber(out, m_gridSize);
    out += "\n  },\n  \"nodes\": [";

    std::unordered_map<const Node*, qint64> ids;
    ids.reserve(nodes.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        ids.emplace(nodes[i], qint64(i + 1));
        out += i ? ",\n    {" : "\n    {";
        appendNode(out, *nodes[i], qint64(i + 1));
    }
    out += nodes.empty() ? "],\n  \"links\": [" : "\n  ],\n  \"links\": [";
    for (size_t i = 0; i < links.size(); ++i) {
        out += i ? ",\n    {" : "\n    {";
        appendLink(out, *links[i], ids);
    }
    out += links.empty() ? "]\n}\n" : "\n  ]\n}\n";

    return out;
}

bool Diagram::saveFile(const QString& path, QString* error) const
{
    std::vector<const Node*> nodes;
    nodes.reserve(m_nodes.size());
    for (const auto& n : m_nodes)
        nodes.push_back(n.get());
    std::vector<const Link*> links;
    links.reserve(m_links.size());
    for (const auto& l : m_links)
        links.push_back(l.get());
    const QByteArray out = fileBytes(nodes, links);

    const SafeFileWriter::WriteResult written = SafeFileWriter::writeFileSafely(path, out);
    if (!written.ok()) {
        if (error)
            *error = QStringLiteral("Cannot save \"%1\": %2").arg(path, written.reason);
        return false;
    }
    return true;
}

std::unique_ptr<Diagram> Diagram::fileCopy() const
{
    auto copy = std::make_unique<Diagram>();
    copy->m_font = m_font;
    copy->m_defaultDrawColor = m_defaultDrawColor;
    copy->m_defaultFillColor = m_defaultFillColor;
    copy->m_defaultForeColor = m_defaultForeColor;
    copy->m_showGrid = m_showGrid;
    copy->m_snapToGrid = m_snapToGrid;
    copy->m_gridSize = m_gridSize;
    copy->m_tag = m_tag;
    std::unordered_map<const Node*, Node*> nodes;
    nodes.reserve(m_nodes.size());
    copy->m_nodes.reserve(m_nodes.size());
    for (const auto& n : m_nodes) {
        // Texts share their storage with the original until either changes.
        auto c = std::unique_ptr<Node>(new Node(*n));
        c->m_diagram = copy.get();
        c->m_outLinks.clear();
        c->m_inLinks.clear();
        nodes.emplace(n.get(), c.get());
        copy->m_nodes.push_back(std::move(c));
    }
    copy->m_links.reserve(m_links.size());
    for (const auto& l : m_links) {
        auto c = std::unique_ptr<Link>(new Link(*l));
        c->m_diagram = copy.get();
        c->m_org = nodes.at(l->m_org);
        c->m_dst = nodes.at(l->m_dst);
        c->m_org->m_outLinks.push_back(c.get());
        c->m_dst->m_inLinks.push_back(c.get());
        copy->m_links.push_back(std::move(c));
    }
    copy->moveToThread(nullptr);
    return copy;
}

QByteArray Diagram::selectionData() const
{
    std::vector<const Node*> nodes;
    for (const auto& n : m_nodes)
        if (n->m_selected)
            nodes.push_back(n.get());
    if (nodes.empty())
        return {};
    // A link goes along only when both of its ends do.
    std::vector<const Link*> links;
    for (const auto& l : m_links)
        if (l->m_org->m_selected && l->m_dst->m_selected)
            links.push_back(l.get());
    return fileBytes(nodes, links);
}

bool Diagram::pasteData(const QByteArray& data, QPointF offset, QString* error)
{
    FileData parsed;
    QString problem;
    if (!parseFile(data, parsed, problem)) {
        if (error)
            *error = QStringLiteral("Cannot paste: %1").arg(problem);
        return false;
    }
    DiagramFileReader::append(*this, parsed, offset);
    return true;
}

}  // namespace orvane
