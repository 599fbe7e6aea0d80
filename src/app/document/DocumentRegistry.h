#pragma once
// The open documents in the order they were opened, the active one, and the
// lookup of a document by its file. Windows follow it through its signals:
// one document window per document.

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

namespace orvane {

class Document;
class UserInterface;

class DocumentRegistry : public QObject {
    Q_OBJECT
public:
    explicit DocumentRegistry(UserInterface& ui, QObject* parent = nullptr);
    // Removes every document left open (their snapshot files go too).
    ~DocumentRegistry() override;

    UserInterface& ui() const { return m_ui; }

    // A new document, last in order and active.
    Document* create();
    // Deletes the document's snapshot files and the document.
    void remove(Document* doc);

    QList<Document*> documents() const;
    int count() const { return int(m_docs.size()); }
    bool contains(const Document* doc) const;

    Document* active() const { return m_active; }
    void setActive(Document* doc);

    // The open document whose file is `path` (canonical paths compared).
    Document* find(const QString& path) const;

signals:
    void documentAdded(orvane::Document* doc);
    void documentAboutToBeRemoved(orvane::Document* doc);
    void documentRemoved(int remaining);
    void activeChanged(orvane::Document* doc);
    // The recent files that exist, most recent first (at most six).
    void recentFilesChanged(const QStringList& paths);

private:
    // The canonical path of a document's file, kept with the path it was
    // found for: a lookup then costs no file system calls per open document.
    struct KnownPath {
        QString path, canonical;
    };
    const QString& canonicalOf(const Document* doc) const;

    UserInterface& m_ui;
    std::vector<std::unique_ptr<Document>> m_docs;
    mutable QHash<const Document*, KnownPath> m_canonical;
    Document* m_active = nullptr;
};

}  // namespace orvane
