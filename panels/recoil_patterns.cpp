#include "panels/recoil_patterns.h"

#include "panels/macro_image.h"
#include "profiles/atomic_file.h"
#include "profiles/json_file.h"
#include "transport/command_channel.h"

#include <QString>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kFilePrefix = "ShootData_";
constexpr const char* kFileExtension = ".Shoot";
constexpr int kLeftButton = 1;
constexpr long long kPressDelay = 10;
constexpr long long kHorizontalDelay = 5;

// Step positions inside a bullet.
constexpr Json::ArrayIndex kHorizontalStep = 2;
constexpr Json::ArrayIndex kVerticalStep = 3;

int ClampedPattern(int pattern)
{
    return std::clamp(pattern, 0, kRecoilPatternCount - 1);
}

Json::ArrayIndex FirstStepOf(int bullet)
{
    return static_cast<Json::ArrayIndex>(std::clamp(bullet, 0, kRecoilBulletCount - 1) * kRecoilStepsPerBullet);
}

bool IsRecoilStep(const Json::Value& step)
{
    if (step.isNull())
        return true;
    return step.isObject() && step[kEventAction].isString() && step[kEventButton].isInt() &&
           step[kEventType].isInt() && step[kEventDelay].isInt64();
}

bool IsPattern(const Json::Value& document)
{
    if (!document.isObject() || !document[kEventsKey].isArray())
        return false;
    const Json::Value& events = document[kEventsKey];
    return events.size() <= kMaxRecoilEvents && std::all_of(events.begin(), events.end(), IsRecoilStep);
}

const Json::Value& StepAt(const Json::Value& document, Json::ArrayIndex index)
{
    static const Json::Value kNone;
    const Json::Value& events = document.isObject() ? document[kEventsKey] : kNone;
    return events.isArray() && index < events.size() ? events[index] : kNone;
}

bool IsDown(const Json::Value& step)
{
    const Json::Value& action = step.isObject() ? step[kEventAction] : step;
    return action.isString() &&
           QString::fromStdString(action.asString()).compare(QLatin1String(kActionDown), Qt::CaseInsensitive) == 0;
}

int NumberOf(const Json::Value& step, const char* key)
{
    return step.isObject() && step[key].isInt() ? step[key].asInt() : 0;
}

// Copies the file's bytes over `to` only once they have been read in full.
bool CopyWhole(const std::string& from, const std::string& to)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(from, error))
        return false;
    const std::string bytes = ReadWholeFile(from);
    if (bytes.empty() && std::filesystem::file_size(from, error) != 0)
        return false;
    return WriteFileAtomically(to, bytes);
}

}  // namespace

const char* RecoilImportMessage(RecoilImport result)
{
    switch (result) {
    case RecoilImport::kNotAPattern:
        return "message_text_recoil_import";
    case RecoilImport::kNotWritten:
        return "message_text_file_write";
    case RecoilImport::kImported:
    case RecoilImport::kEmptyPath:
        break;
    }
    return "";
}

std::string RecoilFileName(int pattern)
{
    return kFilePrefix + std::to_string(ClampedPattern(pattern)) + kFileExtension;
}

std::vector<MacroEvent> RecoilBulletSteps(const RecoilBullet& bullet)
{
    const int x = std::clamp(bullet.x, 0, kMaxRecoilDistance);
    const int y = std::clamp(bullet.y, 0, kMaxRecoilDistance);
    const long long delay = std::clamp<long long>(bullet.delay, 0, kMaxMacroDelay);
    return {
        {true, kLeftButton, kMacroMouseButton, kPressDelay},
        {false, kLeftButton, kMacroMouseButton, 0},
        {bullet.left, x, kMacroHorizontalMove, kHorizontalDelay},
        {bullet.up, y, kMacroVerticalMove, delay},
        {bullet.left, 0, kMacroHorizontalMove, 0},
        {bullet.up, 0, kMacroVerticalMove, 0},
    };
}

void CRecoilPatterns::SetFolders(const std::string& workingFolder, const std::string& defaultFolder)
{
    working_ = workingFolder;
    defaults_ = defaultFolder;
}

