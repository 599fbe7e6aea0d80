#include "UndoSnapshots.h"

#include "SafeFileWriter.h"
#include "FileHelpers.h"
#include "FsmDocument.h"
#include "Logs.h"
#include "Paths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvane {

namespace {

using FileHelpers::errorLine;
using FileHelpers::kFileAccessError;

const QString kSnapshotExtension = QStringLiteral(".UND");
const QString kLockExtension = QStringLiteral(".lock");
const QString kDescriptionExtension = QStringLiteral(".info");
// The debug log names failures by this routine prefix; readers of old logs
// search for it, so it stays as the log has always written it.
const QString kLogRoutine = QStringLiteral("clsUndoRedo.");
constexpr int kSnapshotDigits = 6;
// The readable part of a set's name, in UTF-8 bytes: with the hash, the
// session and the snapshot number the name stays within the 255 bytes file
// systems allow.
constexpr int kMaxReadableBytes = 120;
constexpr int kKeyHexDigits = 16;

QString snapshotFile(const QString& base, int n)
{
    return base + QLatin1Char('.')
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

// The number of a snapshot file of the set, -1 for any other name.
int snapshotNumber(const QString& fileName, const QString& baseName)
{
    if (!isSnapshotOf(fileName, baseName))
        return -1;
    bool ok = false;
    const int n = fileName.mid(baseName.size() + 1, kSnapshotDigits).toInt(&ok);
    return ok ? n : -1;
}

// The files of the folder. Names are matched by hand, not by wildcards: a
// document's name may hold "*", "?" or "[".
QStringList folderEntries(const QDir& dir)
{
    return dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
}

bool deleteSnapshots(const QString& base);

// Deletes a whole set (its description only when every snapshot went),
// releases its lock and forgets its base.
void endSet(QString& base, std::unique_ptr<QLockFile>& lock)
{
    if (base.isEmpty())
        return;
    if (deleteSnapshots(base))
        QFile::remove(base + kDescriptionExtension);
    if (lock)
        lock->unlock();
    lock.reset();
    base.clear();
}

// Deletes the snapshots of a set; false (logged) at the first that stays.
bool deleteSnapshots(const QString& base)
{
    if (base.isEmpty())
        return true;
    const QDir dir(Paths::folderOf(base));
    const QString baseName = Paths::fileNameOf(base);
    for (const QString& name : folderEntries(dir)) {
        if (!isSnapshotOf(name, baseName))
            continue;
        const QString path = dir.filePath(name);
        if (!Paths::deleteFile(path)) {
            Logs::writeLog(errorLine(kLogRoutine + QStringLiteral("CleanFiles"), kFileAccessError,
                                     QStringLiteral("cannot delete ") + path));
            return false;
        }
    }
    return true;
}

// The session part of a set's name: this process and a number that grows
// with every history it starts, so that neither another editor nor a second
// history of this one reaches the set.
QString nextSession()
{
    static std::atomic<int> counter{0};
    return QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-')
           + QString::number(++counter);
}

QLockFile* newLock(const QString& base)
{
    auto* lock = new QLockFile(base + kLockExtension);
    // A lock is stale only when its process no longer runs, however old it is.
    lock->setStaleLockTime(0);
    return lock;
}

QString& lastFolderProblem()
{
    static QString problem;
    return problem;
}

#ifdef Q_OS_UNIX
// The folder holds copies of the user's diagrams, so it must be a real
// folder of this user that nobody else can read or plant files in. Empty
// when it is, else why not.
QString makePrivateFolder(const QString& path)
{
    const QByteArray p = QFile::encodeName(path);
    if (::mkdir(p.constData(), 0700) != 0 && errno != EEXIST)
        return QStringLiteral("cannot be created (") + QString::fromLocal8Bit(std::strerror(errno))
               + QLatin1Char(')');
    struct stat st {};
    if (::lstat(p.constData(), &st) != 0)
        return QStringLiteral("cannot be read (") + QString::fromLocal8Bit(std::strerror(errno))
               + QLatin1Char(')');
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("is a symbolic link");
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("is not a folder");
    if (st.st_uid != ::getuid())
        return QStringLiteral("belongs to another user");
    if ((st.st_mode & 077) != 0 && ::chmod(p.constData(), 0700) != 0)
        return QStringLiteral("cannot be made private (")
               + QString::fromLocal8Bit(std::strerror(errno)) + QLatin1Char(')');
    return {};
}

QString userId() { return QString::number(qulonglong(::getuid())); }
#else
QString makePrivateFolder(const QString& path)
{
    return QDir().mkpath(path) ? QString() : QStringLiteral("cannot be created");
}

QString userId()
{
    const QString user = qEnvironmentVariable("USERNAME");
    return user.isEmpty() ? QStringLiteral("user") : user;
}
#endif

// The folders tried for the snapshots, in order.
QStringList folderCandidates()
{
    QStringList folders{Paths::tempFolder() + QStringLiteral("$fsm-") + userId()};
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        folders.append(QDir::cleanPath(runtime) + QStringLiteral("/orvane-snapshots"));
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty())
        folders.append(QDir::cleanPath(cache) + QStringLiteral("/orvane/snapshots"));
    return folders;
}

// The readable start of a set's name: the document's file name, shortened
// to whole characters.
QString readablePart(const QString& documentPath)
{
    QString name = Paths::fileNameOf(QDir::cleanPath(documentPath));
    while (name.toUtf8().size() > kMaxReadableBytes) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    return name;
}

QString timeText(const QDateTime& time) { return time.toUTC().toString(Qt::ISODateWithMs); }

}  // namespace

