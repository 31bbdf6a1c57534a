// The macro recorder driven by synthetic hook events, as the capture hands
// them over: delay modes, chords, targets, repeats, the 60-step limit, and
// the hand edits of the action list.

#include "panels/macro_key_tables.h"
#include "panels/macro_recorder.h"

#include <gtest/gtest.h>

namespace {

// Scan codes of a few keys (set 1).
constexpr uint32_t kScanA = 0x1E;
constexpr uint32_t kScanB = 0x30;
constexpr uint32_t kScanCtrl = 0x1D;
constexpr uint32_t kScanShift = 0x2A;
constexpr uint8_t kUsageA = 0x04;
constexpr uint8_t kUsageB = 0x05;

class RecorderTest : public ::testing::Test {
protected:
    void Key(uint32_t scan, bool down, uint64_t at, CaptureTarget target = CaptureTarget::kAppend,
             bool extended = false)
    {
        now_ = at;
        recorder_.CaptureKey(target, down ? kKeyDownMessage : kKeyUpMessage,
                             {0, scan, extended ? kHookExtendedFlag : 0u});
    }
    void Mouse(uint32_t message, uint64_t at, uint32_t extra = 0, int x = 0, int y = 0)
    {
        now_ = at;
        recorder_.CaptureMouse(CaptureTarget::kAppend, message, {x, y, extra << 16});
    }
    void Start(DelayMode mode, uint64_t at = 0, int constant = 50)
    {
        now_ = at;
        recorder_.StartCapture(mode, constant);
    }

    // Step and shown delay of each row.
    std::vector<std::pair<MacroEvent, int>> Rows() const
    {
        std::vector<std::pair<MacroEvent, int>> rows;
        for (const MacroRow& row : recorder_.Rows())
            rows.push_back({row.event.value_or(MacroEvent{}), row.delayShown});
        return rows;
    }

    static MacroEvent Step(bool down, int button, int type, long long delay)
    {
        return {down, button, type, delay};
    }

    uint64_t now_ = 0;
    CMacroRecorder recorder_{[this] { return now_; }};
};

TEST_F(RecorderTest, RecordedDelaysAreTheTimeUntilTheNextStepAtLeastTen)
{
    Start(DelayMode::kRecorded, 1000);
    Key(kScanA, true, 1100);
    Key(kScanA, false, 1105);   // 5 ms: raised to 10
    Key(kScanB, true, 1405);    // 300 ms
    Key(kScanB, false, 80000);  // past 65534: 65535
    EXPECT_EQ(Rows(), (std::vector<std::pair<MacroEvent, int>>{
                          {Step(true, kUsageA, kMacroKey, 10), 10},
                          {Step(false, kUsageA, kMacroKey, 300), 300},
                          {Step(true, kUsageB, kMacroKey, 65535), 65535},
                          {Step(false, kUsageB, kMacroKey, 0), 10},  // the last keeps the placeholder
                      }));
}

TEST_F(RecorderTest, ConstantAndIgnoredModesFillEveryDelayButTheLast)
{
    struct Case {
        DelayMode mode;
        long long delay;
        int lastShown;
    };
    for (const Case& c : {Case{DelayMode::kConstant, 75, 75}, Case{DelayMode::kIgnored, 0, 10}}) {
        recorder_.DeleteAllActions();
        Start(c.mode, 0, 75);
        Key(kScanA, true, 10);
        Key(kScanA, false, 5000);
        Key(kScanB, true, 9000);
        const auto rows = Rows();
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[0].first.delay, c.delay);
        EXPECT_EQ(rows[1].first.delay, c.delay);
        EXPECT_EQ(rows[2].second, c.lastShown);
    }
}

TEST_F(RecorderTest, LoneFirstRowShowsTenWithDelayZero)
{
    Start(DelayMode::kConstant, 0, 75);
    Key(kScanA, true, 10);
    EXPECT_EQ(Rows(), (std::vector<std::pair<MacroEvent, int>>{{Step(true, kUsageA, kMacroKey, 0), 10}}));
}

