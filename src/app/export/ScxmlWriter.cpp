#include "ScxmlWriter.h"

#include "ChildDiagrams.h"
#include "FsmDocument.h"
#include "HtmlPage.h"
#include "MachineInfo.h"
#include "Messenger.h"
#include "Ranking.h"
#include "Records.h"
#include "States.h"

#include <QFileInfo>
#include <QSet>
#include <QXmlStreamWriter>

#include <map>
#include <memory>
#include <vector>

namespace orvane::ScxmlWriter {

namespace {

const QString& ns() { return kOrvaneNamespace; }

// True for characters XML 1.0 allows in a document.
bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF)
           || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The text with every character XML cannot hold (control characters, lone
// surrogates, U+FFFE and U+FFFF) replaced by U+FFFD; `changed` tells
// whether one was.
QString xmlText(const QString& text, bool* changed = nullptr)
{
    QString out;
    out.reserve(text.size());
    bool replaced = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c.isSurrogate() || !isXmlChar(c.unicode())) {
            out += QChar(0xFFFD);
            replaced = true;
        } else {
            out += c;
        }
    }
    if (changed)
        *changed = replaced;
    return out;
}

bool isXmlText(const QString& text)
{
    bool changed = false;
    xmlText(text, &changed);
    return !changed;
}

// Element text in which CR survives a parser's line-end normalisation.
void writeText(QXmlStreamWriter& xml, const QString& text)
{
    const QStringList parts = xmlText(text).split(QLatin1Char('\r'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            xml.writeEntityReference(QStringLiteral("#13"));
        if (!parts.at(i).isEmpty())
            xml.writeCharacters(parts.at(i));
    }
}

// <name>text</name> in the Orvane namespace, left out when the text is empty.
void writeOrvaneText(QXmlStreamWriter& xml, const char* name, const QString& text)
{
    if (text.isEmpty())
        return;
    xml.writeStartElement(ns(), QString::fromLatin1(name));
    writeText(xml, text);
    xml.writeEndElement();
}

// <script>text</script> inside an executable-content element.
void writeScript(QXmlStreamWriter& xml, const QString& text)
{
    xml.writeStartElement(QStringLiteral("script"));
    writeText(xml, text);
    xml.writeEndElement();
}

QString number(double v) { return QString::number(v, 'g', 17); }

void writeGeometry(QXmlStreamWriter& xml, const Node* node)
{
    xml.writeAttribute(ns(), QStringLiteral("left"), number(node->left()));
    xml.writeAttribute(ns(), QStringLiteral("top"), number(node->top()));
    xml.writeAttribute(ns(), QStringLiteral("width"), number(node->width()));
    xml.writeAttribute(ns(), QStringLiteral("height"), number(node->height()));
}

// The bend points of a link as "x,y x,y ...", left out when it has none.
void writeBends(QXmlStreamWriter& xml, const char* name, const Link* link)
{
    if (!link || link->extraPoints().empty())
        return;
    QStringList points;
    for (const QPointF& p : link->extraPoints())
        points << number(p.x()) + QLatin1Char(',') + number(p.y());
    xml.writeAttribute(ns(), QString::fromLatin1(name), points.join(QLatin1Char(' ')));
}

// A record whose texts XML cannot hold is also kept whole, base64 encoded.
void writeRawRecord(QXmlStreamWriter& xml, const QString& recordText)
{
    if (!isXmlText(recordText))
        xml.writeAttribute(ns(), QStringLiteral("record"),
                           QString::fromLatin1(recordText.toUtf8().toBase64()));
}

// An XML name (NCName) made from a state's name: characters a name cannot
// hold become "_", a name that cannot start one gets a leading "_".
QString ncName(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        const bool letter = c.isLetter() || c == QLatin1Char('_');
        const bool other = c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('.');
        out += (letter || (other && !out.isEmpty())) && c.unicode() < 0xD800 ? c : QLatin1Char('_');
    }
    if (out.isEmpty() || !(out.at(0).isLetter() || out.at(0) == QLatin1Char('_')))
        out.prepend(QLatin1Char('_'));
    return out;
}

