#include "tools/devsim/fault_injector.h"

#include "tools/devsim/command_names.h"

#include <cstdio>

namespace devsim {

void CFaultInjector::FailNth(uint8_t command, int nth, uint8_t status)
{
    if (nth < 1)
        statusFault_.reset();
    else
        statusFault_ = StatusFault{command, nth, status};
}

CFaultInjector::Decision CFaultInjector::OnRequest(uint8_t command)
{
    Decision decision;
    if (closeCountdown_ > 0 && --closeCountdown_ == 0) {
        decision.action = Action::Close;
        return decision;
    }
    if (dropCount_ != 0) {
        if (dropCount_ > 0)
            --dropCount_;
        decision.action = Action::Drop;
        return decision;
    }
    if (statusFault_ && statusFault_->command == command && --statusFault_->remaining == 0) {
        decision.action = Action::Fail;
        decision.status = statusFault_->status;
        statusFault_.reset();
    }
    decision.wrongCommand = wrongCommand_;
    decision.twice = answerTwice_;
    wrongCommand_ = false;
    answerTwice_ = false;
    return decision;
}

std::string CFaultInjector::Describe() const
{
    std::string text;
    char line[96];
    if (dropCount_ == kForever)
        text += "noreply forever; ";
    else if (dropCount_ > 0)
        text += "noreply " + std::to_string(dropCount_) + "; ";
    if (statusFault_) {
        std::snprintf(line, sizeof line, "status %02x on %s frame %d from now; ", statusFault_->status,
                      CommandName(statusFault_->command), statusFault_->remaining);
        text += line;
    }
    if (wrongCommand_)
        text += "wrongcmd once; ";
    if (answerTwice_)
        text += "twice once; ";
    if (closeCountdown_ > 0)
        text += "close on request " + std::to_string(closeCountdown_) + "; ";
    return text.empty() ? "none" : text;
}

}  // namespace devsim
