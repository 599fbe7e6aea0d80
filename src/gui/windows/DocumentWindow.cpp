// The document window: its view, menus, check marks and button states.

#include "DocumentWindow.h"

#include "ReplayDock.h"
#include "SimulationDock.h"
#include "SimulationOverlay.h"

#include "Document.h"
#include "DocumentRegistry.h"
#include "FsmDocument.h"
#include "MainWindow.h"
#include "Hierarchy.h"
#include "ChildDiagrams.h"
#include "DocumentCommands.h"

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
const char* const kZoomCaptions[] = {"&150%", "100% (&Normal)", "&75%",
                                     "&50%",  "&25%",           "&Fit in Window"};
constexpr int kNormalZoomItem = 1;

struct MethodologyItem {
    const char* name;
    Methodology methodology;
};
// In the order of the menu; the default command tests them in another.
constexpr MethodologyItem kMethodologyItems[] = {
    {"generatePointerArrayAction", Methodology::PointerArray},
    {"generatePointersAction", Methodology::DirectPointers},
    {"generateSwitchCaseAction", Methodology::SwitchCase},
    {"generateHierarchicalAction", Methodology::Hierarchical},
};

// Disabled while the diagram is locked.
const char* const kLockedMenuItems[] = {
    "insertRemarkAction",   "fontMenu",       "cutAction", "copyAction",      "pasteAction",
    "exportMetafileAction", "deleteAction",   "gridMenu",  "selectAllAction", "selectModeAction",
    "zoomWindowAction",     "autosizeAction",
};
const char* const kLockedButtons[] = {"Cut",        "Copy",       "Paste",      "EnlargeFont",
                                      "AdjustFont", "ReduceFont", "InsertMode", "Remark"};

// Tiles the area's shown windows in one row or one column.
void tile(QMdiArea* area, Qt::Orientation orientation)
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
void arrangeIcons(QMdiArea* area)
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

DocumentWindow::DocumentWindow(MainWindow& main, Document& doc) : m_main(main), m_doc(&doc)
{
    setObjectName(QStringLiteral("DocumentWindow"));
    setWindowTitle(doc.caption());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new DiagramView(&doc.fsm.diagram(), this);
    m_view->setObjectName(QStringLiteral("diagramView"));
    // Dropped files go on to the main window.
    m_view->setAcceptDrops(false);
    m_view->viewport()->setAcceptDrops(false);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    // The scene paints the background (and the grid over it); a brush of
    // the view's own would hide both.
    layout->addWidget(m_view);

    m_remarkEditor = new QPlainTextEdit(m_view->viewport());
    m_remarkEditor->setObjectName(QStringLiteral("remarkEditor"));
    m_remarkEditor->setFrameShape(QFrame::NoFrame);
    m_remarkEditor->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_remarkEditor->hide();
    m_remarkEditor->installEventFilter(this);

    doc.fsm.diagram().setRedraw(true);
    doc.fsm.diagram().setNewLinkArrowDst(3);

    buildMenus();
    connectDocument();
    syncChecks();
    setViewChecks(main.toolbarVisible(), main.statusBarVisible());
}

DocumentWindow::~DocumentWindow() { detach(); }

FsmDocument& DocumentWindow::fsm() const { return m_doc->fsm; }
DocumentRegistry& DocumentWindow::docs() const { return m_main.documents(); }
UserInterface& DocumentWindow::ui() const { return m_main.ui(); }

QAction* DocumentWindow::action(const QString& name) const
{
    const auto it = m_actions.find(name);
    return it == m_actions.end() ? nullptr : it->second;
}

void DocumentWindow::connectDocument()
{
    Diagram* d = &m_doc->fsm.diagram();
    connect(m_doc, &Document::captionChanged, this, &QWidget::setWindowTitle);
    connect(m_doc, &Document::buttonsRefreshRequested, this, [this] { refreshButtons(); });
    connect(m_doc, &Document::graphConfigApplied, this, &DocumentWindow::syncChecks);
    connect(m_view, &DiagramView::doubleClicked, this, &DocumentWindow::onDoubleClicked);
    connect(m_view, &DiagramView::mouseDown, this, &DocumentWindow::onMouseDown);
    connect(m_view, &DiagramView::mouseUp, this, &DocumentWindow::onMouseUp);
    connect(m_view, &DiagramView::error, this, &DocumentWindow::onViewError);
    connect(m_view, &DiagramView::mouseModeChanged, this, &DocumentWindow::syncModeChecks);
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
    connect(d, &Diagram::contentReset, this, &DocumentWindow::cancelRemarkEditor);
}

