#include "panels/macro_recorder.h"

#include "panels/macro_key_tables.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr int kMaxRecordedDelay = 65534;  // longer waits are stored as 65535
constexpr int kMaxMoveDistance = 255;

uint64_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

MacroEvent StepOfMouseRow(const MouseActionRow& row)
{
    MacroEvent step;
    step.down = (row.flags & kActionDownFlag) != 0;
    step.button = row.button;
    step.type = row.flags & 0x7F;
    return step;
}

bool IsKeyDown(uint32_t message)
{
    return message == kKeyDownMessage || message == kSystemKeyDownMessage;
}

}  // namespace

MacroRowLabel LabelOfStep(const MacroEvent& event)
{
    const auto actions = MouseActionTable();
    switch (event.type) {
    case kMacroKey:
    case kMacroModifierKey: {
        const MacroKeyRow* key = FindKeyOfStep(event.type, event.button);
        return {MacroRowStyle::kKeyboard, key != nullptr ? key->textId : "", false};
    }
    case kMacroMouseButton:
        for (size_t i = 0; i < kMouseMoveRowFirst; ++i)
            if (actions[i].button == event.button)
                return {MacroRowStyle::kMouse, actions[i].textId, false};
        return {MacroRowStyle::kMouse, "", false};
    case kMacroHorizontalMove:
    case kMacroVerticalMove: {
        const int flags = event.type | (event.down ? kActionDownFlag : 0);
        for (size_t i = kMouseMoveRowFirst; i < kMouseMoveRowFirst + kMouseMoveRows; ++i)
            if (actions[i].flags == flags)
                return {MacroRowStyle::kMouse, actions[i].textId, true};
        return {MacroRowStyle::kMouse, "", true};
    }
    case 2:
    case 3:  // never made here, but files may hold them
        return {MacroRowStyle::kMouse, "", true};
    default:
        return {};
    }
}

std::optional<MacroCaptureMessage> MacroCaptureMessageOf(std::string_view name)
{
    const std::optional<HookMessageMeaning> meaning = HookMessageMeaningOf(name);
    if (!meaning || !IsMacroHookMode(meaning->mode))
        return std::nullopt;
    return MacroCaptureMessage{static_cast<CaptureTarget>(meaning->mode), meaning->mouse};
}

int ShownDelayOf(const MacroEvent& event)
{
    return static_cast<int>(std::clamp<long long>(event.delay, kMinShownDelay, kMaxMacroDelay));
}

FixedDelay ApplyFixedDelay(unsigned long long typed)
{
    if (typed > static_cast<unsigned long long>(kMaxMacroDelay))
        return {kMaxMacroDelay, "message_text_38"};
    if (typed < static_cast<unsigned long long>(kMinShownDelay))
        return {kMinShownDelay, "message_text_36"};
    return {static_cast<int>(typed), ""};
}

CMacroRecorder::CMacroRecorder(Clock clock) : clock_(clock ? std::move(clock) : Clock(SteadyMilliseconds)) {}

void CMacroRecorder::Show(const std::vector<MacroEvent>& events)
{
    rows_.clear();
    for (const MacroEvent& event : events)
        rows_.push_back({event, ShownDelayOf(event)});
    selected_ = rows_.empty() ? -1 : 0;
}

void CMacroRecorder::Select(int row)
{
    selected_ = row >= 0 && static_cast<size_t>(row) < rows_.size() ? row : -1;
}

void CMacroRecorder::SetShownDelay(int row, int delay)
{
    if (row >= 0 && static_cast<size_t>(row) < rows_.size())
        rows_[static_cast<size_t>(row)].delayShown = delay;
}

void CMacroRecorder::StartCapture(DelayMode mode, int constantDelay)
{
    mode_ = mode;
    constantDelay_ = constantDelay;
    lastEventTime_ = clock_();
    capturing_ = true;
}

size_t CMacroRecorder::TargetSlot(CaptureTarget target)
{
    switch (target) {
    case CaptureTarget::kAppend:
        return 0;
    case CaptureTarget::kBefore:
        return 1;
    case CaptureTarget::kAfter:
        return 2;
    case CaptureTarget::kReplace:
        break;
    }
    return 3;
}

bool CMacroRecorder::CaptureKey(CaptureTarget target, uint32_t message, const HookKeyRecord& record)
{
    if (!capturing_)
        return false;
    const HeldKey key{record.scanCode, (record.flags & kHookExtendedFlag) != 0};
    std::optional<HeldKey>& held = heldKey_[TargetSlot(target)];
    const bool sameAsHeld = held && held->scanCode == key.scanCode && held->extended == key.extended;
    if (IsKeyDown(message)) {
        if (sameAsHeld)
            return false;  // auto-repeat
        held = key;
    } else if (sameAsHeld) {
        held.reset();
    }
    const MacroKeyRow* row = FindKeyByScanCode(key.scanCode, key.extended);
    if (row == nullptr)
        return false;
    MacroEvent step;
    step.down = IsKeyDown(message);
    step.button = row->usage != 0 ? row->usage : row->modifierBit;
    step.type = row->usage != 0 ? kMacroKey : kMacroModifierKey;
    return PlaceCaptured(target, step);
}

bool CMacroRecorder::CaptureMouse(CaptureTarget target, uint32_t message, const HookMouseRecord& record)
{
    if (!capturing_)
        return false;
    const MouseActionRow* row = FindMouseAction(message, record.mouseData >> 16);
    if (row == nullptr)
        return false;
    uint32_t& last = lastMouseMessage_[TargetSlot(target)];
    if (last == message)
        return false;
    last = message;
    if ((message == kLeftDown || message == kLeftUp) && stopButton_.contains(record.x, record.y))
        return false;
    return PlaceCaptured(target, StepOfMouseRow(*row));
}

