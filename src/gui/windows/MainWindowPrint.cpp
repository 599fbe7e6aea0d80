// The main window's printing: print, printer set-up and the print preview
// area beside the documents.

#include "frmMain.h"

#include "Document.h"
#include "DiagramPrinter.h"
#include "UserInterface.h"
#include "frmDoc.h"

#include <QDate>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QSplitter>
#include <QVBoxLayout>

namespace orvane {

namespace {

// The active document's diagram printed with its caption and today's date.
void PrintDocument(QPrinter& printer, const Document& doc, int fromPage, int toPage)
{
    printer.setDocName(doc.caption());
    DiagramPrinter::Print(printer, doc.fsm.diagram(),
                          DiagramPrinter::DocumentJob(doc.caption(), QDate::currentDate()), fromPage,
                          toPage);
}

}  // namespace

void frmMain::buildPreview()
{
    picPrint = new QWidget(m_split);
    picPrint->setObjectName(QStringLiteral("picPrint"));
    auto* layout = new QVBoxLayout(picPrint);
    layout->setContentsMargins(0, 0, 0, 0);
    PrnFlow1 = new QPrintPreviewWidget(&m_printer, picPrint);
    PrnFlow1->setObjectName(QStringLiteral("PrnFlow1"));
    layout->addWidget(PrnFlow1);
    m_split->addWidget(picPrint);
    m_split->setStretchFactor(0, 1);
    m_split->setStretchFactor(1, 1);
    picPrint->hide();
    connect(PrnFlow1, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        if (frmDoc* w = activeDoc(); w && w->document())
            PrintDocument(*printer, *w->document(), 0, 0);
    });
}

void frmMain::printActive()
{
    frmDoc* w = activeDoc();
    if (!w || !w->document())
        return;
    w->CommitRemarkEditor();
    m_printer.setDocName(w->document()->caption());
    QPrintDialog dialog(&m_printer, this);
    {
        const ModalScope scope(m_hooks);
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    const bool range = m_printer.printRange() == QPrinter::PageRange;
    const BusyScope busy(*m_ui);
    PrintDocument(m_printer, *w->document(), range ? m_printer.fromPage() : 0,
                  range ? m_printer.toPage() : 0);
}

void frmMain::printerSetup()
{
    QPageSetupDialog dialog(&m_printer, this);
    const ModalScope scope(m_hooks);
    if (dialog.exec() == QDialog::Accepted)
        refreshPreview();
}

bool frmMain::previewShown() const { return !picPrint->isHidden(); }

void frmMain::showPreview(bool on)
{
    frmDoc* active = activeDoc();
    if (!active || !active->document())
        on = false;
    else if (on)
        active->CommitRemarkEditor();
    picPrint->setVisible(on);
    m_previewOf = on ? active->document() : nullptr;
    button(QStringLiteral("Preview"))->setChecked(on);
    for (frmDoc* w : docWindows())
        w->setPreviewChecked(on && w == active);
    if (on)
        PrnFlow1->updatePreview();
}

void frmMain::refreshPreview()
{
    if (previewShown())
        PrnFlow1->updatePreview();
}

}  // namespace orvane
