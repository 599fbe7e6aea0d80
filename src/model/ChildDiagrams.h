#pragma once
// Child diagrams: found by scanning the during and else actions for calls
// NAME(...) where NAME.fsm exists beside the diagram's file or in its child
// folder (the file's path without extension).

#include "Diagram.h"

#include <QString>
#include <QStringList>

namespace orvane {

class ChildDiagrams {
public:
    // Empties the list and takes the folders from the document's file name.
    void reset(const QString& documentPath);
    // Adds the child references called in `text`; true when a call named an
    // existing diagram (already listed or not).
    bool scanText(const QString& text);
    // scanText over the during and else actions of every state.
    bool scanDiagram(const Diagram& d);
    int childCount() const { return int(m_children.size()); }
    // Reference i (1-based): "NAME.fsm" or "/NAME.fsm"; empty outside 1..count.
    QString child(int i) const;
    QString fullPath(const QString& reference) const;
    QString relativePath(const QString& reference) const;

    const QString& childFolder() const { return m_childFolder; }
    const QString& siblingFolder() const { return m_siblingFolder; }

private:
    void add(const QString& reference);
    QString m_childFolder, m_siblingFolder, m_relativeChildFolder;
    QStringList m_children;  // ascending code-unit order, no duplicates
};

}  // namespace orvane
