#pragma once
// The coverage page of a replayed trace: for the diagram and each child
// diagram its picture as inline SVG, reached states and fired transitions
// in green, the others in red, and tables of the counts.

#include "DiagramRenderer.h"

#include <QString>

#include <vector>

namespace orvane {
class FsmDocument;
class Messenger;
namespace Simulation {
class TraceReplay;
}
}  // namespace orvane

namespace orvane::CoveragePage {

// The colours of a machine's states and transitions after a replay:
// `machine` indexes the replay's machines, read from `document`.
DiagramRenderer::ColourOverrides
coverageColours(const FsmDocument& document, const Simulation::TraceReplay& replay, int machine);

// The page; documents[i] is the diagram of the replay's machine i.
QString pageText(const std::vector<const FsmDocument*>& documents,
                 const Simulation::TraceReplay& replay, const QString& traceName);

// Writes the page through the safe writer; a failure is told through the
// messenger and gives false.
bool writePage(const std::vector<const FsmDocument*>& documents,
               const Simulation::TraceReplay& replay, const QString& traceName, const QString& path,
               Messenger& messenger);

}  // namespace orvane::CoveragePage
