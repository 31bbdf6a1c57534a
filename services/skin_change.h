#pragma once
// Skin changes: what the skin window broadcasts and the main window applies,
// the process-wide observer that carries them, and the record of the last
// choice ("main.ini" of the user data folder) that brings it back at the
// next start:
//
//   [SKINIMAGE]
//   FLAGS=1            1 an image (stock or the user's own), 0 the reset,
//                      2 a colour
//   IMAGE=<image>      FLAGS 1 and 0: a file of the skin folder or a full path
//   COLOR=<AARRGGBB>   FLAGS 2: the colour, hexadecimal

#include <QString>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kSkinRecordName = "main.ini";
inline constexpr const char* kDefaultBackground = "common/background.png";

struct SkinChangedParam {
    bool useColour = false;  // true: a plain colour, false: an image
    uint32_t colour = 0;     // ARGB, with useColour
    QString image;           // without useColour
};

// A receiver gets each broadcast parameter as a copy.
template <class Result, class Param>
class ReceiverImpl {
public:
    virtual Result Receive(Param param) = 0;

protected:
    ~ReceiverImpl() = default;
};

template <class Result, class Param>
class ObserverImpl {
public:
    using Receiver = ReceiverImpl<Result, Param>;
    void AddReceiver(Receiver* receiver)
    {
        if (receiver && std::find(receivers_.begin(), receivers_.end(), receiver) == receivers_.end())
            receivers_.push_back(receiver);
    }
    void RemoveReceiver(Receiver* receiver)
    {
        receivers_.erase(std::remove(receivers_.begin(), receivers_.end(), receiver), receivers_.end());
    }
    void Broadcast(const Param& param)
    {
        // A receiver may remove itself (or another) while it receives.
        const std::vector<Receiver*> receivers = receivers_;
        for (Receiver* receiver : receivers) {
            if (std::find(receivers_.begin(), receivers_.end(), receiver) != receivers_.end())
                receiver->Receive(param);
        }
    }

private:
    std::vector<Receiver*> receivers_;
};

using SkinReceiver = ReceiverImpl<int, SkinChangedParam>;
using SkinObserver = ObserverImpl<int, SkinChangedParam>;
// The one observer of the process.
SkinObserver& SkinChangeObserver();

// The record file in the user data folder.
std::string SkinRecordPath();
// reset: the choice is the reset to the default background (FLAGS 0).
// False when the file cannot be written.
bool WriteSkinRecord(const std::string& path, const SkinChangedParam& skin, bool reset = false);
// The recorded choice; none when the file, its section or a value it needs
// is missing or damaged.
std::optional<SkinChangedParam> ReadSkinRecord(const std::string& path);
