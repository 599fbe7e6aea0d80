#include "CodeSections.h"

#include "CodeText.h"
#include "Version.h"

namespace orvane::codegen {

using namespace CodeText;

namespace {

const QString kGeneratorVersion = QStringLiteral("v1.2r3");
const QString kNextStateMacro = QStringLiteral("Is_Next_State_Illegal()");

QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

void debugIfOpen(QString& out, int indent)
{
    line(out, indent, QStringLiteral("#if defined(FSM_DEBUG)"));
}

void debugIfClose(QString& out, int indent) { line(out, indent, QStringLiteral("#endif")); }

// The debug lines of the Init function and of a state forcing function that
// sets the state of the given rank.
void forcingDebug(QString& out, const GenContext& ctx, int rank, bool initFunction)
{
    switch (ctx.style) {
    case Methodology::SwitchCase:
    case Methodology::Hierarchical:
        debugReset(out, ctx, 4);
        break;
    case Methodology::DirectPointers:
        // The index variable only mirrors the pointer for the debug names.
        debugIfOpen(out, 4);
        line(out, 8, ctx.names.ind + QStringLiteral(" = ") + QString::number(rank - 1) + u';');
        line(out, 8, ctx.names.debugTrans + QStringLiteral(" = 0;"));
        debugIfClose(out, 4);
        break;
    case Methodology::PointerArray:
        if (initFunction) {
            debugReset(out, ctx, 4);
        } else {
            debugIfOpen(out, 4);
            line(out, 4, ctx.names.debugTrans + QStringLiteral(" = 0;"));
            debugIfClose(out, 4);
        }
        break;
    }
}

QString nextStateCheck(const GenContext& ctx)
{
    const QString head = QStringLiteral("#define ") + kNextStateMacro + QStringLiteral(" (");
    QString out;
    if (ctx.style != Methodology::DirectPointers) {
        const StateView& last = ctx.fsm.at(ctx.fsm.count());
        line(out, head + ctx.names.ind + QStringLiteral(" > ") + ctx.label(last) + u')');
    } else {
        out += head + u' ';
        bool first = true;
        for (const int rank : ctx.fsm.diagramOrder) {
            if (!first)
                out += QStringLiteral(" && \\") + kCrLf + blanks(int(head.size()) + 1);
            first = false;
            out += ctx.names.dis + QStringLiteral(" != ") + ctx.stateReference(ctx.fsm.at(rank));
        }
        line(out, QStringLiteral(" )"));
    }
    line(out, QString());
    return out;
}

// A function of the header and the code text: the heading stands in front
// of its declaration and of its body.
void addFunction(QString& declarations, QString& bodies, const QString& heading,
                 const QString& signature, const QString& inner)
{
    line(declarations, heading);
    line(declarations, signature + u';');
    line(declarations, QString());
    line(bodies, heading);
    line(bodies, signature);
    line(bodies, QStringLiteral("{"));
    bodies += inner;
    line(bodies, QStringLiteral("}"));
    line(bodies, QString());
}

// The inside of a function that forces the FSM into a state.
QString forcingBody(const GenContext& ctx, const StateView& s, bool initFunction)
{
    QString inner;
    line(inner, 4, ctx.stateVariable() + QStringLiteral(" = ") + ctx.stateReference(s) + u';');
    if (ctx.anyEntry)
        line(inner, 4, ctx.names.entryFlag + QStringLiteral(" = 0;"));
    if (ctx.opt.debugInfo)
        forcingDebug(inner, ctx, s.rank, initFunction);
    return inner;
}

QString finalStateTest(const GenContext& ctx)
{
    if (ctx.fsm.finalRanks.empty())
        return QStringLiteral("0");
    QString test;
    for (const int rank : ctx.fsm.finalRanks) {
        if (!test.isEmpty())
            test += QStringLiteral(" ||") + kCrLf + blanks(11);
        test += u'(' + ctx.stateVariable() + QStringLiteral(" == ")
                + ctx.stateReference(ctx.fsm.at(rank)) + u')';
    }
    return test;
}

QString returnLine(const QString& expression)
{
    return blanks(4) + QStringLiteral("return(") + expression + QStringLiteral(");") + kCrLf;
}

}  // namespace

QString GenContext::label(const StateView& s) const { return names.labelPrefix + s.name.toUpper(); }

const QString& GenContext::stateVariable() const
{
    return style == Methodology::DirectPointers ? names.dis : names.ind;
}

QString GenContext::stateReference(const StateView& s) const
{
    return style == Methodology::DirectPointers ? QStringLiteral("E_") + s.name : label(s);
}

QString methodologyLine(Methodology m)
{
    switch (m) {
    case Methodology::SwitchCase:
        return QStringLiteral("// Methodology: Switch-case state. [");
    case Methodology::DirectPointers:
        return QStringLiteral("// Methodology: Pointer to state functions. [");
    case Methodology::PointerArray:
        return QStringLiteral("// Methodology: Array of pointers to state functions. [");
    case Methodology::Hierarchical:
        return QStringLiteral("// Methodology: Hierarchical Switch-case state. [");
    }
    return {};
}

const QString& plusLine()
{
    static const QString line = QStringLiteral("//") + QString(78, u'+') + kCrLf;
    return line;
}

const QString& dashLine()
{
    static const QString line = QStringLiteral("//") + QStringLiteral(" -").repeated(39) + kCrLf;
    return line;
}

void line(QString& out, const QString& text)
{
    out += text;
    out += kCrLf;
}

void line(QString& out, int indent, const QString& text)
{
    out.resize(out.size() + indent, QLatin1Char(' '));  // the blanks, without a temporary
    out += text;
    out += kCrLf;
}

void banner(QString& out, Methodology m)
{
    out += plusLine();
    line(out, QStringLiteral("//  Automatic generated C-code by the application:"));
    line(out, QStringLiteral("//     ") + programTitle());
    out += plusLine();
    line(out, methodologyLine(m) + kGeneratorVersion + u']');
    out += plusLine();
}

QString prototypeLine(const FsmNames& n)
{
    return QStringLiteral("void ") + n.name + u'(' + n.params + QStringLiteral(");");
}

void codeOpening(QString& out, const GenContext& ctx)
{
    banner(out, ctx.style);
    line(out, QStringLiteral("// Exported function: ") + prototypeLine(ctx.names));
    out += plusLine();
    line(out, QString());
}

void headerOpening(QString& out, const GenContext& ctx, const QString& functionComment)
{
    banner(out, ctx.style);
    line(out, QString());
    line(out, functionComment);
    line(out, prototypeLine(ctx.names));
    line(out, QString());
}

void moduleHeaderSection(QString& out, const GenContext& ctx)
{
    if (ctx.moduleHeader.isEmpty())
        return;
    out += plusLine();
    line(out, QStringLiteral("// Module header proposed by the user (Start)."));
    out += dashLine();
    out += commentOutLines(breakCommentMarks(ctx.moduleHeader));
    out += dashLine();
    line(out, QStringLiteral("// Module header proposed by the user (End)."));
    out += plusLine();
    line(out, QString());
}

void userInitSection(QString& out, const GenContext& ctx)
{
    if (ctx.init.isEmpty())
        return;
    out += plusLine();
    line(out, QStringLiteral("// Initialization proposed by the user (Start)."));
    out += dashLine();
    line(out, indentText(ctx.init, 2, true));
    out += dashLine();
    line(out, QStringLiteral("// Initialization proposed by the user (End)."));
    out += plusLine();
}

void autoInitStart(QString& out)
{
    line(out, QString());
    out += plusLine();
    line(out, QStringLiteral("// Automatic initialization (Start)."));
    out += dashLine();
}

void entryFlagVariable(QString& out, const GenContext& ctx, bool lineEnd)
{
    if (!ctx.anyEntry)
        return;
    out += QStringLiteral("static unsigned char ") + ctx.names.entryFlag + QStringLiteral(" = 0;");
    if (lineEnd)
        out += kCrLf;
}

void debugBlock(QString& out, const GenContext& ctx, const QString& extraLine)
{
    if (!ctx.opt.debugInfo)
        return;
    line(out, QString());
    line(out, QStringLiteral("#if defined(FSM_DEBUG)"));
    line(out, 4,
         QStringLiteral("static unsigned char ") + ctx.names.debugTrans + QStringLiteral(" = 0;"));
    if (!extraLine.isEmpty())
        line(out, 4, extraLine);
    debugStateNames(out, ctx);
    line(out, 4,
         QStringLiteral("#define FSM_STATE_NAME()   ") + ctx.names.debugNames + u'[' + ctx.names.ind
             + u']');
    line(out, 4, QStringLiteral("#define FSM_TRANS_NUMBER() ") + ctx.names.debugTrans);
    line(out, 4, QStringLiteral("#define FSM_NAME()         \"") + ctx.names.name + u'"');
    line(out, QStringLiteral("#else"));
    line(out, 4, QStringLiteral("#define FSM_STATE_NAME()"));
    line(out, 4, QStringLiteral("#define FSM_TRANS_NUMBER()"));
    line(out, 4, QStringLiteral("#define FSM_NAME()"));
    line(out, QStringLiteral("#endif"));
    line(out, QString());
}

void debugStateNames(QString& out, const GenContext& ctx)
{
    line(out, 4,
         QStringLiteral("static const char* ") + ctx.names.debugNames + QStringLiteral("[] = {"));
    for (const StateView& s : ctx.fsm.states)
        line(out, 8, u'"' + s.name + QStringLiteral("\","));
    line(out, 4, QStringLiteral("};"));
}

void debugReset(QString& out, const GenContext& ctx, int indent)
{
    debugIfOpen(out, indent);
    line(out, indent + 4, ctx.names.debugTrans + QStringLiteral(" = 0;"));
    debugIfClose(out, indent);
}

void indexLines(QString& out, const GenContext& ctx)
{
    const int n = ctx.fsm.count();
    // The name column fits the longest upper-cased name; the constants are
    // right-aligned in a column of the digits of the largest one.
    const int width = ctx.fsm.longestUpperName + 13 + int(ctx.names.labelPrefix.size());
    int digits = n < 10 ? 1 : n < 100 ? 2 : n < 1000 ? 3 : 4;
    digits = std::max(digits, int(QString::number(std::max(n - 1, 0)).size()));
    for (const StateView& s : ctx.fsm.states) {
        const QString label = QStringLiteral("  #define  ") + ctx.label(s);
        out += padRight(label, width);
        out += padRight(QString(), digits - int(QString::number(s.rank - 1).size()));
        out += QString::number(s.rank - 1);
        out += kCrLf;
    }
}

void indexVariable(QString& out, const GenContext& ctx)
{
    const QString type = ctx.fsm.count() >= 256 ? QStringLiteral("static unsigned int ")
                                                : QStringLiteral("static unsigned char ");
    line(out, type + ctx.names.ind + QStringLiteral(" = ")
                  + ctx.label(ctx.fsm.at(ctx.fsm.lastInitialRank)) + u';');
}

MacroParts buildMacroParts(const GenContext& ctx)
{
    MacroParts parts;
    const QString userCode = ctx.init + ctx.before + ctx.after + ctx.ending;
    if (userCode.contains(kNextStateMacro))
        parts.nextStateCheck = nextStateCheck(ctx);
    const QString& name = ctx.names.name;
    // No Init function for a history FSM unless it is asked for.
    if (!(ctx.opt.history && !ctx.opt.initFunction))
        addFunction(parts.initDeclaration, parts.initBody,
                    QStringLiteral("// Force the FSM to the initial state."),
                    QStringLiteral("void ") + name + QStringLiteral("_Init(void)"),
                    forcingBody(ctx, ctx.fsm.at(ctx.fsm.lastInitialRank), true));
    if (ctx.opt.finalTest)
        addFunction(parts.endDeclaration, parts.endBody,
                    QStringLiteral("// Confirm that the FSM has reached a final state."),
                    QStringLiteral("unsigned char ") + name + QStringLiteral("_End(void)"),
                    returnLine(finalStateTest(ctx)));
    for (const int rank : ctx.fsm.diagramOrder) {
        const StateView& s = ctx.fsm.at(rank);
        if (s.isIn == QLatin1String("Y"))
            addFunction(
                parts.testDeclarations, parts.testBodies,
                QStringLiteral("// Confirm that the FSM has reached the state:[") + s.name
                    + QStringLiteral("]."),
                QStringLiteral("unsigned char ") + name + QStringLiteral("_IsIn_") + s.name
                    + QStringLiteral("(void)"),
                returnLine(ctx.stateVariable() + QStringLiteral(" == ") + ctx.stateReference(s)));
        if (s.goTo == QLatin1String("Y"))
            addFunction(parts.gotoDeclarations, parts.gotoBodies,
                        QStringLiteral("// Force the FSM to the state:[") + s.name
                            + QStringLiteral("]."),
                        QStringLiteral("void ") + name + QStringLiteral("_Goto_") + s.name
                            + QStringLiteral("(void)"),
                        forcingBody(ctx, s, false));
    }
    return parts;
}

void macrosAndFunctions(QString& out, const MacroParts& parts)
{
    if (parts.nextStateCheck.isEmpty() && parts.initBody.isEmpty() && parts.endBody.isEmpty()
        && parts.testBodies.isEmpty() && parts.gotoBodies.isEmpty())
        return;
    line(out, QString());
    line(out, QStringLiteral(" // Macros & functions."));
    out += parts.nextStateCheck;
    out += parts.initBody;
    out += parts.endBody;
    out += parts.testBodies;
    out += parts.gotoBodies;
}

void headerFunctions(QString& out, const GenContext& ctx, const MacroParts& parts)
{
    out += parts.initDeclaration;
    historyMacro(out, ctx);
    out += parts.endDeclaration;
    out += parts.testDeclarations;
    out += parts.gotoDeclarations;
}

void historyMacro(QString& out, const GenContext& ctx)
{
    const QString macro = QStringLiteral("#define _") + ctx.names.name + QStringLiteral("_Init()");
    if (ctx.opt.history) {
        line(out, QStringLiteral("// This is a history FSM."));
        line(out, macro + QStringLiteral("  {}"));
    } else {
        line(out, QStringLiteral("// This is not a history FSM."));
        line(out, macro + QStringLiteral("  {") + ctx.names.name
                      + QStringLiteral("_Init(); /* Children: */ ")
                      + childrenInitList(*ctx.diagram, ctx.documentPath, *ctx.children) + u'}');
    }
    line(out, QString());
}

void exitFunctionDeclarations(QString& out, const GenContext& ctx)
{
    const QString declarations = ctx.entryExit.exitFunctionDeclarations();
    if (declarations.isEmpty())
        return;
    line(out, QString());
    line(out, QStringLiteral(" // Definition of Exit_functions."));
    line(out, indentText(declarations, 2, true));
}

void dispatcherHeading(QString& out, const GenContext& ctx)
{
    out += dashLine();
    line(out, QStringLiteral("// Automatic initialization (End)."));
    out += plusLine();
    line(out, QString());
    out += plusLine();
    line(out, QStringLiteral("// FSM dispatcher function to be called by the O.S."));
    out += plusLine();
    functionDescription(out, ctx);
    line(out, QStringLiteral("void ") + ctx.names.name + u'(' + ctx.names.params + u')');
    line(out, QStringLiteral("{"));
}

void functionDescription(QString& out, const GenContext& ctx)
{
    if (ctx.functionHeader.isEmpty())
        return;
    out += commentOutLines(breakCommentMarks(ctx.functionHeader));
    out += plusLine();
}

void beforeActions(QString& out, const GenContext& ctx)
{
    if (!ctx.before.isEmpty()) {
        line(out, 4, QStringLiteral("// User actions to be executed before analyse the state."));
        line(out, indentText(ctx.before, 4, true));
        line(out, QString());
    }
    if (ctx.opt.debugInfo)
        debugReset(out, ctx, 4);
}

void afterActions(QString& out, const GenContext& ctx)
{
    if (!ctx.after.isEmpty()) {
        line(out, QString());
        line(out, 4, QStringLiteral("// User actions to be executed after analyse the state."));
        line(out, indentText(ctx.after, 4, true));
    }
    line(out, QStringLiteral("}"));
    line(out, QString());
}

void exitFunctionBodies(QString& out, const GenContext& ctx)
{
    const QString bodies = ctx.entryExit.exitFunctionDefinitions();
    if (bodies.isEmpty())
        return;
    line(out, QString());
    line(out, QStringLiteral(" // Implementation of Exit_functions."));
    out += bodies;
    line(out, QString());
}

void endingCode(QString& out, const GenContext& ctx)
{
    if (ctx.ending.isEmpty())
        return;
    out += plusLine();
    line(out, QStringLiteral("// Ending code proposed by the user (Start)."));
    out += dashLine();
    line(out, ctx.ending);
    out += dashLine();
    line(out, QStringLiteral("// Ending code proposed by the user (End)."));
    out += plusLine();
    line(out, QString());
}

void diagramComments(QString& out, const GenContext& ctx)
{
    if (!ctx.opt.printRemarks)
        return;
    out += plusLine();
    line(out, QStringLiteral("// Diagram comments (Start)."));
    out += dashLine();
    out += diagramCommentsBlock(*ctx.diagram);
    out += dashLine();
    line(out, QStringLiteral("// Diagram comments (End)."));
    out += plusLine();
    line(out, QString());
}

void closingBanner(QString& out)
{
    out += plusLine();
    line(out, QStringLiteral("//  End of the automatic generated C-code."));
    out += plusLine();
}

}  // namespace orvane::codegen
