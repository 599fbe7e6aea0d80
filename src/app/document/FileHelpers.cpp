#include "FileHelpers.h"

#include "Paths.h"

#include <QDir>
#include <QFileInfo>

namespace orvane::FileHelpers {

QString errorLine(const QString& routine, int number, const QString& description)
{
    const QString n = number < 0 ? QStringLiteral("-") + QString::number(-qint64(number))
                                 : QStringLiteral(" ") + QString::number(number);
    return QLatin1Char(' ') + routine + QStringLiteral(", Error #") + n + QStringLiteral(": ")
           + description;
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
