#include "HierarchicalPieces.h"

#include "CodePreparation.h"
#include "CodeSections.h"
#include "modLib_StringHandling.h"

namespace orvane::codegen {

using namespace modLib_StringHandling;

namespace {

const QString kNextStateMacro = QStringLiteral("Is_Next_State_Illegal()");

// The context of one diagram with the identifiers of its prefix.
struct DiagramJob {
    GenContext ctx;
    HierarchicalOptions opt;
    bool isTop = false;
};

void NameIdentifiers(GenContext& ctx, const HierarchicalOptions& opt, const QString& prefix)
{
    FsmNames& n = ctx.names;
    n.ind = QStringLiteral("ind") + prefix + u'_' + n.name;
    n.labelPrefix = QStringLiteral("i") + prefix + u'_';
    n.entryFlag =
        (opt.BF ? QStringLiteral("entryFsm.flg") : QStringLiteral("entryFsmFlg")) + prefix;
    n.debugTrans = QStringLiteral("debug_transNumber") + prefix;
    n.debugNames = QStringLiteral("debug_stateNames") + prefix;
}

// A macro's name: NAME + "_" + item + "()", or with "__" when a function of
// the plain name stands behind it.
QString MacroName(const DiagramJob& g, const QString& item)
{
    const QString joint = g.opt.UM ? QStringLiteral("_") : QStringLiteral("__");
    return g.ctx.names.name + joint + item + QStringLiteral("()");
}

// The macros and their functions for the code text, the functions'
// declarations for the header.
struct MacroTexts {
    QString code, header;
};

// Without UM, the function that calls a macro: its body goes to the code,
// its declaration (heading, signature, empty line) to the header.
void FunctionBehind(MacroTexts& out, const DiagramJob& g, const QString& heading,
                    const QString& signature, const QString& statement)
{
    if (g.opt.UM)
        return;
    Line(out.header, heading);
    Line(out.header, signature + u';');
    Line(out.header, QString());
    Line(out.code, signature);
    Line(out.code, QStringLiteral("{"));
    Line(out.code, 4, statement);
    Line(out.code, QStringLiteral("}"));
    Line(out.code, QString());
}

// "#define MACRO { IND = label; ENTRY = 0; }", with a variant that also
// clears the debug transition number.
void ForcingMacro(QString& out, const GenContext& ctx, const QString& macro, const StateView& s)
{
    QString head = QStringLiteral("#define ") + macro + QStringLiteral(" { ") + ctx.names.ind
                   + QStringLiteral(" = ") + ctx.Label(s) + QStringLiteral("; ");
    if (ctx.anyEntry)
        head += ctx.names.entryFlag + QStringLiteral(" = 0; ");
    if (!ctx.opt.DI) {
        Line(out, head + u'}');
        return;
    }
    Line(out, QStringLiteral("#if defined(FSM_DEBUG)"));
    Line(out, 4, head + ctx.names.debugTrans + QStringLiteral(" = 0; }"));
    Line(out, QStringLiteral("#else"));
    Line(out, 4, head + u'}');
    Line(out, QStringLiteral("#endif"));
}

void InitMacro(MacroTexts& out, const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    // A history FSM keeps no Init unless it is asked for.
    if (g.opt.HF && !g.opt.FI)
        return;
    const QString heading = QStringLiteral("// Force the FSM to the initial state.");
    const QString macro = MacroName(g, QStringLiteral("Init"));
    Line(out.code, heading);
    ForcingMacro(out.code, ctx, macro, ctx.fsm.at(ctx.fsm.lastInitialRank));
    Line(out.code, QString());
    FunctionBehind(out, g, heading,
                   QStringLiteral("void ") + ctx.names.name + QStringLiteral("_Init(void)"),
                   macro + u';');
}

void EndMacro(MacroTexts& out, const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    if (!g.opt.FE)
        return;
    QString test;
    for (const int rank : ctx.fsm.finalRanks) {
        if (!test.isEmpty())
            test += QStringLiteral(" ||\\") + kCrLf + QString(11, u' ');
        test += u'(' + ctx.names.ind + QStringLiteral(" == ") + ctx.Label(ctx.fsm.at(rank)) + u')';
    }
    if (test.isEmpty())
        test = QStringLiteral("0");
    const QString heading = QStringLiteral("// Confirm that the FSM has reached a final state.");
    const QString macro = MacroName(g, QStringLiteral("End"));
    Line(out.code, heading);
    Line(out.code, QStringLiteral("#define ") + macro + QStringLiteral(" (\\"));
    Line(out.code, 4, test + u')');
    Line(out.code, QString());
    FunctionBehind(out, g, heading,
                   QStringLiteral("unsigned char ") + ctx.names.name + QStringLiteral("_End(void)"),
                   QStringLiteral("return(") + macro + QStringLiteral(");"));
}

void StateTestMacros(MacroTexts& out, const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    for (const int rank : ctx.fsm.diagramOrder) {
        const StateView& s = ctx.fsm.at(rank);
        if (s.isIn != QLatin1String("Y"))
            continue;
        const QString heading = QStringLiteral("// Confirm that the FSM has reached the state:[")
                                + s.name + QStringLiteral("].");
        const QString macro = MacroName(g, QStringLiteral("IsIn_") + s.name);
        Line(out.code, heading);
        Line(out.code, QStringLiteral("#define ") + macro + QStringLiteral(" (") + ctx.names.ind
                           + QStringLiteral(" == ") + ctx.Label(s) + u')');
        Line(out.code, QString());
        FunctionBehind(out, g, heading,
                       QStringLiteral("unsigned char ") + ctx.names.name + QStringLiteral("_IsIn_")
                           + s.name + QStringLiteral("(void)"),
                       QStringLiteral("return(") + macro + QStringLiteral(");"));
    }
}

void StateForcingMacros(MacroTexts& out, const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    for (const int rank : ctx.fsm.diagramOrder) {
        const StateView& s = ctx.fsm.at(rank);
        if (s.goTo != QLatin1String("Y"))
            continue;
        const QString heading =
            QStringLiteral("// Force the FSM to the state:[") + s.name + QStringLiteral("].");
        const QString macro = MacroName(g, QStringLiteral("Goto_") + s.name);
        Line(out.code, heading);
        ForcingMacro(out.code, ctx, macro, s);
        Line(out.code, QString());
        FunctionBehind(out, g, heading,
                       QStringLiteral("void ") + ctx.names.name + QStringLiteral("_Goto_") + s.name
                           + QStringLiteral("(void)"),
                       macro + u';');
    }
}

MacroTexts Macros(const DiagramJob& g)
{
    MacroTexts out;
    InitMacro(out, g);
    HistoryMacro(out.code, g.ctx);
    EndMacro(out, g);
    StateTestMacros(out, g);
    StateForcingMacros(out, g);
    return out;
}

QString Initialization(const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    QString out;
    if (g.isTop) {
        CodeOpening(out, ctx);
        ModuleHeaderSection(out, ctx);
        out += PlusLine();
        Line(out, QStringLiteral("// Initialization proposed by the user (Start)."));
        out += DashLine();
    }
    Line(out, IndentText(ctx.init, 2, true));
    return out;
}

QString Automatic(const DiagramJob& g, const QString& macros)
{
    const GenContext& ctx = g.ctx;
    QString out;
    Line(out, QStringLiteral(" // States index."));
    IndexLines(out, ctx);
    Line(out, QString());
    Line(out, QStringLiteral(" // Index variable."));
    IndexVariable(out, ctx);
    if (ctx.opt.DI) {
        Line(out, QString());
        Line(out, QStringLiteral("#if defined(FSM_DEBUG)"));
        Line(out, 4,
             QStringLiteral("static unsigned char ") + ctx.names.debugTrans
                 + QStringLiteral(" = 0;"));
        DebugStateNames(out, ctx);
        Line(out, QStringLiteral("#endif"));
        Line(out, QString());
    }
    if (!macros.isEmpty()) {
        Line(out, QString());
        Line(out, QStringLiteral("// Macros & functions."));
        out += macros;
    }
    ExitFunctionDeclarations(out, ctx);
    return out;
}

QString EntryFlag(const DiagramJob& g, const QString& prefix)
{
    const GenContext& ctx = g.ctx;
    if (!ctx.anyEntry)
        return {};
    if (g.opt.BF)
        return PadRight(QStringLiteral("    T_bit flg") + prefix, 24) + QStringLiteral(" :1;")
               + kCrLf;
    return QStringLiteral("static unsigned char ") + ctx.names.entryFlag + QStringLiteral(" = 0;")
           + kCrLf;
}

QString DebugMacros(const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    QString out;
    if (ctx.opt.DI) {
        Line(out, QString());
        out += PlusLine();
        Line(out, QStringLiteral("// Debug customized macros."));
        out += PlusLine();
        Line(out, QStringLiteral("#if defined(FSM_DEBUG)"));
        if (!g.isTop) {
            // A child's dispatcher follows its parent's: its own names replace theirs.
            Line(out, 4, QStringLiteral("#undef  FSM_STATE_NAME"));
            Line(out, 4, QStringLiteral("#undef  FSM_TRANS_NUMBER"));
            Line(out, 4, QStringLiteral("#undef  FSM_NAME"));
        }
        Line(out, 4,
             QStringLiteral("#define FSM_STATE_NAME()   ") + ctx.names.debugNames + u'['
                 + ctx.names.ind + u']');
        Line(out, 4, QStringLiteral("#define FSM_TRANS_NUMBER() ") + ctx.names.debugTrans);
        Line(out, 4, QStringLiteral("#define FSM_NAME()         \"") + ctx.names.name + u'"');
        if (g.isTop) {
            Line(out, QStringLiteral("#else"));
            Line(out, 4, QStringLiteral("#define FSM_STATE_NAME()"));
            Line(out, 4, QStringLiteral("#define FSM_TRANS_NUMBER()"));
            Line(out, 4, QStringLiteral("#define FSM_NAME()"));
        }
        Line(out, QStringLiteral("#endif"));
    }
    const QString userCode = ctx.init + ctx.before + ctx.after + ctx.ending;
    if (userCode.contains(kNextStateMacro)) {
        Line(out, QStringLiteral("#undef Is_Next_State_Illegal"));
        Line(out, QStringLiteral("#define ") + kNextStateMacro + QStringLiteral(" (")
                      + ctx.names.ind + QStringLiteral(" > ")
                      + ctx.Label(ctx.fsm.at(ctx.fsm.count())) + u')');
    }
    return out;
}

QString Dispatcher(const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    QString out;
    Line(out, QString());
    out += PlusLine();
    Line(out, QStringLiteral("// FSM dispatcher function to be called by the O.S."));
    out += PlusLine();
    FunctionDescription(out, ctx);
    Line(out, (g.isTop ? QStringLiteral("void ") : QStringLiteral("static void ")) + ctx.names.name
                  + u'(' + ctx.names.params + u')');
    Line(out, QStringLiteral("{"));
    BeforeActions(out, ctx);
    Line(out, 4, QStringLiteral("// Next state analyser."));
    SwitchDispatch(out, ctx, true);
    AfterActions(out, ctx);
    ExitFunctionBodies(out, ctx);
    return out;
}

QString Ending(const DiagramJob& g)
{
    const GenContext& ctx = g.ctx;
    QString out;
    if (!ctx.ending.isEmpty())
        Line(out, ctx.ending);
    DiagramComments(out, ctx);
    return out;
}

QString Header(const DiagramJob& g, const QString& declarations)
{
    const GenContext& ctx = g.ctx;
    QString out;
    if (g.isTop) {
        Banner(out, ctx.style);
        Line(out, QString());
        ModuleHeaderSection(out, ctx);
        Line(out, QString());
        out += PlusLine();
        Line(out, QStringLiteral("// FSM function."));
        out += PlusLine();
        FunctionDescription(out, ctx);
        Line(out, PrototypeLine(ctx.names));
        Line(out, QString());
    }
    return out + declarations;
}

}  // namespace

bool GenerateDiagramPieces(const Diagram& d, const QString& documentPath,
                           const HierarchicalOptions& opt, bool isTop, const QString& prefix,
                           Messenger& messenger, DiagramPieces& out)
{
    DiagramJob g{PrepareContext(d, documentPath,
                                GenOptions{opt.FI, opt.FE, opt.HF, opt.DI, false, opt.PT},
                                Methodology::Hierarchical),
                 opt, isTop};
    GenContext& ctx = g.ctx;
    NameIdentifiers(ctx, opt, prefix);
    // Exit functions of different diagrams share the module.
    ctx.entryExit.setExitFunctionSuffix(prefix);
    if (!CheckAndScan(ctx, d, messenger))
        return false;

    const MacroTexts macros = Macros(g);
    out = DiagramPieces{};
    out.name = ctx.names.name;
    out.initialization = Initialization(g);
    out.automatic = Automatic(g, macros.code);
    if (!isTop)
        out.prototype = QStringLiteral("static void ") + ctx.names.name + u'(' + ctx.names.params
                        + QStringLiteral(");");
    out.debugMacros = DebugMacros(g);
    out.dispatcher = Dispatcher(g);
    out.ending = Ending(g);
    out.header = Header(g, macros.header);
    out.entryFlag = EntryFlag(g, prefix);
    return true;
}

}  // namespace orvane::codegen
