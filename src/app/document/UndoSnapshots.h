#pragma once
// The undo store of one document: whole-diagram snapshot files in a private
// per-user folder, and whether the document differs from its file. What must
// happen around a snapshot (the configuration record put into the diagram and
// taken out again, buttons refreshed) is asked of the document through
// UndoRedoEvents.
//
// Every history is one set of files in the folder: its snapshots, a lock
// holding the editor's process id, and a small description (the document's
// path, whether it was ever saved, which snapshot is current). The set's name
// is the document's file name, a hash of its canonical path and the editor's
// session, so that two paths, or two editors, never share a set. A set whose
// editor no longer runs was left by a crash: it can be taken over and its
// last state recovered.

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QLockFile;
class QThreadPool;

namespace orvane {

class Diagram;
class FsmDocument;

// Turns the diagram's redraw off for as long as it lives and back to what
// it was after: the views then follow many changes (every text cleared and
// rebuilt around a save, the record node of a snapshot) in one pass
// instead of one change at a time.
class RedrawPause {
public:
    explicit RedrawPause(Diagram& diagram);
    ~RedrawPause();
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    Diagram& m_diagram;
    bool m_was;
};

class UndoRedoEvents {
public:
    virtual ~UndoRedoEvents() = default;
    // Refresh the toolbar buttons and menus (undo/redo availability changed).
    virtual void refreshButtons() = 0;
    // Take the record out of a loaded snapshot and re-apply the options.
    virtual void readGraphConfig() = 0;
    // A copy of the diagram as a snapshot holds it: with the record in an
    // info node, item texts kept. The diagram itself is not touched.
    virtual std::unique_ptr<Diagram> fileCopyWithRecord() = 0;
    // True in batch mode: the store then does nothing at all.
    virtual bool modeCommand() = 0;
};

// A history left behind by an editor that did not end cleanly, taken over by
// this process (its lock now holds this process's id). Destroying it
// releases the lock and keeps the files, to be offered again later;
// discard() deletes them.
struct LeftHistory {
    LeftHistory();
    ~LeftHistory();
    LeftHistory(LeftHistory&&) noexcept;
    LeftHistory& operator=(LeftHistory&&) noexcept;

    QString documentPath;  // the document's file (for a new one, where it was named)
    QString caption;       // the document's title in the editor
    bool isNew = false;    // never saved
    bool changed = false;  // the last state differs from the document's file
    QDateTime time;        // when the last state was written
    QString snapshot;      // the snapshot file of the last state; empty when none is left

    // Deletes the snapshots, the description and the lock.
    void discard();

    QString base;  // the folder plus the set name
    std::unique_ptr<QLockFile> lock;
};

class UndoSnapshots {
public:
    UndoSnapshots(FsmDocument& document, UndoRedoEvents& events);
    // A document that goes away ends its history: the set is deleted.
    ~UndoSnapshots();
    UndoSnapshots(const UndoSnapshots&) = delete;
    UndoSnapshots& operator=(const UndoSnapshots&) = delete;

    // Starts a new history: drops the set of the previous history (the
    // previous name after Save As), then writes snapshot 0.
    void init();
    // The document differs from its file.
    bool graphHasChanged() const;
    // Records an edit: when the diagram reports a change, writes a snapshot.
    void storeGraphChanges();
    // The document now equals its file.
    void clearGraphChanges();
    // The document differs from its file again (it was edited while its
    // save ran).
    void markGraphChanged();
    // Counts the states the diagram took through the store: every snapshot,
    // undo, redo and recovery. A save compares it with the count when the
    // diagram was copied to know whether the document was edited meanwhile.
    quint64 stateCount() const { return m_stateCount; }
    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();
    // Takes the next snapshot (unless locked or disabled and not forced).
    // The diagram is copied here; the copy is written to its file by a
    // thread of the store, in order, while the editor goes on. Every call
    // that reads or deletes snapshot files waits for those writes first.
    void save(bool forced);
    // Waits until every snapshot taken so far is in its file.
    void waitForWrites();
    // Deletes every file of the current history and releases its lock.
    void cleanUndoFiles();
    // Loads a recovered snapshot as an edit of the document: the diagram
    // shows it, is changed, and undo returns to the state before. False
    // (logged, diagram untouched) when the file cannot be loaded.
    bool recover(const QString& snapshotFile);

    // The private per-user snapshot folder, ending with "/"; created with
    // mode 0700 on first use. The first usable of $TMPDIR/$fsm-<uid>,
    // $XDG_RUNTIME_DIR/orvane-snapshots and the user's cache folder's
    // orvane/snapshots; empty when none is (folderProblem() says why).
    static QString snapshotFolder();
    // Why no snapshot folder can be used, one line per folder tried; empty
    // when the last snapshotFolder() found one.
    static QString folderProblem();
    // The part of a set's name that belongs to the document path: its file
    // name and a hash of its canonical path.
    static QString historyKey(const QString& documentPath);
    // The file of snapshot n of the current history; empty without one.
    QString snapshotName(int n) const;
    int snapshotCount() const { return m_snapshotCount; }

    // Takes over every history in the snapshot folder whose editor no longer
    // runs and that `wanted` picks (called with the document path and
    // whether the document was never saved), newest first. Histories without
    // a change against the file, or without a description or a snapshot, are
    // deleted here: they hold nothing to recover. `keyFilter` limits the look
    // to the sets of one historyKey.
    static std::vector<LeftHistory>
    takeLeftHistories(const std::function<bool(const QString& documentPath, bool isNew)>& wanted,
                      const QString& keyFilter = QString());

private:
    bool load(int n);
    bool startHistory();
    void writeDescription();

    FsmDocument& m_doc;
    UndoRedoEvents& m_events;
    QString m_base;  // the folder plus the set name of the current history
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QThreadPool> m_writer;  // one thread: snapshots land in order
    int m_snapshotCount = 0;
    int m_redoCount = 0;
    quint64 m_stateCount = 0;
    bool m_enabled = false;
    bool m_modified = false;
};

}  // namespace orvane
