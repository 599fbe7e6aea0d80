#pragma once
// A document window: one diagram in a diagram view inside the main window's
// multiple-document area. It turns the user's drawing into states and
// transitions, opens the property dialogs on double clicks, edits remarks in
// place, and offers the document's menus (shown in the main window's menu
// bar while the window is active). Every command that can change the
// diagram ends by recording the undo step.

#include "DiagramView.h"
#include "GenerationCommands.h"
#include "Simulator.h"
#include "WindowMenus.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <vector>
#include <optional>

class QMdiSubWindow;
class QMenu;
class QPlainTextEdit;

namespace orvane {

class Document;
class DocumentRegistry;
class FsmDocument;
class UserInterface;
class MainWindow;
class SimulationDock;
class ReplayDock;
class SimulationOverlay;

class DocumentWindow : public QWidget {
    Q_OBJECT
public:
    DocumentWindow(MainWindow& main, Document& doc);
    ~DocumentWindow() override;

    MainWindow& mainWindow() const { return m_main; }
    // Null once the document has left the registry.
    Document* document() const { return m_doc; }
    DiagramView* view() const { return m_view; }
    QMdiSubWindow* subWindow() const { return m_subWindow; }
    void setSubWindow(QMdiSubWindow* w) { m_subWindow = w; }

    // The window's menus in menu-bar order.
    const QList<QMenu*>& menus() const { return m_menus; }
    // A menu item by its control name ("undoAction"), null when unknown.
    QAction* action(const QString& name) const;

    // The document leaves the registry: the view over its diagram goes at
    // once and the window forgets the document.
    void detach();
    // True while the window runs its own close prompt.
    bool isClosing() const { return m_closing; }

    // The window became the active one: buttons, methodology tooltip, status.
    void activated();
    // A file was loaded: the check marks follow its configuration, and a
    // simulation in another window that calls this machine marks it.
    void configurationLoaded();
    // Toolbar buttons and menu items that follow the document's state; only
    // what changed since the last call is touched unless `force`.
    void refreshButtons(bool force = false);
    // Makes a methodology the default (check mark and the "GenerateCode"
    // tooltip); the diagram is marked changed when the default changes.
    void setDefaultMethodology(Methodology methodology);

    void showRecentFiles(const QStringList& paths);
    void setViewChecks(bool toolbar, bool statusBar);
    void setPreviewChecked(bool on);

    // ---- commands of the menus and the main window's toolbar
    void newChild();
    void closeWindow();
    void save();
    void saveAs();
    void saveAll();
    void saveAsEMF();
    void saveAsHTML();
    // File > Save as Picture: SVG, PNG or WMF, chosen by the file name's
    // extension (SVG when it names none of them).
    void saveAsPicture();
    // File > Export: SCXML, Mermaid or PlantUML text, chosen by the file
    // name's extension (SCXML when it names none of them).
    void exportText();
    // File > Import SCXML: writes diagram files beside the chosen document
    // (never over existing ones) and opens the top one.
    void importScxml();
    void exportEMF();
    void generateList();
    // The toolbar's Generate button: the default methodology, or the
    // methodology menu to choose one when the diagram has none.
    void generateDefault();
    // The generation commands; true when the code files were written.
    bool generateCode(Methodology m);
    bool generateSwitchCase() { return generateCode(Methodology::SwitchCase); }
    bool generatePointers() { return generateCode(Methodology::DirectPointers); }
    bool generatePointerArray() { return generateCode(Methodology::PointerArray); }
    bool generateHierarchical() { return generateCode(Methodology::Hierarchical); }
    // The command of the checked methodology; false when none is checked.
    bool generateInDefaultStyle();

