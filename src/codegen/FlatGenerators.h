#pragma once
// The flat C generators (switch-case, pointer to state functions, array of
// pointers to state functions) and the list file. Each generator returns
// code text + "· ·" + header text + "· ·", or an empty text when it refused
// to generate (the reason went to the messenger). The document path locates
// the child diagrams called by the states.

#include "Diagram.h"

#include <QString>

namespace orvane {

class FsmDocument;
class Messenger;

namespace modC_CodeGen {

QString GenerateCodeSwitchCase(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                               bool HF, bool DI, bool AC, bool PT, Messenger& messenger);
QString GenerateCodePointers(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                             bool HF, bool DI, bool AC, bool PT, Messenger& messenger);
QString GenerateCodePointerArray(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                                 bool HF, bool DI, bool AC, bool PT, Messenger& messenger);

// The same with the document's diagram, file path and generation flags.
QString GenerateCodeSwitchCase(const FsmDocument& doc, Messenger& messenger);
QString GenerateCodePointers(const FsmDocument& doc, Messenger& messenger);
QString GenerateCodePointerArray(const FsmDocument& doc, Messenger& messenger);

// The whole FSM as tagged text; never refuses. Ends without a line break.
QString GenerateListFile(const Diagram& d);

// Messages of a refused generation.
inline const QString kMsgNoName =
    QStringLiteral("Attention, before generate C-code you must name the FSM");
inline const QString kMsgNoInitial =
    QStringLiteral("Attention, to generate C-code a start node must be defined");
inline const QString kMsgEntryExit = QStringLiteral("Attention, the Entry/exit has error(s)");

}  // namespace modC_CodeGen
}  // namespace orvane
