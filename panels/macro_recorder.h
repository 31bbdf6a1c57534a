#pragma once
// The macro editor's action list without its widgets: the rows of the shown
// macro, the selection, live capture from hook events with the three delay
// modes, inserted mouse steps, moves and deletes. The panel draws the rows
// and saves what EventsToSave gives.

#include "panels/macro_event.h"
#include "services/hook_message.h"

#include <QRect>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

struct MacroRow {
    std::optional<MacroEvent> event;  // none: the overflow row past 60 steps
    int delayShown = 0;               // the delay edit; it wins when saving
};

// What the panel shows in a row.
enum class MacroRowStyle { kNone, kKeyboard, kMouse };
struct MacroRowLabel {
    MacroRowStyle style = MacroRowStyle::kNone;
    const char* textId = "";  // empty when the step names no known key
    bool isMovement = false;  // the state label shows the distance
};
MacroRowLabel LabelOfStep(const MacroEvent& event);

// The delay a row shows for a step read from a file: 10..65535.
int ShownDelayOf(const MacroEvent& event);

constexpr int kMinShownDelay = 10;
constexpr int kDefaultConstantDelay = 50;

// The typed fixed delay, held to 10..65535, and the text identifier of the
// message that says it was changed (empty when it was not).
struct FixedDelay {
    int value;
    const char* messageId;
};
FixedDelay ApplyFixedDelay(unsigned long long typed);

// What a macro capture message (by its registered name) carries: key or
// mouse events, for which target. Nothing for other messages.
struct MacroCaptureMessage {
    CaptureTarget target;
    bool mouse;
    friend bool operator==(const MacroCaptureMessage&, const MacroCaptureMessage&) = default;
};
std::optional<MacroCaptureMessage> MacroCaptureMessageOf(std::string_view name);

class CMacroRecorder {
public:
    using Clock = std::function<uint64_t()>;  // milliseconds
    explicit CMacroRecorder(Clock clock = {});

    // Rows built from a macro's steps; the first row selected.
    void Show(const std::vector<MacroEvent>& events);
    const std::vector<MacroRow>& Rows() const { return rows_; }
    int Selected() const { return selected_; }
    void Select(int row);  // out of range: no selection
    void SetShownDelay(int row, int delay);

    void StartCapture(DelayMode mode, int constantDelay);
    void StopCapture() { capturing_ = false; }
    bool IsCapturing() const { return capturing_; }
    // Where the stop button lies on the screen: a left click there ends the
    // capture and is not recorded.
    void SetStopButtonArea(const QRect& area) { stopButton_ = area; }

    // True when the rows changed.
    bool CaptureKey(CaptureTarget target, uint32_t message, const HookKeyRecord& record);
    bool CaptureMouse(CaptureTarget target, uint32_t message, const HookMouseRecord& record);

    // A button step (message 0x201..0x20C; variant 0 forward, 1 back for the
    // extra buttons) or a movement (message 0x200; variant 0 left, 1 right,
    // 2 up, 3 down, over distance counts), after the selected row.
    void InsertMouseAction(uint32_t message, int variant, int distance, int constantDelay);

    void MoveActionUp();
    void MoveActionDown();
    void MoveActionToTop();
    void MoveActionToBottom();
    void DeleteAction();
    void DeleteAllActions();

    // The steps to store, each with its shown delay. Rows from 60 on are
    // dropped first; truncated says so.
    std::vector<MacroEvent> EventsToSave(bool* truncated = nullptr);

private:
    struct HeldKey {
        uint32_t scanCode;
        bool extended;
    };
    static size_t TargetSlot(CaptureTarget target);
    bool PlaceCaptured(CaptureTarget target, const MacroEvent& step);
    bool ReplaceSelected(const MacroEvent& step);
    bool AddOverflowRowWhenFull();
    void MoveSelectedTo(int row);
    int NextDelay();

    Clock clock_;
    std::vector<MacroRow> rows_;
    int selected_ = -1;
    bool capturing_ = false;
    DelayMode mode_ = DelayMode::kRecorded;
    int constantDelay_ = kDefaultConstantDelay;
    uint64_t lastEventTime_ = 0;
    QRect stopButton_;
    // Per capture target, so auto-repeats and doubled messages are dropped.
    std::array<std::optional<HeldKey>, 4> heldKey_;
    std::array<uint32_t, 4> lastMouseMessage_{};
};
