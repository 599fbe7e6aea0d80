// The document window: its view, menus, check marks and button states.

#include "frmDoc.h"

#include "Document.h"
#include "DocumentRegistry.h"
#include "FsmDocument.h"
#include "frmMain.h"
#include "modConsulta.h"
#include "modMain_Files.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <array>

namespace orvane {

namespace {

constexpr std::array<int, 6> kGridSizes = {60, 120, 180, 240, 300, 360};
const char* const kZoomCaptions[] = {"&150%", "100% (&Normal)", "&75%", "&50%", "&25%",
                                     "&Fit in Window"};
constexpr int kNormalZoomItem = 1;

struct MethodologyItem {
    const char* name;
    Methodology methodology;
};
// In the order of the menu; the default command tests them in another.
constexpr MethodologyItem kMethodologyItems[] = {
    {"mnuGenerate_C_code_TablaPoint", Methodology::PointerArray},
    {"mnuGenerate_C_code_Pointers", Methodology::DirectPointers},
    {"mnuGenerate_C_code_SwitchCase", Methodology::SwitchCase},
    {"mnuGenerate_C_code_Hierarchical", Methodology::Hierarchical},
};

// Disabled while the diagram is locked.
const char* const kLockedMenuItems[] = {
    "mnuInsertaComentario", "mnuFont",          "mnuEditCut",        "mnuEditCopy",
    "mnuEditPaste",         "mnuExportEMF",     "mnuEditDelete",     "mnuViewGrid",
    "mnuEditSelectAll",     "mnuEditSelectMode", "mnuViewZoomRectangleIsotropic",
    "mnuAutosizeNodes",
};
const char* const kLockedButtons[] = {"Cut",        "Copy",       "Paste",      "AmpliaFont",
                                      "AdjustFont", "ReduceFont", "InsertMode", "Remark"};

// Tiles the area's shown windows in one row or one column.
void Tile(QMdiArea* area, Qt::Orientation orientation)
{
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* w : area->subWindowList())
        if (w->isVisible() && !w->isMinimized())
            shown.append(w);
    if (shown.isEmpty())
        return;
    const QRect r = area->viewport()->rect();
    const int n = int(shown.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = shown.at(i);
        w->showNormal();
        if (orientation == Qt::Vertical)
            w->setGeometry(0, r.height() * i / n, r.width(), r.height() / n);
        else
            w->setGeometry(r.width() * i / n, 0, r.width() / n, r.height());
    }
}

// Lines the minimised windows up along the bottom of the area.
void ArrangeIcons(QMdiArea* area)
{
    int x = 0;
    const int bottom = area->viewport()->height();
    for (QMdiSubWindow* w : area->subWindowList()) {
        if (!w->isMinimized())
            continue;
        w->move(x, bottom - w->height());
        x += w->width();
    }
}

}  // namespace

frmDoc::frmDoc(frmMain& main, Document& doc) : m_main(main), m_doc(&doc)
{
    setObjectName(QStringLiteral("frmDoc"));
    setWindowTitle(doc.caption());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new DiagramView(&doc.fsm.diagram(), this);
    m_view->setObjectName(QStringLiteral("AddFlow1"));
    // Dropped files go on to the main window.
    m_view->setAcceptDrops(false);
    m_view->viewport()->setAcceptDrops(false);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->setBackgroundBrush(palette().color(QPalette::Base));
    layout->addWidget(m_view);

    Text1 = new QPlainTextEdit(m_view->viewport());
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFrameShape(QFrame::NoFrame);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->hide();
    Text1->installEventFilter(this);

    doc.fsm.diagram().setRedraw(true);
    doc.fsm.diagram().setNewLinkArrowDst(3);

    buildMenus();
    connectDocument();
    syncChecks();
    setViewChecks(main.toolbarVisible(), main.statusBarVisible());
}

frmDoc::~frmDoc() { detach(); }

FsmDocument& frmDoc::fsm() const { return m_doc->fsm; }
DocumentRegistry& frmDoc::docs() const { return m_main.documents(); }
UserInterface& frmDoc::ui() const { return m_main.ui(); }

QAction* frmDoc::action(const QString& name) const
{
    const auto it = m_actions.find(name);
    return it == m_actions.end() ? nullptr : it->second;
}

