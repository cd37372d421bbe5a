// The report protocol: feature and input reports, the command routines built on them,
// and the exchange lock that keeps two exchanges from interleaving on the wire.
#include "device/Hid.h"
#include "device/Subroutines.h"
#include "platform/win/Kernel.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace device {

namespace win = platform::win;

uint8_t ReportBuffer[8];
uint8_t ReplyBuffer[7];

namespace {

// Who runs the exchange in progress. The owning thread may join it again (a caller that
// composes an exchange of single routines) unless it is pumping messages for it, in
// which case the joining code is some unrelated event handler and must not run.
struct ExchangeState {
    std::mutex mutex;
    std::condition_variable idle;
    std::thread::id owner;
    int depth = 0;
    int pumping = 0;
    // Handles released inside the owner's own exchange, closed when it ends.
    std::vector<HANDLE> closeAtEnd;
};

ExchangeState& Exchange() {
    static ExchangeState state;
    return state;
}

bool OwnedHere(const ExchangeState& s) {
    return s.depth > 0 && s.owner == std::this_thread::get_id();
}

std::atomic<BusyWindow*> g_busyWindow{nullptr};

// Set when a routine gave up on a mouse that is open (its transfers kept failing);
// cleared when the handles go or the window takes the word. While it is set nothing more
// is sent: the job that met the failure would otherwise go on to meet a time-out at each
// of its later transfers.
std::atomic<bool> g_gaveUp{false};

// The job in progress on this thread: how deep its scopes nest and how many of its
// transfers failed.
thread_local int t_jobDepth = 0;
thread_local int t_jobFailures = 0;

// Marks the owner's exchange as pumping messages while the busy window handles them.
class PumpScope {
public:
    PumpScope() {
        ExchangeState& s = Exchange();
        std::lock_guard lock(s.mutex);
        marked_ = OwnedHere(s);
        if (marked_) ++s.pumping;
    }
    ~PumpScope() {
        if (!marked_) return;
        ExchangeState& s = Exchange();
        std::lock_guard lock(s.mutex);
        --s.pumping;
    }
    PumpScope(const PumpScope&) = delete;
    PumpScope& operator=(const PumpScope&) = delete;

private:
    bool marked_ = false;
};

void BusyStep() {
    BusyWindow* window = g_busyWindow.load();
    if (!window) return;
    PumpScope pumping;
    window->Step();
}

void BusyHide() {
    BusyWindow* window = g_busyWindow.load();
    if (!window) return;
    PumpScope pumping;
    window->Hide();
}

// True when this thread is pumping messages inside its own exchange.
bool RefusedHere() {
    ExchangeState& s = Exchange();
    std::lock_guard lock(s.mutex);
    return OwnedHere(s) && s.pumping > 0;
}

bool IsValid(HANDLE h) {
    return h != win::INVALID_HANDLE_VALUE;
}

// Sends 40 followed by the seven command bytes on CommandHandle.
bool SendCommandReport(const uint8_t (&command)[7]) {
    ExchangeGuard exchange;
    if (!exchange.ok() || g_gaveUp) return false;
    const HANDLE h = CommandHandle;
    if (!IsValid(h)) return false;
    ReportBuffer[0] = 0x40;
    std::memcpy(ReportBuffer + 1, command, sizeof command);
    return SetFeatureReport(h, ReportBuffer);
}

// Command code and parameters of a block command: 16-bit address and length, big-endian.
struct Command {
    uint8_t code, p2, p3, p4, p5;
};

Command BlockCommand(uint8_t code, uint16_t address, uint16_t length) {
    return {code, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address),
            static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
}

// How a block exchange ended: not started (an event handled inside another exchange),
// its command not sent (nothing happened), a data report failed on the way (the block is
// incomplete), or the whole block went.
enum class BlockResult { Refused, CommandFailed, DataFailed, Whole };

// Counts the failed data reports of one exchange in a row. A mouse that stops answering
// in the middle fails every report that follows, each after the system's time-out: the
// exchange stops after a few instead of running out all of them.
class DataFailures {
public:
    // False once the exchange should stop.
    bool Go(bool ok) {
        whole_ = whole_ && ok;
        inRow_ = ok ? 0 : inRow_ + 1;
        return inRow_ < FailedReportsToStop;
    }
    BlockResult Result() const { return whole_ ? BlockResult::Whole : BlockResult::DataFailed; }

private:
    bool whole_ = true;
    int inRow_ = 0;
};

// A routine that found the mouse open and still failed leaves word for the window.
bool NoteFailure(bool ok, HANDLE handleAtStart) {
    if (!ok && IsValid(handleAtStart) && IsValid(CommandHandle)) g_gaveUp = true;
    return ok;
}

// A read exchange: the command, then one data read per chunk of seven bytes, the last
// chunk copying only the bytes that belong to the block. A failed data read leaves FF in
// its chunk and the exchange goes on to its end, as the mouse expects.
BlockResult ReadExchange(const Command& c, uint32_t length, uint8_t* destination,
                         bool withBusyWindow) {
    ExchangeGuard exchange;
    if (!exchange.ok()) return BlockResult::Refused;
    std::memset(ReplyBuffer, 0xFF, sizeof ReplyBuffer);
    if (!SendCommand(c.code, c.p2, c.p3, c.p4, c.p5)) return BlockResult::CommandFailed;
    DataFailures failures;
    for (uint32_t offset = 0; offset < length; offset += 7) {
        if (withBusyWindow) BusyStep();
        const bool read = ReadData7();
        const uint32_t count = std::min<uint32_t>(7, length - offset);
        std::memcpy(destination + offset, ReplyBuffer, count);
        // A job that gave up on the mouse sends nothing more of it.
        if (failures.Go(read) && (read || !g_gaveUp)) continue;
        // The chunks left unread are no more known than the failed ones.
        std::memset(destination + offset + count, 0xFF, length - offset - count);
        break;
    }
    return failures.Result();
}

// A block write: the command, then one data write per chunk of seven bytes. A failed data
// write loses its chunk; the exchange still goes on to its end, as the mouse expects.
BlockResult WriteExchange(uint16_t address, uint16_t length, const uint8_t* source) {
    ExchangeGuard exchange;
    if (!exchange.ok()) return BlockResult::Refused;
    std::memset(ReplyBuffer, 0xFF, sizeof ReplyBuffer);
    const Command c = BlockCommand(0x07, address, length);
    if (!SendCommand(c.code, c.p2, c.p3, c.p4, c.p5)) return BlockResult::CommandFailed;
    DataFailures failures;
    for (uint32_t offset = 0; offset < length; offset += 7) {
        BusyStep();
        // A short last chunk leaves the previous chunk's bytes behind its new ones; the
        // length in the command tells the mouse which bytes belong to the block.
        std::memcpy(ReplyBuffer, source + offset, std::min<uint32_t>(7, length - offset));
        const uint8_t* s = ReplyBuffer;
        const bool sent = SendData7(s[0], s[1], s[2], s[3], s[4], s[5], s[6]);
        if (!failures.Go(sent) || (!sent && g_gaveUp)) break;
    }
    return failures.Result();
}

// Runs a block exchange again while it failed, at most BlockAttempts times in all: a whole
// block replaces whatever a broken one left. The attempts end once the job gave up on the
// mouse (its failed transfers, each of which may have taken the system's time-out, are
// counted over the whole job), and when the data handle is not open: no data report could
// be made. An open mouse whose block never went whole is noted for the window.
template <class Exchange> bool WholeBlock(Exchange exchange) {
    TransferJob job;
    const HANDLE atStart = CommandHandle;
    for (int attempt = 0; attempt < BlockAttempts; ++attempt) {
        const BlockResult result = exchange();
        if (result == BlockResult::Refused) return false;
        if (result == BlockResult::Whole) return NoteFailure(true, atStart);
        if (!IsValid(DataHandle) || g_gaveUp) break;
    }
    return NoteFailure(false, atStart);
}

} // namespace

