#include "modC_CodeGen.h"

#include "CodeSections.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "modGrafoInfo.h"
#include "modLib_StringHandling.h"
#include "modStrings.h"

namespace orvane::modC_CodeGen {

using namespace codegen;
using namespace modLib_StringHandling;

namespace {

// The configuration texts and the identifiers derived from them.
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

GenContext Prepare(const Diagram& d, const QString& documentPath, const GenOptions& opt,
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

bool CheckName(const GenContext& ctx, Messenger& messenger)
{
    if (!ctx.names.name.isEmpty())
        return true;
    messenger.message(kMsgNoName);
    return false;
}

bool CheckInitial(const GenContext& ctx, Messenger& messenger)
{
    if (ctx.fsm.lastInitialRank != 0)
        return true;
    messenger.message(kMsgNoInitial);
    return false;
}

bool RunEntryExit(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    bool anyExit = false;
    int errors = 0;
    ctx.entryExit.ProcesarEntryExit(d, ctx.anyEntry, anyExit, errors, messenger);
    if (errors == 0)
        return true;
    messenger.message(kMsgEntryExit);
    return false;
}

QString Finish(const GenContext& ctx, QString code, QString header)
{
    if (ctx.opt.AC) {
        code = ToAnsiComments(code, 80, true);
        header = ToAnsiComments(header, 80, true);
    }
    return code + modStrings::kSep + header + modStrings::kSep;
}

void StateFunctionDeclarations(QString& out, const GenContext& ctx)
{
    for (const StateView& s : ctx.fsm.states)
        Line(out, QStringLiteral("  static void E_") + s.name + u'(' + ctx.names.params + QStringLiteral(");"));
}

void StateFunctions(QString& out, const GenContext& ctx)
{
    Line(out, QString());
    out += PlusLine();
    Line(out, QStringLiteral("// States functions."));
    out += PlusLine();
    for (const StateView& s : ctx.fsm.states)
        out += StateFunction(ctx, s);
}

// The sections after the dispatcher, common to the three methodologies.
void ClosingSections(QString& out, const GenContext& ctx)
{
    ExitFunctionBodies(out, ctx);
    EndingCode(out, ctx);
    DiagramComments(out, ctx);
    ClosingBanner(out);
}

QString SwitchCase(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    if (!CheckName(ctx, messenger))
        return {};
    ctx.fsm = ScanFsm(d);
    if (!CheckInitial(ctx, messenger) || !RunEntryExit(ctx, d, messenger))
        return {};
    const MacroParts parts = BuildMacroParts(ctx);

    QString code;
    CodeOpening(code, ctx);
    ModuleHeaderSection(code, ctx);
    UserInitSection(code, ctx);
    AutoInitStart(code);
    Line(code, QStringLiteral(" // States index."));
    IndexLines(code, ctx);
    Line(code, QString());
    Line(code, QStringLiteral(" // Index variable."));
    IndexVariable(code, ctx);
    EntryFlagVariable(code, ctx, true);
    DebugBlock(code, ctx, QString());
    MacrosAndFunctions(code, parts);
    ExitFunctionDeclarations(code, ctx);
    DispatcherHeading(code, ctx);
    BeforeActions(code, ctx);
    Line(code, 4, QStringLiteral("// Next state analyser."));
    Line(code, 4, QStringLiteral("switch(") + ctx.names.ind + QStringLiteral("){"));
    for (const StateView& s : ctx.fsm.states)
        code += CaseBlock(ctx, s);
    if (!ctx.defaultCode.isEmpty()) {
        Line(code, 8, QStringLiteral("default:"));
        Line(code, 12, QStringLiteral("// State index error trap (MISRA requiremment)."));
        Line(code, IndentText(ctx.defaultCode, 12, true));
    }
    Line(code, 4, QStringLiteral("}"));
    AfterActions(code, ctx);
    ClosingSections(code, ctx);

    QString header;
    HeaderOpening(header, ctx, QStringLiteral("// FSM function."));
    HeaderFunctions(header, ctx, parts);
    return Finish(ctx, code, header);
}

QString Pointers(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    if (!CheckName(ctx, messenger))
        return {};
    ctx.fsm = ScanFsm(d);
    if (!RunEntryExit(ctx, d, messenger) || !CheckInitial(ctx, messenger))
        return {};
    const StateView& initial = ctx.fsm.at(ctx.fsm.lastInitialRank);
    const MacroParts parts = BuildMacroParts(ctx);

    QString code;
    CodeOpening(code, ctx);
    ModuleHeaderSection(code, ctx);
    UserInitSection(code, ctx);
    AutoInitStart(code);
    Line(code, QStringLiteral(" // States functions declaration."));
    StateFunctionDeclarations(code, ctx);
    Line(code, QString());
    Line(code, QStringLiteral(" // State function pointer."));
    Line(code, QStringLiteral("  static void (*") + ctx.names.dis + QStringLiteral(")(") + ctx.names.params
                   + QStringLiteral(")= E_") + initial.name + u';');
    EntryFlagVariable(code, ctx, true);
    DebugBlock(code, ctx,
               QStringLiteral("static unsigned int ") + ctx.names.ind + QStringLiteral(" = ")
                   + QString::number(initial.rank - 1) + u';');
    MacrosAndFunctions(code, parts);
    ExitFunctionDeclarations(code, ctx);
    DispatcherHeading(code, ctx);
    BeforeActions(code, ctx);
    Line(code, 4, QStringLiteral("// Next state analyser."));
    Line(code, 4, ctx.names.dis + u'(' + ctx.names.args + QStringLiteral(");"));
    AfterActions(code, ctx);
    StateFunctions(code, ctx);
    ClosingSections(code, ctx);

    QString header;
    HeaderOpening(header, ctx, QStringLiteral("// FSM function."));
    HeaderFunctions(header, ctx, parts);
    return Finish(ctx, code, header);
}

QString PointerArray(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    if (!CheckName(ctx, messenger))
        return {};
    ctx.fsm = ScanFsm(d);
    if (!CheckInitial(ctx, messenger) || !RunEntryExit(ctx, d, messenger))
        return {};
    const MacroParts parts = BuildMacroParts(ctx);

    QString code;
    CodeOpening(code, ctx);
    ModuleHeaderSection(code, ctx);
    UserInitSection(code, ctx);
    AutoInitStart(code);
    Line(code, QStringLiteral(" // States index."));
    IndexLines(code, ctx);
    Line(code, QString());
    Line(code, QStringLiteral(" // States functions declaration."));
    StateFunctionDeclarations(code, ctx);
    Line(code, QString());
    Line(code, QStringLiteral(" // Pointer array to states functions."));
    Line(code, QStringLiteral("  #pragma INTO_ROM"));
    Line(code, QStringLiteral("  static void (*const ") + ctx.names.dis + QStringLiteral("[])(")
                   + ctx.names.params + QStringLiteral(")= {"));
    for (const StateView& s : ctx.fsm.states) {
        const bool last = s.rank == ctx.fsm.count();
        Line(code, 8, QStringLiteral("E_") + s.name + (last ? QString() : QStringLiteral(",")));
    }
    Line(code, QStringLiteral("  };"));
    Line(code, QString());
    Line(code, QStringLiteral(" // Index variable."));
    IndexVariable(code, ctx);
    // The entry flag runs on into whatever follows, as this layout always had.
    EntryFlagVariable(code, ctx, false);
    DebugBlock(code, ctx, QString());
    MacrosAndFunctions(code, parts);
    ExitFunctionDeclarations(code, ctx);
    DispatcherHeading(code, ctx);
    BeforeActions(code, ctx);
    Line(code, 4, QStringLiteral("// Next state analyser."));
    Line(code, 4, ctx.names.dis + u'[' + ctx.names.ind + QStringLiteral("](") + ctx.names.args
                      + QStringLiteral(");"));
    AfterActions(code, ctx);
    StateFunctions(code, ctx);
    ClosingSections(code, ctx);

    QString header;
    HeaderOpening(header, ctx, QStringLiteral("// FSM function"));
    HeaderFunctions(header, ctx, parts);
    return Finish(ctx, code, header);
}

GenOptions Options(bool FI, bool FE, bool HF, bool DI, bool AC, bool PT)
{
    GenOptions o;
    o.FI = FI;
    o.FE = FE;
    o.HF = HF;
    o.DI = DI;
    o.AC = AC;
    o.PT = PT;
    return o;
}

}  // namespace

QString GenerateCodeSwitchCase(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                               bool HF, bool DI, bool AC, bool PT, Messenger& messenger)
{
    GenContext ctx = Prepare(d, documentPath, Options(FI, FE, HF, DI, AC, PT), Methodology::SwitchCase);
    return SwitchCase(ctx, d, messenger);
}

QString GenerateCodePointers(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                             bool HF, bool DI, bool AC, bool PT, Messenger& messenger)
{
    GenContext ctx = Prepare(d, documentPath, Options(FI, FE, HF, DI, AC, PT), Methodology::Pointers);
    return Pointers(ctx, d, messenger);
}

QString GenerateCodePointerArray(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                                 bool HF, bool DI, bool AC, bool PT, Messenger& messenger)
{
    GenContext ctx =
        Prepare(d, documentPath, Options(FI, FE, HF, DI, AC, PT), Methodology::PointerArray);
    return PointerArray(ctx, d, messenger);
}

QString GenerateCodeSwitchCase(const FsmDocument& doc, Messenger& messenger)
{
    return GenerateCodeSwitchCase(doc.diagram(), doc.sFullDocname, doc.bGeneraFuncInit,
                                  doc.bGeneraFuncEnd, doc.bHistoryFsm, doc.bDebugInfo,
                                  doc.bAnsiComment, doc.bTextBoxesInCode, messenger);
}

QString GenerateCodePointers(const FsmDocument& doc, Messenger& messenger)
{
    return GenerateCodePointers(doc.diagram(), doc.sFullDocname, doc.bGeneraFuncInit,
                                doc.bGeneraFuncEnd, doc.bHistoryFsm, doc.bDebugInfo,
                                doc.bAnsiComment, doc.bTextBoxesInCode, messenger);
}

QString GenerateCodePointerArray(const FsmDocument& doc, Messenger& messenger)
{
    return GenerateCodePointerArray(doc.diagram(), doc.sFullDocname, doc.bGeneraFuncInit,
                                    doc.bGeneraFuncEnd, doc.bHistoryFsm, doc.bDebugInfo,
                                    doc.bAnsiComment, doc.bTextBoxesInCode, messenger);
}

}  // namespace orvane::modC_CodeGen