void frmDoc::connectDocument()
{
    Diagram* d = &m_doc->fsm.diagram();
    connect(m_doc, &Document::captionChanged, this, &QWidget::setWindowTitle);
    connect(m_doc, &Document::buttonsRefreshRequested, this, [this] { RefrescaBotones(); });
    connect(m_doc, &Document::graphConfigApplied, this, &frmDoc::syncChecks);
    connect(m_view, &DiagramView::doubleClicked, this, &frmDoc::onDoubleClicked);
    connect(m_view, &DiagramView::mouseDown, this, &frmDoc::onMouseDown);
    connect(m_view, &DiagramView::mouseUp, this, &frmDoc::onMouseUp);
    connect(m_view, &DiagramView::error, this, &frmDoc::onViewError);
    connect(m_view, &DiagramView::mouseModeChanged, this, &frmDoc::syncModeChecks);
    connect(m_view, &DiagramView::zoomChanged, this, [this] {
        // Zooming by other means leaves none of the zoom items true.
        if (!m_zoomBySelf)
            for (QAction* a : m_zoomItems)
                a->setChecked(false);
        showStatus();
    });
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_editMenu->exec(m_view->viewport()->mapToGlobal(at)); });
    connect(d, &Diagram::nodeAboutToBeRemoved, this, [this](Node* n) {
        if (n == m_editedNode)
            cancelRemarkEditor();
    });
    connect(d, &Diagram::contentReset, this, &frmDoc::cancelRemarkEditor);
}

void frmDoc::detach()
{
    if (!m_doc)
        return;
    cancelRemarkEditor();
    disconnect(m_doc, nullptr, this, nullptr);
    disconnect(&m_doc->fsm.diagram(), nullptr, this, nullptr);
    // The view and its editor hold items of the diagram that goes next.
    delete m_view;
    Text1 = nullptr;
    m_doc = nullptr;
}

// ---------------------------------------------------------------- menus

QAction* frmDoc::item(QMenu* menu, const QString& name, const QString& caption,
                      void (frmDoc::*command)(), const QKeySequence& shortcut, bool checkable)
{
    QAction* a = WindowMenus::AddItem(
        menu, name, caption,
        [this, command] {
            if (m_doc)
                (this->*command)();
        },
        shortcut, checkable);
    m_actions[name] = a;
    return a;
}

