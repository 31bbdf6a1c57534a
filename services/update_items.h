#pragma once
// The settings window's list of updatable items (each device model's
// firmware and the program itself) and what the external update program's
// reports do to it, without a window. The update program is not part of
// this program; it reports through the relay message, whose events are
//   1  the current item finished     2, 3  it failed     4  progress (percent)

#include <QString>

#include <optional>
#include <string>
#include <vector>

enum class UpdateState {
    NotOffered = 0,   // nothing newer; check box off and disabled
    Offered = 1,
    OfferedAgain = 2,
    Queued = 3,
    Downloading = 4,
    Downloaded = 5,
    Updating = 6,
    UpToDate = 7,
    Failed = 8,
};

// The window's status line ("Update_Status_text").
enum class UpdateWindowStatus {
    GettingInfo = 0,
    HaveUpdate = 1,
    NoUpdateInfo = 2,
    Updating = 3,
    UpToDate = 4,
};

struct UpdateRecord {
    UpdateState state = UpdateState::UpToDate;
    QString name;
    QString currentVersion;
    QString offeredVersion;
    QString tooltip;
    QString programPath;
    bool checked = false;
    bool checkEnabled = false;
    int progress = 0;  // percent
};

const char* UpdateStateTextId(UpdateState state);
const char* UpdateWindowStatusTextId(UpdateWindowStatus status);
// The version text of a device's firmware: "V" and four hexadecimal digits.
QString FirmwareVersionText(unsigned version);

class CUpdateItems {
public:
    static constexpr int kRelayFinished = 1;
    static constexpr int kRelayFailed = 2;
    static constexpr int kRelayFailedToo = 3;
    static constexpr int kRelayProgress = 4;

    explicit CUpdateItems(std::vector<UpdateRecord> records = {});

    const std::vector<UpdateRecord>& Records() const { return records_; }
    int Current() const { return current_; }

    // A user's check; false when the item's check is disabled or out of range.
    bool SetChecked(int index, bool checked);
    bool AnyChecked() const;
    // "update_OK_btn": checked items offered go to the queue, other checks are
    // cleared; the first queued item becomes the current one.
    void QueueChecked();
    // An event of the update program; the new window status when it changes.
    // Ignored while no item is current.
    std::optional<UpdateWindowStatus> Relay(int event, int value);
    // The window may close unless an item is on its way.
    bool CanClose() const;

private:
    std::optional<UpdateWindowStatus> Finished();
    void MoveToNextChecked();

    std::vector<UpdateRecord> records_;
    int current_ = -1;
};

// The date of the last update check ("updatetime.config", member
// "updatelasttime"/"value"); when the file or the member is missing, `today`
// ("%d-%d-%d", year, month, day) is stored and returned.
QString ReadLastCheckDate(const std::string& path, const QString& today);
QString DateText(int year, int month, int day);
