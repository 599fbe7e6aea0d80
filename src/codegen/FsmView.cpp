#include "FsmView.h"

#include "modFsmOrder.h"
#include "modNodoEstado.h"
#include "modNodoTransicion.h"
#include "modStrings.h"

#include <QHash>

namespace orvane::codegen {

namespace {

void ReadState(StateView& s)
{
    using namespace modNodoEstado;
    const QStringList f = modStrings::SplitFields(s.node->tag(), kStateFieldCount);
    s.name = f[kStateName];
    s.during = f[kStateDuring];
    s.indexText = f[kStateIndex];
    s.entry = f[kStateEntry];
    s.exit = f[kStateExit];
    s.isIn = f[kStateIsIn];
    s.goTo = f[kStateGoto];
    s.elseAction = f[kStateElse];
    s.isInitial = IsInitialNode(s.node);
    s.isFinal = IsFinalNode(s.node);
    s.outLinkCount = int(s.node->outLinks().size());
}

TransitionView ReadTransition(const Node* t, const QHash<const Node*, int>& rankOf)
{
    using namespace modNodoTransicion;
    const QStringList f = modStrings::SplitFields(t->tag(), kTransFieldCount);
    TransitionView v;
    v.node = t;
    v.priority = f[kTransPriority];
    v.condition = f[kTransCondition];
    v.action = f[kTransAction];
    v.selfFlag = f[kTransSelf];
    v.targetRank = rankOf.value(modFsmOrder::TransitionTarget(t), 0);
    return v;
}

}  // namespace

FsmView ScanFsm(const Diagram& d)
{
    FsmView view;
    const std::vector<Node*> ranked = modFsmOrder::StatesByRank(d);
    QHash<const Node*, int> rankOf;
    rankOf.reserve(qsizetype(ranked.size()));
    view.states.resize(ranked.size());
    for (size_t i = 0; i < ranked.size(); ++i) {
        StateView& s = view.states[i];
        s.node = ranked[i];
        s.rank = int(i) + 1;
        ReadState(s);
        rankOf.insert(s.node, s.rank);
        view.longestUpperName = std::max(view.longestUpperName, int(s.name.toUpper().size()));
    }
    for (StateView& s : view.states) {
        const std::vector<Node*> transitions = modFsmOrder::TransitionsByRank(s.node);
        s.transitions.reserve(transitions.size());
        for (const Node* t : transitions)
            s.transitions.push_back(ReadTransition(t, rankOf));
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
