#pragma once
// State-diagram texts for documentation: Mermaid (stateDiagram-v2) and
// PlantUML. States appear in the order of their index, transitions of a
// state in priority order; a transition's condition and action form its
// label ("condition / action"), a state's entry, during, exit and else
// actions a note beside it. Every text is escaped for the target syntax,
// so C code (comments, strings, operators) never breaks the diagram.

#include <QString>

namespace orvane {
class FsmDocument;
class Messenger;
}  // namespace orvane

namespace orvane::DiagramText {

// The Mermaid state diagram of the document's machine.
QString toMermaid(const FsmDocument& doc);

// The PlantUML state diagram of the document's machine.
QString toPlantUml(const FsmDocument& doc);

// A text for a Mermaid label or note: characters that Mermaid reads as
// syntax become "#NNN;" codes, line breaks "<br>".
QString mermaidEscape(const QString& text);

// A text for a PlantUML label or note: quotes, backslashes, angle brackets
// and preprocessor characters become "<U+XXXX>", the second character of a
// markup pair ("//", "--", "**", "__", "~~") too, and line breaks "\n".
QString plantUmlEscape(const QString& text);

// Writes toMermaid or toPlantUml (UTF-8, LF) to `path` through the safe
// writer; failures as the other exports report them.
bool fileSaveAsMermaid(FsmDocument& doc, const QString& path, Messenger& messenger);
bool fileSaveAsPlantUml(FsmDocument& doc, const QString& path, Messenger& messenger);

}  // namespace orvane::DiagramText
