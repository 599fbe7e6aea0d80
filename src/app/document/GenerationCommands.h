#pragma once
// The document's "Generate C-code" commands: make a methodology the default,
// run its generator with the document's options and write the .c and .h
// files. Batch mode and the document window both call these.

#include "Methodology.h"

#include <QStringList>

namespace orvane {

class DocumentRegistry;
class Document;
class UserInterface;

namespace GenerationCommands {

// Generates and writes the code in one methodology. True when both files
// were written; a refused generation or a failed write gives false.
// `childrenRead`, when given, receives the child diagram files the
// generation read.
bool generateCCode(DocumentRegistry& docs, Document& doc, Methodology m, UserInterface& ui,
                   QStringList* childrenRead = nullptr);

enum class DefaultResult { Written, Failed, NoDefault };
// The command of the document's default methodology; NoDefault (nothing
// generated, nothing logged) when the document has none.
DefaultResult generateDefaultCCode(DocumentRegistry& docs, Document& doc, UserInterface& ui,
                                   QStringList* childrenRead = nullptr);

}  // namespace GenerationCommands
}  // namespace orvane
