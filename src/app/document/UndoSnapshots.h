#pragma once
// The undo store of one document: whole-diagram snapshot files in a private
// folder below the temporary folder, and whether the document differs from
// its file. What must happen around a snapshot (the configuration record put
// into the diagram and taken out again, buttons refreshed) is asked of the
// document through UndoRedoEvents.

#include <QString>

namespace orvane {

class FsmDocument;

class UndoRedoEvents {
public:
    virtual ~UndoRedoEvents() = default;
    // Refresh the toolbar buttons and menus (undo/redo availability changed).
    virtual void refreshButtons() = 0;
    // Remove the info node again after a snapshot was written.
    virtual void cleanTagNode() = 0;
    // Take the record out of a loaded snapshot and re-apply the options.
    virtual void readGraphConfig() = 0;
    // Store the record into an info node (item texts kept) before a snapshot.
    virtual void saveGraphInfo() = 0;
    // True in batch mode: the store then does nothing at all.
    virtual bool modeCommand() = 0;
};

class UndoSnapshots {
public:
    UndoSnapshots(FsmDocument& document, UndoRedoEvents& events);

    // Starts a new history: drops the snapshots of the previous name (left by
    // Save As) and of the current name, then writes snapshot 0.
    void init();
    // The document differs from its file.
    bool graphHasChanged() const;
    // Records an edit: when the diagram reports a change, writes a snapshot.
    void storeGraphChanges();
    // The document now equals its file.
    void clearGraphChanges();
    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();
    // Writes the next snapshot (unless locked or disabled and not forced).
    void save(bool forced);
    // Deletes every snapshot file of the document's current name.
    void cleanUndoFiles();

    // The private per-user snapshot folder, ending with "/"; created with
    // mode 0700 on first use. Empty when it is not safe to use.
    static QString snapshotFolder();
    // The mirror base of a document path inside the snapshot folder; empty
    // when the path without extension is shorter than 4 characters.
    static QString mirrorBase(const QString& documentPath);
    // The file of snapshot n of the current name.
    QString snapshotName(int n) const;
    int snapshotCount() const { return m_snapshotCount; }

private:
    bool load(int n);
    static void cleanFiles(const QString& mirrorBase);

    FsmDocument& m_doc;
    UndoRedoEvents& m_events;
    int m_snapshotCount = 0;
    int m_redoCount = 0;
    bool m_enabled = false;
    bool m_modified = false;
};

}  // namespace orvane
