#include "DiagramPrinter.h"

#include "DiagramPicture.h"
#include "DiagramRenderer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace orvane::DiagramPrinter {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr int kBandPointSize = 9;
// Room between a band and the drawing, in lines of the band's font.
constexpr double kBandGap = 0.5;

void paintBand(QPainter& p, const Band& band, const QRectF& line)
{
    p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, band.left);
    p.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter, band.centre);
    p.drawText(line, Qt::AlignRight | Qt::AlignVCenter, band.right);
}

}  // namespace

Band parseBand(const QString& text)
{
    const qsizetype first = text.indexOf(QLatin1Char('|'));
    if (first < 0)
        return {text, {}, {}};
    const qsizetype second = text.indexOf(QLatin1Char('|'), first + 1);
    if (second < 0)
        return {text.left(first), text.mid(first + 1), {}};
    return {text.left(first), text.mid(first + 1, second - first - 1), text.mid(second + 1)};
}

Band forPage(const Band& band, int page)
{
    const QString tag = QStringLiteral("<PAGE>");
    const QString number = QString::number(page);
    Band b = band;
    for (QString* part : {&b.left, &b.centre, &b.right})
        part->replace(tag, number);
    return b;
}

QString printDate(const QDate& date)
{
    return QLocale().toString(date, QStringLiteral("dd-MMM-yyyy"));
}

Job documentJob(const QString& caption, const QDate& date)
{
    // Built in parts, so that a "|" in a file name stays in the caption.
    return {Band{caption, {}, printDate(date)}, parseBand(kPageText)};
}

QSize pageGrid(const QRectF& frame, const QSizeF& bodyTwips)
{
    if (frame.isEmpty() || bodyTwips.width() <= 0 || bodyTwips.height() <= 0)
        return {1, 1};
    // A hair's breadth over a page edge does not start another page.
    constexpr double kSlack = 1;
    const auto count = [](double length, double page) {
        return std::max(1, int(std::ceil((length - kSlack) / page)));
    };
    return {count(frame.width(), bodyTwips.width()), count(frame.height(), bodyTwips.height())};
}

int print(QPagedPaintDevice& device, const Diagram& diagram, const Job& job, int fromPage,
          int toPage)
{
    const double dpi = device.logicalDpiX();
    const double dpiY = device.logicalDpiY();
    const QSizeF paper = device.pageLayout().paintRectPixels(int(dpi)).size();
    if (dpi <= 0 || dpiY <= 0 || paper.isEmpty())
        return 0;

    QPainter p;
    if (!p.begin(&device))
        return 0;
    QFont bandFont(QStringLiteral("Arial"), kBandPointSize);
    p.setFont(bandFont);
    const double line = QFontMetricsF(bandFont, &device).height();
    const double band = line * (1 + kBandGap);
    const QRectF body(0, band, paper.width(), std::max(1.0, paper.height() - 2 * band));
    const QSizeF bodyTwips(body.width() * kTwipsPerInch / dpi,
                           body.height() * kTwipsPerInch / dpiY);

    const QRectF frame = DiagramPicture::pictureFrame(diagram);
    double fit = 1;
    if (job.fitToPage && frame.width() > 0 && frame.height() > 0)
        fit =
            std::min({1.0, bodyTwips.width() / frame.width(), bodyTwips.height() / frame.height()});
    const QSizeF shownTwips = bodyTwips / fit;
    const QSize grid = job.fitToPage ? QSize(1, 1) : pageGrid(frame, bodyTwips);
    const int last = grid.width() * grid.height();
    const int first = std::max(1, fromPage);
    const int end = toPage > 0 ? std::min(toPage, last) : last;

    int painted = 0;
    for (int page = first; page <= end; ++page) {
        if (painted > 0)
            device.newPage();
        const int col = (page - 1) % grid.width();
        const int row = (page - 1) / grid.width();
        p.setPen(Qt::black);
        p.setFont(bandFont);
        paintBand(p, job.header, QRectF(0, 0, paper.width(), line));
        paintBand(p, forPage(job.footer, page),
                  QRectF(0, paper.height() - line, paper.width(), line));

        const QRectF shown(frame.left() + col * shownTwips.width(),
                           frame.top() + row * shownTwips.height(), shownTwips.width(),
                           shownTwips.height());
        p.save();
        p.setClipRect(body);
        p.translate(body.topLeft());
        p.scale(fit * dpi / kTwipsPerInch, fit * dpiY / kTwipsPerInch);
        p.translate(-shown.topLeft());
        DiagramRenderer::render(p, diagram, shown);
        p.restore();
        ++painted;
    }
    p.end();
    return painted;
}

}  // namespace orvane::DiagramPrinter
