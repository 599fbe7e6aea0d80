#pragma once
// Child diagrams: found by scanning the during and else actions for calls
// NAME(...) where NAME.fsm exists beside the diagram's file or in its child
// folder (the file's path without extension).

#include "Diagram.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace orvane {

class ChildDiagrams {
public:
    // Says whether a path names an existing diagram file.
    using Exists = std::function<bool(const QString& path)>;
    // Children are checked against the file system.
    ChildDiagrams();
    // True when `path` names an existing file (a folder is no diagram).
    static bool isDiagramFile(const QString& path);
    // Children are checked by `exists` (the generators ask their caller).
    explicit ChildDiagrams(Exists exists);

    // Empties the list and takes the folders from the document's file name.
    void reset(const QString& documentPath);
    // Adds the child references called in `text`; true when a call named an
    // existing diagram (already listed or not).
    bool scanText(const QString& text);
    // scanText over the during and else actions of every state.
    bool scanDiagram(const Diagram& d);
    // The references found: "NAME.fsm" beside the file or "/NAME.fsm" in its
    // child folder, in ascending code-unit order without duplicates.
    const QStringList& children() const { return m_children; }
    QString fullPath(const QString& reference) const;
    QString relativePath(const QString& reference) const;

    const QString& childFolder() const { return m_childFolder; }
    const QString& siblingFolder() const { return m_siblingFolder; }

private:
    void add(const QString& reference);
    Exists m_exists;
    QString m_childFolder, m_siblingFolder, m_relativeChildFolder;
    QStringList m_children;
};

}  // namespace orvane
