#include "GenerationCommands.h"

#include "Document.h"
#include "DocumentRegistry.h"
#include "UserInterface.h"
#include "RegistryChildSource.h"
#include "modC_CodeGen.h"
#include "modC_CodeGenHSC.h"
#include "modMain_Files.h"

namespace orvane {

QString CaptionOf(Methodology m)
{
    switch (m) {
    case Methodology::SwitchCase: return kCaptionSwitchCase;
    case Methodology::DirectPointers: return kCaptionDirectPointers;
    case Methodology::PointerArray: return kCaptionPointerArray;
    case Methodology::Hierarchical: return kCaptionHierarchical;
    }
    return {};
}

namespace modGeneration {

namespace {
QString Generate(DocumentRegistry& docs, Document& doc, Methodology m, UserInterface& ui)
{
    const FsmDocument& fsm = doc.fsm;
    switch (m) {
    case Methodology::SwitchCase: return modC_CodeGen::GenerateCodeSwitchCase(fsm, ui);
    case Methodology::DirectPointers: return modC_CodeGen::GenerateCodePointers(fsm, ui);
    case Methodology::PointerArray: return modC_CodeGen::GenerateCodePointerArray(fsm, ui);
    case Methodology::Hierarchical: {
        // The children are opened as documents for the walk and closed again.
        RegistryChildSource children(docs);
        return modC_CodeGenHSC::GenerateCodeHierarchical(fsm, children, ui);
    }
    }
    return {};
}
}  // namespace

bool GenerateCCode(DocumentRegistry& docs, Document& doc, Methodology m, UserInterface& ui)
{
    doc.fsm.SetDefaultMethodology(CaptionOf(m));
    const QString text = Generate(docs, doc, m, ui);
    return modMain::SaveCodeFiles(doc.fsm, ui, text);
}

DefaultResult GenerateDefaultCCode(DocumentRegistry& docs, Document& doc, UserInterface& ui)
{
    // The check marks are tested in this order.
    for (Methodology m : {Methodology::PointerArray, Methodology::SwitchCase,
                          Methodology::DirectPointers, Methodology::Hierarchical}) {
        if (doc.fsm.formatCompilacion == CaptionOf(m))
            return GenerateCCode(docs, doc, m, ui) ? DefaultResult::Written : DefaultResult::Failed;
    }
    return DefaultResult::NoDefault;
}

}  // namespace modGeneration
}  // namespace orvane
