#include "simulator/SimBus.h"

#include "platform/core/Time.h"
#include "simulator/BusCore.h"
#include "simulator/SimMouse.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <sstream>

namespace simulator {

using platform::win::OpenAccess;

namespace {
// An open handle keeps at most this many unread input reports, as the kernel's per-file
// queue does; older ones are dropped.
constexpr size_t kInputQueueLimit = 64;

std::array<uint8_t, 8> FirstBytes(const uint8_t* buf, size_t len) {
    std::array<uint8_t, 8> bytes{};
    if (buf) std::memcpy(bytes.data(), buf, std::min(len, bytes.size()));
    return bytes;
}
} // namespace

const char* ViolationKindName(ViolationKind kind) {
    switch (kind) {
    case ViolationKind::WrongReportLength:
        return "wrong report length";
    case ViolationKind::UnknownReport:
        return "unknown report";
    case ViolationKind::UnknownCommand:
        return "unknown command";
    case ViolationKind::CommandInsideExchange:
        return "command inside an exchange";
    case ViolationKind::UnexpectedDataWrite:
        return "unexpected data write";
    case ViolationKind::UnexpectedDataRead:
        return "unexpected data read";
    case ViolationKind::InterleavedExchange:
        return "interleaved exchange";
    }
    return "?";
}

std::string Describe(const Violation& v) {
    std::ostringstream out;
    out << ViolationKindName(v.kind) << " on interface " << v.interfaceId << " at report "
        << v.reportIndex << " (thread " << v.thread << "):";
    for (uint8_t b : v.bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", b);
        out << hex;
    }
    if (!v.detail.empty()) out << " - " << v.detail;
    return out.str();
}

// One open handle of an interface.
class SimConnection : public platform::win::HidConnection {
public:
    SimConnection(std::shared_ptr<SimInterface> iface, uint64_t id, uint64_t generation,
                  OpenAccess access)
        : iface_(std::move(iface)), id_(id), generation_(generation), access_(access) {
        iface_->connections_.push_back(this);
    }
    ~SimConnection() override {
        std::lock_guard lock(iface_->core_->mutex);
        auto& list = iface_->connections_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }

    bool SetFeature(const uint8_t* buf, size_t len, HidError& error) override {
        return iface_->SetFeature(*this, buf, len, error);
    }
    bool GetFeature(uint8_t* buf, size_t len, HidError& error) override {
        return iface_->GetFeature(*this, buf, len, error);
    }
    int ReadInput(uint8_t* buf, size_t len, HidError& error) override {
        return iface_->ReadInput(*this, buf, len, error);
    }
    void InterruptRead() override {
        std::lock_guard lock(iface_->core_->mutex);
        interrupted_ = true;
        iface_->core_->inputArrived.notify_all();
    }

