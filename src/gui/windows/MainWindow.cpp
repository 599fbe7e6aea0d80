#include "MainWindow.h"

#include "AppSettings.h"
#include "Document.h"
#include "DocumentRegistry.h"
#include "GuiUserInterface.h"
#include "ProcessState.h"
#include "SnapshotRecovery.h"
#include "ChildDiagrams.h"
#include "DocumentWindow.h"
#include "Hierarchy.h"
#include "CommandLine.h"
#include "ProblemsDock.h"
#include "Version.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSet>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <cmath>
#include <utility>

namespace orvane {

namespace {

constexpr double kTwipsPerInch = 1440;
// A restored window is never smaller than this (pixels).
constexpr int kMinWidth = 200;
constexpr int kMinHeight = 150;
// The first document buttons: New and Open work without a document.
constexpr int kAlwaysEnabledButtons = 2;

const QString kGenerateToolTip = QStringLiteral("Generate C-Code");

QIcon buttonIcon(const QString& key)
{
    return QIcon(QStringLiteral(":/icons/") + key + QStringLiteral(".svg"));
}

}  // namespace

MainWindow::MainWindow(UserInterface* ui, CodeEditorOptions* options, ToolHooks hooks,
                       QWidget* parent)
    : QMainWindow(parent), m_options(options), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("MainWindow"));
    if (!ui) {
        m_ownUi = std::make_unique<GuiUserInterface>(this, &m_hooks);
        ui = m_ownUi.get();
    }
    m_ui = ui;
    m_docs = std::make_unique<DocumentRegistry>(*m_ui);
    const QString title = process().windowTitle;
    setWindowTitle(title.isEmpty() ? programTitle() : title);
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

    connect(m_docs.get(), &DocumentRegistry::documentAdded, this, &MainWindow::onDocumentAdded);
    connect(m_docs.get(), &DocumentRegistry::documentAboutToBeRemoved, this,
            &MainWindow::onDocumentAboutToBeRemoved);
    connect(m_docs.get(), &DocumentRegistry::documentRemoved, this, &MainWindow::onDocumentRemoved);
    connect(m_docs.get(), &DocumentRegistry::activeChanged, this, &MainWindow::onActiveChanged);
    connect(m_docs.get(), &DocumentRegistry::recentFilesChanged, this,
            &MainWindow::showRecentFiles);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::onSubWindowActivated);

    showMenusOf(nullptr);
    enableDocumentButtons(false);
    restorePlacement();
    m_findCaseSens = AppSettings::getFindCaseSens();
    DocumentCommands::getRecentFiles(*m_docs);
}

MainWindow::~MainWindow()
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
    delete m_previewPane;
}

void MainWindow::start()
{
    ProcessState& st = process();
    const QString pending = st.pendingCommandLine;
    st.pendingCommandLine.clear();
    if (!pending.isEmpty()) {
        const DocumentCommands::OpenResult r = openFile(pending);
        if (DocumentWindow* w = r.ok() ? docWindow(r.document) : nullptr)
            w->subWindow()->showMaximized();
    }
    // Never-saved diagrams of an editor that crashed are offered back.
    SnapshotRecovery::offerNewDiagrams(*m_docs);
    // A file that could not be opened leaves the user with a new diagram.
    if (m_docs->count() == 0)
        newDocument();
}

// ---------------------------------------------------------------- building

void MainWindow::buildMenus()
{
    using namespace WindowMenus;
    QMenu* file = addMenu(this, QStringLiteral("fileMenu"), QStringLiteral("&File"));
    m_newAction = addItem(
        file, QStringLiteral("newAction"), QStringLiteral("&New"), [this] { newDocument(); },
        QKeySequence::New);
    m_openAction = addItem(
        file, QStringLiteral("openAction"), QStringLiteral("&Open"),
        [this] { openFile(QString()); }, QKeySequence::Open);
    m_recent = addRecentItems(file, [this](int i) { openRecentFile(i); });
    file->addSeparator();
    m_exitAction = addItem(
        file, QStringLiteral("exitAction"), QStringLiteral("E&xit"), [this] { close(); },
        QKeySequence::Quit);

    QMenu* view = addMenu(this, QStringLiteral("viewMenu"), QStringLiteral("&View"));
    m_toolbarAction = addItem(
        view, QStringLiteral("toolbarAction"), QStringLiteral("&Toolbar"),
        [this] { setToolbarVisible(!toolbarVisible()); }, {}, true);
    m_statusBarAction = addItem(
        view, QStringLiteral("statusBarAction"), QStringLiteral("&Status Bar"),
        [this] { setStatusBarVisible(!statusBarVisible()); }, {}, true);
    m_toolbarAction->setChecked(true);
    m_statusBarAction->setChecked(true);

    QMenu* help = addMenu(this, QStringLiteral("helpMenu"), QStringLiteral("&Help"));
    m_aboutAction =
        addItem(help, QStringLiteral("aboutAction"), QStringLiteral("&About..."), [this] {
            if (m_hooks.about)
                m_hooks.about(this);
        });
    m_aboutAction->setEnabled(bool(m_hooks.about));
    m_menus = {file, view, help};
}

