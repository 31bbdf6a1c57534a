#pragma once
// Profiles that follow the program in front. A profile can be bound to
// programs by executable name; while the active window belongs to one of
// them its profile is current, and the user's own choice comes back when no
// bound program is in front any more. The bindings lie beside the list file
// in a file of their own, so the list and profile files keep their format.

#include "platform/active_window.h"

#include <string>
#include <vector>

class CProfileList;

inline constexpr const char* kProfileBindingsFileName = "ProfileBindings.json";
// How often the page asks which program is in front.
inline constexpr int kBindingPollMilliseconds = 500;

struct ProfileBinding {
    std::string profileId;
    std::vector<std::string> programs;
};

class CProfileBindingController {
public:
    CProfileBindingController(CProfileList& list, IActiveWindowSource& source);

    // Reads the bindings file of the folder ('/' at the end); a missing one
    // means no bindings, a damaged one is set aside.
    void Load(const std::string& profileFolder);

    // False where the desktop does not tell which program is in front: the
    // option says so and stays off.
    bool IsSupported() const;
    bool IsEnabled() const { return m_enabled; }
    // Each returns false when the file could not be written.
    bool SetEnabled(bool enabled);
    // A program belongs to one profile at most: binding it here takes it
    // from any other. Names are trimmed; empty ones and ones with a folder
    // are dropped.
    bool SetPrograms(const std::string& profileId, const std::vector<std::string>& programs);
    std::vector<std::string> ProgramsOf(const std::string& profileId) const;

    // Run every kBindingPollMilliseconds.
    void Poll();

private:
    int BoundProfileIndex(const ProgramNames& program) const;
    void FollowBoundProfile(int index);
    void RestoreUserChoice();
    bool Save();

    CProfileList& m_list;
    IActiveWindowSource& m_source;
    std::string m_path;
    bool m_enabled = true;
    std::vector<ProfileBinding> m_bindings;

    ProgramNames m_lastProgram;
    bool m_following = false;       // a bound program's profile was selected here
    std::string m_userProfileId;    // current before that
    std::string m_boundProfileId;   // the one selected
};
