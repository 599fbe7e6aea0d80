// The main window's printing: print, printer set-up and the print preview
// area beside the documents.

#include "MainWindow.h"

#include "Document.h"
#include "DiagramPrinter.h"
#include "UserInterface.h"
#include "DocumentWindow.h"

#include <QDate>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QSignalBlocker>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace orvane {

namespace {

// The active document's diagram printed with its caption and today's date.
void printDocument(QPrinter& printer, const Document& doc, int fromPage, int toPage, bool fitToPage)
{
    printer.setDocName(doc.caption());
    DiagramPrinter::Job job = DiagramPrinter::documentJob(doc.caption(), QDate::currentDate());
    job.fitToPage = fitToPage;
    DiagramPrinter::print(printer, doc.fsm.diagram(), job, fromPage, toPage);
}

}  // namespace

void MainWindow::buildPreview()
{
    m_previewPane = new QWidget(m_split);
    m_previewPane->setObjectName(QStringLiteral("previewPane"));
    auto* layout = new QVBoxLayout(m_previewPane);
    layout->setContentsMargins(0, 0, 0, 0);
    m_preview = new QPrintPreviewWidget(&m_printer, m_previewPane);
    m_preview->setObjectName(QStringLiteral("preview"));
    // The preview's own choices, which printing then follows: the whole
    // drawing on one page, and the paper turned.
    auto* tools = new QToolBar(m_previewPane);
    tools->setObjectName(QStringLiteral("previewToolBar"));
    QAction* fit = tools->addAction(QStringLiteral("Fit to Page"));
    fit->setObjectName(QStringLiteral("fitToPageAction"));
    fit->setCheckable(true);
    connect(fit, &QAction::toggled, this, [this](bool on) {
        m_fitToPage = on;
        refreshPreview();
    });
    QAction* landscape = tools->addAction(QStringLiteral("Landscape"));
    landscape->setObjectName(QStringLiteral("landscapeAction"));
    landscape->setCheckable(true);
    connect(landscape, &QAction::toggled, this, [this](bool on) {
        m_printer.setPageOrientation(on ? QPageLayout::Landscape : QPageLayout::Portrait);
        refreshPreview();
    });
    layout->addWidget(tools);
    layout->addWidget(m_preview);
    m_split->addWidget(m_previewPane);
    m_split->setStretchFactor(0, 1);
    m_split->setStretchFactor(1, 1);
    m_previewPane->hide();
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        if (DocumentWindow* w = activeDoc(); w && w->document())
            printDocument(*printer, *w->document(), 0, 0, m_fitToPage);
    });
}

void MainWindow::printActive()
{
    DocumentWindow* w = activeDoc();
    if (!w || !w->document())
        return;
    w->commitRemarkEditor();
    m_printer.setDocName(w->document()->caption());
    QPrintDialog dialog(&m_printer, this);
    {
        const ModalScope scope(m_hooks);
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    const bool range = m_printer.printRange() == QPrinter::PageRange;
    const BusyScope busy(*m_ui);
    printDocument(m_printer, *w->document(), range ? m_printer.fromPage() : 0,
                  range ? m_printer.toPage() : 0, m_fitToPage);
}

void MainWindow::printerSetup()
{
    QPageSetupDialog dialog(&m_printer, this);
    const ModalScope scope(m_hooks);
    if (dialog.exec() == QDialog::Accepted) {
        if (auto* landscape =
                m_previewPane->findChild<QAction*>(QStringLiteral("landscapeAction"))) {
            const QSignalBlocker quiet(landscape);
            landscape->setChecked(m_printer.pageLayout().orientation() == QPageLayout::Landscape);
        }
        refreshPreview();
    }
}

int MainWindow::previewPageCount() const { return m_preview->pageCount(); }

bool MainWindow::previewShown() const { return !m_previewPane->isHidden(); }

void MainWindow::showPreview(bool on)
{
    DocumentWindow* active = activeDoc();
    if (!active || !active->document())
        on = false;
    else if (on)
        active->commitRemarkEditor();
    m_previewPane->setVisible(on);
    m_previewOf = on ? active->document() : nullptr;
    button(QStringLiteral("Preview"))->setChecked(on);
    for (DocumentWindow* w : docWindows())
        w->setPreviewChecked(on && w == active);
    if (on)
        m_preview->updatePreview();
}

void MainWindow::refreshPreview()
{
    if (previewShown())
        m_preview->updatePreview();
}

}  // namespace orvane
