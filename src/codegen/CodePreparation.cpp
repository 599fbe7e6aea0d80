#include "CodePreparation.h"

#include "Messenger.h"
#include "modC_CodeGen.h"
#include "modGrafoInfo.h"
#include "modLib_StringHandling.h"
#include "modStrings.h"

namespace orvane::codegen {

namespace {

using modLib_StringHandling::ParameterNames;
using modLib_StringHandling::TrimBlanks;

void ReadConfiguration(GenContext& ctx, const Diagram& d)
{
    using namespace modGrafoInfo;
    const QStringList f = modStrings::SplitFields(d.tag(), kGraphFieldCount);
    FsmNames& n = ctx.names;
    n.name = f[kGraphName];
    n.params = TrimBlanks(f[kGraphParams]);
    if (n.params.isEmpty())
        n.params = QStringLiteral("void");
    n.args = ParameterNames(n.params);
    n.ind = QStringLiteral("ind_") + n.name;
    n.dis = QStringLiteral("Dis_") + n.name;
    ctx.init = f[kGraphInit];
    ctx.before = f[kGraphBefore];
    ctx.after = f[kGraphAfter];
    ctx.ending = f[kGraphFinal];
    ctx.moduleHeader = f[kGraphModuleHeader];
    ctx.functionHeader = f[kGraphFunctionHeader];
    ctx.defaultCode = f[kGraphDefault];
}

bool CheckName(const GenContext& ctx, Messenger& messenger)
{
    if (!ctx.names.name.isEmpty())
        return true;
    messenger.message(modC_CodeGen::kMsgNoName);
    return false;
}

bool CheckInitial(const GenContext& ctx, Messenger& messenger)
{
    if (ctx.fsm.lastInitialRank != 0)
        return true;
    messenger.message(modC_CodeGen::kMsgNoInitial);
    return false;
}

bool RunEntryExit(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    bool anyExit = false;
    int errors = 0;
    ctx.entryExit.ProcesarEntryExit(d, ctx.anyEntry, anyExit, errors, messenger);
    if (errors == 0)
        return true;
    messenger.message(modC_CodeGen::kMsgEntryExit);
    return false;
}

}  // namespace

GenContext PrepareContext(const Diagram& d, const QString& documentPath, const GenOptions& opt,
                          Methodology style)
{
    GenContext ctx;
    ctx.diagram = &d;
    ctx.documentPath = documentPath;
    ctx.opt = opt;
    ctx.style = style;
    ReadConfiguration(ctx, d);
    return ctx;
}

bool CheckAndScan(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    if (!CheckName(ctx, messenger))
        return false;
    ctx.fsm = ScanFsm(d);
    if (ctx.style == Methodology::Pointers)
        return RunEntryExit(ctx, d, messenger) && CheckInitial(ctx, messenger);
    return CheckInitial(ctx, messenger) && RunEntryExit(ctx, d, messenger);
}

}  // namespace orvane::codegen
