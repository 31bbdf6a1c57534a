#pragma once
// One notification interface of a device page (the cable's or the
// receiver's) and its listener thread. The listener reads one input report at
// a time with a short time-out, so a stop request is seen within that time
// without killing anything; a device that left ends it at once. Each report's
// 16-bit code (report bytes 1 and 2, little-endian: the consumer usage the
// device sends) goes to the handler, on the listener thread: the handler must
// only post work elsewhere.

#include "platform/stop_event.h"
#include "transport/hid_device.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class CNotificationListener {
public:
    using CodeHandler = std::function<void(uint16_t code)>;
    static constexpr int kReadTimeoutMs = 200;

    explicit CNotificationListener(CodeHandler handler) : handler_(std::move(handler)) {}
    ~CNotificationListener() { Close(); }
    CNotificationListener(const CNotificationListener&) = delete;
    CNotificationListener& operator=(const CNotificationListener&) = delete;

    // Stops a running listener, re-opens the interface (read and write,
    // shared) and starts listening; nothing listens when the open fails.
    bool Open(const std::string& path);
    // Stops the listener, then closes the interface.
    void Close();
    bool IsOpen() const { return open_; }
    bool IsListening() const { return listening_; }

private:
    void Listen();
    void StopListener();

    CodeHandler handler_;
    std::mutex lock_;  // held while the interface is opened or closed
    CHidDevice device_;
    std::atomic<bool> open_{false};
    std::atomic<bool> listening_{false};
    CStopEvent stop_;
    std::thread thread_;
};

// The code of a notification report: bytes 1 and 2, little-endian; 0 for a short report.
uint16_t NotificationCode(const uint8_t* report, uint32_t length);
