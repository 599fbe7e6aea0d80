#pragma once
// Batch "--lint": the diagram checks on the diagram (with /CH on its whole
// tree of child diagrams), every problem one diagnostic line on standard
// error, nothing generated.

#include "DiagramChecks.h"

#include <QString>

#include <vector>

namespace orvane {

class DocumentRegistry;
class Document;

namespace Lint {

// The diagnostic lines of the problems: each problem about a state or a
// transition points at the line of its node in its file. A problem of the
// file `shownPath` was loaded from is reported under that name. With
// `warningsAreErrors`, warnings are reported as errors.
QStringList diagnostics(const std::vector<DiagramChecks::Problem>& problems, const QString& topFile,
                        const QString& shownPath, bool warningsAreErrors);

// For a message of a refused generation that concerns one state of the
// document (the same text as a problem of the checks): the line of that
// state's node in the file and its name. False for any other message.
bool locate(const Document& doc, const QString& message, int& line, QString& stateName);

// Checks the opened document (its tree with `tree`), prints the problems and
// returns the exit status: 1 when there is an error (or, with
// warningsAreErrors, a warning), else 0.
int run(DocumentRegistry& docs, Document& doc, const QString& shownPath, bool tree,
        bool warningsAreErrors);

}  // namespace Lint
}  // namespace orvane
