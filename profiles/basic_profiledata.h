#pragma once
// The profile of one device: the "Device" entry of the current profile file
// as a JSON tree, with a reader and a writer per settings section. Writers
// change the tree only; Save puts it on the disk. A missing or damaged
// profile file is replaced by the family's default profile on loading.

#include "profiles/records.h"

#include <json/json.h>

#include <string>
#include <vector>

class CBasicProfiledata {
public:
    explicit CBasicProfiledata(int familySlot = kMousePadSlot);
    virtual ~CBasicProfiledata() = default;
    CBasicProfiledata(const CBasicProfiledata&) = default;
    CBasicProfiledata& operator=(const CBasicProfiledata&) = default;

    // Empty paths leave the previous ones.
    void SetProfilePath(const std::string& path);
    void SetDefaultProfilePath(const std::string& path);
    const std::string& GetProfilePath() const { return m_profilePath; }
    const std::string& GetDefaultProfilePath() const { return m_defaultProfilePath; }
    void SetLightConfigPath(const std::string& path) { m_lightConfigPath = path; }
    const std::string& GetLightConfigPath() const { return m_lightConfigPath; }

    // Position of the device's entry in the file's "Device" array.
    void SetDeviceEntryIndex(int index);
    // The family's row in the light configuration's "LightInfo".
    void SetFamilySlot(int slot) { m_familySlot = slot; }
    // Light modes below this number are built in; custom effects follow.
    void SetBuiltInLightModeCount(int count) { m_builtInLightModeCount = count; }

    // Reads the profile's entry; when it is missing, the default profile's
    // entry takes its place and is written to the file at once. The result
    // refers to the kept entry, valid until the next load.
    const Json::Value& LoadProfile(const std::string& path);
    // The same into the secondary tree, for changing other profiles.
    const Json::Value& LoadOtherProfile(const std::string& path);
    const Json::Value& LoadLightConfig(const std::string& path);

    // Each returns true when the file was written.
    virtual bool Save();
    virtual bool SaveEntry(const Json::Value& value, const std::string& path);
    virtual bool SaveOther(const std::string& path);
    virtual bool WriteDocument(const Json::Value& value, const std::string& path);

    LightInfoRecord ReadLightInfo();
    void WriteLightInfo(const LightInfoRecord& record);
    AudioLightRecord ReadAudioLightInfo();
    void WriteAudioLightInfo(const AudioLightRecord& record);
    std::vector<LightListEntry> ReadLightList();
    // The steps of the selected custom effect; empty for built-in modes.
    std::vector<LedEffectStep> ReadCustomLightEffect();
    // Names of the family's custom effects in the light configuration.
    std::vector<std::wstring> ReadCustomLightNames() const;
    std::vector<KeyListEntry> ReadKeyList();
    void WriteKeyList(const std::vector<KeyListEntry>& list);
    std::vector<KeyListEntry> ReadOtherKeyList();
    void WriteOtherKeyList(const std::vector<KeyListEntry>& list);

    const Json::Value& Entry() const { return m_entry; }

protected:
    // The entry, made an object first when the profile had none.
    Json::Value& EditableEntry();

private:
    Json::Value LoadEntry(const std::string& path);
    Json::Value& EntrySlotOf(Json::Value& document) const;
    Json::Value& DocumentOnDisk(const std::string& path);
    bool StoreEntry(Json::Value& entry, const std::string& path);
    std::string LightEffectPath(const std::string& guid) const;

    std::string m_profilePath;
    std::string m_defaultProfilePath;
    std::string m_lightConfigPath;
    std::string m_lightConfigFolder;

    Json::Value m_entry;
    Json::Value m_otherEntry;
    Json::Value m_lightConfig;
    int m_entryIndex = 0;
    int m_familySlot;
    int m_builtInLightModeCount = 0;

    LightInfoRecord m_lightInfo;
    AudioLightRecord m_audioLight;
    std::vector<LightListEntry> m_lightList;
    std::vector<LedEffectStep> m_effectSteps;
    std::vector<KeyListEntry> m_keyList;
    std::vector<KeyListEntry> m_otherKeyList;

    // The file as last read or written here, so saving needs no second parse
    // while the file is unchanged. The entry's own slot in the cached document
    // is stale: every save replaces it, and every load parses the file afresh.
    struct CachedFile {
        std::string path;
        std::string bytes;
        Json::Value document;
        bool valid = false;
    } m_cache;
};
