#pragma once
// Document files: new, open, save (with a backup), save as, close prompt,
// the recent-files list, and the writers of generated code and list files.
// The windows, the instance link and batch mode call these.

#include "Generation.h"

#include <QString>

#include <optional>
#include <QStringList>

namespace orvane {
class Document;
class DocumentRegistry;
class FsmDocument;
class UserInterface;
}  // namespace orvane

namespace orvane::DocumentCommands {

// ------------------------------------------------------------ documents

// A new document, active. With isNew it is named FSM_nnnn in the current
// folder and its undo history starts; without, it waits for a file.
Document* fileNew(DocumentRegistry& docs, bool isNew);

// The New Child command: a new document in the folder named after `parent`'s
// file (asked before that folder is created). Null when the user said No or
// the folder could not be made.
Document* fileNewChild(DocumentRegistry& docs, const Document& parent);

enum class OpenStatus {
    Opened,       // loaded into a new document
    AlreadyOpen,  // the document showing that file was made active
    Cancelled,    // the open dialog was cancelled
    Missing,      // no such file: nothing happened
    LoadFailed,   // the file could not be loaded (see error)
    Declined,     // newer signature and the user said No: the document closed
};

struct OpenResult {
    OpenStatus status = OpenStatus::Cancelled;
    Document* document = nullptr;  // the opened or activated document
    QString error;                 // what went wrong with LoadFailed
    bool ok() const { return status == OpenStatus::Opened || status == OpenStatus::AlreadyOpen; }
};

// Opens the file (asks for one when `path` is empty) into a new document or
// activates the document that already shows it. A file named by `path` opens
// locked; from the dialog, locked as the read-only box says. Outside batch
// mode, the snapshots a crashed editor left for the file are offered
// (unless offerRecovery is false, as for the children a generator opens);
// a recovered state unlocks the document and shows it changed.
OpenResult fileOpen(DocumentRegistry& docs, const QString& path, bool offerRecovery = true);

// How a save from the editor ends. The file is always written on the
// document's save thread (in batch mode on the calling one) while the
// windows keep painting. Wait: the call returns once the document follows
// the result; mouse and keys wait meanwhile. Background: the call returns
// once the write has started; the user goes on working, and the document
// counts as saved only when the write succeeded (edits made meanwhile stay
// changes). Every save, close and Save As first waits for a running save.
enum class SaveMode { Wait, Background };

// Saves when the document has changes; a never-saved document asks for a
// name. True when the file now holds the document (saved, or nothing to do),
// or, in the background, when its write has started.
bool fileSave(DocumentRegistry& docs, Document& doc, SaveMode mode = SaveMode::Wait);
// Asks for a new name and saves there. False when cancelled or not written;
// the document then keeps its previous name (in the background, once the
// write has failed).
bool fileSaveAs(DocumentRegistry& docs, Document& doc, SaveMode mode = SaveMode::Wait);
// fileSave on every document, last to first. True when all succeeded.
bool fileSaveAll(DocumentRegistry& docs);

// Started: a background write runs; the document follows when it ends.
enum class SaveStatus { Saved, Refused, Failed, Started };
// Writes the document to its file, keeping the previous contents as
// file + ".bak". Refused: the file is protected (the user was told, nothing
// was written). Failed: the write failed (logged, the user was told); the
// file and its backup are as before and the document stays changed.
SaveStatus saveDiagram(DocumentRegistry& docs, Document& doc, SaveMode mode = SaveMode::Wait);

// The close prompt: true when the document may close (no changes, saved, or
// the user chose not to save). Batch mode never asks and never saves.
bool queryClose(DocumentRegistry& docs, Document& doc);
// queryClose, then removes the document (its snapshots are deleted) and
// refreshes the recent files. False when the close was cancelled.
bool closeDocument(DocumentRegistry& docs, Document& doc);
// Closes every document, last to first; stops at the first cancelled one.
bool closeAllDocuments(DocumentRegistry& docs);

// ------------------------------------------------------------ recent files

constexpr int kMaxRecentFiles = 6;

// Puts a saved path into the recent-files list (an already listed file keeps
// its place, vanished files are dropped, at most six), then getRecentFiles.
void updateRecentFiles(DocumentRegistry& docs, const QString& path);
// The listed files that exist, most recent first; also announced to the
// windows through the registry's recentFilesChanged.
QStringList getRecentFiles(DocumentRegistry& docs);
// Opens the recent file at position index (0 to 5).
OpenResult openRecentFile(DocumentRegistry& docs, int index);

// ------------------------------------------------------------ generated files

// The name an output of the document gets: in the output folder (/O) named
// after the document's file title, else beside the document; `extension`
// with its dot (".c").
QString proposedOutputName(const FsmDocument& doc, const QString& extension);

// Writes the ".c" and ".h" files of a generated module. Asks for the name
// unless a code switch was given. True when both files were written; a
// refused generation (no module) is logged and gives false.
bool saveCodeFiles(const FsmDocument& doc, UserInterface& ui,
                   const std::optional<GeneratedCode>& module);
// Writes the list file. Asks for the name unless /LS was given. True when
// written.
bool writeListFile(const FsmDocument& doc, UserInterface& ui, const QString& listText);

}  // namespace orvane::DocumentCommands
