#pragma once
// Reading and writing profile trees whatever a file holds. JsonCpp's own
// accessors throw when a value has another kind than the one asked for; these
// give the default instead, and the writers turn a value of the wrong kind
// into the container they need.

#include <json/json.h>

#include <string>

// The member, or null when `object` is no object or lacks it.
const Json::Value& MemberOf(const Json::Value& object, const char* key);
// The element, or null when `array` is no array or is shorter.
const Json::Value& ElementOf(const Json::Value& array, Json::ArrayIndex index);

// An integer value (or a boolean, or a number within the int range) as int;
// `fallback` for anything else.
int IntOf(const Json::Value& value, int fallback = 0);
// Booleans and numbers: true when non-zero.
bool FlagOf(const Json::Value& value);
// Text values; empty for anything else.
std::string TextOf(const Json::Value& value);

// The value itself once it is an object (or array); a value of any other kind
// is replaced by an empty one first.
Json::Value& AsObject(Json::Value& value);
Json::Value& AsArray(Json::Value& value);
// AsObject(object)[key], made an object (array) in turn.
Json::Value& ObjectMember(Json::Value& object, const char* key);
Json::Value& ArrayMember(Json::Value& object, const char* key);
