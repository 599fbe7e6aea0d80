// The code of one state: its entry check, its during actions and the chain
// of its transitions by priority, as a "case" of the switch dispatcher
// (base indentation 12) or as the body of a state function (base 4).

#include "CodeSections.h"

#include "modLib_StringHandling.h"

namespace orvane::codegen {

using namespace modLib_StringHandling;

namespace {

// A condition that holds nothing but white space is no condition.
bool IsBlankCondition(const QString& c)
{
    for (const QChar ch : c) {
        if (ch != u' ' && ch != u'\t' && ch != u'\r' && ch != u'\n')
            return false;
    }
    return true;
}

// When the condition's last line ends in a "//" comment, the "){" that
// follows it must start a line of its own.
QString ConditionText(const QString& c)
{
    const qsizetype lastCr = c.lastIndexOf(u'\r');
    QString lastLine = c.mid(lastCr + 1);
    lastLine.remove(u'\n');
    if (lastLine.contains(QLatin1String("//")))
        return c + u'\r' + QStringLiteral("){");
    return c + QStringLiteral("){");
}

void EntryCheck(QString& out, const GenContext& ctx, int base, const QString& entry)
{
    Line(out, base, QStringLiteral("// Entry check"));
    Line(out, base, QStringLiteral("if(") + ctx.names.entryFlag + QStringLiteral(" == 0){"));
    Line(out, base + 4, ctx.names.entryFlag + QStringLiteral(" = 1;"));
    Line(out, base + 4, QStringLiteral("// Entry actions"));
    Line(out, IndentText(entry, base + 4, true));
    Line(out, base, QStringLiteral("}"));
}

void NextStateLines(QString& out, const GenContext& ctx, int body, const StateView& target)
{
    Line(out, body, QStringLiteral("// Pointing to the next state."));
    if (ctx.style == Methodology::Pointers)
        Line(out, body, ctx.names.dis + QStringLiteral(" = E_") + target.name + u';');
    else
        Line(out, body, ctx.names.ind + QStringLiteral(" = ") + ctx.Label(target) + u';');
}

void TransitionDebug(QString& out, const GenContext& ctx, int body, const TransitionView& t)
{
    Line(out, body, QStringLiteral("#if defined(FSM_DEBUG)"));
    if (ctx.style == Methodology::Pointers)
        Line(out, body + 4,
             ctx.names.ind + QStringLiteral(" = ") + QString::number(t.targetRank - 1) + u';');
    Line(out, body + 4, ctx.names.debugTrans + QStringLiteral(" = ") + t.priority + u';');
    Line(out, body, QStringLiteral("#endif"));
}

// The "if(...){" chain over the state's transitions, each ended by "}else ".
QString TransitionChain(const GenContext& ctx, const StateView& s, int base, bool hasElse,
                        bool hasEntry)
{
    const int body = base + 4;
    const int outLinks = s.outLinkCount;
    if (s.transitions.empty())
        return {};
    const QString children =
        ChildInitBlock(StateChildren(ctx.documentPath, s.during, s.elseAction), body);
    QString chain;
    int p = 0;
    for (const TransitionView& t : s.transitions) {
        ++p;
        if (!IsBlankCondition(t.condition)) {
            // Continuation lines align under the condition's first character.
            const int continuation = p == 1 ? base + 3 : base + 9;
            chain +=
                QStringLiteral("if(") + IndentText(ConditionText(t.condition), continuation, false);
        } else if (p < outLinks || hasElse) {
            chain += QStringLiteral("if(1){");
        } else {
            chain += u'{';
        }
        if (outLinks > 1)
            chain += QStringLiteral("\t// [") + t.priority + QStringLiteral("].");
        chain += kCrLf;

        bool internal = false;
        bool runExit = false;
        const QString exitCode = ctx.entryExit.ExistExitInThisTrans(s.rank, p, internal, runExit);
        if (!internal)
            chain += children;
        if (runExit) {
            Line(chain, body, QStringLiteral("// Exit actions."));
            Line(chain, IndentText(exitCode, body, true));
        }
        if (!t.action.isEmpty()) {
            Line(chain, body, QStringLiteral("// Transition actions (Meally)."));
            Line(chain, IndentText(t.action, body, true));
        }
        if (t.targetRank != s.rank)
            NextStateLines(chain, ctx, body, ctx.fsm.at(t.targetRank));
        if (ctx.opt.DI)
            TransitionDebug(chain, ctx, body, t);
        if (hasEntry && !internal) {
            Line(chain, body, QStringLiteral("// Reset entry flag"));
            Line(chain, body, ctx.names.entryFlag + QStringLiteral(" = 0;"));
        }
        chain += QString(base, u' ') + QStringLiteral("}else ");
    }
    return chain;
}

// Entry check, during actions and next state selection of one state.
QString StateBody(const GenContext& ctx, const StateView& s, int base)
{
    QString out;
    bool hasEntry = false;
    const QString entry = ctx.entryExit.ExisteEntryAccion(s.rank, hasEntry);
    if (hasEntry)
        EntryCheck(out, ctx, base, entry);
    if (!s.during.isEmpty()) {
        Line(out, base, QStringLiteral("// State actions (Moore)."));
        Line(out, IndentText(s.during, base, true));
    }
    QString elseText;
    if (!s.elseAction.isEmpty()) {
        elseText = QStringLiteral("{ // Else actions.") + kCrLf
                   + IndentText(s.elseAction, base + 4, true) + kCrLf + QString(base, u' ') + u'}';
    }
    QString chain = TransitionChain(ctx, s, base, !elseText.isEmpty(), hasEntry);
    if (!chain.isEmpty()) {
        Line(out, base, QStringLiteral("// Next state selection."));
        if (elseText.isEmpty())
            chain.chop(5);  // the last "else "
        Line(out, base, chain + elseText);
    } else if (!elseText.isEmpty()) {
        Line(out, base, elseText);
    }
    return out;
}

}  // namespace

QString CaseBlock(const GenContext& ctx, const StateView& s)
{
    QString out;
    Line(out, 8, QStringLiteral("case ") + ctx.Label(s) + u':');
    out += StateBody(ctx, s, 12);
    Line(out, 8, QStringLiteral("break;"));
    return out;
}

void SwitchDispatch(QString& out, const GenContext& ctx, bool breakAfterDefault)
{
    Line(out, 4, QStringLiteral("switch(") + ctx.names.ind + QStringLiteral("){"));
    for (const StateView& s : ctx.fsm.states)
        out += CaseBlock(ctx, s);
    if (!ctx.defaultCode.isEmpty()) {
        Line(out, 8, QStringLiteral("default:"));
        Line(out, 12, QStringLiteral("// State index error trap (MISRA requiremment)."));
        Line(out, IndentText(ctx.defaultCode, 12, true));
        if (breakAfterDefault)
            Line(out, 8, QStringLiteral("break;"));
    }
    Line(out, 4, QStringLiteral("}"));
}

QString StateFunction(const GenContext& ctx, const StateView& s)
{
    QString out;
    Line(out, QStringLiteral("static void E_") + s.name + u'(' + ctx.names.params + u')');
    Line(out, QStringLiteral("{"));
    out += StateBody(ctx, s, 4);
    Line(out, QStringLiteral("}"));
    Line(out, QString());
    return out;
}

}  // namespace orvane::codegen