// An XML name token: characters a token cannot hold become "_".
QString nmToken(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        const bool kept = c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-')
                          || c == QLatin1Char('.') || c == QLatin1Char(':');
        out += kept && c.unicode() < 0xD800 ? c : QLatin1Char('_');
    }
    return out;
}

// One diagram of the tree, opened for the export.
struct Machine {
    const FsmDocument* doc = nullptr;
    std::unique_ptr<FsmDocument> owned;  // children are loaded here
    QString reference;                   // as the parent's call found it; empty for the top
};

class Exporter {
public:
    Exporter(QXmlStreamWriter& xml, Messenger& messenger) : m_xml(xml), m_messenger(messenger) {}

    void writeDocument(const FsmDocument& top)
    {
        m_visited.insert(canonical(top.filePath));
        const Diagram& d = top.diagram();
        assignIds(d, QString());
        m_xml.writeStartElement(kScxmlNamespace, QStringLiteral("scxml"));
        m_xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
        const MachineConfig config = configOf(top);
        // The name is an XML name token; the machine element keeps it as written.
        if (!config.name.isEmpty())
            m_xml.writeAttribute(QStringLiteral("name"), nmToken(config.name));
        writeInitial(d);
        writeMachineBody(top, QString(), config);
        m_xml.writeEndElement();
    }

private:
    static QString canonical(const QString& path)
    {
        const QString c = QFileInfo(path).canonicalFilePath();
        return c.isEmpty() ? path : c;
    }

    // The configuration record as the document holds it. Its options string
    // stays as read (the list file prints it) unless the document's options
    // have changed since; then it is the one a save would store.
    static MachineConfig configOf(const FsmDocument& doc)
    {
        MachineConfig config = machineConfig(doc.diagram());
        FsmDocument probe;
        probe.diagram().setTag(config.toText());
        probe.readConfig({});
        const QString current = MachineInfo::optionsString(doc);
        if (MachineInfo::optionsString(probe) != current)
            config.options = current;
        return config;
    }

    void assignIds(const Diagram& d, const QString& prefix)
    {
        for (const auto& n : d.nodes()) {
            if (!States::isStateNode(n.get()))
                continue;
            const QString name = stateRecord(n.get()).name;
            QString id = ncName(prefix + name);
            if (m_usedIds.contains(id)) {
                int suffix = 2;
                while (m_usedIds.contains(id + QLatin1Char('_') + QString::number(suffix)))
                    ++suffix;
                id += QLatin1Char('_') + QString::number(suffix);
            }
            m_usedIds.insert(id);
            m_ids[n.get()] = id;
        }
    }

    // The first initial state of the diagram as the `initial` attribute.
    void writeInitial(const Diagram& d)
    {
        for (const auto& n : d.nodes()) {
            if (States::isInitialNode(n.get())) {
                m_xml.writeAttribute(QStringLiteral("initial"), m_ids[n.get()]);
                return;
            }
        }
    }

    void writeMachineElement(const MachineConfig& c, const QString& reference)
    {
        m_xml.writeStartElement(ns(), QStringLiteral("machine"));
        if (!reference.isEmpty())
            m_xml.writeAttribute(QStringLiteral("file"), xmlText(reference));
        writeRawRecord(m_xml, c.toText());
        writeOrvaneText(m_xml, "signature", c.signature);
        writeOrvaneText(m_xml, "name", c.name);
        writeOrvaneText(m_xml, "init", c.init);
        writeOrvaneText(m_xml, "before", c.before);
        writeOrvaneText(m_xml, "options", c.options);
        writeOrvaneText(m_xml, "params", c.params);
        writeOrvaneText(m_xml, "after", c.after);
        writeOrvaneText(m_xml, "final", c.finalActions);
        writeOrvaneText(m_xml, "moduleHeader", c.moduleHeader);
        writeOrvaneText(m_xml, "functionHeader", c.functionHeader);
        writeOrvaneText(m_xml, "defaultAction", c.defaultAction);
        m_xml.writeEndElement();
    }

