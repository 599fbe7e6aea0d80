#include "AppSettings.h"

#include <QDir>

namespace orvane::AppSettings {

namespace {

QString& settingsFolder()
{
    static QString folder;
    return folder;
}

// Leading blanks, an optional sign and the digits that follow; 0 otherwise.
int lenientInt(const QString& text, int def)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return def;
    qsizetype i = 0;
    if (t.at(0) == QLatin1Char('-') || t.at(0) == QLatin1Char('+'))
        ++i;
    qsizetype end = i;
    while (end < t.size() && t.at(end).isDigit() && end - i < 9)
        ++end;
    if (end == i)
        return 0;
    return t.left(end).toInt();
}

}  // namespace

void setSettingsFolder(const QString& folder) { settingsFolder() = folder; }

std::unique_ptr<QSettings> open()
{
    QString folder = settingsFolder();
    if (folder.isEmpty())
        folder = qEnvironmentVariable("ORVANE_SETTINGS_DIR");
    if (folder.isEmpty())
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                           kApplicationName, kApplicationName);
    return std::make_unique<QSettings>(
        QDir(folder).filePath(kApplicationName + QStringLiteral(".ini")), QSettings::IniFormat);
}

QString getSetting(const QString& section, const QString& key, const QString& def)
{
    const auto s = open();
    const QVariant v = s->value(section + QLatin1Char('/') + key);
    return v.isValid() ? v.toString() : def;
}

void saveSetting(const QString& section, const QString& key, const QString& value)
{
    const auto s = open();
    s->setValue(section + QLatin1Char('/') + key, value);
}

int getSettingInt(const QString& section, const QString& key, int def)
{
    const QString v = getSetting(section, key);
    return v.isNull() ? def : lenientInt(v, def);
}

bool getSettingBool(const QString& section, const QString& key, bool def)
{
    const QString v = getSetting(section, key).trimmed();
    if (v.isEmpty())
        return def;
    if (v.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (v.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    return lenientInt(v, 0) != 0;
}

void saveSettingBool(const QString& section, const QString& key, bool value)
{
    saveSetting(section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

MainPlacement getMainPlacement()
{
    const MainPlacement def;
    MainPlacement p;
    p.left = getSettingInt(kSectionSettings, QStringLiteral("MainLeft"), def.left);
    p.top = getSettingInt(kSectionSettings, QStringLiteral("MainTop"), def.top);
    p.width = getSettingInt(kSectionSettings, QStringLiteral("MainWidth"), def.width);
    p.height = getSettingInt(kSectionSettings, QStringLiteral("MainHeight"), def.height);
    return p;
}

void saveMainPlacement(const MainPlacement& p)
{
    saveSetting(kSectionSettings, QStringLiteral("MainLeft"), QString::number(p.left));
    saveSetting(kSectionSettings, QStringLiteral("MainTop"), QString::number(p.top));
    saveSetting(kSectionSettings, QStringLiteral("MainWidth"), QString::number(p.width));
    saveSetting(kSectionSettings, QStringLiteral("MainHeight"), QString::number(p.height));
}

bool hasMainPlacement()
{
    return !getSetting(kSectionSettings, QStringLiteral("MainWidth")).isEmpty();
}

bool getMainMaximized()
{
    return getSettingBool(kSectionSettings, QStringLiteral("MainMaximized"), false);
}

void saveMainMaximized(bool value)
{
    saveSettingBool(kSectionSettings, QStringLiteral("MainMaximized"), value);
}

bool getFindCaseSens()
{
    return getSettingBool(kSectionSettings, QStringLiteral("FindCaseSens"), false);
}

void saveFindCaseSens(bool value)
{
    saveSettingBool(kSectionSettings, QStringLiteral("FindCaseSens"), value);
}

}  // namespace orvane::AppSettings
