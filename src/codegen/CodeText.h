#pragma once
// code helpers of the code generators: indentation of user text, the
// conversion of "//" comments to ANSI comments, the comment block of the
// diagram's remarks, child initialization calls and small string utilities.
// Lines end in CR LF throughout.

#include "Diagram.h"
#include "Generation.h"

#include <QString>
#include <QStringList>

namespace orvane::CodeText {

inline const QString kCrLf = QStringLiteral("\r\n");

// Every line of `text` indented by n blanks (the first one only when
// indentFirst); LF characters are dropped, each CR becomes CR LF, trailing
// blanks of the result are removed. Empty for an empty text.
QString indentText(const QString& text, int n, bool indentFirst);
// out += indentText(text, n, indentFirst) + CR LF, the text copied once.
void indentedLine(QString& out, const QString& text, int n, bool indentFirst);

// Every line (cut at CR, LF dropped), the last one too, as "// " + line + CR LF.
QString commentOutLines(const QString& text);
// "/*" and "*/" split by a blank so that user text cannot open or close a comment.
QString breakCommentMarks(const QString& text);

// One line with its first "//" comment made a "/* */" comment. A comment at
// the start of the line is padded so that its "*/" starts in column width + 1.
// A line without "//", or with a "*/" after it, is returned unchanged.
QString ansiCommentLine(const QString& line, int width);
// Every line of the text through ansiCommentLine, except lines that begin
// inside an open block comment; lines joined by CR LF, plus a final CR LF
// when newlineAtEnd.
QString toAnsiComments(const QString& text, int width, bool newlineAtEnd);

// "/*" CR LF + every remark of the diagram (CR LF before and after each) +
// CR LF "*/" CR LF; empty when the diagram has no remark.
QString diagramCommentsBlock(const Diagram& d);

// Base names of the child diagrams called in the during and else actions of
// one state, in the order the child lookup lists them (duplicates kept).
QStringList stateChildren(const QString& documentPath, const QString& during,
                          const QString& elseAction, const ChildDocumentSource& source);
// "_CHILD_Init(); " for every child called by any state, each once, in
// diagram order, without trailing blanks.
QString childrenInitList(const Diagram& d, const QString& documentPath,
                         const ChildDocumentSource& source);
// The "// Child Initialization." block of one state at the given indentation,
// one "_CHILD_Init();" line per child; empty for a state without children.
QString childInitBlock(const QStringList& children, int indent);

// The names of a C parameter list, separated by ","; empty for "void".
QString parameterNames(const QString& params);

// Every blank replaced by "_".
QString spacesToUnderscore(const QString& text);
// False for an empty text, a text holding one of * ? + - | & ! ; , / or one
// starting with a digit.
bool isValidIdentifier(const QString& text);
// TABs expanded to the next multiple of width; CR becomes CR LF, LF dropped.
// A text without TAB comes back unchanged.
QString expandTabs(const QString& text, int width);
// The text without its surrounding double quotes, when it has both.
QString unquote(const QString& text);
// Blanks appended up to width characters.
QString padRight(const QString& text, int width);
// One trailing LF, then one trailing CR removed.
QString trimLastLineBreak(const QString& text);
// Blanks (only blanks) removed at both ends.
QString trimBlanks(const QString& text);
// Trailing blanks (only blanks) removed.
QString trimTrailingBlanks(const QString& text);

}  // namespace orvane::CodeText
