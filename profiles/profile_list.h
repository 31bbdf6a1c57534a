#pragma once
// The named profiles of one device family: the list file "ProfileList.ini"
// in the family's profile folder and one "<identifier>.Json" file per
// profile. Exactly one profile is current. Every operation changes the list
// file and the profile files together: one that can't write leaves both as
// they were and says so.

#include <json/json.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kProfileListFileName = "ProfileList.ini";
inline constexpr int kMaxProfileCount = 50;
inline constexpr int kHeadsetDeviceKind = 7;

enum class ProfileResult {
    Done,
    ListFull,          // add, copy, import: 50 profiles already
    LastProfile,       // delete: the last profile stays
    NoCurrentProfile,
    NameInUse,         // rename
    NameBlank,         // rename
    NameEmpty,         // import: the file has no name to take
    NameTooLong,       // import
    NotAProfile,       // import, export: not a JSON object with a name and identifier
    FileTooLarge,      // import
    NotSaved,          // a file could not be written; nothing changed
};

// The text identifier of the message that tells the user; empty when the
// result needs none.
const char* ProfileResultMessageId(ProfileResult result);

// A profile command's result as the page's feature hand-off carries it, where
// 0 means that no profile panel answered: the result + 1 (1 done).
int ProfileCommandAnswer(ProfileResult result);
std::optional<ProfileResult> ProfileResultOfAnswer(int answer);

struct ProfileEntry {
    std::string name;
    std::string id;
};

class CProfileList {
public:
    void SetDeviceKind(int kind) { m_deviceKind = kind; }
    // The profile folder ends in '/'.
    void SetPaths(const std::string& profileFolder, const std::string& defaultProfilePath);
    // Runs whenever the current profile becomes another one or its file is
    // replaced (select, add, delete, reset): the page reloads it then, so it
    // never saves into a deleted profile's file.
    void SetCurrentChangedHandler(std::function<void()> handler) { m_currentChanged = std::move(handler); }

    // Reads the list file (a missing or damaged one becomes a list holding
    // "Profile1") and selects its "profileselect", clamped to the list.
    void InitProfiles();

    // `remember`: the list file keeps the choice for the next start.
    ProfileResult SelectProfile(int index, bool remember = true);
    int GetCurrentIndex() const { return m_current; }
    std::string GetCurrentProfileId() const;
    std::string GetCurrentProfilePath() const;

    int GetProfileCount() const { return static_cast<int>(m_entries.size()); }
    const std::vector<ProfileEntry>& Entries() const { return m_entries; }
    std::vector<std::string> Names() const;
    // Empty for a position outside the list.
    std::string GetProfilePathAt(int index) const;

    // The new profile becomes the current one.
    ProfileResult AddProfile();
    ProfileResult CopyProfile();
    // `name` has passed CheckProfileName.
    ProfileResult RenameProfile(const std::string& name);
    ProfileResult DeleteProfile();
    ProfileResult ImportProfile(const std::string& path);
    ProfileResult ExportProfile(const std::string& path) const;
    ProfileResult ResetProfile();

private:
    std::string ListPath() const;
    std::string PathOf(const std::string& id) const;
    std::string NewProfileId() const;
    bool ReadEntries(const Json::Value& list);
    bool WriteList(int selected);
    ProfileResult AppendProfile(const std::string& name, Json::Value document, bool makeCurrent);
    void NotifyCurrentChanged() const;

    int m_deviceKind = 0;
    std::string m_folder;
    std::string m_defaultProfilePath;
    std::function<void()> m_currentChanged;

    Json::Value m_document;  // the list file as last read or written
    std::vector<ProfileEntry> m_entries;
    int m_current = -1;
    int m_remembered = 0;  // "profileselect" as written
};
