#pragma once
// The pieces of text that the flat generators share: banners, the user's
// texts framed by comments, the automatic initialization, the macros and
// helper functions, the dispatcher frame, and the per-state code (switch
// cases and state functions). Each function appends one section to `out`.

#include "FsmView.h"
#include "EntryExitAnalysis.h"
#include "Generation.h"
#include "Methodology.h"

#include <QString>

namespace orvane::codegen {

// What a flat module contains besides the machine itself; the names in
// brackets are the option tokens a diagram stores.
struct GenOptions {
    bool initFunction = false;  // [FI] an Init function for a history FSM
    bool finalTest = false;     // [FE] a final-state test function
    bool history = false;       // [HF] the FSM keeps its state between runs
    bool debugInfo = false;     // [DI] FSM_DEBUG blocks
    bool ansiComments = false;  // [AC] /* */ comments instead of //
    bool printRemarks = false;  // [PT] the diagram's remarks printed into the code
};

// Identifiers the generated code uses for one FSM.
struct FsmNames {
    QString name;    // the FSM function, as written
    QString params;  // the parameter list, "void" when empty
    QString args;    // the parameter names, to pass the parameters on
    QString ind;     // the index variable
    QString dis;     // the dispatcher pointer or pointer array
    QString labelPrefix = QStringLiteral("i_");
    QString entryFlag = QStringLiteral("entryFsmFlg");
    QString debugTrans = QStringLiteral("debug_transNumber");
    QString debugNames = QStringLiteral("debug_stateNames");
};

// Everything a generator reads from the diagram, read once.
struct GenContext {
    const Diagram* diagram = nullptr;
    QString documentPath;
    const ChildDocumentSource* children = nullptr;  // says which child diagrams exist
    GenOptions opt;
    Methodology style = Methodology::SwitchCase;
    FsmNames names;
    QString init, before, after, ending, moduleHeader, functionHeader, defaultCode;
    FsmView fsm;
    EntryExitAnalysis entryExit;
    bool anyEntry = false;

    // "i_" + upper-case name: the state's constant.
    QString label(const StateView& s) const;
    // What holds the current state: the dispatcher pointer or the index variable.
    const QString& stateVariable() const;
    // How the state variable names a state: its function or its constant.
    QString stateReference(const StateView& s) const;
};

// The methodology line of the banner, without the version and "]".
QString methodologyLine(Methodology m);

// Comment rulers: "//" + 78 "+" and "//" + 39 " -", each with CR LF.
const QString& plusLine();
const QString& dashLine();

// out += text + CR LF.
void line(QString& out, const QString& text);
void line(QString& out, int indent, const QString& text);

void banner(QString& out, Methodology m);
QString prototypeLine(const FsmNames& n);
void codeOpening(QString& out, const GenContext& ctx);
// `functionComment` is "// FSM function." or, for the pointer array, without the full stop.
void headerOpening(QString& out, const GenContext& ctx, const QString& functionComment);
void moduleHeaderSection(QString& out, const GenContext& ctx);
void userInitSection(QString& out, const GenContext& ctx);
void autoInitStart(QString& out);
void entryFlagVariable(QString& out, const GenContext& ctx, bool lineEnd);
// `extraLine` (may be empty) follows the debug_transNumber declaration.
void debugBlock(QString& out, const GenContext& ctx, const QString& extraLine);
// The array of the state names by rank, at indentation 4.
void debugStateNames(QString& out, const GenContext& ctx);
void debugReset(QString& out, const GenContext& ctx, int indent);
// "  #define  i_NAME   k" for every state by rank, names padded to one column.
void indexLines(QString& out, const GenContext& ctx);
// The index variable, unsigned int from 256 states on.
void indexVariable(QString& out, const GenContext& ctx);

// The optional functions and macros, collected before they are placed.
struct MacroParts {
    QString nextStateCheck;
    QString initDeclaration, initBody;
    QString endDeclaration, endBody;
    QString testDeclarations, testBodies;
    QString gotoDeclarations, gotoBodies;
};
MacroParts buildMacroParts(const GenContext& ctx);
void macrosAndFunctions(QString& out, const MacroParts& parts);
// The header text after its opening: Init, history macro, End, tests, forcings.
void headerFunctions(QString& out, const GenContext& ctx, const MacroParts& parts);

// The macro a parent calls to restart this FSM and its children, or to leave
// a history FSM as it is; and an empty line.
void historyMacro(QString& out, const GenContext& ctx);
void exitFunctionDeclarations(QString& out, const GenContext& ctx);
void dispatcherHeading(QString& out, const GenContext& ctx);
// The user's description of the FSM function, commented out, and a PLUS
// line; nothing when there is no description.
void functionDescription(QString& out, const GenContext& ctx);
void beforeActions(QString& out, const GenContext& ctx);
// The after actions and the "}" that closes the FSM function.
void afterActions(QString& out, const GenContext& ctx);
void exitFunctionBodies(QString& out, const GenContext& ctx);
void endingCode(QString& out, const GenContext& ctx);
void diagramComments(QString& out, const GenContext& ctx);
void closingBanner(QString& out);

// Appends the "case" block of one state in the switch dispatcher.
void caseBlock(QString& out, const GenContext& ctx, const StateView& s);
// "switch(IND){", the case blocks, the index error trap when the user wrote
// one (closed by "break;" when asked) and "}".
void switchDispatch(QString& out, const GenContext& ctx, bool breakAfterDefault);
// Appends the static function of one state (pointer methodologies).
void stateFunction(QString& out, const GenContext& ctx, const StateView& s);

}  // namespace orvane::codegen
