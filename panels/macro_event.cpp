#include "panels/macro_event.h"

#include <cstdlib>
#include <string>

namespace {

int IntegerOf(const Json::Value& value)
{
    return value.isInt() ? value.asInt() : 0;
}

long long DelayOf(const Json::Value& value)
{
    if (value.isString())
        return LeadingDecimal(value.asString());
    if (value.isInt64())
        return value.asInt64();
    return 0;
}

}  // namespace

long long LeadingDecimal(const std::string& text)
{
    return std::strtoll(text.c_str(), nullptr, 10);
}

MacroEvent MacroEventFromJson(const Json::Value& value)
{
    MacroEvent event;
    if (!value.isObject())
        return event;
    const Json::Value& action = value[kEventAction];
    event.down = action.isString() && action.asString() == kActionDown;
    event.button = IntegerOf(value[kEventButton]);
    event.type = IntegerOf(value[kEventType]);
    event.delay = DelayOf(value[kEventDelay]);
    return event;
}

Json::Value MacroEventToJson(const MacroEvent& event)
{
    Json::Value value = RecoilEventToJson(event);
    value[kEventDelay] = std::to_string(event.delay);
    return value;
}

Json::Value RecoilEventToJson(const MacroEvent& event)
{
    Json::Value value(Json::objectValue);
    value[kEventAction] = event.down ? kActionDown : kActionUp;
    value[kEventButton] = event.button;
    value[kEventType] = event.type;
    value[kEventDelay] = static_cast<Json::Int64>(event.delay);
    return value;
}

std::vector<MacroEvent> EventsOfDocument(const Json::Value& document)
{
    std::vector<MacroEvent> events;
    if (!document.isObject() || !document[kEventsKey].isArray())
        return events;
    for (const Json::Value& element : document[kEventsKey])
        events.push_back(MacroEventFromJson(element));
    return events;
}