void frmDoc::buildMenus()
{
    buildFileMenu();
    buildEditMenu();
    buildViewMenu();
    buildWindowMenu();
    QMenu* help = WindowMenus::AddMenu(this, QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    QAction* about = WindowMenus::AddItem(help, QStringLiteral("mnuHelpAbout"),
                                          QStringLiteral("&About..."), [this] {
                                              if (m_main.hooks().about)
                                                  m_main.hooks().about(&m_main);
                                          });
    about->setEnabled(bool(m_main.hooks().about));
    m_actions[about->objectName()] = about;
    m_menus.append(help);
}

void frmDoc::buildFileMenu()
{
    using WindowMenus::AddItem;
    QMenu* m = WindowMenus::AddMenu(this, QStringLiteral("mnuFile"), QStringLiteral("&File"));
    m_menus.append(m);
    m_actions[QStringLiteral("mnuFileNew")] = AddItem(m, QStringLiteral("mnuFileNew"),
                                                      QStringLiteral("&New"),
                                                      [this] { m_main.newDocument(); },
                                                      QKeySequence::New);
    item(m, QStringLiteral("mnuFileNewChild"), QStringLiteral("Ne&w Child"), &frmDoc::NewChild);
    m_actions[QStringLiteral("mnuFileOpen")] =
        AddItem(m, QStringLiteral("mnuFileOpen"), QStringLiteral("&Open"),
                [this] { m_main.openFile(QString()); }, QKeySequence::Open);
    item(m, QStringLiteral("mnuFileClose"), QStringLiteral("&Close"), &frmDoc::CloseWindow,
         QKeySequence::Close);
    m->addSeparator();
    item(m, QStringLiteral("mnuFileSave"), QStringLiteral("&Save"), &frmDoc::Save,
         QKeySequence::Save);
    item(m, QStringLiteral("mnuFileSaveAs"), QStringLiteral("Save &As..."), &frmDoc::SaveAs,
         QKeySequence::SaveAs);
    item(m, QStringLiteral("mnuFileSaveAll"), QStringLiteral("Save A&ll"), &frmDoc::SaveAll);
    m->addSeparator();
    item(m, QStringLiteral("mnuSaveAsEMF"), QStringLiteral("Save As &enhanced metafile..."),
         &frmDoc::SaveAsEMF);
    item(m, QStringLiteral("mnuSaveAsHTML"), QStringLiteral("Save As &HTML File..."),
         &frmDoc::SaveAsHTML);
    item(m, QStringLiteral("mnuGenerarListado"), QStringLiteral("Generate Lis&t..."),
         &frmDoc::GenerateList);
    QMenu* code = WindowMenus::AddSubMenu(m, QStringLiteral("mnuGenerate_C_code"),
                                          QStringLiteral("&Generate C-code"));
    m_actions[code->objectName()] = code->menuAction();
    for (const MethodologyItem& mi : kMethodologyItems) {
        const Methodology methodology = mi.methodology;
        QAction* a = AddItem(code, QString::fromLatin1(mi.name), CaptionOf(methodology),
                             [this, methodology] {
                                 if (m_doc)
                                     GenerateCode(methodology);
                             }, {}, true);
        m_actions[a->objectName()] = a;
    }
    m->addSeparator();
    m_actions[QStringLiteral("mnuFilePrinterSetup")] =
        AddItem(m, QStringLiteral("mnuFilePrinterSetup"), QStringLiteral("Printer Set&up..."),
                [this] { m_main.printerSetup(); });
    m_actions[QStringLiteral("mnuFilePrintPreview")] =
        AddItem(m, QStringLiteral("mnuFilePrintPreview"), QStringLiteral("&Print Pre&view"),
                [this] { m_main.showPreview(!m_main.previewShown()); }, {}, true);
    m_actions[QStringLiteral("mnuFilePrint")] =
        AddItem(m, QStringLiteral("mnuFilePrint"), QStringLiteral("&Print..."),
                [this] { m_main.printActive(); }, QKeySequence::Print);
    m_recent = WindowMenus::AddRecentItems(m, [this](int i) { m_main.openRecentFile(i); });
    for (QAction* a : m_recent.items)
        m_actions[a->objectName()] = a;
    m->addSeparator();
    m_actions[QStringLiteral("mnuFileExit")] =
        AddItem(m, QStringLiteral("mnuFileExit"), QStringLiteral("E&xit"),
                [this] { m_main.close(); }, QKeySequence::Quit);
}

void frmDoc::buildEditMenu()
{
    QMenu* m = WindowMenus::AddMenu(this, QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
    m_menus.append(m);
    m_editMenu = m;
    item(m, QStringLiteral("mnuFSMProperties"), QStringLiteral("FS&M Properties"),
         &frmDoc::FsmProperties);
    item(m, QStringLiteral("mnuInsertaComentario"), QStringLiteral("&Insert Remark"),
         &frmDoc::InsertRemark);
    QMenu* font = WindowMenus::AddSubMenu(m, QStringLiteral("mnuFont"), QStringLiteral("F&ont"));
    m_actions[font->objectName()] = font->menuAction();
    item(font, QStringLiteral("mnuChangeFont"), QStringLiteral("&Change"), &frmDoc::ChangeFont)
        ->setEnabled(m_main.hasTool(QStringLiteral("AdjustFont")));
    item(font, QStringLiteral("mnuFixedPitchOnly"), QStringLiteral("&Fixed Pitch"),
         &frmDoc::ToggleFixedPitch, {}, true);
    item(m, QStringLiteral("mnuEditFind"), QStringLiteral("&Find"), &frmDoc::Find,
         QKeySequence::Find)
        ->setEnabled(m_main.hasTool(QStringLiteral("Find")));
    m->addSeparator();
    item(m, QStringLiteral("mnuEditUndo"), QStringLiteral("&Undo"), &frmDoc::Undo,
         QKeySequence::Undo);
    item(m, QStringLiteral("mnuEditRedo"), QStringLiteral("&Redo"), &frmDoc::Redo,
         QKeySequence(Qt::CTRL | Qt::Key_Y));
    m->addSeparator();
    item(m, QStringLiteral("mnuEditCut"), QStringLiteral("Cu&t"), &frmDoc::Cut, QKeySequence::Cut);
    item(m, QStringLiteral("mnuEditCopy"), QStringLiteral("&Copy"), &frmDoc::Copy,
         QKeySequence::Copy);
    item(m, QStringLiteral("mnuEditPaste"), QStringLiteral("&Paste"), &frmDoc::Paste,
         QKeySequence::Paste);
    item(m, QStringLiteral("mnuEditDelete"), QStringLiteral("&Delete"), &frmDoc::Delete,
         QKeySequence::Delete);
    m->addSeparator();
    item(m, QStringLiteral("mnuExportEMF"), QStringLiteral("&Export as Enhanced Metafile"),
         &frmDoc::ExportEMF);
    item(m, QStringLiteral("mnuEditSelectAll"), QStringLiteral("Select &All"), &frmDoc::SelectAll,
         QKeySequence::SelectAll);
    m->addSeparator();
    item(m, QStringLiteral("mnuEditSelectMode"), QStringLiteral("&Select Mode"),
         &frmDoc::ToggleSelectMode, {}, true);
    item(m, QStringLiteral("mnuAutosizeNodes"), QStringLiteral("Autosize &Nodes"),
         &frmDoc::ToggleAutosize, {}, true);
    item(m, QStringLiteral("mnuLocked"), QStringLiteral("&Locked"), &frmDoc::ToggleLocked, {},
         true);
}

void frmDoc::buildViewMenu()
{
    using WindowMenus::AddItem;
    QMenu* m = WindowMenus::AddMenu(this, QStringLiteral("mnuView"), QStringLiteral("&View"));
    m_menus.append(m);
    m_actions[QStringLiteral("mnuViewToolbar")] =
        AddItem(m, QStringLiteral("mnuViewToolbar"), QStringLiteral("&Toolbar"),
                [this] { m_main.setToolbarVisible(!m_main.toolbarVisible()); }, {}, true);
    m_actions[QStringLiteral("mnuViewStatusBar")] =
        AddItem(m, QStringLiteral("mnuViewStatusBar"), QStringLiteral("&Status Bar"),
                [this] { m_main.setStatusBarVisible(!m_main.statusBarVisible()); }, {}, true);
    item(m, QStringLiteral("mnuHideComments"), QStringLiteral("&Hide Comments: '//'"),
         &frmDoc::ToggleHideComments, {}, true);

    QMenu* grid = WindowMenus::AddSubMenu(m, QStringLiteral("mnuViewGrid"), QStringLiteral("&Grid"));
    m_actions[grid->objectName()] = grid->menuAction();
    item(grid, QStringLiteral("mnuViewShowGrid"), QStringLiteral("&Show grid"),
         &frmDoc::ToggleShowGrid, {}, true);
    item(grid, QStringLiteral("mnuViewSnapToGrid"), QStringLiteral("S&nap to grid"),
         &frmDoc::ToggleSnapToGrid, {}, true);
    QMenu* sizes = WindowMenus::AddSubMenu(grid, QStringLiteral("mnuViewGridSize"),
                                           QStringLiteral("&Grid Size"));
    for (size_t i = 0; i < kGridSizes.size(); ++i) {
        const int twips = kGridSizes[i];
        QAction* a = AddItem(sizes, QStringLiteral("mnuViewGridSizeValue") + QString::number(i),
                             QString::number(twips),
                             [this, twips] {
                                 if (m_doc)
                                     SetGridSize(twips);
                             }, {}, true);
        m_gridItems.append(a);
        m_actions[a->objectName()] = a;
    }

    QMenu* zoom = WindowMenus::AddSubMenu(m, QStringLiteral("mnuViewZoom"), QStringLiteral("&Zoom"));
    for (int i = 0; i < int(std::size(kZoomCaptions)); ++i) {
        QAction* a = AddItem(zoom, QStringLiteral("mnuViewZoomValue") + QString::number(i),
                             QString::fromLatin1(kZoomCaptions[i]),
                             [this, i] {
                                 if (m_doc)
                                     SetZoomItem(i);
                             }, {}, true);
        m_zoomItems.append(a);
        m_actions[a->objectName()] = a;
    }
    m_zoomItems.at(kNormalZoomItem)->setChecked(true);
    item(zoom, QStringLiteral("mnuViewZoomRectangleIsotropic"), QStringLiteral("Zoom &Window"),
         &frmDoc::ZoomWindow, {}, true);
}

void frmDoc::buildWindowMenu()
{
    using WindowMenus::AddItem;
    QMenu* m = WindowMenus::AddMenu(this, QStringLiteral("mnuWindow"), QStringLiteral("&Window"));
    m_menus.append(m);
    m_windowMenu = m;
    QMdiArea* area = m_main.mdiArea();
    m_actions[QStringLiteral("mnuWindowCascade")] = AddItem(
        m, QStringLiteral("mnuWindowCascade"), QStringLiteral("&Cascade"),
        [area] { area->cascadeSubWindows(); });
    m_actions[QStringLiteral("mnuWindowTileHorizontal")] =
        AddItem(m, QStringLiteral("mnuWindowTileHorizontal"), QStringLiteral("Tile &Horizontally"),
                [area] { Tile(area, Qt::Vertical); });
    m_actions[QStringLiteral("mnuWindowTileVertical")] =
        AddItem(m, QStringLiteral("mnuWindowTileVertical"), QStringLiteral("Tile &Vertically"),
                [area] { Tile(area, Qt::Horizontal); });
    m_actions[QStringLiteral("mnuWindowArrange")] =
        AddItem(m, QStringLiteral("mnuWindowArrange"), QStringLiteral("&Arrange Icons"),
                [area] { ArrangeIcons(area); });
    m->addSeparator();
    connect(m, &QMenu::aboutToShow, this, &frmDoc::fillWindowList);
}

// The open documents after the window commands, the active one checked.
void frmDoc::fillWindowList()
{
    const QList<QAction*> all = m_windowMenu->actions();
    const qsizetype fixed = all.indexOf(m_actions.at(QStringLiteral("mnuWindowArrange"))) + 2;
    for (qsizetype i = fixed; i < all.size(); ++i)
        delete all.at(i);
    int n = 0;
    for (frmDoc* w : m_main.docWindows()) {
        const QString caption = w->windowTitle().isEmpty() ? QStringLiteral("(untitled)")
                                                          : w->windowTitle();
        QAction* a = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(
            WindowMenus::PathCaption(caption)));
        a->setCheckable(true);
        a->setChecked(w == m_main.activeDoc());
        QPointer<frmDoc> target(w);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target && target->document())
                docs().setActive(target->document());
        });
    }
}