TEST_F(RecorderTest, ChordKeepsEveryKeyAndItsOwnOrderOfRelease)
{
    // Ctrl+Shift+A held together, released A, Ctrl, Shift; auto-repeats of the
    // held keys arrive in between and are dropped.
    Start(DelayMode::kIgnored);
    Key(kScanCtrl, true, 0);
    Key(kScanShift, true, 0);
    Key(kScanA, true, 0);
    Key(kScanA, true, 0);
    Key(kScanA, false, 0);
    Key(kScanCtrl, false, 0);
    Key(kScanShift, false, 0);
    std::vector<std::pair<bool, int>> steps;
    for (const auto& [step, shown] : Rows())
        steps.push_back({step.down, step.type == kMacroModifierKey ? -step.button : step.button});
    EXPECT_EQ(steps, (std::vector<std::pair<bool, int>>{
                         {true, -0x01}, {true, -0x02}, {true, kUsageA}, {false, kUsageA}, {false, -0x01},
                         {false, -0x02}}));
}

TEST_F(RecorderTest, HeldKeyRecordsOneDownUntilItGoesUp)
{
    Start(DelayMode::kIgnored);
    for (int i = 0; i < 5; ++i)
        Key(kScanA, true, 0);
    Key(kScanA, false, 0);
    Key(kScanA, true, 0);
    EXPECT_EQ(recorder_.Rows().size(), 3u);
}

TEST_F(RecorderTest, ExtendedFlagTellsKeysOfOneScanCodeApart)
{
    Start(DelayMode::kIgnored);
    Key(kScanCtrl, true, 0, CaptureTarget::kAppend, true);  // right Ctrl
    Key(0x48, true, 0, CaptureTarget::kAppend, true);       // Up arrow, not keypad 8
    Key(0x7F, true, 0);                                     // no such key: dropped
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].first, Step(true, 0x10, kMacroModifierKey, 0));
    EXPECT_EQ(rows[1].first.button, 0x52);
}

TEST_F(RecorderTest, MouseButtonsWithRepeatsAndTheStopClickDropped)
{
    recorder_.SetStopButtonArea(QRect(100, 100, 40, 20));
    Start(DelayMode::kIgnored);
    Mouse(kLeftDown, 0, 0, 5, 5);
    Mouse(kLeftDown, 0, 0, 5, 5);  // a second down without an up
    Mouse(kLeftUp, 0, 0, 5, 5);
    Mouse(kExtraDown, 0, kSecondExtraButton);
    Mouse(kExtraUp, 0, 7);  // unknown extra button
    Mouse(kExtraUp, 0, kSecondExtraButton);
    Mouse(kMouseMove, 0);
    Mouse(kLeftDown, 0, 0, 110, 110);  // the click on the stop button
    std::vector<MacroEvent> steps;
    for (const auto& [step, shown] : Rows())
        steps.push_back(step);
    EXPECT_EQ(steps, (std::vector<MacroEvent>{Step(true, 1, kMacroMouseButton, 0), Step(false, 1, kMacroMouseButton, 0),
                                             Step(true, 0x10, kMacroMouseButton, 0),
                                             Step(false, 0x10, kMacroMouseButton, 0)}));
}

TEST_F(RecorderTest, NothingIsRecordedOutsideACapture)
{
    Key(kScanA, true, 0);
    Start(DelayMode::kIgnored);
    recorder_.StopCapture();
    Key(kScanB, true, 0);
    EXPECT_TRUE(recorder_.Rows().empty());
}

TEST_F(RecorderTest, CaptureBeforeTheFirstRowKeepsTheOldRowSelected)
{
    recorder_.Show({Step(true, kUsageB, kMacroKey, 20)});
    Start(DelayMode::kIgnored);
    Key(kScanA, true, 0, CaptureTarget::kBefore);
    Key(kScanA, false, 0, CaptureTarget::kBefore);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].first, Step(true, kUsageA, kMacroKey, 0));
    EXPECT_EQ(rows[1].first, Step(false, kUsageA, kMacroKey, 0));
    EXPECT_EQ(recorder_.Selected(), 2);
}

TEST_F(RecorderTest, CaptureAfterChainsTheNewRowsBehindTheSelectedOne)
{
    recorder_.Show({Step(true, kUsageB, kMacroKey, 20), Step(false, kUsageB, kMacroKey, 20)});
    recorder_.Select(0);
    Start(DelayMode::kConstant, 0, 30);
    Key(kScanA, true, 0, CaptureTarget::kAfter);
    Key(kScanA, false, 0, CaptureTarget::kAfter);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].first, Step(true, kUsageA, kMacroKey, 30));
    EXPECT_EQ(rows[2].first, Step(false, kUsageA, kMacroKey, 30));
    EXPECT_EQ(rows[3].first, Step(false, kUsageB, kMacroKey, 20));
    EXPECT_EQ(recorder_.Selected(), 2);
}

