// The recent-files list: section "Recent Files", keys RecentFile1..6, most
// recent first. Only saving adds a file; opening does not.

#include "modMain_Files.h"

#include "AppSettings.h"
#include "DocumentRegistry.h"
#include "FileHelpers.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace orvane::modMain {

namespace {

QString RecentKey(int i) { return QStringLiteral("RecentFile") + QString::number(i); }

QStringList StoredRecentFiles()
{
    QStringList stored;
    const auto s = AppSettings::Open();
    s->beginGroup(AppSettings::kSectionRecentFiles);
    for (int i = 1; i <= kMaxRecentFiles; ++i)
        stored.append(s->value(RecentKey(i)).toString());
    s->endGroup();
    return stored;
}

bool IsListed(const QStringList& list, const QString& path)
{
    return std::any_of(list.begin(), list.end(),
                       [&path](const QString& p) { return FileHelpers::SamePath(p, path); });
}

bool IsExistingFile(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && info.isFile();
}

}  // namespace

void UpdateRecentFiles(DocumentRegistry& docs, const QString& path)
{
    const QStringList stored = StoredRecentFiles();
    QStringList list;
    if (!path.isEmpty() && !IsListed(stored, path))
        list.append(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    for (const QString& entry : stored)
        if (list.size() < kMaxRecentFiles && IsExistingFile(entry) && !IsListed(list, entry))
            list.append(entry);

    {
        const auto s = AppSettings::Open();
        s->beginGroup(AppSettings::kSectionRecentFiles);
        for (int i = 1; i <= kMaxRecentFiles; ++i)
            s->setValue(RecentKey(i), i <= list.size() ? list.at(i - 1) : QString());
        s->endGroup();
    }
    GetRecentFiles(docs);
}

QStringList GetRecentFiles(DocumentRegistry& docs)
{
    QStringList list;
    for (const QString& entry : StoredRecentFiles())
        if (IsExistingFile(entry) && !IsListed(list, entry))
            list.append(entry);
    emit docs.recentFilesChanged(list);
    return list;
}

OpenResult OpenRecentFile(DocumentRegistry& docs, int index)
{
    const QStringList list = GetRecentFiles(docs);
    if (index < 0 || index >= list.size())
        return {OpenStatus::Missing, nullptr, {}};
    const OpenResult result = FileOpen(docs, list.at(index));
    GetRecentFiles(docs);
    return result;
}

}  // namespace orvane::modMain
