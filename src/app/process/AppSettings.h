#pragma once
// The per-user settings: an INI file of the organisation and application
// "Orvane Diagram Editor", one group per section, values stored as text
// (decimal numbers, True/False).

#include <QSettings>
#include <QString>

#include <memory>

namespace orvane::AppSettings {

inline const QString kApplicationName = QStringLiteral("Orvane Diagram Editor");
inline const QString kSectionSettings = QStringLiteral("Settings");
inline const QString kSectionRecentFiles = QStringLiteral("Recent Files");

// Keeps the settings file in `folder` from now on (tests point it at a
// temporary folder). Without a call, $ORVANE_SETTINGS_DIR, else the user's
// configuration folder.
void setSettingsFolder(const QString& folder);

// The settings store; every value written through it is on disk when it is
// destroyed.
std::unique_ptr<QSettings> open();

// The value of section/key, or `def` when the key is missing.
QString getSetting(const QString& section, const QString& key, const QString& def = QString());
void saveSetting(const QString& section, const QString& key, const QString& value);
// A number leniently read (a non-numeric text reads as 0).
int getSettingInt(const QString& section, const QString& key, int def);
// True for the word True (any case) or a non-zero number.
bool getSettingBool(const QString& section, const QString& key, bool def);
void saveSettingBool(const QString& section, const QString& key, bool value);

// The main window's placement in twips (section "Settings").
struct MainPlacement {
    int left = 1000;
    int top = 1000;
    int width = 6500;
    int height = 6500;
};
MainPlacement getMainPlacement();
void saveMainPlacement(const MainPlacement& p);
// False before the first placement was saved (a first start).
bool hasMainPlacement();
// Whether the main window was maximized when it closed (key "MainMaximized").
bool getMainMaximized();
void saveMainMaximized(bool value);

// The find tool's case choice (key "FindCaseSens").
bool getFindCaseSens();
void saveFindCaseSens(bool value);

}  // namespace orvane::AppSettings
