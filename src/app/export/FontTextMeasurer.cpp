#include "FontTextMeasurer.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {
constexpr int kTabWidth = 4;
constexpr double kTwipsPerPoint = 20.0;

QString expandTabs(const QString& line)
{
    if (!line.contains(QLatin1Char('\t')))
        return line;
    QString out;
    for (const QChar c : line) {
        if (c == QLatin1Char('\t'))
            out += QString(kTabWidth - out.size() % kTabWidth, QLatin1Char(' '));
        else
            out += c;
    }
    return out;
}
}  // namespace

QFont toQFont(const DiagramFont& font)
{
    QFont f(font.name);
    f.setPixelSize(std::max(1, int(std::lround(font.size * kTwipsPerPoint))));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeout);
    // Outlines scale smoothly; hinting would make widths depend on the size.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QStringList displayLines(const QString& text)
{
    QString t = text;
    t.remove(QLatin1Char('\n'));
    QStringList lines = t.split(QLatin1Char('\r'));
    if (lines.size() > 1 && t.endsWith(QLatin1Char('\r')))
        lines.removeLast();
    for (QString& l : lines)
        l = expandTabs(l);
    return lines;
}

QSizeF FontTextMeasurer::textSize(const QString& text, const DiagramFont& font) const
{
    const QFontMetricsF fm(toQFont(font));
    const QStringList lines = displayLines(text);
    double width = 0;
    for (const QString& l : lines)
        width = std::max(width, fm.horizontalAdvance(l));
    return QSizeF(std::ceil(width), std::ceil(fm.lineSpacing() * double(lines.size())));
}

void installFontTextMeasurer()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        Diagram::setDefaultTextMeasurer(std::make_shared<FontTextMeasurer>());
}

}  // namespace orvane
