#include "AppSettings.h"

#include <QDir>

namespace orvane::AppSettings {

namespace {

QString& Folder()
{
    static QString folder;
    return folder;
}

// Leading blanks, an optional sign and the digits that follow; 0 otherwise.
int LenientInt(const QString& text, int def)
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

void SetSettingsFolder(const QString& folder) { Folder() = folder; }

std::unique_ptr<QSettings> Open()
{
    QString folder = Folder();
    if (folder.isEmpty())
        folder = qEnvironmentVariable("ORVANE_SETTINGS_DIR");
    if (folder.isEmpty())
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                           kApplicationName, kApplicationName);
    return std::make_unique<QSettings>(
        QDir(folder).filePath(kApplicationName + QStringLiteral(".ini")), QSettings::IniFormat);
}

QString GetSetting(const QString& section, const QString& key, const QString& def)
{
    const auto s = Open();
    const QVariant v = s->value(section + QLatin1Char('/') + key);
    return v.isValid() ? v.toString() : def;
}

void SaveSetting(const QString& section, const QString& key, const QString& value)
{
    const auto s = Open();
    s->setValue(section + QLatin1Char('/') + key, value);
}

int GetSettingInt(const QString& section, const QString& key, int def)
{
    const QString v = GetSetting(section, key);
    return v.isNull() ? def : LenientInt(v, def);
}

bool GetSettingBool(const QString& section, const QString& key, bool def)
{
    const QString v = GetSetting(section, key).trimmed();
    if (v.isEmpty())
        return def;
    if (v.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (v.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    return LenientInt(v, 0) != 0;
}

void SaveSettingBool(const QString& section, const QString& key, bool value)
{
    SaveSetting(section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

MainPlacement GetMainPlacement()
{
    const MainPlacement def;
    MainPlacement p;
    p.left = GetSettingInt(kSectionSettings, QStringLiteral("MainLeft"), def.left);
    p.top = GetSettingInt(kSectionSettings, QStringLiteral("MainTop"), def.top);
    p.width = GetSettingInt(kSectionSettings, QStringLiteral("MainWidth"), def.width);
    p.height = GetSettingInt(kSectionSettings, QStringLiteral("MainHeight"), def.height);
    return p;
}

void SaveMainPlacement(const MainPlacement& p)
{
    SaveSetting(kSectionSettings, QStringLiteral("MainLeft"), QString::number(p.left));
    SaveSetting(kSectionSettings, QStringLiteral("MainTop"), QString::number(p.top));
    SaveSetting(kSectionSettings, QStringLiteral("MainWidth"), QString::number(p.width));
    SaveSetting(kSectionSettings, QStringLiteral("MainHeight"), QString::number(p.height));
}

bool GetFindCaseSens()
{
    return GetSettingBool(kSectionSettings, QStringLiteral("FindCaseSens"), false);
}

void SaveFindCaseSens(bool value)
{
    SaveSettingBool(kSectionSettings, QStringLiteral("FindCaseSens"), value);
}

}  // namespace orvane::AppSettings
