#include "services/update_items.h"

#include "profiles/json_file.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<const char*, 9> kStateTextIds = {
    "LessUpdateText",   "NeedUpdateText", "NeedUpdateText", "DownloadWaitText", "DownloadIngText",
    "DownloadOkText",   "UpdateIngText",  "UpdateOkText",   "UpdateFailText",
};
constexpr std::array<const char*, 5> kStatusTextIds = {
    "GetUpdateInfoText", "HaveUpdateInfoText", "NoUpdateInfoText", "ISUpdateINGText", "UpdateIsLastText",
};

bool IsOffered(UpdateState state)
{
    return state == UpdateState::Offered || state == UpdateState::OfferedAgain;
}

// The member of an object, or null when `object` is not one or lacks it.
const Json::Value* Member(const Json::Value* object, std::string_view name)
{
    return object && object->isObject() ? object->find(name.data(), name.data() + name.size()) : nullptr;
}

}  // namespace

const char* UpdateStateTextId(UpdateState state)
{
    return kStateTextIds.at(static_cast<size_t>(state));
}

const char* UpdateWindowStatusTextId(UpdateWindowStatus status)
{
    return kStatusTextIds.at(static_cast<size_t>(status));
}

QString FirmwareVersionText(unsigned version)
{
    return QStringLiteral("V%1").arg(version & 0xFFFF, 4, 16, QLatin1Char('0'));
}

CUpdateItems::CUpdateItems(std::vector<UpdateRecord> records) : records_(std::move(records))
{
    for (UpdateRecord& record : records_)
        record.checkEnabled = IsOffered(record.state) || record.state == UpdateState::Failed;
}

bool CUpdateItems::SetChecked(int index, bool checked)
{
    if (index < 0 || index >= static_cast<int>(records_.size()) || !records_[index].checkEnabled)
        return false;
    records_[index].checked = checked;
    return true;
}

bool CUpdateItems::AnyChecked() const
{
    return std::any_of(records_.begin(), records_.end(), [](const UpdateRecord& r) { return r.checked; });
}

void CUpdateItems::QueueChecked()
{
    for (UpdateRecord& record : records_) {
        if (record.checked && IsOffered(record.state))
            record.state = UpdateState::Queued;
        else
            record.checked = false;
    }
    MoveToNextChecked();
}

void CUpdateItems::MoveToNextChecked()
{
    const auto next = std::find_if(records_.begin(), records_.end(), [](const UpdateRecord& r) {
        return r.checked && r.state != UpdateState::UpToDate;
    });
    current_ = next == records_.end() ? -1 : static_cast<int>(next - records_.begin());
}

std::optional<UpdateWindowStatus> CUpdateItems::Relay(int event, int value)
{
    if (current_ < 0 || current_ >= static_cast<int>(records_.size()))
        return std::nullopt;
    UpdateRecord& record = records_[current_];
    switch (event) {
    case kRelayFinished:
        return Finished();
    case kRelayFailed:
    case kRelayFailedToo:
        record.state = UpdateState::Failed;
        record.checkEnabled = true;
        return std::nullopt;
    case kRelayProgress:
        record.progress = std::clamp(value, 0, 100);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<UpdateWindowStatus> CUpdateItems::Finished()
{
    UpdateRecord& record = records_[current_];
    record.currentVersion = record.offeredVersion;
    record.offeredVersion.clear();
    record.state = UpdateState::UpToDate;
    record.checked = false;
    record.checkEnabled = false;
    MoveToNextChecked();
    if (current_ >= 0)
        return std::nullopt;
    bool anyLeft = false;
    for (UpdateRecord& other : records_) {
        if (other.state == UpdateState::UpToDate)
            continue;
        other.checkEnabled = true;
        anyLeft = true;
    }
    return anyLeft ? UpdateWindowStatus::HaveUpdate : UpdateWindowStatus::UpToDate;
}

bool CUpdateItems::CanClose() const
{
    return std::all_of(records_.begin(), records_.end(), [](const UpdateRecord& r) {
        return IsOffered(r.state) || r.state == UpdateState::UpToDate || r.state == UpdateState::Failed;
    });
}

QString DateText(int year, int month, int day)
{
    return QStringLiteral("%1-%2-%3").arg(year).arg(month).arg(day);
}

QString ReadLastCheckDate(const std::string& path, const QString& today)
{
    const Json::Value document = ReadJsonFile(path);
    const Json::Value* value = Member(Member(&document, "updatelasttime"), "value");
    if (value && value->isString())
        return QString::fromStdString(value->asString());
    Json::Value fresh(Json::objectValue);
    fresh["updatelasttime"]["value"] = today.toStdString();
    WriteJsonFile(path, fresh);  // a date that can't be stored is asked for again next time
    return today;
}
