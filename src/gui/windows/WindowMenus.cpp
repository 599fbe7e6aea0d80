#include "WindowMenus.h"

#include <QAction>
#include <QMenu>

namespace orvane::WindowMenus {

QMenu* addMenu(QWidget* owner, const QString& name, const QString& caption)
{
    auto* menu = new QMenu(caption, owner);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

QMenu* addSubMenu(QMenu* parent, const QString& name, const QString& caption)
{
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                 std::function<void()> run, const QKeySequence& shortcut, bool checkable)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    a->setCheckable(checkable);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    if (run)
        QObject::connect(a, &QAction::triggered, menu, [run = std::move(run)] { run(); });
    return a;
}

QString pathCaption(const QString& path)
{
    QString caption = path;
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return caption;
}

RecentItems addRecentItems(QMenu* menu, std::function<void(int index)> open)
{
    RecentItems recent;
    recent.separator = menu->addSeparator();
    recent.separator->setVisible(false);
    for (int i = 0; i < kRecentItems; ++i) {
        QAction* a = addItem(menu, QStringLiteral("recentFileAction") + QString::number(i),
                             QString(), [open, i] { open(i); });
        a->setVisible(false);
        recent.items.append(a);
    }
    return recent;
}

void showRecentFiles(const RecentItems& recent, const QStringList& paths)
{
    for (qsizetype i = 0; i < recent.items.size(); ++i) {
        QAction* a = recent.items.at(i);
        const bool shown = i < paths.size();
        a->setText(shown ? pathCaption(paths.at(i)) : QString());
        a->setData(shown ? paths.at(i) : QString());
        a->setVisible(shown);
    }
    recent.separator->setVisible(!paths.isEmpty());
}

}  // namespace orvane::WindowMenus
