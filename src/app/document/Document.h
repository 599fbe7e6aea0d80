#pragma once
// One open document of the application: the windowless FSM document, its
// undo store, and the answers to the store's events. A document window wraps
// one of these and listens to its signals.

#include "FsmDocument.h"
#include "UndoSnapshots.h"

#include <QObject>

#include <functional>
#include <memory>

class QThreadPool;

namespace orvane {

class Document : public QObject, public UndoRedoEvents {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    FsmDocument fsm;
    UndoSnapshots undo{fsm, *this};

    const QString& caption() const { return fsm.caption; }
    void setCaption(const QString& caption);

    // A save from the editor writes the file on the document's save thread
    // while the windows go on. `write` runs there and hands back what is to
    // follow on this document's thread (the document counts as saved, or
    // the failure is told); that runs from the event loop, unless the
    // document went away meanwhile. One save runs at a time: callers wait
    // for the running one first (waitForSave).
    void startSave(std::function<std::function<void()>()> write);
    // A save was started and what follows it has not run yet.
    bool saving() const { return m_saving; }
    // Returns once no save runs and the last one's result was applied. The
    // windows keep painting meanwhile; mouse and keys wait until it ends.
    void waitForSave();

    // UndoRedoEvents.
    void refreshButtons() override;
    void readGraphConfig() override;
    std::unique_ptr<Diagram> fileCopyWithRecord() override;
    bool modeCommand() override;

signals:
    // The undo/redo availability or the locked state may have changed.
    void buttonsRefreshRequested();
    // The options and the default methodology were read again (after undo or
    // redo): the menus' check marks follow them.
    void graphConfigApplied();
    void captionChanged(const QString& caption);
    // A save has ended and its result was applied (see startSave).
    void saveEnded();

private:
    std::unique_ptr<QThreadPool> m_saver;
    bool m_saving = false;
};

}  // namespace orvane
