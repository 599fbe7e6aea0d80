#pragma once
// The SCXML export: one <scxml> document for a diagram and the child
// diagrams its states call. Each state is a <state> (a <final> for a final
// state without transitions) whose id is its name; the initial state is the
// parent's `initial`; transitions follow in priority order (SCXML gives the
// earlier one priority) with the C condition in `cond` and the C action in
// a <script>; entry and exit actions are <onentry>/<onexit> scripts. What
// SCXML has no place for (during and else actions, indices, the IsIn and
// Goto flags, priorities, the machine configuration, remarks, positions and
// sizes) goes into elements and attributes of the Orvane namespace, so that
// an import gives back the same machine. A state that calls a child diagram
// contains the child's states as a compound state (with a deep <history>
// when the child is a history machine).

#include <QByteArray>
#include <QString>

namespace orvane {
class FsmDocument;
class Messenger;
}  // namespace orvane

namespace orvane::ScxmlWriter {

inline const QString kScxmlNamespace = QStringLiteral("http://www.w3.org/2005/07/scxml");
inline const QString kOrvaneNamespace = QStringLiteral("http://orvane.org/scxml");

// The document of the diagram tree. Child diagrams are read from their
// files; one that cannot be read is left out and named in a warning.
QByteArray toScxml(const FsmDocument& doc, Messenger& messenger);

// Writes toScxml to `path` through the safe writer; failures as the other
// exports report them.
bool fileSaveAsScxml(FsmDocument& doc, const QString& path, Messenger& messenger);

}  // namespace orvane::ScxmlWriter
