#include "FontTextMeasurer.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMutex>

#include <algorithm>
#include <cmath>
#include <deque>

namespace orvane {

namespace {
constexpr int kTabWidth = 4;
// Texts from this length on have their line advances kept, this many of them.
constexpr qsizetype kKeptTextLength = 32 * 1024;
constexpr size_t kKeptTexts = 4;
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

std::shared_ptr<const std::vector<double>> lineAdvances(const QString& text,
                                                        const QStringList& lines, const QFont& font)
{
    struct Known {
        QString text;
        QFont font;
        std::shared_ptr<const std::vector<double>> advances;
    };
    static QMutex mutex;
    static std::deque<Known> known;  // the most recent last

    const bool keep = text.size() >= kKeptTextLength;
    if (keep) {
        const QMutexLocker locker(&mutex);
        for (const Known& k : known)
            if (k.font == font && k.text == text)
                return k.advances;
    }
    const QFontMetricsF fm(font);
    auto advances = std::make_shared<std::vector<double>>();
    advances->reserve(size_t(lines.size()));
    for (const QString& l : lines)
        advances->push_back(fm.horizontalAdvance(l));
    if (keep) {
        const QMutexLocker locker(&mutex);
        known.push_back({text, font, advances});
        if (known.size() > kKeptTexts)
            known.pop_front();
    }
    return advances;
}

QSizeF FontTextMeasurer::textSize(const QString& text, const DiagramFont& font) const
{
    const QFont f = toQFont(font);
    const QFontMetricsF fm(f);
    const QStringList lines = displayLines(text);
    double width = 0;
    const std::shared_ptr<const std::vector<double>> advances = lineAdvances(text, lines, f);
    for (const double advance : *advances)
        width = std::max(width, advance);
    return QSizeF(std::ceil(width), std::ceil(fm.lineSpacing() * double(lines.size())));
}

void installFontTextMeasurer()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        Diagram::setDefaultTextMeasurer(std::make_shared<FontTextMeasurer>());
}

}  // namespace orvane
