// The document window's commands: files, exports, generation, editing,
// modes, grid and zoom.

#include "DocumentWindow.h"

#include "Document.h"
#include "DocumentRegistry.h"
#include "FsmDocument.h"
#include "ProcessState.h"
#include "UserInterface.h"
#include "MainWindow.h"
#include "MachineDialog.h"
#include "FlatGenerators.h"
#include "Hierarchy.h"
#include "HtmlPage.h"
#include "DocumentCommands.h"
#include "DiagramEdits.h"
#include "DiagramPicture.h"
#include "DiagramText.h"
#include "ScxmlImport.h"
#include "ScxmlWriter.h"
#include "FileHelpers.h"
#include "States.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QCursor>

namespace orvane {

namespace {

constexpr double kZoomValues[] = {150, 100, 75, 50, 25};
// Zoom In and Zoom Out multiply or divide the zoom by this.
constexpr double kZoomStep = 1.25;

// Passes everything on to the window's user interface and keeps the names
// the user chose in the save dialogs, so that the status bar can say where
// the files went.
class ChosenNames : public UserInterface {
public:
    explicit ChosenNames(UserInterface& ui) : m_ui(ui) {}
    void message(const QString& text, MessageIcon icon, const QString& title) override
    {
        m_ui.message(text, icon, title);
    }
    Answer askYesNo(const QString& text, const QString& title, MessageIcon icon,
                    Answer defaultButton) override
    {
        return m_ui.askYesNo(text, title, icon, defaultButton);
    }
    Answer askYesNoCancel(const QString& text, const QString& title, MessageIcon icon,
                          Answer defaultButton) override
    {
        return m_ui.askYesNoCancel(text, title, icon, defaultButton);
    }
    QString openFileName(const FileDialog& dialog, bool& readOnly) override
    {
        return m_ui.openFileName(dialog, readOnly);
    }
    QString saveFileName(const FileDialog& dialog) override
    {
        m_last = m_ui.saveFileName(dialog);
        return m_last;
    }
    void setBusy(bool on) override { m_ui.setBusy(on); }
    // The last name chosen, or `fallback` when no dialog was shown.
    QString chosen(const QString& fallback) const { return m_last.isEmpty() ? fallback : m_last; }

private:
    UserInterface& m_ui;
    QString m_last;
};

QString shownPath(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

// ---------------------------------------------------------------- files

void DocumentWindow::newChild()
{
    commitRemarkEditor();
    DocumentCommands::fileNewChild(docs(), *m_doc);
}

void DocumentWindow::closeWindow()
{
    if (m_subWindow)
        m_subWindow->close();
}

void DocumentWindow::save()
{
    commitRemarkEditor();
    // The window goes on while the file is written; the title and the
    // modified mark follow when the write has ended.
    DocumentCommands::fileSave(docs(), *m_doc, DocumentCommands::SaveMode::Background);
    refreshButtons();
}

void DocumentWindow::saveAs()
{
    commitRemarkEditor();
    DocumentCommands::fileSaveAs(docs(), *m_doc, DocumentCommands::SaveMode::Background);
    refreshButtons();
}

void DocumentWindow::saveAll()
{
    for (DocumentWindow* w : m_main.docWindows())
        w->commitRemarkEditor();
    DocumentCommands::fileSaveAll(docs());
    refreshButtons();
}

QString DocumentWindow::askExportName(const QString& title, const QString& extension,
                                      const QString& filter)
{
    commitRemarkEditor();
    return ui().saveFileName({title, extension.mid(1).toUpper(), filter,
                              DocumentCommands::proposedOutputName(fsm(), extension)});
}

void DocumentWindow::saveAsEMF()
{
    const QString path =
        askExportName(QStringLiteral("Save As Enhanced Metafile..."), QStringLiteral(".wmf"),
                      QStringLiteral("Wmf Files(*.WMF)|*.wmf|All Files(*.*)|*.*|"));
    if (path.isEmpty())
        return;
    const BusyScope busy(ui());
    HtmlPage::fileSaveAsEMF(fsm(), path, ui());
}

void DocumentWindow::saveAsHTML()
{
    const QString path =
        askExportName(QStringLiteral("Save As HTML File..."), QStringLiteral(".htm"),
                      QStringLiteral("HTML Files(*.HTM)|*.htm|All Files(*.*)|*.*|"));
    if (path.isEmpty())
        return;
    const BusyScope busy(ui());
    HtmlPage::fileSaveAsHTML(fsm(), path, process().swHL, ui());
}

void DocumentWindow::saveAsPicture()
{
    const QString path = askExportName(
        QStringLiteral("Save as Picture..."), QStringLiteral(".svg"),
        QStringLiteral("SVG Files(*.SVG)|*.svg|PNG Files(*.PNG)|*.png|Wmf Files(*.WMF)|*.wmf|"
                       "All Files(*.*)|*.*|"));
    if (path.isEmpty())
        return;
    HtmlPage::PictureFormat format = HtmlPage::PictureFormat::Svg;
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        format = HtmlPage::PictureFormat::Png;
    else if (path.endsWith(QLatin1String(".wmf"), Qt::CaseInsensitive))
        format = HtmlPage::PictureFormat::Wmf;
    const BusyScope busy(ui());
    HtmlPage::fileSaveAsPicture(fsm(), path, format, 96.0, ui());
}

void DocumentWindow::exportText()
{
    const QString path =
        askExportName(QStringLiteral("Export..."), QStringLiteral(".scxml"),
                      QStringLiteral("SCXML Files(*.SCXML)|*.scxml|Mermaid Files(*.MMD)|*.mmd|"
                                     "PlantUML Files(*.PUML)|*.puml|All Files(*.*)|*.*|"));
    if (path.isEmpty())
        return;
    const BusyScope busy(ui());
    if (path.endsWith(QLatin1String(".mmd"), Qt::CaseInsensitive))
        DiagramText::fileSaveAsMermaid(fsm(), path, ui());
    else if (path.endsWith(QLatin1String(".puml"), Qt::CaseInsensitive))
        DiagramText::fileSaveAsPlantUml(fsm(), path, ui());
    else
        ScxmlWriter::fileSaveAsScxml(fsm(), path, ui());
}

void DocumentWindow::importScxml()
{
    commitRemarkEditor();
    bool readOnly = false;
    const QString source = ui().openFileName(
        {QStringLiteral("Import SCXML..."), QStringLiteral("SCXML"),
         QStringLiteral("SCXML Files(*.SCXML)|*.scxml|All Files(*.*)|*.*|"), QString()},
        readOnly);
    if (source.isEmpty())
        return;
    ScxmlImport::Result result;
    {
        const BusyScope busy(ui());
        result = ScxmlImport::importFile(source, QString());
    }
    if (!result.ok) {
        ui().message(result.error, MessageIcon::Exclamation);
        return;
    }
    if (!result.warnings.isEmpty())
        ui().message(result.warnings.join(QLatin1Char('\n')), MessageIcon::Information);
    m_main.openFile(result.written.first());
}

void DocumentWindow::exportEMF()
{
    commitRemarkEditor();
    // The clipboard takes both forms: drawing programs read the SVG, others
    // the image.
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/svg+xml"), DiagramPicture::toSvg(fsm().diagram()));
    mime->setImageData(DiagramPicture::toImage(fsm().diagram()));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setMimeData(mime);  // the clipboard takes ownership
}

void DocumentWindow::generateList()
{
    commitRemarkEditor();
    ChosenNames names(ui());
    if (DocumentCommands::writeListFile(fsm(), names,
                                        FlatGenerators::generateListFile(fsm().diagram())))
        m_main.showStatusMessage(QStringLiteral("Written: ")
                                 + shownPath(names.chosen(DocumentCommands::proposedOutputName(
                                     fsm(), QStringLiteral(".lst")))));
}

// ---------------------------------------------------------------- generation

bool DocumentWindow::generateCode(Methodology m)
{
    commitRemarkEditor();
    ChosenNames names(ui());
    const bool written = GenerationCommands::generateCCode(docs(), *m_doc, m, names);
    if (written) {
        // The header goes beside the code, as the writer names it.
        const QString code =
            names.chosen(DocumentCommands::proposedOutputName(fsm(), QStringLiteral(".c")));
        QString header = FileHelpers::withoutExtension(code) + QStringLiteral(".h");
        if (FileHelpers::samePath(header, code))
            header = code + QStringLiteral(".h");
        m_main.showStatusMessage(QStringLiteral("Written: ") + shownPath(code)
                                 + QStringLiteral(" and ") + shownPath(header));
    }
    syncMethodologyChecks();
    afterCommand();
    return written;
}

bool DocumentWindow::generateInDefaultStyle()
{
    // The check marks show the document's default style.
    if (!m_doc || !fsm().defaultMethodology)
        return false;
    return generateCode(*fsm().defaultMethodology);
}

void DocumentWindow::generateDefault()
{
    if (!m_doc)
        return;
    if (fsm().defaultMethodology) {
        generateInDefaultStyle();
        return;
    }
    QMenu* menu = action(QStringLiteral("generateMenu"))->menu();
    QWidget* button = m_main.widgetForButton(QStringLiteral("GenerateCode"));
    menu->popup(button ? button->mapToGlobal(QPoint(0, button->height())) : QCursor::pos());
}

// ---------------------------------------------------------------- dialogs and tools

void DocumentWindow::runDialog(const std::function<int(QString& pending)>& open)
{
    QString pending;
    {
        const ModalScope scope(m_main.hooks());
        open(pending);
    }
    if (!pending.isEmpty())
        m_main.openFile(pending);
}

void DocumentWindow::fsmProperties()
{
    commitRemarkEditor();
    Document* doc = m_doc;
    runDialog([this, doc](QString& pending) {
        return MachineDialog::edit(doc->fsm, m_main.options(), this, pending);
    });
    syncChecks();
    afterCommand();
}

void DocumentWindow::insertRemark()
{
    if (fsm().diagram().readOnly())
        return;
    commitRemarkEditor();
    Node* remark = DiagramEdits::insertRemark(fsm());
    afterCommand();
    startRemarkEditor(remark);
}

void DocumentWindow::find()
{
    if (!m_main.hooks().find)
        return;
    commitRemarkEditor();
    m_main.hooks().find(*this);
    afterCommand();
}

void DocumentWindow::changeFont()
{
    if (!m_main.hooks().changeFont)
        return;
    m_main.hooks().changeFont(*this, fsm().fixedPitchOnly);
    afterCommand();
}

void DocumentWindow::enlargeFont()
{
    if (!m_main.hooks().enlargeFont)
        return;
    m_main.hooks().enlargeFont(*this);
    afterCommand();
}

void DocumentWindow::reduceFont()
{
    if (!m_main.hooks().reduceFont)
        return;
    m_main.hooks().reduceFont(*this);
    afterCommand();
}

void DocumentWindow::toggleFixedPitch()
{
    FsmDocument& f = fsm();
    f.fixedPitchOnly = !f.fixedPitchOnly;
    // The choice is stored with the diagram.
    f.diagram().setChanged(true);
    syncChecks();
    afterCommand();
}

// ---------------------------------------------------------------- editing

void DocumentWindow::undo()
{
    commitRemarkEditor();
    m_doc->undo.undo();
    // No snapshot here: the next edit writes one and ends the redo chain.
    refreshButtons();
    m_main.refreshPreview();
}

void DocumentWindow::redo()
{
    commitRemarkEditor();
    m_doc->undo.redo();
    refreshButtons();
    m_main.refreshPreview();
}

void DocumentWindow::cut()
{
    if (fsm().diagram().readOnly())
        return;
    copy();
    deleteSelected();
}

void DocumentWindow::copy()
{
    commitRemarkEditor();
    m_view->copy();
}

void DocumentWindow::paste()
{
    commitRemarkEditor();
    // Pasted states get names and indices of their own, so that the diagram
    // still generates code that compiles.
    if (m_view->canPaste() && m_view->paste())
        States::freePastedStates(fsm(), fsm().diagram().selectedNodes(), ui());
    afterCommand();
}

void DocumentWindow::deleteSelected()
{
    if (fsm().diagram().readOnly())
        return;
    commitRemarkEditor();
    DiagramEdits::deleteSelection(fsm());
    afterCommand();
}

void DocumentWindow::selectAll() { fsm().diagram().selectAll(); }

void DocumentWindow::toggleSelectMode()
{
    m_view->setMouseMode(m_view->mouseMode() == DiagramView::SelectMode ? DiagramView::InsertMode
                                                                        : DiagramView::SelectMode);
    syncModeChecks();
}

void DocumentWindow::toggleAutosize()
{
    FsmDocument& f = fsm();
    if (f.diagram().readOnly()) {
        // The toolbar's button is pressed back to the document's state.
        refreshButtons(true);
        return;
    }
    f.autosizeNodes = !f.autosizeNodes;
    if (f.autosizeNodes)
        DiagramEdits::sizeAllNodesToText(f);
    else
        f.diagram().setChanged(true);  // the choice is stored with the diagram
    syncChecks();
    afterCommand();
}

void DocumentWindow::toggleLocked()
{
    if (m_simulation || m_replay)
        return;  // Simulate mode and the replay keep the diagram locked
    commitRemarkEditor();
    Diagram& d = fsm().diagram();
    d.setReadOnly(!d.readOnly());
    m_view->viewport()->update();
    refreshButtons();
    showStatus();
}

void DocumentWindow::toggleHideComments()
{
    FsmDocument& f = fsm();
    f.hideComments = !f.hideComments;
    f.diagram().setChanged(true);
    States::refreshAllItems(f, ui());
    syncChecks();
    afterCommand();
}

// ---------------------------------------------------------------- grid and zoom

void DocumentWindow::toggleShowGrid()
{
    Diagram& d = fsm().diagram();
    d.setShowGrid(!d.showGrid());
    syncChecks();
}

void DocumentWindow::toggleSnapToGrid()
{
    Diagram& d = fsm().diagram();
    d.setSnapToGrid(!d.snapToGrid());
    syncChecks();
}

void DocumentWindow::setGridSize(int twips)
{
    fsm().diagram().setGridSize(twips);
    syncChecks();
}

void DocumentWindow::setZoomItem(int index)
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

void DocumentWindow::zoomWindow()
{
    m_view->setMouseMode(DiagramView::ZoomWindowMode);
    syncModeChecks();
}

void DocumentWindow::zoomIn() { m_view->setZoom(m_view->zoomX() * kZoomStep); }

void DocumentWindow::zoomOut() { m_view->setZoom(m_view->zoomX() / kZoomStep); }

void DocumentWindow::openParent()
{
    if (Hierarchy::hasParent(fsm()))
        m_main.openFile(fsm().parentPath);
}

}  // namespace orvane
