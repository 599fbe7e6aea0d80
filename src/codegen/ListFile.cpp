// The list file: the configuration, then every state by rank with its
// actions and its transitions by priority, as tag lines followed by their
// indented values.

#include "CodeSections.h"
#include "FsmView.h"
#include "FlatGenerators.h"
#include "Ranking.h"
#include "MachineInfo.h"
#include "CodeText.h"
#include "Texts.h"

namespace orvane::FlatGenerators {

using namespace CodeText;
using codegen::line;

namespace {

void valueLines(QString& out, const QString& value, int indent)
{
    indentedLine(out, value, indent, true);
}

void tag(QString& out, int indent, const QString& tag, const QString& value, int valueIndent)
{
    line(out, indent, tag);
    valueLines(out, value, valueIndent);
}

// A tag whose value lines are written only when the value is not empty.
void optionalTag(QString& out, int indent, const QString& tag, const QString& value,
                 int valueIndent)
{
    line(out, indent, tag);
    if (!value.isEmpty())
        valueLines(out, value, valueIndent);
}

void configuration(QString& out, const MachineConfig& f)
{
    using namespace MachineInfo;
    tag(out, 0, QStringLiteral("[FSM name]"), f.name, 4);
    tag(out, 0, QStringLiteral("[List version]"), QStringLiteral("v1.2r3"), 4);
    optionalTag(out, 0, QStringLiteral("[Parameters]"), f.params, 4);
    line(out, QStringLiteral("[Config]"));
    valueLines(out,
               QStringLiteral("[formatCompilacion][AutoSizeNodes][FixedOnlyFont][HideComments]"
                              "[FunctionInit][FunctionEnd][DebugInfo][AnsiComment][PrintTextBoxes]"
                              "[HistoryFsm][UseBitFields]"),
               2);
    valueLines(out, f.options, 4);
    tag(out, 0, QStringLiteral("[Signature]"), f.signature, 4);
    optionalTag(out, 0, QStringLiteral("[Module header]"), f.moduleHeader, 4);
    optionalTag(out, 0, QStringLiteral("[Initialization]"), f.init, 4);
    optionalTag(out, 0, QStringLiteral("[Function header]"), f.functionHeader, 4);
    optionalTag(out, 0, QStringLiteral("[Global actions before dispatcher]"), f.before, 4);
    optionalTag(out, 0, QStringLiteral("[Global actions after dispatcher]"), f.after, 4);
    optionalTag(out, 0, QStringLiteral("[Global ending actions]"), f.finalActions, 4);
}

void transitionLines(QString& out, const codegen::FsmView& fsm, const codegen::StateView& s,
                     const codegen::TransitionView& t)
{
    tag(out, 6, QStringLiteral("[Priority]"), trimBlanks(t.priority), 10);
    optionalTag(out, 6, QStringLiteral("[Condition]"), t.condition, 10);
    optionalTag(out, 8, QStringLiteral("[Meally actions]"), t.action, 12);
    tag(out, 8, QStringLiteral("[Next state]"), fsm.at(t.targetRank).name, 12);
    if (t.targetRank == s.rank)
        tag(out, 10, QStringLiteral("[EntryExitOnSelfTrans]"), t.selfFlag, 14);
}

void stateLines(QString& out, const codegen::FsmView& fsm, const codegen::StateView& s)
{
    tag(out, 2, QStringLiteral("[Index]"), QString::number(Ranking::lenientIndex(s.indexText)), 6);
    tag(out, 4, QStringLiteral("[Nombre]"), s.name, 8);
    optionalTag(out, 4, QStringLiteral("[Generate Goto]"), s.goTo, 8);
    optionalTag(out, 4, QStringLiteral("[Generate IsIn]"), s.isIn, 8);
    optionalTag(out, 4, QStringLiteral("[Entry actions]"), s.entry, 8);
    optionalTag(out, 4, QStringLiteral("[Moore actions]"), s.during, 8);
    optionalTag(out, 4, QStringLiteral("[Else actions]"), s.elseAction, 8);
    optionalTag(out, 4, QStringLiteral("[Exit actions]"), s.exit, 8);
    line(out, 4, QStringLiteral("[Transitions]"));
    for (const codegen::TransitionView& t : s.transitions)
        transitionLines(out, fsm, s, t);
}

}  // namespace

QString generateListFile(const Diagram& d)
{
    const MachineConfig f = MachineConfig::fromText(d.tag());
    const codegen::FsmView fsm = codegen::scanFsm(d);
    QString out;
    line(out, QStringLiteral("[FSM LIST FILE START]"));
    configuration(out, f);
    line(out, QStringLiteral("[Init state]"));
    if (fsm.firstInitialRank != 0)
        valueLines(out, fsm.at(fsm.firstInitialRank).name, 4);
    line(out, QStringLiteral("[Final states]"));
    for (const int rank : fsm.finalRanks)
        valueLines(out, fsm.at(rank).name, 4);
    line(out, QStringLiteral("[Nodes]"));
    for (const codegen::StateView& s : fsm.states)
        stateLines(out, fsm, s);
    out += QStringLiteral("[FSM LIST FILE END]");
    return out;
}

}  // namespace orvane::FlatGenerators
