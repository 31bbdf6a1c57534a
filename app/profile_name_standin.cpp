#include "app/profile_name_standin.h"

ProfileNameCheck CheckProfileName(std::string_view name)
{
    if (name.empty())
        return ProfileNameCheck::Empty;
    if (name.size() > 16)
        return ProfileNameCheck::TooLong;
    if (name.find_first_of("<>:\" /\\|?#%&*=") != std::string_view::npos)
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