// ------------------------------------------------------------ RedrawPause

RedrawPause::RedrawPause(Diagram& diagram) : m_diagram(diagram), m_was(diagram.redraw())
{
    m_diagram.setRedraw(false);
}

RedrawPause::~RedrawPause() { m_diagram.setRedraw(m_was); }

// ------------------------------------------------------------ LeftHistory

LeftHistory::LeftHistory() = default;
LeftHistory::~LeftHistory() = default;
LeftHistory::LeftHistory(LeftHistory&&) noexcept = default;
LeftHistory& LeftHistory::operator=(LeftHistory&&) noexcept = default;

void LeftHistory::discard() { endSet(base, lock); }

// ------------------------------------------------------------ UndoSnapshots

UndoSnapshots::UndoSnapshots(FsmDocument& document, UndoRedoEvents& events)
    : m_doc(document), m_events(events), m_writer(std::make_unique<QThreadPool>())
{
    m_writer->setMaxThreadCount(1);
}

UndoSnapshots::~UndoSnapshots() { cleanUndoFiles(); }

void UndoSnapshots::waitForWrites() { m_writer->waitForDone(); }

QString UndoSnapshots::snapshotFolder()
{
    QStringList problems;
    for (const QString& folder : folderCandidates()) {
        // A cache folder's parents are ordinary folders of the user.
        if (folder.endsWith(QStringLiteral("/orvane/snapshots")))
            QDir().mkpath(Paths::folderOf(folder));
        const QString problem = makePrivateFolder(folder);
        if (problem.isEmpty()) {
            if (!problems.isEmpty() && lastFolderProblem() != problems.join(QLatin1Char('\n'))) {
                // Said once: the undo store runs from the fallback folder.
                lastFolderProblem() = problems.join(QLatin1Char('\n'));
                Logs::writeLog(errorLine(kLogRoutine + QStringLiteral("Folder"), kFileAccessError,
                                         problems.join(QStringLiteral("; "))
                                             + QStringLiteral("; using ") + folder));
            }
            if (problems.isEmpty())
                lastFolderProblem().clear();
            return folder + QLatin1Char('/');
        }
        problems.append(folder + QStringLiteral(": ") + problem);
    }
    lastFolderProblem() = problems.join(QLatin1Char('\n'));
    return {};
}

