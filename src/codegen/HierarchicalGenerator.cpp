#include "HierarchicalGenerator.h"

#include "CodeSections.h"
#include "FsmDocument.h"
#include "HierarchicalPieces.h"
#include "Messenger.h"
#include "ChildDiagrams.h"
#include "MachineInfo.h"
#include "CodeText.h"

#include <QHash>

namespace orvane::HierarchicalGenerator {

using namespace codegen;
using namespace CodeText;

namespace {

// The pieces of a whole subtree, each child's under its heading.
struct TreePieces {
    QString initialization, automatic, prototypes, dispatcher, ending, header, entryFlags;
};

// A diagram already in the module, found again by its FSM name.
struct Generated {
    const FsmDocument* doc = nullptr;
    bool isTop = false;
    QString prefix;
    DiagramPieces pieces;
};

class Walker {
public:
    Walker(const FsmDocument& top, ChildDocumentSource& source, Messenger& messenger)
        : m_top(top), m_source(source), m_messenger(messenger)
    {
    }

    // Generates the diagram and, depth first, every child not generated
    // before. False at the first diagram that refused.
    bool walk(const FsmDocument& doc, bool isTop, const QString& prefix, TreePieces& out)
    {
        DiagramPieces own;
        if (!generateDiagramPieces(doc.diagram(), doc.filePath, optionsOf(doc), isTop, prefix,
                                   m_source, m_messenger, own))
            return false;
        // Known before the children are walked, so that a child calling an
        // ancestor ends there.
        m_generated.insert(own.name, Generated{&doc, isTop, prefix, own});
        takeOwnPieces(doc, isTop, own, out);

        ChildDiagrams references([this](const QString& path) { return m_source.exists(path); });
        references.reset(doc.filePath);
        references.scanDiagram(doc.diagram());
        const QStringList& children = references.children();
        for (qsizetype i = 0; i < children.size(); ++i) {
            const QString path = references.fullPath(children.at(i));
            QString error;
            const FsmDocument* child = m_source.openChild(path, &error);
            if (!child) {
                QString text = kMsgChildNotOpened + u'[' + path + u']';
                if (!error.isEmpty())
                    text += kCrLf + error;
                m_messenger.message(text);
                return false;
            }
            bool skip = false;
            if (!checkNotGenerated(*child, skip))
                return false;
            if (skip)
                continue;
            TreePieces sub;
            // Children are numbered from 1 in their parent's prefix.
            if (!walk(*child, false, prefix + u'_' + QString::number(i + 1), sub))
                return false;
            appendChild(out, sub);
        }
        return true;
    }

private:
    HierarchicalOptions optionsOf(const FsmDocument& doc) const
    {
        HierarchicalOptions o;
        o.initFunction = doc.generateInitFunction;
        o.finalTest = doc.generateEndFunction;
        o.history = doc.historyMachine;
        o.useMacros = doc.useMacros;
        o.debugInfo = m_top.debugInfo;
        o.printRemarks = m_top.remarksInCode;
        o.bitFields = m_top.useBitFields;
        return o;
    }

    static void takeOwnPieces(const FsmDocument& doc, bool isTop, const DiagramPieces& own,
                              TreePieces& out)
    {
        if (isTop) {
            out.initialization = own.initialization;
            out.automatic = own.automatic;
            out.dispatcher = own.debugMacros + own.dispatcher;
            if (!own.ending.isEmpty())
                out.ending = kCrLf + own.ending;
            out.header = own.header;
        } else {
            // The parent completes the heading with "// [Child:".
            const QString heading = doc.caption + u']' + kCrLf;
            out.initialization = heading + own.initialization;
            out.automatic = heading + own.automatic;
            out.dispatcher = heading + own.debugMacros + own.dispatcher;
            if (!own.ending.isEmpty())
                out.ending = heading + own.ending;
            out.header = heading + own.header;
            out.prototypes = own.prototype + kCrLf;
        }
        out.entryFlags = own.entryFlag;
    }

    static void appendChild(TreePieces& out, const TreePieces& child)
    {
        const QString head = kCrLf + QStringLiteral("// [Child:");
        out.header += head + u' ' + child.header;
        out.initialization += head + indentText(child.initialization, 2, true);
        out.automatic += head + indentText(child.automatic, 2, true);
        out.dispatcher += head + indentText(child.dispatcher, 2, true);
        out.prototypes += child.prototypes;
        out.entryFlags += child.entryFlags;
        if (!child.ending.isEmpty())
            out.ending += head + indentText(child.ending, 2, true);
    }

