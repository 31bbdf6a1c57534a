#pragma once
// Stands in for the profile name rules of the profile list until they land:
// the same calls.

#include <string_view>

enum class ProfileNameCheck { Ok, Empty, TooLong, ForbiddenCharacter };
ProfileNameCheck CheckProfileName(std::string_view name);
const char* ProfileNameMessageId(ProfileNameCheck check);
