#include "profiles/json_access.h"

#include <climits>
#include <cstring>

const Json::Value& MemberOf(const Json::Value& object, const char* key)
{
    if (!object.isObject())
        return Json::Value::nullSingleton();
    const Json::Value* member = object.find(key, key + std::strlen(key));
    return member != nullptr ? *member : Json::Value::nullSingleton();
}

const Json::Value& ElementOf(const Json::Value& array, Json::ArrayIndex index)
{
    if (!array.isArray() || index >= array.size())
        return Json::Value::nullSingleton();
    return array[index];
}

int IntOf(const Json::Value& value, int fallback)
{
    if (value.isInt() || value.isBool())
        return value.asInt();
    if (value.isDouble() && value.asDouble() >= INT_MIN && value.asDouble() <= INT_MAX)
        return static_cast<int>(value.asDouble());
    return fallback;
}

bool FlagOf(const Json::Value& value)
{
    if (value.isBool())
        return value.asBool();
    return value.isNumeric() && value.asDouble() != 0.0;
}

std::string TextOf(const Json::Value& value)
{
    return value.isString() ? value.asString() : std::string();
}

Json::Value& AsObject(Json::Value& value)
{
    if (!value.isObject())
        value = Json::Value(Json::objectValue);
    return value;
}

Json::Value& AsArray(Json::Value& value)
{
    if (!value.isArray())
        value = Json::Value(Json::arrayValue);
    return value;
}

Json::Value& ObjectMember(Json::Value& object, const char* key)
{
    return AsObject(AsObject(object)[key]);
}

Json::Value& ArrayMember(Json::Value& object, const char* key)
{
    return AsArray(AsObject(object)[key]);
}