TEST_F(RecorderTest, TargetsNeedingASelectionDoNothingWithoutOne)
{
    recorder_.Show({Step(true, kUsageB, kMacroKey, 20)});
    recorder_.Select(-1);
    Start(DelayMode::kIgnored);
    for (CaptureTarget target : {CaptureTarget::kBefore, CaptureTarget::kAfter, CaptureTarget::kReplace})
        Key(kScanA, true, 0, target);
    EXPECT_EQ(recorder_.Rows().size(), 1u);
}

TEST_F(RecorderTest, ReplaceKeepsTheDelayAndGoesOnReplacingTheSameRow)
{
    recorder_.Show({Step(true, kUsageB, kMacroKey, 40), Step(false, kUsageB, kMacroKey, 60)});
    recorder_.Select(1);
    Start(DelayMode::kIgnored);
    Key(kScanA, true, 0, CaptureTarget::kReplace);
    Key(kScanCtrl, true, 0, CaptureTarget::kReplace);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].first, Step(true, 0x01, kMacroModifierKey, 60));
}

TEST_F(RecorderTest, SixtyRowsTakeAnOverflowRowThatSavingRemoves)
{
    recorder_.Show(std::vector<MacroEvent>(kMaxMacroEvents, Step(true, kUsageA, kMacroKey, 20)));
    Start(DelayMode::kIgnored);
    Key(kScanB, true, 0);
    ASSERT_EQ(recorder_.Rows().size(), kMaxMacroEvents + 1);
    EXPECT_FALSE(recorder_.Rows().back().event.has_value());
    bool truncated = false;
    EXPECT_EQ(recorder_.EventsToSave(&truncated).size(), kMaxMacroEvents);
    EXPECT_TRUE(truncated);
}

TEST_F(RecorderTest, SavedStepsTakeTheShownDelay)
{
    recorder_.Show({Step(true, kUsageA, kMacroKey, 5), Step(false, kUsageA, kMacroKey, 70000)});
    EXPECT_EQ(recorder_.Rows()[0].delayShown, 10);
    EXPECT_EQ(recorder_.Rows()[1].delayShown, 65535);
    recorder_.SetShownDelay(0, 250);
    bool truncated = true;
    EXPECT_EQ(recorder_.EventsToSave(&truncated),
              (std::vector<MacroEvent>{Step(true, kUsageA, kMacroKey, 250), Step(false, kUsageA, kMacroKey, 65535)}));
    EXPECT_FALSE(truncated);
}

TEST_F(RecorderTest, ClickFromTheMenuPutsDownThenUpAfterTheSelectedRow)
{
    recorder_.Show({Step(true, kUsageA, kMacroKey, 20), Step(false, kUsageA, kMacroKey, 20)});
    recorder_.Select(0);
    recorder_.InsertMouseAction(kRightDown, 0, 0, 50);
    recorder_.InsertMouseAction(kRightUp, 0, 0, 50);
    recorder_.InsertMouseAction(kExtraDown, 1, 0, 50);  // back button
    recorder_.InsertMouseAction(kMouseMove, 2, 300, 50);  // up, distance held to one byte
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1], std::make_pair(Step(true, 2, kMacroMouseButton, 50), 50));
    EXPECT_EQ(rows[2].first, Step(false, 2, kMacroMouseButton, 50));
    EXPECT_EQ(rows[3].first, Step(true, 0x08, kMacroMouseButton, 50));
    EXPECT_EQ(rows[4].first, Step(true, 255, kMacroVerticalMove, 50));
    EXPECT_EQ(recorder_.Selected(), 4);
}

