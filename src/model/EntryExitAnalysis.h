#pragma once
// Entry/exit analysis: which states have entry and exit actions and how a
// state's exit action is emitted on each of its transitions (inline, or as a
// NAME_OnExit() function when it is long and shared). States are addressed by
// rank (1..n) and transitions by rank within their state (1..count).

#include "Diagram.h"

#include <QString>

#include <vector>

namespace orvane {

class Messenger;

class EntryExitAnalysis {
public:
    // Analyses the diagram. A state with an exit action and no outgoing link
    // is reported through the messenger and counted in errors.
    void analyse(const Diagram& d, bool& hasEntry, bool& hasExit, int& errors,
                 Messenger& messenger);

    int stateCount() const { return int(m_states.size()); }
    QString stateName(int rank) const;
    // The entry action and whether it is non-empty.
    QString entryAction(int rank, bool& exists) const;
    QString exitAction(int rank) const;
    // The exit code for transition `priorityRank` of state `rank`, whether it
    // is internal, and runExit = code not empty and not internal.
    QString transitionExit(int rank, int priorityRank, bool& internal, bool& runExit) const;
    // Declarations / bodies of the exit functions, each + CR LF, by rank.
    QString exitFunctionDeclarations() const;
    QString exitFunctionDefinitions() const;

    // Exit function names carry a suffix in the hierarchical generator
    // (state name + suffix + "_OnExit"); empty for the flat generators.
    void setExitFunctionSuffix(const QString& s) { m_suffix = s; }

private:
    struct Transition {
        QString targetName;
        bool internal = false;
        QString exitCode;
    };
    struct State {
        QString name, entry, exit;
        int outCount = 0;
        int exitCount = 0;
        bool useExitFunction = false;
        QString exitPrototype, exitBody;
        std::vector<Transition> transitions;
    };
    const State* at(int rank) const;
    // Inline exit code or an exit function, placed on every transition.
    void decideExitEmission(State& s) const;
    // One text of every state with an exit function, each + CR LF, by rank.
    QString exitFunctionTexts(QString State::*text) const;
    std::vector<State> m_states;
    QString m_suffix;
};

}  // namespace orvane
