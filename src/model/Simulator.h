#pragma once
// Runs a machine (and the child machines it calls) without compiling it:
// one step is one call of the generated FSM function. The order of one
// step, the same in every code style the generators write:
//
//  1. the machine's "before" actions; the debug transition number is 0;
//  2. in the current state: when the state has entry actions and the entry
//     flag is clear, the flag is set and the entry actions run;
//  3. the state's during actions (a call of a child machine steps it);
//  4. the transitions by rank of priority: the first whose condition holds
//     (a blank condition always does) fires. Unless it is internal (a self
//     transition marked so), the children called in the state's during and
//     else actions are restarted first (a history child is left as it is;
//     another goes to its initial state with its entry flag clear and
//     restarts its own children), then the state's exit actions run. Then
//     the transition's actions; the target becomes current; the debug
//     transition number becomes the priority; unless internal, a state with
//     entry actions clears the entry flag;
//  5. when no transition fired, the state's else actions;
//  6. the machine's "after" actions, where a program prints its trace line.
//
// Actions are read statement by statement: "name = expr;", the compound
// assignments, "name++;" and "name--;" change the variables, a call of a
// machine of the tree steps it (its arguments become its parameters), and
// every other statement is only written to the log. A condition that
// cannot be read is asked: the step stops, leaves everything as it was, and
// names the question; the answer given counts for the next step.

#include "ConditionEvaluator.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace orvane {
class Diagram;
class FsmDocument;
class Node;
}  // namespace orvane

namespace orvane::Simulation {

struct MachineTransition {
    const Node* node = nullptr;
    QString priority;  // as written
    int number = 0;    // what the generated code reports for it
    QString condition, action;
    int target = 0;  // index into Machine::states
    bool internal = false;
};

struct MachineState {
    const Node* node = nullptr;
    QString name, entry, during, elseAction, exit;
    bool isFinal = false;
    std::vector<MachineTransition> transitions;  // by rank of priority
};

// One diagram as the simulator reads it, states by rank.
struct Machine {
    QString name;
    // Further names a trace may give the machine: a diagram opened in the
    // editor is named after its file, while its file may hold another name,
    // and code generated from either prints its own.
    QStringList otherNames;
    QStringList parameters;  // the names of the FSM function's parameters
    QString init, before, after;
    std::vector<MachineState> states;
    int initial = -1;  // the state the machine starts in; -1 when none
    bool history = false;

    int stateIndex(const QString& stateName) const;
    static Machine read(const Diagram& d, bool history);
    static Machine read(const FsmDocument& document);
};

// The names and start values of the variables a machine's own code
// declares: "#define NAME number" and "[static] TYPE name [= value], ...;".
QList<std::pair<QString, qint64>> declaredVariables(const QString& code);

// What the generated code's after actions can print after one step.
struct TraceLine {
    QString machine;
    QString state;   // the current state after the step
    int transition;  // the number of the transition fired, 0 when none
};

struct FiredTransition {
    int machine = 0;
    int state = 0;       // the source
    int transition = 0;  // index into MachineState::transitions
};

// A condition that must be answered before the step can run.
struct Question {
    int machine = 0;
    int state = 0;
    int transition = 0;
    QString condition;
};

// What one step did.
struct StepRecord {
    QStringList log;
    std::vector<FiredTransition> fired;
    std::vector<TraceLine> trace;  // in the order the machines' after actions run
};

class Simulator {
public:
    // machines[0] is the one stepped; the others are machines it may call.
    explicit Simulator(std::vector<Machine> machines);

    const std::vector<Machine>& machines() const { return m_machines; }
    int machineIndex(const QString& name) const;
    // False when the top machine has no initial state: nothing can run.
    bool canRun() const;

    // The variables, by name.
    const QMap<QString, qint64>& variables() const { return m_variables; }
    void setVariable(const QString& name, qint64 value) { m_variables.insert(name, value); }
    void removeVariable(const QString& name) { m_variables.remove(name); }
    // Adds the variables the machines declare (existing values are kept).
    void addDeclaredVariables();

    // Answers asked conditions when set (the user's answers come first).
    using Oracle = std::function<std::optional<bool>(const Question&)>;
    void setOracle(Oracle oracle) { m_oracle = std::move(oracle); }
    // Used by the next step for the condition the question names.
    void answer(const Question& question, bool value);

    enum class StepResult { Stepped, NeedsAnswer, CannotRun };
    StepResult step();
    // The question that stopped the last step.
    const std::optional<Question>& question() const { return m_question; }
    // Steps until a question, a final state of the top machine, or `maxSteps`.
    // Returns the number of steps made.
    int run(int maxSteps);
    // Undoes the last step; false when there is none.
    bool back();
    // Every machine to its initial state, the variables as they were before
    // the first step, the history and the answers gone.
    void reset();

    int currentState(int machine) const { return m_runs[size_t(machine)].state; }
    bool atFinal() const;
    const std::vector<StepRecord>& steps() const { return m_steps; }

private:
    struct Run {
        int state = 0;
        bool entryDone = false;
        int debugTransition = 0;
    };
    struct Snapshot {
        std::vector<Run> runs;
        QMap<QString, qint64> variables;
    };
    void stepMachine(int machine, int depth, StepRecord& record);
    void restart(int machine, int depth);
    void execute(const QString& text, int machine, int depth, StepRecord& record);
    bool holds(int machine, int state, int transition);
    QStringList childrenOf(int machine, int state) const;
    ExpressionEvaluator evaluator() const;

    std::vector<Machine> m_machines;
    std::vector<Run> m_runs;
    QMap<QString, qint64> m_variables;
    Snapshot m_start;
    std::vector<Snapshot> m_before;  // the state before each step taken
    std::vector<StepRecord> m_steps;
    std::map<std::tuple<int, int, int>, bool> m_answers;
    std::optional<Question> m_question;
    Oracle m_oracle;
    bool m_started = false;
};

// The statements of an action text in order, comments removed: each
// ";"-ended statement, a "{...}" block with what stands before it, and a
// preprocessor line, trimmed.
QStringList splitStatements(const QString& text);

}  // namespace orvane::Simulation
