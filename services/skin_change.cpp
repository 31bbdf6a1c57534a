#include "services/skin_change.h"

#include "platform/folders.h"
#include "platform/trace.h"

#include <QSettings>

static constexpr const char* kFlagsKey = "SKINIMAGE/FLAGS";
static constexpr const char* kImageKey = "SKINIMAGE/IMAGE";
static constexpr const char* kColourKey = "SKINIMAGE/COLOR";

enum SkinFlags { kResetFlag = 0, kImageFlag = 1, kColourFlag = 2 };

SkinObserver& SkinChangeObserver()
{
    static SkinObserver observer;
    return observer;
}

std::string SkinRecordPath()
{
    return UserDataFolder() + kSkinRecordName;
}

bool WriteSkinRecord(const std::string& path, const SkinChangedParam& skin, bool reset)
{
    QSettings record(QString::fromStdString(path), QSettings::IniFormat);
    record.clear();
    if (skin.useColour) {
        record.setValue(kFlagsKey, QString::number(kColourFlag));
        record.setValue(kColourKey, QString::number(skin.colour, 16).rightJustified(8, '0').toUpper());
    } else {
        record.setValue(kFlagsKey, QString::number(reset ? kResetFlag : kImageFlag));
        record.setValue(kImageKey, skin.image);
    }
    record.sync();
    if (record.status() == QSettings::NoError)
        return true;
    TraceF("unable to write %s", path.c_str());
    return false;
}

std::optional<SkinChangedParam> ReadSkinRecord(const std::string& path)
{
    const QSettings record(QString::fromStdString(path), QSettings::IniFormat);
    if (record.status() != QSettings::NoError)
        return std::nullopt;
    bool isNumber = false;
    const int flags = record.value(kFlagsKey).toString().toInt(&isNumber);
    if (!isNumber)
        return std::nullopt;
    SkinChangedParam skin;
    if (flags == kColourFlag) {
        const QString text = record.value(kColourKey).toString();
        skin.useColour = true;
        skin.colour = text.toUInt(&isNumber, 16);
        if (!isNumber || text.size() != 8)
            return std::nullopt;
        return skin;
    }
    if (flags != kResetFlag && flags != kImageFlag)
        return std::nullopt;
    skin.image = record.value(kImageKey).toString();
    if (skin.image.isEmpty())
        return std::nullopt;
    return skin;
}
