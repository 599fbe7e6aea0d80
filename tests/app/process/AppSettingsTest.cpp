#include "AppTestSupport.h"

using namespace orvane;

namespace {

using SettingsTest = test::AppTest;

TEST_F(SettingsTest, MissingKeysGiveTheDefaultsAndValuesAreStoredAsText)
{
    const AppSettings::MainPlacement p = AppSettings::getMainPlacement();
    EXPECT_EQ(p.left, 1000);
    EXPECT_EQ(p.top, 1000);
    EXPECT_EQ(p.width, 6500);
    EXPECT_EQ(p.height, 6500);
    EXPECT_FALSE(AppSettings::getFindCaseSens());

    AppSettings::saveFindCaseSens(true);
    AppSettings::saveMainPlacement({10, 20, 3000, 4000});
    QSettings ini(settingsDir + QStringLiteral("/Orvane Diagram Editor.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("Settings/FindCaseSens")).toString(),
              QStringLiteral("True"));
    EXPECT_EQ(ini.value(QStringLiteral("Settings/MainWidth")).toString(), QStringLiteral("3000"));
    EXPECT_TRUE(AppSettings::getFindCaseSens());
    EXPECT_EQ(AppSettings::getMainPlacement().top, 20);

    // Values written by hand are read leniently.
    AppSettings::saveSetting(AppSettings::kSectionSettings, QStringLiteral("MainLeft"),
                             QStringLiteral("12abc"));
    AppSettings::saveSetting(AppSettings::kSectionSettings, QStringLiteral("MainTop"),
                             QStringLiteral("abc"));
    EXPECT_EQ(AppSettings::getMainPlacement().left, 12);
    EXPECT_EQ(AppSettings::getMainPlacement().top, 0);
}

}  // namespace
