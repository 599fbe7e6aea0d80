#include "CodeSections.h"

#include "modLib_StringHandling.h"
#include "modVersion.h"

namespace orvane::codegen {

using namespace modLib_StringHandling;

namespace {

const QString kGeneratorVersion = QStringLiteral("v1.2r3");
const QString kNextStateMacro = QStringLiteral("Is_Next_State_Illegal()");

QString Blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

void DebugIfOpen(QString& out, int indent)
{
    Line(out, indent, QStringLiteral("#if defined(FSM_DEBUG)"));
}

void DebugIfClose(QString& out, int indent)
{
    Line(out, indent, QStringLiteral("#endif"));
}

// The debug lines of the Init function and of a state forcing function that
// sets the state of the given rank.
void ForcingDebug(QString& out, const GenContext& ctx, int rank, bool initFunction)
{
    switch (ctx.style) {
    case Methodology::SwitchCase:
    case Methodology::Hierarchical:
        DebugReset(out, ctx, 4);
        break;
    case Methodology::Pointers:
        // The index variable only mirrors the pointer for the debug names.
        DebugIfOpen(out, 4);
        Line(out, 8, ctx.names.ind + QStringLiteral(" = ") + QString::number(rank - 1) + u';');
        Line(out, 8, ctx.names.debugTrans + QStringLiteral(" = 0;"));
        DebugIfClose(out, 4);
        break;
    case Methodology::PointerArray:
        if (initFunction) {
            DebugReset(out, ctx, 4);
        } else {
            DebugIfOpen(out, 4);
            Line(out, 4, ctx.names.debugTrans + QStringLiteral(" = 0;"));
            DebugIfClose(out, 4);
        }
        break;
    }
}

QString NextStateCheck(const GenContext& ctx)
{
    const QString head = QStringLiteral("#define ") + kNextStateMacro + QStringLiteral(" (");
    QString out;
    if (ctx.style != Methodology::Pointers) {
        const StateView& last = ctx.fsm.at(ctx.fsm.count());
        Line(out, head + ctx.names.ind + QStringLiteral(" > ") + ctx.Label(last) + u')');
    } else {
        out += head + u' ';
        bool first = true;
        for (const int rank : ctx.fsm.diagramOrder) {
            if (!first)
                out += QStringLiteral(" && \\") + kCrLf + Blanks(int(head.size()) + 1);
            first = false;
            out += ctx.names.dis + QStringLiteral(" != ") + ctx.StateReference(ctx.fsm.at(rank));
        }
        Line(out, QStringLiteral(" )"));
    }
    Line(out, QString());
    return out;
}

// A function of the header and the code text: the heading stands in front
// of its declaration and of its body.
void AddFunction(QString& declarations, QString& bodies, const QString& heading,
                 const QString& signature, const QString& inner)
{
    Line(declarations, heading);
    Line(declarations, signature + u';');
    Line(declarations, QString());
    Line(bodies, heading);
    Line(bodies, signature);
    Line(bodies, QStringLiteral("{"));
    bodies += inner;
    Line(bodies, QStringLiteral("}"));
    Line(bodies, QString());
}

// The inside of a function that forces the FSM into a state.
QString ForcingBody(const GenContext& ctx, const StateView& s, bool initFunction)
{
    QString inner;
    Line(inner, 4, ctx.StateVariable() + QStringLiteral(" = ") + ctx.StateReference(s) + u';');
    if (ctx.anyEntry)
        Line(inner, 4, ctx.names.entryFlag + QStringLiteral(" = 0;"));
    if (ctx.opt.DI)
        ForcingDebug(inner, ctx, s.rank, initFunction);
    return inner;
}

QString FinalStateTest(const GenContext& ctx)
{
    if (ctx.fsm.finalRanks.empty())
        return QStringLiteral("0");
    QString test;
    for (const int rank : ctx.fsm.finalRanks) {
        if (!test.isEmpty())
            test += QStringLiteral(" ||") + kCrLf + Blanks(11);
        test += u'(' + ctx.StateVariable() + QStringLiteral(" == ")
                + ctx.StateReference(ctx.fsm.at(rank)) + u')';
    }
    return test;
}

QString ReturnLine(const QString& expression)
{
    return Blanks(4) + QStringLiteral("return(") + expression + QStringLiteral(");") + kCrLf;
}

}  // namespace

QString GenContext::Label(const StateView& s) const
{
    return names.labelPrefix + s.name.toUpper();
}

const QString& GenContext::StateVariable() const
{
    return style == Methodology::Pointers ? names.dis : names.ind;
}

QString GenContext::StateReference(const StateView& s) const
{
    return style == Methodology::Pointers ? QStringLiteral("E_") + s.name : Label(s);
}

QString MethodologyLine(Methodology m)
{
    switch (m) {
    case Methodology::SwitchCase:
        return QStringLiteral("// Methodology: Switch-case state. [");
    case Methodology::Pointers:
        return QStringLiteral("// Methodology: Pointer to state functions. [");
    case Methodology::PointerArray:
        return QStringLiteral("// Methodology: Array of pointers to state functions. [");
    case Methodology::Hierarchical:
        return QStringLiteral("// Methodology: Hierarchical Switch-case state. [");
    }
    return {};
}

const QString& PlusLine()
{
    static const QString line = QStringLiteral("//") + QString(78, u'+') + kCrLf;
    return line;
}

const QString& DashLine()
{
    static const QString line = QStringLiteral("//") + QStringLiteral(" -").repeated(39) + kCrLf;
    return line;
}

void Line(QString& out, const QString& text)
{
    out += text;
    out += kCrLf;
}

void Line(QString& out, int indent, const QString& text)
{
    out += Blanks(indent);
    out += text;
    out += kCrLf;
}

void Banner(QString& out, Methodology m)
{
    out += PlusLine();
    Line(out, QStringLiteral("//  Automatic generated C-code by the application:"));
    Line(out, QStringLiteral("//     ") + WindowTitle());
    out += PlusLine();
    Line(out, MethodologyLine(m) + kGeneratorVersion + u']');
    out += PlusLine();
}

QString PrototypeLine(const FsmNames& n)
{
    return QStringLiteral("void ") + n.name + u'(' + n.params + QStringLiteral(");");
}

void CodeOpening(QString& out, const GenContext& ctx)
{
    Banner(out, ctx.style);
    Line(out, QStringLiteral("// Exported function: ") + PrototypeLine(ctx.names));
    out += PlusLine();
    Line(out, QString());
}

void HeaderOpening(QString& out, const GenContext& ctx, const QString& functionComment)
{
    Banner(out, ctx.style);
    Line(out, QString());
    Line(out, functionComment);
    Line(out, PrototypeLine(ctx.names));
    Line(out, QString());
}

void ModuleHeaderSection(QString& out, const GenContext& ctx)
{
    if (ctx.moduleHeader.isEmpty())
        return;
    out += PlusLine();
    Line(out, QStringLiteral("// Module header proposed by the user (Start)."));
    out += DashLine();
    out += CommentOutLines(BreakCommentMarks(ctx.moduleHeader));
    out += DashLine();
    Line(out, QStringLiteral("// Module header proposed by the user (End)."));
    out += PlusLine();
    Line(out, QString());
}

void UserInitSection(QString& out, const GenContext& ctx)
{
    if (ctx.init.isEmpty())
        return;
    out += PlusLine();
    Line(out, QStringLiteral("// Initialization proposed by the user (Start)."));
    out += DashLine();
    Line(out, IndentText(ctx.init, 2, true));
    out += DashLine();
    Line(out, QStringLiteral("// Initialization proposed by the user (End)."));
    out += PlusLine();
}

void AutoInitStart(QString& out)
{
    Line(out, QString());
    out += PlusLine();
    Line(out, QStringLiteral("// Automatic initialization (Start)."));
    out += DashLine();
}

void EntryFlagVariable(QString& out, const GenContext& ctx, bool lineEnd)
{
    if (!ctx.anyEntry)
        return;
    out += QStringLiteral("static unsigned char ") + ctx.names.entryFlag + QStringLiteral(" = 0;");
    if (lineEnd)
        out += kCrLf;
}

void DebugBlock(QString& out, const GenContext& ctx, const QString& extraLine)
{
    if (!ctx.opt.DI)
        return;
    Line(out, QString());
    Line(out, QStringLiteral("#if defined(FSM_DEBUG)"));
    Line(out, 4,
         QStringLiteral("static unsigned char ") + ctx.names.debugTrans + QStringLiteral(" = 0;"));
    if (!extraLine.isEmpty())
        Line(out, 4, extraLine);
    DebugStateNames(out, ctx);
    Line(out, 4,
         QStringLiteral("#define FSM_STATE_NAME()   ") + ctx.names.debugNames + u'[' + ctx.names.ind
             + u']');
    Line(out, 4, QStringLiteral("#define FSM_TRANS_NUMBER() ") + ctx.names.debugTrans);
    Line(out, 4, QStringLiteral("#define FSM_NAME()         \"") + ctx.names.name + u'"');
    Line(out, QStringLiteral("#else"));
    Line(out, 4, QStringLiteral("#define FSM_STATE_NAME()"));
    Line(out, 4, QStringLiteral("#define FSM_TRANS_NUMBER()"));
    Line(out, 4, QStringLiteral("#define FSM_NAME()"));
    Line(out, QStringLiteral("#endif"));
    Line(out, QString());
}

void DebugStateNames(QString& out, const GenContext& ctx)
{
    Line(out, 4,
         QStringLiteral("static const char* ") + ctx.names.debugNames + QStringLiteral("[] = {"));
    for (const StateView& s : ctx.fsm.states)
        Line(out, 8, u'"' + s.name + QStringLiteral("\","));
    Line(out, 4, QStringLiteral("};"));
}

void DebugReset(QString& out, const GenContext& ctx, int indent)
{
    DebugIfOpen(out, indent);
    Line(out, indent + 4, ctx.names.debugTrans + QStringLiteral(" = 0;"));
    DebugIfClose(out, indent);
}

void IndexLines(QString& out, const GenContext& ctx)
{
    const int n = ctx.fsm.count();
    // The name column fits the longest upper-cased name; the constants are
    // right-aligned in a column of the digits of the largest one.
    const int width = ctx.fsm.longestUpperName + 13 + int(ctx.names.labelPrefix.size());
    int digits = n < 10 ? 1 : n < 100 ? 2 : n < 1000 ? 3 : 4;
    digits = std::max(digits, int(QString::number(std::max(n - 1, 0)).size()));
    for (const StateView& s : ctx.fsm.states) {
        const QString label = QStringLiteral("  #define  ") + ctx.Label(s);
        out += PadRight(label, width);
        out += PadRight(QString(), digits - int(QString::number(s.rank - 1).size()));
        out += QString::number(s.rank - 1);
        out += kCrLf;
    }
}

void IndexVariable(QString& out, const GenContext& ctx)
{
    const QString type = ctx.fsm.count() >= 256 ? QStringLiteral("static unsigned int ")
                                                : QStringLiteral("static unsigned char ");
    Line(out, type + ctx.names.ind + QStringLiteral(" = ")
                  + ctx.Label(ctx.fsm.at(ctx.fsm.lastInitialRank)) + u';');
}

MacroParts BuildMacroParts(const GenContext& ctx)
{
    MacroParts parts;
    const QString userCode = ctx.init + ctx.before + ctx.after + ctx.ending;
    if (userCode.contains(kNextStateMacro))
        parts.nextStateCheck = NextStateCheck(ctx);
    const QString& name = ctx.names.name;
    // No Init function for a history FSM unless it is asked for.
    if (!(ctx.opt.HF && !ctx.opt.FI))
        AddFunction(parts.initDeclaration, parts.initBody,
                    QStringLiteral("// Force the FSM to the initial state."),
                    QStringLiteral("void ") + name + QStringLiteral("_Init(void)"),
                    ForcingBody(ctx, ctx.fsm.at(ctx.fsm.lastInitialRank), true));
    if (ctx.opt.FE)
        AddFunction(parts.endDeclaration, parts.endBody,
                    QStringLiteral("// Confirm that the FSM has reached a final state."),
                    QStringLiteral("unsigned char ") + name + QStringLiteral("_End(void)"),
                    ReturnLine(FinalStateTest(ctx)));
    for (const int rank : ctx.fsm.diagramOrder) {
        const StateView& s = ctx.fsm.at(rank);
        if (s.isIn == QLatin1String("Y"))
            AddFunction(
                parts.testDeclarations, parts.testBodies,
                QStringLiteral("// Confirm that the FSM has reached the state:[") + s.name
                    + QStringLiteral("]."),
                QStringLiteral("unsigned char ") + name + QStringLiteral("_IsIn_") + s.name
                    + QStringLiteral("(void)"),
                ReturnLine(ctx.StateVariable() + QStringLiteral(" == ") + ctx.StateReference(s)));
        if (s.goTo == QLatin1String("Y"))
            AddFunction(parts.gotoDeclarations, parts.gotoBodies,
                        QStringLiteral("// Force the FSM to the state:[") + s.name
                            + QStringLiteral("]."),
                        QStringLiteral("void ") + name + QStringLiteral("_Goto_") + s.name
                            + QStringLiteral("(void)"),
                        ForcingBody(ctx, s, false));
    }
    return parts;
}

void MacrosAndFunctions(QString& out, const MacroParts& parts)
{
    if (parts.nextStateCheck.isEmpty() && parts.initBody.isEmpty() && parts.endBody.isEmpty()
        && parts.testBodies.isEmpty() && parts.gotoBodies.isEmpty())
        return;
    Line(out, QString());
    Line(out, QStringLiteral(" // Macros & functions."));
    out += parts.nextStateCheck;
    out += parts.initBody;
    out += parts.endBody;
    out += parts.testBodies;
    out += parts.gotoBodies;
}

void HeaderFunctions(QString& out, const GenContext& ctx, const MacroParts& parts)
{
    out += parts.initDeclaration;
    HistoryMacro(out, ctx);
    out += parts.endDeclaration;
    out += parts.testDeclarations;
    out += parts.gotoDeclarations;
}

void HistoryMacro(QString& out, const GenContext& ctx)
{
    const QString macro = QStringLiteral("#define _") + ctx.names.name + QStringLiteral("_Init()");
    if (ctx.opt.HF) {
        Line(out, QStringLiteral("// This is a history FSM."));
        Line(out, macro + QStringLiteral("  {}"));
    } else {
        Line(out, QStringLiteral("// This is not a history FSM."));
        Line(out, macro + QStringLiteral("  {") + ctx.names.name
                      + QStringLiteral("_Init(); /* Children: */ ")
                      + ChildrenInitList(*ctx.diagram, ctx.documentPath) + u'}');
    }
    Line(out, QString());
}

void ExitFunctionDeclarations(QString& out, const GenContext& ctx)
{
    const QString declarations = ctx.entryExit.DimeDefinicionExitFunc();
    if (declarations.isEmpty())
        return;
    Line(out, QString());
    Line(out, QStringLiteral(" // Definition of Exit_functions."));
    Line(out, IndentText(declarations, 2, true));
}

void DispatcherHeading(QString& out, const GenContext& ctx)
{
    out += DashLine();
    Line(out, QStringLiteral("// Automatic initialization (End)."));
    out += PlusLine();
    Line(out, QString());
    out += PlusLine();
    Line(out, QStringLiteral("// FSM dispatcher function to be called by the O.S."));
    out += PlusLine();
    FunctionDescription(out, ctx);
    Line(out, QStringLiteral("void ") + ctx.names.name + u'(' + ctx.names.params + u')');
    Line(out, QStringLiteral("{"));
}

void FunctionDescription(QString& out, const GenContext& ctx)
{
    if (ctx.functionHeader.isEmpty())
        return;
    out += CommentOutLines(BreakCommentMarks(ctx.functionHeader));
    out += PlusLine();
}

void BeforeActions(QString& out, const GenContext& ctx)
{
    if (!ctx.before.isEmpty()) {
        Line(out, 4, QStringLiteral("// User actions to be executed before analyse the state."));
        Line(out, IndentText(ctx.before, 4, true));
        Line(out, QString());
    }
    if (ctx.opt.DI)
        DebugReset(out, ctx, 4);
}

void AfterActions(QString& out, const GenContext& ctx)
{
    if (!ctx.after.isEmpty()) {
        Line(out, QString());
        Line(out, 4, QStringLiteral("// User actions to be executed after analyse the state."));
        Line(out, IndentText(ctx.after, 4, true));
    }
    Line(out, QStringLiteral("}"));
    Line(out, QString());
}

void ExitFunctionBodies(QString& out, const GenContext& ctx)
{
    const QString bodies = ctx.entryExit.DimeImplementacionExitFunc();
    if (bodies.isEmpty())
        return;
    Line(out, QString());
    Line(out, QStringLiteral(" // Implementation of Exit_functions."));
    out += bodies;
    Line(out, QString());
}

void EndingCode(QString& out, const GenContext& ctx)
{
    if (ctx.ending.isEmpty())
        return;
    out += PlusLine();
    Line(out, QStringLiteral("// Ending code proposed by the user (Start)."));
    out += DashLine();
    Line(out, ctx.ending);
    out += DashLine();
    Line(out, QStringLiteral("// Ending code proposed by the user (End)."));
    out += PlusLine();
    Line(out, QString());
}

void DiagramComments(QString& out, const GenContext& ctx)
{
    if (!ctx.opt.PT)
        return;
    out += PlusLine();
    Line(out, QStringLiteral("// Diagram comments (Start)."));
    out += DashLine();
    out += DiagramCommentsBlock(*ctx.diagram);
    out += DashLine();
    Line(out, QStringLiteral("// Diagram comments (End)."));
    out += PlusLine();
    Line(out, QString());
}

void ClosingBanner(QString& out)
{
    out += PlusLine();
    Line(out, QStringLiteral("//  End of the automatic generated C-code."));
    out += PlusLine();
}

}  // namespace orvane::codegen
