#include "HierarchicalGenerator.h"

#include "CodeSections.h"
#include "FsmDocument.h"
#include "HierarchicalPieces.h"
#include "Messenger.h"
#include "ChildDiagrams.h"
#include "MachineInfo.h"
#include "CodeText.h"

#include <QHash>

#include <vector>

namespace orvane::HierarchicalGenerator {

using namespace codegen;
using namespace CodeText;

namespace {

// One section of the module as the walk writes it. A child's subtree is
// written inside a region that indents it by two more blanks, the way
// indenting the finished subtree text would (CodeText::indentText at every
// level): inside a region each CR becomes CR LF plus the blanks of all open
// regions and LF is dropped, a region's text starts with its own blanks, and
// when a region ends its trailing blanks go, while a line break that ends it
// gets back the blanks of the regions around it. Text outside any region is
// taken as it is. Writing once at the final indentation keeps the time in
// step with the size of the module, however deep the tree.
class SectionText {
public:
    void write(const QString& text)
    {
        if (text.isEmpty())
            return;
        if (m_regions.empty()) {
            m_text += text;
            return;
        }
        for (Region& r : m_regions) {
            if (!r.started) {
                r.started = true;
                m_text += QString(kIndent, u' ');
            }
            r.written = true;
        }
        qsizetype from = 0;
        while (from < text.size()) {
            qsizetype cut = from;
            while (cut < text.size() && text.at(cut) != u'\r' && text.at(cut) != u'\n')
                ++cut;
            m_text.append(QStringView(text).mid(from, cut - from));
            if (cut == text.size())
                break;
            if (text.at(cut) == u'\r') {
                m_text += kCrLf;
                m_text += m_pad;
            }
            from = cut + 1;
        }
    }

    void openRegion()
    {
        m_regions.push_back(Region{m_text.size(), false, false});
        m_pad += QString(kIndent, u' ');
    }

    // Ends the innermost region; true when anything was written into it.
    bool closeRegion()
    {
        const Region r = m_regions.back();
        m_regions.pop_back();
        m_pad.chop(kIndent);
        qsizetype end = m_text.size();
        while (end > r.start && m_text.at(end - 1) == u' ')
            --end;
        m_text.truncate(end);
        if (end > r.start && m_text.endsWith(kCrLf))
            m_text += m_pad;
        return r.written;
    }

    // A place to go back to, with what the open regions had written then.
    struct Mark {
        qsizetype size = 0;
        std::vector<bool> started, written;
    };
    Mark mark() const
    {
        Mark m{m_text.size(), {}, {}};
        for (const Region& r : m_regions) {
            m.started.push_back(r.started);
            m.written.push_back(r.written);
        }
        return m;
    }
    void rollBack(const Mark& m)
    {
        m_text.truncate(m.size);
        for (size_t i = 0; i < m_regions.size() && i < m.started.size(); ++i) {
            m_regions[i].started = m.started[i];
            m_regions[i].written = m.written[i];
        }
    }

    const QString& text() const { return m_text; }
    QString take() { return std::move(m_text); }

private:
    static constexpr int kIndent = 2;
    struct Region {
        qsizetype start;  // where the region's text begins
        bool started;     // its opening blanks are written
        bool written;     // any text was written into it
    };
    QString m_text;
    QString m_pad;  // the blanks of every open region
    std::vector<Region> m_regions;
};

// The sections of the whole tree, each child's under its heading.
struct TreePieces {
    SectionText initialization, automatic, dispatcher, ending;
    QString prototypes, header, entryFlags;
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
            // Children are numbered from 1 in their parent's prefix.
            const SectionText::Mark endingMark = out.ending.mark();
            openChild(out);
            if (!walk(*child, false, prefix + u'_' + QString::number(i + 1), out))
                return false;
            closeChild(out, endingMark);
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

    // The diagram's own pieces, written where the walk stands.
    static void takeOwnPieces(const FsmDocument& doc, bool isTop, const DiagramPieces& own,
                              TreePieces& out)
    {
        if (isTop) {
            out.initialization.write(own.initialization);
            out.automatic.write(own.automatic);
            out.dispatcher.write(own.debugMacros + own.dispatcher);
            if (!own.ending.isEmpty())
                out.ending.write(kCrLf + own.ending);
            out.header += own.header;
        } else {
            // The parent completes the heading with "// [Child:".
            const QString heading = doc.caption + u']' + kCrLf;
            out.initialization.write(heading + own.initialization);
            out.automatic.write(heading + own.automatic);
            out.dispatcher.write(heading + own.debugMacros + own.dispatcher);
            if (!own.ending.isEmpty())
                out.ending.write(heading + own.ending);
            out.header += heading + own.header;
            out.prototypes += own.prototype + kCrLf;
        }
        out.entryFlags += own.entryFlag;
    }

    // A child's subtree starts: the heading's start, then a region indented
    // by two blanks in each indented section.
    static void openChild(TreePieces& out)
    {
        const QString head = kCrLf + QStringLiteral("// [Child:");
        out.header += head + u' ';
        for (SectionText* section :
             {&out.initialization, &out.automatic, &out.dispatcher, &out.ending}) {
            section->write(head);
            section->openRegion();
        }
    }

    // The subtree is complete. A subtree without any ending code leaves no
    // heading in the ending section.
    static void closeChild(TreePieces& out, const SectionText::Mark& endingMark)
    {
        out.initialization.closeRegion();
        out.automatic.closeRegion();
        out.dispatcher.closeRegion();
        if (!out.ending.closeRegion())
            out.ending.rollBack(endingMark);
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

QString codeText(TreePieces& tree, bool bitFields)
{
    QString code = tree.initialization.take();
    code += kCrLf;
    sectionEnd(code, QStringLiteral("Initialization proposed by the user"));
    line(code, QString());
    sectionStart(code, QStringLiteral("Entry flags"));
    code += indentText(trimLastLineBreak(entryFlagsText(tree.entryFlags, bitFields)), 2, true);
    code += kCrLf;
    sectionEnd(code, QStringLiteral("Entry flags"));
    line(code, QString());
    sectionStart(code, QStringLiteral("Automatic initialization"));
    code += trimTrailingBlanks(tree.automatic.text());
    sectionEnd(code, QStringLiteral("Automatic initialization"));
    line(code, QString());
    sectionStart(code, QStringLiteral("Local child functions "));
    code += indentText(trimLastLineBreak(tree.prototypes), 2, true);
    code += kCrLf;
    sectionEnd(code, QStringLiteral("Local child functions "));
    code += tree.dispatcher.text();
    code += kCrLf;
    sectionStart(code, QStringLiteral("Ending code proposed by the user"));
    code += tree.ending.text();
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