    // The machine element, the states in diagram order, then the remarks.
    void writeMachineBody(const FsmDocument& doc, const QString& reference,
                          const MachineConfig& config)
    {
        writeMachineElement(config, reference);
        const Diagram& d = doc.diagram();
        for (const auto& n : d.nodes())
            if (States::isStateNode(n.get()))
                writeState(doc, n.get());
        for (const auto& n : d.nodes()) {
            if (!States::isTextBox(n.get()))
                continue;
            m_xml.writeStartElement(ns(), QStringLiteral("remark"));
            writeGeometry(m_xml, n.get());
            writeRawRecord(m_xml, n->text());
            writeText(m_xml, n->text());
            m_xml.writeEndElement();
        }
    }

    static const char* kindName(qint32 kind)
    {
        switch (kind & NodeAnyState) {
        case NodeStateInitial:
            return "initial";
        case NodeStateFinal:
            return "final";
        case NodeStateSuper:
            return "super";
        default:
            return "normal";
        }
    }

    void writeState(const FsmDocument& doc, const Node* node)
    {
        const StateRecord r = stateRecord(node);
        const std::vector<Node*> transitions = Ranking::transitionsByRank(node);
        const int deadLinks = int(node->outLinks().size()) - int(transitions.size());
        const bool finalElement = States::isFinalNode(node) && node->outLinks().empty();
        std::vector<std::unique_ptr<Machine>> children = childrenOf(doc, r);

        m_xml.writeStartElement(finalElement ? QStringLiteral("final") : QStringLiteral("state"));
        const QString& id = m_ids[node];
        m_xml.writeAttribute(QStringLiteral("id"), id);
        if (id != r.name)
            m_xml.writeAttribute(ns(), QStringLiteral("name"), xmlText(r.name));
        m_xml.writeAttribute(ns(), QStringLiteral("kind"),
                             QString::fromLatin1(kindName(node->userData())));
        m_xml.writeAttribute(ns(), QStringLiteral("index"), xmlText(r.index));
        if (!r.isIn.isEmpty())
            m_xml.writeAttribute(ns(), QStringLiteral("isIn"), xmlText(r.isIn));
        if (!r.goTo.isEmpty())
            m_xml.writeAttribute(ns(), QStringLiteral("goTo"), xmlText(r.goTo));
        if (deadLinks > 0)
            m_xml.writeAttribute(ns(), QStringLiteral("otherLinks"), QString::number(deadLinks));
        writeGeometry(m_xml, node);
        writeRawRecord(m_xml, r.toText());
        for (const auto& child : children)
            assignIds(child->doc->diagram(), ncName(configOf(*child->doc).name) + QLatin1Char('.'));
        if (!children.empty())
            writeInitial(children.front()->doc->diagram());

        if (!r.entry.isEmpty()) {
            m_xml.writeStartElement(QStringLiteral("onentry"));
            writeScript(m_xml, r.entry);
            m_xml.writeEndElement();
        }
        if (!r.exit.isEmpty()) {
            m_xml.writeStartElement(QStringLiteral("onexit"));
            writeScript(m_xml, r.exit);
            m_xml.writeEndElement();
        }
        writeOrvaneText(m_xml, "during", r.during);
        writeOrvaneText(m_xml, "else", r.elseAction);
        for (const Node* t : transitions)
            writeTransition(node, t);
        for (const auto& child : children) {
            const MachineConfig config = configOf(*child->doc);
            writeMachineBody(*child->doc, child->reference, config);
            if (child->doc->historyMachine && child == children.front())
                writeHistory(child->doc->diagram(), id);
        }
        m_xml.writeEndElement();
    }

    void writeHistory(const Diagram& d, const QString& parentId)
    {
        for (const auto& n : d.nodes()) {
            if (!States::isInitialNode(n.get()))
                continue;
            QString id = parentId + QStringLiteral(".History");
            while (m_usedIds.contains(id))
                id += QLatin1Char('_');
            m_usedIds.insert(id);
            m_xml.writeStartElement(QStringLiteral("history"));
            m_xml.writeAttribute(QStringLiteral("id"), id);
            m_xml.writeAttribute(QStringLiteral("type"), QStringLiteral("deep"));
            m_xml.writeStartElement(QStringLiteral("transition"));
            m_xml.writeAttribute(QStringLiteral("target"), m_ids[n.get()]);
            m_xml.writeEndElement();
            m_xml.writeEndElement();
            return;
        }
    }

