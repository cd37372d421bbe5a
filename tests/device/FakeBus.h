#pragma once
// A scripted HID bus for the device-layer tests: interfaces as the test lists them, a
// transcript of every feature report with the thread that sent it, replies to feature
// reads from a queue, transfers that fail on request, and input reports pushed by hand.
#include "platform/win/HidBus.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace testing_support {

using platform::win::HidError;
using platform::win::InterfaceInfo;

struct Transfer {
    enum Kind { Set, Get } kind;
    std::string path;
    std::vector<uint8_t> bytes; // as sent (Set) or as asked for (Get)
    std::thread::id thread;
};

class FakeBus : public platform::win::HidBus {
public:
    InterfaceInfo& Add(const std::string& path, uint16_t vendor, uint16_t product,
                       uint16_t featureLength, uint16_t inputLength = 8);

    std::vector<InterfaceInfo> Enumerate() override;
    std::unique_ptr<platform::win::HidConnection>
    Open(const std::string& path, platform::win::OpenAccess access, HidError& error) override;

    // Payloads of the next feature reads (bytes after the id); afterwards reads answer
    // with zeros.
    void QueueReply(std::vector<uint8_t> payload);
    // Decides per transfer whether it fails (true = fail). Null: all succeed.
    void FailWhen(std::function<bool(const Transfer&)> predicate);
    void SetTransferDelay(std::chrono::microseconds delay);
    // An input report for the next read on a read-write connection.
    void PushInput(std::vector<uint8_t> report);

    std::vector<Transfer> Transcript();
    void ClearTranscript();
    // Opens, closes and transfers in the order they happened, one line each:
    // "open <path>" (query), "open rw <path>", "close <path>", "set <path>", "get <path>".
    std::vector<std::string> Events();
    void ClearEvents();
    int OpenConnections();
    int OpenCount(platform::win::OpenAccess access);

private:
    friend class FakeConnection;
    bool Record(Transfer t);

    std::mutex mutex_;
    std::condition_variable inputArrived_;
    std::vector<InterfaceInfo> interfaces_;
    std::deque<std::vector<uint8_t>> replies_;
    std::deque<std::vector<uint8_t>> inputs_;
    std::function<bool(const Transfer&)> failWhen_;
    std::chrono::microseconds delay_{0};
    std::vector<Transfer> transcript_;
    std::vector<std::string> events_;
    int openConnections_ = 0;
    int openedQuery_ = 0;
    int openedReadWrite_ = 0;
};

} // namespace testing_support
