// New, open, save, save as and close of documents.

#include "DocumentCommands.h"

#include "AppSettings.h"
#include "Document.h"
#include "DocumentRegistry.h"
#include "FileHelpers.h"
#include "ProcessState.h"
#include "UserInterface.h"
#include "MachineInfo.h"
#include "Logs.h"
#include "Paths.h"
#include "SafeFileWriter.h"
#include "SnapshotRecovery.h"

#include <QDir>
#include <QFileInfo>

#include <functional>
#include <memory>
#include <optional>

namespace orvane::DocumentCommands {

namespace {

using FileHelpers::errorLine;
using FileHelpers::kFileAccessError;

const QString kCrLf = QStringLiteral("\r\n");
const QString kAttention = QStringLiteral("Attention!");
const QString kCantSave = QStringLiteral("I can't save the changes in:");
// The number the component gives to a file it cannot load.
constexpr int kLoadError = 61704;
constexpr int kMaxNewNames = 10000;

int& newDocumentCounter()
{
    static int counter = 0;
    return counter;
}

// "FSM_" + the last four characters of "000" + the counter.
QString nextNewName()
{
    const int n = ++newDocumentCounter();
    return QStringLiteral("FSM_") + (QStringLiteral("000") + QString::number(n)).right(4);
}

QString absoluteClean(const QString& path) { return QDir::cleanPath(Paths::absolutePath(path)); }

// The box for a file that may not be written, with the reason when known.
void tellCantSave(UserInterface& ui, const QString& path, const QString& reason = QString())
{
    QString text = kCantSave + kCrLf + path;
    if (!reason.isEmpty())
        text += kCrLf + reason;
    ui.message(text, MessageIcon::Exclamation, kAttention);
}

// A backup copy that cannot be made is logged and reported; the save then
// goes on only if the user says so (batch mode never asks and does not save
// without a backup).
bool saveWithoutBackup(UserInterface& ui, const QString& backup, const QString& reason)
{
    Logs::writeLog(errorLine(QStringLiteral("SalvaDiagrama"), kFileAccessError,
                             backup + QStringLiteral(": ") + reason));
    const QString text = QStringLiteral("The backup copy cannot be made:") + kCrLf + backup + kCrLf
                         + reason + kCrLf + QStringLiteral("Save without a backup copy?");
    if (process().batchMode) {
        ui.message(text, MessageIcon::Exclamation, kAttention);
        return false;
    }
    return ui.askYesNo(text, kAttention, MessageIcon::Exclamation, Answer::No) == Answer::Yes;
}

QString backupName(const QString& path) { return path + QStringLiteral(".bak"); }

// What writing a document's file came to.
struct WriteOutcome {
    bool backupFailed = false;  // nothing was written
    QString backupReason;
    bool written = false;
    QString error;
};

// Makes the backup copy (when asked) and writes the copy of the diagram.
// Runs on the save thread: it touches nothing but the copy and the files.
WriteOutcome writeCopy(Diagram& copy, const QString& path, bool backup)
{
    WriteOutcome o;
    // The backup is a copy, so the file itself stays in place until the new
    // contents have replaced it whole.
    if (backup) {
        const SafeFileWriter::WriteResult made = SafeFileWriter::makeBackup(path, backupName(path));
        if (!made.ok()) {
            o.backupFailed = true;
            o.backupReason = made.reason;
            return o;
        }
    }
    MachineInfo::clearTextsForFile(copy);
    o.written = copy.saveFile(path, &o.error);
    return o;
}

// One save of a document: what it writes and what the document must
// compare or undo when the write ends.
struct SaveJob {
    DocumentRegistry* docs = nullptr;
    Document* doc = nullptr;
    QString path;
    std::shared_ptr<Diagram> copy;
    bool backup = false;
    quint64 states = 0;                 // the undo store's state count at the copy
    bool changedAtCopy = false;         // the diagram had changes not yet stored
    std::function<void()> keepOldName;  // Save As: the name before it
    std::shared_ptr<SaveStatus> status;
};

// A save that wrote nothing: the document keeps its name and its changes.
SaveStatus refuse(const SaveJob& job)
{
    updateRecentFiles(*job.docs, job.path);
    if (job.keepOldName)
        job.keepOldName();
    return SaveStatus::Refused;
}

// The document follows the write: saved only when the file holds it.
SaveStatus finishSave(const SaveJob& job, const WriteOutcome& o)
{
    Document& doc = *job.doc;
    FsmDocument& fsm = doc.fsm;
    if (!o.written) {
        Logs::writeLog(errorLine(QStringLiteral("SalvaDiagrama"), kFileAccessError, o.error));
        job.docs->ui().message(o.error, MessageIcon::Exclamation, kAttention);
        if (job.keepOldName)
            job.keepOldName();
        doc.refreshButtons();
        return SaveStatus::Failed;
    }
    // Edits made while the file was written are not in it.
    const bool edited =
        doc.undo.stateCount() != job.states || (fsm.diagram().changed() && !job.changedAtCopy);
    if (!edited)
        doc.undo.clearGraphChanges();
    fsm.isNew = false;
    fsm.lastSaveSucceeded = true;
    // A new history starts with the saved file, except after edits under the
    // same name: that history is kept, so the edits can still be undone.
    if (!edited || job.keepOldName)
        doc.undo.init();
    if (edited)
        doc.undo.markGraphChanged();
    updateRecentFiles(*job.docs, job.path);
    doc.refreshButtons();
    return SaveStatus::Saved;
}

// Hands the write to the document's save thread; what follows runs on the
// interface thread when it ends.
void startWrite(SaveJob job)
{
    Document* doc = job.doc;
    doc->startSave([job = std::move(job)]() mutable -> std::function<void()> {
        const WriteOutcome o = writeCopy(*job.copy, job.path, job.backup);
        // The copy goes here, off the interface thread, unless a save
        // without the backup may still need it.
        if (!o.backupFailed)
            job.copy.reset();
        return [job, o] {
            if (o.backupFailed) {
                if (saveWithoutBackup(job.docs->ui(), backupName(job.path), o.backupReason)) {
                    SaveJob again = job;
                    again.backup = false;
                    startWrite(std::move(again));
                } else {
                    *job.status = refuse(job);
                }
                return;
            }
            *job.status = finishSave(job, o);
        };
    });
}

// saveDiagram, with what a Save As restores when nothing was written.
SaveStatus writeDocument(DocumentRegistry& docs, Document& doc, SaveMode mode,
                         std::function<void()> keepOldName)
{
    UserInterface& ui = docs.ui();
    FsmDocument& fsm = doc.fsm;
    Diagram& d = fsm.diagram();
    SaveJob job;
    job.docs = &docs;
    job.doc = &doc;
    job.path = fsm.filePath;
    job.keepOldName = std::move(keepOldName);
    job.status = std::make_shared<SaveStatus>(SaveStatus::Started);
    if (job.path.isEmpty()) {
        if (job.keepOldName)
            job.keepOldName();
        return SaveStatus::Failed;
    }
    job.states = doc.undo.stateCount();
    job.changedAtCopy = d.changed();
    // The copy is what gets written, with the record node and without the
    // texts: the diagram on screen is not touched, so the views have nothing
    // to follow.
    job.copy = std::shared_ptr<Diagram>(MachineInfo::fileCopyWithRecord(fsm));
    // Nothing is written (not even the backup) when the file may not be
    // replaced, or when its backup cannot be made and the user stops.
    const SafeFileWriter::Target target = SafeFileWriter::checkTarget(job.path);
    if (target.result.status == SafeFileWriter::WriteStatus::Refused) {
        tellCantSave(ui, job.path, target.result.reason);
        return refuse(job);
    }
    job.backup = target.exists;

    if (process().batchMode) {
        // Batch mode has no window to keep painting: all on this thread.
        WriteOutcome o = writeCopy(*job.copy, job.path, job.backup);
        if (o.backupFailed) {
            if (!saveWithoutBackup(ui, backupName(job.path), o.backupReason))
                return refuse(job);
            o = writeCopy(*job.copy, job.path, false);
        }
        return finishSave(job, o);
    }
    const std::shared_ptr<SaveStatus> status = job.status;
    startWrite(std::move(job));
    if (mode == SaveMode::Background)
        return SaveStatus::Started;
    doc.waitForSave();
    return *status;
}
// Removes a document without asking and refreshes the recent-file menus.
void discard(DocumentRegistry& docs, Document& doc)
{
    docs.remove(&doc);
    getRecentFiles(docs);
}

// A load that did not succeed leaves an empty, unnamed document behind: it
// shows nothing of the file, so no save can overwrite the file with part of
// a diagram, and a save asks for a name.
OpenResult loadFailed(Document* doc, const QString& error)
{
    doc->fsm.diagram().clear();
    doc->fsm.diagram().setTag(QString());
    doc->fsm.diagram().setChanged(false);
    doc->fsm.filePath.clear();
    doc->fsm.isNew = true;
    doc->setCaption(QString());
    return {OpenStatus::LoadFailed, doc, error};
}

}  // namespace

Document* fileNew(DocumentRegistry& docs, bool isNew)
{
    Document* d = docs.create();
    d->fsm.isNew = isNew;
    if (isNew) {
        // A name that an open document already uses would share its snapshots.
        QString caption, path;
        for (int tries = 0; tries < kMaxNewNames; ++tries) {
            caption = nextNewName();
            path = absoluteClean(caption + QStringLiteral(".fsm"));
            const Document* other = docs.find(path);
            if (!other || other == d)
                break;
        }
        d->fsm.filePath = path;
        d->setCaption(caption);
        d->undo.init();
        if (!process().batchMode)
            SnapshotRecovery::tellIfUndoIsOff(docs.ui());
    }
    return d;
}

Document* fileNewChild(DocumentRegistry& docs, const Document& parent)
{
    const QString& parentPath = parent.fsm.filePath;
    if (parentPath.isEmpty())
        return nullptr;
    const QString folder = FileHelpers::withoutExtension(absoluteClean(parentPath));
    if (!QFileInfo(folder).isDir()) {
        const Answer a = docs.ui().askYesNo(QStringLiteral("path:\"") + folder + QLatin1Char('"'),
                                            QStringLiteral("Attention a chid dir must be created"),
                                            MessageIcon::None, Answer::Yes);
        if (a != Answer::Yes)
            return nullptr;
        if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
            Logs::writeLog(errorLine(QStringLiteral("newChildAction"), kFileAccessError,
                                     QStringLiteral("cannot create ") + folder));
            docs.ui().message(QStringLiteral("I can't create the folder:") + kCrLf + folder,
                              MessageIcon::Exclamation, kAttention);
            return nullptr;
        }
    }
    if (!QDir::setCurrent(folder))
        return nullptr;
    return fileNew(docs, true);
}

