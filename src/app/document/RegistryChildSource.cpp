#include "RegistryChildSource.h"

#include "Document.h"
#include "DocumentRegistry.h"
#include "ChildDiagrams.h"
#include "DocumentCommands.h"

#include <QDir>

namespace orvane {

RegistryChildSource::RegistryChildSource(DocumentRegistry& docs)
    : m_docs(docs), m_previousActive(docs.active())
{
}

RegistryChildSource::~RegistryChildSource()
{
    if (!m_keep) {
        for (Document* doc : m_opened)
            m_docs.remove(doc);
    }
    if (m_previousActive && m_docs.active() != m_previousActive
        && m_docs.contains(m_previousActive))
        m_docs.setActive(m_previousActive);
}

bool RegistryChildSource::exists(const QString& fullPath) const
{
    const qsizetype slash = fullPath.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return ChildDiagrams::isDiagramFile(fullPath);
    const QString folder = fullPath.left(slash + 1);
    auto it = m_folderFiles.find(folder);
    if (it == m_folderFiles.end()) {
        const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System
                                                         | QDir::NoDotAndDotDot);
        it = m_folderFiles.insert(folder, QSet<QString>(names.begin(), names.end()));
    }
    // A listed name is confirmed on the file itself.
    return it->contains(fullPath.mid(slash + 1)) && ChildDiagrams::isDiagramFile(fullPath);
}

const FsmDocument* RegistryChildSource::openChild(const QString& fullPath, QString* error)
{
    // Left snapshots of a child are offered when the user opens it, not in
    // the middle of a generation.
    const DocumentCommands::OpenResult r = DocumentCommands::fileOpen(m_docs, fullPath, false);
    // A failed load leaves an empty document behind: it is this source's too.
    if (r.document
        && (r.status == DocumentCommands::OpenStatus::Opened
            || r.status == DocumentCommands::OpenStatus::LoadFailed))
        m_opened.append(r.document);
    if (r.ok()) {
        if (!m_read.contains(fullPath))
            m_read.append(fullPath);
        return &r.document->fsm;
    }
    QString why;
    switch (r.status) {
    case DocumentCommands::OpenStatus::Missing:
        why = QStringLiteral("the file does not exist");
        break;
    case DocumentCommands::OpenStatus::LoadFailed:
        why = r.error;
        break;
    case DocumentCommands::OpenStatus::Declined:
        why = QStringLiteral("the file has a newer signature");
        break;
    default:
        why = QStringLiteral("the file was not opened");
        break;
    }
    if (error)
        *error = why;
    return nullptr;
}

}  // namespace orvane
