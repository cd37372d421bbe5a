#pragma once
// The simulated VTRM408x mouse: its configuration interface on the virtual bus.
//
// Memories:
// - the image memory: the 2048-byte configuration image, written by block writes (07) and
//   read by block reads (09);
// - the live configuration space, 256 bytes addressed by commands 05 and 06. Bytes 0..191
//   are the running copy of image bytes 0..191: a live write changes both, a block write
//   changes only the image, and the running copy is loaded again from the image whenever
//   the mouse starts (reset, re-plug). Bytes 192..255 are plain memory, FF at every start;
//   writes there do not reach the image. After a live write that changes bytes of the
//   vendor section (0..162) or the user section (164..190) without writing that section's
//   checksum byte (163, 191), the mouse stamps the checksum again in both memories, as it
//   does when its own buttons change the current profile or CPI level;
// - the controller's data memory, 64 KiB, zero at start and kept over resets (commands
//   01 and 02).
//
// Exchanges: a command and the data reports it asks for. 05, 01 and 0E ask for none and
// end at once; 02 and 0D ask for one data read; 06 and 09 for ceil(length / 7) data reads
// and 07 for ceil(length / 7) data writes (none for length 0). The exchange ends with its
// last data report. In the last chunk of a block write only the bytes the length names
// are taken; in the last chunk of a block read the bytes past the block are FF. A command
// whose transfer failed never reached the mouse: its data reports are still accepted (the
// host sends them unaware) but change nothing and read FF, and a new command may cut it
// short without a violation. So may a new command cut short an exchange that lost one of
// its data reports: the host may give up on a mouse that stopped answering.
#include "simulator/SimBus.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace simulator {

struct SimMouseConfig {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0x0100;
    // 8 for the configuration interface; anything else makes an interface of the same
    // device that the host must pass over.
    uint16_t featureReportLength = 8;
    uint16_t inputReportLength = 8;
    // The image memory at start; all FF when empty. Shorter images fill from byte 0.
    std::vector<uint8_t> image;
    // The answer to the information command.
    std::array<uint8_t, 7> info{0x3F, 0x3A, 0xC0, 0x00, 0x00, 0x00, 0x00};
    // How long after a reset command the mouse is back on the bus (program time); no value:
    // it never comes back on its own.
    std::optional<uint32_t> resetReturnMs = 1500;
};

class SimMouse : public SimInterface {
public:
    static constexpr size_t kImageSize = 2048;
    static constexpr size_t kLiveSize = 256;
    static constexpr size_t kLivePart = 192; // image bytes mirrored in the live space
    static constexpr uint8_t kCpiLevelCountByte = 43;
    static constexpr uint8_t kProfileByte = 164;
    static constexpr uint8_t kCpiLevelByte = 166;

    SimMouse(std::shared_ptr<BusCore> core, uint32_t id, const SimMouseConfig& config);

    std::vector<uint8_t> Image() const;
    void SetImage(const std::vector<uint8_t>& image);
    std::array<uint8_t, kLiveSize> LiveBytes() const;
    uint8_t DataMemory(uint16_t address) const;
    void SetInfo(const std::array<uint8_t, 7>& info);
    void SetResetReturn(std::optional<uint32_t> ms);
    unsigned ResetCount() const;

    // The buttons on the mouse. The DPI button steps the current CPI level through the
    // levels in use, the profile button steps the current profile 0..2; both keep the user
    // section's checksum valid, as every live write does, and send the event report followed by
    // the end-of-change report. False (nothing happens) while the mouse is off the bus.
    bool PressDpiButton();
    bool PressProfileButton();

    static constexpr uint8_t kDpiUpEvent = 1;
    static constexpr uint8_t kProfileEvent = 8;

protected:
    void OnSetFeature(const TransferContext& t, const uint8_t* buf, bool lost) override;
    bool OnGetFeature(const TransferContext& t, uint8_t* buf, size_t len, bool lost) override;
    void OnUnplugLocked() override;
    void UpdateLocked() override;

private:
    enum class Source : uint8_t { LiveSpace, ImageMemory, Info, DataMemory };

    struct Exchange {
        bool open = false;
        bool lost = false;       // the command never reached the mouse
        bool reportLost = false; // a data report of it was lost on the way
        uint8_t command = 0;
        std::thread::id owner;
        uint64_t connection = 0; // the handle it runs on
        Source source = Source::LiveSpace;
        unsigned address = 0;
        unsigned length = 0;
        unsigned done = 0; // block bytes handled so far
        unsigned readsLeft = 0;
        unsigned writesLeft = 0;
    };

    bool FlagInterleavedLocked(const TransferContext& t, const uint8_t* buf);
    void Command(const TransferContext& t, const uint8_t* buf, bool lost);
    void DataWrite(const uint8_t* buf, bool lost);
    void DataRead(uint8_t* buf, bool lost);
    void OpenExchange(const TransferContext& t, uint8_t command, bool lost, Source source,
                      unsigned address, unsigned length, unsigned reads, unsigned writes);
    void WriteLiveLocked(unsigned address, uint8_t value);
    void StampSectionsLocked(unsigned address, unsigned count);
    void SendEventLocked(uint8_t event);
    void ResetLocked();

    std::array<uint8_t, kImageSize> image_{};
    std::array<uint8_t, kLiveSize> live_{};
    std::vector<uint8_t> dataMemory_;
    std::array<uint8_t, 7> info_{};
    std::optional<uint32_t> resetReturnMs_;
    std::optional<std::chrono::steady_clock::time_point> returnAt_;
    unsigned resets_ = 0;
    Exchange exchange_;
};

} // namespace simulator
