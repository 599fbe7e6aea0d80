#include "Texts.h"

#include <algorithm>

namespace orvane::Texts {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
// Texts from this length on are indented with one allocation and leave room
// after them.
constexpr qsizetype kReserveFrom = 64 * 1024;

// Makes `out` hold `size` characters without growing. A long text goes in
// with one allocation: a string of megabytes grown step by step is copied
// at every step, into memory never touched before. A long one gets an
// eighth more, room for what follows it; growing by half at least keeps
// many texts appended in a row linear.
void makeRoom(QString& out, qsizetype size)
{
    if (out.capacity() >= size)
        return;
    const qsizetype room = size >= kReserveFrom ? size + size / 8 : size;
    out.reserve(std::max(room, out.capacity() + out.capacity() / 2));
}

// The text cut at each CR, LF characters dropped.
QStringList cutLines(const QString& text)
{
    QString t = text;
    t.remove(QLatin1Char('\n'));
    return t.split(QLatin1Char('\r'));
}

QStringView trimLeadingBlanks(QStringView s)
{
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}
}  // namespace

QString filterDisplayLine(const QString& line, bool hideComments)
{
    const QStringView trimmed = trimLeadingBlanks(line);
    if (hideComments && trimmed.startsWith(QLatin1String("//")))
        return {};
    if (trimmed.contains(QLatin1String("//HIDE_LINE")))
        return {};
    return line;
}

QString formatActionText(const QString& text, int indent, bool hideComments)
{
    QString out;
    appendFormattedActionText(out, text, indent, hideComments);
    return out;
}

void appendFormattedActionText(QString& out, const QString& text, int indent, bool hideComments)
{
    if (text.isEmpty())
        return;
    const QString pad(indent, QLatin1Char(' '));
    makeRoom(out, out.size() + text.size() + text.size() / 16 + pad.size() + 2);
    // Line by line, as cutLines cuts them, without holding the text a second
    // time as a list of lines: action texts may be megabytes long.
    QString line;
    qsizetype start = 0;
    while (true) {
        const qsizetype cr = text.indexOf(QLatin1Char('\r'), start);
        const qsizetype end = cr < 0 ? text.size() : cr;
        line = pad;
        line.append(QStringView(text).mid(start, end - start));
        line.remove(QLatin1Char('\n'));
        line += kCrLf;
        out += filterDisplayLine(line, hideComments);
        if (cr < 0)
            break;
        start = cr + 1;
    }
}

QString indentText(const QString& text, int n, bool indentFirst)
{
    QString out;
    out.reserve(text.size() + (n + 1) * (text.count(QLatin1Char('\r')) + 1));
    appendIndented(out, text, n, indentFirst);
    return out;
}

void appendIndented(QString& out, const QString& text, int n, bool indentFirst)
{
    if (text.isEmpty())
        return;
    const qsizetype start = out.size();
    const QString pad(n, QLatin1Char(' '));
    if (text.size() >= kReserveFrom)
        makeRoom(out, start + n + text.size() + text.count(QLatin1Char('\r')) * (n + 1));
    if (indentFirst)
        out += pad;
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype cut = from;
        while (cut < text.size() && text.at(cut) != QLatin1Char('\r')
               && text.at(cut) != QLatin1Char('\n'))
            ++cut;
        out.append(QStringView(text).mid(from, cut - from));
        if (cut == text.size())
            break;
        if (text.at(cut) == QLatin1Char('\r')) {
            out += kCrLf;
            out += pad;
        }
        from = cut + 1;
    }
    // Trailing blanks of the indented text go, never those before it.
    qsizetype end = out.size();
    while (end > start && out.at(end - 1) == QLatin1Char(' '))
        --end;
    out.truncate(end);
}

QString commentOutLines(const QString& text)
{
    QString out;
    for (const QString& line : cutLines(text))
        out += QLatin1String("// ") + line + kCrLf;
    return out;
}

QString breakCommentMarks(const QString& text)
{
    if (!text.contains(QLatin1String("/*")) && !text.contains(QLatin1String("*/")))
        return text;
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n'))
            continue;
        if (c == QLatin1Char('\r')) {
            out += kCrLf;
            continue;
        }
        out += c;
        if (i + 1 < text.size()) {
            const QChar next = text.at(i + 1);
            if ((c == QLatin1Char('/') && next == QLatin1Char('*'))
                || (c == QLatin1Char('*') && next == QLatin1Char('/')))
                out += QLatin1Char(' ');
        }
    }
    return out;
}

qsizetype findInText(const QString& text, const QString& what, bool matchCase, qsizetype start)
{
    if (what.isEmpty() || start < 0 || start > text.size())
        return -1;
    if (matchCase)
        return text.indexOf(what, start, Qt::CaseSensitive);
    return text.toLower().indexOf(what.toLower(), start);
}

}  // namespace orvane::Texts
