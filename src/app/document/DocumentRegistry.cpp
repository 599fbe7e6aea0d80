#include "DocumentRegistry.h"

#include "Document.h"
#include "FileHelpers.h"

#include <algorithm>

namespace orvane {

DocumentRegistry::DocumentRegistry(UserInterface& ui, QObject* parent) : QObject(parent), m_ui(ui)
{
}

DocumentRegistry::~DocumentRegistry()
{
    while (!m_docs.empty())
        remove(m_docs.back().get());
}

Document* DocumentRegistry::create()
{
    m_docs.push_back(std::make_unique<Document>());
    Document* doc = m_docs.back().get();
    emit documentAdded(doc);
    setActive(doc);
    return doc;
}

void DocumentRegistry::remove(Document* doc)
{
    const auto it =
        std::find_if(m_docs.begin(), m_docs.end(),
                     [doc](const std::unique_ptr<Document>& d) { return d.get() == doc; });
    if (it == m_docs.end())
        return;
    emit documentAboutToBeRemoved(doc);
    doc->undo.cleanUndoFiles();
    m_canonical.remove(doc);
    std::unique_ptr<Document> owned = std::move(*it);
    m_docs.erase(it);
    if (m_active == doc)
        setActive(m_docs.empty() ? nullptr : m_docs.back().get());
    emit documentRemoved(count());
}

QList<Document*> DocumentRegistry::documents() const
{
    QList<Document*> list;
    list.reserve(qsizetype(m_docs.size()));
    for (const auto& d : m_docs)
        list.append(d.get());
    return list;
}

bool DocumentRegistry::contains(const Document* doc) const
{
    return std::any_of(m_docs.begin(), m_docs.end(),
                       [doc](const std::unique_ptr<Document>& d) { return d.get() == doc; });
}

void DocumentRegistry::setActive(Document* doc)
{
    if (doc == m_active || (doc && !contains(doc)))
        return;
    m_active = doc;
    emit activeChanged(doc);
}

Document* DocumentRegistry::find(const QString& path) const
{
    if (path.isEmpty())
        return nullptr;
    const QString wanted = FileHelpers::canonicalPath(path);
    for (const auto& d : m_docs)
        if (!d->fsm.filePath.isEmpty() && canonicalOf(d.get()) == wanted)
            return d.get();
    return nullptr;
}

const QString& DocumentRegistry::canonicalOf(const Document* doc) const
{
    KnownPath& known = m_canonical[doc];
    if (known.path != doc->fsm.filePath || known.canonical.isEmpty()) {
        known.path = doc->fsm.filePath;
        known.canonical = FileHelpers::canonicalPath(known.path);
    }
    return known.canonical;
}

}  // namespace orvane
