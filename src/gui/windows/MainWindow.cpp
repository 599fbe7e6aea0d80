#include "frmMain.h"

#include "AppSettings.h"
#include "Document.h"
#include "DocumentRegistry.h"
#include "GuiUserInterface.h"
#include "ProcessState.h"
#include "clsParientes.h"
#include "frmDoc.h"
#include "modConsulta.h"
#include "modMain.h"
#include "modVersion.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <cmath>

namespace orvane {

namespace {

constexpr double kTwipsPerInch = 1440;
// A restored window is never smaller than this (pixels).
constexpr int kMinWidth = 200;
constexpr int kMinHeight = 150;
// The first document buttons: New and Open work without a document.
constexpr int kAlwaysEnabledButtons = 2;

const QString kGenerateToolTip = QStringLiteral("Generate C-Code");

QIcon ButtonIcon(const QString& key)
{
    return QIcon(QStringLiteral(":/icons/") + key + QStringLiteral(".svg"));
}

}  // namespace

frmMain::frmMain(UserInterface* ui, clsLib_OptCMax* options, ToolHooks hooks, QWidget* parent)
    : QMainWindow(parent), m_options(options), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("frmMain"));
    if (!ui) {
        m_ownUi = std::make_unique<GuiUserInterface>(this, &m_hooks);
        ui = m_ownUi.get();
    }
    m_ui = ui;
    m_docs = std::make_unique<DocumentRegistry>(*m_ui);
    const QString title = Process().windowTitle;
    setWindowTitle(title.isEmpty() ? WindowTitle() : title);
    setAcceptDrops(true);

    m_split = new QSplitter(Qt::Horizontal, this);
    m_mdi = new QMdiArea(m_split);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_split->addWidget(m_mdi);
    buildPreview();
    setCentralWidget(m_split);

    buildMenus();
    buildToolbar();
    buildStatusBar();

    connect(m_docs.get(), &DocumentRegistry::documentAdded, this, &frmMain::onDocumentAdded);
    connect(m_docs.get(), &DocumentRegistry::documentAboutToBeRemoved, this,
            &frmMain::onDocumentAboutToBeRemoved);
    connect(m_docs.get(), &DocumentRegistry::documentRemoved, this, &frmMain::onDocumentRemoved);
    connect(m_docs.get(), &DocumentRegistry::activeChanged, this, &frmMain::onActiveChanged);
    connect(m_docs.get(), &DocumentRegistry::recentFilesChanged, this, &frmMain::showRecentFiles);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &frmMain::onSubWindowActivated);

    showMenusOf(nullptr);
    enableDocumentButtons(false);
    restorePlacement();
    m_findCaseSens = AppSettings::GetFindCaseSens();
    modMain::GetRecentFiles(*m_docs);
}

frmMain::~frmMain()
{
    // The windows go before the documents they show.
    disconnect(m_docs.get(), nullptr, this, nullptr);
    disconnect(m_mdi, nullptr, this, nullptr);
    for (auto& [doc, w] : m_windows) {
        w->detach();
        delete w->subWindow();
    }
    m_windows.clear();
    // The preview uses the printer, a member that goes before the children.
    delete picPrint;
}

void frmMain::Start()
{
    ProcessState& st = Process();
    const QString pending = st.pendingCommandLine;
    st.pendingCommandLine.clear();
    if (!pending.isEmpty()) {
        const modMain::OpenResult r = openFile(pending);
        if (frmDoc* w = r.ok() ? docWindow(r.document) : nullptr)
            w->subWindow()->showMaximized();
    }
    // A file that could not be opened leaves the user with a new diagram.
    if (m_docs->count() == 0)
        newDocument();
}

// ---------------------------------------------------------------- building

