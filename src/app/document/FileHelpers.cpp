#include "FileHelpers.h"

#include "AtomicFile.h"
#include "modLib_Rutas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace orvane::FileHelpers {

namespace {

constexpr QFile::Permissions kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
constexpr qint64 kCopyChunk = 1 << 20;

bool Fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

}  // namespace

QString ErrorLine(const QString& routine, int number, const QString& description)
{
    const QString n = number < 0 ? QStringLiteral("-") + QString::number(-qint64(number))
                                 : QStringLiteral(" ") + QString::number(number);
    return QLatin1Char(' ') + routine + QStringLiteral(", Error #") + n + QStringLiteral(": ")
           + description;
}

void MakeWritable(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && info.isFile() && !(info.permissions() & QFile::WriteOwner))
        QFile::setPermissions(path, info.permissions() | QFile::WriteOwner);
}

bool IsProtectedFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return false;
    if (!info.exists())  // a dangling link: nothing sound to replace
        return true;
    if (!info.isFile())
        return true;
    return !(info.permissions() & kAnyWrite) || !info.isWritable();
}

bool WriteTextFile(const QString& path, const QString& text, QString* error)
{
    return AtomicFile::Replace(path, text.toUtf8(), error);
}

bool CopyFileSafely(const QString& source, const QString& target, QString* error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return Fail(error, in.errorString());
    MakeWritable(target);
    QSaveFile out(target);
    if (!AtomicFile::Open(out))
        return Fail(error, out.errorString());
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kCopyChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            return Fail(error, in.errorString());
        }
        if (out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return Fail(error, out.errorString());
        }
    }
    if (!out.commit())
        return Fail(error, out.errorString());
    return true;
}

QString WithoutExtension(const QString& path)
{
    const QString name = modLib_Rutas::FileNameOf(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return path;
    return path.left(path.size() - (name.size() - dot));
}

QString CanonicalPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString canonical = QFileInfo(absolute).canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    // A file not written yet: its folder may still be reached through a link.
    const QString folder = QFileInfo(modLib_Rutas::FolderOf(absolute)).canonicalFilePath();
    if (folder.isEmpty())
        return absolute;
    return QDir(folder).filePath(modLib_Rutas::FileNameOf(absolute));
}

bool SamePath(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    return CanonicalPath(a) == CanonicalPath(b);
}

}  // namespace orvane::FileHelpers
