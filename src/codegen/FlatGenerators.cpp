#include "FlatGenerators.h"

#include "CodePreparation.h"
#include "CodeSections.h"
#include "FsmDocument.h"
#include "CodeText.h"

#include <functional>
#include <utility>

namespace orvane::FlatGenerators {

using namespace codegen;
using namespace CodeText;

namespace {

void stateFunctionDeclarations(QString& out, const GenContext& ctx)
{
    line(out, QStringLiteral(" // States functions declaration."));
    for (const StateView& s : ctx.fsm.states)
        line(out, QStringLiteral("  static void E_") + s.name + u'(' + ctx.names.params
                      + QStringLiteral(");"));
    line(out, QString());
}

void stateFunctions(QString& out, const GenContext& ctx)
{
    line(out, QString());
    out += plusLine();
    line(out, QStringLiteral("// States functions."));
    out += plusLine();
    for (const StateView& s : ctx.fsm.states)
        stateFunction(out, ctx, s);
}

// What a methodology puts into the frame that all three share. The large
// parts (the dispatcher, the state functions) are written straight into the
// module rather than built apart and copied: a big machine's module is then
// neither held twice nor copied.
struct MethodologyPieces {
    QString declarations;     // after "Automatic initialization (Start)", entry flag included
    QString debugExtraLine;   // a line added to the debug block
    QString functionComment;  // the header's line above the prototype
    // Write the FSM function's body after "Next state analyser." (always
    // set), and what follows the FSM function (nothing unless set).
    std::function<void(QString&)> dispatch, stateFunctions = [](QString&) {};
};

GeneratedCode assemble(const GenContext& ctx, const MethodologyPieces& pieces)
{
    const MacroParts parts = buildMacroParts(ctx);
    QString code;
    codeOpening(code, ctx);
    moduleHeaderSection(code, ctx);
    userInitSection(code, ctx);
    autoInitStart(code);
    code += pieces.declarations;
    debugBlock(code, ctx, pieces.debugExtraLine);
    macrosAndFunctions(code, parts);
    exitFunctionDeclarations(code, ctx);
    dispatcherHeading(code, ctx);
    beforeActions(code, ctx);
    line(code, 4, QStringLiteral("// Next state analyser."));
    pieces.dispatch(code);
    afterActions(code, ctx);
    pieces.stateFunctions(code);
    exitFunctionBodies(code, ctx);
    endingCode(code, ctx);
    diagramComments(code, ctx);
    closingBanner(code);

    QString header;
    headerOpening(header, ctx, pieces.functionComment);
    headerFunctions(header, ctx, parts);
    if (ctx.opt.ansiComments) {
        code = toAnsiComments(code, 80, true);
        header = toAnsiComments(header, 80, true);
    }
    return {std::move(code), std::move(header)};
}

void indexDeclarations(QString& out, const GenContext& ctx)
{
    line(out, QStringLiteral(" // States index."));
    indexLines(out, ctx);
    line(out, QString());
}

std::optional<GeneratedCode> switchCaseCode(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    if (!checkAndScan(ctx, d, messenger))
        return std::nullopt;
    MethodologyPieces pieces;
    pieces.functionComment = QStringLiteral("// FSM function.");
    QString& decl = pieces.declarations;
    indexDeclarations(decl, ctx);
    line(decl, QStringLiteral(" // Index variable."));
    indexVariable(decl, ctx);
    entryFlagVariable(decl, ctx, true);

    pieces.dispatch = [&ctx](QString& out) { switchDispatch(out, ctx, false); };
    return assemble(ctx, pieces);
}

std::optional<GeneratedCode> pointersCode(GenContext& ctx, const Diagram& d, Messenger& messenger)
{
    if (!checkAndScan(ctx, d, messenger))
        return std::nullopt;
    const StateView& initial = ctx.fsm.at(ctx.fsm.lastInitialRank);
    MethodologyPieces pieces;
    pieces.functionComment = QStringLiteral("// FSM function.");
    QString& decl = pieces.declarations;
    stateFunctionDeclarations(decl, ctx);
    line(decl, QStringLiteral(" // State function pointer."));
    line(decl, QStringLiteral("  static void (*") + ctx.names.dis + QStringLiteral(")(")
                   + ctx.names.params + QStringLiteral(")= E_") + initial.name + u';');
    entryFlagVariable(decl, ctx, true);
    // The index variable only mirrors the pointer, for the debug names.
    pieces.debugExtraLine = QStringLiteral("static unsigned int ") + ctx.names.ind
                            + QStringLiteral(" = ") + QString::number(initial.rank - 1) + u';';
    pieces.dispatch = [&ctx](QString& out) {
        line(out, 4, ctx.names.dis + u'(' + ctx.names.args + QStringLiteral(");"));
    };
    pieces.stateFunctions = [&ctx](QString& out) { stateFunctions(out, ctx); };
    return assemble(ctx, pieces);
}

std::optional<GeneratedCode> pointerArrayCode(GenContext& ctx, const Diagram& d,
                                              Messenger& messenger)
{
    if (!checkAndScan(ctx, d, messenger))
        return std::nullopt;
    MethodologyPieces pieces;
    pieces.functionComment = QStringLiteral("// FSM function");
    QString& decl = pieces.declarations;
    indexDeclarations(decl, ctx);
    stateFunctionDeclarations(decl, ctx);
    line(decl, QStringLiteral(" // Pointer array to states functions."));
    line(decl, QStringLiteral("  #pragma INTO_ROM"));
    line(decl, QStringLiteral("  static void (*const ") + ctx.names.dis + QStringLiteral("[])(")
                   + ctx.names.params + QStringLiteral(")= {"));
    for (const StateView& s : ctx.fsm.states) {
        const bool last = s.rank == ctx.fsm.count();
        line(decl, 8, QStringLiteral("E_") + s.name + (last ? QString() : QStringLiteral(",")));
    }
    line(decl, QStringLiteral("  };"));
    line(decl, QString());
    line(decl, QStringLiteral(" // Index variable."));
    indexVariable(decl, ctx);
    // The entry flag runs on into whatever follows, as this layout always had.
    entryFlagVariable(decl, ctx, false);
    pieces.dispatch = [&ctx](QString& out) {
        line(out, 4,
             ctx.names.dis + u'[' + ctx.names.ind + QStringLiteral("](") + ctx.names.args
                 + QStringLiteral(");"));
    };
    pieces.stateFunctions = [&ctx](QString& out) { stateFunctions(out, ctx); };
    return assemble(ctx, pieces);
}

}  // namespace

std::optional<GeneratedCode> generate(Methodology m, const Diagram& d, const QString& documentPath,
                                      const GenOptions& options,
                                      const ChildDocumentSource& children, Messenger& messenger)
{
    GenContext ctx = prepareContext(d, documentPath, options, m, children);
    switch (m) {
    case Methodology::DirectPointers:
        return pointersCode(ctx, d, messenger);
    case Methodology::PointerArray:
        return pointerArrayCode(ctx, d, messenger);
    case Methodology::SwitchCase:
    case Methodology::Hierarchical:
        break;
    }
    return switchCaseCode(ctx, d, messenger);
}

GenOptions optionsOf(const FsmDocument& doc)
{
    GenOptions o;
    o.initFunction = doc.generateInitFunction;
    o.finalTest = doc.generateEndFunction;
    o.history = doc.historyMachine;
    o.debugInfo = doc.debugInfo;
    o.ansiComments = doc.ansiComments;
    o.printRemarks = doc.remarksInCode;
    return o;
}

std::optional<GeneratedCode> generate(Methodology m, const FsmDocument& doc,
                                      const ChildDocumentSource& children, Messenger& messenger)
{
    return generate(m, doc.diagram(), doc.filePath, optionsOf(doc), children, messenger);
}

}  // namespace orvane::FlatGenerators
