#include "simulator/SimMouse.h"

#include "platform/core/Time.h"
#include "simulator/BusCore.h"

#include <algorithm>
#include <cstdio>

namespace simulator {

namespace {
constexpr uint8_t kCommandReport = 0x40;
constexpr uint8_t kDataReport = 0x41;
constexpr uint8_t kInputReport = 0x42;
constexpr unsigned kChunk = 7;
constexpr size_t kReportLength = 8; // every report the protocol hooks see
constexpr size_t kDataMemorySize = 0x10000;
constexpr unsigned kVendorChecksum = 163;
constexpr unsigned kUserSectionStart = 164;
constexpr unsigned kUserChecksum = 191;

unsigned Chunks(unsigned length) {
    return (length + kChunk - 1) / kChunk;
}

unsigned Word(uint8_t high, uint8_t low) {
    return unsigned(high) << 8 | low;
}

std::string Hex(uint8_t value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

InterfaceInfo MouseInfo(uint32_t id, const SimMouseConfig& config) {
    InterfaceInfo info;
    info.path = "sim://mouse" + std::to_string(id);
    info.vendorId = config.vendorId;
    info.productId = config.productId;
    info.versionNumber = config.versionNumber;
    info.inputReportByteLength = config.inputReportLength;
    info.featureReportByteLength = config.featureReportLength;
    info.usagePage = 0xFF00;
    info.usage = 0x01;
    return info;
}
} // namespace

SimMouse::SimMouse(std::shared_ptr<BusCore> core, uint32_t id, const SimMouseConfig& config)
    : SimInterface(std::move(core), id, MouseInfo(id, config)), dataMemory_(kDataMemorySize, 0),
      info_(config.info), resetReturnMs_(config.resetReturnMs) {
    image_.fill(0xFF);
    std::copy_n(config.image.begin(), std::min(config.image.size(), kImageSize), image_.begin());
    live_.fill(0xFF);
    std::copy_n(image_.begin(), kLivePart, live_.begin());
}

// ---- test interface

std::vector<uint8_t> SimMouse::Image() const {
    std::lock_guard lock(core_->mutex);
    return {image_.begin(), image_.end()};
}

void SimMouse::SetImage(const std::vector<uint8_t>& image) {
    std::lock_guard lock(core_->mutex);
    image_.fill(0xFF);
    std::copy_n(image.begin(), std::min(image.size(), kImageSize), image_.begin());
    std::copy_n(image_.begin(), kLivePart, live_.begin());
}

std::array<uint8_t, SimMouse::kLiveSize> SimMouse::LiveBytes() const {
    std::lock_guard lock(core_->mutex);
    return live_;
}

uint8_t SimMouse::DataMemory(uint16_t address) const {
    std::lock_guard lock(core_->mutex);
    return dataMemory_[address];
}

void SimMouse::SetInfo(const std::array<uint8_t, 7>& info) {
    std::lock_guard lock(core_->mutex);
    info_ = info;
}

void SimMouse::SetResetReturn(std::optional<uint32_t> ms) {
    std::lock_guard lock(core_->mutex);
    resetReturnMs_ = ms;
}

unsigned SimMouse::ResetCount() const {
    std::lock_guard lock(core_->mutex);
    return resets_;
}

bool SimMouse::PressDpiButton() {
    std::lock_guard lock(core_->mutex);
    if (!PresentLocked()) return false;
    const unsigned levels = std::min<unsigned>(live_[kCpiLevelCountByte], 7) + 1;
    const unsigned next = live_[kCpiLevelByte] + 1u < levels ? live_[kCpiLevelByte] + 1u : 0;
    WriteLiveLocked(kCpiLevelByte, uint8_t(next));
    StampSectionsLocked(kCpiLevelByte, 1);
    SendEventLocked(kDpiUpEvent);
    SendEventLocked(0);
    return true;
}

bool SimMouse::PressProfileButton() {
    std::lock_guard lock(core_->mutex);
    if (!PresentLocked()) return false;
    const uint8_t byte = live_[kProfileByte];
    const unsigned profile = byte & 0x0F;
    const unsigned next = profile < 2 ? profile + 1 : 0;
    WriteLiveLocked(kProfileByte, uint8_t((byte & 0xF0) | next));
    StampSectionsLocked(kProfileByte, 1);
    SendEventLocked(kProfileEvent);
    SendEventLocked(0);
    return true;
}

// ---- protocol

// One violation per report: a report that lands inside another thread's exchange is
// flagged as that, whatever else is wrong with it. An exchange whose handle was closed
// was given up: any thread may start the next one with its command.
bool SimMouse::FlagInterleavedLocked(const TransferContext& t, const uint8_t* buf) {
    if (!exchange_.open || exchange_.owner == t.thread) return false;
    if (buf[0] == kCommandReport && !ConnectionOpenLocked(exchange_.connection)) return false;
    AddViolationLocked(ViolationKind::InterleavedExchange, t, buf, kReportLength,
                       "exchange of command " + Hex(exchange_.command) +
                           " is open on another thread");
    return true;
}

void SimMouse::OnSetFeature(const TransferContext& t, const uint8_t* buf, bool lost) {
    const bool interleaved = FlagInterleavedLocked(t, buf);
    switch (buf[0]) {
    case kCommandReport:
        if (exchange_.open && !exchange_.lost && !exchange_.reportLost && !interleaved &&
            ConnectionOpenLocked(exchange_.connection))
            AddViolationLocked(ViolationKind::CommandInsideExchange, t, buf, kReportLength,
                               "command " + Hex(exchange_.command) + " still expects " +
                                   std::to_string(exchange_.readsLeft + exchange_.writesLeft) +
                                   " data reports");
        exchange_ = {};
        Command(t, buf, lost);
        break;
    case kDataReport:
        if (exchange_.open && exchange_.writesLeft > 0)
            DataWrite(buf, lost);
        else if (!interleaved)
            AddViolationLocked(ViolationKind::UnexpectedDataWrite, t, buf, kReportLength,
                               "no block write open");
        break;
    default:
        if (!interleaved)
            AddViolationLocked(ViolationKind::UnknownReport, t, buf, kReportLength, "SetFeature");
        break;
    }
}

bool SimMouse::OnGetFeature(const TransferContext& t, uint8_t* buf, size_t len, bool lost) {
    const bool interleaved = FlagInterleavedLocked(t, buf);
    if (buf[0] != kDataReport) {
        if (!interleaved)
            AddViolationLocked(ViolationKind::UnknownReport, t, buf, kReportLength, "GetFeature");
        return false;
    }
    if (exchange_.open && exchange_.readsLeft > 0) {
        DataRead(buf, lost);
    } else {
        if (!interleaved)
            AddViolationLocked(ViolationKind::UnexpectedDataRead, t, buf, kReportLength,
                               "no read pending");
        if (!lost) std::fill_n(buf + 1, len - 1, 0xFF);
    }
    return true;
}

void SimMouse::Command(const TransferContext& t, const uint8_t* buf, bool lost) {
    const uint8_t code = buf[1];
    switch (code) {
    case 0x01:
        if (!lost) dataMemory_[Word(buf[2], buf[3])] = buf[4];
        break;
    case 0x02:
        OpenExchange(t, code, lost, Source::DataMemory, Word(buf[2], buf[3]), 1, 1, 0);
        break;
    case 0x05: {
        unsigned count = 0;
        if (buf[2] == 0 && buf[7] >= 1 && buf[7] <= 3)
            count = buf[7];
        else if (buf[2] == 1)
            count = 4;
        if (count == 0) {
            AddViolationLocked(ViolationKind::UnknownCommand, t, buf, kReportLength,
                               "05 with mode " + Hex(buf[2]) + " and count " + Hex(buf[7]));
            break;
        }
        if (!lost) {
            for (unsigned i = 0; i < count; ++i)
                WriteLiveLocked(buf[3] + i, buf[4 + i]);
            StampSectionsLocked(buf[3], count);
        }
        break;
    }
    case 0x06:
        OpenExchange(t, code, lost, Source::LiveSpace, buf[3], buf[5], Chunks(buf[5]), 0);
        break;
    case 0x07: {
        const unsigned length = Word(buf[4], buf[5]);
        OpenExchange(t, code, lost, Source::ImageMemory, Word(buf[2], buf[3]), length, 0,
                     Chunks(length));
        break;
    }
    case 0x09: {
        const unsigned length = Word(buf[4], buf[5]);
        OpenExchange(t, code, lost, Source::ImageMemory, Word(buf[2], buf[3]), length,
                     Chunks(length), 0);
        break;
    }
    case 0x0D:
        OpenExchange(t, code, lost, Source::Info, 0, unsigned(info_.size()), 1, 0);
        break;
    case 0x0E:
        if (!lost) ResetLocked();
        break;
    default:
        AddViolationLocked(ViolationKind::UnknownCommand, t, buf, kReportLength,
                           "command " + Hex(code));
        break;
    }
}

void SimMouse::OpenExchange(const TransferContext& t, uint8_t command, bool lost, Source source,
                            unsigned address, unsigned length, unsigned reads, unsigned writes) {
    if (reads + writes == 0) return;
    exchange_.open = true;
    exchange_.lost = lost;
    exchange_.command = command;
    exchange_.owner = t.thread;
    exchange_.connection = t.connectionId;
    exchange_.source = source;
    exchange_.address = address;
    exchange_.length = length;
    exchange_.done = 0;
    exchange_.readsLeft = reads;
    exchange_.writesLeft = writes;
}

void SimMouse::DataWrite(const uint8_t* buf, bool lost) {
    if (!lost && !exchange_.lost) {
        for (unsigned i = 0; i < kChunk; ++i) {
            const unsigned pos = exchange_.done + i;
            const unsigned address = exchange_.address + pos;
            if (pos < exchange_.length && address < kImageSize) image_[address] = buf[1 + i];
        }
    }
    exchange_.reportLost = exchange_.reportLost || lost;
    exchange_.done += kChunk;
    if (--exchange_.writesLeft == 0) exchange_.open = false;
}

void SimMouse::DataRead(uint8_t* buf, bool lost) {
    if (!lost) {
        for (unsigned i = 0; i < kChunk; ++i) {
            const unsigned pos = exchange_.done + i;
            const unsigned address = exchange_.address + pos;
            uint8_t value = 0xFF;
            if (!exchange_.lost && pos < exchange_.length) {
                switch (exchange_.source) {
                case Source::LiveSpace:
                    value = live_[address & 0xFF];
                    break;
                case Source::ImageMemory:
                    if (address < kImageSize) value = image_[address];
                    break;
                case Source::Info:
                    value = info_[pos];
                    break;
                case Source::DataMemory:
                    value = dataMemory_[address & 0xFFFF];
                    break;
                }
            }
            buf[1 + i] = value;
        }
    }
    exchange_.reportLost = exchange_.reportLost || lost;
    exchange_.done += kChunk;
    if (--exchange_.readsLeft == 0) exchange_.open = false;
}

void SimMouse::WriteLiveLocked(unsigned address, uint8_t value) {
    address &= 0xFF;
    live_[address] = value;
    if (address < kLivePart) image_[address] = value;
}

// The mouse keeps the checksum of a live section valid whenever one of its bytes changes,
// whoever changed it. A write that covers the checksum byte itself brings its own: the
// host is writing the section whole and its checksum stands as written.
void SimMouse::StampSectionsLocked(unsigned address, unsigned count) {
    struct Section {
        unsigned start, checksum;
    };
    static constexpr Section sections[] = {{0, kVendorChecksum},
                                           {kUserSectionStart, kUserChecksum}};
    auto stamp = [](auto& bytes, const Section& s) {
        unsigned sum = 0;
        for (unsigned i = s.start; i < s.checksum; ++i)
            sum += bytes[i];
        bytes[s.checksum] = uint8_t((sum & 0xFF) ^ 0x5A);
    };
    for (const Section& s : sections) {
        bool touched = false, checksumWritten = false;
        for (unsigned i = 0; i < count; ++i) {
            const unsigned a = (address + i) & 0xFF;
            touched = touched || (a >= s.start && a < s.checksum);
            checksumWritten = checksumWritten || a == s.checksum;
        }
        if (!touched || checksumWritten) continue;
        stamp(live_, s);
        stamp(image_, s);
    }
}

void SimMouse::SendEventLocked(uint8_t event) {
    QueueInputLocked({kInputReport, 0, 0, event, 0, 0, 0, 0});
}

void SimMouse::ResetLocked() {
    ++resets_;
    UnplugLocked();
    if (resetReturnMs_)
        returnAt_ = std::chrono::steady_clock::now() +
                    std::chrono::milliseconds(platform::core::ScaledMs(*resetReturnMs_));
}

void SimMouse::OnUnplugLocked() {
    exchange_ = {};
    returnAt_.reset();
    // The mouse starts from its image memory when it comes back.
    std::copy_n(image_.begin(), kLivePart, live_.begin());
    std::fill(live_.begin() + kLivePart, live_.end(), 0xFF);
}

void SimMouse::UpdateLocked() {
    if (!returnAt_) return;
    if (PluggedLocked()) {
        returnAt_.reset();
    } else if (std::chrono::steady_clock::now() >= *returnAt_) {
        returnAt_.reset();
        PlugLocked();
    }
}

} // namespace simulator
