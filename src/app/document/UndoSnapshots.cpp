#include "clsLib_UndoRedo.h"

#include "FileHelpers.h"
#include "FsmDocument.h"
#include "modLib_Log.h"
#include "modLib_Rutas.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvane {

namespace {

using FileHelpers::ErrorLine;
using FileHelpers::kFileAccessError;

const QString kSnapshotExtension = QStringLiteral(".UND");
constexpr int kSnapshotDigits = 6;

QString SnapshotFile(const QString& mirrorBase, int n)
{
    return mirrorBase + QLatin1Char('.') + QStringLiteral("%1").arg(n, kSnapshotDigits, 10, QLatin1Char('0'))
           + kSnapshotExtension;
}

// True for base + "." + six characters + ".UND".
bool IsSnapshotOf(const QString& fileName, const QString& baseName)
{
    const qsizetype n = baseName.size();
    return fileName.size() == n + 1 + kSnapshotDigits + kSnapshotExtension.size()
           && fileName.startsWith(baseName) && fileName.at(n) == QLatin1Char('.')
           && fileName.endsWith(kSnapshotExtension);
}

#ifdef Q_OS_UNIX
// The folder holds copies of the user's diagrams, so it must be a real
// folder of this user that nobody else can read or plant files in.
bool MakePrivateFolder(const QString& path)
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

QString UserId() { return QString::number(qulonglong(::getuid())); }
#else
bool MakePrivateFolder(const QString& path) { return QDir().mkpath(path); }

QString UserId()
{
    const QString user = qEnvironmentVariable("USERNAME");
    return user.isEmpty() ? QStringLiteral("user") : user;
}
#endif

}  // namespace

clsLib_UndoRedo::clsLib_UndoRedo(FsmDocument& document, UndoRedoEvents& events)
    : m_doc(document), m_events(events)
{
}

QString clsLib_UndoRedo::SnapshotFolder()
{
    const QString folder = modLib_Rutas::TempFolder() + QStringLiteral("$fsm-") + UserId();
    if (!MakePrivateFolder(folder))
        return {};
    return folder + QLatin1Char('/');
}

QString clsLib_UndoRedo::MirrorBase(const QString& documentPath)
{
    const QString base = FileHelpers::WithoutExtension(documentPath);
    if (base.size() < 4)
        return {};
    QString mirror = QDir::cleanPath(modLib_Rutas::AbsolutePath(base));
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
    const QString folder = SnapshotFolder();
    if (folder.isEmpty() || mirror.isEmpty())
        return {};
    return folder + mirror;
}

QString clsLib_UndoRedo::SnapshotName(int n) const
{
    const QString base = MirrorBase(m_doc.sFullDocname);
    return base.isEmpty() ? QString() : SnapshotFile(base, n);
}

void clsLib_UndoRedo::Init()
{
    if (m_events.ModeCommand())
        return;
    CleanFiles(MirrorBase(m_doc.sLastFullDocname));
    m_doc.sLastFullDocname.clear();
    m_enabled = true;
    m_snapshotCount = 0;
    m_redoCount = 0;
    CleanUndoFiles();
    Save(true);
    m_events.RefreshButtons();
}

bool clsLib_UndoRedo::GraphHasChanged() const { return m_modified || m_doc.diagram().changed(); }

void clsLib_UndoRedo::StoreGraphChanges()
{
    if (m_events.ModeCommand())
        return;
    Diagram& d = m_doc.diagram();
    if (!d.changed())
        return;
    m_modified = true;
    d.setChanged(false);
    Save(false);
}

void clsLib_UndoRedo::ClearGraphChanges()
{
    m_modified = false;
    m_doc.diagram().setChanged(false);
}

bool clsLib_UndoRedo::CanUndo() const
{
    return m_snapshotCount > 1 && m_enabled && !m_doc.diagram().readOnly();
}

bool clsLib_UndoRedo::CanRedo() const
{
    return m_redoCount > 0 && m_enabled && !m_doc.diagram().readOnly();
}

void clsLib_UndoRedo::Undo()
{
    if (!CanUndo())
        return;
    m_snapshotCount -= 2;
    ++m_redoCount;
    if (!Load(m_snapshotCount)) {
        // The history stays where it was; the diagram is untouched.
        m_snapshotCount += 2;
        --m_redoCount;
        return;
    }
    ++m_snapshotCount;
    m_events.RefreshButtons();
}

void clsLib_UndoRedo::Redo()
{
    if (!CanRedo())
        return;
    --m_redoCount;
    if (!Load(m_snapshotCount)) {
        ++m_redoCount;
        return;
    }
    ++m_snapshotCount;
    m_events.RefreshButtons();
}

void clsLib_UndoRedo::Save(bool forced)
{
    if (m_events.ModeCommand())
        return;
    Diagram& d = m_doc.diagram();
    if ((d.readOnly() || !m_enabled) && !forced)
        return;
    const QString base = MirrorBase(m_doc.sFullDocname);
    if (base.isEmpty()) {
        m_enabled = false;
        return;
    }
    const QString name = SnapshotFile(base, m_snapshotCount);
    ++m_snapshotCount;

    m_events.SaveGraphInfo();
    modLib_Rutas::DeleteFile(name);
    modLib_Rutas::EnsureFolders(modLib_Rutas::FolderOf(name));
    QString error;
    if (!d.saveFile(name, &error))
        modLib_Log::WriteLog(ErrorLine(QStringLiteral("clsUndoRedo.Save"), kFileAccessError, error));
    m_events.CleanTagNode();

    // A new edit discards every snapshot that could have been redone.
    if (m_snapshotCount == 2 || m_redoCount >= 1) {
        m_redoCount = 0;
        m_events.RefreshButtons();
    }
}

bool clsLib_UndoRedo::Load(int n)
{
    const QString name = SnapshotName(n);
    QString error;
    if (name.isEmpty() || !m_doc.diagram().loadFile(name, &error)) {
        modLib_Log::WriteLog(ErrorLine(QStringLiteral("clsUndoRedo.Load: af.LoadFile ") + name,
                                       kFileAccessError, error));
        return false;
    }
    m_events.GetGraphConfig();
    if (n != 0)
        m_doc.diagram().setChanged(true);
    else
        ClearGraphChanges();
    return true;
}

void clsLib_UndoRedo::CleanUndoFiles() { CleanFiles(MirrorBase(m_doc.sFullDocname)); }

void clsLib_UndoRedo::CleanFiles(const QString& mirrorBase)
{
    if (mirrorBase.isEmpty())
        return;
    const QDir dir(modLib_Rutas::FolderOf(mirrorBase));
    const QString baseName = modLib_Rutas::FileNameOf(mirrorBase);
    const QStringList names =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        if (!IsSnapshotOf(name, baseName))
            continue;
        const QString path = dir.filePath(name);
        if (!modLib_Rutas::DeleteFile(path)) {
            modLib_Log::WriteLog(ErrorLine(QStringLiteral("clsUndoRedo.CleanFiles"), kFileAccessError,
                                           QStringLiteral("cannot delete ") + path));
            return;
        }
    }
}

}  // namespace orvane
