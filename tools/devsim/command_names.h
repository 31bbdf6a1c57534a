#pragma once
// Names of the command codes, for logs and typed commands.

#include <cstdint>
#include <optional>
#include <string_view>

namespace devsim {

const char* CommandName(uint8_t command);
// By name, without regard to case ("writememory"); nothing when unknown.
std::optional<uint8_t> CommandByName(std::string_view name);

}  // namespace devsim
