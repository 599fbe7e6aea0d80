#include "CoveragePage.h"

#include "DiagramPicture.h"
#include "FsmDocument.h"
#include "Messenger.h"
#include "SafeFileWriter.h"
#include "TraceReplay.h"

namespace orvane::CoveragePage {

namespace {

const QColor kReachedFill(0xc8, 0xf0, 0xc8);
const QColor kReachedLine(0x1e, 0x8c, 0x1e);
const QColor kMissedFill(0xf8, 0xc8, 0xc8);
const QColor kMissedLine(0xc8, 0x1e, 0x1e);

QString escaped(const QString& text) { return text.toHtmlEscaped(); }

// The SVG element of the document, without the XML declaration before it.
QString inlineSvg(const QByteArray& svg)
{
    const qsizetype start = svg.indexOf("<svg");
    return QString::fromUtf8(start < 0 ? svg : svg.mid(start));
}

QString countCell(int count)
{
    return (count > 0 ? QStringLiteral("<td class=\"yes\">") : QStringLiteral("<td class=\"no\">"))
           + QString::number(count) + QStringLiteral("</td>");
}

QString percent(int part, int whole)
{
    return whole == 0 ? QStringLiteral("100") : QString::number(100.0 * part / whole, 'f', 1);
}

}  // namespace

DiagramRenderer::ColourOverrides coverageColours(const FsmDocument&,
                                                 const Simulation::TraceReplay& replay, int machine)
{
    DiagramRenderer::ColourOverrides colours;
    const Simulation::Machine& m = replay.machines()[size_t(machine)];
    const Simulation::MachineCoverage& c = replay.coverage()[size_t(machine)];
    for (size_t s = 0; s < m.states.size(); ++s) {
        const bool reached = c.stateVisits[s] > 0;
        colours.nodeFill.insert(m.states[s].node, reached ? kReachedFill : kMissedFill);
        colours.nodeOutline.insert(m.states[s].node, reached ? kReachedLine : kMissedLine);
        for (size_t t = 0; t < m.states[s].transitions.size(); ++t) {
            const Node* node = m.states[s].transitions[t].node;
            const bool fired = c.transitionFires[s][t] > 0;
            colours.nodeFill.insert(node, fired ? kReachedFill : kMissedFill);
            colours.nodeOutline.insert(node, fired ? kReachedLine : kMissedLine);
            for (const Link* l : node->inLinks())
                colours.link.insert(l, fired ? kReachedLine : kMissedLine);
            for (const Link* l : node->outLinks())
                colours.link.insert(l, fired ? kReachedLine : kMissedLine);
        }
    }
    return colours;
}

QString pageText(const std::vector<const FsmDocument*>& documents,
                 const Simulation::TraceReplay& replay, const QString& traceName)
{
    const QString top = replay.machines().empty() ? QString() : replay.machines().front().name;
    QString page;
    page +=
        QStringLiteral(
            "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Coverage of ")
        + escaped(top) + QStringLiteral("</title>\n<style>\n")
        + QStringLiteral("table { border-collapse: collapse; margin: 0.5em 0 1.5em 0; }\n"
                         "th, td { border: 1px solid #888; padding: 2px 8px; text-align: left; }\n"
                         "td.yes { background: #c8f0c8; }\ntd.no { background: #f8c8c8; }\n"
                         "svg { max-width: 100%; height: auto; }\n")
        + QStringLiteral("</style>\n</head>\n<body>\n<h1>Coverage of ") + escaped(top)
        + QStringLiteral("</h1>\n<p>Trace: ") + escaped(traceName)
        + QStringLiteral("<br>\nStates %1/%2 (%3%), transitions %4/%5 (%6%).</p>\n")
              .arg(replay.statesReached())
              .arg(replay.stateCount())
              .arg(percent(replay.statesReached(), replay.stateCount()))
              .arg(replay.transitionsFired())
              .arg(replay.transitionCount())
              .arg(percent(replay.transitionsFired(), replay.transitionCount()));
    if (const auto& misfit = replay.misfit())
        page += QStringLiteral("<p>The replay stopped at line %1: %2.</p>\n")
                    .arg(misfit->line)
                    .arg(escaped(misfit->text));
    for (size_t i = 0; i < replay.machines().size() && i < documents.size(); ++i) {
        const Simulation::Machine& m = replay.machines()[i];
        const Simulation::MachineCoverage& c = replay.coverage()[i];
        page += QStringLiteral("<h2>FSM ") + escaped(m.name)
                + QStringLiteral("</h2>\n<p>States %1/%2, transitions %3/%4.</p>\n")
                      .arg(c.statesReached())
                      .arg(c.stateCount())
                      .arg(c.transitionsFired())
                      .arg(c.transitionCount());
        page += inlineSvg(DiagramPicture::toSvg(documents[i]->diagram(),
                                                coverageColours(*documents[i], replay, int(i))));
        page += QStringLiteral("\n<table>\n<tr><th>State</th><th>Reached</th></tr>\n");
        for (size_t s = 0; s < m.states.size(); ++s)
            page += QStringLiteral("<tr><td>") + escaped(m.states[s].name) + QStringLiteral("</td>")
                    + countCell(c.stateVisits[s]) + QStringLiteral("</tr>\n");
        page += QStringLiteral("</table>\n<table>\n<tr><th>From</th><th>Priority</th>"
                               "<th>Condition</th><th>To</th><th>Fired</th></tr>\n");
        for (size_t s = 0; s < m.states.size(); ++s) {
            for (size_t t = 0; t < m.states[s].transitions.size(); ++t) {
                const Simulation::MachineTransition& tr = m.states[s].transitions[t];
                page += QStringLiteral("<tr><td>") + escaped(m.states[s].name)
                        + QStringLiteral("</td><td>") + escaped(tr.priority)
                        + QStringLiteral("</td><td><code>") + escaped(tr.condition)
                        + QStringLiteral("</code></td><td>")
                        + escaped(m.states[size_t(tr.target)].name) + QStringLiteral("</td>")
                        + countCell(c.transitionFires[s][t]) + QStringLiteral("</tr>\n");
            }
        }
        page += QStringLiteral("</table>\n");
    }
    page += QStringLiteral("</body>\n</html>\n");
    return page;
}

bool writePage(const std::vector<const FsmDocument*>& documents,
               const Simulation::TraceReplay& replay, const QString& traceName, const QString& path,
               Messenger& messenger)
{
    const SafeFileWriter::WriteResult result =
        SafeFileWriter::writeFileSafely(path, pageText(documents, replay, traceName).toUtf8());
    if (result.ok())
        return true;
    messenger.message(QStringLiteral("cannot write ") + path + QStringLiteral(": ") + result.reason,
                      MessageIcon::Exclamation);
    return false;
}

}  // namespace orvane::CoveragePage