QAction* MainWindow::addButton(const QString& key, const QString& toolTip,
                               std::function<void()> run, bool checkable)
{
    QAction* a = m_toolBar->addAction(buttonIcon(key), toolTip);
    a->setObjectName(key);
    a->setToolTip(toolTip);
    a->setCheckable(checkable);
    if (run)
        connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    if (QWidget* w = m_toolBar->widgetForAction(a))
        w->setObjectName(key);
    m_buttons[key] = a;
    if (m_buttons.size() > size_t(kAlwaysEnabledButtons))
        m_documentButtons.append(a);
    return a;
}

std::function<void()> MainWindow::onActive(void (DocumentWindow::*command)())
{
    return [this, command] {
        if (DocumentWindow* d = activeDoc())
            (d->*command)();
    };
}

void MainWindow::buildToolbar()
{
    m_toolBar = addToolBar(QStringLiteral("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(20, 20));

    addButton(QStringLiteral("New"), QStringLiteral("New"), [this] { newDocument(); });
    addButton(QStringLiteral("Open"), QStringLiteral("Open"), [this] { openFile(QString()); });
    addButton(QStringLiteral("Save"), QStringLiteral("Save"), onActive(&DocumentWindow::save));
    addButton(QStringLiteral("GenerateCode"), kGenerateToolTip,
              onActive(&DocumentWindow::generateDefault));
    m_toolBar->addSeparator();
    addButton(QStringLiteral("Print"), QStringLiteral("Print"), [this] { printActive(); });
    QAction* preview =
        addButton(QStringLiteral("Preview"), QStringLiteral("Print Preview"), {}, true);
    connect(preview, &QAction::triggered, this, [this](bool on) { showPreview(on); });
    m_toolBar->addSeparator();
    addButton(QStringLiteral("Cut"), QStringLiteral("Cut"), onActive(&DocumentWindow::cut));
    addButton(QStringLiteral("Copy"), QStringLiteral("Copy"), onActive(&DocumentWindow::copy));
    addButton(QStringLiteral("Paste"), QStringLiteral("Paste"), onActive(&DocumentWindow::paste));
    addButton(QStringLiteral("Find"), QStringLiteral("Find Text"), onActive(&DocumentWindow::find));
    addButton(QStringLiteral("Undo"), QStringLiteral("Undo last action"),
              onActive(&DocumentWindow::undo));
    addButton(QStringLiteral("Redo"), QStringLiteral("Redo last undo"),
              onActive(&DocumentWindow::redo));
    m_toolBar->addSeparator();
    addButton(QStringLiteral("ReduceFont"), QStringLiteral("Reduce Font"),
              onActive(&DocumentWindow::reduceFont));
    addButton(QStringLiteral("AdjustFont"), QStringLiteral("Change Font"),
              onActive(&DocumentWindow::changeFont));
    addButton(QStringLiteral("EnlargeFont"), QStringLiteral("Enlarge Font"),
              onActive(&DocumentWindow::enlargeFont));
    m_toolBar->addSeparator();
    addButton(QStringLiteral("Lock"), QStringLiteral("Lock && Unlock the diagram"),
              onActive(&DocumentWindow::toggleLocked), true);
    addButton(QStringLiteral("InsertMode"), QStringLiteral("Insert mode <--> Select mode"),
              onActive(&DocumentWindow::toggleSelectMode), true);
    addButton(QStringLiteral("AutoSize"), QStringLiteral("Autosize Nodes"),
              onActive(&DocumentWindow::toggleAutosize), true);
    addButton(QStringLiteral("Properties"), QStringLiteral("FSM Properties"),
              onActive(&DocumentWindow::fsmProperties));
    addButton(QStringLiteral("Remark"), QStringLiteral("Insert Remark"),
              onActive(&DocumentWindow::insertRemark));
    addButton(QStringLiteral("Simulate"), QStringLiteral("Simulate the machine"),
              onActive(&DocumentWindow::toggleSimulate), true);
    m_toolBar->addSeparator();
    addButton(QStringLiteral("GoUp1Level"), QStringLiteral("Open Parent"),
              onActive(&DocumentWindow::openParent));
    QAction* down = addButton(QStringLiteral("GoDown1Level"), QStringLiteral("Open child"), {});
    m_goDownMenu = new QMenu(this);
    m_goDownMenu->setObjectName(QStringLiteral("goDownMenu"));
    down->setMenu(m_goDownMenu);
    if (auto* b = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(down)))
        b->setPopupMode(QToolButton::InstantPopup);
    connect(m_goDownMenu, &QMenu::aboutToShow, this, &MainWindow::fillGoDownMenu);
    m_toolBar->addSeparator();
    addButton(QStringLiteral("CheckDiagram"), QStringLiteral("Check Diagram"),
              [this] { checkActiveDiagram(); });
}

void MainWindow::checkActiveDiagram()
{
    DocumentWindow* w = activeDoc();
    if (!w)
        return;
    w->commitRemarkEditor();
    if (!m_problemsDock) {
        m_problemsDock = new ProblemsDock(this);
        addDockWidget(Qt::BottomDockWidgetArea, m_problemsDock);
    }
    m_problemsDock->check(w);
}

void MainWindow::buildStatusBar()
{
    m_statusBar = statusBar();
    m_statusBar->setObjectName(QStringLiteral("statusBar"));
    m_modeLabel = new QLabel(m_statusBar);
    m_zoomLabel = new QLabel(m_statusBar);
    m_statusBar->addPermanentWidget(m_modeLabel);
    m_statusBar->addPermanentWidget(m_zoomLabel);
}

void MainWindow::fillGoDownMenu()
{
    m_goDownMenu->clear();
    DocumentWindow* d = activeDoc();
    if (!d || !d->document())
        return;
    const FsmDocument& fsm = d->document()->fsm;
    ChildDiagrams references;
    references.reset(fsm.filePath);
    for (const QString& reference : Hierarchy::childReferences(fsm)) {
        const QString path = references.fullPath(reference);
        QAction* a = m_goDownMenu->addAction(WindowMenus::pathCaption(reference));
        connect(a, &QAction::triggered, this, [this, path] { openFile(path); });
    }
}

// ---------------------------------------------------------------- documents

DocumentWindow* MainWindow::activeDoc() const { return docWindow(m_docs->active()); }

DocumentWindow* MainWindow::docWindow(const Document* doc) const
{
    const auto it = m_windows.find(doc);
    return it == m_windows.end() ? nullptr : it->second;
}

QList<DocumentWindow*> MainWindow::docWindows() const
{
    QList<DocumentWindow*> list;
    for (Document* doc : m_docs->documents())
        if (DocumentWindow* w = docWindow(doc))
            list.append(w);
    return list;
}

void MainWindow::onDocumentAdded(Document* doc)
{
    // Before the window shows: its activation then sets the buttons' states.
    enableDocumentButtons(true);
    // A maximized document window makes the next one maximized too, so that
    // opening children (hierarchical generation) keeps the user's layout.
    const QMdiSubWindow* current = m_mdi->activeSubWindow();
    const bool maximized = current && current->isMaximized();
    auto* w = new DocumentWindow(*this, *doc);
    auto* sub = new QMdiSubWindow;
    sub->setWidget(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    m_mdi->addSubWindow(sub);
    w->setSubWindow(sub);
    // The frame's own menu closes with the platform's close keys, which
    // File > Close uses too; two actions on one key leave the key dead, so
    // the frame gives up those keys and any other the document's menus use.
    if (QMenu* frameMenu = sub->systemMenu()) {
        QSet<QKeySequence> taken;
        for (const QKeySequence& k : QKeySequence::keyBindings(QKeySequence::Close))
            taken.insert(k);
        for (QAction* a : w->findChildren<QAction*>())
            for (const QKeySequence& k : a->shortcuts())
                taken.insert(k);
        for (QAction* a : frameMenu->actions()) {
            QList<QKeySequence> keys = a->shortcuts();
            keys.removeIf([&taken](const QKeySequence& k) { return taken.contains(k); });
            if (keys.size() != a->shortcuts().size())
                a->setShortcuts(keys);
        }
    }
    m_windows[doc] = w;
    const QSize area = m_mdi->viewport()->size();
    sub->resize(std::max(area.width() * 3 / 4, 320), std::max(area.height() * 3 / 4, 240));
    if (maximized)
        sub->showMaximized();
    else
        sub->show();
    DocumentCommands::getRecentFiles(*m_docs);
}

void MainWindow::onDocumentAboutToBeRemoved(Document* doc)
{
    DocumentWindow* w = docWindow(doc);
    if (!w)
        return;
    m_windows.erase(doc);
    if (m_previewOf == doc)
        showPreview(false);
    if (menuBar()->actions().contains(w->menus().value(0)->menuAction()))
        showMenusOf(nullptr);
    // The area restores a maximized window when another one is maximized;
    // once a maximized window goes, the one that comes forward takes its
    // place maximized.
    m_maximizeNext = w->subWindow()->isMaximized();
    w->detach();
    // A window in its own close goes by itself; any other goes now.
    if (!w->isClosing()) {
        w->subWindow()->hide();
        w->subWindow()->deleteLater();
    }
}

void MainWindow::onDocumentRemoved(int remaining)
{
    if (remaining == 0) {
        enableDocumentButtons(false);
        showDocumentState(QString(), 0, false);
    }
}

void MainWindow::onActiveChanged(Document* doc)
{
    DocumentWindow* w = docWindow(doc);
    if (m_previewOf && m_previewOf != doc)
        showPreview(false);
    showMenusOf(w);
    if (!w) {
        setGenerateToolTip(QString());
        return;
    }
    if (m_mdi->activeSubWindow() != w->subWindow())
        m_mdi->setActiveSubWindow(w->subWindow());
    if (std::exchange(m_maximizeNext, false))
        w->subWindow()->showMaximized();
    w->activated();
}

void MainWindow::onSubWindowActivated(QMdiSubWindow* sub)
{
    // Null comes when the frame itself loses the focus: the active document
    // stays what it was.
    if (!sub)
        return;
    if (auto* w = qobject_cast<DocumentWindow*>(sub->widget()); w && w->document())
        m_docs->setActive(w->document());
}

void MainWindow::showMenusOf(DocumentWindow* doc)
{
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* m : doc ? doc->menus() : m_menus)
        bar->addMenu(m);
}

void MainWindow::showRecentFiles(const QStringList& paths)
{
    WindowMenus::showRecentFiles(m_recent, paths);
    for (DocumentWindow* w : docWindows())
        w->showRecentFiles(paths);
}

void MainWindow::enableDocumentButtons(bool on)
{
    for (QAction* a : m_documentButtons)
        a->setEnabled(on && hasTool(a->objectName()));
}

QAction* MainWindow::menuItem(const QString& name) const
{
    for (const QMenu* m : m_menus)
        if (auto* a = m->findChild<QAction*>(name))
            return a;
    return nullptr;
}

bool MainWindow::hasTool(const QString& key) const
{
    if (key == QLatin1String("Find"))
        return bool(m_hooks.find);
    if (key == QLatin1String("ReduceFont"))
        return bool(m_hooks.reduceFont);
    if (key == QLatin1String("EnlargeFont"))
        return bool(m_hooks.enlargeFont);
    if (key == QLatin1String("AdjustFont"))
        return bool(m_hooks.changeFont);
    return true;
}

QAction* MainWindow::button(const QString& key) const
{
    const auto it = m_buttons.find(key);
    return it == m_buttons.end() ? nullptr : it->second;
}

QWidget* MainWindow::widgetForButton(const QString& key) const
{
    QAction* a = button(key);
    return a ? m_toolBar->widgetForAction(a) : nullptr;
}

void MainWindow::setGenerateToolTip(const QString& caption)
{
    // A tooltip shows the menu caption without its accelerator marks ("&S"
    // is S, "&&" an ampersand).
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    button(QStringLiteral("GenerateCode"))
        ->setToolTip(plain.isEmpty() ? kGenerateToolTip
                                     : kGenerateToolTip + QStringLiteral(": ") + plain);
}

void MainWindow::showStatusMessage(const QString& text) { m_statusBar->showMessage(text); }

QString MainWindow::statusMessage() const { return m_statusBar->currentMessage(); }

void MainWindow::showDocumentState(const QString& mode, double zoom, bool locked)
{
    m_modeLabel->setText(locked && !mode.isEmpty() ? mode + QStringLiteral(", locked") : mode);
    m_zoomLabel->setText(zoom > 0 ? QString::number(std::lround(zoom)) + QLatin1Char('%')
                                  : QString());
}

// ---------------------------------------------------------------- commands

void MainWindow::newDocument() { DocumentCommands::fileNew(*m_docs, true); }

DocumentCommands::OpenResult MainWindow::openFile(const QString& path)
{
    const DocumentCommands::OpenResult r = DocumentCommands::fileOpen(*m_docs, path);
    if (r.status == DocumentCommands::OpenStatus::LoadFailed) {
        // The window would show nothing of the file: the user is told why,
        // and the empty window goes.
        m_ui->message(QStringLiteral("The file can't be opened:") + QStringLiteral("\r\n")
                          + r.error,
                      MessageIcon::Exclamation, QStringLiteral("Attention!"));
        if (r.document && m_docs->contains(r.document))
            m_docs->remove(r.document);
    } else if (r.status == DocumentCommands::OpenStatus::Opened) {
        if (DocumentWindow* w = docWindow(r.document))
            w->configurationLoaded();
    }
    return r;
}

void MainWindow::openRecentFile(int index)
{
    const QStringList paths = DocumentCommands::getRecentFiles(*m_docs);
    if (index >= 0 && index < paths.size())
        openFile(paths.at(index));
}

void MainWindow::openDroppedFile(const QString& path)
{
    if (!CommandLine::isFsmFile(path))
        return;
    if (m_hooks.queueFile)
        m_hooks.queueFile(path);
    else
        openFile(path);
}

// ---------------------------------------------------------------- view

bool MainWindow::toolbarVisible() const { return !m_toolBar->isHidden(); }
bool MainWindow::statusBarVisible() const { return !m_statusBar->isHidden(); }

void MainWindow::setToolbarVisible(bool on)
{
    m_toolBar->setVisible(on);
    m_toolbarAction->setChecked(on);
    for (DocumentWindow* w : docWindows())
        w->setViewChecks(on, statusBarVisible());
}

void MainWindow::setStatusBarVisible(bool on)
{
    m_statusBar->setVisible(on);
    m_statusBarAction->setChecked(on);
    for (DocumentWindow* w : docWindows())
        w->setViewChecks(toolbarVisible(), on);
}

// ---------------------------------------------------------------- window

void MainWindow::closeEvent(QCloseEvent* e)
{
    // Every document asks about its changes, the last opened first.
    const QList<DocumentWindow*> windows = docWindows();
    for (qsizetype i = windows.size() - 1; i >= 0; --i) {
        if (!windows.at(i)->subWindow()->close()) {
            e->ignore();
            return;
        }
    }
    if (!isMinimized()) {
        savePlacement();
        AppSettings::saveMainMaximized(isMaximized());
    }
    AppSettings::saveFindCaseSens(m_findCaseSens);
    e->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* e)
{
    if (!e->mimeData()->hasUrls())
        return;
    e->acceptProposedAction();
    openDroppedUrls(e->mimeData()->urls());
}

void MainWindow::openDroppedUrls(const QList<QUrl>& urls)
{
    // Only the first of several files counts.
    if (!urls.isEmpty())
        openDroppedFile(urls.constFirst().toLocalFile());
}

double MainWindow::twipsPerPixelX() const { return kTwipsPerInch / logicalDpiX(); }
double MainWindow::twipsPerPixelY() const { return kTwipsPerInch / logicalDpiY(); }

void MainWindow::restorePlacement()
{
    const AppSettings::MainPlacement p = AppSettings::getMainPlacement();
    const double tx = twipsPerPixelX(), ty = twipsPerPixelY();
    QRect r(int(std::lround(p.left / tx)), int(std::lround(p.top / ty)),
            std::max(kMinWidth, int(std::lround(p.width / tx))),
            std::max(kMinHeight, int(std::lround(p.height / ty))));
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!AppSettings::hasMainPlacement() && primary) {
        // A first start: three quarters of the screen, in its middle, so that
        // the toolbar and a document fit.
        const QRect screen = primary->availableGeometry();
        r.setSize(QSize(std::max(r.width(), screen.width() * 3 / 4),
                        std::max(r.height(), screen.height() * 3 / 4))
                      .boundedTo(screen.size()));
        r.moveCenter(screen.center());
    } else if (!QGuiApplication::screenAt(r.topLeft()) && primary) {
        // A place on a screen that is no longer there would hide the window.
        r.moveTopLeft(primary->availableGeometry().topLeft());
    }
    resize(r.size());
    move(r.topLeft());
    if (AppSettings::getMainMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::savePlacement()
{
    const QRect r = isMaximized() || isFullScreen() ? normalGeometry() : QRect(pos(), size());
    const double tx = twipsPerPixelX(), ty = twipsPerPixelY();
    AppSettings::saveMainPlacement({int(std::lround(r.x() * tx)), int(std::lround(r.y() * ty)),
                                    int(std::lround(r.width() * tx)),
                                    int(std::lround(r.height() * ty))});
}

}  // namespace orvane
