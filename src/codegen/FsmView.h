#pragma once
// One read of a diagram for the generators and the list file: every state
// with its record, in the order of its rank (its index read leniently, ties
// in diagram order), and every state's transitions by rank of priority.

#include "Diagram.h"

#include <QString>

#include <vector>

namespace orvane::codegen {

struct TransitionView {
    const Node* node = nullptr;
    QString priority;  // the priority text as written
    QString condition;
    QString action;
    QString selfFlag;  // "N": internal when the target is the source itself
    int targetRank = 0;
};

struct StateView {
    const Node* node = nullptr;
    int rank = 0;  // 1..n
    QString name, during, indexText, entry, exit, isIn, goTo, elseAction;
    bool isInitial = false;
    bool isFinal = false;
    int outLinkCount = 0;                     // every out-link, transitions or not
    std::vector<TransitionView> transitions;  // by rank of priority
};

struct FsmView {
    std::vector<StateView> states;  // states[r - 1] has rank r
    std::vector<int> diagramOrder;  // ranks of the states in diagram order
    int firstInitialRank = 0;       // 0 when there is no initial state
    int lastInitialRank = 0;
    std::vector<int> finalRanks;  // in diagram order
    int longestUpperName = 0;     // longest upper-cased state name

    int count() const { return int(states.size()); }
    const StateView& at(int rank) const { return states[size_t(rank - 1)]; }
};

FsmView scanFsm(const Diagram& d);

}  // namespace orvane::codegen
