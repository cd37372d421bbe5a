#include "FakeBus.h"

#include <algorithm>
#include <cstring>

namespace testing_support {

using platform::win::OpenAccess;

class FakeConnection : public platform::win::HidConnection {
public:
    FakeConnection(FakeBus& bus, std::string path) : bus_(bus), path_(std::move(path)) {
        std::lock_guard lock(bus_.mutex_);
        ++bus_.openConnections_;
    }
    ~FakeConnection() override {
        std::lock_guard lock(bus_.mutex_);
        --bus_.openConnections_;
        bus_.events_.push_back("close " + path_);
    }

    bool SetFeature(const uint8_t* buf, size_t len, HidError& error) override {
        if (!bus_.Record({Transfer::Set, path_, {buf, buf + len}, std::this_thread::get_id()})) {
            error = HidError::GenFailure;
            return false;
        }
        return true;
    }

    bool GetFeature(uint8_t* buf, size_t len, HidError& error) override {
        if (!bus_.Record({Transfer::Get, path_, {buf, buf + len}, std::this_thread::get_id()})) {
            error = HidError::GenFailure;
            return false;
        }
        std::lock_guard lock(bus_.mutex_);
        std::memset(buf + 1, 0, len - 1);
        if (!bus_.replies_.empty()) {
            const std::vector<uint8_t> payload = bus_.replies_.front();
            bus_.replies_.pop_front();
            std::memcpy(buf + 1, payload.data(), std::min(payload.size(), len - 1));
        }
        return true;
    }

    int ReadInput(uint8_t* buf, size_t len, HidError& error) override {
        std::unique_lock lock(bus_.mutex_);
        bus_.inputArrived_.wait(lock, [&] { return interrupted_ || !bus_.inputs_.empty(); });
        if (interrupted_) {
            error = HidError::OperationAborted;
            return -1;
        }
        const std::vector<uint8_t> report = bus_.inputs_.front();
        bus_.inputs_.pop_front();
        const size_t n = std::min(report.size(), len);
        std::memcpy(buf, report.data(), n);
        return static_cast<int>(n);
    }

    void InterruptRead() override {
        std::lock_guard lock(bus_.mutex_);
        interrupted_ = true;
        bus_.inputArrived_.notify_all();
    }

private:
    FakeBus& bus_;
    std::string path_;
    bool interrupted_ = false;
};

InterfaceInfo& FakeBus::Add(const std::string& path, uint16_t vendor, uint16_t product,
                            uint16_t featureLength, uint16_t inputLength) {
    std::lock_guard lock(mutex_);
    InterfaceInfo info;
    info.path = path;
    info.vendorId = vendor;
    info.productId = product;
    info.featureReportByteLength = featureLength;
    info.inputReportByteLength = inputLength;
    interfaces_.push_back(info);
    return interfaces_.back();
}

std::vector<InterfaceInfo> FakeBus::Enumerate() {
    std::lock_guard lock(mutex_);
    return interfaces_;
}

std::unique_ptr<platform::win::HidConnection> FakeBus::Open(const std::string& path,
                                                            OpenAccess access, HidError& error) {
    {
        std::lock_guard lock(mutex_);
        const bool present = std::any_of(interfaces_.begin(), interfaces_.end(),
                                         [&](const InterfaceInfo& i) { return i.path == path; });
        if (!present) {
            error = HidError::FileNotFound;
            return nullptr;
        }
        ++(access == OpenAccess::Query ? openedQuery_ : openedReadWrite_);
        events_.push_back((access == OpenAccess::Query ? "open " : "open rw ") + path);
    }
    return std::make_unique<FakeConnection>(*this, path);
}

void FakeBus::QueueReply(std::vector<uint8_t> payload) {
    std::lock_guard lock(mutex_);
    replies_.push_back(std::move(payload));
}

void FakeBus::FailWhen(std::function<bool(const Transfer&)> predicate) {
    std::lock_guard lock(mutex_);
    failWhen_ = std::move(predicate);
}

void FakeBus::SetTransferDelay(std::chrono::microseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
}

void FakeBus::PushInput(std::vector<uint8_t> report) {
    std::lock_guard lock(mutex_);
    inputs_.push_back(std::move(report));
    inputArrived_.notify_all();
}

std::vector<Transfer> FakeBus::Transcript() {
    std::lock_guard lock(mutex_);
    return transcript_;
}

void FakeBus::ClearTranscript() {
    std::lock_guard lock(mutex_);
    transcript_.clear();
}

std::vector<std::string> FakeBus::Events() {
    std::lock_guard lock(mutex_);
    return events_;
}

void FakeBus::ClearEvents() {
    std::lock_guard lock(mutex_);
    events_.clear();
}

int FakeBus::OpenConnections() {
    std::lock_guard lock(mutex_);
    return openConnections_;
}

int FakeBus::OpenCount(OpenAccess access) {
    std::lock_guard lock(mutex_);
    return access == OpenAccess::Query ? openedQuery_ : openedReadWrite_;
}

bool FakeBus::Record(Transfer t) {
    std::chrono::microseconds delay;
    bool fail = false;
    {
        std::lock_guard lock(mutex_);
        delay = delay_;
        fail = failWhen_ && failWhen_(t);
        events_.push_back((t.kind == Transfer::Set ? "set " : "get ") + t.path);
        transcript_.push_back(std::move(t));
    }
    if (delay.count() > 0) std::this_thread::sleep_for(delay);
    return !fail;
}

} // namespace testing_support
