#pragma once
// Building blocks of the windows' menus: items named after their controls,
// and the six recent-file items that the main window and every document
// window carry.

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace orvane::WindowMenus {

// A menu whose object name (and that of its menu action) is `name`.
QMenu* addMenu(QWidget* owner, const QString& name, const QString& caption);
QMenu* addSubMenu(QMenu* parent, const QString& name, const QString& caption);

// An item whose object name is `name`; `run` is called when it is chosen.
QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                 std::function<void()> run, const QKeySequence& shortcut = {},
                 bool checkable = false);

// A path shown as a menu caption ("&" would start a mnemonic).
QString pathCaption(const QString& path);

// The six recent-file items ("recentFileAction0" to "recentFileAction5"), hidden until
// they show a file, after a separator that shows with them.
struct RecentItems {
    QAction* separator = nullptr;
    QList<QAction*> items;
};
inline constexpr int kRecentItems = 6;
RecentItems addRecentItems(QMenu* menu, std::function<void(int index)> open);
// The items show `paths` in order (at most six); the others are hidden.
void showRecentFiles(const RecentItems& recent, const QStringList& paths);

}  // namespace orvane::WindowMenus
