#include "GenerationCommands.h"

#include "Document.h"
#include "DocumentRegistry.h"
#include "UserInterface.h"
#include "RegistryChildSource.h"
#include "FlatGenerators.h"
#include "HierarchicalGenerator.h"
#include "DocumentCommands.h"

namespace orvane {

QString captionOf(Methodology m)
{
    switch (m) {
    case Methodology::SwitchCase: return kCaptionSwitchCase;
    case Methodology::DirectPointers: return kCaptionDirectPointers;
    case Methodology::PointerArray: return kCaptionPointerArray;
    case Methodology::Hierarchical: return kCaptionHierarchical;
    }
    return {};
}

namespace GenerationCommands {

namespace {
QString generate(DocumentRegistry& docs, Document& doc, Methodology m, UserInterface& ui)
{
    const FsmDocument& fsm = doc.fsm;
    switch (m) {
    case Methodology::SwitchCase: return FlatGenerators::generateCodeSwitchCase(fsm, ui);
    case Methodology::DirectPointers: return FlatGenerators::generateCodePointers(fsm, ui);
    case Methodology::PointerArray: return FlatGenerators::generateCodePointerArray(fsm, ui);
    case Methodology::Hierarchical: {
        // The children are opened as documents for the walk and closed again.
        RegistryChildSource children(docs);
        return HierarchicalGenerator::generateCodeHierarchical(fsm, children, ui);
    }
    }
    return {};
}
}  // namespace

bool generateCCode(DocumentRegistry& docs, Document& doc, Methodology m, UserInterface& ui)
{
    doc.fsm.setDefaultMethodology(captionOf(m));
    const QString text = generate(docs, doc, m, ui);
    return DocumentCommands::saveCodeFiles(doc.fsm, ui, text);
}

DefaultResult generateDefaultCCode(DocumentRegistry& docs, Document& doc, UserInterface& ui)
{
    // The check marks are tested in this order.
    for (Methodology m : {Methodology::PointerArray, Methodology::SwitchCase,
                          Methodology::DirectPointers, Methodology::Hierarchical}) {
        if (doc.fsm.defaultMethodology == captionOf(m))
            return generateCCode(docs, doc, m, ui) ? DefaultResult::Written : DefaultResult::Failed;
    }
    return DefaultResult::NoDefault;
}

}  // namespace GenerationCommands
}  // namespace orvane
