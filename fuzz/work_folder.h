#pragma once
// A folder for a fuzz target's files: memory-backed when possible, and
// removed when the run ends. Ends with "/".

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

inline std::string WorkFolder()
{
    static const std::string folder = [] {
        const std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        static std::string pattern = base + "/kestrova-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(pattern, ignored);
        });
        return pattern + "/";
    }();
    return folder;
}
