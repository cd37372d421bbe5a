#pragma once
// Unit Subroutines: the device variables, the HID access layer (enumeration, counting,
// opening the mouse) and the report protocol with its command routines. Everything the
// program says to the mouse goes through here.
#include "platform/win/WinTypes.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace device {

using platform::win::FARPROC;
using platform::win::HANDLE;
using platform::win::HMODULE;

// ---- Device variables -------------------------------------------------------------
// The handles and report lengths are read by the polling thread while the main thread
// opens and releases the device, hence atomic; they read and assign like plain values.
extern std::atomic<HANDLE> CommandHandle;   // command reports (id 0x40)
extern std::atomic<HANDLE> DataHandle;      // data reports (id 0x41); same handle as CommandHandle
extern std::atomic<HANDLE> ReadWriteHandle; // input reports (id 0x42), read by the polling thread
extern uint32_t DeviceVendorId;
extern uint32_t DeviceProductId;
extern std::atomic<uint32_t> FeatureReportLength;
extern std::atomic<uint32_t> InputReportLength;

struct DeviceIdEntry {
    uint32_t vendorId = 0;
    uint32_t productId = 0;
};
extern DeviceIdEntry DeviceIdTable[2];

// ---- Run-time library loading -----------------------------------------------------
bool LoadLibraryOnce(HMODULE& module, const char* libraryName);
void FreeLibraryHandle(HMODULE& module);
FARPROC GetModuleProc(HMODULE module, const char* name, bool& allFound);
bool LoadHidLibrary();
void UnloadHidLibrary();
bool IsHidLibraryLoaded();
bool LoadSetupApiLibrary();
void UnloadSetupApiLibrary();
int32_t SetupApiUserCount();

// ---- Enumeration and opening ------------------------------------------------------
int32_t CountHidDevices();
// An interface of the mouse as the look for it tells them apart: its path and the instance
// of its node, so that a node that went and came back under the same path is another one.
using InterfaceKey = std::string;
// The keys of the interfaces with these ids and 8-byte feature reports on the bus now. No
// report is sent.
std::vector<InterfaceKey> MatchingInterfaces(uint32_t vendorId, uint32_t productId);
// Opens the mouse with these ids: each matching interface that `accept` takes (all without
// it) is made the device in turn, with the opening handshake.
bool OpenDevice(uint32_t vendorId, uint32_t productId,
                const std::function<bool(const InterfaceKey&)>& accept = nullptr);
// Whether an interface with these ids is on the bus now; no report is sent.
bool DeviceListed(uint32_t vendorId, uint32_t productId);

// The opening handshake: the information command (40 0D) sent and one data report (41)
// read on `handle` alone, through `report` (8 bytes; the reply is left in it), in reports
// of `length` bytes. It takes no exchange lock and touches no device variable. An attempt
// whose command failed does not wait for the read; a failed attempt is made again, at most
// `attempts` times in all, but a command that fails after a failed attempt ends them: the
// mouse does not answer, and each failure may have taken the system's time-out. A silent
// mouse costs it at most two time-outs.
struct THandshake {
    bool commandSent = false; // the command went in some attempt
    bool replyRead = false;   // a data report was read in some attempt
    bool answered = false;    // an attempt went whole
    int failedTransfers = 0;  // transfers that failed, each maybe after the time-out
};
THandshake Handshake(HANDLE handle, uint32_t length, uint8_t* report, int attempts);
// Proves the mouse with these ids before the window opens it: each matching interface that
// `accept` takes is opened with a handle of its own and must answer one handshake attempt
// and read its identity block whole. Returns the key of the first that did, or an empty
// key. It uses no shared buffer and no device variable and takes no exchange lock, so
// another thread runs it while the window uses none of these interfaces (the libraries
// loaded by CountHidDevices). Stops before its next transfer once `stop` is set.
InterfaceKey ProbeDevice(uint32_t vendorId, uint32_t productId, const std::atomic<bool>& stop,
                         const std::function<bool(const InterfaceKey&)>& accept = nullptr);
// The information command on the open mouse, made as the opening handshake; its reply's
// seven bytes. False when the mouse did not answer it.
bool AskInformation(uint8_t (&reply)[7]);
// Sets each handle to the invalid value, then closes it (the shared command/data handle
// once); clears ids and report lengths. Waits for another thread's exchange in progress
// to end; inside this thread's own exchange (device loss noticed while a transfer pumps
// messages) the shared handle is closed when that exchange ends. A read blocked on
// ReadWriteHandle wakes and fails.
void ReleaseDeviceHandles();

// ---- Report protocol --------------------------------------------------------------
extern uint8_t ReportBuffer[8]; // every report is built here
extern uint8_t ReplyBuffer[7];  // payload of the last data read; staging of block writes