QString UndoSnapshots::folderProblem()
{
    // The reason is kept also when a fallback folder serves; only a run
    // without any folder has a problem to tell.
    const QString folder = snapshotFolder();
    return folder.isEmpty() ? lastFolderProblem() : QString();
}

QString UndoSnapshots::historyKey(const QString& documentPath)
{
    const QString canonical = FileHelpers::canonicalPath(documentPath);
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex();
    return readablePart(documentPath) + QLatin1Char('-')
           + QString::fromLatin1(hash.left(kKeyHexDigits));
}

QString UndoSnapshots::snapshotName(int n) const
{
    return m_base.isEmpty() ? QString() : snapshotFile(m_base, n);
}

bool UndoSnapshots::startHistory()
{
    if (m_doc.filePath.isEmpty())
        return false;
    const QString folder = snapshotFolder();
    if (folder.isEmpty())
        return false;
    const QString base = folder + historyKey(m_doc.filePath) + QLatin1Char('-') + nextSession();
    std::unique_ptr<QLockFile> lock(newLock(base));
    if (!lock->tryLock(0)) {
        Logs::writeLog(errorLine(kLogRoutine + QStringLiteral("Lock"), kFileAccessError,
                                 QStringLiteral("cannot lock ") + base + kLockExtension));
        return false;
    }
    m_base = base;
    m_lock = std::move(lock);
    return true;
}

void UndoSnapshots::init()
{
    if (m_events.modeCommand())
        return;
    cleanUndoFiles();
    m_doc.lastFilePath.clear();
    m_snapshotCount = 0;
    m_redoCount = 0;
    m_enabled = startHistory();
    if (m_enabled)
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
    ++m_stateCount;
    m_modified = true;
    d.setChanged(false);
    save(false);
}

void UndoSnapshots::clearGraphChanges()
{
    m_modified = false;
    m_doc.diagram().setChanged(false);
    writeDescription();
}

void UndoSnapshots::markGraphChanged()
{
    m_modified = true;
    writeDescription();
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
    writeDescription();
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
    writeDescription();
    m_events.refreshButtons();
}

void UndoSnapshots::save(bool forced)
{
    if (m_events.modeCommand())
        return;
    Diagram& d = m_doc.diagram();
    if ((d.readOnly() || !m_enabled) && !forced)
        return;
    if (m_base.isEmpty()) {
        m_enabled = false;
        return;
    }
    const QString name = snapshotFile(m_base, m_snapshotCount);
    ++m_snapshotCount;

    // The record node goes only into the copy: the views have nothing to
    // follow, and the selection stays.
    const std::shared_ptr<const Diagram> copy = m_events.fileCopyWithRecord();
    m_writer->start([name, copy] {
        Paths::deleteFile(name);
        // A temporary-folder cleaner may have removed the folder meanwhile.
        const QString folder = Paths::folderOf(name);
        if (!QFileInfo::exists(folder))
            makePrivateFolder(folder);
        QString error;
        if (!copy->saveFile(name, &error))
            Logs::writeLog(
                errorLine(kLogRoutine + QStringLiteral("Save"), kFileAccessError, error));
    });

    // A new edit discards every snapshot that could have been redone.
    if (m_snapshotCount == 2 || m_redoCount >= 1) {
        m_redoCount = 0;
        m_events.refreshButtons();
    }
    writeDescription();
}

