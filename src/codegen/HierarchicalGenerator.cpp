#include "modC_CodeGenHSC.h"

#include "CodeSections.h"
#include "FsmDocument.h"
#include "HierarchicalPieces.h"
#include "Messenger.h"
#include "clsParientes.h"
#include "modGrafoInfo.h"
#include "modLib_StringHandling.h"
#include "modStrings.h"

#include <QHash>

namespace orvane::modC_CodeGenHSC {

using namespace codegen;
using namespace modLib_StringHandling;

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
    bool Walk(const FsmDocument& doc, bool isTop, const QString& prefix, TreePieces& out)
    {
        DiagramPieces own;
        if (!GenerateDiagramPieces(doc.diagram(), doc.sFullDocname, OptionsOf(doc), isTop, prefix,
                                   m_messenger, own))
            return false;
        // Known before the children are walked, so that a child calling an
        // ancestor ends there.
        m_generated.insert(own.name, Generated{&doc, isTop, prefix, own});
        TakeOwnPieces(doc, isTop, own, out);

        clsParientes parientes;
        parientes.Reset(doc.sFullDocname);
        parientes.BuscaTodosEnlaces(doc.diagram());
        for (int i = 1; i <= parientes.DimeNumeroHijos(); ++i) {
            const QString path = parientes.RutaCompleta(parientes.DimeHijo(i));
            QString error;
            const FsmDocument* child = m_source.OpenChild(path, &error);
            if (!child) {
                QString text = kMsgChildNotOpened + u'[' + path + u']';
                if (!error.isEmpty())
                    text += kCrLf + error;
                m_messenger.message(text);
                return false;
            }
            bool skip = false;
            if (!CheckNotGenerated(*child, skip))
                return false;
            if (skip)
                continue;
            TreePieces sub;
            if (!Walk(*child, false, prefix + u'_' + QString::number(i), sub))
                return false;
            AppendChild(out, sub);
        }
        return true;
    }

private:
    HierarchicalOptions OptionsOf(const FsmDocument& doc) const
    {
        HierarchicalOptions o;
        o.FI = doc.bGeneraFuncInit;
        o.FE = doc.bGeneraFuncEnd;
        o.HF = doc.bHistoryFsm;
        o.UM = doc.bUseMacros;
        o.DI = m_top.bDebugInfo;
        o.PT = m_top.bTextBoxesInCode;
        o.BF = m_top.bUseBitFields;
        return o;
    }

    static void TakeOwnPieces(const FsmDocument& doc, bool isTop, const DiagramPieces& own,
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

    static void AppendChild(TreePieces& out, const TreePieces& child)
    {
        const QString head = kCrLf + QStringLiteral("// [Child:");
        out.header += head + u' ' + child.header;
        out.initialization += head + IndentText(child.initialization, 2, true);
        out.automatic += head + IndentText(child.automatic, 2, true);
        out.dispatcher += head + IndentText(child.dispatcher, 2, true);
        out.prototypes += child.prototypes;
        out.entryFlags += child.entryFlags;
        if (!child.ending.isEmpty())
            out.ending += head + IndentText(child.ending, 2, true);
    }

    // A child whose FSM name is in the module already is skipped: it is the
    // same diagram reached again (from a second parent, or calling an
    // ancestor). A different diagram under that name would be left out, or
    // clash with the function of that name: that refuses the generation,
    // unless it is a copy that generates the very same text.
    bool CheckNotGenerated(const FsmDocument& child, bool& skip)
    {
        skip = false;
        const QString name = modGrafoInfo::GetGraphField(modGrafoInfo::kGraphName, child.diagram());
        const auto it = m_generated.constFind(name);
        if (it == m_generated.constEnd())
            return true;
        skip = true;
        const Generated& first = it.value();
        if (first.doc == &child)
            return true;
        DiagramPieces again;
        if (!GenerateDiagramPieces(child.diagram(), child.sFullDocname, OptionsOf(child),
                                   first.isTop, first.prefix, m_messenger, again))
            return false;
        if (again == first.pieces)
            return true;
        m_messenger.message(kMsgNameClash + u'[' + name + u']' + kCrLf + first.doc->sFullDocname
                            + kCrLf + child.sFullDocname);
        return false;
    }

    const FsmDocument& m_top;
    ChildDocumentSource& m_source;
    Messenger& m_messenger;
    QHash<QString, Generated> m_generated;
};

// The entry flags of the whole tree, as one structure of one-bit members
// when bit fields are used.
QString EntryFlagsText(const QString& lines, bool bitFields)
{
    if (!bitFields || lines.isEmpty())
        return lines;
    QString out;
    Line(out, QStringLiteral("#ifndef T_bit"));
    Line(out, 4, QStringLiteral("#define T_bit unsigned char"));
    Line(out, QStringLiteral("#endif"));
    Line(out, QString());
    Line(out, QStringLiteral("typedef struct {"));
    out += lines;
    Line(out, QStringLiteral("} T_EntryFsmFlg;"));
    Line(out, QStringLiteral("static T_EntryFsmFlg entryFsm;"));
    return out;
}

// A section frame: PLUS, "// " + title + " (Start).", DASH.
void SectionStart(QString& out, const QString& title)
{
    out += PlusLine();
    Line(out, QStringLiteral("// ") + title + QStringLiteral(" (Start)."));
    out += DashLine();
}

void SectionEnd(QString& out, const QString& title)
{
    out += DashLine();
    Line(out, QStringLiteral("// ") + title + QStringLiteral(" (End)."));
    out += PlusLine();
}

QString CodeText(const TreePieces& tree, bool bitFields)
{
    QString code = tree.initialization;
    code += kCrLf;
    SectionEnd(code, QStringLiteral("Initialization proposed by the user"));
    Line(code, QString());
    SectionStart(code, QStringLiteral("Entry flags"));
    code += IndentText(TrimLastLineBreak(EntryFlagsText(tree.entryFlags, bitFields)), 2, true);
    code += kCrLf;
    SectionEnd(code, QStringLiteral("Entry flags"));
    Line(code, QString());
    SectionStart(code, QStringLiteral("Automatic initialization"));
    code += TrimTrailingBlanks(tree.automatic);
    SectionEnd(code, QStringLiteral("Automatic initialization"));
    Line(code, QString());
    SectionStart(code, QStringLiteral("Local child functions "));
    code += IndentText(TrimLastLineBreak(tree.prototypes), 2, true);
    code += kCrLf;
    SectionEnd(code, QStringLiteral("Local child functions "));
    code += tree.dispatcher;
    code += kCrLf;
    SectionStart(code, QStringLiteral("Ending code proposed by the user"));
    code += tree.ending;
    code += kCrLf;
    SectionEnd(code, QStringLiteral("Ending code proposed by the user"));
    ClosingBanner(code);
    return code;
}

}  // namespace

QString GenerateCodeHierarchical(const FsmDocument& top, ChildDocumentSource& children,
                                 Messenger& messenger)
{
    Walker walker(top, children, messenger);
    TreePieces tree;
    if (!walker.Walk(top, true, QString(), tree))
        return {};
    const QString result =
        CodeText(tree, top.bUseBitFields) + modStrings::kSep + tree.header + modStrings::kSep;
    return top.bAnsiComment ? ToAnsiComments(result, 80, true) : result;
}

}  // namespace orvane::modC_CodeGenHSC
