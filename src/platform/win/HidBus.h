#pragma once
// The HID bus under the program's Windows-style HID calls: the interfaces present on
// the machine and transfers on an opened interface. Two implementations: the kernel's
// hidraw interface (HidrawBus) and the simulator's virtual devices (SimBus).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::win {

// An interface listed with an empty path went away between listing and the path query:
// the setup library's detail call fails for it, as on the system.
struct InterfaceInfo {
    std::string path; // e.g. "/dev/hidraw3" or "sim://mouse0"
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
    // Report byte lengths as the Windows HID parser counts them (longest report of the
    // kind plus one byte for the report id; 0 when the interface has none).
    uint16_t inputReportByteLength = 0;
    uint16_t outputReportByteLength = 0;
    uint16_t featureReportByteLength = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    // Tells this interface's node apart from one made anew under the same path (the
    // device unplugged and plugged back): another number each time; 0 when not known.
    uint32_t instance = 0;
};

// Error codes reported through the Windows-style GetLastError of the layer above.
enum class HidError : uint32_t {
    None = 0,
    FileNotFound = 2,          // ERROR_FILE_NOT_FOUND: interface gone
    AccessDenied = 5,          // ERROR_ACCESS_DENIED
    GenFailure = 31,           // ERROR_GEN_FAILURE: transfer failed
    DeviceNotConnected = 1167, // ERROR_DEVICE_NOT_CONNECTED: unplugged mid-transfer
    OperationAborted = 995,    // ERROR_OPERATION_ABORTED: blocking read interrupted
};

// One open interface. Transfers may be called from any thread; a blocking ReadInput
// can be woken by InterruptRead from another thread.
class HidConnection {
public:
    virtual ~HidConnection() = default;
    // buf[0] is the report id; len is the whole report including the id byte.
    virtual bool SetFeature(const uint8_t* buf, size_t len, HidError& error) = 0;
    // buf[0] holds the report id on entry; on success buf holds the report.
    virtual bool GetFeature(uint8_t* buf, size_t len, HidError& error) = 0;
    // The same, telling how many bytes of the report the device returned (id byte
    // included; the rest of buf is zero), or -1 with error set when the transfer failed.
    virtual int GetFeatureReply(uint8_t* buf, size_t len, HidError& error) {
        return GetFeature(buf, len, error) ? static_cast<int>(len) : -1;
    }
    // Blocks until an input report arrives, the device goes, or InterruptRead is called.
    // Returns the number of bytes stored (id byte first), or -1 with error set.
    virtual int ReadInput(uint8_t* buf, size_t len, HidError& error) = 0;
    // Wakes a blocked ReadInput (which then fails with OperationAborted) and makes every
    // later read fail at once.
    virtual void InterruptRead() = 0;
};

enum class OpenAccess { Query, ReadWrite };

class HidBus {
public:
    virtual ~HidBus() = default;
    // The interfaces present now, in a stable order.
    virtual std::vector<InterfaceInfo> Enumerate() = 0;
    // Opens an interface by path. Query access (the Windows access-0 handle) succeeds for
    // any present interface. Null with error set on failure.
    virtual std::unique_ptr<HidConnection> Open(const std::string& path, OpenAccess access,
                                                HidError& error) = 0;
};

// The bus the program uses. Chosen once at start; tests install their own.
void SetBus(std::shared_ptr<HidBus> bus);
std::shared_ptr<HidBus> Bus();

// The simulator registers how to make its bus, so that the start-up choice below can
// take it without this layer depending on the simulator.
void SetSimulatedBusFactory(std::function<std::shared_ptr<HidBus>()> factory);
// Chooses the program's bus once at start and installs it. VTRM408X_SIMULATE=1: the
// simulator; VTRM408X_SIMULATE=0: hidraw. Unset: hidraw when an interface with the
// mouse's ids is present now, else the simulator. hidraw whenever no simulator is
// registered.
std::shared_ptr<HidBus> InstallDefaultBus(uint16_t vendorId, uint16_t productId);

} // namespace platform::win
