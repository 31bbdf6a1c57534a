#include "profiles/profile_list.h"

#include "platform/trace.h"
#include "profiles/atomic_file.h"
#include "profiles/damaged_file.h"
#include "profiles/json_access.h"
#include "profiles/json_file.h"
#include "profiles/profile_names.h"
#include "profiles/profile_paths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <utility>

namespace {

constexpr const char* kListKey = "profilelist";
constexpr const char* kSelectKey = "profileselect";
constexpr const char* kNameKey = "profilename";
constexpr const char* kIdKey = "profileUUID";
// Written for the file's older readers; never read.
constexpr const char* kIsLinkKey = "profileislink";
constexpr const char* kLinkNameKey = "profilelinkmame";
constexpr const char* kFirstProfileName = "Profile1";
// The headset's own equalizers survive a reset.
constexpr const char* kHeadsetKeptMembers[] = {"CustomEQNameInfo", "CustomEQHzValueInfo"};

bool IsBlank(const std::string& name)
{
    return std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isspace(c); });
}

bool IsTooLargeToImport(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return !error && size > static_cast<std::uintmax_t>(kMaxJsonFileSize);
}

// Never over bytes that can't be read: those are set aside first.
bool WriteProfileFile(const std::string& path, const Json::Value& document)
{
    if (HoldsUnreadableData(path, ReadJsonFile(path)) && !SetDamagedFileAside(path))
        return false;
    return WriteJsonFile(path, document) == 0;
}

// The profile file carries a copy of its list entry.
bool StampProfileFile(const std::string& path, const ProfileEntry& entry)
{
    Json::Value document = ReadJsonFile(path);
    AsObject(document)[kNameKey] = entry.name;
    document[kIdKey] = entry.id;
    return WriteProfileFile(path, document);
}

void KeepHeadsetEqualizers(const Json::Value& current, Json::Value& defaults)
{
    const Json::Value& from = ElementOf(MemberOf(current, "Device"), 0);
    for (const char* key : kHeadsetKeptMembers) {
        if (MemberOf(from, key).isNull())
            continue;
        AsObject(ArrayMember(defaults, "Device")[0])[key] = MemberOf(from, key);
    }
}

void RemoveFile(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::remove(path, error) && error)
        TraceF("unable to remove %s: %s", path.c_str(), error.message().c_str());
}

}  // namespace

const char* ProfileResultMessageId(ProfileResult result)
{
    switch (result) {
    case ProfileResult::ListFull:
        return "message_profile_list_full";
    case ProfileResult::NameInUse:
        return "message_text_5";
    case ProfileResult::NameBlank:
        return "message_text_25";
    case ProfileResult::NameEmpty:
        return "message_text_5_1";
    case ProfileResult::NameTooLong:
        return "message_text_34";
    case ProfileResult::NotAProfile:
        return "message_profile_not_a_profile";
    case ProfileResult::FileTooLarge:
        return "message_profile_file_too_large";
    case ProfileResult::NotSaved:
        return "message_profile_not_saved";
    case ProfileResult::Done:
    case ProfileResult::LastProfile:
    case ProfileResult::NoCurrentProfile:
        break;
    }
    return "";
}

int ProfileCommandAnswer(ProfileResult result)
{
    return static_cast<int>(result) + 1;
}

std::optional<ProfileResult> ProfileResultOfAnswer(int answer)
{
    if (answer < 1 || answer > static_cast<int>(ProfileResult::NotSaved) + 1)
        return std::nullopt;
    return static_cast<ProfileResult>(answer - 1);
}

void CProfileList::SetPaths(const std::string& profileFolder, const std::string& defaultProfilePath)
{
    m_folder = profileFolder;
    m_defaultProfilePath = defaultProfilePath;
}

std::string CProfileList::ListPath() const
{
    return m_folder + kProfileListFileName;
}

std::string CProfileList::PathOf(const std::string& id) const
{
    return m_folder + id + kProfileExtension;
}

std::string CProfileList::GetCurrentProfileId() const
{
    return m_current < 0 ? std::string() : m_entries[static_cast<size_t>(m_current)].id;
}

std::string CProfileList::GetCurrentProfilePath() const
{
    return GetProfilePathAt(m_current);
}

std::string CProfileList::GetProfilePathAt(int index) const
{
    if (index < 0 || index >= GetProfileCount())
        return {};
    return PathOf(m_entries[static_cast<size_t>(index)].id);
}

std::vector<std::string> CProfileList::Names() const
{
    std::vector<std::string> names;
    names.reserve(m_entries.size());
    for (const ProfileEntry& entry : m_entries)
        names.push_back(entry.name);
    return names;
}