void DocumentWindow::detach()
{
    if (!m_doc)
        return;
    cancelRemarkEditor();
    // The simulation holds nodes of the diagram that goes.
    if (m_simulation || m_replay)
        unmarkChildWindows();
    delete m_simulation;
    m_simulation = nullptr;
    delete m_replay;
    m_replay = nullptr;
    m_simulationChildren.clear();
    disconnect(m_doc, nullptr, this, nullptr);
    disconnect(&m_doc->fsm.diagram(), nullptr, this, nullptr);
    // The marks go before the view they draw on: an overlay takes its hook
    // off the view, which must still be whole then.
    delete m_overlay;
    delete m_calledOverlay;
    // The view and its editor hold items of the diagram that goes next.
    delete m_view;
    m_remarkEditor = nullptr;
    m_doc = nullptr;
}

// ---------------------------------------------------------------- menus

QAction* DocumentWindow::item(QMenu* menu, const QString& name, const QString& caption,
                              void (DocumentWindow::*command)(), const QKeySequence& shortcut,
                              bool checkable)
{
    QAction* a = WindowMenus::addItem(
        menu, name, caption,
        [this, command] {
            if (m_doc)
                (this->*command)();
        },
        shortcut, checkable);
    m_actions[name] = a;
    return a;
}

void DocumentWindow::buildMenus()
{
    buildFileMenu();
    buildEditMenu();
    buildViewMenu();
    buildWindowMenu();
    QMenu* help = WindowMenus::addMenu(this, QStringLiteral("helpMenu"), QStringLiteral("&Help"));
    QAction* about = WindowMenus::addItem(help, QStringLiteral("aboutAction"),
                                          QStringLiteral("&About..."), [this] {
                                              if (m_main.hooks().about)
                                                  m_main.hooks().about(&m_main);
                                          });
    about->setEnabled(bool(m_main.hooks().about));
    m_actions[about->objectName()] = about;
    m_menus.append(help);
}

void DocumentWindow::buildFileMenu()
{
    using WindowMenus::addItem;
    QMenu* m = WindowMenus::addMenu(this, QStringLiteral("fileMenu"), QStringLiteral("&File"));
    m_menus.append(m);
    m_actions[QStringLiteral("newAction")] = addItem(
        m, QStringLiteral("newAction"), QStringLiteral("&New"), [this] { m_main.newDocument(); },
        QKeySequence::New);
    item(m, QStringLiteral("newChildAction"), QStringLiteral("Ne&w Child"),
         &DocumentWindow::newChild);
    m_actions[QStringLiteral("openAction")] = addItem(
        m, QStringLiteral("openAction"), QStringLiteral("&Open"),
        [this] { m_main.openFile(QString()); }, QKeySequence::Open);
    item(m, QStringLiteral("closeAction"), QStringLiteral("&Close"), &DocumentWindow::closeWindow,
         QKeySequence::Close);
    m->addSeparator();
    item(m, QStringLiteral("saveAction"), QStringLiteral("&Save"), &DocumentWindow::save,
         QKeySequence::Save);
    item(m, QStringLiteral("saveAsAction"), QStringLiteral("Save &As..."), &DocumentWindow::saveAs,
         QKeySequence::SaveAs);
    item(m, QStringLiteral("saveAllAction"), QStringLiteral("Save A&ll"), &DocumentWindow::saveAll);
    m->addSeparator();
    item(m, QStringLiteral("saveAsMetafileAction"), QStringLiteral("Save As &enhanced metafile..."),
         &DocumentWindow::saveAsEMF);
    item(m, QStringLiteral("saveAsHtmlAction"), QStringLiteral("Save As &HTML File..."),
         &DocumentWindow::saveAsHTML);
    item(m, QStringLiteral("saveAsPictureAction"), QStringLiteral("Save as P&icture..."),
         &DocumentWindow::saveAsPicture);
    item(m, QStringLiteral("exportTextAction"), QStringLiteral("Expo&rt..."),
         &DocumentWindow::exportText);
    item(m, QStringLiteral("importScxmlAction"), QStringLiteral("Import SC&XML..."),
         &DocumentWindow::importScxml);
    item(m, QStringLiteral("generateListAction"), QStringLiteral("Generate Lis&t..."),
         &DocumentWindow::generateList);
    item(m, QStringLiteral("replayTraceAction"), QStringLiteral("&Replay Trace..."),
         &DocumentWindow::replayTrace);
    QMenu* code = WindowMenus::addSubMenu(m, QStringLiteral("generateMenu"),
                                          QStringLiteral("&Generate C-code"));
    m_actions[code->objectName()] = code->menuAction();
    for (const MethodologyItem& mi : kMethodologyItems) {
        const Methodology methodology = mi.methodology;
        QAction* a = addItem(
            code, QString::fromLatin1(mi.name), methodologyCaption(methodology),
            [this, methodology] {
                if (m_doc)
                    generateCode(methodology);
            },
            {}, true);
        m_actions[a->objectName()] = a;
    }
    m->addSeparator();
    m_actions[QStringLiteral("printerSetupAction")] =
        addItem(m, QStringLiteral("printerSetupAction"), QStringLiteral("Printer Set&up..."),
                [this] { m_main.printerSetup(); });
    m_actions[QStringLiteral("printPreviewAction")] = addItem(
        m, QStringLiteral("printPreviewAction"), QStringLiteral("&Print Pre&view"),
        [this] { m_main.showPreview(!m_main.previewShown()); }, {}, true);
    m_actions[QStringLiteral("printAction")] = addItem(
        m, QStringLiteral("printAction"), QStringLiteral("&Print..."),
        [this] { m_main.printActive(); }, QKeySequence::Print);
    m_recent = WindowMenus::addRecentItems(m, [this](int i) { m_main.openRecentFile(i); });
    for (QAction* a : m_recent.items)
        m_actions[a->objectName()] = a;
    m->addSeparator();
    m_actions[QStringLiteral("exitAction")] = addItem(
        m, QStringLiteral("exitAction"), QStringLiteral("E&xit"), [this] { m_main.close(); },
        QKeySequence::Quit);
}

