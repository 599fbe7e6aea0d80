#include "Hierarchy.h"

#include "FsmDocument.h"
#include "ChildDiagrams.h"

#include <QFileInfo>

namespace orvane::Hierarchy {

bool hasParent(FsmDocument& doc)
{
    const QString& path = doc.filePath;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    // A diagram in the root folder has no folder that could be a child folder.
    if (slash <= 0)
        return false;
    const QString candidate = path.left(slash) + QStringLiteral(".fsm");
    if (!QFileInfo(candidate).isFile())
        return false;
    doc.parentPath = candidate;
    return true;
}

QStringList childReferences(const FsmDocument& doc)
{
    ChildDiagrams references;
    references.reset(doc.filePath);
    references.scanDiagram(doc.diagram());
    return references.children();
}

}  // namespace orvane::Hierarchy
