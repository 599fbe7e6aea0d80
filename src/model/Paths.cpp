#include "Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orvane::Paths {

namespace {
const QChar kSep = QLatin1Char('/');
}

QString fileNameOf(const QString& path)
{
    const qsizetype p = path.lastIndexOf(kSep);
    return p < 0 ? path : path.mid(p + 1);
}

QString baseName(const QString& path)
{
    const QString name = fileNameOf(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString folderOf(const QString& path)
{
    const qsizetype p = path.lastIndexOf(kSep);
    if (p < 0)
        return {};
    if (p == 0)
        return QStringLiteral("/");
    return path.left(p);
}

QString stripExtension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : path.left(dot);
}

QString absolutePath(const QString& path)
{
    if (path.startsWith(kSep))
        return path;
    QString cwd = QDir::currentPath();
    if (cwd.endsWith(kSep))
        cwd.chop(1);
    if (path.startsWith(QLatin1String("./")))
        return cwd + path.mid(1);
    return cwd + kSep + path;
}

void ensureFolders(const QString& path)
{
    if (path.isEmpty())
        return;
    QDir().mkpath(path);
}

QString tempFolder()
{
    QString t = QDir::tempPath();
    if (t.isEmpty())
        t = QStringLiteral("/tmp");
    if (!t.endsWith(kSep))
        t += kSep;
    return t;
}

bool fileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    return QFileInfo::exists(path);
}

bool deleteFile(const QString& path)
{
    QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return false;
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner | QFile::ReadOwner);
    return QFile::remove(path);
}

}  // namespace orvane::Paths