bool UndoSnapshots::load(int n)
{
    ++m_stateCount;
    waitForWrites();
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

bool UndoSnapshots::recover(const QString& snapshotFile)
{
    QString error;
    if (snapshotFile.isEmpty() || !m_doc.diagram().loadFile(snapshotFile, &error)) {
        Logs::writeLog(
            errorLine(kLogRoutine + QStringLiteral("Recover: af.LoadFile ") + snapshotFile,
                      kFileAccessError, error));
        return false;
    }
    ++m_stateCount;
    m_events.readGraphConfig();
    m_doc.diagram().setReadOnly(false);
    m_doc.diagram().setChanged(true);
    storeGraphChanges();
    m_modified = true;
    m_events.refreshButtons();
    return true;
}

void UndoSnapshots::cleanUndoFiles()
{
    // A snapshot still being written would outlive the deletion.
    waitForWrites();
    endSet(m_base, m_lock);
}

// The description a crash leaves behind with the snapshots: enough to offer
// the last state of the document again.
void UndoSnapshots::writeDescription()
{
    if (m_base.isEmpty() || m_snapshotCount == 0)
        return;
    const QJsonObject o{
        {QStringLiteral("document"), m_doc.filePath},
        {QStringLiteral("caption"), m_doc.caption},
        {QStringLiteral("new"), m_doc.isNew},
        {QStringLiteral("current"), m_snapshotCount - 1},
        {QStringLiteral("changed"), graphHasChanged()},
        {QStringLiteral("time"), timeText(QDateTime::currentDateTimeUtc())},
    };
    const SafeFileWriter::WriteResult r = SafeFileWriter::writeFileSafely(
        m_base + kDescriptionExtension, QJsonDocument(o).toJson(QJsonDocument::Compact));
    if (!r.ok())
        Logs::writeLog(errorLine(kLogRoutine + QStringLiteral("Save"), kFileAccessError, r.reason));
}

std::vector<LeftHistory> UndoSnapshots::takeLeftHistories(
    const std::function<bool(const QString& documentPath, bool isNew)>& wanted,
    const QString& keyFilter)
{
    std::vector<LeftHistory> found;
    const QString folder = snapshotFolder();
    if (folder.isEmpty())
        return found;
    const QDir dir(folder);
    const QStringList names = folderEntries(dir);
    // A set is known by its description or its lock; a live editor holds
    // the lock from before the first snapshot until the set is deleted.
    QStringList bases;
    for (const QString& name : names) {
        for (const QString& extension : {kLockExtension, kDescriptionExtension}) {
            if (name.endsWith(extension)
                && (keyFilter.isEmpty() || name.startsWith(keyFilter + QLatin1Char('-'))))
                bases.append(name.chopped(extension.size()));
        }
    }
    bases.removeDuplicates();
    for (const QString& baseName : bases) {
        const QString base = dir.filePath(baseName);
        QFile description(base + kDescriptionExtension);
        QJsonObject o;
        if (description.open(QIODevice::ReadOnly))
            o = QJsonDocument::fromJson(description.readAll()).object();
        description.close();
        LeftHistory h;
        h.documentPath = o.value(QStringLiteral("document")).toString();
        h.caption = o.value(QStringLiteral("caption")).toString();
        h.isNew = o.value(QStringLiteral("new")).toBool();
        h.changed = o.value(QStringLiteral("changed")).toBool();
        h.time =
            QDateTime::fromString(o.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
        // Without a description there is nothing to offer; the set is only
        // taken over to be deleted.
        const bool described = !o.isEmpty() && !h.documentPath.isEmpty();
        if (described && !wanted(h.documentPath, h.isNew))
            continue;
        // A lock whose process still runs belongs to a live editor.
        std::unique_ptr<QLockFile> lock(newLock(base));
        if (!lock->tryLock(0))
            continue;
        h.base = base;
        h.lock = std::move(lock);

        // The current snapshot, or the newest before it that is left.
        const int current = o.value(QStringLiteral("current")).toInt(-1);
        int best = -1;
        for (const QString& name : names) {
            const int n = snapshotNumber(name, baseName);
            if (n >= 0 && n <= current && n > best)
                best = n;
        }
        if (best >= 0)
            h.snapshot = snapshotFile(base, best);
        if (!described || !h.changed || h.snapshot.isEmpty()) {
            h.discard();
            continue;
        }
        if (!h.time.isValid())
            h.time = QFileInfo(h.snapshot).lastModified();
        found.push_back(std::move(h));
    }
    std::sort(found.begin(), found.end(),
              [](const LeftHistory& a, const LeftHistory& b) { return a.time > b.time; });
    return found;
}

}  // namespace orvane
