#pragma once
// The mouse's four recoil patterns: one file per pattern, "ShootData_<n>.Shoot"
// in the family's profile folder (the working copy, shared by every profile)
// and in the default data folder (read only). A pattern is 30 bullets of six
// steps each: left button down and up, a horizontal and a vertical movement,
// and two zero movements; the vertical movement carries the bullet's pause.

#include "panels/macro_event.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CCommandChannel;

constexpr int kRecoilPatternCount = 4;
constexpr int kRecoilBulletCount = 30;
constexpr int kRecoilStepsPerBullet = 6;
constexpr size_t kMaxRecoilEvents = kRecoilBulletCount * kRecoilStepsPerBullet;
constexpr int kMaxRecoilDistance = 255;

// "ShootData_" + pattern + ".Shoot"
std::string RecoilFileName(int pattern);

struct RecoilBullet {
    int x = 0;            // horizontal distance
    int y = 0;            // vertical distance
    long long delay = 0;  // pause after the bullet, milliseconds
    bool left = false;    // horizontal direction; else right
    bool up = false;      // vertical direction; else down
    friend bool operator==(const RecoilBullet&, const RecoilBullet&) = default;
};

// The six steps of a bullet.
std::vector<MacroEvent> RecoilBulletSteps(const RecoilBullet& bullet);

enum class RecoilImport { kImported, kEmptyPath, kNotAPattern, kNotWritten };
// The text identifier of the message shown for a refused import; empty for
// success and for an empty path.
const char* RecoilImportMessage(RecoilImport result);

// Results of SendRecoilPatterns beside the channel's own codes.
constexpr int kRecoilImageTooLarge = -2;

class CRecoilPatterns {
public:
    // Both folders end in '/'.
    void SetFolders(const std::string& workingFolder, const std::string& defaultFolder);
    std::string WorkingPath(int pattern) const;
    std::string DefaultPath(int pattern) const;

    // Working files that are missing or unreadable get their default copy.
    void RestoreDamagedPatterns() const;
    // The default copy over the working file; the working file is left alone
    // when the default can't be read.
    bool ResetGun(int pattern) const;
    // The file's text over the working file, when it is a pattern: an object
    // whose "Events" is an array of at most 180 steps (or nulls).
    RecoilImport ImportRecoilFile(int pattern, const std::string& path) const;
    bool ExportRecoilFile(int pattern, const std::string& path) const;

    // Bullets of a pattern file; what is missing reads as 0 / right / down.
    RecoilBullet ReadBullet(int pattern, int bullet) const;
    // Distances are held to 0..255 and the pause to 0..65535; the rest of the
    // file stays as it was. False when the file could not be written.
    bool StoreBullet(int pattern, int bullet, const RecoilBullet& value) const;

    // Every step of the four patterns, in pattern order; nothing when the
    // image would not fit its 16-bit length.
    std::optional<std::vector<uint8_t>> BuildImage() const;

private:
    std::string working_;
    std::string defaults_;
};

// Writes the four working patterns to the mouse: through the receiver the
// link is checked before each step, as for every exchange. The information
// block, when asked for, is read first. kResultSuccess, the first failing
// exchange's result, or kRecoilImageTooLarge (nothing sent).
int SendRecoilPatterns(CCommandChannel& channel, const CRecoilPatterns& patterns, uint8_t* infoBlock = nullptr);