void DocumentWindow::buildEditMenu()
{
    QMenu* m = WindowMenus::addMenu(this, QStringLiteral("editMenu"), QStringLiteral("&Edit"));
    m_menus.append(m);
    m_editMenu = m;
    item(m, QStringLiteral("machinePropertiesAction"), QStringLiteral("FS&M Properties"),
         &DocumentWindow::fsmProperties);
    item(m, QStringLiteral("insertRemarkAction"), QStringLiteral("&Insert Remark"),
         &DocumentWindow::insertRemark);
    QMenu* font = WindowMenus::addSubMenu(m, QStringLiteral("fontMenu"), QStringLiteral("F&ont"));
    m_actions[font->objectName()] = font->menuAction();
    item(font, QStringLiteral("changeFontAction"), QStringLiteral("&Change"),
         &DocumentWindow::changeFont)
        ->setEnabled(m_main.hasTool(QStringLiteral("AdjustFont")));
    item(font, QStringLiteral("fixedPitchAction"), QStringLiteral("&Fixed Pitch"),
         &DocumentWindow::toggleFixedPitch, {}, true);
    item(m, QStringLiteral("findAction"), QStringLiteral("&Find"), &DocumentWindow::find,
         QKeySequence::Find)
        ->setEnabled(m_main.hasTool(QStringLiteral("Find")));
    m->addSeparator();
    item(m, QStringLiteral("undoAction"), QStringLiteral("&Undo"), &DocumentWindow::undo,
         QKeySequence::Undo);
    item(m, QStringLiteral("redoAction"), QStringLiteral("&Redo"), &DocumentWindow::redo,
         QKeySequence(Qt::CTRL | Qt::Key_Y));
    m->addSeparator();
    item(m, QStringLiteral("cutAction"), QStringLiteral("Cu&t"), &DocumentWindow::cut,
         QKeySequence::Cut);
    item(m, QStringLiteral("copyAction"), QStringLiteral("&Copy"), &DocumentWindow::copy,
         QKeySequence::Copy);
    item(m, QStringLiteral("pasteAction"), QStringLiteral("&Paste"), &DocumentWindow::paste,
         QKeySequence::Paste);
    item(m, QStringLiteral("deleteAction"), QStringLiteral("&Delete"),
         &DocumentWindow::deleteSelected, QKeySequence::Delete);
    m->addSeparator();
    item(m, QStringLiteral("exportMetafileAction"), QStringLiteral("&Export as Enhanced Metafile"),
         &DocumentWindow::exportEMF);
    item(m, QStringLiteral("selectAllAction"), QStringLiteral("Select &All"),
         &DocumentWindow::selectAll, QKeySequence::SelectAll);
    m->addSeparator();
    item(m, QStringLiteral("selectModeAction"), QStringLiteral("&Select Mode"),
         &DocumentWindow::toggleSelectMode, {}, true);
    item(m, QStringLiteral("autosizeAction"), QStringLiteral("Autosize &Nodes"),
         &DocumentWindow::toggleAutosize, {}, true);
    item(m, QStringLiteral("lockedAction"), QStringLiteral("&Locked"),
         &DocumentWindow::toggleLocked, {}, true);
    m->addSeparator();
    m_actions[QStringLiteral("checkDiagramAction")] = WindowMenus::addItem(
        m, QStringLiteral("checkDiagramAction"), QStringLiteral("Chec&k Diagram"),
        [this] { m_main.checkActiveDiagram(); });
}

