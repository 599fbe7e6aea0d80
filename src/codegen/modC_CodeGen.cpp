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

void StateFunctionDeclarations(QString& out, const GenContext& ctx)
{
    Line(out, QStringLiteral(" // States functions declaration."));
    for (const StateView& s : ctx.fsm.states)
        Line(out, QStringLiteral("  static void E_") + s.name + u'(' + ctx.names.params
                      + QStringLiteral(");"));
    Line(out, QString());
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

// The checks made before any text is built, in the methodology's order; the
// first failure shows its message and refuses the generation.
bool CheckAndScan(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    if (!CheckName(ctx, messenger))
        return false;
    ctx.fsm = ScanFsm(d);
    if (ctx.style == Methodology::Pointers)
        return RunEntryExit(ctx, d, messenger) && CheckInitial(ctx, messenger);
    return CheckInitial(ctx, messenger) && RunEntryExit(ctx, d, messenger);
}

// What a methodology puts into the frame that all three share.
struct MethodologyPieces {
    QString declarations;     // after "Automatic initialization (Start)", entry flag included
    QString debugExtraLine;   // a line added to the debug block
    QString dispatch;         // the FSM function's body after "Next state analyser."
    QString stateFunctions;   // after the FSM function
    QString functionComment;  // the header's line above the prototype
};

QString Assemble(const GenContext& ctx, const MethodologyPieces& pieces)
{
    const MacroParts parts = BuildMacroParts(ctx);
    QString code;
    CodeOpening(code, ctx);
    ModuleHeaderSection(code, ctx);
    UserInitSection(code, ctx);
    AutoInitStart(code);
    code += pieces.declarations;
    DebugBlock(code, ctx, pieces.debugExtraLine);
    MacrosAndFunctions(code, parts);
    ExitFunctionDeclarations(code, ctx);
    DispatcherHeading(code, ctx);
    BeforeActions(code, ctx);
    Line(code, 4, QStringLiteral("// Next state analyser."));
    code += pieces.dispatch;
    AfterActions(code, ctx);
    code += pieces.stateFunctions;
    ExitFunctionBodies(code, ctx);
    EndingCode(code, ctx);
    DiagramComments(code, ctx);
    ClosingBanner(code);

    QString header;
    HeaderOpening(header, ctx, pieces.functionComment);
    HeaderFunctions(header, ctx, parts);
    if (ctx.opt.AC) {
        code = ToAnsiComments(code, 80, true);
        header = ToAnsiComments(header, 80, true);
    }
    return code + modStrings::kSep + header + modStrings::kSep;
}

void IndexDeclarations(QString& out, const GenContext& ctx)
{
    Line(out, QStringLiteral(" // States index."));
    IndexLines(out, ctx);
    Line(out, QString());
}

QString SwitchCase(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    if (!CheckAndScan(ctx, d, messenger))
        return {};
    MethodologyPieces pieces;
    pieces.functionComment = QStringLiteral("// FSM function.");
    QString& decl = pieces.declarations;
    IndexDeclarations(decl, ctx);
    Line(decl, QStringLiteral(" // Index variable."));
    IndexVariable(decl, ctx);
    EntryFlagVariable(decl, ctx, true);

    QString& dispatch = pieces.dispatch;
    Line(dispatch, 4, QStringLiteral("switch(") + ctx.names.ind + QStringLiteral("){"));
    for (const StateView& s : ctx.fsm.states)
        dispatch += CaseBlock(ctx, s);
    if (!ctx.defaultCode.isEmpty()) {
        Line(dispatch, 8, QStringLiteral("default:"));
        Line(dispatch, 12, QStringLiteral("// State index error trap (MISRA requiremment)."));
        Line(dispatch, IndentText(ctx.defaultCode, 12, true));
    }
    Line(dispatch, 4, QStringLiteral("}"));
    return Assemble(ctx, pieces);
}

QString Pointers(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    if (!CheckAndScan(ctx, d, messenger))
        return {};
    const StateView& initial = ctx.fsm.at(ctx.fsm.lastInitialRank);
    MethodologyPieces pieces;
    pieces.functionComment = QStringLiteral("// FSM function.");
    QString& decl = pieces.declarations;
    StateFunctionDeclarations(decl, ctx);
    Line(decl, QStringLiteral(" // State function pointer."));
    Line(decl, QStringLiteral("  static void (*") + ctx.names.dis + QStringLiteral(")(")
                   + ctx.names.params + QStringLiteral(")= E_") + initial.name + u';');
    EntryFlagVariable(decl, ctx, true);
    // The index variable only mirrors the pointer, for the debug names.
    pieces.debugExtraLine = QStringLiteral("static unsigned int ") + ctx.names.ind
                            + QStringLiteral(" = ") + QString::number(initial.rank - 1) + u';';
    Line(pieces.dispatch, 4, ctx.names.dis + u'(' + ctx.names.args + QStringLiteral(");"));
    StateFunctions(pieces.stateFunctions, ctx);
    return Assemble(ctx, pieces);
}

QString PointerArray(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    if (!CheckAndScan(ctx, d, messenger))
        return {};
    MethodologyPieces pieces;
    pieces.functionComment = QStringLiteral("// FSM function");
    QString& decl = pieces.declarations;
    IndexDeclarations(decl, ctx);
    StateFunctionDeclarations(decl, ctx);
    Line(decl, QStringLiteral(" // Pointer array to states functions."));
    Line(decl, QStringLiteral("  #pragma INTO_ROM"));
    Line(decl, QStringLiteral("  static void (*const ") + ctx.names.dis + QStringLiteral("[])(")
                   + ctx.names.params + QStringLiteral(")= {"));
    for (const StateView& s : ctx.fsm.states) {
        const bool last = s.rank == ctx.fsm.count();
        Line(decl, 8, QStringLiteral("E_") + s.name + (last ? QString() : QStringLiteral(",")));
    }
    Line(decl, QStringLiteral("  };"));
    Line(decl, QString());
    Line(decl, QStringLiteral(" // Index variable."));
    IndexVariable(decl, ctx);
    // The entry flag runs on into whatever follows, as this layout always had.
    EntryFlagVariable(decl, ctx, false);
    Line(pieces.dispatch, 4,
         ctx.names.dis + u'[' + ctx.names.ind + QStringLiteral("](") + ctx.names.args
             + QStringLiteral(");"));
    StateFunctions(pieces.stateFunctions, ctx);
    return Assemble(ctx, pieces);
}

}  // namespace

QString GenerateCodeSwitchCase(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                               bool HF, bool DI, bool AC, bool PT, Messenger& messenger)
{
    GenContext ctx =
        Prepare(d, documentPath, GenOptions{FI, FE, HF, DI, AC, PT}, Methodology::SwitchCase);
    return SwitchCase(ctx, d, messenger);
}

QString GenerateCodePointers(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                             bool HF, bool DI, bool AC, bool PT, Messenger& messenger)
{
    GenContext ctx =
        Prepare(d, documentPath, GenOptions{FI, FE, HF, DI, AC, PT}, Methodology::Pointers);
    return Pointers(ctx, d, messenger);
}

QString GenerateCodePointerArray(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                                 bool HF, bool DI, bool AC, bool PT, Messenger& messenger)
{
    GenContext ctx =
        Prepare(d, documentPath, GenOptions{FI, FE, HF, DI, AC, PT}, Methodology::PointerArray);
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
