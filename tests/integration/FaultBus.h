#pragma once
// A misbehaving bus over the simulated one: the mouse stays on the bus while its feature
// transfers fail (each after a time-out, as a USB transfer the mouse no longer answers),
// or while some of its replies come back short. Other interfaces pass unchanged.
#include "simulator/SimBus.h"
#include "simulator/SimMouse.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace devtest {

enum class FaultKind : uint8_t {
    None,
    // Every feature transfer from the at-th on (counted from Arm, 0-based) fails after
    // the time-out; the mouse sees it as lost.
    Unanswered,
    // Every at-th data reply (counted from Arm, 1-based) carries 4 bytes instead of 8.
    ShortReply,
    // Commands go through; every data report from the at-th transfer on fails after the
    // time-out: a mouse that takes commands but answers no data.
    DataUnanswered,
    // The replies to the memory reads (commands 06 and 09) from the at-th transfer on fail
    // after the time-out; the handshake and every other report go through.
    MemoryUnanswered,
    // Every at-th transfer (counted from Arm, 1-based) fails after the time-out: a link
    // that loses one transfer in `at`.
    LoseOneIn,
};

const char* FaultKindName(FaultKind kind);

// The transfer indexes 0..last a walk visits: every one. VTRM408X_WALK_STRIDE=k visits
// every k-th and the last; the sanitizer runs of scripts/check.sh, many times slower, use
// it to stay within their time.
std::vector<uint64_t> WalkIndexes(uint64_t last);

class FaultBus : public platform::win::HidBus {
public:
    FaultBus(std::shared_ptr<simulator::SimBus> inner, std::shared_ptr<simulator::SimMouse> mouse);

    // Starts a fault, the transfers counted from here.
    void Arm(FaultKind kind, uint64_t at, uint32_t timeoutMs = 5000);
    // A single fault: only the at-th transfer (0-based) fails after the time-out
    // (Unanswered), or comes back short when it is a reply (ShortReply).
    void ArmOnce(FaultKind kind, uint64_t at, uint32_t timeoutMs = 5000);
    // The mouse answers again.
    void Heal() { kind_ = FaultKind::None; }
    // The next `count` reset commands fail at once. With `acted` the mouse restarts all
    // the same: its answer is lost as it leaves the bus; else it never gets them.
    void LoseResets(unsigned count, bool acted) {
        lostResets_ = count;
        resetsActed_ = acted;
    }

    // Feature transfers to the mouse since Arm, and how many of them failed by the fault.
    uint64_t Transfers() const { return transfers_; }
    uint64_t Failed() const { return failed_; }

    std::vector<platform::win::InterfaceInfo> Enumerate() override { return inner_->Enumerate(); }
    std::unique_ptr<platform::win::HidConnection> Open(const std::string& path,
                                                       platform::win::OpenAccess access,
                                                       platform::win::HidError& error) override;

private:
    friend class FaultConnection;
    enum class Decision { Pass, Fail, Short };
    // What becomes of a transfer of report `id`: a reply (GetFeature) or a send.
    Decision Next(uint8_t id, bool reply);
    Decision TimeOut();

    std::shared_ptr<simulator::SimBus> inner_;
    std::shared_ptr<simulator::SimMouse> mouse_;
    std::atomic<FaultKind> kind_{FaultKind::None};
    std::atomic<bool> once_{false};
    std::atomic<uint64_t> at_{0};
    std::atomic<uint32_t> timeoutMs_{0};
    std::atomic<uint64_t> transfers_{0};
    std::atomic<uint64_t> replies_{0};
    std::atomic<uint64_t> failed_{0};
    // The code of the last command sent to the mouse.
    std::atomic<uint8_t> lastCommand_{0};
    std::atomic<unsigned> lostResets_{0};
    std::atomic<bool> resetsActed_{false};
};

} // namespace devtest
