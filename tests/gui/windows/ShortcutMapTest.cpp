// Every key of the main window and its document windows reaches exactly one
// command: no two enabled actions that can fire in one window share a key,
// and File > Close's keys close the active document.

#include "WindowTestSupport.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <map>

using namespace orvane;
using namespace orvane::test;

namespace {

QString ambiguityText;

void recordAmbiguity(QtMsgType, const QMessageLogContext&, const QString& text)
{
    if (text.contains(QLatin1String("Ambiguous shortcut")))
        ambiguityText += text;
}

void collectMenu(const QMenu* menu, QList<QAction*>& out)
{
    for (QAction* a : menu->actions()) {
        out.append(a);
        if (a->menu())
            collectMenu(a->menu(), out);
    }
}

// The actions that can take a key while the main window is active: the menu
// bar's menus, the toolbar, and the frame menus of the document windows.
QList<QAction*> liveActions(MainWindow& main)
{
    QList<QAction*> all;
    for (QAction* a : main.menuBar()->actions())
        if (a->menu())
            collectMenu(a->menu(), all);
    all += main.findChild<QToolBar*>()->actions();
    for (QMdiSubWindow* sub : main.mdiArea()->subWindowList())
        if (sub->systemMenu())
            collectMenu(sub->systemMenu(), all);
    return all;
}

// "key: first action / second action" for every key held by two actions.
std::string clashes(MainWindow& main)
{
    std::map<QString, QString> owner;
    QStringList found;
    for (QAction* a : liveActions(main)) {
        if (!a->isEnabled())
            continue;
        for (const QKeySequence& k : a->shortcuts()) {
            const QString key = k.toString();
            const QString name = a->objectName().isEmpty() ? a->text() : a->objectName();
            auto [it, fresh] = owner.emplace(key, name);
            if (!fresh)
                found << key + QStringLiteral(": ") + it->second + QStringLiteral(" / ") + name;
        }
    }
    return found.join(QStringLiteral("; ")).toStdString();
}

class ShortcutMapTest : public WindowTest {};

}  // namespace

TEST_F(ShortcutMapTest, NoKeyIsHeldByTwoCommandsWithNoneOneOrSeveralDocuments)
{
    EXPECT_EQ(clashes(*main), std::string());
    main->newDocument();
    EXPECT_EQ(clashes(*main), std::string()) << "one restored document";
    main->newDocument();
    main->activeDoc()->subWindow()->showMaximized();
    QTest::qWait(1);
    EXPECT_EQ(clashes(*main), std::string()) << "a maximized second document";
    main->documents().setActive(main->docWindows().first()->document());
    EXPECT_EQ(clashes(*main), std::string()) << "the first document active again";
}

TEST_F(ShortcutMapTest, TheCloseKeysCloseTheActiveDocumentOnly)
{
    main->newDocument();
    main->newDocument();
    const QList<QKeySequence> keys =
        main->activeDoc()->action(QStringLiteral("closeAction"))->shortcuts();
    ASSERT_FALSE(keys.isEmpty());
    ambiguityText.clear();
    const QtMessageHandler old = qInstallMessageHandler(recordAmbiguity);
    DocumentWindow* second = main->activeDoc();
    const QKeyCombination key = keys.first()[0];
    QTest::keyClick(second->view(), key.key(), key.keyboardModifiers());
    QTest::qWait(20);
    qInstallMessageHandler(old);
    EXPECT_EQ(ambiguityText.toStdString(), "");
    ASSERT_EQ(main->docWindows().size(), 1);
    EXPECT_NE(main->docWindows().first(), second);
}
