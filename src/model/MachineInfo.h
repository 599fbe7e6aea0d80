#pragma once
// The machine configuration record: kept in the diagram's tag while a
// document is open and in a hidden info node inside the file.

#include "Diagram.h"
#include "Records.h"

#include <QString>

#include <memory>

namespace orvane {
class FsmDocument;
}

namespace orvane::MachineInfo {

inline const QString kSignature = QStringLiteral("FSM V0.4c");

// Stores the configuration (its name trimmed) in the diagram's tag.
void setMachineConfig(Diagram& d, MachineConfig config);
// The default code style + ";" + the eleven option tokens of the document.
QString optionsString(const FsmDocument& doc);
void saveGraphInfo(FsmDocument& doc, bool clearTexts);
// Empties the texts and tool tips of the machine's nodes: the file holds only
// the records, and the texts are rebuilt from them after loading.
void clearTextsForFile(Diagram& d);
// What saveGraphInfo(doc, false) would make of the diagram, as a copy
// (Diagram::fileCopy) with the info node in it: the document's configuration
// record is brought up to date, and no node of the document itself is added,
// removed or touched, so the views have nothing to follow.
std::unique_ptr<Diagram> fileCopyWithRecord(FsmDocument& doc);
// The FSM name the editor gives a diagram kept in the file at `path`: the
// file's base name with blanks made underscores.
QString nameForFile(const QString& path);
void loadGraphInfo(FsmDocument& doc, bool copyInfo);
// True when the signature sorts after "FSM V0.4c" (plain code-unit order).
bool signatureIsNewer(const QString& signature);

}  // namespace orvane::MachineInfo