bool CMacroRecorder::AddOverflowRowWhenFull()
{
    if (rows_.size() < kMaxMacroEvents)
        return false;
    rows_.push_back({});
    return true;
}

int CMacroRecorder::NextDelay()
{
    switch (mode_) {
    case DelayMode::kConstant:
        return constantDelay_;
    case DelayMode::kIgnored:
        return 0;
    case DelayMode::kRecorded:
        break;
    }
    const uint64_t now = clock_();
    const uint64_t elapsed = now - lastEventTime_;
    lastEventTime_ = now;
    return static_cast<int>(std::clamp<uint64_t>(elapsed > kMaxRecordedDelay ? kMaxMacroDelay : elapsed,
                                                 kMinShownDelay, kMaxMacroDelay));
}

bool CMacroRecorder::PlaceCaptured(CaptureTarget target, const MacroEvent& step)
{
    if (AddOverflowRowWhenFull())
        return true;
    if (target == CaptureTarget::kReplace)
        return ReplaceSelected(step);
    if (target != CaptureTarget::kAppend && selected_ < 0)
        return false;
    size_t position = rows_.size();
    if (target == CaptureTarget::kBefore)
        position = static_cast<size_t>(selected_);
    else if (target == CaptureTarget::kAfter)
        position = static_cast<size_t>(selected_) + 1;

    const int delay = NextDelay();
    MacroRow row{step, kMinShownDelay};
    row.event->delay = 0;
    const bool first = position == 0;
    if (!first && mode_ == DelayMode::kConstant) {
        row.event->delay = constantDelay_;
        row.delayShown = constantDelay_;
    }
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(position), row);
    if (!first && rows_[position - 1].event) {
        // Each step carries the wait until the next one.
        rows_[position - 1].event->delay = delay;
        rows_[position - 1].delayShown = delay;
    }
    selected_ = target == CaptureTarget::kBefore ? selected_ + 1 : static_cast<int>(position);
    return true;
}

bool CMacroRecorder::ReplaceSelected(const MacroEvent& step)
{
    if (selected_ < 0 || !rows_[static_cast<size_t>(selected_)].event)
        return false;
    MacroEvent& event = *rows_[static_cast<size_t>(selected_)].event;
    event.down = step.down;
    event.button = step.button;
    event.type = step.type;
    return true;
}

void CMacroRecorder::InsertMouseAction(uint32_t message, int variant, int distance, int constantDelay)
{
    const auto actions = MouseActionTable();
    const MouseActionRow* row = nullptr;
    if (message == kMouseMove && variant >= 0 && static_cast<size_t>(variant) < kMouseMoveRows)
        row = &actions[kMouseMoveRowFirst + static_cast<size_t>(variant)];
    else if (message == kExtraDown || message == kExtraUp)
        row = FindMouseAction(message, variant == 0 ? kSecondExtraButton : kFirstExtraButton);
    else if (message != kMouseMove)
        row = FindMouseAction(message, 0);
    if (row == nullptr || AddOverflowRowWhenFull())
        return;
    MacroEvent step = StepOfMouseRow(*row);
    if (message == kMouseMove)
        step.button = std::clamp(distance, 0, kMaxMoveDistance);
    step.delay = constantDelay;
    const size_t position = rows_.empty() ? 0 : static_cast<size_t>(std::max(selected_, 0)) + 1;
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(position), MacroRow{step, constantDelay});
    selected_ = static_cast<int>(position);
}

void CMacroRecorder::MoveSelectedTo(int row)
{
    MacroRow moved = rows_[static_cast<size_t>(selected_)];
    // The row is built again from its step, so an unsaved delay edit is lost.
    if (moved.event)
        moved.delayShown = ShownDelayOf(*moved.event);
    rows_.erase(rows_.begin() + selected_);
    rows_.insert(rows_.begin() + row, moved);
    selected_ = row;
}

void CMacroRecorder::MoveActionUp()
{
    if (selected_ > 0)
        MoveSelectedTo(selected_ - 1);
}

void CMacroRecorder::MoveActionDown()
{
    if (selected_ >= 0 && static_cast<size_t>(selected_) + 1 < rows_.size())
        MoveSelectedTo(selected_ + 1);
}

void CMacroRecorder::MoveActionToTop()
{
    if (selected_ > 0)
        MoveSelectedTo(0);
}

void CMacroRecorder::MoveActionToBottom()
{
    if (selected_ >= 0 && static_cast<size_t>(selected_) + 1 < rows_.size())
        MoveSelectedTo(static_cast<int>(rows_.size()) - 1);
}

void CMacroRecorder::DeleteAction()
{
    if (selected_ < 0)
        return;
    rows_.erase(rows_.begin() + selected_);
    selected_ = -1;
}

void CMacroRecorder::DeleteAllActions()
{
    rows_.clear();
    selected_ = -1;
}

std::vector<MacroEvent> CMacroRecorder::EventsToSave(bool* truncated)
{
    const bool tooMany = rows_.size() > kMaxMacroEvents;
    if (tooMany) {
        rows_.resize(kMaxMacroEvents);
        if (selected_ >= static_cast<int>(kMaxMacroEvents))
            selected_ = -1;
    }
    if (truncated != nullptr)
        *truncated = tooMany;
    std::vector<MacroEvent> events;
    for (MacroRow& row : rows_) {
        if (!row.event)
            break;
        row.event->delay = row.delayShown;
        events.push_back(*row.event);
    }
    return events;
}
