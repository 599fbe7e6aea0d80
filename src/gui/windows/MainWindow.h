#pragma once
// The main window: the multiple-document frame that holds one document
// window per open diagram, the toolbar whose buttons act on the active
// document, the status bar, the menus shown while no document is open, the
// window placement kept in the settings, the drop target for diagram files,
// and printing with its preview area.

#include "ToolHooks.h"
#include "WindowMenus.h"
#include "DocumentCommands.h"

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
class CodeEditorOptions;
class DocumentWindow;
class ProblemsDock;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `ui` null: the real dialogs over this window. `options` (may be null)
    // are the code editors' shared options for the property dialogs.
    MainWindow(UserInterface* ui, CodeEditorOptions* options, ToolHooks hooks = {},
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opens the pending command-line file (maximised) and empties it, or
    // starts a new diagram.
    void start();

    DocumentRegistry& documents() { return *m_docs; }
    UserInterface& ui() { return *m_ui; }
    CodeEditorOptions* options() const { return m_options; }
    const ToolHooks& hooks() const { return m_hooks; }
    QMdiArea* mdiArea() const { return m_mdi; }

    DocumentWindow* activeDoc() const;
    DocumentWindow* docWindow(const Document* doc) const;
    QList<DocumentWindow*> docWindows() const;

    // A toolbar button's action by its key ("Undo"), null when unknown.
    QAction* button(const QString& key) const;
    // The toolbar's widget of a button (null when the key is unknown).
    QWidget* widgetForButton(const QString& key) const;
    // An item of the window's own menus by its control name ("newAction").
    QAction* menuItem(const QString& name) const;
    // Find and the font buttons work only when their tool is installed.
    bool hasTool(const QString& key) const;
    // The "GenerateCode" tooltip: "Generate C-Code: " + caption, or the plain
    // tooltip when the caption is empty.
    void setGenerateToolTip(const QString& caption);
    // A passing message in the status bar (what was written, what was not
    // found), until the next one.
    void showStatusMessage(const QString& text);
    QString statusMessage() const;
    // The mouse mode and zoom shown in the status bar.
    void showDocumentState(const QString& mode, double zoom, bool locked);

    // Commands shared by the toolbar and the menus of every window.
    void newDocument();
    // fileOpen (empty path: the open dialog); a file that cannot be loaded
    // is reported and its empty window closed.
    DocumentCommands::OpenResult openFile(const QString& path);
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
    // The pages the preview shows.
    int previewPageCount() const;

    // "Check Diagram": the active diagram's problems in the problems dock.
    void checkActiveDiagram();
    ProblemsDock* problemsDock() const { return m_problemsDock; }

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
    std::function<void()> onActive(void (DocumentWindow::*command)());
    void fillGoDownMenu();

    void onDocumentAdded(Document* doc);
    void onDocumentAboutToBeRemoved(Document* doc);
    void onDocumentRemoved(int remaining);
    void onActiveChanged(Document* doc);
    void onSubWindowActivated(QMdiSubWindow* w);
    void showMenusOf(DocumentWindow* doc);
    void showRecentFiles(const QStringList& paths);
    // Buttons from the third on follow whether any document is open.
    void enableDocumentButtons(bool on);

    void restorePlacement();
    void savePlacement();
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;

    std::unique_ptr<GuiUserInterface> m_ownUi;
    UserInterface* m_ui;
    CodeEditorOptions* m_options;
    ToolHooks m_hooks;
    std::unique_ptr<DocumentRegistry> m_docs;
    std::map<const Document*, DocumentWindow*> m_windows;
    Document* m_previewOf = nullptr;
    bool m_findCaseSens = false;

    QSplitter* m_split = nullptr;
    QMdiArea* m_mdi = nullptr;
    QWidget* m_previewPane = nullptr;
    QPrintPreviewWidget* m_preview = nullptr;
    QPrinter m_printer{QPrinter::HighResolution};
    bool m_fitToPage = false;
    ProblemsDock* m_problemsDock = nullptr;
    bool m_maximizeNext = false;

    QToolBar* m_toolBar = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_modeLabel = nullptr;
    QLabel* m_zoomLabel = nullptr;
    std::map<QString, QAction*> m_buttons;
    QList<QAction*> m_documentButtons;
    QMenu* m_goDownMenu = nullptr;

    QList<QMenu*> m_menus;
    QAction* m_newAction = nullptr;
    QAction* m_openAction = nullptr;
    QAction* m_exitAction = nullptr;
    QAction* m_toolbarAction = nullptr;
    QAction* m_statusBarAction = nullptr;
    QAction* m_aboutAction = nullptr;
    WindowMenus::RecentItems m_recent;
};

}  // namespace orvane
