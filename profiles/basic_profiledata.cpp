#include "profiles/basic_profiledata.h"

#include "platform/trace.h"
#include "profiles/atomic_file.h"
#include "profiles/damaged_file.h"
#include "profiles/json_access.h"
#include "profiles/json_file.h"
#include "profiles/profile_paths.h"


namespace {

// A profile file holds one entry per device; pages use position 0.
constexpr int kMaxDeviceEntries = 16;

template <typename Record>
struct ByteField {
    const char* key;
    uint8_t Record::*member;
};

constexpr ByteField<LightInfoRecord> kLightInfoBytes[] = {
    {"SelectItem", &LightInfoRecord::selectItem}, {"Light", &LightInfoRecord::light},
    {"Speed", &LightInfoRecord::speed},           {"Fx", &LightInfoRecord::fx},
    {"Red", &LightInfoRecord::red},               {"Green", &LightInfoRecord::green},
    {"Blue", &LightInfoRecord::blue},             {"ZZCCLedMode", &LightInfoRecord::zzccLedMode},
    {"CustomGroup", &LightInfoRecord::customGroup}, {"OldLedmode", &LightInfoRecord::oldLedMode},
};
constexpr const char* kLightInfoMultiColor = "MultiColor";

constexpr ByteField<AudioLightRecord> kAudioLightBytes[] = {
    {"AudioMode", &AudioLightRecord::audioMode}, {"BkColorR", &AudioLightRecord::bkColorR},
    {"BkColorG", &AudioLightRecord::bkColorG},   {"BkColorB", &AudioLightRecord::bkColorB},
    {"FgColorR", &AudioLightRecord::fgColorR},   {"FgColorG", &AudioLightRecord::fgColorG},
    {"FgColorB", &AudioLightRecord::fgColorB},
};
constexpr const char* kAudioSevenColor = "7ColorFlags";
constexpr const char* kAudioColorType = "ColorTypeFlags";
// The colour the audio edits show is not kept between sessions: a profile
// that has audio lighting always starts on the foreground colour.
constexpr uint8_t kAudioColorTypeOnLoad = 1;

constexpr ByteField<LightListEntry> kLightListBytes[] = {
    {"LEDREGMode", &LightListEntry::regMode}, {"LEDBrightness", &LightListEntry::brightness},
    {"LEDSpeed", &LightListEntry::speed},     {"red", &LightListEntry::red},
    {"green", &LightListEntry::green},        {"blue", &LightListEntry::blue},
};
constexpr ByteField<LightListEntry> kLightListFlags[] = {
    {"LEDDirection", &LightListEntry::direction}, {"LEDMultiColor", &LightListEntry::multiColor},
};

constexpr ByteField<LedEffectStep> kEffectStepBytes[] = {
    {"LEDREGMode", &LedEffectStep::regMode}, {"LEDBrightness", &LedEffectStep::brightness},
    {"LEDSpeed", &LedEffectStep::speed},     {"LEDDirection", &LedEffectStep::direction},
    {"LEDMultiColor", &LedEffectStep::multiColor}, {"red", &LedEffectStep::red},
    {"green", &LedEffectStep::green},        {"blue", &LedEffectStep::blue},
};

template <typename Record, size_t N>
void ReadBytes(const Json::Value& object, const ByteField<Record> (&fields)[N], Record& record)
{
    for (const auto& field : fields)
        record.*field.member = static_cast<uint8_t>(IntOf(MemberOf(object, field.key)));
}

template <typename Record, size_t N>
void WriteBytes(const Record& record, const ByteField<Record> (&fields)[N], Json::Value& object)
{
    for (const auto& field : fields)
        object[field.key] = record.*field.member;
}

std::vector<KeyListEntry> KeyListOf(const Json::Value& entry)
{
    const Json::Value& keys = MemberOf(entry, "KeyList");
    std::vector<KeyListEntry> list;
    if (!keys.isArray())
        return list;
    list.reserve(keys.size());
    for (Json::ArrayIndex i = 0; i < keys.size(); ++i) {
        const auto keyNumber = static_cast<uint16_t>(i);
        list.push_back({keyNumber, UnpackKeyCode(IntOf(MemberOf(keys[i], "Assignment"))), keyNumber,
                        UnpackKeyCode(IntOf(MemberOf(keys[i], "DefaultAssignment")))});
    }
    return list;
}

// Only the assignments: the default codes come from the default profile.
void WriteAssignments(const std::vector<KeyListEntry>& list, Json::Value& entry)
{
    Json::Value& keys = ArrayMember(entry, "KeyList");
    for (Json::ArrayIndex i = 0; i < list.size(); ++i)
        AsObject(keys[i])["Assignment"] = PackKeyCode(list[i].assigned);
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

CBasicProfiledata::CBasicProfiledata(int familySlot) : m_familySlot(familySlot) {}

void CBasicProfiledata::SetProfilePath(const std::string& path)
{
    if (!path.empty())
        m_profilePath = path;
}

void CBasicProfiledata::SetDefaultProfilePath(const std::string& path)
{
    if (!path.empty())
        m_defaultProfilePath = path;
}

void CBasicProfiledata::SetDeviceEntryIndex(int index)
{
    if (index < 0 || index >= kMaxDeviceEntries)
        return;
    m_entryIndex = index;
    m_cache.valid = false;  // its stale slot was the old index's
}

Json::Value& CBasicProfiledata::EditableEntry()
{
    return AsObject(m_entry);
}

Json::Value& CBasicProfiledata::EntrySlotOf(Json::Value& document) const
{
    return ArrayMember(document, "Device")[static_cast<Json::ArrayIndex>(m_entryIndex)];
}

Json::Value& CBasicProfiledata::DocumentOnDisk(const std::string& path)
{
    std::string bytes = ReadWholeFile(path);
    if (!m_cache.valid || m_cache.path != path || m_cache.bytes != bytes) {
        Json::Value document = ParseJsonText(bytes);
        if (!document.isObject())
            document = Json::Value();
        m_cache = {path, std::move(bytes), std::move(document), true};
    }
    return m_cache.document;
}

Json::Value CBasicProfiledata::LoadEntry(const std::string& path)
{
    m_cache.valid = false;  // the cached document's entry slot is stale: loading parses afresh
    const bool fileUsable = DocumentOnDisk(path).isObject();
    Json::Value entry;
    EntrySlotOf(m_cache.document).swap(entry);
    if (entry.isObject())
        return entry;

    if (!fileUsable)
        m_cache.valid = false;
    const Json::Value defaults = ReadJsonFile(m_defaultProfilePath);
    entry = ElementOf(MemberOf(defaults, "Device"), static_cast<Json::ArrayIndex>(m_entryIndex));
    if (!entry.isObject())
        entry = Json::Value();
    // A damaged file that can't be moved aside stays as it is; the defaults
    // are used in memory only (StoreEntry refuses to write over it).
    if (fileUsable || SetDamagedFileAside(path))
        StoreEntry(entry, path);
    return entry;
}

const Json::Value& CBasicProfiledata::LoadProfile(const std::string& path)
{
    m_entry = LoadEntry(path);
    return m_entry;
}

const Json::Value& CBasicProfiledata::LoadOtherProfile(const std::string& path)
{
    m_otherEntry = LoadEntry(path);
    return m_otherEntry;
}

const Json::Value& CBasicProfiledata::LoadLightConfig(const std::string& path)
{
    m_lightConfig = ReadJsonFile(path);
    m_lightConfigFolder = FolderOf(path);
    return m_lightConfig;
}

bool CBasicProfiledata::StoreEntry(Json::Value& entry, const std::string& path)
{
    Json::Value& document = DocumentOnDisk(path);
    if (HoldsUnreadableData(path, document)) {
        TraceF("profile %s not saved: it holds data that can't be read", path.c_str());
        return false;
    }
    Json::Value& slot = EntrySlotOf(document);
    slot.swap(entry);
    std::string text = StyledJsonText(m_cache.document);
    slot.swap(entry);
    if (WriteFileAtomically(path, text)) {
        m_cache.bytes = std::move(text);
        return true;
    }
    m_cache.valid = false;
    return false;
}

bool CBasicProfiledata::Save()
{
    return StoreEntry(m_entry, m_profilePath);
}

bool CBasicProfiledata::SaveEntry(const Json::Value& value, const std::string& path)
{
    Json::Value entry = value;
    return StoreEntry(entry, path);
}

bool CBasicProfiledata::SaveOther(const std::string& path)
{
    return StoreEntry(m_otherEntry, path);
}

bool CBasicProfiledata::WriteDocument(const Json::Value& value, const std::string& path)
{
    return WriteJsonFile(path, value) == 0;
}

LightInfoRecord CBasicProfiledata::ReadLightInfo()
{
    const Json::Value& info = MemberOf(m_entry, "LightInfo");
    LightInfoRecord record;
    ReadBytes(info, kLightInfoBytes, record);
    record.multiColor = FlagOf(MemberOf(info, kLightInfoMultiColor)) ? 1 : 0;
    m_lightInfo = record;
    return record;
}

void CBasicProfiledata::WriteLightInfo(const LightInfoRecord& record)
{
    m_lightInfo = record;
    Json::Value info(Json::objectValue);
    WriteBytes(record, kLightInfoBytes, info);
    info[kLightInfoMultiColor] = record.multiColor != 0 ? 1 : 0;
    EditableEntry()["LightInfo"] = std::move(info);
}

AudioLightRecord CBasicProfiledata::ReadAudioLightInfo()
{
    const Json::Value& audio = MemberOf(m_entry, "AudioLightInfo");
    AudioLightRecord record;
    if (audio.isObject()) {
        ReadBytes(audio, kAudioLightBytes, record);
        record.sevenColorFlags = FlagOf(MemberOf(audio, kAudioSevenColor)) ? 1 : 0;
        record.colorTypeFlags = kAudioColorTypeOnLoad;
    }
    m_audioLight = record;
    return record;
}

void CBasicProfiledata::WriteAudioLightInfo(const AudioLightRecord& record)
{
    m_audioLight = record;
    Json::Value& audio = ObjectMember(EditableEntry(), "AudioLightInfo");
    WriteBytes(record, kAudioLightBytes, audio);
    audio[kAudioSevenColor] = record.sevenColorFlags;
    audio[kAudioColorType] = record.colorTypeFlags;
}

std::vector<LightListEntry> CBasicProfiledata::ReadLightList()
{
    const Json::Value& lights = MemberOf(m_entry, "LightList");
    m_lightList.assign(lights.isArray() ? lights.size() : 0, LightListEntry{});
    for (Json::ArrayIndex i = 0; i < m_lightList.size(); ++i) {
        const Json::Value& element = lights[i];
        if (element.isNull())
            continue;
        LightListEntry& entry = m_lightList[i];
        ReadBytes(element, kLightListBytes, entry);
        for (const auto& flag : kLightListFlags)
            entry.*flag.member = FlagOf(MemberOf(element, flag.key)) ? 1 : 0;
        entry.present = 1;
    }
    return m_lightList;
}

std::string CBasicProfiledata::LightEffectPath(const std::string& guid) const
{
    return m_lightConfigFolder + guid + kLightEffectExtension;
}

std::vector<LedEffectStep> CBasicProfiledata::ReadCustomLightEffect()
{
    m_effectSteps.clear();
    const int effect = m_lightInfo.selectItem - m_builtInLightModeCount;
    if (m_lightConfig.isNull() || effect < 0)
        return m_effectSteps;
    const Json::Value& effects = ElementOf(MemberOf(m_lightConfig, "LightInfo"), m_familySlot);
    const std::string guid = TextOf(MemberOf(ElementOf(effects, effect), "Guid"));
    if (!IsBareFileName(guid)) {
        TraceF("custom light effect %d: no usable file name", effect);
        return m_effectSteps;
    }
    const Json::Value document = ReadJsonFile(LightEffectPath(guid));
    const Json::Value& steps = MemberOf(document, "LEDEffectList");
    m_effectSteps.resize(steps.isArray() ? steps.size() : 0);
    for (Json::ArrayIndex i = 0; i < m_effectSteps.size(); ++i) {
        LedEffectStep& step = m_effectSteps[i];
        ReadBytes(steps[i], kEffectStepBytes, step);
        step.time = IntOf(MemberOf(steps[i], "Time"));
        step.cycle = IntOf(MemberOf(steps[i], "Cyle"));
    }
    return m_effectSteps;
}

std::vector<std::wstring> CBasicProfiledata::ReadCustomLightNames() const
{
    const Json::Value& effects = ElementOf(MemberOf(m_lightConfig, "LightInfo"), m_familySlot);
    std::vector<std::wstring> names;
    for (Json::ArrayIndex i = 0; effects.isArray() && i < effects.size(); ++i)
        names.push_back(Utf8ToWide(TextOf(MemberOf(effects[i], "LightName"))));
    return names;
}

std::vector<KeyListEntry> CBasicProfiledata::ReadKeyList()
{
    m_keyList = KeyListOf(m_entry);
    return m_keyList;
}

void CBasicProfiledata::WriteKeyList(const std::vector<KeyListEntry>& list)
{
    m_keyList = list;
    WriteAssignments(list, EditableEntry());
}

std::vector<KeyListEntry> CBasicProfiledata::ReadOtherKeyList()
{
    m_otherKeyList = KeyListOf(m_otherEntry);
    return m_otherKeyList;
}

void CBasicProfiledata::WriteOtherKeyList(const std::vector<KeyListEntry>& list)
{
    m_otherKeyList = list;
    WriteAssignments(list, m_otherEntry);
}