void frmDoc::showRecentFiles(const QStringList& paths) { WindowMenus::ShowRecentFiles(m_recent, paths); }

void frmDoc::setViewChecks(bool toolbar, bool statusBar)
{
    action(QStringLiteral("mnuViewToolbar"))->setChecked(toolbar);
    action(QStringLiteral("mnuViewStatusBar"))->setChecked(statusBar);
}

void frmDoc::setPreviewChecked(bool on) { action(QStringLiteral("mnuFilePrintPreview"))->setChecked(on); }

// ---------------------------------------------------------------- states

void frmDoc::syncChecks()
{
    if (!m_doc)
        return;
    const FsmDocument& f = fsm();
    const Diagram& d = f.diagram();
    action(QStringLiteral("mnuAutosizeNodes"))->setChecked(f.autosizeNodes);
    action(QStringLiteral("mnuFixedPitchOnly"))->setChecked(f.fixedPitchOnly);
    action(QStringLiteral("mnuHideComments"))->setChecked(f.hideComments);
    action(QStringLiteral("mnuViewShowGrid"))->setChecked(d.showGrid());
    action(QStringLiteral("mnuViewSnapToGrid"))->setChecked(d.snapToGrid());
    for (qsizetype i = 0; i < m_gridItems.size(); ++i)
        m_gridItems.at(i)->setChecked(kGridSizes[size_t(i)] == d.gridSize());
    syncMethodologyChecks();
    syncModeChecks();
}

