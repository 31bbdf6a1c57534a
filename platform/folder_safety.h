#pragma once
// Folders in a place every local user can write to (/tmp) are only used when
// this user made them: another user could otherwise have created the folder
// first and play devices in it, take our messages or read the traffic.

#include <string>

// Why the folder must not be used, or empty when it may: it must be a real
// folder (no symbolic link), belong to this user and be writable by nobody
// else. A missing folder is no problem; whoever creates it makes it private.
std::string UnsafeFolderReason(const std::string& folder);