    void fsmProperties();
    void insertRemark();
    void find();
    void changeFont();
    void enlargeFont();
    void reduceFont();
    void toggleFixedPitch();
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void deleteSelected();
    void selectAll();
    void toggleSelectMode();
    void toggleAutosize();
    void toggleLocked();
    // Simulate mode: the diagram locked, the simulation panel beside it and
    // the current state marked; leaving restores the diagram as it was.
    void toggleSimulate();
    bool simulating() const { return m_simulation != nullptr; }
    SimulationDock* simulationDock() const { return m_simulation; }
    // File > Replay Trace...: a trace file stepped through over the diagram
    // and its children, coloured by coverage; the diagram locked as above.
    void replayTrace();
    // Replays the trace bytes (the command without its file dialog).
    void startReplay(const QByteArray& trace, const QString& traceName);
    ReplayDock* replayDock() const { return m_replay; }
    // Leaves Simulate mode or the replay.
    void leaveSimulation();
    // Marks `stateName` as the current state of this window's machine while
    // `caller`, a window simulating or replaying a machine that calls it,
    // runs; an empty name takes the caller's mark off. Only the view's
    // marks change, never the diagram. A window in its own simulation keeps
    // its own marks.
    void showCalledState(const DocumentWindow* caller, const QString& stateName);
    // Shows the current state of every child machine of the simulation or
    // replay in the child's window, when open.
    void markChildWindows();
    void toggleHideComments();
    void toggleShowGrid();
    void toggleSnapToGrid();
    void setGridSize(int twips);
    // One of the six zoom items: 150, 100, 75, 50, 25 percent, fit in window.
    void setZoomItem(int index);
    void zoomWindow();
    // A step closer or further (Ctrl++ and Ctrl+-).
    void zoomIn();
    void zoomOut();
    void openParent();

    // The Find command's last search and replacement texts in this window.
    QString findWhat;
    QString replaceWith;

    // The in-place editor of remarks.
    QPlainTextEdit* remarkEditor() const { return m_remarkEditor; }
    Node* editedRemark() const { return m_editedNode; }
    void startRemarkEditor(Node* node);
    // Stores the editor's text into its remark and closes it; the font
    // commands call this before they change a remark.
    void commitRemarkEditor();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    FsmDocument& fsm() const;
    DocumentRegistry& docs() const;
    UserInterface& ui() const;

    void buildMenus();
    void buildFileMenu();
    void buildEditMenu();
    void buildViewMenu();
    void buildWindowMenu();
    void connectDocument();
    QAction* item(QMenu* menu, const QString& name, const QString& caption,
                  void (DocumentWindow::*command)(), const QKeySequence& shortcut = {},
                  bool checkable = false);
    void fillWindowList();

    // The end of every command that may change the diagram.
    void afterCommand();
    // Check marks that follow the document's options and the view.
    void syncChecks();
    void syncMethodologyChecks();
    void syncModeChecks();
    void showStatus();
    // A property dialog between the link's stopped and running; a child
    // diagram chosen in it is opened afterwards.
    void runDialog(const std::function<int(QString& pending)>& open);
    QString askExportName(const QString& title, const QString& extension, const QString& filter);

    // Diagram events.
    void onDoubleClicked(Node* node, Link* link);
    void onMouseDown();
    void onMouseUp(const DiagramEdit& edit);
    void onViewError(int number, const QString& description);
    void cancelRemarkEditor();
    void growToText(Node* node, const QString& text);

    MainWindow& m_main;
    Document* m_doc;
    QPointer<DiagramView> m_view;
    QPlainTextEdit* m_remarkEditor = nullptr;
    QMdiSubWindow* m_subWindow = nullptr;
    bool m_closing = false;
    bool m_changedAtPress = false;
    Node* m_editedNode = nullptr;
    QString m_editedText;
    int m_zoomItem = 1;
    bool m_zoomBySelf = false;

    QList<QMenu*> m_menus;
    QMenu* m_windowMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    std::map<QString, QAction*> m_actions;
    QList<QAction*> m_zoomItems;
    QList<QAction*> m_gridItems;
    WindowMenus::RecentItems m_recent;

    // The last button states (refreshButtons touches only what changed).
    struct ButtonStates {
        std::optional<bool> locked, selectMode, autosize, parent, child, undo, redo;
    } m_cache;
    // Whether each child diagram file named by a state's actions exists, as
    // last looked up: an edit then costs no file-system lookups. Emptied
    // when every button is refreshed (the window activated).
    QHash<QString, bool> m_diagramFiles;

    // Simulate mode and trace replay.
    std::vector<Simulation::Machine> lockForSimulation();
    SimulationDock* m_simulation = nullptr;
    ReplayDock* m_replay = nullptr;
    QPointer<SimulationOverlay> m_overlay;
    std::vector<std::unique_ptr<FsmDocument>> m_simulationChildren;
    bool m_readOnlyBeforeSimulation = false;
    bool m_changedBeforeSimulation = false;
    // The file of every machine of the simulation, cleaned; the first is
    // this window's.
    std::vector<QString> m_simulationPaths;
    // Takes this window's marks off the children's windows.
    void unmarkChildWindows();
    void clearCalledState();
    // The mark of a caller's simulation over this window's diagram.
    QPointer<SimulationOverlay> m_calledOverlay;
    const DocumentWindow* m_caller = nullptr;
};

}  // namespace orvane
