#pragma once
// One step of a macro as the macro files, the editor and the device know it,
// and the small enumerations the recorder is driven by.

#include <json/json.h>

#include <cstdint>
#include <string>
#include <vector>

// Kinds of step ("Type" in the files).
enum MacroEventType : uint8_t {
    kMacroMouseButton = 1,
    kMacroHorizontalMove = 4,  // "down" = to the left
    kMacroVerticalMove = 5,    // "down" = upwards
    kMacroModifierKey = 9,     // Button: bit of the HID modifier byte
    kMacroKey = 10,            // Button: HID keyboard usage
};

// Where captured steps go. The values are the hook's capture modes.
enum class CaptureTarget : int { kAppend = 4, kBefore = 8, kAfter = 16, kReplace = 32 };

// The macro editor answers a command that arms a capture with its
// CaptureTarget, and one that ends it with this.
constexpr int kMacroCaptureEnded = 3;

// How a capture fills the delays between steps.
enum class DelayMode : int { kRecorded = 1, kConstant = 2, kIgnored = 3 };

constexpr size_t kMaxMacroEvents = 60;
constexpr int kMaxMacroDelay = 65535;

struct MacroEvent {
    bool down = false;   // "Action": "down" or "up"
    int button = 0;      // "Button"
    int type = 0;        // "Type"
    long long delay = 0;  // "Delay": milliseconds after this step
    friend bool operator==(const MacroEvent&, const MacroEvent&) = default;
};

// The JSON keys and texts of a step.
inline constexpr const char* kEventsKey = "Events";
inline constexpr const char* kEventAction = "Action";
inline constexpr const char* kEventButton = "Button";
inline constexpr const char* kEventType = "Type";
inline constexpr const char* kEventDelay = "Delay";
inline constexpr const char* kActionDown = "down";
inline constexpr const char* kActionUp = "up";

// Reads a step; "Delay" may be decimal text (macro files) or a number
// (recoil files). Keys that are missing or of another kind read as 0 / "up".
MacroEvent MacroEventFromJson(const Json::Value& value);
// The step as a macro file stores it: "Delay" as decimal text.
Json::Value MacroEventToJson(const MacroEvent& event);
// The step as a recoil file stores it: every number a JSON integer.
Json::Value RecoilEventToJson(const MacroEvent& event);

// The "Events" array of a document; empty when it has none.
std::vector<MacroEvent> EventsOfDocument(const Json::Value& document);

// The leading decimal number of a text, as the C library reads it; no digits
// read as 0, and values beyond the range of long long saturate.
long long LeadingDecimal(const std::string& text);
