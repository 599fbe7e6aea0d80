#pragma once
// The child documents of a hierarchical generation, opened through the
// document registry: a child already open is used as it is (unsaved edits
// included), any other is opened as the Open command opens a file.

#include "Generation.h"

#include <QHash>
#include <QList>
#include <QSet>
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

    // Answered from one listing of each folder asked about: the generators
    // ask for every function a state calls, and most name no diagram.
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
    mutable QHash<QString, QSet<QString>> m_folderFiles;  // folder -> its file names
};

}  // namespace orvane
