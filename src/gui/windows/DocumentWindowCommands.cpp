// The document window's commands: files, exports, generation, editing,
// modes, grid and zoom.

#include "frmDoc.h"

#include "Document.h"
#include "DocumentRegistry.h"
#include "FsmDocument.h"
#include "ProcessState.h"
#include "UserInterface.h"
#include "frmMain.h"
#include "frmPropFSM.h"
#include "modC_CodeGen.h"
#include "modConsulta.h"
#include "modHTML.h"
#include "modMain_Files.h"
#include "modModifica.h"
#include "modNodoEstado.h"

#include <QMdiSubWindow>

namespace orvane {

namespace {

constexpr double kZoomValues[] = {150, 100, 75, 50, 25};

// The order in which the default command looks for the checked methodology.
constexpr Methodology kDefaultOrder[] = {Methodology::PointerArray, Methodology::SwitchCase,
                                         Methodology::DirectPointers, Methodology::Hierarchical};

QString ItemName(Methodology m)
{
    switch (m) {
    case Methodology::PointerArray: return QStringLiteral("mnuGenerate_C_code_TablaPoint");
    case Methodology::DirectPointers: return QStringLiteral("mnuGenerate_C_code_Pointers");
    case Methodology::SwitchCase: return QStringLiteral("mnuGenerate_C_code_SwitchCase");
    case Methodology::Hierarchical: break;
    }
    return QStringLiteral("mnuGenerate_C_code_Hierarchical");
}

}  // namespace

// ---------------------------------------------------------------- files

void frmDoc::NewChild()
{
    CommitRemarkEditor();
    modMain::FileNewChild(docs(), *m_doc);
}

void frmDoc::CloseWindow()
{
    if (m_subWindow)
        m_subWindow->close();
}

void frmDoc::Save()
{
    CommitRemarkEditor();
    modMain::FileSave(docs(), *m_doc);
    RefrescaBotones();
}

void frmDoc::SaveAs()
{
    CommitRemarkEditor();
    modMain::FileSaveAs(docs(), *m_doc);
    RefrescaBotones();
}

void frmDoc::SaveAll()
{
    for (frmDoc* w : m_main.docWindows())
        w->CommitRemarkEditor();
    modMain::FileSaveAll(docs());
    RefrescaBotones();
}

QString frmDoc::askExportName(const QString& title, const QString& extension,
                              const QString& filter)
{
    CommitRemarkEditor();
    return ui().saveFileName({title, extension.mid(1).toUpper(), filter,
                              modMain::ProposedOutputName(fsm(), extension)});
}

void frmDoc::SaveAsEMF()
{
    const QString path = askExportName(QStringLiteral("Save As Enhanced Metafile..."),
                                       QStringLiteral(".wmf"),
                                       QStringLiteral("Wmf Files(*.WMF)|*.wmf|All Files(*.*)|*.*|"));
    if (path.isEmpty())
        return;
    const BusyScope busy(ui());
    modHTML::FileSaveAsEMF(fsm(), path, ui());
}

void frmDoc::SaveAsHTML()
{
    const QString path = askExportName(QStringLiteral("Save As HTML File..."), QStringLiteral(".htm"),
                                       QStringLiteral("HTML Files(*.HTM)|*.htm|All Files(*.*)|*.*|"));
    if (path.isEmpty())
        return;
    const BusyScope busy(ui());
    modHTML::FileSaveAsHTML(fsm(), path, Process().swHL, ui());
}

void frmDoc::ExportEMF()
{
    CommitRemarkEditor();
    modHTML::CopyPictureToClipboard(fsm());
}

void frmDoc::GenerateList()
{
    CommitRemarkEditor();
    modMain::GenerarListado(fsm(), ui(), modC_CodeGen::GenerateListFile(fsm().diagram()));
}

// ---------------------------------------------------------------- generation

bool frmDoc::GenerateCode(Methodology m)
{
    CommitRemarkEditor();
    const bool written = modGeneration::GenerateCCode(docs(), *m_doc, m, ui());
    syncMethodologyChecks();
    afterCommand();
    return written;
}

bool frmDoc::mnuGenerate_C_code_Default()
{
    if (!m_doc)
        return false;
    for (Methodology m : kDefaultOrder)
        if (action(ItemName(m))->isChecked())
            return GenerateCode(m);
    return false;
}

// ---------------------------------------------------------------- dialogs and tools

void frmDoc::runDialog(const std::function<int(QString& pending)>& open)
{
    QString pending;
    {
        const ModalScope scope(m_main.hooks());
        open(pending);
    }
    if (!pending.isEmpty())
        m_main.openFile(pending);
}

void frmDoc::FsmProperties()
{
    CommitRemarkEditor();
    Document* doc = m_doc;
    runDialog([this, doc](QString& pending) {
        return frmPropFSM::Open(doc->fsm, m_main.options(), this, pending);
    });
    syncChecks();
    afterCommand();
}

void frmDoc::InsertRemark()
{
    if (fsm().diagram().readOnly())
        return;
    CommitRemarkEditor();
    Node* remark = modModifica::InsertRemark(fsm());
    afterCommand();
    StartRemarkEditor(remark);
}

void frmDoc::Find()
{
    if (!m_main.hooks().find)
        return;
    CommitRemarkEditor();
    m_main.hooks().find(*this);
    afterCommand();
}

void frmDoc::ChangeFont()
{
    if (!m_main.hooks().changeFont)
        return;
    m_main.hooks().changeFont(*this, fsm().fixedPitchOnly);
    afterCommand();
}

void frmDoc::EnlargeFont()
{
    if (!m_main.hooks().enlargeFont)
        return;
    m_main.hooks().enlargeFont(*this);
    afterCommand();
}

void frmDoc::ReduceFont()
{
    if (!m_main.hooks().reduceFont)
        return;
    m_main.hooks().reduceFont(*this);
    afterCommand();
}

void frmDoc::ToggleFixedPitch()
{
    FsmDocument& f = fsm();
    f.fixedPitchOnly = !f.fixedPitchOnly;
    // The choice is stored with the diagram.
    f.diagram().setChanged(true);
    syncChecks();
    afterCommand();
}

// ---------------------------------------------------------------- editing

void frmDoc::Undo()
{
    CommitRemarkEditor();
    m_doc->undRed.Undo();
    // No snapshot here: the next edit writes one and ends the redo chain.
    RefrescaBotones();
    m_main.refreshPreview();
}

void frmDoc::Redo()
{
    CommitRemarkEditor();
    m_doc->undRed.Redo();
    RefrescaBotones();
    m_main.refreshPreview();
}

void frmDoc::Cut()
{
    if (fsm().diagram().readOnly())
        return;
    Copy();
    Delete();
}

void frmDoc::Copy()
{
    CommitRemarkEditor();
    m_view->copy();
}

void frmDoc::Paste()
{
    CommitRemarkEditor();
    if (m_view->canPaste())
        m_view->paste();
    afterCommand();
}

void frmDoc::Delete()
{
    if (fsm().diagram().readOnly())
        return;
    CommitRemarkEditor();
    modModifica::DeleteSelection(fsm());
    afterCommand();
}

void frmDoc::SelectAll() { fsm().diagram().selectAll(); }

void frmDoc::ToggleSelectMode()
{
    m_view->setMouseMode(m_view->mouseMode() == DiagramView::SelectMode ? DiagramView::InsertMode
                                                                          : DiagramView::SelectMode);
    syncModeChecks();
}

void frmDoc::ToggleAutosize()
{
    FsmDocument& f = fsm();
    if (f.diagram().readOnly()) {
        // The toolbar's button is pressed back to the document's state.
        RefrescaBotones(true);
        return;
    }
    f.autosizeNodes = !f.autosizeNodes;
    if (f.autosizeNodes)
        modModifica::SizeAllNodesToText(f);
    else
        f.diagram().setChanged(true);  // the choice is stored with the diagram
    syncChecks();
    afterCommand();
}

void frmDoc::ToggleLocked()
{
    CommitRemarkEditor();
    Diagram& d = fsm().diagram();
    d.setReadOnly(!d.readOnly());
    m_view->viewport()->update();
    RefrescaBotones();
    showStatus();
}

void frmDoc::ToggleHideComments()
{
    FsmDocument& f = fsm();
    f.hideComments = !f.hideComments;
    f.diagram().setChanged(true);
    modNodoEstado::RefreshAllItems(f, ui());
    syncChecks();
    afterCommand();
}

// ---------------------------------------------------------------- grid and zoom

void frmDoc::ToggleShowGrid()
{
    Diagram& d = fsm().diagram();
    d.setShowGrid(!d.showGrid());
    syncChecks();
}

void frmDoc::ToggleSnapToGrid()
{
    Diagram& d = fsm().diagram();
    d.setSnapToGrid(!d.snapToGrid());
    syncChecks();
}

void frmDoc::SetGridSize(int twips)
{
    fsm().diagram().setGridSize(twips);
    syncChecks();
}

void frmDoc::SetZoomItem(int index)
{
    if (index < 0 || index >= m_zoomItems.size())
        return;
    if (m_view->mouseMode() == DiagramView::ZoomWindowMode)
        m_view->setMouseMode(DiagramView::InsertMode);
    m_zoomBySelf = true;
    if (index < int(std::size(kZoomValues)))
        m_view->setZoom(kZoomValues[index]);
    else
        m_view->fitInWindow();
    m_zoomBySelf = false;
    for (qsizetype i = 0; i < m_zoomItems.size(); ++i)
        m_zoomItems.at(i)->setChecked(i == index);
    showStatus();
}

void frmDoc::ZoomWindow()
{
    m_view->setMouseMode(DiagramView::ZoomWindowMode);
    syncModeChecks();
}

void frmDoc::OpenParent()
{
    if (modConsulta::HasParent(fsm()))
        m_main.openFile(fsm().sPadre);
}

}  // namespace orvane