void frmDoc::syncMethodologyChecks()
{
    const QString& current = fsm().formatCompilacion;
    for (const MethodologyItem& mi : kMethodologyItems)
        action(QString::fromLatin1(mi.name))->setChecked(CaptionOf(mi.methodology) == current);
    if (m_main.activeDoc() == this)
        m_main.setGenerateToolTip(current);
}

void frmDoc::syncModeChecks()
{
    if (!m_view)
        return;
    const int mode = m_view->mouseMode();
    action(QStringLiteral("mnuEditSelectMode"))->setChecked(mode == DiagramView::SelectMode);
    action(QStringLiteral("mnuViewZoomRectangleIsotropic"))
        ->setChecked(mode == DiagramView::ZoomWindowMode);
    RefrescaBotones();
    showStatus();
}

void frmDoc::RefrescaBotones(bool force)
{
    if (!m_doc)
        return;
    if (force)
        m_cache = {};
    const bool active = m_main.activeDoc() == this;
    const auto button = [this, active](const char* key) {
        return active ? m_main.button(QString::fromLatin1(key)) : nullptr;
    };
    // True when the state differs from the cached one (and caches it).
    const auto differs = [](std::optional<bool>& cached, bool now) {
        if (cached == now)
            return false;
        cached = now;
        return true;
    };
    FsmDocument& f = fsm();
    const bool locked = f.diagram().readOnly();
    if (differs(m_cache.locked, locked)) {
        action(QStringLiteral("mnuLocked"))->setChecked(locked);
        for (const char* name : kLockedMenuItems)
            action(QString::fromLatin1(name))->setEnabled(!locked);
        if (QAction* b = button("Lock_Unlock"))
            b->setChecked(locked);
        for (const char* key : kLockedButtons)
            if (QAction* b = button(key))
                b->setEnabled(!locked && m_main.hasTool(QString::fromLatin1(key)));
    }
    const bool selectMode = action(QStringLiteral("mnuEditSelectMode"))->isChecked();
    if (differs(m_cache.selectMode, selectMode))
        if (QAction* b = button("InsertMode"))
            b->setChecked(selectMode);
    const bool autosize = action(QStringLiteral("mnuAutosizeNodes"))->isChecked();
    if (differs(m_cache.autosize, autosize))
        if (QAction* b = button("AutoSize"))
            b->setChecked(autosize);
    if (differs(m_cache.parent, modConsulta::HasParent(f)))
        if (QAction* b = button("GoUp1Level"))
            b->setEnabled(*m_cache.parent);
    if (differs(m_cache.child, !modConsulta::ChildReferences(f).isEmpty()))
        if (QAction* b = button("GoDown1Level"))
            b->setEnabled(*m_cache.child);
    if (differs(m_cache.undo, m_doc->undRed.CanUndo())) {
        action(QStringLiteral("mnuEditUndo"))->setEnabled(*m_cache.undo);
        if (QAction* b = button("Undo"))
            b->setEnabled(*m_cache.undo);
    }
    if (differs(m_cache.redo, m_doc->undRed.CanRedo())) {
        action(QStringLiteral("mnuEditRedo"))->setEnabled(*m_cache.redo);
        if (QAction* b = button("Redo"))
            b->setEnabled(*m_cache.redo);
    }
}

