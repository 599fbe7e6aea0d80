#pragma once
// The document's "Generate C-code" commands: make a methodology the default,
// run its generator with the document's options and write the .c and .h
// files. Batch mode and the document window both call these.

#include "Methodology.h"

namespace orvane {

class DocumentRegistry;
class Document;
class UserInterface;

namespace GenerationCommands {

// Generates and writes the code in one methodology. True when both files
// were written; a refused generation or a failed write gives false.
bool generateCCode(DocumentRegistry& docs, Document& doc, Methodology m, UserInterface& ui);

enum class DefaultResult { Written, Failed, NoDefault };
// The command of the document's default methodology; NoDefault (nothing
// generated, nothing logged) when the document has none.
DefaultResult generateDefaultCCode(DocumentRegistry& docs, Document& doc, UserInterface& ui);

}  // namespace GenerationCommands
}  // namespace orvane