TEST_F(RecorderTest, MovesRebuildTheRowAndStopAtTheEnds)
{
    const std::vector<MacroEvent> steps = {Step(true, 1, kMacroKey, 20), Step(true, 2, kMacroKey, 70000),
                                           Step(true, 3, kMacroKey, 40)};
    auto buttons = [this] {
        std::vector<int> order;
        for (const MacroRow& row : recorder_.Rows())
            order.push_back(row.event->button);
        return order;
    };
    recorder_.Show(steps);
    recorder_.MoveActionUp();  // the first row: nothing
    EXPECT_EQ(buttons(), (std::vector<int>{1, 2, 3}));
    recorder_.Select(1);
    recorder_.SetShownDelay(1, 99);  // unsaved edit, lost by the move
    recorder_.MoveActionToBottom();
    EXPECT_EQ(buttons(), (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(recorder_.Rows()[2].delayShown, 65535);
    EXPECT_EQ(recorder_.Rows()[2].event->delay, 70000);
    recorder_.MoveActionDown();  // the last row: nothing
    recorder_.MoveActionToTop();
    EXPECT_EQ(buttons(), (std::vector<int>{2, 1, 3}));
    recorder_.MoveActionDown();
    EXPECT_EQ(buttons(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(recorder_.Selected(), 1);
    recorder_.DeleteAction();
    EXPECT_EQ(buttons(), (std::vector<int>{1, 3}));
    recorder_.DeleteAction();  // nothing selected any more
    EXPECT_EQ(recorder_.Rows().size(), 2u);
}

TEST(MacroRowLabels, EachKindOfStepNamesItsKey)
{
    struct Case {
        MacroEvent step;
        MacroRowStyle style;
        std::string textId;
        bool movement;
    };
    const Case cases[] = {
        {{true, 0x04, kMacroKey, 0}, MacroRowStyle::kKeyboard, "keyboard_key_A", false},
        {{true, 0x32, kMacroKey, 0}, MacroRowStyle::kKeyboard, "keyboard_key_K42", false},
        {{true, 0x40, kMacroModifierKey, 0}, MacroRowStyle::kKeyboard, "keyboard_key_RAlt", false},
        {{true, 0x08, kMacroMouseButton, 0}, MacroRowStyle::kMouse, "mouse_key_back", false},
        {{true, 9, kMacroHorizontalMove, 0}, MacroRowStyle::kMouse, "mouse_move_to_left_text", true},
        {{false, 9, kMacroVerticalMove, 0}, MacroRowStyle::kMouse, "mouse_move_to_down_text", true},
        {{true, 0xEE, kMacroKey, 0}, MacroRowStyle::kKeyboard, "", false},
        {{true, 1, 3, 0}, MacroRowStyle::kMouse, "", true},
        {{true, 1, 77, 0}, MacroRowStyle::kNone, "", false},
    };
    for (const Case& c : cases) {
        const MacroRowLabel label = LabelOfStep(c.step);
        EXPECT_EQ(label.style, c.style) << c.textId;
        EXPECT_EQ(label.textId, c.textId);
        EXPECT_EQ(label.isMovement, c.movement) << c.textId;
    }
}

TEST(MacroCaptureMessages, EachNameCarriesItsTargetAndKind)
{
    using Meaning = std::optional<MacroCaptureMessage>;
    EXPECT_EQ(MacroCaptureMessageOf("WM_HOOK_KEY_KBMACRO_MSG"), (Meaning{{CaptureTarget::kAppend, false}}));
    EXPECT_EQ(MacroCaptureMessageOf("WM_HOOK_KEY_KBMACROPREVIOUS_MSG"), (Meaning{{CaptureTarget::kBefore, false}}));
    EXPECT_EQ(MacroCaptureMessageOf("WM_HOOK_KEY_MSMACROLATER_MSG"), (Meaning{{CaptureTarget::kAfter, true}}));
    EXPECT_EQ(MacroCaptureMessageOf("WM_HOOK_KEY_MSMACROSINGLE_MSG"), (Meaning{{CaptureTarget::kReplace, true}}));
    EXPECT_EQ(MacroCaptureMessageOf("WM_HOOK_KEY_SINGLEKEY_MSG"), std::nullopt);
    EXPECT_EQ(MacroCaptureMessageOf("WM_HOOK_MOU_MSMACRO_MSG"), std::nullopt);
}

TEST(MacroFixedDelay, TypedValuesAreHeldToTheEditRangeWithAMessage)
{
    EXPECT_EQ(ApplyFixedDelay(70000).value, 65535);
    EXPECT_STREQ(ApplyFixedDelay(70000).messageId, "message_text_38");
    EXPECT_EQ(ApplyFixedDelay(3).value, 10);
    EXPECT_STREQ(ApplyFixedDelay(3).messageId, "message_text_36");
    EXPECT_STREQ(ApplyFixedDelay(10).messageId, "");
}

}  // namespace