void frmDoc::SetDefaultMethodology(const QString& caption)
{
    if (!m_doc || caption.isEmpty())
        return;
    fsm().SetDefaultMethodology(caption);
    syncMethodologyChecks();
}

void frmDoc::activated()
{
    if (!m_doc)
        return;
    RefrescaBotones(true);
    syncMethodologyChecks();
    showStatus();
    if (m_view && !Text1->isVisible())
        m_view->setFocus();
}

void frmDoc::configurationLoaded()
{
    syncChecks();
    RefrescaBotones(true);
}

void frmDoc::showStatus()
{
    if (!m_view || m_main.activeDoc() != this)
        return;
    static const QString modes[] = {QStringLiteral("Insert mode"), QStringLiteral("Select mode"),
                                    QString(), QStringLiteral("Zoom window")};
    const int mode = std::clamp(m_view->mouseMode(), 0, 3);
    m_main.showDocumentState(modes[mode], m_view->zoomX(), fsm().diagram().readOnly());
}

void frmDoc::afterCommand()
{
    if (!m_doc)
        return;
    // Writing the snapshot clears the selection; the user keeps it.
    Diagram& d = fsm().diagram();
    const std::vector<Node*> nodes = d.selectedNodes();
    const std::vector<Link*> links = d.selectedLinks();
    m_doc->undRed.StoreGraphChanges();
    for (Node* n : nodes)
        n->setSelected(true);
    for (Link* l : links)
        l->setSelected(true);
    RefrescaBotones();
    if (m_main.activeDoc() == this)
        m_main.refreshPreview();
}

// ---------------------------------------------------------------- closing

void frmDoc::closeEvent(QCloseEvent* e)
{
    if (!m_doc) {
        e->accept();
        return;
    }
    CommitRemarkEditor();
    m_closing = true;
    const bool closed = modMain::CloseDocument(docs(), *m_doc);
    m_closing = false;
    if (closed)
        e->accept();
    else
        e->ignore();
}

}  // namespace orvane
