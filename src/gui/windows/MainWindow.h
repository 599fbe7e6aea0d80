#pragma once
// The main window: the multiple-document frame that holds one document
// window per open diagram, the toolbar whose buttons act on the active
// document, the status bar, the menus shown while no document is open, the
// window placement kept in the settings, the drop target for diagram files,
// and printing with its preview area.

#include "ToolHooks.h"
#include "WindowMenus.h"
#include "modMain_Files.h"

#include <QMainWindow>
#include <QPrinter>
#include <QUrl>

#include <map>
#include <memory>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrintPreviewWidget;
class QSplitter;
class QToolButton;

namespace orvane {

class Document;
class DocumentRegistry;
class GuiUserInterface;
class UserInterface;
class clsLib_OptCMax;
class frmDoc;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // `ui` null: the real dialogs over this window. `options` (may be null)
    // are the code editors' shared options for the property dialogs.
    frmMain(UserInterface* ui, clsLib_OptCMax* options, ToolHooks hooks = {},
            QWidget* parent = nullptr);
    ~frmMain() override;

    // Opens the pending command-line file (maximised) and empties it, or
    // starts a new diagram.
    void Start();

    DocumentRegistry& documents() { return *m_docs; }
    UserInterface& ui() { return *m_ui; }
    clsLib_OptCMax* options() const { return m_options; }
    const ToolHooks& hooks() const { return m_hooks; }
    QMdiArea* mdiArea() const { return m_mdi; }

    frmDoc* activeDoc() const;
    frmDoc* docWindow(const Document* doc) const;
    QList<frmDoc*> docWindows() const;

    // A toolbar button's action by its key ("Undo"), null when unknown.
    QAction* button(const QString& key) const;
    // An item of the window's own menus by its control name ("mnuFileNew").
    QAction* menuItem(const QString& name) const;
    // Find and the font buttons work only when their tool is installed.
    bool hasTool(const QString& key) const;
    // The "GeneraCode" tooltip: "Generate C-Code: " + caption, or the plain
    // tooltip when the caption is empty.
    void setGenerateToolTip(const QString& caption);
    // The mouse mode and zoom shown in the status bar.
    void showDocumentState(const QString& mode, double zoom, bool locked);

    // Commands shared by the toolbar and the menus of every window.
    void newDocument();
    // FileOpen (empty path: the open dialog); a file that cannot be loaded
    // is reported and its empty window closed.
    modMain::OpenResult openFile(const QString& path);
    void openRecentFile(int index);
    // The file dropped on the window or handed over: queued at the instance
    // link when there is one, else opened.
    void openDroppedFile(const QString& path);
    // A drop of files: the first one only, when it is a diagram file.
    void openDroppedUrls(const QList<QUrl>& urls);

    void printActive();
    void printerSetup();
    bool previewShown() const;
    void showPreview(bool on);
    // Redraws the preview after the active diagram changed.
    void refreshPreview();

    bool toolbarVisible() const;
    bool statusBarVisible() const;
    void setToolbarVisible(bool on);
    void setStatusBarVisible(bool on);

    // The case choice of find and replace, kept in the settings.
    bool findCaseSensitive() const { return m_findCaseSens; }
    void setFindCaseSensitive(bool on) { m_findCaseSens = on; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void buildPreview();
    QAction* addButton(const QString& key, const QString& toolTip, std::function<void()> run,
                       bool checkable = false);
    // Runs a command on the active document window, if any.
    std::function<void()> onActive(void (frmDoc::*command)());
    void fillGoDownMenu();

    void onDocumentAdded(Document* doc);
    void onDocumentAboutToBeRemoved(Document* doc);
    void onDocumentRemoved(int remaining);
    void onActiveChanged(Document* doc);
    void onSubWindowActivated(QMdiSubWindow* w);
    void showMenusOf(frmDoc* doc);
    void showRecentFiles(const QStringList& paths);
    // Buttons from the third on follow whether any document is open.
    void enableDocumentButtons(bool on);

    void restorePlacement();
    void savePlacement();
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;

    std::unique_ptr<GuiUserInterface> m_ownUi;
    UserInterface* m_ui;
    clsLib_OptCMax* m_options;
    ToolHooks m_hooks;
    std::unique_ptr<DocumentRegistry> m_docs;
    std::map<const Document*, frmDoc*> m_windows;
    Document* m_previewOf = nullptr;
    bool m_findCaseSens = false;

    QSplitter* m_split = nullptr;
    QMdiArea* m_mdi = nullptr;
    QWidget* picPrint = nullptr;
    QPrintPreviewWidget* PrnFlow1 = nullptr;
    QPrinter m_printer{QPrinter::HighResolution};

    QToolBar* tbToolBar = nullptr;
    QStatusBar* sbStatusBar = nullptr;
    QLabel* m_modeLabel = nullptr;
    QLabel* m_zoomLabel = nullptr;
    std::map<QString, QAction*> m_buttons;
    QList<QAction*> m_documentButtons;
    QMenu* m_goDownMenu = nullptr;

    QList<QMenu*> m_menus;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuViewToolbar = nullptr;
    QAction* mnuViewStatusBar = nullptr;
    QAction* mnuHelpAbout = nullptr;
    WindowMenus::RecentItems m_recent;
};

}  // namespace orvane