// ---- Exchanges ----------------------------------------------------------------------

ExchangeGuard::ExchangeGuard() {
    ExchangeState& s = Exchange();
    std::unique_lock lock(s.mutex);
    if (OwnedHere(s)) {
        if (s.pumping > 0) return; // an event handled inside a transfer: refused
        ++s.depth;
        ok_ = true;
        return;
    }
    s.idle.wait(lock, [&] { return s.depth == 0; });
    s.owner = std::this_thread::get_id();
    s.depth = 1;
    ok_ = true;
}

ExchangeGuard::~ExchangeGuard() {
    if (!ok_) return;
    std::vector<HANDLE> toClose;
    {
        ExchangeState& s = Exchange();
        std::lock_guard lock(s.mutex);
        if (--s.depth > 0) return;
        s.owner = std::thread::id();
        toClose.swap(s.closeAtEnd);
        s.idle.notify_all();
    }
    for (HANDLE h : toClose)
        win::CloseHandle(h);
}

void ReleaseDeviceHandles() {
    std::vector<HANDLE> toClose;
    g_gaveUp = false;
    {
        ExchangeState& s = Exchange();
        std::unique_lock lock(s.mutex);
        const bool ownExchange = OwnedHere(s);
        // Another thread's exchange finishes on the handles it started with.
        if (!ownExchange) s.idle.wait(lock, [&] { return s.depth == 0; });
        const HANDLE command = CommandHandle.exchange(win::INVALID_HANDLE_VALUE);
        const HANDLE data = DataHandle.exchange(win::INVALID_HANDLE_VALUE);
        const HANDLE readWrite = ReadWriteHandle.exchange(win::INVALID_HANDLE_VALUE);
        DeviceVendorId = 0;
        DeviceProductId = 0;
        FeatureReportLength = 0;
        InputReportLength = 0;
        // This thread's own exchange may be paused in the middle of a transfer on the
        // shared handle, handling messages: close it when that exchange ends. Outside
        // such a pause (the open of a new device inside its own exchange) nothing uses
        // the old handles any more, and they go before the new ones are opened.
        const bool paused = ownExchange && s.pumping > 0;
        std::vector<HANDLE>& shared = paused ? s.closeAtEnd : toClose;
        if (IsValid(command)) shared.push_back(command);
        if (IsValid(data) && data != command) shared.push_back(data);
        if (IsValid(readWrite)) toClose.push_back(readWrite);
    }
    for (HANDLE h : toClose)
        win::CloseHandle(h);
}