void DocumentWindow::buildViewMenu()
{
    using WindowMenus::addItem;
    QMenu* m = WindowMenus::addMenu(this, QStringLiteral("viewMenu"), QStringLiteral("&View"));
    m_menus.append(m);
    m_actions[QStringLiteral("toolbarAction")] = addItem(
        m, QStringLiteral("toolbarAction"), QStringLiteral("&Toolbar"),
        [this] { m_main.setToolbarVisible(!m_main.toolbarVisible()); }, {}, true);
    m_actions[QStringLiteral("statusBarAction")] = addItem(
        m, QStringLiteral("statusBarAction"), QStringLiteral("&Status Bar"),
        [this] { m_main.setStatusBarVisible(!m_main.statusBarVisible()); }, {}, true);
    item(m, QStringLiteral("hideCommentsAction"), QStringLiteral("&Hide Comments: '//'"),
         &DocumentWindow::toggleHideComments, {}, true);
    item(m, QStringLiteral("simulateAction"), QStringLiteral("Si&mulate"),
         &DocumentWindow::toggleSimulate, QKeySequence(Qt::Key_F5), true);

    QMenu* grid = WindowMenus::addSubMenu(m, QStringLiteral("gridMenu"), QStringLiteral("&Grid"));
    m_actions[grid->objectName()] = grid->menuAction();
    item(grid, QStringLiteral("showGridAction"), QStringLiteral("&Show grid"),
         &DocumentWindow::toggleShowGrid, {}, true);
    item(grid, QStringLiteral("snapToGridAction"), QStringLiteral("S&nap to grid"),
         &DocumentWindow::toggleSnapToGrid, {}, true);
    QMenu* sizes =
        WindowMenus::addSubMenu(grid, QStringLiteral("gridSizeMenu"), QStringLiteral("&Grid Size"));
    for (size_t i = 0; i < kGridSizes.size(); ++i) {
        const int twips = kGridSizes[i];
        QAction* a = addItem(
            sizes, QStringLiteral("gridSizeAction") + QString::number(i), QString::number(twips),
            [this, twips] {
                if (m_doc)
                    setGridSize(twips);
            },
            {}, true);
        m_gridItems.append(a);
        m_actions[a->objectName()] = a;
    }

    QMenu* zoom = WindowMenus::addSubMenu(m, QStringLiteral("zoomMenu"), QStringLiteral("&Zoom"));
    for (int i = 0; i < int(std::size(kZoomCaptions)); ++i) {
        QAction* a = addItem(
            zoom, QStringLiteral("zoomAction") + QString::number(i),
            QString::fromLatin1(kZoomCaptions[i]),
            [this, i] {
                if (m_doc)
                    setZoomItem(i);
            },
            {}, true);
        m_zoomItems.append(a);
        m_actions[a->objectName()] = a;
    }
    m_zoomItems.at(kNormalZoomItem)->setChecked(true);
    item(zoom, QStringLiteral("zoomWindowAction"), QStringLiteral("Zoom &Window"),
         &DocumentWindow::zoomWindow, {}, true);
    zoom->addSeparator();
    item(zoom, QStringLiteral("zoomInAction"), QStringLiteral("Zoom &In"), &DocumentWindow::zoomIn)
        ->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    item(zoom, QStringLiteral("zoomOutAction"), QStringLiteral("Zoom &Out"),
         &DocumentWindow::zoomOut, QKeySequence::ZoomOut);
}