    std::shared_ptr<SimInterface> iface_;
    uint64_t id_;
    uint64_t generation_;
    OpenAccess access_;
    bool interrupted_ = false;
    std::deque<std::array<uint8_t, 8>> input_;
};

// ---- SimInterface

SimInterface::SimInterface(std::shared_ptr<BusCore> core, uint32_t id, InterfaceInfo info)
    : core_(std::move(core)), id_(id), info_(std::move(info)) {}

SimInterface::~SimInterface() = default;

bool SimInterface::IsPlugged() const {
    std::lock_guard lock(core_->mutex);
    return const_cast<SimInterface*>(this)->PresentLocked();
}

void SimInterface::Plug() {
    std::lock_guard lock(core_->mutex);
    PlugLocked();
}

void SimInterface::Unplug() {
    std::lock_guard lock(core_->mutex);
    UnplugLocked();
}

void SimInterface::FailNextSetFeature(unsigned count) {
    std::lock_guard lock(core_->mutex);
    failSet_ = count;
}

void SimInterface::FailNextGetFeature(unsigned count) {
    std::lock_guard lock(core_->mutex);
    failGet_ = count;
}

void SimInterface::SetTransferLatency(uint32_t ms) {
    std::lock_guard lock(core_->mutex);
    latencyMs_ = ms;
}

void SimInterface::UnplugAfterTransfers(unsigned count) {
    std::lock_guard lock(core_->mutex);
    if (count == 0) {
        unplugAfter_ = -1;
        UnplugLocked();
    } else {
        unplugAfter_ = count;
    }
}

uint64_t SimInterface::TransferCount() const {
    std::lock_guard lock(core_->mutex);
    return transfers_;
}

void SimInterface::OnSetFeature(const TransferContext&, const uint8_t*, bool) {}

bool SimInterface::OnGetFeature(const TransferContext&, uint8_t* buf, size_t len, bool lost) {
    if (!lost && len > 1) std::memset(buf + 1, 0, len - 1);
    return true;
}

void SimInterface::AddViolationLocked(ViolationKind kind, const TransferContext& t,
                                      const uint8_t* bytes, size_t len, std::string detail) {
    Violation v;
    v.kind = kind;
    v.interfaceId = id_;
    v.reportIndex = t.index;
    v.thread = t.thread;
    v.bytes = FirstBytes(bytes, len);
    v.detail = std::move(detail);
    core_->violations.push_back(std::move(v));
}

void SimInterface::QueueInputLocked(const std::array<uint8_t, 8>& report) {
    for (SimConnection* c : connections_) {
        if (c->generation_ != generation_ || c->access_ != OpenAccess::ReadWrite) continue;
        if (c->input_.size() >= kInputQueueLimit) c->input_.pop_front();
        c->input_.push_back(report);
    }
    core_->inputArrived.notify_all();
}

void SimInterface::UnplugLocked() {
    plugged_ = false;
    ++generation_;
    unplugAfter_ = -1;
    OnUnplugLocked();
    core_->inputArrived.notify_all();
}

void SimInterface::PlugLocked() {
    plugged_ = true;
}

bool SimInterface::PresentLocked() {
    UpdateLocked();
    return plugged_;
}

bool SimInterface::ConnectedLocked(const SimConnection& c) {
    return PresentLocked() && c.generation_ == generation_;
}

bool SimInterface::ConnectionOpenLocked(uint64_t connectionId) const {
    return std::any_of(connections_.begin(), connections_.end(),
                       [&](const SimConnection* c) { return c->id_ == connectionId; });
}

void SimInterface::AfterTransferLocked() {
    ++transfers_;
    if (unplugAfter_ > 0 && --unplugAfter_ == 0) UnplugLocked();
}

void SimInterface::WaitTransferLatency() {
    // The transfer takes the configured time from when it starts, as a device's would:
    // no more (a timer's late wake-up would add up over a whole image) and no less. The
    // wait holds no lock, so other threads keep using the bus meanwhile.
    const auto start = std::chrono::steady_clock::now();
    uint32_t latency;
    {
        std::lock_guard lock(core_->mutex);
        latency = latencyMs_;
    }
    if (latency > 0)
        platform::core::SleepUntilPrecise(start + platform::core::ScaledDuration(latency));
}

// One feature transfer: latency, presence, length, injected loss, the device's part
// (deliver says whether the device accepted it), the transcript.
template <class Deliver>
bool SimInterface::FeatureTransfer(TransferKind kind, SimConnection& c, const uint8_t* buf,
                                   size_t len, unsigned& failCount, HidError& error,
                                   Deliver deliver) {
    WaitTransferLatency();

    std::lock_guard lock(core_->mutex);
    const TransferContext t{core_->reportCount, c.id_, std::this_thread::get_id()};
    bool ok = false;
    if (!ConnectedLocked(c)) {
        error = HidError::DeviceNotConnected;
    } else if (buf == nullptr || len != info_.featureReportByteLength) {
        AddViolationLocked(ViolationKind::WrongReportLength, t, buf, len,
                           "length " + std::to_string(len));
        error = HidError::GenFailure;
        AfterTransferLocked();
    } else {
        const bool lost = failCount > 0;
        if (lost) --failCount;
        ok = deliver(t, lost) && !lost;
        error = ok ? HidError::None : HidError::GenFailure;
        AfterTransferLocked();
    }
    core_->RecordLocked({kind, id_, c.id_, t.thread, FirstBytes(buf, len), len, ok, error,
                         std::chrono::steady_clock::now()});
    return ok;
}

bool SimInterface::SetFeature(SimConnection& c, const uint8_t* buf, size_t len, HidError& error) {
    return FeatureTransfer(TransferKind::SetFeature, c, buf, len, failSet_, error,
                           [&](const TransferContext& t, bool lost) {
                               OnSetFeature(t, buf, lost);
                               return true;
                           });
}

bool SimInterface::GetFeature(SimConnection& c, uint8_t* buf, size_t len, HidError& error) {
    return FeatureTransfer(
        TransferKind::GetFeature, c, buf, len, failGet_, error,
        [&](const TransferContext& t, bool lost) { return OnGetFeature(t, buf, len, lost); });
}

int SimInterface::ReadInput(SimConnection& c, uint8_t* buf, size_t len, HidError& error) {
    std::unique_lock lock(core_->mutex);
    int result = -1;
    for (;;) {
        if (c.interrupted_) {
            error = HidError::OperationAborted;
            break;
        }
        if (!ConnectedLocked(c)) {
            error = HidError::DeviceNotConnected;
            break;
        }
        if (c.access_ != OpenAccess::ReadWrite) {
            error = HidError::AccessDenied;
            break;
        }
        if (!c.input_.empty()) {
            const std::array<uint8_t, 8> report = c.input_.front();
            c.input_.pop_front();
            const size_t n = std::min(len, size_t(info_.inputReportByteLength));
            const size_t copied = std::min(n, report.size());
            if (buf) {
                std::memcpy(buf, report.data(), copied);
                std::memset(buf + copied, 0, n - copied);
            }
            error = HidError::None;
            result = int(n);
            break;
        }
        core_->inputArrived.wait(lock);
    }
    core_->RecordLocked({TransferKind::ReadInput, id_, c.id_, std::this_thread::get_id(),
                         FirstBytes(result >= 0 ? buf : nullptr, len), len, result >= 0, error,
                         std::chrono::steady_clock::now()});
    return result;
}

// ---- SimKeyboard

namespace {
InterfaceInfo KeyboardInfo(uint32_t id, const SimKeyboardConfig& config) {
    InterfaceInfo info;
    info.path = "sim://keyboard" + std::to_string(id);
    info.vendorId = config.vendorId;
    info.productId = config.productId;
    info.inputReportByteLength = config.inputReportLength;
    info.featureReportByteLength = config.featureReportLength;
    info.usagePage = 0x01;
    info.usage = 0x06;
    return info;
}
} // namespace

SimKeyboard::SimKeyboard(std::shared_ptr<BusCore> core, uint32_t id,
                         const SimKeyboardConfig& config)
    : SimInterface(std::move(core), id, KeyboardInfo(id, config)) {}

// ---- SimBus

SimBus::SimBus() : core_(std::make_shared<BusCore>()) {}

SimBus::~SimBus() = default;

uint32_t SimBus::NextIdLocked() {
    return uint32_t(interfaces_.size());
}

std::shared_ptr<SimMouse> SimBus::AddMouse(const SimMouseConfig& config) {
    std::lock_guard lock(core_->mutex);
    auto mouse = std::make_shared<SimMouse>(core_, NextIdLocked(), config);
    interfaces_.push_back(mouse);
    return mouse;
}

std::shared_ptr<SimKeyboard> SimBus::AddKeyboard(const SimKeyboardConfig& config) {
    std::lock_guard lock(core_->mutex);
    auto keyboard = std::make_shared<SimKeyboard>(core_, NextIdLocked(), config);
    interfaces_.push_back(keyboard);
    return keyboard;
}

std::vector<InterfaceInfo> SimBus::Enumerate() {
    std::lock_guard lock(core_->mutex);
    std::vector<InterfaceInfo> present;
    for (const auto& iface : interfaces_)
        if (iface->PresentLocked()) {
            present.push_back(iface->info_);
            // Each time the interface comes back it is another node.
            present.back().instance = static_cast<uint32_t>(iface->generation_ + 1);
        }
    return present;
}

std::unique_ptr<platform::win::HidConnection> SimBus::Open(const std::string& path,
                                                           OpenAccess access, HidError& error) {
    std::lock_guard lock(core_->mutex);
    for (const auto& iface : interfaces_) {
        if (iface->info_.path != path || !iface->PresentLocked()) continue;
        error = HidError::None;
        return std::make_unique<SimConnection>(iface, core_->nextConnectionId++, iface->generation_,
                                               access);
    }
    error = HidError::FileNotFound;
    return nullptr;
}

std::vector<TranscriptEntry> SimBus::Transcript() const {
    std::lock_guard lock(core_->mutex);
    return core_->transcript;
}

std::vector<Violation> SimBus::Violations() const {
    std::lock_guard lock(core_->mutex);
    return core_->violations;
}

void SimBus::ClearTranscript() {
    std::lock_guard lock(core_->mutex);
    core_->transcript.clear();
}

void SimBus::ClearViolations() {
    std::lock_guard lock(core_->mutex);
    core_->violations.clear();
}

void SimBus::SetTranscriptLimit(size_t maxEntries) {
    std::lock_guard lock(core_->mutex);
    core_->transcriptLimit = maxEntries;
    if (core_->transcript.size() > maxEntries) core_->transcript.resize(maxEntries);
}

} // namespace simulator
