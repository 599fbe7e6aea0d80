#include "Lint.h"

#include "Diagnostics.h"
#include "Document.h"
#include "FsmDocument.h"
#include "NodeLines.h"
#include "RegistryChildSource.h"
#include "SafeFileWriter.h"

#include <QFile>
#include <QHash>

namespace orvane::Lint {

namespace {

// The line of a node of an open document, read from its file.
class LineFinder {
public:
    int lineOf(const QString& file, const Node* node)
    {
        if (!node)
            return 0;
        auto it = m_lines.find(file);
        if (it == m_lines.end()) {
            it = m_lines.insert(file,
                                NodeLines::documentNodeLines(
                                    SafeFileWriter::readWholeFile(file).value_or(QByteArray())));
        }
        const Diagram* d = node->diagram();
        if (!d)
            return 1;
        const auto& nodes = d->nodes();
        for (size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i].get() == node)
                return i < it->size() ? (*it)[i] : 1;
        return 1;
    }

private:
    QHash<QString, std::vector<int>> m_lines;
};

}  // namespace

QStringList diagnostics(const std::vector<DiagramChecks::Problem>& problems, const QString& topFile,
                        const QString& shownPath, bool warningsAreErrors)
{
    LineFinder lines;
    QStringList out;
    for (const DiagramChecks::Problem& p : problems) {
        const auto severity = warningsAreErrors ? DiagramChecks::Severity::Error : p.severity;
        const QString file = p.file == topFile ? shownPath : p.file;
        const bool aboutNode = p.node != nullptr;
        out.append(Diagnostics::format(file, severity, p.text, lines.lineOf(p.file, p.node),
                                       aboutNode ? p.stateName : QString(), aboutNode));
    }
    return out;
}

bool locate(const Document& doc, const QString& message, int& line, QString& stateName)
{
    const QString text = Diagnostics::format(QString(), DiagramChecks::Severity::Error, message);
    for (const DiagramChecks::Problem& p :
         DiagramChecks::checkDiagram(doc.fsm.diagram(), doc.fsm.filePath)) {
        if (!p.node
            || Diagnostics::format(QString(), DiagramChecks::Severity::Error, p.text) != text)
            continue;
        LineFinder lines;
        line = lines.lineOf(p.file, p.node);
        stateName = p.stateName;
        return true;
    }
    return false;
}

int run(DocumentRegistry& docs, Document& doc, const QString& shownPath, bool tree,
        bool warningsAreErrors)
{
    // The children stay open while their problems are reported.
    RegistryChildSource children(docs);
    std::vector<DiagramChecks::Problem> problems;
    if (tree) {
        problems =
            DiagramChecks::checkTree(doc.fsm, [&children](const QString& path, QString* error) {
                return children.openChild(path, error);
            });
    } else {
        problems = DiagramChecks::checkDiagram(doc.fsm.diagram(), doc.fsm.filePath);
    }
    for (const QString& line :
         diagnostics(problems, doc.fsm.filePath, shownPath, warningsAreErrors))
        Diagnostics::print(line);
    const int errors = DiagramChecks::errorCount(problems);
    const bool failed = errors > 0 || (warningsAreErrors && !problems.empty());
    return failed ? 1 : 0;
}

}  // namespace orvane::Lint
