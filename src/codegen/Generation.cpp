#include "Generation.h"

#include "FlatGenerators.h"
#include "HierarchicalGenerator.h"

namespace orvane {

std::optional<GeneratedCode> generateCode(Methodology m, const FsmDocument& doc,
                                          ChildDocumentSource& children, Messenger& messenger)
{
    if (m == Methodology::Hierarchical)
        return HierarchicalGenerator::generate(doc, children, messenger);
    return FlatGenerators::generate(m, doc, children, messenger);
}

}  // namespace orvane