// The bare transfers; they take no exchange lock (the routines below hold it).
bool SetFeatureReport(HANDLE handle, uint8_t* report);
bool GetFeatureReport(HANDLE handle, uint8_t* report);
// Blocks until an input report arrives; woken (false) by CancelIoEx on ReadWriteHandle
// or by ReleaseDeviceHandles. Takes no lock and uses neither shared buffer.
bool ReadInputReport(uint8_t* buffer);
bool SendCommand(uint8_t code, uint8_t p2, uint8_t p3, uint8_t p4, uint8_t p5);
bool SendData7(uint8_t d0, uint8_t d1, uint8_t d2, uint8_t d3, uint8_t d4, uint8_t d5, uint8_t d6);
// False when the report failed (or could not be sent): the reply buffer then holds FF.
bool ReadData7();
// Every routine from SendCommand on sends nothing and fails at once while a routine has
// given up on the mouse and the window has not yet taken the word (TakeTransferFailure):
// once one transfer of a job is given up, nothing more of that job reaches the mouse.
// A single setting; a send that fails is made again, at most BlockAttempts times.
bool WriteConfigBytes(uint8_t address, uint8_t d0, uint8_t d1, uint8_t d2, uint8_t count);
bool WriteConfigDword(uint8_t address, uint8_t d0, uint8_t d1, uint8_t d2, uint8_t d3);
// Read whole, as a block is (below), or false with FF in every byte that did not come.
bool ReadConfigBytes(uint8_t mode, uint8_t address, uint8_t length, uint8_t* destination);
bool WriteConfigBlock(uint8_t mode, uint8_t address, uint32_t length, const uint8_t* source);
// The block routines run the whole exchange even when a data report of it fails (the
// mouse expects every report the command announced), unless FailedReportsToStop of them
// fail in a row or the job gives up on the mouse, and return true only when the command
// and every data report went: a failed data read leaves FF in its seven bytes, a failed
// data write leaves the mouse's old bytes there. ReadConfigBytes and ReadEepromBlock fill
// the destination with FF before the command.
bool WriteEepromBlock(uint16_t address, uint16_t length, const uint8_t* source);
bool ReadEepromBlock(uint16_t address, uint16_t length, uint8_t* destination);
bool ReadEepromBlockWithWait(uint16_t address, uint16_t length, uint8_t* destination);
// An exchange stops after this many of its data reports failed in a row (the mouse stopped
// answering; each failure may have taken the system's time-out).
inline constexpr int FailedReportsToStop = 3;
// The same, run again while it failed, at most BlockAttempts times in all (a whole block
// replaces a broken one), until the job gives up on the mouse (FailedTransfersPerJob
// below): a mouse silent or lossy from any point costs the job at most that many
// time-outs. True when one attempt went whole.
inline constexpr int BlockAttempts = 3;
bool WriteEepromBlockWhole(uint16_t address, uint16_t length, const uint8_t* source);
bool ReadEepromBlockWhole(uint16_t address, uint16_t length, uint8_t* destination);
bool ReadEepromBlockWholeWithWait(uint16_t address, uint16_t length, uint8_t* destination);
// True (once) when a routine that retries, a single setting or a whole block, gave up on
// an open mouse since the handles were last released or this was last asked: the mouse
// is there but does not answer.
bool TakeTransferFailure();

// ---- Jobs -------------------------------------------------------------------------
// A job is what one request asks of the mouse: a read, a save, a key change with the
// profile writes it takes, an arrival. Its failed transfers are counted together, however
// they are spread over its routines and blocks, and however far apart: each may have taken
// the system's time-out. At the FailedTransfersPerJob-th the job gives up on the mouse as a
// routine does when its block never went whole: nothing more of it is sent, and the window
// takes the word at the job's end or its next tick. The outermost scope on a thread starts
// a job; a routine called outside any job is a job of its own. Jobs are counted per thread:
// the polling thread's status reads are jobs of their own.
inline constexpr int FailedTransfersPerJob = 4;
class TransferJob {
public:
    TransferJob();
    ~TransferJob();
    TransferJob(const TransferJob&) = delete;
    TransferJob& operator=(const TransferJob&) = delete;
};
// A job is in progress on this thread: a device-timer tick that falls inside one (while its
// busy window handles messages) leaves the bus alone until the job has ended.
bool InTransferJob();
// Failed transfers of the job in progress on this thread.
int JobFailedTransfers();
// Counts failed transfers to the open mouse against the job in progress on this thread (the
// bare transfers count their own; a handshake's are counted by the one who made it).
void CountFailedTransfers(int count);
bool BitIsSet(uint32_t value, uint32_t bit);
uint32_t SetBit(uint32_t value, uint32_t bit);
uint32_t ClearBit(uint32_t value, uint32_t bit);

// ---- Exchanges --------------------------------------------------------------------
// An exchange is one command with its data reports; no two may interleave on any
// thread. The routines above take the exchange lock themselves; a caller that composes
// an exchange from SendCommand and ReadData7 holds an ExchangeGuard across it, and the
// routines it calls join that exchange. An exchange started from inside the message
// pumping of another one on the same thread (a click handled while a transfer shows the
// busy window) does not run: ok() is false and the routine returns false. Another
// thread waits until the exchange in progress ends.
class ExchangeGuard {
public:
    ExchangeGuard();
    ~ExchangeGuard();
    ExchangeGuard(const ExchangeGuard&) = delete;
    ExchangeGuard& operator=(const ExchangeGuard&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

// ---- Busy window ------------------------------------------------------------------
// The window shown over the main window during transfers. The shell installs the real
// one; without one the steps do nothing.
class BusyWindow {
public:
    virtual ~BusyWindow() = default;
    // Centre over the main window, show, and handle waiting messages.
    virtual void Step() = 0;
    // Hide and handle waiting messages again.
    virtual void Hide() = 0;
};
void SetBusyWindow(BusyWindow* window);
BusyWindow* GetBusyWindow();

} // namespace device