// Time-stamp names are made to the millisecond: two profiles made within one
// get a suffix rather than one file.
std::string CProfileList::NewProfileId() const
{
    const std::string stamp = MakeTimeStampName();
    std::string id = stamp;
    for (int number = 2;; ++number) {
        const bool listed = std::any_of(m_entries.begin(), m_entries.end(),
                                        [&id](const ProfileEntry& entry) { return entry.id == id; });
        std::error_code error;  // a file that can't even be looked at is no file to keep
        if (!listed && !std::filesystem::exists(PathOf(id), error))
            return id;
        id = stamp + "_" + std::to_string(number);
    }
}

// Entries that are not objects are dropped; a missing name or an identifier
// that is no plain file name of its own (hand-edited, or pointing outside the
// folder) is replaced, so no operation ever reaches a file elsewhere. True
// when anything was mended.
bool CProfileList::ReadEntries(const Json::Value& list)
{
    m_entries.clear();
    if (!list.isArray())
        return true;
    bool mended = false;
    for (const Json::Value& element : list) {
        if (!element.isObject()) {
            mended = true;
            continue;
        }
        ProfileEntry entry{TextOf(MemberOf(element, kNameKey)), TextOf(MemberOf(element, kIdKey))};
        const std::string name = ValidUtf8(entry.name);
        if (IsBlank(name) || name != entry.name) {
            entry.name = IsBlank(name) ? NewProfileName(Names()) : name;
            mended = true;
        }
        const bool taken = std::any_of(m_entries.begin(), m_entries.end(),
                                       [&entry](const ProfileEntry& other) { return other.id == entry.id; });
        if (!IsBareFileName(entry.id) || taken) {
            TraceF("profile list: identifier \"%s\" replaced", entry.id.c_str());
            entry.id = NewProfileId();
            mended = true;
        }
        m_entries.push_back(std::move(entry));
    }
    return mended;
}

bool CProfileList::WriteList(int selected)
{
    Json::Value document = m_document;
    Json::Value& list = AsObject(document)[kListKey] = Json::Value(Json::arrayValue);
    for (const ProfileEntry& entry : m_entries) {
        Json::Value& element = list.append(Json::Value(Json::objectValue));
        element[kNameKey] = entry.name;
        element[kIdKey] = entry.id;
        element[kIsLinkKey] = 0;
        element[kLinkNameKey] = "";
    }
    document[kSelectKey] = selected;
    if (WriteJsonFile(ListPath(), document) != 0)
        return false;
    m_document = std::move(document);
    m_remembered = selected;
    return true;
}

void CProfileList::InitProfiles()
{
    const std::string listPath = ListPath();
    m_document = ReadJsonFile(listPath);
    if (HoldsUnreadableData(listPath, m_document))
        SetDamagedFileAside(listPath);
    const bool mended = ReadEntries(MemberOf(m_document, kListKey));
    AsObject(m_document);

    const Json::Value& stored = MemberOf(m_document, kSelectKey);
    const int selected = std::clamp(IntOf(stored), 0, std::max(GetProfileCount() - 1, 0));
    m_remembered = selected;
    if (m_entries.empty()) {
        m_entries.push_back({kFirstProfileName, NewProfileId()});
        WriteList(selected);
        StampProfileFile(PathOf(m_entries.front().id), m_entries.front());
    } else if (mended || !stored.isInt() || stored.asInt() != selected) {
        WriteList(selected);
    }
    m_current = selected;
}

ProfileResult CProfileList::SelectProfile(int index, bool remember)
{
    if (index < 0 || index >= GetProfileCount())
        return ProfileResult::NoCurrentProfile;
    m_current = index;
    const bool written = !remember || WriteList(index);
    NotifyCurrentChanged();
    return written ? ProfileResult::Done : ProfileResult::NotSaved;
}

void CProfileList::NotifyCurrentChanged() const
{
    if (m_currentChanged)
        m_currentChanged();
}

ProfileResult CProfileList::AppendProfile(const std::string& name, Json::Value document, bool makeCurrent)
{
    const std::string id = NewProfileId();
    AsObject(document)[kNameKey] = name;
    document[kIdKey] = id;
    const std::string path = PathOf(id);
    if (WriteJsonFile(path, document) != 0)
        return ProfileResult::NotSaved;
    m_entries.push_back({name, id});
    const int newIndex = GetProfileCount() - 1;
    if (!WriteList(makeCurrent ? newIndex : m_remembered)) {
        m_entries.pop_back();
        RemoveFile(path);
        return ProfileResult::NotSaved;
    }
    if (makeCurrent) {
        m_current = newIndex;
        NotifyCurrentChanged();
    }
    return ProfileResult::Done;
}