void DocumentWindow::buildWindowMenu()
{
    using WindowMenus::addItem;
    QMenu* m = WindowMenus::addMenu(this, QStringLiteral("windowMenu"), QStringLiteral("&Window"));
    m_menus.append(m);
    m_windowMenu = m;
    QMdiArea* area = m_main.mdiArea();
    m_actions[QStringLiteral("cascadeAction")] =
        addItem(m, QStringLiteral("cascadeAction"), QStringLiteral("&Cascade"),
                [area] { area->cascadeSubWindows(); });
    m_actions[QStringLiteral("tileHorizontalAction")] =
        addItem(m, QStringLiteral("tileHorizontalAction"), QStringLiteral("Tile &Horizontally"),
                [area] { tile(area, Qt::Vertical); });
    m_actions[QStringLiteral("tileVerticalAction")] =
        addItem(m, QStringLiteral("tileVerticalAction"), QStringLiteral("Tile &Vertically"),
                [area] { tile(area, Qt::Horizontal); });
    m_actions[QStringLiteral("arrangeAction")] =
        addItem(m, QStringLiteral("arrangeAction"), QStringLiteral("&Arrange Icons"),
                [area] { arrangeIcons(area); });
    m->addSeparator();
    connect(m, &QMenu::aboutToShow, this, &DocumentWindow::fillWindowList);
}

// The open documents after the window commands, the active one checked.
void DocumentWindow::fillWindowList()
{
    const QList<QAction*> all = m_windowMenu->actions();
    const qsizetype fixed = all.indexOf(m_actions.at(QStringLiteral("arrangeAction"))) + 2;
    for (qsizetype i = fixed; i < all.size(); ++i)
        delete all.at(i);
    int n = 0;
    for (DocumentWindow* w : m_main.docWindows()) {
        const QString caption =
            w->windowTitle().isEmpty() ? QStringLiteral("(untitled)") : w->windowTitle();
        QAction* a = m_windowMenu->addAction(
            QStringLiteral("&%1 %2").arg(++n).arg(WindowMenus::pathCaption(caption)));
        a->setCheckable(true);
        a->setChecked(w == m_main.activeDoc());
        QPointer<DocumentWindow> target(w);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target && target->document())
                docs().setActive(target->document());
        });
    }
}

void DocumentWindow::showRecentFiles(const QStringList& paths)
{
    WindowMenus::showRecentFiles(m_recent, paths);
}

void DocumentWindow::setViewChecks(bool toolbar, bool statusBar)
{
    action(QStringLiteral("toolbarAction"))->setChecked(toolbar);
    action(QStringLiteral("statusBarAction"))->setChecked(statusBar);
}

void DocumentWindow::setPreviewChecked(bool on)
{
    action(QStringLiteral("printPreviewAction"))->setChecked(on);
}

// ---------------------------------------------------------------- states

void DocumentWindow::syncChecks()
{
    if (!m_doc)
        return;
    const FsmDocument& f = fsm();
    const Diagram& d = f.diagram();
    action(QStringLiteral("autosizeAction"))->setChecked(f.autosizeNodes);
    action(QStringLiteral("fixedPitchAction"))->setChecked(f.fixedPitchOnly);
    action(QStringLiteral("hideCommentsAction"))->setChecked(f.hideComments);
    action(QStringLiteral("showGridAction"))->setChecked(d.showGrid());
    action(QStringLiteral("snapToGridAction"))->setChecked(d.snapToGrid());
    for (qsizetype i = 0; i < m_gridItems.size(); ++i)
        m_gridItems.at(i)->setChecked(kGridSizes[size_t(i)] == d.gridSize());
    syncMethodologyChecks();
    syncModeChecks();
}

void DocumentWindow::syncMethodologyChecks()
{
    const std::optional<Methodology> current = fsm().defaultMethodology;
    for (const MethodologyItem& mi : kMethodologyItems)
        action(QString::fromLatin1(mi.name))->setChecked(current == mi.methodology);
    if (m_main.activeDoc() == this)
        m_main.setGenerateToolTip(current ? methodologyCaption(*current) : QString());
}

void DocumentWindow::syncModeChecks()
{
    if (!m_view)
        return;
    const int mode = m_view->mouseMode();
    action(QStringLiteral("selectModeAction"))->setChecked(mode == DiagramView::SelectMode);
    action(QStringLiteral("zoomWindowAction"))->setChecked(mode == DiagramView::ZoomWindowMode);
    refreshButtons();
    showStatus();
}

