// The tools this build installs reach the user through the windows.
#include "InstalledTools.h"
#include "WindowTestSupport.h"

#include "ModalTestSupport.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

class InstalledToolsTest : public AppTest {
protected:
    std::unique_ptr<MainWindow> main;
    void SetUp() override
    {
        AppTest::SetUp();
        main = std::make_unique<MainWindow>(&ui, nullptr, installedToolHooks());
        main->show();
    }
    void TearDown() override
    {
        main.reset();
        AppTest::TearDown();
    }
};

}  // namespace

TEST_F(InstalledToolsTest, FindFontsAndAboutAreOfferedWithADocument)
{
    main->newDocument();
    for (const char* key : {"Find", "ReduceFont", "AdjustFont", "EnlargeFont"}) {
        EXPECT_TRUE(main->hasTool(QString::fromLatin1(key))) << key;
        ASSERT_NE(main->button(QString::fromLatin1(key)), nullptr) << key;
        EXPECT_TRUE(main->button(QString::fromLatin1(key))->isEnabled()) << key;
    }
    EXPECT_TRUE(main->menuItem(QStringLiteral("aboutAction"))->isEnabled());
}

TEST_F(InstalledToolsTest, EnlargeAndReduceFontFromTheToolbar)
{
    main->newDocument();
    Diagram& d = main->activeDoc()->document()->fsm.diagram();
    const double size = d.font().size;
    main->button(QStringLiteral("EnlargeFont"))->trigger();
    EXPECT_EQ(d.font().size, size + 1);
    // The font change is one undo step.
    EXPECT_TRUE(main->activeDoc()->document()->undo.canUndo());
    main->button(QStringLiteral("ReduceFont"))->trigger();
    main->button(QStringLiteral("ReduceFont"))->trigger();
    EXPECT_EQ(d.font().size, size - 1);
}

TEST_F(InstalledToolsTest, ASecondStartBringsTheWindowBackAsItWas)
{
    // A maximized window stays maximized; a minimized one comes back to the
    // state it had before.
    main->showMaximized();
    QTest::qWait(1);
    bringToFront(*main);
    EXPECT_TRUE(main->isMaximized());
    main->setWindowState(main->windowState() | Qt::WindowMinimized);
    bringToFront(*main);
    EXPECT_FALSE(main->isMinimized());
    EXPECT_TRUE(main->isMaximized());

    main->showNormal();
    main->resize(700, 500);
    QTest::qWait(1);
    bringToFront(*main);
    EXPECT_EQ(main->size(), QSize(700, 500));
}

TEST_F(InstalledToolsTest, AFindThatMatchesNothingSaysNotFoundInTheStatusBar)
{
    main->newDocument();
    DocumentWindow* w = main->activeDoc();
    ASSERT_TRUE(w);
    main->showStatusMessage(QString());
    w->findWhat = QStringLiteral("nowhere_at_all");
    orvane::testing::onModal([](QDialog* d) { d->accept(); });
    main->button(QStringLiteral("Find"))->trigger();
    EXPECT_EQ(main->statusMessage(), QStringLiteral("\"nowhere_at_all\" not found"));

    // A cancelled search says nothing.
    main->showStatusMessage(QString());
    orvane::testing::onModal([](QDialog* d) { d->reject(); });
    main->button(QStringLiteral("Find"))->trigger();
    EXPECT_EQ(main->statusMessage(), QString());
}
