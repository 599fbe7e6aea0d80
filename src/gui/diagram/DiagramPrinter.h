#pragma once
// Prints a diagram at its true size (1440 twips to the inch) over as many
// pages as it needs, left to right and then down, with a header band and a
// footer band on every page. Used by printing and by the print preview.

#include "Diagram.h"

#include <QDate>
#include <QRectF>
#include <QSize>
#include <QString>

class QPagedPaintDevice;

namespace orvane::DiagramPrinter {

// A line of a page in three parts: left, centred and right aligned.
struct Band {
    QString left, centre, right;
    friend bool operator==(const Band&, const Band&) = default;
};

// "left|centre|right" (missing parts are empty; further "|" stay in the
// right part).
Band parseBand(const QString& text);
// The band with "<PAGE>" replaced by the page number.
Band forPage(const Band& band, int page);

// The page text of the footer: the page number centred.
inline const QString kPageText = QStringLiteral("|- Page <PAGE> -|");
// The print date as "dd-mmm-yyyy" (05-Mar-2024).
QString printDate(const QDate& date);

struct Job {
    Band header;
    Band footer;
    // The whole drawing on one page, made smaller where it needs to be
    // (never larger than its true size).
    bool fitToPage = false;
};
// The header: the caption on the left and the date on the right; the
// footer: the page number.
Job documentJob(const QString& caption, const QDate& date);

// Pages across (width) and down (height) that a drawing `frame` (twips)
// needs when each page shows `bodyTwips` of it; at least 1 x 1.
QSize pageGrid(const QRectF& frame, const QSizeF& bodyTwips);

// Paints the pages from `fromPage` to `toPage` (1-based, 0 for either end:
// from the first, to the last). Returns the number of pages painted.
int print(QPagedPaintDevice& device, const Diagram& diagram, const Job& job, int fromPage = 0,
          int toPage = 0);

}  // namespace orvane::DiagramPrinter
