#pragma once
// Reads an SCXML document into diagram files. Orvane's own SCXML export
// comes back whole: records, kinds, priorities, the machine configuration,
// remarks and positions from its namespace. Plain SCXML from other tools
// gives states (with `initial` and <initial>), finals, transitions with
// `cond`, and <onentry>/<onexit> scripts; anything else (unknown elements,
// other namespaces such as other editors' layout data) is left out with a
// warning that names it. States without positions are laid out left to
// right by their distance from the initial state. A compound state becomes
// a child diagram (in the child folder, or where the export says it was),
// and the compound state calls it.

#include <QString>
#include <QStringList>

namespace orvane {

class Messenger;

namespace ScxmlImport {

struct Result {
    bool ok = false;
    QString error;        // why nothing (or not everything) was written
    QStringList written;  // the diagram files, the top one first
    QStringList warnings;
};

// Reads `scxmlPath` and writes the top diagram into `outputFolder` (empty:
// the SCXML file's folder) as NAME.fsm, NAME being the machine's name (else
// the SCXML file's base name), and its children below or beside it. An
// existing diagram file is never replaced: the import then writes nothing.
Result importFile(const QString& scxmlPath, const QString& outputFolder);

}  // namespace ScxmlImport
}  // namespace orvane
