#include "CodePreparation.h"

#include "Messenger.h"
#include "FlatGenerators.h"
#include "MachineInfo.h"
#include "States.h"
#include "CodeText.h"

namespace orvane::codegen {

namespace {

using CodeText::parameterNames;
using CodeText::trimBlanks;

void readConfiguration(GenContext& ctx, const Diagram& d)
{
    using namespace MachineInfo;
    const MachineConfig f = MachineConfig::fromText(d.tag());
    FsmNames& n = ctx.names;
    n.name = f.name;
    n.params = trimBlanks(f.params);
    if (n.params.isEmpty())
        n.params = QStringLiteral("void");
    n.args = parameterNames(n.params);
    n.ind = QStringLiteral("ind_") + n.name;
    n.dis = QStringLiteral("Dis_") + n.name;
    ctx.init = f.init;
    ctx.before = f.before;
    ctx.after = f.after;
    ctx.ending = f.finalActions;
    ctx.moduleHeader = f.moduleHeader;
    ctx.functionHeader = f.functionHeader;
    ctx.defaultCode = f.defaultAction;
}

bool checkName(const GenContext& ctx, Messenger& messenger)
{
    if (!ctx.names.name.isEmpty())
        return true;
    messenger.message(FlatGenerators::kMsgNoName);
    return false;
}

bool checkStateNames(const Diagram& d, Messenger& messenger)
{
    const auto [first, second] = States::firstNameClash(d);
    if (!first)
        return true;
    messenger.message(
        FlatGenerators::kMsgSameStateName.arg(stateRecord(first).name, stateRecord(second).name));
    return false;
}

bool checkInitial(const GenContext& ctx, Messenger& messenger)
{
    if (ctx.fsm.lastInitialRank != 0)
        return true;
    messenger.message(FlatGenerators::kMsgNoInitial);
    return false;
}

bool runEntryExit(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    bool anyExit = false;
    int errors = 0;
    ctx.entryExit.analyse(d, ctx.anyEntry, anyExit, errors, messenger);
    if (errors == 0)
        return true;
    messenger.message(FlatGenerators::kMsgEntryExit);
    return false;
}

}  // namespace

GenContext prepareContext(const Diagram& d, const QString& documentPath, const GenOptions& opt,
                          Methodology style, const ChildDocumentSource& children)
{
    GenContext ctx;
    ctx.diagram = &d;
    ctx.documentPath = documentPath;
    ctx.children = &children;
    ctx.opt = opt;
    ctx.style = style;
    readConfiguration(ctx, d);
    return ctx;
}

bool checkAndScan(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    if (!checkName(ctx, messenger) || !checkStateNames(d, messenger))
        return false;
    ctx.fsm = scanFsm(d);
    if (ctx.style == Methodology::DirectPointers)
        return runEntryExit(ctx, d, messenger) && checkInitial(ctx, messenger);
    return checkInitial(ctx, messenger) && runEntryExit(ctx, d, messenger);
}

}  // namespace orvane::codegen