std::string CRecoilPatterns::WorkingPath(int pattern) const
{
    return working_ + RecoilFileName(pattern);
}

std::string CRecoilPatterns::DefaultPath(int pattern) const
{
    return defaults_ + RecoilFileName(pattern);
}

void CRecoilPatterns::RestoreDamagedPatterns() const
{
    for (int pattern = 0; pattern < kRecoilPatternCount; ++pattern)
        if (ReadJsonFile(WorkingPath(pattern)).isNull())
            ResetGun(pattern);
}

bool CRecoilPatterns::ResetGun(int pattern) const
{
    return CopyWhole(DefaultPath(pattern), WorkingPath(pattern));
}

RecoilImport CRecoilPatterns::ImportRecoilFile(int pattern, const std::string& path) const
{
    if (path.empty())
        return RecoilImport::kEmptyPath;
    const std::string bytes = ReadWholeFile(path);
    if (!IsPattern(ParseJsonText(bytes)))
        return RecoilImport::kNotAPattern;
    return WriteFileAtomically(WorkingPath(pattern), bytes) ? RecoilImport::kImported : RecoilImport::kNotWritten;
}

bool CRecoilPatterns::ExportRecoilFile(int pattern, const std::string& path) const
{
    return !path.empty() && CopyWhole(WorkingPath(pattern), path);
}

RecoilBullet CRecoilPatterns::ReadBullet(int pattern, int bullet) const
{
    const Json::Value document = ReadJsonFile(WorkingPath(pattern));
    const Json::ArrayIndex first = FirstStepOf(bullet);
    const Json::Value& horizontal = StepAt(document, first + kHorizontalStep);
    const Json::Value& vertical = StepAt(document, first + kVerticalStep);
    RecoilBullet value;
    value.x = NumberOf(horizontal, kEventButton);
    value.y = NumberOf(vertical, kEventButton);
    value.delay = vertical.isObject() && vertical[kEventDelay].isInt64() ? vertical[kEventDelay].asInt64() : 0;
    value.left = IsDown(horizontal);
    value.up = IsDown(vertical);
    return value;
}

bool CRecoilPatterns::StoreBullet(int pattern, int bullet, const RecoilBullet& value) const
{
    Json::Value document = ReadJsonFile(WorkingPath(pattern));
    if (!document.isObject())
        document = Json::Value(Json::objectValue);
    Json::Value& events = document[kEventsKey];
    if (!events.isArray())
        events = Json::Value(Json::arrayValue);
    Json::ArrayIndex index = FirstStepOf(bullet);
    for (const MacroEvent& step : RecoilBulletSteps(value))
        events[index++] = RecoilEventToJson(step);
    return WriteJsonFile(WorkingPath(pattern), document) == 0;
}

std::optional<std::vector<uint8_t>> CRecoilPatterns::BuildImage() const
{
    std::vector<std::vector<MacroEvent>> blocks;
    for (int pattern = 0; pattern < kRecoilPatternCount; ++pattern)
        blocks.push_back(EventsOfDocument(ReadJsonFile(WorkingPath(pattern))));
    return PackMacroImage(blocks);
}

int SendRecoilPatterns(CCommandChannel& channel, const CRecoilPatterns& patterns, uint8_t* infoBlock)
{
    if (!channel.IsOpen())
        return kResultNoReply;
    if (!channel.CheckLink())
        return kResultNotLinked;
    if (infoBlock != nullptr) {
        if (const int read = channel.ReadInfoBlock(infoBlock); read != kResultSuccess)
            return read;
    }
    const std::optional<std::vector<uint8_t>> image = patterns.BuildImage();
    if (!image)
        return kRecoilImageTooLarge;
    if (!channel.CheckLink())
        return kResultNotLinked;
    if (const int begun = channel.BeginConfig(); begun != kResultSuccess)
        return begun;
    const int result = channel.CheckLink()
                     ? channel.WriteRecoilData(image->data(), static_cast<uint16_t>(image->size()))
                     : kResultNotLinked;
    // The session is closed even after a failed write.
    const int ended = channel.CheckLink() ? channel.EndConfig() : kResultNotLinked;
    return result != kResultSuccess ? result : ended;
}