OpenResult fileOpen(DocumentRegistry& docs, const QString& pathIn, bool offerRecovery)
{
    UserInterface& ui = docs.ui();
    QString path = pathIn;
    bool lock = true;
    if (path.isEmpty()) {
        path = ui.openFileName(fsmOpenDialog(), lock);
        if (path.isEmpty())
            return {OpenStatus::Cancelled, nullptr, {}};
    }
    if (Document* open = docs.find(path)) {
        docs.setActive(open);
        return {OpenStatus::AlreadyOpen, open, {}};
    }
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return {OpenStatus::Missing, nullptr, {}};

    // Kept absolute: the New Child command changes the current folder, and a
    // relative name would then save into another folder.
    const QString fullPath = absoluteClean(path);
    Document* doc = fileNew(docs, false);
    FsmDocument& fsm = doc->fsm;
    QString error;
    // Loading replaces every item and the records rebuild every text: the
    // views build their items once, from the finished diagram.
    std::optional<RedrawPause> pause(std::in_place, fsm.diagram());
    if (!fsm.diagram().loadFile(fullPath, &error)) {
        Logs::writeLog(errorLine(QStringLiteral("FileOpen"), kLoadError, error));
        return loadFailed(doc, error);
    }
    fsm.filePath = fullPath;
    if (!fsm.afterLoad(process().overrides, ui)) {
        error = QStringLiteral("the diagram's records in ") + fullPath
                + QStringLiteral(" cannot be read");
        Logs::writeLog(errorLine(QStringLiteral("FileOpen"), kLoadError, error));
        return loadFailed(doc, error);
    }
    // Read before the undo history starts: its first snapshot stores the
    // record again, with the current signature.
    const QString signature = machineConfig(fsm.diagram()).signature;
    doc->undo.init();
    pause.reset();

    if (MachineInfo::signatureIsNewer(signature)) {
        const Answer a = ui.askYesNo(QStringLiteral("Atention this FSM has newer signature.")
                                         + kCrLf + QStringLiteral(" Ignore and continue?"),
                                     QStringLiteral("The file signature don't match: [") + signature
                                         + QLatin1Char(']'),
                                     MessageIcon::Critical, Answer::No);
        if (a != Answer::Yes) {
            doc->undo.clearGraphChanges();
            discard(docs, *doc);
            return {OpenStatus::Declined, nullptr, {}};
        }
    }

    doc->setCaption(Paths::baseName(fullPath));
    fsm.diagram().setReadOnly(lock);
    doc->refreshButtons();
    doc->undo.clearGraphChanges();
    if (!process().batchMode) {
        SnapshotRecovery::tellIfUndoIsOff(ui);
        if (offerRecovery)
            SnapshotRecovery::offerForDocument(docs, *doc);
    }
    return {OpenStatus::Opened, doc, {}};
}

