#pragma once
// The problems of a state machine diagram, found without generating: what
// refuses the code generation, and what generates code that cannot be what
// was meant (colliding state names, states nothing reaches, transitions that
// never fire). Batch "--lint" lists them; a window can show the same list.

#include <QString>

#include <functional>
#include <vector>

namespace orvane {

class Diagram;
class FsmDocument;
class Node;

namespace DiagramChecks {

enum class Severity { Warning, Error };

struct Problem {
    Severity severity = Severity::Error;
    QString text;
    QString file;                // the diagram file concerned (may be empty)
    const Node* node = nullptr;  // the state or transition concerned, or null
    QString stateName;           // that state's name; a transition's source state
};

// The messages of a refused generation.
inline const QString kMsgNoName =
    QStringLiteral("Attention, before generate C-code you must name the FSM");
inline const QString kMsgNoInitial =
    QStringLiteral("Attention, to generate C-code a start node must be defined");
inline const QString kMsgEntryExit = QStringLiteral("Attention, the Entry/exit has error(s)");
// %1, %2: the names of two states that are one name ignoring case.
inline const QString kMsgSameStateName =
    QStringLiteral("Attention, two states have the same name (ignoring case), so the C-code "
                   "would not compile: [%1] and [%2]");

// Every problem of one diagram whose machine record is in the diagram's tag
// (as in an open document): the machine first, then the states by rank with
// their transitions, then transitions that lead nowhere. `file` is copied
// into each problem.
std::vector<Problem> checkDiagram(const Diagram& d, const QString& file = QString());

// Opens a child diagram of a tree: the document, or null with `error` set.
using OpenChild = std::function<const FsmDocument*(const QString& path, QString* error)>;

// checkDiagram on the document and, depth first, on every child diagram it
// calls (each file once), plus the problems of the tree: a child that cannot
// be opened, and two different diagrams with one FSM name.
std::vector<Problem> checkTree(const FsmDocument& top, const OpenChild& open);

// The number of errors among the problems.
int errorCount(const std::vector<Problem>& problems);

}  // namespace DiagramChecks
}  // namespace orvane
