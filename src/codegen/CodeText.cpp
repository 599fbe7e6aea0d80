#include "CodeText.h"

#include "ChildDiagrams.h"
#include "Paths.h"
#include "States.h"
#include "Texts.h"

#include <QSet>

#include <algorithm>

namespace orvane::CodeText {

namespace {

const QChar kCr = QLatin1Char('\r');
const QChar kLf = QLatin1Char('\n');
const QChar kBlank = QLatin1Char(' ');

// Calls `visit` with each line of the text cut at each CR, LF characters
// dropped, one line at a time: a whole generated module would otherwise be
// held a second time as a list of lines.
template <typename Visit> void forEachLine(const QString& text, Visit visit)
{
    QString line;
    qsizetype start = 0;
    while (true) {
        const qsizetype cr = text.indexOf(kCr, start);
        const qsizetype end = cr < 0 ? text.size() : cr;
        if (start < end && text.at(start) == kLf)
            ++start;  // the LF of a CR LF, without a search of the line
        line = text.mid(start, end - start);
        line.remove(kLf);
        visit(line);
        if (cr < 0)
            return;
        start = cr + 1;
    }
}

// Advances over a string or character literal that starts at i (the quote);
// the literal ends at its closing quote or at the end of the line.
qsizetype skipLiteral(const QString& line, qsizetype i)
{
    const QChar quote = line.at(i);
    ++i;
    while (i < line.size()) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('\\'))
            i += 2;
        else if (c == quote)
            return i + 1;
        else
            ++i;
    }
    return line.size();
}

// Whether a block comment is still open at the end of the line, given
// whether one was open at its start. A "/*" inside a "//" comment or inside
// a literal opens nothing.
bool blockOpenAfter(const QString& line, bool open)
{
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        if (open) {
            const qsizetype close = line.indexOf(QLatin1String("*/"), i);
            if (close < 0)
                return true;
            open = false;
            i = close + 2;
            continue;
        }
        const QChar c = line.at(i);
        if (c == QLatin1Char('/') && i + 1 < n) {
            const QChar next = line.at(i + 1);
            if (next == QLatin1Char('/'))
                return false;
            if (next == QLatin1Char('*')) {
                open = true;
                i += 2;
                continue;
            }
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            i = skipLiteral(line, i);
            continue;
        }
        ++i;
    }
    return open;
}

}  // namespace

QString indentText(const QString& text, int n, bool indentFirst)
{
    return Texts::indentText(text, n, indentFirst);
}

void indentedLine(QString& out, const QString& text, int n, bool indentFirst)
{
    Texts::appendIndented(out, text, n, indentFirst);
    out += kCrLf;
}

QString commentOutLines(const QString& text) { return Texts::commentOutLines(text); }

QString breakCommentMarks(const QString& text) { return Texts::breakCommentMarks(text); }

QString ansiCommentLine(const QString& line, int width)
{
    // Most lines have no slash at all; a search for one character is fast.
    const qsizetype p = line.contains(u'/') ? line.indexOf(QLatin1String("//")) : -1;
    if (p < 0)
        return line;
    const QString rest = line.mid(p + 2);
    // A "*/" after the "//" would end the new comment early: keep the line.
    if (rest.contains(QLatin1String("*/")))
        return line;
    if (p == 0) {
        QString out = QLatin1String("/*") + rest;
        if (out.size() < width)
            out += QString(width - out.size(), kBlank);
        return out + QLatin1String("*/");
    }
    return line.left(p) + QLatin1String("/*") + rest + QLatin1String(" */");
}

QString toAnsiComments(const QString& text, int width, bool newlineAtEnd)
{
    QString out;
    out.reserve(text.size() + text.size() / 8 + 2);
    bool open = false;
    bool first = true;
    forEachLine(text, [&](const QString& line) {
        if (!first)
            out += kCrLf;
        first = false;
        // A line that begins inside a block comment is comment text already.
        out += open ? line : ansiCommentLine(line, width);
        open = blockOpenAfter(line, open);
    });
    if (newlineAtEnd)
        out += kCrLf;
    return out;
}

QString diagramCommentsBlock(const Diagram& d)
{
    QString collected;
    for (const auto& node : d.nodes()) {
        if (States::isTextBox(node.get()))
            collected += kCrLf + breakCommentMarks(node->text()) + kCrLf;
    }
    if (collected.isEmpty())
        return {};
    return QLatin1String("/*") + kCrLf + collected + kCrLf + QLatin1String("*/") + kCrLf;
}

