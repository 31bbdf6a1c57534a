#pragma once
// Faults a device can be told to show on its command interface: requests
// without replies, an error status on the Nth frame of one command, one
// reply with a wrong command byte, one reply sent twice, a connection
// closed mid-exchange.

#include <cstdint>
#include <optional>
#include <string>

namespace devsim {

class CFaultInjector {
public:
    static constexpr int kForever = -1;

    // The next `count` requests (kForever: all, 0: none) are lost unanswered.
    void DropRequests(int count) { dropCount_ = count; }
    // The Nth frame of `command`, counted from now, fails with `status`.
    void FailNth(uint8_t command, int nth, uint8_t status);
    void WrongCommandOnce() { wrongCommand_ = true; }
    // The next reply is sent twice.
    void AnswerTwiceOnce() { answerTwice_ = true; }
    // The connection that carries the Nth request from now is closed.
    void CloseOnNth(int nth) { closeCountdown_ = nth; }
    void Clear() { *this = CFaultInjector(); }

    enum class Action { Answer, Drop, Close, Fail };
    struct Decision {
        Action action = Action::Answer;
        uint8_t status = 0;          // for Fail
        bool wrongCommand = false;   // garble the reply's command byte
        bool twice = false;          // send the reply a second time
    };
    // Counts one request and says what the device does with it.
    Decision OnRequest(uint8_t command);

    std::string Describe() const;

private:
    struct StatusFault {
        uint8_t command;
        int remaining;  // frames of the command until the failing one
        uint8_t status;
    };

    int dropCount_ = 0;
    std::optional<StatusFault> statusFault_;
    bool wrongCommand_ = false;
    bool answerTwice_ = false;
    int closeCountdown_ = 0;
};

}  // namespace devsim
