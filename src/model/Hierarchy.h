#pragma once
// Parent lookup and the list of a diagram's children.

#include <QStringList>

namespace orvane {
class FsmDocument;
}

namespace orvane::Hierarchy {

// The parent is the folder's name + ".fsm" beside the folder; when it exists
// it is recorded in doc.parentPath and the result is true.
bool hasParent(FsmDocument& doc);
// The child references of the document's diagram in list order.
QStringList childReferences(const FsmDocument& doc);

}  // namespace orvane::Hierarchy