void frmMain::buildMenus()
{
    using namespace WindowMenus;
    QMenu* file = AddMenu(this, QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuFileNew = AddItem(file, QStringLiteral("mnuFileNew"), QStringLiteral("&New"),
                         [this] { newDocument(); }, QKeySequence::New);
    mnuFileOpen = AddItem(file, QStringLiteral("mnuFileOpen"), QStringLiteral("&Open"),
                          [this] { openFile(QString()); }, QKeySequence::Open);
    m_recent = AddRecentItems(file, [this](int i) { openRecentFile(i); });
    file->addSeparator();
    mnuFileExit = AddItem(file, QStringLiteral("mnuFileExit"), QStringLiteral("E&xit"),
                          [this] { close(); }, QKeySequence::Quit);

    QMenu* view = AddMenu(this, QStringLiteral("mnuView"), QStringLiteral("&View"));
    mnuViewToolbar = AddItem(view, QStringLiteral("mnuViewToolbar"), QStringLiteral("&Toolbar"),
                             [this] { setToolbarVisible(!toolbarVisible()); }, {}, true);
    mnuViewStatusBar =
        AddItem(view, QStringLiteral("mnuViewStatusBar"), QStringLiteral("&Status Bar"),
                [this] { setStatusBarVisible(!statusBarVisible()); }, {}, true);
    mnuViewToolbar->setChecked(true);
    mnuViewStatusBar->setChecked(true);

    QMenu* help = AddMenu(this, QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    mnuHelpAbout = AddItem(help, QStringLiteral("mnuHelpAbout"), QStringLiteral("&About..."),
                           [this] {
                               if (m_hooks.about)
                                   m_hooks.about(this);
                           });
    mnuHelpAbout->setEnabled(bool(m_hooks.about));
    m_menus = {file, view, help};
}

QAction* frmMain::addButton(const QString& key, const QString& toolTip, std::function<void()> run,
                            bool checkable)
{
    QAction* a = tbToolBar->addAction(ButtonIcon(key), toolTip);
    a->setObjectName(key);
    a->setToolTip(toolTip);
    a->setCheckable(checkable);
    if (run)
        connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    if (QWidget* w = tbToolBar->widgetForAction(a))
        w->setObjectName(key);
    m_buttons[key] = a;
    if (m_buttons.size() > size_t(kAlwaysEnabledButtons))
        m_documentButtons.append(a);
    return a;
}

std::function<void()> frmMain::onActive(void (frmDoc::*command)())
{
    return [this, command] {
        if (frmDoc* d = activeDoc())
            (d->*command)();
    };
}

void frmMain::buildToolbar()
{
    tbToolBar = addToolBar(QStringLiteral("Toolbar"));
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setIconSize(QSize(20, 20));

    addButton(QStringLiteral("New"), QStringLiteral("New"), [this] { newDocument(); });
    addButton(QStringLiteral("Open"), QStringLiteral("Open"), [this] { openFile(QString()); });
    addButton(QStringLiteral("Save"), QStringLiteral("Save"), onActive(&frmDoc::Save));
    addButton(QStringLiteral("GeneraCode"), kGenerateToolTip, onActive(&frmDoc::GenerateDefault));
    tbToolBar->addSeparator();
    addButton(QStringLiteral("Print"), QStringLiteral("Print"), [this] { printActive(); });
    QAction* preview = addButton(QStringLiteral("Preview"), QStringLiteral("Print Preview"), {}, true);
    connect(preview, &QAction::triggered, this, [this](bool on) { showPreview(on); });
    tbToolBar->addSeparator();
    addButton(QStringLiteral("Cut"), QStringLiteral("Cut"), onActive(&frmDoc::Cut));
    addButton(QStringLiteral("Copy"), QStringLiteral("Copy"), onActive(&frmDoc::Copy));
    addButton(QStringLiteral("Paste"), QStringLiteral("Paste"), onActive(&frmDoc::Paste));
    addButton(QStringLiteral("Find"), QStringLiteral("Find Text"), onActive(&frmDoc::Find));
    addButton(QStringLiteral("Undo"), QStringLiteral("Undo last action"), onActive(&frmDoc::Undo));
    addButton(QStringLiteral("Redo"), QStringLiteral("Redo last undo"), onActive(&frmDoc::Redo));
    tbToolBar->addSeparator();
    addButton(QStringLiteral("ReduceFont"), QStringLiteral("Reduce Font"),
              onActive(&frmDoc::ReduceFont));
    addButton(QStringLiteral("AdjustFont"), QStringLiteral("Change Font"),
              onActive(&frmDoc::ChangeFont));
    addButton(QStringLiteral("AmpliaFont"), QStringLiteral("Enlarge Font"),
              onActive(&frmDoc::EnlargeFont));
    tbToolBar->addSeparator();
    addButton(QStringLiteral("Lock_Unlock"), QStringLiteral("Lock && Unlock the diagram"),
              onActive(&frmDoc::ToggleLocked), true);
    addButton(QStringLiteral("InsertMode"), QStringLiteral("Insert mode <--> Select mode"),
              onActive(&frmDoc::ToggleSelectMode), true);
    addButton(QStringLiteral("AutoSize"), QStringLiteral("Autosize Nodes"),
              onActive(&frmDoc::ToggleAutosize), true);
    addButton(QStringLiteral("Properties"), QStringLiteral("FSM Properties"),
              onActive(&frmDoc::FsmProperties));
    addButton(QStringLiteral("Remark"), QStringLiteral("Insert Remark"),
              onActive(&frmDoc::InsertRemark));
    tbToolBar->addSeparator();
    addButton(QStringLiteral("GoUp1Level"), QStringLiteral("Open Parent"),
              onActive(&frmDoc::OpenParent));
    QAction* down = addButton(QStringLiteral("GoDown1Level"), QStringLiteral("Open child"), {});
    m_goDownMenu = new QMenu(this);
    m_goDownMenu->setObjectName(QStringLiteral("mnuGoDown1Level"));
    down->setMenu(m_goDownMenu);
    if (auto* b = qobject_cast<QToolButton*>(tbToolBar->widgetForAction(down)))
        b->setPopupMode(QToolButton::InstantPopup);
    connect(m_goDownMenu, &QMenu::aboutToShow, this, &frmMain::fillGoDownMenu);
}

void frmMain::buildStatusBar()
{
    sbStatusBar = statusBar();
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    m_modeLabel = new QLabel(sbStatusBar);
    m_zoomLabel = new QLabel(sbStatusBar);
    sbStatusBar->addPermanentWidget(m_modeLabel);
    sbStatusBar->addPermanentWidget(m_zoomLabel);
}

void frmMain::fillGoDownMenu()
{
    m_goDownMenu->clear();
    frmDoc* d = activeDoc();
    if (!d || !d->document())
        return;
    const FsmDocument& fsm = d->document()->fsm;
    clsParientes parientes;
    parientes.Reset(fsm.sFullDocname);
    for (const QString& reference : modConsulta::ChildReferences(fsm)) {
        const QString path = parientes.RutaCompleta(reference);
        QAction* a = m_goDownMenu->addAction(WindowMenus::PathCaption(reference));
        connect(a, &QAction::triggered, this, [this, path] { openFile(path); });
    }
}

// ---------------------------------------------------------------- documents

frmDoc* frmMain::activeDoc() const { return docWindow(m_docs->active()); }

frmDoc* frmMain::docWindow(const Document* doc) const
{
    const auto it = m_windows.find(doc);
    return it == m_windows.end() ? nullptr : it->second;
}

QList<frmDoc*> frmMain::docWindows() const
{
    QList<frmDoc*> list;
    for (Document* doc : m_docs->documents())
        if (frmDoc* w = docWindow(doc))
            list.append(w);
    return list;
}

void frmMain::onDocumentAdded(Document* doc)
{
    // Before the window shows: its activation then sets the buttons' states.
    enableDocumentButtons(true);
    auto* w = new frmDoc(*this, *doc);
    auto* sub = new QMdiSubWindow;
    sub->setWidget(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    m_mdi->addSubWindow(sub);
    w->setSubWindow(sub);
    m_windows[doc] = w;
    const QSize area = m_mdi->viewport()->size();
    sub->resize(std::max(area.width() * 3 / 4, 320), std::max(area.height() * 3 / 4, 240));
    sub->show();
    modMain::GetRecentFiles(*m_docs);
}

void frmMain::onDocumentAboutToBeRemoved(Document* doc)
{
    frmDoc* w = docWindow(doc);
    if (!w)
        return;
    m_windows.erase(doc);
    if (m_previewOf == doc)
        showPreview(false);
    if (menuBar()->actions().contains(w->menus().value(0)->menuAction()))
        showMenusOf(nullptr);
    w->detach();
    // A window in its own close goes by itself; any other goes now.
    if (!w->isClosing()) {
        w->subWindow()->hide();
        w->subWindow()->deleteLater();
    }
}

void frmMain::onDocumentRemoved(int remaining)
{
    if (remaining == 0) {
        enableDocumentButtons(false);
        showDocumentState(QString(), 0, false);
    }
}

void frmMain::onActiveChanged(Document* doc)
{
    frmDoc* w = docWindow(doc);
    if (m_previewOf && m_previewOf != doc)
        showPreview(false);
    showMenusOf(w);
    if (!w) {
        setGenerateToolTip(QString());
        return;
    }
    if (m_mdi->activeSubWindow() != w->subWindow())
        m_mdi->setActiveSubWindow(w->subWindow());
    w->activated();
}

void frmMain::onSubWindowActivated(QMdiSubWindow* sub)
{
    // Null comes when the frame itself loses the focus: the active document
    // stays what it was.
    if (!sub)
        return;
    if (auto* w = qobject_cast<frmDoc*>(sub->widget()); w && w->document())
        m_docs->setActive(w->document());
}

void frmMain::showMenusOf(frmDoc* doc)
{
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* m : doc ? doc->menus() : m_menus)
        bar->addMenu(m);
}

void frmMain::showRecentFiles(const QStringList& paths)
{
    WindowMenus::ShowRecentFiles(m_recent, paths);
    for (frmDoc* w : docWindows())
        w->showRecentFiles(paths);
}

void frmMain::enableDocumentButtons(bool on)
{
    for (QAction* a : m_documentButtons)
        a->setEnabled(on && hasTool(a->objectName()));
}

QAction* frmMain::menuItem(const QString& name) const
{
    for (const QMenu* m : m_menus)
        if (auto* a = m->findChild<QAction*>(name))
            return a;
    return nullptr;
}

bool frmMain::hasTool(const QString& key) const
{
    if (key == QLatin1String("Find"))
        return bool(m_hooks.find);
    if (key == QLatin1String("ReduceFont"))
        return bool(m_hooks.reduceFont);
    if (key == QLatin1String("AmpliaFont"))
        return bool(m_hooks.enlargeFont);
    if (key == QLatin1String("AdjustFont"))
        return bool(m_hooks.changeFont);
    return true;
}

QAction* frmMain::button(const QString& key) const
{
    const auto it = m_buttons.find(key);
    return it == m_buttons.end() ? nullptr : it->second;
}

void frmMain::setGenerateToolTip(const QString& caption)
{
    button(QStringLiteral("GeneraCode"))
        ->setToolTip(caption.isEmpty() ? kGenerateToolTip
                                       : kGenerateToolTip + QStringLiteral(": ") + caption);
}

void frmMain::showDocumentState(const QString& mode, double zoom, bool locked)
{
    m_modeLabel->setText(locked && !mode.isEmpty() ? mode + QStringLiteral(", locked") : mode);
    m_zoomLabel->setText(zoom > 0 ? QString::number(std::lround(zoom)) + QLatin1Char('%')
                                  : QString());
}

// ---------------------------------------------------------------- commands

void frmMain::newDocument() { modMain::FileNew(*m_docs, true); }

modMain::OpenResult frmMain::openFile(const QString& path)
{
    const modMain::OpenResult r = modMain::FileOpen(*m_docs, path);
    if (r.status == modMain::OpenStatus::LoadFailed) {
        // The window would show nothing of the file: the user is told why,
        // and the empty window goes.
        m_ui->message(QStringLiteral("The file can't be opened:") + QStringLiteral("\r\n") + r.error,
                      MessageIcon::Exclamation, QStringLiteral("Attention!"));
        if (r.document && m_docs->contains(r.document))
            m_docs->remove(r.document);
    } else if (r.status == modMain::OpenStatus::Opened) {
        if (frmDoc* w = docWindow(r.document))
            w->configurationLoaded();
    }
    return r;
}

void frmMain::openRecentFile(int index)
{
    const QStringList paths = modMain::GetRecentFiles(*m_docs);
    if (index >= 0 && index < paths.size())
        openFile(paths.at(index));
}

void frmMain::openDroppedFile(const QString& path)
{
    if (!modMain::IsFsmFile(path))
        return;
    if (m_hooks.queueFile)
        m_hooks.queueFile(path);
    else
        openFile(path);
}

// ---------------------------------------------------------------- view

bool frmMain::toolbarVisible() const { return !tbToolBar->isHidden(); }
bool frmMain::statusBarVisible() const { return !sbStatusBar->isHidden(); }

void frmMain::setToolbarVisible(bool on)
{
    tbToolBar->setVisible(on);
    mnuViewToolbar->setChecked(on);
    for (frmDoc* w : docWindows())
        w->setViewChecks(on, statusBarVisible());
}

void frmMain::setStatusBarVisible(bool on)
{
    sbStatusBar->setVisible(on);
    mnuViewStatusBar->setChecked(on);
    for (frmDoc* w : docWindows())
        w->setViewChecks(toolbarVisible(), on);
}

// ---------------------------------------------------------------- window

void frmMain::closeEvent(QCloseEvent* e)
{
    // Every document asks about its changes, the last opened first.
    const QList<frmDoc*> windows = docWindows();
    for (qsizetype i = windows.size() - 1; i >= 0; --i) {
        if (!windows.at(i)->subWindow()->close()) {
            e->ignore();
            return;
        }
    }
    if (!isMinimized())
        savePlacement();
    AppSettings::SaveFindCaseSens(m_findCaseSens);
    e->accept();
}

void frmMain::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* e)
{
    if (!e->mimeData()->hasUrls())
        return;
    e->acceptProposedAction();
    openDroppedUrls(e->mimeData()->urls());
}

void frmMain::openDroppedUrls(const QList<QUrl>& urls)
{
    // Only the first of several files counts.
    if (!urls.isEmpty())
        openDroppedFile(urls.constFirst().toLocalFile());
}

double frmMain::twipsPerPixelX() const { return kTwipsPerInch / logicalDpiX(); }
double frmMain::twipsPerPixelY() const { return kTwipsPerInch / logicalDpiY(); }

void frmMain::restorePlacement()
{
    const AppSettings::MainPlacement p = AppSettings::GetMainPlacement();
    const double tx = twipsPerPixelX(), ty = twipsPerPixelY();
    QRect r(int(std::lround(p.left / tx)), int(std::lround(p.top / ty)),
            std::max(kMinWidth, int(std::lround(p.width / tx))),
            std::max(kMinHeight, int(std::lround(p.height / ty))));
    // A place on a screen that is no longer there would hide the window.
    if (!QGuiApplication::screenAt(r.topLeft())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            r.moveTopLeft(screen->availableGeometry().topLeft());
    }
    resize(r.size());
    move(r.topLeft());
}

void frmMain::savePlacement()
{
    const QRect r = isMaximized() || isFullScreen() ? normalGeometry() : QRect(pos(), size());
    const double tx = twipsPerPixelX(), ty = twipsPerPixelY();
    AppSettings::SaveMainPlacement({int(std::lround(r.x() * tx)), int(std::lround(r.y() * ty)),
                                    int(std::lround(r.width() * tx)),
                                    int(std::lround(r.height() * ty))});
}

}  // namespace orvane