QStringList stateChildren(const QString& documentPath, const QString& during,
                          const QString& elseAction, const ChildDocumentSource& source)
{
    ChildDiagrams references([&source](const QString& path) { return source.exists(path); });
    references.reset(documentPath);
    QStringList out;
    if (!references.scanText(during + kCrLf + elseAction))
        return out;
    for (const QString& child : references.children())
        out.append(Paths::baseName(child));
    return out;
}

QString childrenInitList(const Diagram& d, const QString& documentPath,
                         const ChildDocumentSource& source)
{
    QString list;
    QSet<QString> seen;
    for (const auto& node : d.nodes()) {
        if (!States::isStateNode(node.get()))
            continue;
        const StateRecord state = stateRecord(node.get());
        const QStringList children =
            stateChildren(documentPath, state.during, state.elseAction, source);
        for (const QString& child : children) {
            const QString item = QLatin1Char('_') + child + QLatin1String("_Init(); ");
            if (!seen.contains(item)) {
                seen.insert(item);
                list += item;
            }
        }
    }
    return trimTrailingBlanks(list);
}

QString childInitBlock(const QStringList& children, int indent)
{
    if (children.isEmpty())
        return {};
    QString list;
    for (const QString& child : children)
        list += QLatin1Char('_') + child + QLatin1String("_Init();") + kCrLf;
    return QString(indent, kBlank) + QLatin1String("// Child Initialization.") + kCrLf
           + indentText(list, indent, true);
}

QString parameterNames(const QString& params)
{
    // Read backwards: a name ends (going left) at a blank or "*"; the type in
    // front of it is skipped up to the "," that ends the previous parameter.
    QString reversed;
    bool skipping = false;
    for (qsizetype i = params.size() - 1; i >= 0; --i) {
        const QChar c = params.at(i);
        if (skipping) {
            if (c == QLatin1Char(',')) {
                skipping = false;
                reversed += c;
            }
        } else if (c == kBlank || c == QLatin1Char('*')) {
            skipping = true;
        } else {
            reversed += c;
        }
    }
    std::reverse(reversed.begin(), reversed.end());
    if (reversed == QLatin1String("void"))
        return {};
    return reversed;
}

QString spacesToUnderscore(const QString& text)
{
    QString out = text;
    out.replace(kBlank, QLatin1Char('_'));
    return out;
}

bool isValidIdentifier(const QString& text)
{
    if (text.isEmpty())
        return false;
    static const QString forbidden = QStringLiteral("*?+-|&!;,/");
    for (const QChar c : text) {
        if (forbidden.contains(c))
            return false;
    }
    const QChar first = text.at(0);
    return !(first >= QLatin1Char('0') && first <= QLatin1Char('9'));
}

QString expandTabs(const QString& text, int width)
{
    if (!text.contains(QLatin1Char('\t')) || width <= 0)
        return text;
    QString out;
    out.reserve(text.size() + 4 * width);
    int column = 0;
    for (const QChar c : text) {
        if (c == kLf)
            continue;
        if (c == kCr) {
            out += kCrLf;
            column = 0;
        } else if (c == QLatin1Char('\t')) {
            const int blanks = width - column % width;
            out += QString(blanks, kBlank);
            column += blanks;
        } else {
            out += c;
            ++column;
        }
    }
    return out;
}

QString unquote(const QString& text)
{
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        return text.mid(1, text.size() - 2);
    return text;
}

QString padRight(const QString& text, int width)
{
    if (text.size() >= width)
        return text;
    return text + QString(width - text.size(), kBlank);
}

QString trimLastLineBreak(const QString& text)
{
    QString out = text;
    if (out.endsWith(kLf))
        out.chop(1);
    if (out.endsWith(kCr))
        out.chop(1);
    return out;
}

QString trimBlanks(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == kBlank)
        ++start;
    while (end > start && text.at(end - 1) == kBlank)
        --end;
    return text.mid(start, end - start);
}

QString trimTrailingBlanks(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == kBlank)
        --end;
    return end == text.size() ? text : text.left(end);
}

}  // namespace orvane::CodeText
