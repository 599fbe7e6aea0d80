#include "HierarchicalPieces.h"

#include "CodePreparation.h"
#include "CodeSections.h"
#include "CodeText.h"

namespace orvane::codegen {

using namespace CodeText;

namespace {

const QString kNextStateMacro = QStringLiteral("Is_Next_State_Illegal()");

// The context of one diagram with the identifiers of its prefix.
struct DiagramJob {
    GenContext ctx;
    HierarchicalOptions opt;
    bool isTop = false;
};

void nameIdentifiers(GenContext& ctx, const HierarchicalOptions& opt, const QString& prefix)
{
    FsmNames& n = ctx.names;
    n.ind = QStringLiteral("ind") + prefix + u'_' + n.name;
    n.labelPrefix = QStringLiteral("i") + prefix + u'_';
    n.entryFlag =
        (opt.bitFields ? QStringLiteral("entryFsm.flg") : QStringLiteral("entryFsmFlg")) + prefix;
    n.debugTrans = QStringLiteral("debug_transNumber") + prefix;
    n.debugNames = QStringLiteral("debug_stateNames") + prefix;
}

// A macro's name: NAME + "_" + item + "()", or with "__" when a function of
// the plain name stands behind it.
QString macroName(const DiagramJob& g, const QString& item)
{
    const QString joint = g.opt.useMacros ? QStringLiteral("_") : QStringLiteral("__");
    return g.ctx.names.name + joint + item + QStringLiteral("()");
}

// The macros and their functions for the code text, the functions'
// declarations for the header.
struct MacroTexts {
    QString code, header;
};

// Without UM, the function that calls a macro: its body goes to the code,
// its declaration (heading, signature, empty line) to the header.
void functionBehind(MacroTexts& out, const DiagramJob& g, const QString& heading,
                    const QString& signature, const QString& statement)
{
    if (g.opt.useMacros)
        return;
    line(out.header, heading);
    line(out.header, signature + u';');
    line(out.header, QString());
    line(out.code, signature);
    line(out.code, QStringLiteral("{"));
    line(out.code, 4, statement);
    line(out.code, QStringLiteral("}"));
    line(out.code, QString());
}

// "#define MACRO { IND = label; ENTRY = 0; }", with a variant that also
// clears the debug transition number.
void forcingMacro(QString& out, const GenContext& ctx, const QString& macro, const StateView& s)
{
    QString head = QStringLiteral("#define ") + macro + QStringLiteral(" { ") + ctx.names.ind
                   + QStringLiteral(" = ") + ctx.label(s) + QStringLiteral("; ");
    if (ctx.anyEntry)
        head += ctx.names.entryFlag + QStringLiteral(" = 0; ");
    if (!ctx.opt.debugInfo) {
        line(out, head + u'}');
        return;
    }
    line(out, QStringLiteral("#if defined(FSM_DEBUG)"));
    line(out, 4, head + ctx.names.debugTrans + QStringLiteral(" = 0; }"));
    line(out, QStringLiteral("#else"));
    line(out, 4, head + u'}');
    line(out, QStringLiteral("#endif"));
}

void initMacro(MacroTexts& out, const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    // A history FSM keeps no Init unless it is asked for.
    if (g.opt.history && !g.opt.initFunction)
        return;
    const QString heading = QStringLiteral("// Force the FSM to the initial state.");
    const QString macro = macroName(g, QStringLiteral("Init"));
    line(out.code, heading);
    forcingMacro(out.code, ctx, macro, ctx.fsm.at(ctx.fsm.lastInitialRank));
    line(out.code, QString());
    functionBehind(out, g, heading,
                   QStringLiteral("void ") + ctx.names.name + QStringLiteral("_Init(void)"),
                   macro + u';');
}

void endMacro(MacroTexts& out, const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    if (!g.opt.finalTest)
        return;
    QString test;
    for (const int rank : ctx.fsm.finalRanks) {
        if (!test.isEmpty())
            test += QStringLiteral(" ||\\") + kCrLf + QString(11, u' ');
        test += u'(' + ctx.names.ind + QStringLiteral(" == ") + ctx.label(ctx.fsm.at(rank)) + u')';
    }
    if (test.isEmpty())
        test = QStringLiteral("0");
    const QString heading = QStringLiteral("// Confirm that the FSM has reached a final state.");
    const QString macro = macroName(g, QStringLiteral("End"));
    line(out.code, heading);
    line(out.code, QStringLiteral("#define ") + macro + QStringLiteral(" (\\"));
    line(out.code, 4, test + u')');
    line(out.code, QString());
    functionBehind(out, g, heading,
                   QStringLiteral("unsigned char ") + ctx.names.name + QStringLiteral("_End(void)"),
                   QStringLiteral("return(") + macro + QStringLiteral(");"));
}

void stateTestMacros(MacroTexts& out, const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    for (const int rank : ctx.fsm.diagramOrder) {
        const StateView& s = ctx.fsm.at(rank);
        if (s.isIn != QLatin1String("Y"))
            continue;
        const QString heading = QStringLiteral("// Confirm that the FSM has reached the state:[")
                                + s.name + QStringLiteral("].");
        const QString macro = macroName(g, QStringLiteral("IsIn_") + s.name);
        line(out.code, heading);
        line(out.code, QStringLiteral("#define ") + macro + QStringLiteral(" (") + ctx.names.ind
                           + QStringLiteral(" == ") + ctx.label(s) + u')');
        line(out.code, QString());
        functionBehind(out, g, heading,
                       QStringLiteral("unsigned char ") + ctx.names.name + QStringLiteral("_IsIn_")
                           + s.name + QStringLiteral("(void)"),
                       QStringLiteral("return(") + macro + QStringLiteral(");"));
    }
}

void stateForcingMacros(MacroTexts& out, const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    for (const int rank : ctx.fsm.diagramOrder) {
        const StateView& s = ctx.fsm.at(rank);
        if (s.goTo != QLatin1String("Y"))
            continue;
        const QString heading =
            QStringLiteral("// Force the FSM to the state:[") + s.name + QStringLiteral("].");
        const QString macro = macroName(g, QStringLiteral("Goto_") + s.name);
        line(out.code, heading);
        forcingMacro(out.code, ctx, macro, s);
        line(out.code, QString());
        functionBehind(out, g, heading,
                       QStringLiteral("void ") + ctx.names.name + QStringLiteral("_Goto_") + s.name
                           + QStringLiteral("(void)"),
                       macro + u';');
    }
}

MacroTexts buildMacros(const DiagramJob& g)
{
    MacroTexts out;
    initMacro(out, g);
    historyMacro(out.code, g.ctx);
    endMacro(out, g);
    stateTestMacros(out, g);
    stateForcingMacros(out, g);
    return out;
}

QString initialization(const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    QString out;
    if (g.isTop) {
        codeOpening(out, ctx);
        moduleHeaderSection(out, ctx);
        out += plusLine();
        line(out, QStringLiteral("// Initialization proposed by the user (Start)."));
        out += dashLine();
    }
    line(out, indentText(ctx.init, 2, true));
    return out;
}

QString automatic(const DiagramJob& g, const QString& macros)
{
    const GenContext& ctx = g.ctx;
    QString out;
    line(out, QStringLiteral(" // States index."));
    indexLines(out, ctx);
    line(out, QString());
    line(out, QStringLiteral(" // Index variable."));
    indexVariable(out, ctx);
    if (ctx.opt.debugInfo) {
        line(out, QString());
        line(out, QStringLiteral("#if defined(FSM_DEBUG)"));
        line(out, 4,
             QStringLiteral("static unsigned char ") + ctx.names.debugTrans
                 + QStringLiteral(" = 0;"));
        debugStateNames(out, ctx);
        line(out, QStringLiteral("#endif"));
        line(out, QString());
    }
    if (!macros.isEmpty()) {
        line(out, QString());
        line(out, QStringLiteral("// Macros & functions."));
        out += macros;
    }
    exitFunctionDeclarations(out, ctx);
    return out;
}

QString entryFlag(const DiagramJob& g, const QString& prefix)
{
    const GenContext& ctx = g.ctx;
    if (!ctx.anyEntry)
        return {};
    if (g.opt.bitFields)
        return padRight(QStringLiteral("    T_bit flg") + prefix, 24) + QStringLiteral(" :1;")
               + kCrLf;
    return QStringLiteral("static unsigned char ") + ctx.names.entryFlag + QStringLiteral(" = 0;")
           + kCrLf;
}

QString debugMacros(const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    QString out;
    if (ctx.opt.debugInfo) {
        line(out, QString());
        out += plusLine();
        line(out, QStringLiteral("// Debug customized macros."));
        out += plusLine();
        line(out, QStringLiteral("#if defined(FSM_DEBUG)"));
        if (!g.isTop) {
            // A child's dispatcher follows its parent's: its own names replace theirs.
            line(out, 4, QStringLiteral("#undef  FSM_STATE_NAME"));
            line(out, 4, QStringLiteral("#undef  FSM_TRANS_NUMBER"));
            line(out, 4, QStringLiteral("#undef  FSM_NAME"));
        }
        line(out, 4,
             QStringLiteral("#define FSM_STATE_NAME()   ") + ctx.names.debugNames + u'['
                 + ctx.names.ind + u']');
        line(out, 4, QStringLiteral("#define FSM_TRANS_NUMBER() ") + ctx.names.debugTrans);
        line(out, 4, QStringLiteral("#define FSM_NAME()         \"") + ctx.names.name + u'"');
        if (g.isTop) {
            line(out, QStringLiteral("#else"));
            line(out, 4, QStringLiteral("#define FSM_STATE_NAME()"));
            line(out, 4, QStringLiteral("#define FSM_TRANS_NUMBER()"));
            line(out, 4, QStringLiteral("#define FSM_NAME()"));
        }
        line(out, QStringLiteral("#endif"));
    }
    const QString userCode = ctx.init + ctx.before + ctx.after + ctx.ending;
    if (userCode.contains(kNextStateMacro)) {
        line(out, QStringLiteral("#undef Is_Next_State_Illegal"));
        line(out, QStringLiteral("#define ") + kNextStateMacro + QStringLiteral(" (")
                      + ctx.names.ind + QStringLiteral(" > ")
                      + ctx.label(ctx.fsm.at(ctx.fsm.count())) + u')');
    }
    return out;
}

QString dispatcher(const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    QString out;
    line(out, QString());
    out += plusLine();
    line(out, QStringLiteral("// FSM dispatcher function to be called by the O.S."));
    out += plusLine();
    functionDescription(out, ctx);
    line(out, (g.isTop ? QStringLiteral("void ") : QStringLiteral("static void ")) + ctx.names.name
                  + u'(' + ctx.names.params + u')');
    line(out, QStringLiteral("{"));
    beforeActions(out, ctx);
    line(out, 4, QStringLiteral("// Next state analyser."));
    switchDispatch(out, ctx, true);
    afterActions(out, ctx);
    exitFunctionBodies(out, ctx);
    return out;
}

QString ending(const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    QString out;
    if (!ctx.ending.isEmpty())
        line(out, ctx.ending);
    diagramComments(out, ctx);
    return out;
}

QString header(const DiagramJob& g, const QString& declarations)
{
    const GenContext& ctx = g.ctx;
    QString out;
    if (g.isTop) {
        banner(out, ctx.style);
        line(out, QString());
        moduleHeaderSection(out, ctx);
        line(out, QString());
        out += plusLine();
        line(out, QStringLiteral("// FSM function."));
        out += plusLine();
        functionDescription(out, ctx);
        line(out, prototypeLine(ctx.names));
        line(out, QString());
    }
    return out + declarations;
}

}  // namespace

bool generateDiagramPieces(const Diagram& d, const QString& documentPath,
                           const HierarchicalOptions& opt, bool isTop, const QString& prefix,
                           const ChildDocumentSource& children, Messenger& messenger,
                           DiagramPieces& out)
{
    GenOptions flat;
    flat.initFunction = opt.initFunction;
    flat.finalTest = opt.finalTest;
    flat.history = opt.history;
    flat.debugInfo = opt.debugInfo;
    flat.printRemarks = opt.printRemarks;
    DiagramJob g{prepareContext(d, documentPath, flat, Methodology::Hierarchical, children), opt,
                 isTop};
    GenContext& ctx = g.ctx;
    nameIdentifiers(ctx, opt, prefix);
    // Exit functions of different diagrams share the module.
    ctx.entryExit.setExitFunctionSuffix(prefix);
    if (!checkAndScan(ctx, d, messenger))
        return false;

    const MacroTexts macros = buildMacros(g);
    out = DiagramPieces{};
    out.name = ctx.names.name;
    out.initialization = initialization(g);
    out.automatic = automatic(g, macros.code);
    if (!isTop)
        out.prototype = QStringLiteral("static void ") + ctx.names.name + u'(' + ctx.names.params
                        + QStringLiteral(");");
    out.debugMacros = debugMacros(g);
    out.dispatcher = dispatcher(g);
    out.ending = ending(g);
    out.header = header(g, macros.header);
    out.entryFlag = entryFlag(g, prefix);
    return true;
}

}  // namespace orvane::codegen