bool fileSave(DocumentRegistry& docs, Document& doc, SaveMode mode)
{
    doc.waitForSave();
    if (!doc.undo.graphHasChanged())
        return true;
    if (doc.fsm.isNew || doc.fsm.filePath.isEmpty())
        return fileSaveAs(docs, doc, mode);
    const SaveStatus status = saveDiagram(docs, doc, mode);
    return status == SaveStatus::Saved || status == SaveStatus::Started;
}

bool fileSaveAs(DocumentRegistry& docs, Document& doc, SaveMode mode)
{
    doc.waitForSave();
    UserInterface& ui = docs.ui();
    FsmDocument& fsm = doc.fsm;
    const QString chosen = ui.saveFileName(fsmSaveDialog(fsm.filePath));
    if (chosen.isEmpty())
        return false;
    const QString newPath = absoluteClean(chosen);
    // Two documents under one name would overwrite each other's file and
    // snapshots.
    const Document* other = docs.find(newPath);
    if (other && other != &doc) {
        tellCantSave(ui, newPath);
        return false;
    }

    const QString oldName = fsm.filePath;
    const QString oldLast = fsm.lastFilePath;
    const QString oldCaption = fsm.caption;
    fsm.lastFilePath = oldName;
    fsm.filePath = newPath;
    doc.setCaption(Paths::baseName(newPath));
    // Nothing was written there: the document keeps the name of its file.
    Document* d = &doc;
    const auto keepOldName = [d, oldName, oldLast, oldCaption] {
        d->fsm.filePath = oldName;
        d->fsm.lastFilePath = oldLast;
        d->setCaption(oldCaption);
    };
    const SaveStatus status = writeDocument(docs, doc, mode, keepOldName);
    return status == SaveStatus::Saved || status == SaveStatus::Started;
}