ProfileResult CProfileList::AddProfile()
{
    if (GetProfileCount() >= kMaxProfileCount)
        return ProfileResult::ListFull;
    return AppendProfile(NewProfileName(Names()), Json::Value(Json::objectValue), true);
}

ProfileResult CProfileList::CopyProfile()
{
    if (m_current < 0)
        return ProfileResult::NoCurrentProfile;
    if (GetProfileCount() >= kMaxProfileCount)
        return ProfileResult::ListFull;
    const std::string name = CopyProfileName(m_entries[static_cast<size_t>(m_current)].name, Names());
    return AppendProfile(name, ReadJsonFile(GetCurrentProfilePath()), false);
}

ProfileResult CProfileList::ImportProfile(const std::string& path)
{
    if (IsTooLargeToImport(path))
        return ProfileResult::FileTooLarge;
    Json::Value document = ReadJsonFile(path);
    if (!document.isObject() || !document.isMember(kNameKey) || !document.isMember(kIdKey))
        return ProfileResult::NotAProfile;
    const std::string title = ValidUtf8(FileTitleOf(path));
    if (title.empty())
        return ProfileResult::NameEmpty;
    if (IsProfileNameTooLong(title))
        return ProfileResult::NameTooLong;
    if (GetProfileCount() >= kMaxProfileCount)
        return ProfileResult::ListFull;
    return AppendProfile(ImportProfileName(title, Names()), std::move(document), false);
}

ProfileResult CProfileList::RenameProfile(const std::string& name)
{
    if (m_current < 0)
        return ProfileResult::NoCurrentProfile;
    if (IsBlank(name))
        return ProfileResult::NameBlank;
    for (int i = 0; i < GetProfileCount(); ++i) {
        if (i != m_current && SameProfileName(m_entries[static_cast<size_t>(i)].name, name))
            return ProfileResult::NameInUse;
    }
    ProfileEntry& entry = m_entries[static_cast<size_t>(m_current)];
    const std::string previous = std::exchange(entry.name, name);
    if (!WriteList(m_remembered)) {
        entry.name = previous;
        return ProfileResult::NotSaved;
    }
    // The list holds the name now; the file's copy only describes an export.
    if (!StampProfileFile(GetCurrentProfilePath(), entry))
        TraceF("profile %s keeps its old name in its file", entry.id.c_str());
    return ProfileResult::Done;
}

ProfileResult CProfileList::DeleteProfile()
{
    if (m_current < 0)
        return ProfileResult::NoCurrentProfile;
    if (GetProfileCount() <= 1)
        return ProfileResult::LastProfile;
    const auto position = m_entries.begin() + m_current;
    const ProfileEntry removed = *position;
    m_entries.erase(position);
    const int previous = std::max(m_current - 1, 0);
    if (!WriteList(previous)) {
        m_entries.insert(m_entries.begin() + m_current, removed);
        return ProfileResult::NotSaved;
    }
    RemoveFile(PathOf(removed.id));
    m_current = previous;
    NotifyCurrentChanged();
    return ProfileResult::Done;
}

ProfileResult CProfileList::ExportProfile(const std::string& path) const
{
    if (m_current < 0)
        return ProfileResult::NoCurrentProfile;
    const std::string bytes = ReadWholeFile(GetCurrentProfilePath());
    if (!ParseJsonText(bytes).isObject())
        return ProfileResult::NotAProfile;
    return WriteFileAtomically(path, bytes) ? ProfileResult::Done : ProfileResult::NotSaved;
}

ProfileResult CProfileList::ResetProfile()
{
    if (m_current < 0)
        return ProfileResult::NoCurrentProfile;
    Json::Value defaults = ReadJsonFile(m_defaultProfilePath);
    if (!defaults.isObject()) {
        TraceF("reset: default profile %s unreadable", m_defaultProfilePath.c_str());
        return ProfileResult::NotSaved;
    }
    const ProfileEntry& entry = m_entries[static_cast<size_t>(m_current)];
    defaults[kNameKey] = entry.name;
    defaults[kIdKey] = entry.id;
    const std::string path = GetCurrentProfilePath();
    if (m_deviceKind == kHeadsetDeviceKind)
        KeepHeadsetEqualizers(ReadJsonFile(path), defaults);
    if (!WriteProfileFile(path, defaults))
        return ProfileResult::NotSaved;
    NotifyCurrentChanged();
    return ProfileResult::Done;
}
