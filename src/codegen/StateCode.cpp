// The code of one state: its entry check, its during actions and the chain
// of its transitions by priority, as a "case" of the switch dispatcher
// (base indentation 12) or as the body of a state function (base 4).

#include "CodeSections.h"

#include "CodeText.h"

namespace orvane::codegen {

using namespace CodeText;

namespace {

// A condition that holds nothing but white space is no condition.
bool isBlankCondition(const QString& c)
{
    for (const QChar ch : c) {
        if (ch != u' ' && ch != u'\t' && ch != u'\r' && ch != u'\n')
            return false;
    }
    return true;
}

// When the condition's last line ends in a "//" comment, the "){" that
// follows it must start a line of its own.
QString conditionText(const QString& c)
{
    const qsizetype lastCr = c.lastIndexOf(u'\r');
    QString lastLine = c.mid(lastCr + 1);
    lastLine.remove(u'\n');
    if (lastLine.contains(QLatin1String("//")))
        return c + u'\r' + QStringLiteral("){");
    return c + QStringLiteral("){");
}

void entryCheck(QString& out, const GenContext& ctx, int base, const QString& entry)
{
    line(out, base, QStringLiteral("// Entry check"));
    line(out, base, QStringLiteral("if(") + ctx.names.entryFlag + QStringLiteral(" == 0){"));
    line(out, base + 4, ctx.names.entryFlag + QStringLiteral(" = 1;"));
    line(out, base + 4, QStringLiteral("// Entry actions"));
    indentedLine(out, entry, base + 4, true);
    line(out, base, QStringLiteral("}"));
}

void nextStateLines(QString& out, const GenContext& ctx, int body, const StateView& target)
{
    line(out, body, QStringLiteral("// Pointing to the next state."));
    if (ctx.style == Methodology::DirectPointers)
        line(out, body, ctx.names.dis + QStringLiteral(" = E_") + target.name + u';');
    else
        line(out, body, ctx.names.ind + QStringLiteral(" = ") + ctx.label(target) + u';');
}

void transitionDebug(QString& out, const GenContext& ctx, int body, const TransitionView& t)
{
    line(out, body, QStringLiteral("#if defined(FSM_DEBUG)"));
    if (ctx.style == Methodology::DirectPointers)
        line(out, body + 4,
             ctx.names.ind + QStringLiteral(" = ") + QString::number(t.targetRank - 1) + u';');
    line(out, body + 4, ctx.names.debugTrans + QStringLiteral(" = ") + t.priority + u';');
    line(out, body, QStringLiteral("#endif"));
}

// Appends the "if(...){" chain over the state's transitions, each ended by
// "}else ". Straight into the code: an action of megabytes is copied once.
void appendTransitionChain(QString& out, const GenContext& ctx, const StateView& s, int base,
                           bool hasElse, bool hasEntry)
{
    const int body = base + 4;
    const int outLinks = s.outLinkCount;
    const QString children = childInitBlock(
        stateChildren(ctx.documentPath, s.during, s.elseAction, *ctx.children), body);
    int p = 0;
    for (const TransitionView& t : s.transitions) {
        ++p;
        if (!isBlankCondition(t.condition)) {
            // Continuation lines align under the condition's first character.
            const int continuation = p == 1 ? base + 3 : base + 9;
            out +=
                QStringLiteral("if(") + indentText(conditionText(t.condition), continuation, false);
        } else if (p < outLinks || hasElse) {
            out += QStringLiteral("if(1){");
        } else {
            out += u'{';
        }
        if (outLinks > 1)
            out += QStringLiteral("\t// [") + t.priority + QStringLiteral("].");
        out += kCrLf;

        bool internal = false;
        bool runExit = false;
        const QString exitCode = ctx.entryExit.transitionExit(s.rank, p, internal, runExit);
        if (!internal)
            out += children;
        if (runExit) {
            line(out, body, QStringLiteral("// Exit actions."));
            indentedLine(out, exitCode, body, true);
        }
        if (!t.action.isEmpty()) {
            line(out, body, QStringLiteral("// Transition actions (Meally)."));
            indentedLine(out, t.action, body, true);
        }
        if (t.targetRank != s.rank)
            nextStateLines(out, ctx, body, ctx.fsm.at(t.targetRank));
        if (ctx.opt.debugInfo)
            transitionDebug(out, ctx, body, t);
        if (hasEntry && !internal) {
            line(out, body, QStringLiteral("// Reset entry flag"));
            line(out, body, ctx.names.entryFlag + QStringLiteral(" = 0;"));
        }
        out += QString(base, u' ') + QStringLiteral("}else ");
    }
}

// Appends the entry check, during actions and next state selection of one
// state.
void stateBody(QString& out, const GenContext& ctx, const StateView& s, int base)
{
    bool hasEntry = false;
    const QString entry = ctx.entryExit.entryAction(s.rank, hasEntry);
    if (hasEntry)
        entryCheck(out, ctx, base, entry);
    if (!s.during.isEmpty()) {
        line(out, base, QStringLiteral("// State actions (Moore)."));
        indentedLine(out, s.during, base, true);
    }
    QString elseText;
    if (!s.elseAction.isEmpty()) {
        elseText = QStringLiteral("{ // Else actions.") + kCrLf
                   + indentText(s.elseAction, base + 4, true) + kCrLf + QString(base, u' ') + u'}';
    }
    if (!s.transitions.empty()) {
        line(out, base, QStringLiteral("// Next state selection."));
        out.resize(out.size() + base, u' ');
        appendTransitionChain(out, ctx, s, base, !elseText.isEmpty(), hasEntry);
        if (elseText.isEmpty())
            out.chop(5);  // the last "else "
        else
            out += elseText;
        out += kCrLf;
    } else if (!elseText.isEmpty()) {
        line(out, base, elseText);
    }
}

}  // namespace

void caseBlock(QString& out, const GenContext& ctx, const StateView& s)
{
    line(out, 8, QStringLiteral("case ") + ctx.label(s) + u':');
    stateBody(out, ctx, s, 12);
    line(out, 8, QStringLiteral("break;"));
}

void switchDispatch(QString& out, const GenContext& ctx, bool breakAfterDefault)
{
    line(out, 4, QStringLiteral("switch(") + ctx.names.ind + QStringLiteral("){"));
    for (const StateView& s : ctx.fsm.states)
        caseBlock(out, ctx, s);
    if (!ctx.defaultCode.isEmpty()) {
        line(out, 8, QStringLiteral("default:"));
        line(out, 12, QStringLiteral("// State index error trap (MISRA requiremment)."));
        indentedLine(out, ctx.defaultCode, 12, true);
        if (breakAfterDefault)
            line(out, 8, QStringLiteral("break;"));
    }
    line(out, 4, QStringLiteral("}"));
}

void stateFunction(QString& out, const GenContext& ctx, const StateView& s)
{
    line(out, QStringLiteral("static void E_") + s.name + u'(' + ctx.names.params + u')');
    line(out, QStringLiteral("{"));
    stateBody(out, ctx, s, 4);
    line(out, QStringLiteral("}"));
    line(out, QString());
}

}  // namespace orvane::codegen
