#include "tools/devsim/traffic_log.h"

#include "tools/devsim/command_names.h"
#include "tools/devsim/report_descriptors.h"
#include "transport/command_frame.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>

namespace devsim {

namespace {

const char* FrameTypeName(uint8_t type)
{
    switch (type) {
    case vhid::kHello: return "HELLO";
    case vhid::kInput: return "INPUT";
    case vhid::kOutput: return "OUTPUT";
    case vhid::kSetOutput: return "SET_OUTPUT";
    case vhid::kAck: return "ACK";
    case vhid::kSetFeature: return "SET_FEATURE";
    case vhid::kFeature: return "FEATURE";
    case vhid::kGetFeature: return "GET_FEATURE";
    default: return "UNKNOWN";
    }
}

bool IsReport(uint8_t type)
{
    return type == vhid::kInput || type == vhid::kOutput || type == vhid::kSetOutput;
}

std::string DecodeReport(const std::vector<uint8_t>& payload)
{
    char text[128];
    if (payload.size() == kCommandFrameSize && payload[0] == kCommandReportId) {
        CommandFrame frame;
        std::copy(payload.begin(), payload.end(), frame.begin());
        std::snprintf(text, sizeof text, " %s(%02x) len=%u off=0x%04x status=%02x sum=%s",
                      CommandName(frame[kFrameCommand]), frame[kFrameCommand], frame[kFrameLength],
                      FrameOffset(frame), frame[kFrameStatus],
                      StoredChecksum(frame) == FrameChecksum(frame) ? "ok" : "BAD");
        return text;
    }
    if (payload.size() >= 3 && payload[0] == kNotificationReportId) {
        std::snprintf(text, sizeof text, " notification=0x%04x", payload[1] | (payload[2] << 8));
        return text;
    }
    if (payload.size() >= 3 && payload[0] == kHeadsetLightReportId) {
        std::snprintf(text, sizeof text, " light group=%02x plane=%02x", payload[1], payload[2]);
        return text;
    }
    return "";
}

std::string DecodeFields(const vhid::Frame& frame)
{
    char text[128];
    if (frame.type == vhid::kHello) {
        if (const auto hello = vhid::DecodeHello(frame.payload)) {
            std::snprintf(text, sizeof text, " %04x:%04x v%04x usage %04x/%04x in=%u out=%u feature=%u",
                          hello->vendorId, hello->productId, hello->version, hello->usagePage, hello->usage,
                          hello->inputLength, hello->outputLength, hello->featureLength);
            return text;
        }
        return " malformed";
    }
    if (frame.type == vhid::kAck && !frame.payload.empty())
        return frame.payload[0] == 1 ? " accepted" : " refused";
    if (IsReport(frame.type))
        return DecodeReport(frame.payload);
    return "";
}

std::string TimeStamp()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(ms));
    return text;
}

}  // namespace

std::string DescribeFrame(const std::string& interfaceName, Direction direction, const vhid::Frame& frame)
{
    std::string line = direction == Direction::HostToDevice ? "<- " : "-> ";
    line += interfaceName + " " + FrameTypeName(frame.type) + " " + std::to_string(frame.payload.size());
    line += DecodeFields(frame);
    if (frame.type != vhid::kHello && !frame.payload.empty()) {
        line += " |";
        char byte[4];
        for (uint8_t value : frame.payload) {
            std::snprintf(byte, sizeof byte, " %02x", value);
            line += byte;
        }
    }
    return line;
}

bool CTrafficLog::SetTarget(const std::string& path)
{
    std::lock_guard lock(mutex_);
    out_ = nullptr;
    if (file_.is_open())
        file_.close();
    if (path.empty())
        return true;
    if (path == "-") {
        out_ = &std::cerr;
        return true;
    }
    file_.open(path, std::ios::app);
    if (!file_)
        return false;
    out_ = &file_;
    return true;
}

void CTrafficLog::SetStream(std::ostream* stream)
{
    std::lock_guard lock(mutex_);
    out_ = stream;
}

void CTrafficLog::Record(const std::string& interfaceName, Direction direction, const vhid::Frame& frame)
{
    Write(DescribeFrame(interfaceName, direction, frame));
}

void CTrafficLog::Note(const std::string& text)
{
    Write("== " + text);
}

void CTrafficLog::Write(const std::string& line)
{
    std::lock_guard lock(mutex_);
    if (out_ == nullptr)
        return;
    *out_ << TimeStamp() << ' ' << line << '\n';
    out_->flush();
}

}  // namespace devsim