    void writeTransition(const Node* source, const Node* node)
    {
        const TransitionRecord r = transitionRecord(node);
        const Node* target = Ranking::transitionTarget(node);
        m_xml.writeStartElement(QStringLiteral("transition"));
        m_xml.writeAttribute(QStringLiteral("target"), m_ids[target]);
        if (!r.condition.isEmpty())
            m_xml.writeAttribute(QStringLiteral("cond"), xmlText(r.condition));
        if (target == source && r.selfFlag == QLatin1String("N"))
            m_xml.writeAttribute(QStringLiteral("type"), QStringLiteral("internal"));
        m_xml.writeAttribute(ns(), QStringLiteral("priority"), xmlText(r.priority));
        if (!r.selfFlag.isEmpty())
            m_xml.writeAttribute(ns(), QStringLiteral("selfFlag"), xmlText(r.selfFlag));
        if (!r.lastFlag.isEmpty())
            m_xml.writeAttribute(ns(), QStringLiteral("lastFlag"), xmlText(r.lastFlag));
        writeGeometry(m_xml, node);
        // The bends of the line from the state to the label and on to the target.
        for (const Link* in : node->inLinks())
            if (in->org() == source)
                writeBends(m_xml, "bendsIn", in);
        for (const Link* out : node->outLinks())
            if (out->dst() == target)
                writeBends(m_xml, "bendsOut", out);
        writeRawRecord(m_xml, r.toText());
        if (!r.action.isEmpty())
            writeScript(m_xml, r.action);
        m_xml.writeEndElement();
    }

    // The child diagrams the state calls that this export has not written
    // yet, opened from their files.
    std::vector<std::unique_ptr<Machine>> childrenOf(const FsmDocument& doc, const StateRecord& r)
    {
        std::vector<std::unique_ptr<Machine>> out;
        if (doc.filePath.isEmpty())
            return out;
        ChildDiagrams references;
        references.reset(doc.filePath);
        references.scanText(r.during);
        references.scanText(r.elseAction);
        for (const QString& reference : references.children()) {
            const QString path = references.fullPath(reference);
            const QString key = canonical(path);
            if (m_visited.contains(key))
                continue;
            m_visited.insert(key);
            auto machine = std::make_unique<Machine>();
            machine->owned = std::make_unique<FsmDocument>();
            machine->reference = reference;
            QString error;
            if (!machine->owned->diagram().loadFile(path, &error)
                || !machine->owned->afterLoad({}, m_messenger)) {
                m_messenger.message(QStringLiteral("The SCXML document leaves out ") + path
                                        + QStringLiteral(": ") + error,
                                    MessageIcon::Exclamation);
                continue;
            }
            machine->owned->filePath = path;
            machine->doc = machine->owned.get();
            out.push_back(std::move(machine));
        }
        return out;
    }

    QXmlStreamWriter& m_xml;
    Messenger& m_messenger;
    std::map<const Node*, QString> m_ids;
    QSet<QString> m_usedIds;
    QSet<QString> m_visited;
};

}  // namespace

QByteArray toScxml(const FsmDocument& doc, Messenger& messenger)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kScxmlNamespace);
    xml.writeNamespace(kOrvaneNamespace, QStringLiteral("orvane"));
    Exporter(xml, messenger).writeDocument(doc);
    xml.writeEndDocument();
    return bytes + '\n';
}

bool fileSaveAsScxml(FsmDocument& doc, const QString& path, Messenger& messenger)
{
    return HtmlPage::writeExportFile(QStringLiteral("FileSaveAsSCXML"), path,
                                     toScxml(doc, messenger), messenger);
}

}  // namespace orvane::ScxmlWriter