bool TakeTransferFailure() {
    return g_gaveUp.exchange(false);
}

// ---- Jobs ---------------------------------------------------------------------------

TransferJob::TransferJob() {
    if (t_jobDepth++ == 0) t_jobFailures = 0;
}

TransferJob::~TransferJob() {
    --t_jobDepth;
}

bool InTransferJob() {
    return t_jobDepth > 0;
}

int JobFailedTransfers() {
    return t_jobDepth > 0 ? t_jobFailures : 0;
}

void CountFailedTransfers(int count) {
    if (count <= 0 || t_jobDepth == 0) return;
    t_jobFailures += count;
    if (t_jobFailures >= FailedTransfersPerJob && IsValid(CommandHandle)) g_gaveUp = true;
}

// ---- Busy window --------------------------------------------------------------------

void SetBusyWindow(BusyWindow* window) {
    g_busyWindow.store(window);
}
BusyWindow* GetBusyWindow() {
    return g_busyWindow.load();
}

// ---- Reports ------------------------------------------------------------------------

bool SetFeatureReport(HANDLE handle, uint8_t* report) {
    if (!IsValid(handle)) return false;
    const THidD_SetFeature setFeature = HidD_SetFeature;
    if (!setFeature) return false;
    const bool sent = setFeature(handle, report, FeatureReportLength) != 0;
    if (!sent) CountFailedTransfers(1);
    return sent;
}

bool GetFeatureReport(HANDLE handle, uint8_t* report) {
    if (!IsValid(handle)) return false;
    const THidD_GetFeature getFeature = HidD_GetFeature;
    if (!getFeature) return false;
    const bool read = getFeature(handle, report, FeatureReportLength) != 0;
    if (!read) CountFailedTransfers(1);
    return read;
}

bool ReadInputReport(uint8_t* buffer) {
    const HANDLE h = ReadWriteHandle;
    if (!IsValid(h)) return false;
    win::DWORD read = 0;
    return win::ReadFile(h, buffer, InputReportLength, &read, nullptr) != 0;
}

bool SendCommand(uint8_t code, uint8_t p2, uint8_t p3, uint8_t p4, uint8_t p5) {
    const uint8_t command[7] = {code, p2, p3, p4, p5, 0, 0};
    return SendCommandReport(command);
}

bool SendData7(uint8_t d0, uint8_t d1, uint8_t d2, uint8_t d3, uint8_t d4, uint8_t d5, uint8_t d6) {
    ExchangeGuard exchange;
    if (!exchange.ok()) return false;
    const HANDLE h = DataHandle;
    if (!IsValid(h) || g_gaveUp) return false;
    const uint8_t report[8] = {0x41, d0, d1, d2, d3, d4, d5, d6};
    std::memcpy(ReportBuffer, report, sizeof report);
    return SetFeatureReport(h, ReportBuffer);
}

bool ReadData7() {
    ExchangeGuard exchange;
    // Refused inside another exchange's pumping: its reply buffer is not ours to touch.
    if (!exchange.ok()) return false;
    std::memset(ReplyBuffer, 0xFF, sizeof ReplyBuffer);
    const HANDLE h = DataHandle;
    if (!IsValid(h) || g_gaveUp) return false;
    const uint8_t request[8] = {0x41, 0, 0, 0, 0, 0, 0, 0};
    std::memcpy(ReportBuffer, request, sizeof request);
    if (!GetFeatureReport(h, ReportBuffer)) return false;
    std::memcpy(ReplyBuffer, ReportBuffer + 1, 7);
    return true;
}

