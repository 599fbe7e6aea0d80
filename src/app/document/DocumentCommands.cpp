// New, open, save, save as and close of documents.

#include "modMain_Files.h"

#include "AppSettings.h"
#include "Document.h"
#include "DocumentRegistry.h"
#include "FileHelpers.h"
#include "ProcessState.h"
#include "UserInterface.h"
#include "modGrafoInfo.h"
#include "modLib_Log.h"
#include "modLib_Rutas.h"

#include <QDir>
#include <QFileInfo>

namespace orvane::modMain {

namespace {

using FileHelpers::ErrorLine;
using FileHelpers::kFileAccessError;

const QString kCrLf = QStringLiteral("\r\n");
const QString kAttention = QStringLiteral("Attention!");
const QString kCantSave = QStringLiteral("I can't save the changes in:");
// The number the component gives to a file it cannot load.
constexpr int kLoadError = 61704;
constexpr int kMaxNewNames = 10000;

int& NewDocumentCounter()
{
    static int counter = 0;
    return counter;
}

// "FSM_" + the last four characters of "000" + the counter.
QString NextNewName()
{
    const int n = ++NewDocumentCounter();
    return QStringLiteral("FSM_") + (QStringLiteral("000") + QString::number(n)).right(4);
}

QString AbsoluteClean(const QString& path)
{
    return QDir::cleanPath(modLib_Rutas::AbsolutePath(path));
}

void TellCantSave(UserInterface& ui, const QString& path)
{
    ui.message(kCantSave + kCrLf + path, MessageIcon::Exclamation, kAttention);
}

// Removes a document without asking and refreshes the recent-file menus.
void Discard(DocumentRegistry& docs, Document& doc)
{
    docs.remove(&doc);
    GetRecentFiles(docs);
}

// A load that did not succeed leaves an empty, unnamed document behind: it
// shows nothing of the file, so no save can overwrite the file with part of
// a diagram, and a save asks for a name.
OpenResult LoadFailed(Document* doc, const QString& error)
{
    doc->fsm.diagram().clear();
    doc->fsm.diagram().setTag(QString());
    doc->fsm.diagram().setChanged(false);
    doc->fsm.sFullDocname.clear();
    doc->fsm.nuevoFSM = true;
    doc->setCaption(QString());
    return {OpenStatus::LoadFailed, doc, error};
}

}  // namespace

Document* FileNew(DocumentRegistry& docs, bool isNew)
{
    Document* d = docs.create();
    d->fsm.nuevoFSM = isNew;
    if (isNew) {
        // A name that an open document already uses would share its snapshots.
        QString caption, path;
        for (int tries = 0; tries < kMaxNewNames; ++tries) {
            caption = NextNewName();
            path = AbsoluteClean(caption + QStringLiteral(".fsm"));
            const Document* other = docs.find(path);
            if (!other || other == d)
                break;
        }
        d->fsm.sFullDocname = path;
        d->setCaption(caption);
        d->undRed.Init();
    }
    return d;
}

Document* FileNewChild(DocumentRegistry& docs, const Document& parent)
{
    const QString& parentPath = parent.fsm.sFullDocname;
    if (parentPath.isEmpty())
        return nullptr;
    const QString folder = FileHelpers::WithoutExtension(AbsoluteClean(parentPath));
    if (!QFileInfo(folder).isDir()) {
        const Answer a = docs.ui().askYesNo(QStringLiteral("path:\"") + folder + QLatin1Char('"'),
                                            QStringLiteral("Attention a chid dir must be created"),
                                            MessageIcon::None, Answer::Yes);
        if (a != Answer::Yes)
            return nullptr;
        if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
            modLib_Log::WriteLog(ErrorLine(QStringLiteral("mnuFileNewChild"), kFileAccessError,
                                           QStringLiteral("cannot create ") + folder));
            docs.ui().message(QStringLiteral("I can't create the folder:") + kCrLf + folder,
                              MessageIcon::Exclamation, kAttention);
            return nullptr;
        }
    }
    if (!QDir::setCurrent(folder))
        return nullptr;
    return FileNew(docs, true);
}

