#pragma once
// The drawing's action texts and the filters that place user
// text into C comments. Positions given to callers are 0-based.

#include <QString>
#include <QStringList>

namespace orvane::Texts {

// Each line (cut at CR, LF dropped) indented, ended by CR LF and filtered.
QString formatActionText(const QString& text, int indent, bool hideComments);
// out += formatActionText(text, indent, hideComments), without a copy.
void appendFormattedActionText(QString& out, const QString& text, int indent, bool hideComments);
// Empty for a hidden line (a "//" line with hideComments, or //HIDE_LINE).
QString filterDisplayLine(const QString& line, bool hideComments);

// n blanks after every CR (and before the text when indentFirst), CR made
// CR LF, LF dropped, trailing blanks removed; empty for an empty text.
QString indentText(const QString& text, int n, bool indentFirst);
// out += indentText(text, n, indentFirst), without the text passing through a
// copy of its own (action texts may be megabytes long).
void appendIndented(QString& out, const QString& text, int n, bool indentFirst);

// Every line, the last one too, as "// " + line + CR LF.
QString commentOutLines(const QString& text);
// "/*" and "*/" split by a blank so user text cannot open or close a comment.
QString breakCommentMarks(const QString& text);

// Position (0-based) of `what` in `text` from `start`, or -1.
qsizetype findInText(const QString& text, const QString& what, bool matchCase, qsizetype start);

}  // namespace orvane::Texts
