#pragma once
// Child diagrams: found by scanning the during and else actions for calls
// NAME(...) where NAME.fsm exists beside the diagram's file or in its child
// folder (the file's path without extension).

#include "Diagram.h"

#include <QString>
#include <QStringList>

namespace orvane {

class clsParientes {
public:
    // Empties the list and takes the folders from the document's file name.
    void Reset(const QString& documentPath);
    // Adds the child references called in `text`; true when a call named an
    // existing diagram (already listed or not).
    bool BuscaEnlaces(const QString& text);
    // BuscaEnlaces over the during and else actions of every state.
    bool BuscaTodosEnlaces(const Diagram& d);
    int DimeNumeroHijos() const { return int(m_children.size()); }
    // Reference i (1-based): "NAME.fsm" or "/NAME.fsm"; empty outside 1..count.
    QString DimeHijo(int i) const;
    QString RutaCompleta(const QString& reference) const;
    QString RutaRelativa(const QString& reference) const;

    const QString& childFolder() const { return m_childFolder; }
    const QString& siblingFolder() const { return m_siblingFolder; }

private:
    void add(const QString& reference);
    QString m_childFolder, m_siblingFolder, m_relativeChildFolder;
    QStringList m_children;  // ascending code-unit order, no duplicates
};

}  // namespace orvane
