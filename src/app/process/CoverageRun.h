#pragma once
// Batch "--coverage=TRACE": the trace replayed over the diagram and the
// child diagrams it calls, the totals on standard output
// ("states N/M, transitions N/M"), every state never reached and every
// transition never fired as a warning at its line in its file, the
// coverage page NAME.coverage.htm in the output folder, and with
// --min-coverage=P status 1 when fewer than P percent of the transitions
// fired. A line of the trace that does not fit the diagrams is an error at
// that line of the trace, and the status is 1.

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace orvane {

class Document;
class DocumentRegistry;
class FsmDocument;
class Messenger;
struct PictureModule;
struct ProcessState;

namespace Simulation {
class TraceReplay;
}

namespace CoverageRun {

// The diagram and every child diagram it calls (depth first, each once),
// opened through `openChild`; the diagram first.
std::vector<const FsmDocument*>
documentTree(const FsmDocument& top,
             const std::function<const FsmDocument*(const QString& path)>& openChild);

// The warnings about what the replay never reached, one diagnostic line
// each; `shownTop` names the top diagram's file.
QStringList uncovered(const std::vector<const FsmDocument*>& documents,
                      const Simulation::TraceReplay& replay, const QString& shownTop);

// The whole run; the exit status.
int run(DocumentRegistry& docs, Document& doc, const ProcessState& state, const QString& shownPath,
        const PictureModule* pictures, Messenger& messenger);

}  // namespace CoverageRun
}  // namespace orvane
