#include "platform/folder_safety.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

std::string UnsafeFolderReason(const std::string& folder)
{
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0)
        return errno == ENOENT ? std::string() : folder + " cannot be checked: " + std::strerror(errno);
    if (S_ISLNK(info.st_mode))
        return folder + " is a symbolic link";
    if (!S_ISDIR(info.st_mode))
        return folder + " is not a folder";
    if (info.st_uid != ::geteuid())
        return folder + " belongs to another user (uid " + std::to_string(info.st_uid) + ")";
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        return folder + " is writable by other users (mode " + mode + ")";
    }
    return {};
}