bool fileSaveAll(DocumentRegistry& docs)
{
    bool all = true;
    const QList<Document*> list = docs.documents();
    for (qsizetype i = list.size() - 1; i >= 0; --i)
        if (docs.contains(list.at(i)))
            all = fileSave(docs, *list.at(i)) && all;
    return all;
}

SaveStatus saveDiagram(DocumentRegistry& docs, Document& doc, SaveMode mode)
{
    doc.waitForSave();
    return writeDocument(docs, doc, mode, {});
}

bool queryClose(DocumentRegistry& docs, Document& doc)
{
    // A save still running decides whether there is anything left to save.
    doc.waitForSave();
    if (process().batchMode || !doc.undo.graphHasChanged())
        return true;
    QString text = QStringLiteral("Do you want to save the changes?");
    if (!doc.caption().isEmpty())
        text = QStringLiteral("The diagram in [") + doc.caption() + QStringLiteral("] has changed.")
               + kCrLf + text;
    switch (docs.ui().askYesNoCancel(text, AppSettings::kApplicationName, MessageIcon::Question,
                                     Answer::Yes)) {
    case Answer::Yes:
        doc.fsm.lastSaveSucceeded = false;
        fileSave(docs, doc);
        return doc.fsm.lastSaveSucceeded;
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool closeDocument(DocumentRegistry& docs, Document& doc)
{
    if (!queryClose(docs, doc))
        return false;
    discard(docs, doc);
    return true;
}

bool closeAllDocuments(DocumentRegistry& docs)
{
    const QList<Document*> list = docs.documents();
    for (qsizetype i = list.size() - 1; i >= 0; --i)
        if (docs.contains(list.at(i)) && !closeDocument(docs, *list.at(i)))
            return false;
    return true;
}

}  // namespace orvane::DocumentCommands
