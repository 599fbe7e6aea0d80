#include "SnapshotRecovery.h"

#include "AppSettings.h"
#include "Document.h"
#include "DocumentCommands.h"
#include "DocumentRegistry.h"
#include "FileHelpers.h"
#include "Paths.h"
#include "UndoSnapshots.h"
#include "UserInterface.h"

#include <QFileInfo>

namespace orvane::SnapshotRecovery {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool ask(UserInterface& ui, const LeftHistory& history)
{
    return ui.askYesNo(question(history), AppSettings::kApplicationName, MessageIcon::Question,
                       Answer::Yes)
           == Answer::Yes;
}

}  // namespace

QString question(const LeftHistory& history)
{
    const QString name = history.isNew && !history.caption.isEmpty()
                             ? history.caption
                             : Paths::fileNameOf(history.documentPath);
    return QStringLiteral("Recover unsaved changes of ") + name + QStringLiteral(" from ")
           + history.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm")) + u'?' + kCrLf
           + QStringLiteral("(") + history.documentPath + QStringLiteral(")") + kCrLf
           + QStringLiteral("No deletes them.");
}

bool offerForDocument(DocumentRegistry& docs, Document& doc)
{
    const QString path = doc.fsm.filePath;
    if (path.isEmpty())
        return false;
    std::vector<LeftHistory> left = UndoSnapshots::takeLeftHistories(
        [&path](const QString& documentPath, bool isNew) {
            return !isNew && FileHelpers::samePath(documentPath, path);
        },
        UndoSnapshots::historyKey(path));
    for (LeftHistory& history : left) {
        if (!ask(docs.ui(), history)) {
            history.discard();
            continue;
        }
        if (doc.undo.recover(history.snapshot)) {
            history.discard();
            // Older histories of the file stay, to be offered at the next open.
            return true;
        }
    }
    return false;
}

int offerNewDiagrams(DocumentRegistry& docs)
{
    std::vector<LeftHistory> left =
        UndoSnapshots::takeLeftHistories([](const QString& documentPath, bool isNew) {
            return isNew || !QFileInfo::exists(documentPath);
        });
    int opened = 0;
    for (LeftHistory& history : left) {
        if (!ask(docs.ui(), history)) {
            history.discard();
            continue;
        }
        Document* doc = DocumentCommands::fileNew(docs, true);
        if (doc->undo.recover(history.snapshot)) {
            history.discard();
            ++opened;
        } else {
            docs.remove(doc);
        }
    }
    return opened;
}

void tellIfUndoIsOff(UserInterface& ui)
{
    // Once per problem: the same folders failing the same way are not told
    // again with every new document.
    static QString told;
    const QString problem = UndoSnapshots::folderProblem();
    if (problem.isEmpty() || problem == told)
        return;
    told = problem;
    QString text = QStringLiteral("Undo is off: no private folder can hold the undo snapshots.");
    for (const QString& line : problem.split(u'\n'))
        text += kCrLf + line;
    ui.message(text, MessageIcon::Exclamation, QStringLiteral("Attention!"));
}

}  // namespace orvane::SnapshotRecovery
