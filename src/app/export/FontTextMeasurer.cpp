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
// Calls `visit` with each display line of the text in turn (see
// displayLines), one line buffer reused: a text of megabytes is not held a
// second time as a list of lines.
template <typename Visit> void forEachDisplayLine(const QString& text, Visit visit)
{
    QString line;
    qsizetype start = 0;
    while (true) {
        const qsizetype cr = text.indexOf(QLatin1Char('\r'), start);
        const qsizetype end = cr < 0 ? text.size() : cr;
        line.resize(0);
        line.append(QStringView(text).mid(start, end - start));
        line.remove(QLatin1Char('\n'));
        // A final line break opens no new line.
        if (cr < 0 && start > 0 && line.isEmpty())
            return;
        visit(expandTabs(line));
        if (cr < 0)
            return;
        start = cr + 1;
    }
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
    QStringList lines;
    forEachDisplayLine(text, [&lines](const QString& line) { lines.append(line); });
    return lines;
}

namespace {

// A long text measured before, with the font and the advances of its lines.
struct Known {
    QString text;
    QFont font;
    std::shared_ptr<const std::vector<double>> advances;
};

QMutex& knownMutex()
{
    static QMutex mutex;
    return mutex;
}

std::deque<Known>& knownTexts()
{
    static std::deque<Known> known;  // the most recent last
    return known;
}

// The fonts go before the application does.
void forgetKnownTexts()
{
    const QMutexLocker locker(&knownMutex());
    knownTexts().clear();
}

}  // namespace

std::shared_ptr<const std::vector<double>> lineAdvances(const QString& text, const QFont& font)
{
    const bool keep = text.size() >= kKeptTextLength;
    if (keep) {
        const QMutexLocker locker(&knownMutex());
        std::deque<Known>& known = knownTexts();
        // A text nobody else holds any more (its node was edited or is
        // gone) is not asked for again; it would only take memory.
        known.erase(std::remove_if(known.begin(), known.end(),
                                   [](const Known& k) { return k.text.isDetached(); }),
                    known.end());
        for (const Known& k : known)
            if (k.font == font && k.text == text)
                return k.advances;
    }
    const QFontMetricsF fm(font);
    auto advances = std::make_shared<std::vector<double>>();
    forEachDisplayLine(
        text, [&](const QString& line) { advances->push_back(fm.horizontalAdvance(line)); });
    if (keep) {
        static const bool forgetAtExit = (qAddPostRoutine(forgetKnownTexts), true);
        Q_UNUSED(forgetAtExit);
        const QMutexLocker locker(&knownMutex());
        std::deque<Known>& known = knownTexts();
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
    double width = 0;
    const std::shared_ptr<const std::vector<double>> advances = lineAdvances(text, f);
    for (const double advance : *advances)
        width = std::max(width, advance);
    return QSizeF(std::ceil(width), std::ceil(fm.lineSpacing() * double(advances->size())));
}

void installFontTextMeasurer()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        Diagram::setDefaultTextMeasurer(std::make_shared<FontTextMeasurer>());
}

}  // namespace orvane
