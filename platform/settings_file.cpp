#include "platform/settings_file.h"

#include "platform/product.h"
#include "platform/trace.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <charconv>

static constexpr const char* kLanguageKey = "Software/LANGUAGE";
static constexpr const char* kInstalledVersionKey = "Uninstall/DisplayVersion";

std::string SettingsFilePath()
{
    const QString configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return (configHome + '/' + kProductTitle + ".ini").toStdString();
}

bool SettingsFileExists()
{
    return QFileInfo::exists(QString::fromStdString(SettingsFilePath()));
}

static bool WriteValue(const char* key, const QString& value)
{
    QSettings settings(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
    // Every start stores the language again: an unchanged value is not
    // written, which spares the disk flush of a rewrite.
    if (SettingsFileExists() && settings.value(key).toString() == value)
        return true;
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    TraceF("unable to write %s to %s", key, SettingsFilePath().c_str());
    return false;
}

std::optional<uint32_t> ReadLanguageId()
{
    if (!SettingsFileExists())
        return std::nullopt;
    QSettings settings(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
    bool isNumber = false;
    const uint32_t id = settings.value(kLanguageKey).toString().toUInt(&isNumber);
    if (!isNumber)
        return std::nullopt;
    return id;
}

bool WriteLanguageId(uint32_t languageId)
{
    return WriteValue(kLanguageKey, QString::number(languageId));
}

std::optional<std::string> ReadInstalledVersion()
{
    if (!SettingsFileExists())
        return std::nullopt;
    QSettings settings(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
    const QVariant value = settings.value(kInstalledVersionKey);
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdString();
}

bool RecordInstalledVersion(const std::string& version, std::optional<uint32_t> defaultLanguageId)
{
    if (!defaultLanguageId)
        return WriteValue(kInstalledVersionKey, QString::fromStdString(version));
    QSettings settings(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
    settings.setValue(kInstalledVersionKey, QString::fromStdString(version));
    if (!settings.contains(kLanguageKey))
        settings.setValue(kLanguageKey, QString::number(*defaultLanguageId));
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    TraceF("unable to write the installation to %s", SettingsFilePath().c_str());
    return false;
}

int VersionNumber(const std::string& version)
{
    std::string digits;
    for (char c : version) {
        if (c == '.')
            continue;
        if (c < '0' || c > '9')
            return 0;
        digits += c;
    }
    int number = 0;
    const auto [stop, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return error == std::errc() ? number : 0;
}
