#pragma once
// Turning what the devices send into text for kestrova-ctl.

#include "devices/mouse/mouse_memory_map.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What a command result code means.
const char* ResultText(int result);

// Bytes in hexadecimal, separated by blanks.
std::string HexBytes(const uint8_t* bytes, size_t length);

// Label and value pairs, in order.
using Fields = std::vector<std::pair<std::string, std::string>>;

Fields DecodeInfoBlock(const uint8_t* block);
// The mouse's settings block; byte 0 already holds the current profile number.
Fields DecodeMouseSettings(const uint8_t* block);
// What a three-byte key-function code does.
std::string DescribeKeyFunction(uint8_t type, uint8_t value1, uint8_t value2);
// Which of the mouse's eleven keys has this code as its default, or -1.
int MouseKeyWithDefault(const uint8_t* code);
// What a notification code means.
std::string DescribeNotification(uint16_t code);
