// The recent-files list: section "Recent Files", keys RecentFile1..6, most
// recent first. Only saving adds a file; opening does not.

#include "DocumentCommands.h"

#include "AppSettings.h"
#include "DocumentRegistry.h"
#include "FileHelpers.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace orvane::DocumentCommands {

namespace {

QString recentKey(int i) { return QStringLiteral("RecentFile") + QString::number(i); }

QStringList storedRecentFiles()
{
    QStringList stored;
    const auto s = AppSettings::open();
    s->beginGroup(AppSettings::kSectionRecentFiles);
    for (int i = 1; i <= kMaxRecentFiles; ++i)
        stored.append(s->value(recentKey(i)).toString());
    s->endGroup();
    return stored;
}

bool isListed(const QStringList& list, const QString& path)
{
    return std::any_of(list.begin(), list.end(),
                       [&path](const QString& p) { return FileHelpers::samePath(p, path); });
}

bool isExistingFile(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && info.isFile();
}

}  // namespace

void updateRecentFiles(DocumentRegistry& docs, const QString& path)
{
    const QStringList stored = storedRecentFiles();
    QStringList list;
    if (!path.isEmpty() && !isListed(stored, path))
        list.append(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    for (const QString& entry : stored)
        if (list.size() < kMaxRecentFiles && isExistingFile(entry) && !isListed(list, entry))
            list.append(entry);

    {
        const auto s = AppSettings::open();
        s->beginGroup(AppSettings::kSectionRecentFiles);
        for (int i = 1; i <= kMaxRecentFiles; ++i)
            s->setValue(recentKey(i), i <= list.size() ? list.at(i - 1) : QString());
        s->endGroup();
    }
    getRecentFiles(docs);
}

QStringList getRecentFiles(DocumentRegistry& docs)
{
    QStringList list;
    for (const QString& entry : storedRecentFiles())
        if (isExistingFile(entry) && !isListed(list, entry))
            list.append(entry);
    emit docs.recentFilesChanged(list);
    return list;
}

OpenResult openRecentFile(DocumentRegistry& docs, int index)
{
    const QStringList list = getRecentFiles(docs);
    if (index < 0 || index >= list.size())
        return {OpenStatus::Missing, nullptr, {}};
    const OpenResult result = fileOpen(docs, list.at(index));
    getRecentFiles(docs);
    return result;
}

}  // namespace orvane::DocumentCommands
