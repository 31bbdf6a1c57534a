#include "profiles/profile_bindings.h"

#include "profiles/damaged_file.h"
#include "profiles/json_access.h"
#include "profiles/json_file.h"
#include "profiles/profile_list.h"

#include <algorithm>

namespace {

constexpr const char* kEnabledKey = "enabled";
constexpr const char* kBindingsKey = "bindings";
constexpr const char* kProfileIdKey = "profileUUID";
constexpr const char* kProgramsKey = "programs";

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Program names as a user may type them: one file name each, no repeats.
std::vector<std::string> CleanProgramNames(const std::vector<std::string>& names)
{
    std::vector<std::string> clean;
    for (const std::string& typed : names) {
        const std::string name = ValidUtf8(Trimmed(typed));
        if (name.empty() || name.find('/') != std::string::npos)
            continue;
        if (std::find(clean.begin(), clean.end(), name) == clean.end())
            clean.push_back(name);
    }
    return clean;
}

std::vector<ProfileBinding> BindingsOf(const Json::Value& document)
{
    std::vector<ProfileBinding> bindings;
    const Json::Value& list = MemberOf(document, kBindingsKey);
    for (Json::ArrayIndex i = 0; list.isArray() && i < list.size(); ++i) {
        std::vector<std::string> programs;
        const Json::Value& names = MemberOf(list[i], kProgramsKey);
        for (Json::ArrayIndex n = 0; names.isArray() && n < names.size(); ++n)
            programs.push_back(TextOf(names[n]));
        ProfileBinding binding{TextOf(MemberOf(list[i], kProfileIdKey)), CleanProgramNames(programs)};
        if (!binding.profileId.empty() && !binding.programs.empty())
            bindings.push_back(std::move(binding));
    }
    return bindings;
}

}  // namespace

CProfileBindingController::CProfileBindingController(CProfileList& list, IActiveWindowSource& source)
    : m_list(list), m_source(source)
{
}

void CProfileBindingController::Load(const std::string& profileFolder)
{
    m_path = profileFolder + kProfileBindingsFileName;
    const Json::Value document = ReadJsonFile(m_path);
    if (HoldsUnreadableData(m_path, document))
        SetDamagedFileAside(m_path);
    m_enabled = FlagOf(MemberOf(document, kEnabledKey)) || MemberOf(document, kEnabledKey).isNull();
    m_bindings = BindingsOf(document);
    m_lastProgram = {};
}

bool CProfileBindingController::IsSupported() const
{
    return m_source.IsSupported();
}

bool CProfileBindingController::Save()
{
    Json::Value document(Json::objectValue);
    document[kEnabledKey] = m_enabled;
    Json::Value& list = document[kBindingsKey] = Json::Value(Json::arrayValue);
    for (const ProfileBinding& binding : m_bindings) {
        Json::Value& element = list.append(Json::Value(Json::objectValue));
        element[kProfileIdKey] = binding.profileId;
        Json::Value& programs = element[kProgramsKey] = Json::Value(Json::arrayValue);
        for (const std::string& program : binding.programs)
            programs.append(program);
    }
    // A changed binding may concern the program in front already.
    m_lastProgram = {};
    return WriteJsonFile(m_path, document) == 0;
}

bool CProfileBindingController::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    return Save();
}

bool CProfileBindingController::SetPrograms(const std::string& profileId, const std::vector<std::string>& programs)
{
    const std::vector<std::string> names = CleanProgramNames(programs);
    for (ProfileBinding& binding : m_bindings) {
        std::erase_if(binding.programs, [&names](const std::string& program) {
            return std::find(names.begin(), names.end(), program) != names.end();
        });
    }
    std::erase_if(m_bindings, [&profileId](const ProfileBinding& binding) {
        return binding.profileId == profileId || binding.programs.empty();
    });
    if (!names.empty())
        m_bindings.push_back({profileId, names});
    return Save();
}

std::vector<std::string> CProfileBindingController::ProgramsOf(const std::string& profileId) const
{
    for (const ProfileBinding& binding : m_bindings) {
        if (binding.profileId == profileId)
            return binding.programs;
    }
    return {};
}

int CProfileBindingController::BoundProfileIndex(const ProgramNames& program) const
{
    if (program.empty())
        return -1;
    const std::vector<ProfileEntry>& entries = m_list.Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::vector<std::string> programs = ProgramsOf(entries[i].id);
        if (std::any_of(programs.begin(), programs.end(),
                        [&program](const std::string& name) { return NamesProgram(program, name); }))
            return static_cast<int>(i);
    }
    return -1;
}

void CProfileBindingController::Poll()
{
    if (!m_enabled || !m_source.IsSupported()) {
        RestoreUserChoice();
        return;
    }
    const ProgramNames program = m_source.ActiveProgram();
    if (program == m_lastProgram)
        return;
    m_lastProgram = program;
    const int bound = BoundProfileIndex(program);
    if (bound >= 0)
        FollowBoundProfile(bound);
    else
        RestoreUserChoice();
}

void CProfileBindingController::FollowBoundProfile(int index)
{
    if (!m_following) {
        m_userProfileId = m_list.GetCurrentProfileId();
        m_following = true;
    }
    m_boundProfileId = m_list.Entries()[static_cast<size_t>(index)].id;
    if (m_list.GetCurrentIndex() != index)
        m_list.SelectProfile(index, false);
}

// Only when the bound profile is still current: a profile the user chose
// meanwhile stays.
void CProfileBindingController::RestoreUserChoice()
{
    if (!m_following)
        return;
    m_following = false;
    if (m_list.GetCurrentProfileId() != m_boundProfileId)
        return;
    const std::vector<ProfileEntry>& entries = m_list.Entries();
    const auto user = std::find_if(entries.begin(), entries.end(),
                                   [this](const ProfileEntry& entry) { return entry.id == m_userProfileId; });
    if (user != entries.end() && user->id != m_boundProfileId)
        m_list.SelectProfile(static_cast<int>(user - entries.begin()), false);
}
