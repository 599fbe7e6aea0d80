#pragma once
// Parent lookup and the list of a diagram's children.

#include <QStringList>

namespace orvane {
class FsmDocument;
}

namespace orvane::modConsulta {

// The parent is the folder's name + ".fsm" beside the folder; when it exists
// it is recorded in doc.sPadre and the result is true.
bool HasParent(FsmDocument& doc);
// The child references of the document's diagram in list order.
QStringList ChildReferences(const FsmDocument& doc);

}  // namespace orvane::modConsulta
