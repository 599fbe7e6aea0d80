#pragma once
// The FSM configuration record (GraphInfo) kept in the diagram's Tag while a
// document is open and in a hidden info node inside the file.

#include "Diagram.h"

#include <QString>

namespace orvane {
class FsmDocument;
}

namespace orvane::MachineInfo {

inline const QString kSignature = QStringLiteral("FSM V0.4c");

enum GraphField {
    kGraphSignature = 0,
    kGraphName = 1,
    kGraphInit = 2,
    kGraphBefore = 3,
    kGraphOptions = 4,
    kGraphParams = 5,
    kGraphAfter = 6,
    kGraphFinal = 7,
    kGraphModuleHeader = 8,
    kGraphFunctionHeader = 9,
    kGraphDefault = 10,
    kGraphFieldCount = 11
};

QString getGraphField(int k, const Diagram& d);
// Stores the eleven fields (name trimmed) in the diagram's Tag.
void setGraphInfo(Diagram& d, const QString& name, const QString& params, const QString& init,
                  const QString& before, const QString& defaultAction, const QString& after,
                  const QString& finalActions, const QString& signature, const QString& options,
                  const QString& moduleHeader, const QString& functionHeader);
// The default code style + ";" + the eleven option tokens of the document.
QString optionsString(const FsmDocument& doc);
void saveGraphInfo(FsmDocument& doc, bool clearTexts);
void loadGraphInfo(FsmDocument& doc, bool copyInfo);
// True when the signature sorts after "FSM V0.4c" (plain code-unit order).
bool signatureIsNewer(const QString& signature);

}  // namespace orvane::MachineInfo