OpenResult FileOpen(DocumentRegistry& docs, const QString& pathIn)
{
    UserInterface& ui = docs.ui();
    QString path = pathIn;
    bool lock = true;
    if (path.isEmpty()) {
        path = ui.openFileName(FsmOpenDialog(), lock);
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
    const QString fullPath = AbsoluteClean(path);
    Document* doc = FileNew(docs, false);
    FsmDocument& fsm = doc->fsm;
    QString error;
    if (!fsm.diagram().loadFile(fullPath, &error)) {
        modLib_Log::WriteLog(ErrorLine(QStringLiteral("FileOpen"), kLoadError, error));
        return LoadFailed(doc, error);
    }
    fsm.sFullDocname = fullPath;
    if (!fsm.AfterLoad(Process().overrides, ui)) {
        error = QStringLiteral("the diagram's records in ") + fullPath + QStringLiteral(" cannot be read");
        modLib_Log::WriteLog(ErrorLine(QStringLiteral("FileOpen"), kLoadError, error));
        return LoadFailed(doc, error);
    }
    // Read before the undo history starts: its first snapshot stores the
    // record again, with the current signature.
    const QString signature = modGrafoInfo::GetGraphField(modGrafoInfo::kGraphSignature, fsm.diagram());
    doc->undRed.Init();

    if (modGrafoInfo::SignatureIsNewer(signature)) {
        const Answer a = ui.askYesNo(
            QStringLiteral("Atention this FSM has newer signature.") + kCrLf
                + QStringLiteral(" Ignore and continue?"),
            QStringLiteral("The file signature don't match: [") + signature + QLatin1Char(']'),
            MessageIcon::Critical, Answer::No);
        if (a != Answer::Yes) {
            doc->undRed.ClearGraphChanges();
            Discard(docs, *doc);
            return {OpenStatus::Declined, nullptr, {}};
        }
    }

    doc->setCaption(modLib_Rutas::BaseName(fullPath));
    fsm.diagram().setReadOnly(lock);
    doc->RefreshButtons();
    doc->undRed.ClearGraphChanges();
    return {OpenStatus::Opened, doc, {}};
}

bool FileSave(DocumentRegistry& docs, Document& doc)
{
    if (!doc.undRed.GraphHasChanged())
        return true;
    if (doc.fsm.nuevoFSM || doc.fsm.sFullDocname.isEmpty())
        return FileSaveAs(docs, doc);
    return SalvaDiagrama(docs, doc) == SaveStatus::Saved;
}

bool FileSaveAs(DocumentRegistry& docs, Document& doc)
{
    UserInterface& ui = docs.ui();
    FsmDocument& fsm = doc.fsm;
    const QString chosen = ui.saveFileName(FsmSaveDialog(fsm.sFullDocname));
    if (chosen.isEmpty())
        return false;
    const QString newPath = AbsoluteClean(chosen);
    // Two documents under one name would overwrite each other's file and
    // snapshots.
    const Document* other = docs.find(newPath);
    if (other && other != &doc) {
        TellCantSave(ui, newPath);
        return false;
    }

    const QString oldName = fsm.sFullDocname;
    const QString oldLast = fsm.sLastFullDocname;
    const QString oldCaption = fsm.caption;
    fsm.sLastFullDocname = oldName;
    fsm.sFullDocname = newPath;
    doc.setCaption(modLib_Rutas::BaseName(newPath));
    if (SalvaDiagrama(docs, doc) == SaveStatus::Saved)
        return true;
    // Nothing was written there: the document keeps the name of its file.
    fsm.sFullDocname = oldName;
    fsm.sLastFullDocname = oldLast;
    doc.setCaption(oldCaption);
    return false;
}

bool FileSaveAll(DocumentRegistry& docs)
{
    bool all = true;
    const QList<Document*> list = docs.documents();
    for (qsizetype i = list.size() - 1; i >= 0; --i)
        if (docs.contains(list.at(i)))
            all = FileSave(docs, *list.at(i)) && all;
    return all;
}

SaveStatus SalvaDiagrama(DocumentRegistry& docs, Document& doc)
{
    UserInterface& ui = docs.ui();
    FsmDocument& fsm = doc.fsm;
    Diagram& d = fsm.diagram();
    const QString path = fsm.sFullDocname;
    if (path.isEmpty())
        return SaveStatus::Failed;
    const bool wasChanged = d.changed();

    fsm.BeforeSave();
    if (FileHelpers::IsProtectedFile(path)) {
        TellCantSave(ui, path);
        fsm.AfterSave(ui);
        d.setChanged(wasChanged);
        UpdateRecentFiles(docs, path);
        return SaveStatus::Refused;
    }

    // The backup is a copy, so the file itself stays in place until the new
    // contents have replaced it whole.
    if (modLib_Rutas::FileExists(path)) {
        QString backupError;
        const QString backup = path + QStringLiteral(".bak");
        if (!FileHelpers::CopyFileSafely(path, backup, &backupError))
            modLib_Log::WriteLog(ErrorLine(QStringLiteral("SalvaDiagrama"), kFileAccessError,
                                           backup + QStringLiteral(": ") + backupError));
    }
    QString error;
    const bool written = d.saveFile(path, &error);
    fsm.AfterSave(ui);
    if (!written) {
        d.setChanged(wasChanged);
        modLib_Log::WriteLog(ErrorLine(QStringLiteral("SalvaDiagrama"), kFileAccessError, error));
        ui.message(error, MessageIcon::Exclamation, kAttention);
        return SaveStatus::Failed;
    }
    doc.undRed.ClearGraphChanges();
    fsm.nuevoFSM = false;
    fsm.bPudoSalvar = true;
    doc.undRed.Init();
    UpdateRecentFiles(docs, path);
    return SaveStatus::Saved;
}

bool QueryClose(DocumentRegistry& docs, Document& doc)
{
    if (Process().batchMode || !doc.undRed.GraphHasChanged())
        return true;
    QString text = QStringLiteral("Do you want to save the changes?");
    if (!doc.caption().isEmpty())
        text = QStringLiteral("The diagram in [") + doc.caption() + QStringLiteral("] has changed.")
               + kCrLf + text;
    switch (docs.ui().askYesNoCancel(text, AppSettings::kApplicationName, MessageIcon::Question,
                                     Answer::Yes)) {
    case Answer::Yes:
        doc.fsm.bPudoSalvar = false;
        FileSave(docs, doc);
        return doc.fsm.bPudoSalvar;
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool CloseDocument(DocumentRegistry& docs, Document& doc)
{
    if (!QueryClose(docs, doc))
        return false;
    Discard(docs, doc);
    return true;
}

bool CloseAllDocuments(DocumentRegistry& docs)
{
    const QList<Document*> list = docs.documents();
    for (qsizetype i = list.size() - 1; i >= 0; --i)
        if (docs.contains(list.at(i)) && !CloseDocument(docs, *list.at(i)))
            return false;
    return true;
}

}  // namespace orvane::modMain
