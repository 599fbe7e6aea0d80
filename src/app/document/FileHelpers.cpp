#include "FileHelpers.h"

#include "AtomicFile.h"
#include "Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace orvane::FileHelpers {

namespace {

constexpr QFile::Permissions kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
constexpr qint64 kCopyChunk = 1 << 20;

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

}  // namespace

QString errorLine(const QString& routine, int number, const QString& description)
{
    const QString n = number < 0 ? QStringLiteral("-") + QString::number(-qint64(number))
                                 : QStringLiteral(" ") + QString::number(number);
    return QLatin1Char(' ') + routine + QStringLiteral(", Error #") + n + QStringLiteral(": ")
           + description;
}

void makeWritable(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && info.isFile() && !(info.permissions() & QFile::WriteOwner))
        QFile::setPermissions(path, info.permissions() | QFile::WriteOwner);
}

bool isProtectedFile(const QString& path)
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

bool writeTextFile(const QString& path, const QString& text, QString* error)
{
    return AtomicFile::replace(path, text.toUtf8(), error);
}

bool copyFileSafely(const QString& source, const QString& target, QString* error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, in.errorString());
    makeWritable(target);
    QSaveFile out(target);
    if (!AtomicFile::open(out))
        return fail(error, out.errorString());
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kCopyChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            return fail(error, in.errorString());
        }
        if (out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return fail(error, out.errorString());
        }
    }
    if (!out.commit())
        return fail(error, out.errorString());
    return true;
}

QString withoutExtension(const QString& path)
{
    const QString name = Paths::fileNameOf(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return path;
    return path.left(path.size() - (name.size() - dot));
}

QString canonicalPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString canonical = QFileInfo(absolute).canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    // A file not written yet: its folder may still be reached through a link.
    const QString folder = QFileInfo(Paths::folderOf(absolute)).canonicalFilePath();
    if (folder.isEmpty())
        return absolute;
    return QDir(folder).filePath(Paths::fileNameOf(absolute));
}

bool samePath(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    return canonicalPath(a) == canonicalPath(b);
}

}  // namespace orvane::FileHelpers
