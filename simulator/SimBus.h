#pragma once
// The virtual HID bus: the interfaces a test (or the program without a mouse) puts on it,
// the transfers made on them, and what went wrong in those transfers. One mutex guards
// the whole bus, so transfers may come from any thread; the simulator records the order
// they came in and flags exchanges that interleave instead of preventing them.
#include "platform/win/HidBus.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace simulator {

using platform::win::HidError;
using platform::win::InterfaceInfo;

enum class TransferKind : uint8_t { SetFeature, GetFeature, ReadInput };

// One report as it crossed the bus (the first 8 bytes; GetFeature and ReadInput show the
// bytes handed back).
struct TranscriptEntry {
    TransferKind kind = TransferKind::SetFeature;
    uint32_t interfaceId = 0;
    uint64_t connectionId = 0;
    std::thread::id thread;
    std::array<uint8_t, 8> bytes{};
    size_t length = 0;
    bool ok = false;
    HidError error = HidError::None;
    std::chrono::steady_clock::time_point time;
};

enum class ViolationKind : uint8_t {
    WrongReportLength,     // a feature report whose length is not the interface's
    UnknownReport,         // a report id the interface does not take in that direction
    UnknownCommand,        // a command code (or parameter form) the mouse does not know
    CommandInsideExchange, // a new command before the open exchange got its data reports
    UnexpectedDataWrite,   // a data report sent while no block write expects one
    UnexpectedDataRead,    // a data report read while no read is pending
    InterleavedExchange,   // a report from one thread while another thread's exchange is open
};

struct Violation {
    ViolationKind kind = ViolationKind::UnknownReport;
    uint32_t interfaceId = 0;
    // Place of the report among all reports of the bus since it was made: the transcript's
    // index while the transcript is on, not full and not cleared.
    uint64_t reportIndex = 0;
    std::thread::id thread;
    std::array<uint8_t, 8> bytes{};
    std::string detail;
};

const char* ViolationKindName(ViolationKind kind);
// One line for a test's failure message.
std::string Describe(const Violation& violation);

class SimBus;
class SimConnection;
struct BusCore;

// Context of one feature transfer, handed to the interface's protocol.
struct TransferContext {
    uint64_t index = 0;
    uint64_t connectionId = 0;
    std::thread::id thread;
};

// One virtual HID interface. Plugging and unplugging are immediate; handles opened before
// an unplug stay dead after the interface comes back, as a re-enumerated device's would.
class SimInterface {
public:
    virtual ~SimInterface();
    SimInterface(const SimInterface&) = delete;
    SimInterface& operator=(const SimInterface&) = delete;

    uint32_t Id() const { return id_; }
    const std::string& Path() const { return info_.path; }
    InterfaceInfo Info() const { return info_; }

    bool IsPlugged() const;
    void Plug();
    void Unplug();

    // The next count SetFeature (GetFeature) transfers fail with GenFailure; the report is
    // lost on the way, so the device does not act on it.
    void FailNextSetFeature(unsigned count);
    void FailNextGetFeature(unsigned count);
    // Every feature transfer takes this long (program time) before it reaches the device.
    void SetTransferLatency(uint32_t ms);
    // The next count feature transfers go through, then the interface leaves the bus (0:
    // at once).
    void UnplugAfterTransfers(unsigned count);
    // Feature transfers that reached this interface while it was present.
    uint64_t TransferCount() const;

protected:
    SimInterface(std::shared_ptr<BusCore> core, uint32_t id, InterfaceInfo info);

    // Protocol hooks, called with the bus mutex held for reports of the right length.
    // `lost` says the transfer fails by injection: the device never sees a lost SetFeature
    // and answers nothing to a lost GetFeature, but the exchange still counts the report.
    virtual void OnSetFeature(const TransferContext& t, const uint8_t* buf, bool lost);
    // Fills buf[1..len-1]; returns false to fail the transfer (report refused).
    virtual bool OnGetFeature(const TransferContext& t, uint8_t* buf, size_t len, bool lost);
    // Called with the mutex held whenever the interface leaves the bus.
    virtual void OnUnplugLocked() {}
    // The interface came back by itself (after a reset) when its time has come.
    virtual void UpdateLocked() {}

    // Keeps the first bytes of the report (at most len, at most 8).
    void AddViolationLocked(ViolationKind kind, const TransferContext& t, const uint8_t* bytes,
                            size_t len, std::string detail);
    void QueueInputLocked(const std::array<uint8_t, 8>& report);
    void UnplugLocked();
    void PlugLocked();
    bool PresentLocked();
    bool PluggedLocked() const { return plugged_; }
    // A handle with this connection id is still open on the interface.
    bool ConnectionOpenLocked(uint64_t connectionId) const;

    std::shared_ptr<BusCore> core_;

private:
    friend class SimBus;
    friend class SimConnection;

    void WaitTransferLatency();
    bool SetFeature(SimConnection& c, const uint8_t* buf, size_t len, HidError& error);
    bool GetFeature(SimConnection& c, uint8_t* buf, size_t len, HidError& error);
    template <class Deliver>
    bool FeatureTransfer(TransferKind kind, SimConnection& c, const uint8_t* buf, size_t len,
                         unsigned& failCount, HidError& error, Deliver deliver);
    int ReadInput(SimConnection& c, uint8_t* buf, size_t len, HidError& error);
    bool ConnectedLocked(const SimConnection& c);
    void AfterTransferLocked();

    uint32_t id_;
    InterfaceInfo info_;
    bool plugged_ = true;
    uint64_t generation_ = 0;
    unsigned failSet_ = 0;
    unsigned failGet_ = 0;
    uint32_t latencyMs_ = 0;
    int64_t unplugAfter_ = -1;
    uint64_t transfers_ = 0;
    std::vector<SimConnection*> connections_;
};

struct SimKeyboardConfig {
    uint16_t vendorId = 0x046D;
    uint16_t productId = 0xC31C;
    uint16_t featureReportLength = 0;
    uint16_t inputReportLength = 9;
};

// A keyboard (or any other interface that is not the mouse's configuration interface):
// it takes feature reports of its own length and ignores them, and never sends input.
class SimKeyboard : public SimInterface {
public:
    SimKeyboard(std::shared_ptr<BusCore> core, uint32_t id, const SimKeyboardConfig& config);
};

class SimMouse;
struct SimMouseConfig;

class SimBus : public platform::win::HidBus {
public:
    SimBus();
    ~SimBus() override;

    std::shared_ptr<SimMouse> AddMouse(const SimMouseConfig& config);
    std::shared_ptr<SimKeyboard> AddKeyboard(const SimKeyboardConfig& config = {});

    std::vector<InterfaceInfo> Enumerate() override;
    std::unique_ptr<platform::win::HidConnection>
    Open(const std::string& path, platform::win::OpenAccess access, HidError& error) override;

    std::vector<TranscriptEntry> Transcript() const;
    std::vector<Violation> Violations() const;
    void ClearTranscript();
    void ClearViolations();
    // At most this many entries are kept (the first ones); 0 switches the transcript off.
    void SetTranscriptLimit(size_t maxEntries);

private:
    uint32_t NextIdLocked();

    std::shared_ptr<BusCore> core_;
    std::vector<std::shared_ptr<SimInterface>> interfaces_; // guarded by the bus mutex
};

} // namespace simulator