void DocumentWindow::refreshButtons(bool force)
{
    if (!m_doc)
        return;
    if (force) {
        m_cache = {};
        m_diagramFiles.clear();
    }
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
        action(QStringLiteral("lockedAction"))->setChecked(locked);
        for (const char* name : kLockedMenuItems)
            action(QString::fromLatin1(name))->setEnabled(!locked);
        if (QAction* b = button("Lock"))
            b->setChecked(locked);
        for (const char* key : kLockedButtons)
            if (QAction* b = button(key))
                b->setEnabled(!locked && m_main.hasTool(QString::fromLatin1(key)));
    }
    if (QAction* b = button("Simulate"))
        b->setChecked(m_simulation != nullptr || m_replay != nullptr);
    const bool selectMode = action(QStringLiteral("selectModeAction"))->isChecked();
    if (differs(m_cache.selectMode, selectMode))
        if (QAction* b = button("InsertMode"))
            b->setChecked(selectMode);
    const bool autosize = action(QStringLiteral("autosizeAction"))->isChecked();
    if (differs(m_cache.autosize, autosize))
        if (QAction* b = button("AutoSize"))
            b->setChecked(autosize);
    if (differs(m_cache.parent, Hierarchy::hasParent(f)))
        if (QAction* b = button("GoUp1Level"))
            b->setEnabled(*m_cache.parent);
    ChildDiagrams children([this](const QString& path) {
        auto known = m_diagramFiles.constFind(path);
        if (known == m_diagramFiles.cend())
            known = m_diagramFiles.insert(path, ChildDiagrams::isDiagramFile(path));
        return *known;
    });
    children.reset(f.filePath);
    children.scanDiagram(f.diagram());
    if (differs(m_cache.child, !children.children().isEmpty()))
        if (QAction* b = button("GoDown1Level"))
            b->setEnabled(*m_cache.child);
    if (differs(m_cache.undo, m_doc->undo.canUndo())) {
        action(QStringLiteral("undoAction"))->setEnabled(*m_cache.undo);
        if (QAction* b = button("Undo"))
            b->setEnabled(*m_cache.undo);
    }
    if (differs(m_cache.redo, m_doc->undo.canRedo())) {
        action(QStringLiteral("redoAction"))->setEnabled(*m_cache.redo);
        if (QAction* b = button("Redo"))
            b->setEnabled(*m_cache.redo);
    }
}

void DocumentWindow::setDefaultMethodology(Methodology methodology)
{
    if (!m_doc)
        return;
    fsm().setDefaultMethodology(methodology);
    syncMethodologyChecks();
}

void DocumentWindow::activated()
{
    if (!m_doc)
        return;
    refreshButtons(true);
    syncMethodologyChecks();
    showStatus();
    if (m_view && !m_remarkEditor->isVisible())
        m_view->setFocus();
}

void DocumentWindow::configurationLoaded()
{
    syncChecks();
    refreshButtons(true);
    // A simulation that calls this machine marks its current state here too.
    for (DocumentWindow* other : m_main.docWindows())
        if (other != this)
            other->markChildWindows();
}

void DocumentWindow::showStatus()
{
    if (!m_view || m_main.activeDoc() != this)
        return;
    static const QString modes[] = {QStringLiteral("Insert mode"), QStringLiteral("Select mode"),
                                    QString(), QStringLiteral("Zoom window")};
    const int mode = std::clamp(m_view->mouseMode(), 0, 3);
    m_main.showDocumentState(modes[mode], m_view->zoomX(), fsm().diagram().readOnly());
}

void DocumentWindow::afterCommand()
{
    if (!m_doc)
        return;
    // Writing the snapshot clears the selection; the user keeps it.
    Diagram& d = fsm().diagram();
    const std::vector<Node*> nodes = d.selectedNodes();
    const std::vector<Link*> links = d.selectedLinks();
    m_doc->undo.storeGraphChanges();
    for (Node* n : nodes)
        n->setSelected(true);
    for (Link* l : links)
        l->setSelected(true);
    refreshButtons();
    if (m_main.activeDoc() == this)
        m_main.refreshPreview();
}

// ---------------------------------------------------------------- closing

void DocumentWindow::closeEvent(QCloseEvent* e)
{
    if (!m_doc) {
        e->accept();
        return;
    }
    commitRemarkEditor();
    m_closing = true;
    const bool closed = DocumentCommands::closeDocument(docs(), *m_doc);
    m_closing = false;
    if (closed)
        e->accept();
    else
        e->ignore();
}

}  // namespace orvane
