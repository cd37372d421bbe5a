#include "FaultBus.h"

#include "platform/core/Time.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace devtest {

using platform::win::HidConnection;
using platform::win::HidError;

const char* FaultKindName(FaultKind kind) {
    switch (kind) {
    case FaultKind::None:
        return "none";
    case FaultKind::Unanswered:
        return "unanswered";
    case FaultKind::ShortReply:
        return "short reply";
    case FaultKind::DataUnanswered:
        return "data unanswered";
    case FaultKind::MemoryUnanswered:
        return "memory reads unanswered";
    case FaultKind::LoseOneIn:
        return "one transfer lost in";
    }
    return "?";
}

std::vector<uint64_t> WalkIndexes(uint64_t last) {
    const char* text = std::getenv("VTRM408X_WALK_STRIDE");
    const uint64_t stride = std::max(1, text ? std::atoi(text) : 1);
    std::vector<uint64_t> indexes;
    for (uint64_t n = 0; n < last; n += stride)
        indexes.push_back(n);
    indexes.push_back(last);
    return indexes;
}

// A connection to the mouse: each transfer asks the bus what the fault makes of it.
class FaultConnection : public HidConnection {
public:
    FaultConnection(FaultBus& bus, std::unique_ptr<HidConnection> inner)
        : bus_(bus), inner_(std::move(inner)) {}

    bool SetFeature(const uint8_t* buf, size_t len, HidError& error) override {
        if (len > 1 && buf[0] == 0x40 && buf[1] == 0x0E && bus_.lostResets_ > 0) {
            --bus_.lostResets_;
            if (!bus_.resetsActed_) bus_.mouse_->FailNextSetFeature(1);
            inner_->SetFeature(buf, len, error);
            // A transfer the device cut short by leaving is told apart from a time-out.
            error = bus_.resetsActed_ ? HidError::DeviceNotConnected : HidError::GenFailure;
            return false;
        }
        if (len > 1 && buf[0] == 0x40) bus_.lastCommand_ = buf[1];
        if (bus_.Next(len > 0 ? buf[0] : 0, false) == FaultBus::Decision::Fail)
            bus_.mouse_->FailNextSetFeature(1);
        return inner_->SetFeature(buf, len, error);
    }
    bool GetFeature(uint8_t* buf, size_t len, HidError& error) override {
        return GetFeatureReply(buf, len, error) == static_cast<int>(len);
    }
    int GetFeatureReply(uint8_t* buf, size_t len, HidError& error) override {
        const FaultBus::Decision decision = bus_.Next(len > 0 ? buf[0] : 0, true);
        if (decision == FaultBus::Decision::Fail) bus_.mouse_->FailNextGetFeature(1);
        const int n = inner_->GetFeatureReply(buf, len, error);
        if (decision != FaultBus::Decision::Short || n < 4) return n;
        std::memset(buf + 4, 0, len - 4);
        return 4;
    }
    int ReadInput(uint8_t* buf, size_t len, HidError& error) override {
        return inner_->ReadInput(buf, len, error);
    }
    void InterruptRead() override { inner_->InterruptRead(); }

private:
    FaultBus& bus_;
    std::unique_ptr<HidConnection> inner_;
};

FaultBus::FaultBus(std::shared_ptr<simulator::SimBus> inner,
                   std::shared_ptr<simulator::SimMouse> mouse)
    : inner_(std::move(inner)), mouse_(std::move(mouse)) {}

void FaultBus::Arm(FaultKind kind, uint64_t at, uint32_t timeoutMs) {
    once_ = false;
    transfers_ = 0;
    replies_ = 0;
    failed_ = 0;
    at_ = at;
    timeoutMs_ = timeoutMs;
    kind_ = kind;
}

void FaultBus::ArmOnce(FaultKind kind, uint64_t at, uint32_t timeoutMs) {
    Arm(kind, at, timeoutMs);
    once_ = true;
}

FaultBus::Decision FaultBus::TimeOut() {
    ++failed_;
    platform::core::Sleep(timeoutMs_); // the system waits this long for the answer
    return Decision::Fail;
}

FaultBus::Decision FaultBus::Next(uint8_t id, bool reply) {
    const uint64_t index = transfers_++;
    const uint64_t replyNumber = reply ? ++replies_ : 0;
    if (once_ && index != at_) return Decision::Pass;
    switch (kind_.load()) {
    case FaultKind::None:
        return Decision::Pass;
    case FaultKind::Unanswered:
        return index < at_ ? Decision::Pass : TimeOut();
    case FaultKind::ShortReply:
        if (!reply || (!once_ && replyNumber % at_ != 0)) return Decision::Pass;
        ++failed_;
        return Decision::Short;
    case FaultKind::DataUnanswered:
        return index < at_ || id != 0x41 ? Decision::Pass : TimeOut();
    case FaultKind::MemoryUnanswered: {
        const uint8_t command = lastCommand_;
        const bool memoryReply = reply && (command == 0x06 || command == 0x09);
        return index < at_ || !memoryReply ? Decision::Pass : TimeOut();
    }
    case FaultKind::LoseOneIn:
        return (index + 1) % at_ != 0 ? Decision::Pass : TimeOut();
    }
    return Decision::Pass;
}

std::unique_ptr<HidConnection> FaultBus::Open(const std::string& path,
                                              platform::win::OpenAccess access, HidError& error) {
    std::unique_ptr<HidConnection> connection = inner_->Open(path, access, error);
    if (!connection || path != mouse_->Path()) return connection;
    return std::make_unique<FaultConnection>(*this, std::move(connection));
}

} // namespace devtest
