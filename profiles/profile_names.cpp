#include "profiles/profile_names.h"

#include <QString>
#include <algorithm>

namespace {

// Characters a typed name must not hold.
constexpr std::string_view kForbiddenNameCharacters = "<>:\" /\\|?#%&*=";

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool IsProfileNameTooLong(std::string_view name)
{
    return name.size() > kMaxProfileNameBytes;
}

ProfileNameCheck CheckProfileName(std::string_view name)
{
    if (name.empty())
        return ProfileNameCheck::Empty;
    if (IsProfileNameTooLong(name))
        return ProfileNameCheck::TooLong;
    if (name.find_first_of(kForbiddenNameCharacters) != std::string_view::npos)
        return ProfileNameCheck::ForbiddenCharacter;
    return ProfileNameCheck::Ok;
}

const char* ProfileNameMessageId(ProfileNameCheck check)
{
    switch (check) {
    case ProfileNameCheck::Empty:
        return "message_text_5_1";
    case ProfileNameCheck::TooLong:
        return "message_text_34";
    case ProfileNameCheck::ForbiddenCharacter:
        return "message_text_35";
    case ProfileNameCheck::Ok:
        break;
    }
    return "";
}

bool SameProfileName(std::string_view a, std::string_view b)
{
    return ToQString(a).compare(ToQString(b), Qt::CaseInsensitive) == 0;
}

bool ContainsProfileName(const std::vector<std::string>& names, std::string_view name)
{
    return std::any_of(names.begin(), names.end(),
                       [name](const std::string& existing) { return SameProfileName(existing, name); });
}

std::string NewProfileName(const std::vector<std::string>& names)
{
    for (int number = 1;; ++number) {
        std::string candidate = "Profile" + std::to_string(number);
        if (!ContainsProfileName(names, candidate))
            return candidate;
    }
}

std::string CopyProfileName(std::string_view source, const std::vector<std::string>& names)
{
    std::string candidate(source);
    do
        candidate += " copy";
    while (ContainsProfileName(names, candidate));
    return candidate;
}

std::string ImportProfileName(std::string_view fileTitle, const std::vector<std::string>& names)
{
    std::string candidate(fileTitle);
    for (int number = 1; ContainsProfileName(names, candidate); ++number)
        candidate += "(" + std::to_string(number) + ")";
    return candidate;
}
