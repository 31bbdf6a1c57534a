#pragma once
// The rules for profile names: the checks a typed name must pass, and the
// names made for new, copied and imported profiles. Names are UTF-8 and are
// compared without regard to case.

#include <string>
#include <string_view>
#include <vector>

// A name takes at most this many bytes in UTF-8, whether typed or imported.
inline constexpr size_t kMaxProfileNameBytes = 16;

enum class ProfileNameCheck { Ok, Empty, TooLong, ForbiddenCharacter };

// The checks a typed name must pass before a rename, in this order.
ProfileNameCheck CheckProfileName(std::string_view name);
// The message telling the user why a name was refused; empty for Ok.
const char* ProfileNameMessageId(ProfileNameCheck check);

bool IsProfileNameTooLong(std::string_view name);
bool SameProfileName(std::string_view a, std::string_view b);
bool ContainsProfileName(const std::vector<std::string>& names, std::string_view name);

// "Profile1", "Profile2", ...: the first not in use.
std::string NewProfileName(const std::vector<std::string>& names);
// "A copy", then "A copy copy" while that is in use.
std::string CopyProfileName(std::string_view source, const std::vector<std::string>& names);
// The file's title, then "A(1)", "A(1)(2)", ... while that is in use.
std::string ImportProfileName(std::string_view fileTitle, const std::vector<std::string>& names);
