#pragma once
// What every generator hands back and what it may ask of its caller. A
// generator touches no file: whether a child diagram exists, and the child
// documents themselves, come from a ChildDocumentSource the caller provides.

#include "Methodology.h"

#include <QString>

#include <optional>

namespace orvane {

class FsmDocument;
class Messenger;

// The two files of a generated module.
struct GeneratedCode {
    QString code;    // the .c file
    QString header;  // the .h file
};

class ChildDocumentSource {
public:
    virtual ~ChildDocumentSource() = default;
    // True when `fullPath` names an existing diagram file.
    virtual bool exists(const QString& fullPath) const = 0;
    // The document of a child diagram, opened if need be; null (with `error`
    // saying why, when known) when it cannot be opened.
    virtual const FsmDocument* openChild(const QString& fullPath, QString* error) = 0;
};

// The module of `doc` in style `m`, with the document's own options; nothing
// when the generation was refused (the messenger was told why).
std::optional<GeneratedCode> generateCode(Methodology m, const FsmDocument& doc,
                                          ChildDocumentSource& children, Messenger& messenger);

}  // namespace orvane
