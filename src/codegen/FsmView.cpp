#include "FsmView.h"

#include "Ranking.h"
#include "States.h"
#include "Transitions.h"
#include "Texts.h"

#include <QHash>

namespace orvane::codegen {

namespace {

void readState(StateView& s)
{
    using namespace States;
    const StateRecord f = StateRecord::fromText(s.node->tag());
    s.name = f.name;
    s.during = f.during;
    s.indexText = f.index;
    s.entry = f.entry;
    s.exit = f.exit;
    s.isIn = f.isIn;
    s.goTo = f.goTo;
    s.elseAction = f.elseAction;
    s.isInitial = isInitialNode(s.node);
    s.isFinal = isFinalNode(s.node);
    s.outLinkCount = int(s.node->outLinks().size());
}

TransitionView readTransition(const Node* t, const QHash<const Node*, int>& rankOf)
{
    using namespace Transitions;
    const TransitionRecord f = TransitionRecord::fromText(t->tag());
    TransitionView v;
    v.node = t;
    v.priority = f.priority;
    v.condition = f.condition;
    v.action = f.action;
    v.selfFlag = f.selfFlag;
    v.targetRank = rankOf.value(Ranking::transitionTarget(t), 0);
    return v;
}

}  // namespace

FsmView scanFsm(const Diagram& d)
{
    FsmView view;
    const std::vector<Node*> ranked = Ranking::statesByRank(d);
    QHash<const Node*, int> rankOf;
    rankOf.reserve(qsizetype(ranked.size()));
    view.states.resize(ranked.size());
    for (size_t i = 0; i < ranked.size(); ++i) {
        StateView& s = view.states[i];
        s.node = ranked[i];
        s.rank = int(i) + 1;
        readState(s);
        rankOf.insert(s.node, s.rank);
        view.longestUpperName = std::max(view.longestUpperName, int(s.name.toUpper().size()));
    }
    for (StateView& s : view.states) {
        const std::vector<Node*> transitions = Ranking::transitionsByRank(s.node);
        s.transitions.reserve(transitions.size());
        for (const Node* t : transitions)
            s.transitions.push_back(readTransition(t, rankOf));
    }
    view.diagramOrder.reserve(ranked.size());
    for (const auto& node : d.nodes()) {
        const auto it = rankOf.constFind(node.get());
        if (it == rankOf.constEnd())
            continue;
        const int rank = it.value();
        view.diagramOrder.push_back(rank);
        const StateView& s = view.at(rank);
        if (s.isInitial) {
            if (view.firstInitialRank == 0)
                view.firstInitialRank = rank;
            view.lastInitialRank = rank;
        }
        if (s.isFinal)
            view.finalRanks.push_back(rank);
    }
    return view;
}

}  // namespace orvane::codegen
