#pragma once
// The child documents of a hierarchical generation, opened through the
// document registry: a child already open is used as it is (unsaved edits
// included), any other is opened as the Open command opens a file.

#include "Generation.h"

#include <QList>
#include <QStringList>

namespace orvane {

class Document;
class DocumentRegistry;

class RegistryChildSource : public ChildDocumentSource {
public:
    explicit RegistryChildSource(DocumentRegistry& docs);
    // Closes the documents this source opened (they hold no changes) unless
    // keepOpened was asked for, and makes the document that was active when
    // the source was made active again.
    ~RegistryChildSource() override;
    RegistryChildSource(const RegistryChildSource&) = delete;
    RegistryChildSource& operator=(const RegistryChildSource&) = delete;

    bool exists(const QString& fullPath) const override;
    const FsmDocument* openChild(const QString& fullPath, QString* error) override;

    // Leaves the documents opened for the generation open afterwards.
    void keepOpened(bool keep) { m_keep = keep; }

    // The child files asked for that were read, in the order asked.
    const QStringList& readPaths() const { return m_read; }

private:
    DocumentRegistry& m_docs;
    Document* m_previousActive;
    QList<Document*> m_opened;
    bool m_keep = false;
    QStringList m_read;
};

}  // namespace orvane
