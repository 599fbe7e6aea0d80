#pragma once
// Where the editor's tools plug into the windows: find and replace, the font
// commands, the about box and the single-instance link. A command whose hook
// is not set stays disabled; a missing instance link means every start opens
// its own windows and a dropped file opens at once.

#include <QString>

#include <functional>

class QWidget;

namespace orvane {

class DocumentWindow;
class MainWindow;

struct ToolHooks {
    // The document window's Find command.
    std::function<void(DocumentWindow&)> find;
    // The font commands; each acts on the document's diagram or its current
    // remark, and the window records the undo step afterwards.
    std::function<void(DocumentWindow&)> enlargeFont;
    std::function<void(DocumentWindow&)> reduceFont;
    std::function<void(DocumentWindow&, bool fixedPitchOnly)> changeFont;
    // Help, About.
    std::function<void(QWidget* parent)> about;

    // Single instance. handOver: when another instance runs, gives it the
    // path (may be empty) and returns true; this process then ends.
    std::function<bool(const QString& path)> handOver;
    // Called once the main window exists, so that the link can open the
    // files it receives through it.
    std::function<void(MainWindow&)> mainWindowReady;
    // A diagram file dropped on the main window joins the link's queue.
    std::function<void(const QString& path)> queueFile;
    // Around every modal dialog of a document: no queued file is opened
    // while one is shown.
    std::function<void()> stopped;
    std::function<void()> running;
};

// Calls the hooks' stopped on creation and running on destruction.
class ModalScope {
public:
    explicit ModalScope(const ToolHooks& hooks) : m_hooks(hooks)
    {
        if (m_hooks.stopped)
            m_hooks.stopped();
    }
    ~ModalScope()
    {
        if (m_hooks.running)
            m_hooks.running();
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    const ToolHooks& m_hooks;
};

}  // namespace orvane
