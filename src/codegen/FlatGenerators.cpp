#include "modC_CodeGen.h"

#include "CodePreparation.h"
#include "CodeSections.h"
#include "FsmDocument.h"
#include "modLib_StringHandling.h"
#include "modStrings.h"

#include <utility>

namespace orvane::modC_CodeGen {

using namespace codegen;
using namespace modLib_StringHandling;

namespace {

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

// What a methodology puts into the frame that all three share.
struct MethodologyPieces {
    QString declarations;     // after "Automatic initialization (Start)", entry flag included
    QString debugExtraLine;   // a line added to the debug block
    QString dispatch;         // the FSM function's body after "Next state analyser."
    QString stateFunctions;   // after the FSM function
    QString functionComment;  // the header's line above the prototype
};

// The pieces are consumed: the large ones (the dispatcher, the state
// functions) are released once copied, so a big machine's module is not
// held twice at once.
QString Assemble(const GenContext& ctx, MethodologyPieces pieces)
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
    code += std::exchange(pieces.dispatch, QString());
    AfterActions(code, ctx);
    code += std::exchange(pieces.stateFunctions, QString());
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
    code += modStrings::kSep;
    code += header;
    code += modStrings::kSep;
    return code;
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

    SwitchDispatch(pieces.dispatch, ctx, false);
    return Assemble(ctx, std::move(pieces));
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
    return Assemble(ctx, std::move(pieces));
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
    return Assemble(ctx, std::move(pieces));
}

}  // namespace

QString GenerateCodeSwitchCase(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                               bool HF, bool DI, bool AC, bool PT, Messenger& messenger)
{
    GenContext ctx = PrepareContext(d, documentPath, GenOptions{FI, FE, HF, DI, AC, PT},
                                    Methodology::SwitchCase);
    return SwitchCase(ctx, d, messenger);
}

QString GenerateCodePointers(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                             bool HF, bool DI, bool AC, bool PT, Messenger& messenger)
{
    GenContext ctx = PrepareContext(d, documentPath, GenOptions{FI, FE, HF, DI, AC, PT},
                                    Methodology::Pointers);
    return Pointers(ctx, d, messenger);
}

QString GenerateCodePointerArray(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                                 bool HF, bool DI, bool AC, bool PT, Messenger& messenger)
{
    GenContext ctx = PrepareContext(d, documentPath, GenOptions{FI, FE, HF, DI, AC, PT},
                                    Methodology::PointerArray);
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
