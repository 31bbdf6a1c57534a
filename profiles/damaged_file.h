#pragma once
// A data file that can't be read is never written over: it is first moved
// aside under a name of its own, so the user can still rescue it.

#include <json/json.h>

#include <string>

// Moves a non-empty file to "<path>.damaged", or "<path>.damaged2", "3", ...
// when that name is taken, never over another file. True when nothing is
// left at `path` that writing could lose: moved, empty or missing.
bool SetDamagedFileAside(const std::string& path);

// True when the file at `path`, read as `document`, holds bytes that are not
// a JSON object: replacing it would lose them.
bool HoldsUnreadableData(const std::string& path, const Json::Value& document);
