#pragma once
// Batch messages in the form build tools and editors read, one line each:
// "FILE: error: TEXT", "FILE: warning: TEXT", and, for a message about one
// state or transition, "FILE:LINE: error: state "NAME": TEXT" with the line
// of that node in the file (1 when it is not known).

#include "DiagramChecks.h"

#include <QString>

namespace orvane::Diagnostics {

using DiagramChecks::Severity;

// One diagnostic line without its line break. `line` 0 and `stateName`
// empty: the message concerns the whole file. Line breaks in the text become
// blanks.
QString format(const QString& file, Severity severity, const QString& text, int line = 0,
               const QString& stateName = QString(), bool concernsNode = false);

// Writes the line and a line break to standard error.
void print(const QString& diagnostic);

}  // namespace orvane::Diagnostics
