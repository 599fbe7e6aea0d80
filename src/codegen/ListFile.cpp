// The list file: the configuration, then every state by rank with its
// actions and its transitions by priority, as tag lines followed by their
// indented values.

#include "CodeSections.h"
#include "FsmView.h"
#include "modC_CodeGen.h"
#include "modFsmOrder.h"
#include "modGrafoInfo.h"
#include "modLib_StringHandling.h"
#include "modStrings.h"

namespace orvane::modC_CodeGen {

using namespace modLib_StringHandling;
using codegen::Line;

namespace {

void Value(QString& out, const QString& value, int indent)
{
    Line(out, IndentText(value, indent, true));
}

void Tag(QString& out, int indent, const QString& tag, const QString& value, int valueIndent)
{
    Line(out, indent, tag);
    Value(out, value, valueIndent);
}

// A tag whose value lines are written only when the value is not empty.
void OptionalTag(QString& out, int indent, const QString& tag, const QString& value,
                 int valueIndent)
{
    Line(out, indent, tag);
    if (!value.isEmpty())
        Value(out, value, valueIndent);
}

void Configuration(QString& out, const QStringList& f)
{
    using namespace modGrafoInfo;
    Tag(out, 0, QStringLiteral("[FSM name]"), f[kGraphName], 4);
    Tag(out, 0, QStringLiteral("[List version]"), QStringLiteral("v1.2r3"), 4);
    OptionalTag(out, 0, QStringLiteral("[Parameters]"), f[kGraphParams], 4);
    Line(out, QStringLiteral("[Config]"));
    Value(out,
          QStringLiteral("[formatCompilacion][AutoSizeNodes][FixedOnlyFont][HideComments]"
                         "[FunctionInit][FunctionEnd][DebugInfo][AnsiComment][PrintTextBoxes]"
                         "[HistoryFsm][UseBitFields]"),
          2);
    Value(out, f[kGraphOptions], 4);
    Tag(out, 0, QStringLiteral("[Signature]"), f[kGraphSignature], 4);
    OptionalTag(out, 0, QStringLiteral("[Module header]"), f[kGraphModuleHeader], 4);
    OptionalTag(out, 0, QStringLiteral("[Initialization]"), f[kGraphInit], 4);
    OptionalTag(out, 0, QStringLiteral("[Function header]"), f[kGraphFunctionHeader], 4);
    OptionalTag(out, 0, QStringLiteral("[Global actions before dispatcher]"), f[kGraphBefore], 4);
    OptionalTag(out, 0, QStringLiteral("[Global actions after dispatcher]"), f[kGraphAfter], 4);
    OptionalTag(out, 0, QStringLiteral("[Global ending actions]"), f[kGraphFinal], 4);
}

void Transition(QString& out, const codegen::FsmView& fsm, const codegen::StateView& s,
                const codegen::TransitionView& t)
{
    Tag(out, 6, QStringLiteral("[Priority]"), TrimBlanks(t.priority), 10);
    OptionalTag(out, 6, QStringLiteral("[Condition]"), t.condition, 10);
    OptionalTag(out, 8, QStringLiteral("[Meally actions]"), t.action, 12);
    Tag(out, 8, QStringLiteral("[Next state]"), fsm.at(t.targetRank).name, 12);
    if (t.targetRank == s.rank)
        Tag(out, 10, QStringLiteral("[EntryExitOnSelfTrans]"), t.selfFlag, 14);
}

void State(QString& out, const codegen::FsmView& fsm, const codegen::StateView& s)
{
    Tag(out, 2, QStringLiteral("[Index]"), QString::number(modFsmOrder::LenientIndex(s.indexText)),
        6);
    Tag(out, 4, QStringLiteral("[Nombre]"), s.name, 8);
    OptionalTag(out, 4, QStringLiteral("[Generate Goto]"), s.goTo, 8);
    OptionalTag(out, 4, QStringLiteral("[Generate IsIn]"), s.isIn, 8);
    OptionalTag(out, 4, QStringLiteral("[Entry actions]"), s.entry, 8);
    OptionalTag(out, 4, QStringLiteral("[Moore actions]"), s.during, 8);
    OptionalTag(out, 4, QStringLiteral("[Else actions]"), s.elseAction, 8);
    OptionalTag(out, 4, QStringLiteral("[Exit actions]"), s.exit, 8);
    Line(out, 4, QStringLiteral("[Transitions]"));
    for (const codegen::TransitionView& t : s.transitions)
        Transition(out, fsm, s, t);
}

}  // namespace

QString GenerateListFile(const Diagram& d)
{
    const QStringList f = modStrings::SplitFields(d.tag(), modGrafoInfo::kGraphFieldCount);
    const codegen::FsmView fsm = codegen::ScanFsm(d);
    QString out;
    Line(out, QStringLiteral("[FSM LIST FILE START]"));
    Configuration(out, f);
    Line(out, QStringLiteral("[Init state]"));
    if (fsm.firstInitialRank != 0)
        Value(out, fsm.at(fsm.firstInitialRank).name, 4);
    Line(out, QStringLiteral("[Final states]"));
    for (const int rank : fsm.finalRanks)
        Value(out, fsm.at(rank).name, 4);
    Line(out, QStringLiteral("[Nodes]"));
    for (const codegen::StateView& s : fsm.states)
        State(out, fsm, s);
    out += QStringLiteral("[FSM LIST FILE END]");
    return out;
}

}  // namespace orvane::modC_CodeGen
