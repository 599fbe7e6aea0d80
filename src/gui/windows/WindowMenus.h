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
QMenu* AddMenu(QWidget* owner, const QString& name, const QString& caption);
QMenu* AddSubMenu(QMenu* parent, const QString& name, const QString& caption);

// An item whose object name is `name`; `run` is called when it is chosen.
QAction* AddItem(QMenu* menu, const QString& name, const QString& caption,
                 std::function<void()> run, const QKeySequence& shortcut = {},
                 bool checkable = false);

// A path shown as a menu caption ("&" would start a mnemonic).
QString PathCaption(const QString& path);

// The six recent-file items ("mnuFileMRU0" to "mnuFileMRU5"), hidden until
// they show a file, after a separator that shows with them.
struct RecentItems {
    QAction* separator = nullptr;
    QList<QAction*> items;
};
inline constexpr int kRecentItems = 6;
RecentItems AddRecentItems(QMenu* menu, std::function<void(int index)> open);
// The items show `paths` in order (at most six); the others are hidden.
void ShowRecentFiles(const RecentItems& recent, const QStringList& paths);

}  // namespace orvane::WindowMenus