// The busy window goes up before the exchange starts, so a click handled while it is
// being shown writes its own setting before this one instead of being refused. A send
// that fails is made again, as a block is.
static bool WriteConfigCommand(const uint8_t (&command)[7]) {
    TransferJob job;
    const HANDLE atStart = CommandHandle;
    if (!IsValid(atStart) || RefusedHere() || g_gaveUp) return false;
    BusyStep();
    bool sent = false;
    for (int attempt = 0; attempt < BlockAttempts && !sent && IsValid(CommandHandle); ++attempt)
        sent = SendCommandReport(command);
    BusyHide();
    return NoteFailure(sent, atStart);
}

bool WriteConfigBytes(uint8_t address, uint8_t d0, uint8_t d1, uint8_t d2, uint8_t count) {
    return WriteConfigCommand({0x05, 0x00, address, d0, d1, d2, count});
}

bool WriteConfigDword(uint8_t address, uint8_t d0, uint8_t d1, uint8_t d2, uint8_t d3) {
    return WriteConfigCommand({0x05, 0x01, address, d0, d1, d2, d3});
}

bool ReadConfigBytes(uint8_t mode, uint8_t address, uint8_t length, uint8_t* destination) {
    std::memset(destination, 0xFF, length);
    return WholeBlock([&] {
        return ReadExchange({0x06, mode, address, 0x00, length}, length, destination, false);
    });
}

bool ReadEepromBlock(uint16_t address, uint16_t length, uint8_t* destination) {
    TransferJob job;
    std::memset(destination, 0xFF, length);
    return ReadExchange(BlockCommand(0x09, address, length), length, destination, false) ==
           BlockResult::Whole;
}

bool ReadEepromBlockWithWait(uint16_t address, uint16_t length, uint8_t* destination) {
    TransferJob job;
    return ReadExchange(BlockCommand(0x09, address, length), length, destination, true) ==
           BlockResult::Whole;
}

bool WriteEepromBlock(uint16_t address, uint16_t length, const uint8_t* source) {
    TransferJob job;
    return WriteExchange(address, length, source) == BlockResult::Whole;
}

bool ReadEepromBlockWhole(uint16_t address, uint16_t length, uint8_t* destination) {
    std::memset(destination, 0xFF, length);
    return WholeBlock([&] {
        return ReadExchange(BlockCommand(0x09, address, length), length, destination, false);
    });
}

bool ReadEepromBlockWholeWithWait(uint16_t address, uint16_t length, uint8_t* destination) {
    return WholeBlock([&] {
        return ReadExchange(BlockCommand(0x09, address, length), length, destination, true);
    });
}

bool WriteEepromBlockWhole(uint16_t address, uint16_t length, const uint8_t* source) {
    return WholeBlock([&] { return WriteExchange(address, length, source); });
}

bool WriteConfigBlock(uint8_t mode, uint8_t address, uint32_t length, const uint8_t* source) {
    TransferJob job;
    ExchangeGuard exchange;
    if (!exchange.ok()) return false;
    std::memset(ReplyBuffer, 0xFF, sizeof ReplyBuffer);
    if (!IsValid(CommandHandle)) return false;
    if (mode > 1) return true;
    const uint32_t width = mode == 0 ? 3 : 4;
    for (uint32_t offset = 0; offset < length; offset += width) {
        BusyStep();
        const uint32_t count = std::min(width, length - offset);
        std::memcpy(ReplyBuffer, source + offset, count);
        const uint8_t* s = ReplyBuffer;
        const auto chunkAddress = static_cast<uint8_t>(address + offset);
        if (mode == 0)
            SendCommandReport(
                {0x05, 0x00, chunkAddress, s[0], s[1], s[2], static_cast<uint8_t>(count)});
        else
            SendCommandReport({0x05, 0x01, chunkAddress, s[0], s[1], s[2], s[3]});
    }
    return true;
}

// ---- Bits ---------------------------------------------------------------------------

bool BitIsSet(uint32_t value, uint32_t bit) {
    return (value >> (bit % 32)) & 1u;
}
uint32_t SetBit(uint32_t value, uint32_t bit) {
    return value | (1u << (bit % 32));
}
uint32_t ClearBit(uint32_t value, uint32_t bit) {
    return value & ~(1u << (bit % 32));
}

} // namespace device
