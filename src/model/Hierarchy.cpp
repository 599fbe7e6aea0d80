#include "modConsulta.h"

#include "FsmDocument.h"
#include "clsParientes.h"

#include <QFileInfo>

namespace orvane::modConsulta {

bool HasParent(FsmDocument& doc)
{
    const QString& path = doc.sFullDocname;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    // A diagram in the root folder has no folder that could be a child folder.
    if (slash <= 0)
        return false;
    const QString candidate = path.left(slash) + QStringLiteral(".fsm");
    if (!QFileInfo(candidate).isFile())
        return false;
    doc.sPadre = candidate;
    return true;
}

QStringList ChildReferences(const FsmDocument& doc)
{
    clsParientes parientes;
    parientes.Reset(doc.sFullDocname);
    parientes.BuscaTodosEnlaces(doc.diagram());
    QStringList out;
    for (int i = 1; i <= parientes.DimeNumeroHijos(); ++i)
        out.append(parientes.DimeHijo(i));
    return out;
}

}  // namespace orvane::modConsulta
