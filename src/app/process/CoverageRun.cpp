#include "CoverageRun.h"

#include "ChildDiagrams.h"
#include "Diagnostics.h"
#include "Document.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "Modules.h"
#include "NodeLines.h"
#include "OutputPaths.h"
#include "ProcessState.h"
#include "RegistryChildSource.h"
#include "SafeFileWriter.h"
#include "TraceReplay.h"

#include <QDir>
#include <QSet>

#include <cstdio>

namespace orvane::CoverageRun {

namespace {

using Diagnostics::Severity;

// The line of a node in the file its document was read from (1 when the
// file cannot be read again).
int lineOf(const FsmDocument& doc, const Node* node, std::vector<int>& lines)
{
    if (lines.empty())
        lines = NodeLines::documentNodeLines(
            SafeFileWriter::readWholeFile(doc.filePath).value_or(QByteArray()));
    const auto& nodes = doc.diagram().nodes();
    for (size_t i = 0; i < nodes.size(); ++i)
        if (nodes[i].get() == node)
            return i < lines.size() ? lines[i] : 1;
    return 1;
}

void printOut(const QString& text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void collect(const FsmDocument& doc,
             const std::function<const FsmDocument*(const QString& path)>& openChild,
             QSet<QString>& seen, std::vector<const FsmDocument*>& out)
{
    out.push_back(&doc);
    ChildDiagrams references;
    references.reset(doc.filePath);
    references.scanDiagram(doc.diagram());
    for (const QString& reference : references.children()) {
        const QString path = QDir::cleanPath(references.fullPath(reference));
        if (seen.contains(path))
            continue;
        seen.insert(path);
        if (const FsmDocument* child = openChild(path))
            collect(*child, openChild, seen, out);
    }
}

}  // namespace

std::vector<const FsmDocument*>
documentTree(const FsmDocument& top,
             const std::function<const FsmDocument*(const QString& path)>& openChild)
{
    std::vector<const FsmDocument*> out;
    QSet<QString> seen{QDir::cleanPath(top.filePath)};
    collect(top, openChild, seen, out);
    return out;
}

QStringList uncovered(const std::vector<const FsmDocument*>& documents,
                      const Simulation::TraceReplay& replay, const QString& shownTop)
{
    QStringList out;
    for (size_t i = 0; i < documents.size() && i < replay.machines().size(); ++i) {
        const FsmDocument& doc = *documents[i];
        const QString file = i == 0 ? shownTop : doc.filePath;
        const Simulation::Machine& m = replay.machines()[i];
        const Simulation::MachineCoverage& c = replay.coverage()[i];
        std::vector<int> lines;
        for (size_t s = 0; s < m.states.size(); ++s) {
            if (c.stateVisits[s] == 0)
                out << Diagnostics::format(
                    file, Severity::Warning,
                    QStringLiteral("state \"%1\" never reached").arg(m.states[s].name),
                    lineOf(doc, m.states[s].node, lines), QString(), true);
        }
        for (size_t s = 0; s < m.states.size(); ++s) {
            for (size_t t = 0; t < m.states[s].transitions.size(); ++t) {
                if (c.transitionFires[s][t] > 0)
                    continue;
                const Simulation::MachineTransition& tr = m.states[s].transitions[t];
                out << Diagnostics::format(
                    file, Severity::Warning,
                    QStringLiteral("transition %1 of state \"%2\" to \"%3\" never fired")
                        .arg(tr.priority, m.states[s].name, m.states[size_t(tr.target)].name),
                    lineOf(doc, tr.node, lines), QString(), true);
            }
        }
    }
    return out;
}

int run(DocumentRegistry& docs, Document& doc, const ProcessState& state, const QString& shownPath,
        const PictureModule* pictures, Messenger& messenger)
{
    const QString& tracePath = state.coverageTrace;
    const std::optional<QByteArray> trace = SafeFileWriter::readWholeFile(tracePath);
    if (!trace) {
        Diagnostics::print(Diagnostics::format(tracePath, Severity::Error,
                                               QStringLiteral("cannot read the trace")));
        return 1;
    }
    // The children stay open while the replay and the page use them.
    RegistryChildSource children(docs);
    const std::vector<const FsmDocument*> documents =
        documentTree(doc.fsm, [&children](const QString& path) {
            QString error;
            return children.openChild(path, &error);
        });
    std::vector<Simulation::Machine> machines;
    for (const FsmDocument* d : documents)
        machines.push_back(Simulation::Machine::read(*d));
    Simulation::TraceReplay replay(std::move(machines));
    replay.applyAll(Simulation::parseTrace(*trace));

    int status = 0;
    if (const auto& misfit = replay.misfit()) {
        Diagnostics::print(
            Diagnostics::format(tracePath, Severity::Error, misfit->text, misfit->line));
        status = 1;
    }
    printOut(QStringLiteral("states %1/%2, transitions %3/%4")
                 .arg(replay.statesReached())
                 .arg(replay.stateCount())
                 .arg(replay.transitionsFired())
                 .arg(replay.transitionCount()));
    for (const QString& line : uncovered(documents, replay, shownPath))
        Diagnostics::print(line);

    const QString page = batchOutputPath(doc.fsm, QStringLiteral(".coverage.htm"));
    if (!pictures || !pictures->writeCoveragePage(documents, replay, tracePath, page, messenger))
        status = 1;

    if (state.minCoverage) {
        const int whole = replay.transitionCount();
        const double covered = whole == 0 ? 100.0 : 100.0 * replay.transitionsFired() / whole;
        if (covered < *state.minCoverage) {
            Diagnostics::print(Diagnostics::format(
                shownPath, Severity::Error,
                QStringLiteral("transition coverage %1% is below %2%")
                    .arg(QString::number(covered, 'f', 1), QString::number(*state.minCoverage))));
            status = 1;
        }
    }
    return status;
}

}  // namespace orvane::CoverageRun
