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

namespace FlatGenerators {

QString generateCodeSwitchCase(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                               bool HF, bool DI, bool AC, bool PT, Messenger& messenger);
QString generateCodePointers(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                             bool HF, bool DI, bool AC, bool PT, Messenger& messenger);
QString generateCodePointerArray(const Diagram& d, const QString& documentPath, bool FI, bool FE,
                                 bool HF, bool DI, bool AC, bool PT, Messenger& messenger);

// The same with the document's diagram, file path and generation flags.
QString generateCodeSwitchCase(const FsmDocument& doc, Messenger& messenger);
QString generateCodePointers(const FsmDocument& doc, Messenger& messenger);
QString generateCodePointerArray(const FsmDocument& doc, Messenger& messenger);

// The whole FSM as tagged text; never refuses. Ends without a line break.
QString generateListFile(const Diagram& d);

// Messages of a refused generation.
inline const QString kMsgNoName =
    QStringLiteral("Attention, before generate C-code you must name the FSM");
inline const QString kMsgNoInitial =
    QStringLiteral("Attention, to generate C-code a start node must be defined");
inline const QString kMsgEntryExit = QStringLiteral("Attention, the Entry/exit has error(s)");

}  // namespace FlatGenerators
}  // namespace orvane
