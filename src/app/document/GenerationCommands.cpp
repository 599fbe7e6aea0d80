#include "GenerationCommands.h"

#include "Document.h"
#include "DocumentRegistry.h"
#include "UserInterface.h"
#include "RegistryChildSource.h"
#include "Generation.h"
#include "DocumentCommands.h"

namespace orvane {

namespace GenerationCommands {

bool generateCCode(DocumentRegistry& docs, Document& doc, Methodology m, UserInterface& ui,
                   QStringList* childrenRead)
{
    doc.fsm.setDefaultMethodology(m);
    // The children of a hierarchical module are opened as documents for the
    // walk and closed again.
    RegistryChildSource children(docs);
    const std::optional<GeneratedCode> code = generateCode(m, doc.fsm, children, ui);
    if (childrenRead)
        *childrenRead += children.readPaths();
    return DocumentCommands::saveCodeFiles(doc.fsm, ui, code);
}

DefaultResult generateDefaultCCode(DocumentRegistry& docs, Document& doc, UserInterface& ui,
                                   QStringList* childrenRead)
{
    const std::optional<Methodology> m = doc.fsm.defaultMethodology;
    if (!m)
        return DefaultResult::NoDefault;
    return generateCCode(docs, doc, *m, ui, childrenRead) ? DefaultResult::Written
                                                          : DefaultResult::Failed;
}

}  // namespace GenerationCommands
}  // namespace orvane
