#include "FontTextMeasurer.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMutex>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <deque>
#include <memory>

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
// second time as a list of lines. Only the lines that start in [from, to)
// are visited; `to` is the end of the text or a position just after a CR, so
// that pieces cut this way visit every line once.
template <typename Visit>
void forEachDisplayLine(QStringView text, qsizetype from, qsizetype to, Visit visit)
{
    QString line;
    qsizetype start = from;
    while (true) {
        const qsizetype cr = text.indexOf(QLatin1Char('\r'), start);
        const qsizetype end = cr < 0 ? text.size() : cr;
        line.resize(0);
        line.append(text.mid(start, end - start));
        line.remove(QLatin1Char('\n'));
        // A final line break opens no new line.
        if (cr < 0 && start > 0 && line.isEmpty())
            return;
        visit(expandTabs(line));
        if (cr < 0)
            return;
        start = cr + 1;
        if (start == to && to < text.size())
            return;
    }
}

}  // namespace

void forEachDisplayLine(const QString& text, const std::function<void(const QString&)>& visit)
{
    forEachDisplayLine(QStringView(text), 0, text.size(), visit);
}

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

// Texts from this length on are measured on several threads. The text is
// cut into pieces of at least kPieceLength characters, more pieces than
// threads, and each thread takes the next piece nobody has taken yet: the
// threads finish together however unevenly the lines cost.
constexpr qsizetype kParallelTextLength = 256 * 1024;
constexpr qsizetype kPieceLength = 128 * 1024;
constexpr int kMostThreads = 8;
constexpr qsizetype kPiecesPerThread = 32;

void measureLines(QStringView text, qsizetype from, qsizetype to, const QFont& font,
                  std::vector<double>& out)
{
    const QFontMetricsF fm(font);
    forEachDisplayLine(text, from, to,
                       [&](const QString& line) { out.push_back(fm.horizontalAdvance(line)); });
}

// Where the pieces of the text start: 0, then up to pieces - 1 positions
// just after a CR, each near an equal share of the text.
std::vector<qsizetype> pieceStarts(QStringView text, qsizetype pieces)
{
    std::vector<qsizetype> starts{0};
    for (qsizetype k = 1; k < pieces; ++k) {
        const qsizetype from = std::max(starts.back(), text.size() * k / pieces);
        const qsizetype cr = text.indexOf(QLatin1Char('\r'), from);
        if (cr < 0 || cr + 1 >= text.size())
            break;
        starts.push_back(cr + 1);
    }
    return starts;
}

// The advances of the display lines of the text. With a diagram font, a long
// text is cut into pieces at line breaks and measured on several threads,
// each with a font of its own made from the diagram font: copies of one
// QFont share the font's engine cache, which is not safe to use from two
// threads at once. Every thread's font resolves to the same face with the
// same settings, so each line gets the advance it would get on the calling
// thread.
std::vector<double> measure(const QString& text, const QFont& font, const DiagramFont* diagramFont)
{
    int helpers = 0;
    qsizetype pieces = 1;
    if (diagramFont && text.size() >= kParallelTextLength) {
        helpers = std::clamp(QThread::idealThreadCount(), 1, kMostThreads) - 1;
        pieces =
            std::clamp<qsizetype>(text.size() / kPieceLength, 1, (helpers + 1) * kPiecesPerThread);
    }
    const std::vector<qsizetype> starts = pieceStarts(text, pieces);
    std::vector<std::vector<double>> measured(starts.size());
    std::atomic<size_t> next{0};
    // Measures pieces until none is left. A helper thread that never starts
    // takes none, and the calling thread measures what it leaves.
    const auto takePieces = [&](const QFont& f) {
        for (size_t k = next++; k < starts.size(); k = next++)
            measureLines(text, starts[k], k + 1 < starts.size() ? starts[k + 1] : text.size(), f,
                         measured[k]);
    };
    std::vector<std::unique_ptr<QThread>> threads;
    for (int i = 0; i < helpers && starts.size() > 1; ++i) {
        std::unique_ptr<QThread> thread(
            QThread::create([&] { takePieces(toQFont(*diagramFont)); }));
        thread->start();
        threads.push_back(std::move(thread));
    }
    takePieces(font);
    for (const auto& thread : threads)
        thread->wait();
    if (measured.size() == 1)
        return std::move(measured[0]);
    size_t lines = 0;
    for (const std::vector<double>& piece : measured)
        lines += piece.size();
    std::vector<double> advances;
    advances.reserve(lines);
    for (const std::vector<double>& piece : measured)
        advances.insert(advances.end(), piece.begin(), piece.end());
    return advances;
}

std::shared_ptr<const std::vector<double>> knownOrMeasured(const QString& text, const QFont& font,
                                                           const DiagramFont* diagramFont)
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
        // The same text is mostly the very same string, which spares
        // comparing megabytes of characters.
        for (const Known& k : known)
            if (k.font == font
                && ((k.text.constData() == text.constData() && k.text.size() == text.size())
                    || k.text == text))
                return k.advances;
    }
    auto advances = std::make_shared<const std::vector<double>>(measure(text, font, diagramFont));
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

}  // namespace

std::shared_ptr<const std::vector<double>> lineAdvances(const QString& text, const QFont& font)
{
    return knownOrMeasured(text, font, nullptr);
}

std::shared_ptr<const std::vector<double>> lineAdvances(const QString& text,
                                                        const DiagramFont& font)
{
    return knownOrMeasured(text, toQFont(font), &font);
}

QSizeF FontTextMeasurer::textSize(const QString& text, const DiagramFont& font) const
{
    const QFont f = toQFont(font);
    const QFontMetricsF fm(f);
    double width = 0;
    const std::shared_ptr<const std::vector<double>> advances = lineAdvances(text, font);
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
