#include "ProfileFile.h"

#include "SafeFileWriter.h"

#include <QFile>
#include <QStringList>

namespace orvane::ProfileFile {

namespace {
constexpr int kMaxValue = 255;

struct Lines {
    QStringList lines;
    QString eol = QStringLiteral("\n");
};

Lines load(const QString& file)
{
    Lines out;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    const QString text = QString::fromUtf8(f.readAll());
    if (text.contains(QStringLiteral("\r\n")))
        out.eol = QStringLiteral("\r\n");
    out.lines = text.split(QLatin1Char('\n'));
    for (QString& line : out.lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (!out.lines.isEmpty() && out.lines.last().isEmpty())
        out.lines.removeLast();
    return out;
}

// The section name of a "[name]" line, or a null string.
QString sectionOf(const QString& line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return QString();
}

// The key of a "key=value" line (empty for comments and other lines).
QString keyOf(const QString& line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char(';')))
        return QString();
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    return eq > 0 ? t.left(eq).trimmed() : QString();
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Index of the section header, or -1.
qsizetype findSection(const QStringList& lines, const QString& section)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = sectionOf(lines[i]);
        if (!name.isNull() && sameName(name, section))
            return i;
    }
    return -1;
}

// One past the last line of the section that starts at `header`.
qsizetype sectionEnd(const QStringList& lines, qsizetype header)
{
    qsizetype i = header + 1;
    while (i < lines.size() && sectionOf(lines[i]).isNull())
        ++i;
    return i;
}

// Sets one key, adding it at the end of its section, or the section at the
// end of the file.
void set(QStringList& lines, const QString& section, const QString& key, const QString& value)
{
    const QString entry = key + QLatin1Char('=') + value;
    const qsizetype header = findSection(lines, section);
    if (header < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        lines.append(entry);
        return;
    }
    const qsizetype end = sectionEnd(lines, header);
    qsizetype lastKey = header;
    for (qsizetype i = header + 1; i < end; ++i) {
        if (keyOf(lines[i]).isEmpty())
            continue;
        lastKey = i;
        if (sameName(keyOf(lines[i]), key)) {
            lines[i] = entry;
            return;
        }
    }
    lines.insert(lastKey + 1, entry);
}

QString unquote(const QString& v)
{
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\''))
        && v.back() == v.front())
        return v.mid(1, v.size() - 2);
    return v;
}
}  // namespace

QString readString(const QString& section, const QString& key, const QString& fallback,
                   const QString& file)
{
    const Lines l = load(file);
    const qsizetype header = findSection(l.lines, section);
    if (header < 0)
        return fallback;
    const qsizetype end = sectionEnd(l.lines, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (!sameName(keyOf(l.lines[i]), key))
            continue;
        const QString& line = l.lines[i];
        const QString value = unquote(line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed());
        return value.left(kMaxValue);
    }
    return fallback;
}

bool writeString(const QString& section, const QString& key, const QString& value,
                 const QString& file)
{
    return writeStrings(section, {{key, value}}, file);
}

bool writeStrings(const QString& section, const QList<QPair<QString, QString>>& values,
                  const QString& file)
{
    Lines l = load(file);
    for (const auto& [key, value] : values)
        set(l.lines, section, key, value);
    return SafeFileWriter::writeFileSafely(file, (l.lines.join(l.eol) + l.eol).toUtf8()).ok();
}

}  // namespace orvane::ProfileFile
