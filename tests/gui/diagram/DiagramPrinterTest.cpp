#include "DiagramPrinter.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QLocale>
#include <QPageLayout>
#include <QPdfWriter>

using namespace orvane;
using namespace orvane::DiagramPrinter;

namespace {

// A PDF writer on A4 portrait with 10 mm margins, at 300 dpi.
struct Pdf {
    QBuffer buffer;
    QPdfWriter writer{&buffer};
    Pdf()
    {
        buffer.open(QIODevice::WriteOnly);
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    }
};

}  // namespace

TEST(DiagramPrinterTest, BandsSplitAtBarsAndNumberTheirPages)
{
    EXPECT_EQ(parseBand(QStringLiteral("caption||05-Mar-2024")),
              (Band{QStringLiteral("caption"), QString(), QStringLiteral("05-Mar-2024")}));
    EXPECT_EQ(parseBand(kPageText),
              (Band{QString(), QStringLiteral("- Page <PAGE> -"), QString()}));
    EXPECT_EQ(parseBand(QStringLiteral("only")),
              (Band{QStringLiteral("only"), QString(), QString()}));
    EXPECT_EQ(parseBand(QStringLiteral("a|b|c|d")),
              (Band{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c|d")}));
    EXPECT_EQ(forPage(parseBand(kPageText), 12).centre, QStringLiteral("- Page 12 -"));
}

TEST(DiagramPrinterTest, TheHeaderKeepsACaptionWithABarWhole)
{
    QLocale::setDefault(QLocale::c());
    const Job job = documentJob(QStringLiteral("a|b"), QDate(2024, 3, 5));
    EXPECT_EQ(job.header.left, QStringLiteral("a|b"));
    EXPECT_EQ(job.header.right, QStringLiteral("05-Mar-2024"));
    EXPECT_EQ(forPage(job.footer, 1).centre, QStringLiteral("- Page 1 -"));
    QLocale::setDefault(QLocale::system());
}

TEST(DiagramPrinterTest, PagesAcrossAndDownCoverTheDrawing)
{
    const QSizeF page(10000, 14000);
    EXPECT_EQ(pageGrid(QRectF(), page), QSize(1, 1));
    EXPECT_EQ(pageGrid(QRectF(0, 0, 10000, 14000), page), QSize(1, 1));
    EXPECT_EQ(pageGrid(QRectF(0, 0, 10000.5, 14000), page), QSize(1, 1));
    EXPECT_EQ(pageGrid(QRectF(0, 0, 10002, 14002), page), QSize(2, 2));
    EXPECT_EQ(pageGrid(QRectF(-500, 0, 25000, 100), page), QSize(3, 1));
    EXPECT_EQ(pageGrid(QRectF(0, 0, 100, 100), QSizeF(0, 100)), QSize(1, 1));
}

TEST(DiagramPrinterTest, ADrawingWiderThanAPagePrintsOnSeveralAndARangeOnFewer)
{
    Diagram d;
    d.addNode(500, 500, 1500, 900);
    {
        Pdf pdf;
        EXPECT_EQ(print(pdf.writer, d, documentJob(QStringLiteral("x"), QDate(2024, 1, 1))), 1);
        EXPECT_GT(pdf.buffer.size(), 0);
    }
    // A4 less margins is about 10700 twips wide: 30000 twips need three columns.
    d.addNode(28000, 500, 1500, 900);
    {
        Pdf pdf;
        EXPECT_EQ(print(pdf.writer, d, documentJob(QStringLiteral("x"), QDate(2024, 1, 1))), 3);
    }
    {
        Pdf pdf;
        EXPECT_EQ(print(pdf.writer, d, documentJob(QStringLiteral("x"), QDate(2024, 1, 1)), 2, 9),
                  2);
    }
    Diagram empty;
    Pdf pdf;
    EXPECT_EQ(print(pdf.writer, empty, documentJob(QStringLiteral("x"), QDate(2024, 1, 1))), 1);
}

TEST(DiagramPrinterTest, FitToPagePutsAWideDrawingOnOnePageAndLandscapeNeedsFewerPages)
{
    Diagram d;
    d.addNode(500, 500, 1500, 900);
    d.addNode(14000, 500, 1500, 900);  // a little wider than A4 portrait
    Job job = documentJob(QStringLiteral("x"), QDate(2024, 1, 1));
    {
        Pdf pdf;
        EXPECT_EQ(print(pdf.writer, d, job), 2);
    }
    {
        Pdf pdf;
        pdf.writer.setPageOrientation(QPageLayout::Landscape);
        EXPECT_EQ(print(pdf.writer, d, job), 1);
    }
    job.fitToPage = true;
    {
        Pdf pdf;
        EXPECT_EQ(print(pdf.writer, d, job), 1);
        // A range past the one page prints nothing.
        EXPECT_EQ(print(pdf.writer, d, job, 2, 3), 0);
    }
    Diagram empty;
    Pdf pdf;
    EXPECT_EQ(print(pdf.writer, empty, job), 1);
}
