#include "UndoSnapshots.h"

#include "FileHelpers.h"
#include "FsmDocument.h"
#include "Logs.h"
#include "Paths.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvane {

namespace {

using FileHelpers::errorLine;
using FileHelpers::kFileAccessError;

const QString kSnapshotExtension = QStringLiteral(".UND");
// The debug log names failures by this routine prefix; readers of old logs
// search for it, so it stays as the log has always written it.
const QString kLogRoutine = QStringLiteral("clsUndoRedo.");
constexpr int kSnapshotDigits = 6;

QString snapshotFile(const QString& mirrorBase, int n)
{
    return mirrorBase + QLatin1Char('.')
           + QStringLiteral("%1").arg(n, kSnapshotDigits, 10, QLatin1Char('0'))
           + kSnapshotExtension;
}

// True for base + "." + six characters + ".UND".
bool isSnapshotOf(const QString& fileName, const QString& baseName)
{
    const qsizetype n = baseName.size();
    return fileName.size() == n + 1 + kSnapshotDigits + kSnapshotExtension.size()
           && fileName.startsWith(baseName) && fileName.at(n) == QLatin1Char('.')
           && fileName.endsWith(kSnapshotExtension);
}

#ifdef Q_OS_UNIX
// The folder holds copies of the user's diagrams, so it must be a real
// folder of this user that nobody else can read or plant files in.
bool makePrivateFolder(const QString& path)
{
    const QByteArray p = QFile::encodeName(path);
    if (::mkdir(p.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    if (::lstat(p.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 077) != 0 && ::chmod(p.constData(), 0700) != 0)
        return false;
    return true;
}

QString userId() { return QString::number(qulonglong(::getuid())); }
#else
bool makePrivateFolder(const QString& path) { return QDir().mkpath(path); }

QString userId()
{
    const QString user = qEnvironmentVariable("USERNAME");
    return user.isEmpty() ? QStringLiteral("user") : user;
}
#endif

}  // namespace

UndoSnapshots::UndoSnapshots(FsmDocument& document, UndoRedoEvents& events)
    : m_doc(document), m_events(events)
{
}

QString UndoSnapshots::snapshotFolder()
{
    const QString folder = Paths::tempFolder() + QStringLiteral("$fsm-") + userId();
    if (!makePrivateFolder(folder))
        return {};
    return folder + QLatin1Char('/');
}

QString UndoSnapshots::mirrorBase(const QString& documentPath)
{
    const QString base = FileHelpers::withoutExtension(documentPath);
    if (base.size() < 4)
        return {};
    QString mirror = QDir::cleanPath(Paths::absolutePath(base));
    if (mirror.startsWith(QLatin1Char('/')))
        mirror.remove(0, 1);
    else if (mirror.size() > 1 && mirror.at(1) == QLatin1Char(':'))
        mirror.remove(1, 1);  // a drive letter keeps its letter, loses the colon
    // The cleaned path keeps ".." only above the root, where it means the
    // root; dropped, so that the mirror never leaves the snapshot folder.
    while (mirror.startsWith(QLatin1String("../")))
        mirror.remove(0, 3);
    if (mirror == QLatin1String(".."))
        mirror.clear();
    const QString folder = snapshotFolder();
    if (folder.isEmpty() || mirror.isEmpty())
        return {};
    return folder + mirror;
}

QString UndoSnapshots::snapshotName(int n) const
{
    const QString base = mirrorBase(m_doc.filePath);
    return base.isEmpty() ? QString() : snapshotFile(base, n);
}

void UndoSnapshots::init()
{
    if (m_events.modeCommand())
        return;
    cleanFiles(mirrorBase(m_doc.lastFilePath));
    m_doc.lastFilePath.clear();
    m_enabled = true;
    m_snapshotCount = 0;
    m_redoCount = 0;
    cleanUndoFiles();
    save(true);
    m_events.refreshButtons();
}

bool UndoSnapshots::graphHasChanged() const { return m_modified || m_doc.diagram().changed(); }

void UndoSnapshots::storeGraphChanges()
{
    if (m_events.modeCommand())
        return;
    Diagram& d = m_doc.diagram();
    if (!d.changed())
        return;
    m_modified = true;
    d.setChanged(false);
    save(false);
}

void UndoSnapshots::clearGraphChanges()
{
    m_modified = false;
    m_doc.diagram().setChanged(false);
}

bool UndoSnapshots::canUndo() const
{
    return m_snapshotCount > 1 && m_enabled && !m_doc.diagram().readOnly();
}

bool UndoSnapshots::canRedo() const
{
    return m_redoCount > 0 && m_enabled && !m_doc.diagram().readOnly();
}

void UndoSnapshots::undo()
{
    if (!canUndo())
        return;
    m_snapshotCount -= 2;
    ++m_redoCount;
    if (!load(m_snapshotCount)) {
        // The history stays where it was; the diagram is untouched.
        m_snapshotCount += 2;
        --m_redoCount;
        return;
    }
    ++m_snapshotCount;
    m_events.refreshButtons();
}

void UndoSnapshots::redo()
{
    if (!canRedo())
        return;
    --m_redoCount;
    if (!load(m_snapshotCount)) {
        ++m_redoCount;
        return;
    }
    ++m_snapshotCount;
    m_events.refreshButtons();
}

void UndoSnapshots::save(bool forced)
{
    if (m_events.modeCommand())
        return;
    Diagram& d = m_doc.diagram();
    if ((d.readOnly() || !m_enabled) && !forced)
        return;
    const QString base = mirrorBase(m_doc.filePath);
    if (base.isEmpty()) {
        m_enabled = false;
        return;
    }
    const QString name = snapshotFile(base, m_snapshotCount);
    ++m_snapshotCount;

    m_events.saveGraphInfo();
    Paths::deleteFile(name);
    Paths::ensureFolders(Paths::folderOf(name));
    QString error;
    if (!d.saveFile(name, &error))
        Logs::writeLog(errorLine(kLogRoutine + QStringLiteral("Save"), kFileAccessError, error));
    m_events.cleanTagNode();

    // A new edit discards every snapshot that could have been redone.
    if (m_snapshotCount == 2 || m_redoCount >= 1) {
        m_redoCount = 0;
        m_events.refreshButtons();
    }
}

bool UndoSnapshots::load(int n)
{
    const QString name = snapshotName(n);
    QString error;
    if (name.isEmpty() || !m_doc.diagram().loadFile(name, &error)) {
        Logs::writeLog(errorLine(kLogRoutine + QStringLiteral("Load: af.LoadFile ") + name,
                                 kFileAccessError, error));
        return false;
    }
    m_events.readGraphConfig();
    if (n != 0)
        m_doc.diagram().setChanged(true);
    else
        clearGraphChanges();
    return true;
}

void UndoSnapshots::cleanUndoFiles() { cleanFiles(mirrorBase(m_doc.filePath)); }

void UndoSnapshots::cleanFiles(const QString& mirrorBase)
{
    if (mirrorBase.isEmpty())
        return;
    const QDir dir(Paths::folderOf(mirrorBase));
    const QString baseName = Paths::fileNameOf(mirrorBase);
    const QStringList names =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        if (!isSnapshotOf(name, baseName))
            continue;
        const QString path = dir.filePath(name);
        if (!Paths::deleteFile(path)) {
            Logs::writeLog(errorLine(kLogRoutine + QStringLiteral("CleanFiles"), kFileAccessError,
                                     QStringLiteral("cannot delete ") + path));
            return;
        }
    }
}

}  // namespace orvane