    // A child whose FSM name is in the module already is skipped: it is the
    // same diagram reached again (from a second parent, or calling an
    // ancestor). A different diagram under that name would be left out, or
    // clash with the function of that name: that refuses the generation,
    // unless it is a copy that generates the very same text.
    bool checkNotGenerated(const FsmDocument& child, bool& skip)
    {
        skip = false;
        const QString name = machineConfig(child.diagram()).name;
        const auto it = m_generated.constFind(name);
        if (it == m_generated.constEnd())
            return true;
        skip = true;
        const Generated& first = it.value();
        if (first.doc == &child)
            return true;
        DiagramPieces again;
        if (!generateDiagramPieces(child.diagram(), child.filePath, optionsOf(child), first.isTop,
                                   first.prefix, m_source, m_messenger, again))
            return false;
        if (again == first.pieces)
            return true;
        m_messenger.message(kMsgNameClash + u'[' + name + u']' + kCrLf + first.doc->filePath + kCrLf
                            + child.filePath);
        return false;
    }

    const FsmDocument& m_top;
    ChildDocumentSource& m_source;
    Messenger& m_messenger;
    QHash<QString, Generated> m_generated;
};

// The entry flags of the whole tree, as one structure of one-bit members
// when bit fields are used.
QString entryFlagsText(const QString& lines, bool bitFields)
{
    if (!bitFields || lines.isEmpty())
        return lines;
    QString out;
    line(out, QStringLiteral("#ifndef T_bit"));
    line(out, 4, QStringLiteral("#define T_bit unsigned char"));
    line(out, QStringLiteral("#endif"));
    line(out, QString());
    line(out, QStringLiteral("typedef struct {"));
    out += lines;
    line(out, QStringLiteral("} T_EntryFsmFlg;"));
    line(out, QStringLiteral("static T_EntryFsmFlg entryFsm;"));
    return out;
}

// A section frame: PLUS, "// " + title + " (Start).", DASH.
void sectionStart(QString& out, const QString& title)
{
    out += plusLine();
    line(out, QStringLiteral("// ") + title + QStringLiteral(" (Start)."));
    out += dashLine();
}

void sectionEnd(QString& out, const QString& title)
{
    out += dashLine();
    line(out, QStringLiteral("// ") + title + QStringLiteral(" (End)."));
    out += plusLine();
}

QString codeText(const TreePieces& tree, bool bitFields)
{
    QString code = tree.initialization;
    code += kCrLf;
    sectionEnd(code, QStringLiteral("Initialization proposed by the user"));
    line(code, QString());
    sectionStart(code, QStringLiteral("Entry flags"));
    code += indentText(trimLastLineBreak(entryFlagsText(tree.entryFlags, bitFields)), 2, true);
    code += kCrLf;
    sectionEnd(code, QStringLiteral("Entry flags"));
    line(code, QString());
    sectionStart(code, QStringLiteral("Automatic initialization"));
    code += trimTrailingBlanks(tree.automatic);
    sectionEnd(code, QStringLiteral("Automatic initialization"));
    line(code, QString());
    sectionStart(code, QStringLiteral("Local child functions "));
    code += indentText(trimLastLineBreak(tree.prototypes), 2, true);
    code += kCrLf;
    sectionEnd(code, QStringLiteral("Local child functions "));
    code += tree.dispatcher;
    code += kCrLf;
    sectionStart(code, QStringLiteral("Ending code proposed by the user"));
    code += tree.ending;
    code += kCrLf;
    sectionEnd(code, QStringLiteral("Ending code proposed by the user"));
    closingBanner(code);
    return code;
}

// The comment conversion has always seen the module as one text, the header
// starting on the line after the code behind a "· ·" mark and another mark
// after it; the marks are dropped again after the conversion. The header's
// first line keeps the widths that conversion gave it (the mark counted).
GeneratedCode convertedToAnsiComments(const QString& code, const QString& header)
{
    const QString mark = QStringLiteral("\u00B7 \u00B7");
    const QString text = toAnsiComments(code + mark + header + mark, 80, true);
    const qsizetype last = text.lastIndexOf(mark);
    const qsizetype before = last >= mark.size() ? text.lastIndexOf(mark, last - mark.size()) : -1;
    if (last < 0 || before < 0)
        return {text, QString()};
    const qsizetype headerStart = before + mark.size();
    return {text.left(before), text.mid(headerStart, last - headerStart)};
}

}  // namespace

std::optional<GeneratedCode> generate(const FsmDocument& top, ChildDocumentSource& children,
                                      Messenger& messenger)
{
    Walker walker(top, children, messenger);
    TreePieces tree;
    if (!walker.walk(top, true, QString(), tree))
        return std::nullopt;
    QString code = codeText(tree, top.useBitFields);
    if (!top.ansiComments)
        return GeneratedCode{std::move(code), std::move(tree.header)};
    return convertedToAnsiComments(code, tree.header);
}

}  // namespace orvane::HierarchicalGenerator
