#pragma once
// A bus directory of the test's own, removed afterwards.

#include <cstdlib>
#include <filesystem>
#include <string>

class TempBus {
public:
    TempBus()
    {
        char pattern[] = "/tmp/kestrova-protocol-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        directory_ = made != nullptr ? made : "";
        ::setenv("KESTROVA_VHID_DIR", directory_.c_str(), 1);
    }
    ~TempBus()
    {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
    TempBus(const TempBus&) = delete;
    TempBus& operator=(const TempBus&) = delete;

    const std::string& Directory() const { return directory_; }

private:
    std::string directory_;
};
