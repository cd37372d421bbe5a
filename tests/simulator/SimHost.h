#pragma once
// The host side of the tests: one handle on a simulated interface and the reports the
// program sends on it, byte for byte.
#include "simulator/SimBus.h"
#include "simulator/SimMouse.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <future>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace simtest {

using Report = std::array<uint8_t, 8>;

constexpr uint16_t kVendor = 0x04B4;
constexpr uint16_t kProduct = 0x08B9;

// An image whose every byte tells its offset apart from its neighbours.
inline std::vector<uint8_t> PatternImage() {
    std::vector<uint8_t> image(simulator::SimMouse::kImageSize);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = uint8_t(i * 7 + i / 256 + 3);
    return image;
}

inline simulator::SimMouseConfig MouseConfig(std::vector<uint8_t> image = PatternImage()) {
    simulator::SimMouseConfig config;
    config.vendorId = kVendor;
    config.productId = kProduct;
    config.image = std::move(image);
    return config;
}

struct Host {
    std::unique_ptr<platform::win::HidConnection> handle;
    platform::win::HidError error = platform::win::HidError::None;

    Host() = default;
    Host(simulator::SimBus& bus, const std::string& path,
         platform::win::OpenAccess access = platform::win::OpenAccess::Query) {
        handle = bus.Open(path, access, error);
    }

    bool Send(std::initializer_list<uint8_t> bytes) {
        Report report{};
        std::copy(bytes.begin(), bytes.end(), report.begin());
        return handle->SetFeature(report.data(), report.size(), error);
    }
    bool Command(uint8_t code, uint8_t p2 = 0, uint8_t p3 = 0, uint8_t p4 = 0, uint8_t p5 = 0,
                 uint8_t p6 = 0, uint8_t p7 = 0) {
        return Send({0x40, code, p2, p3, p4, p5, p6, p7});
    }
    // A data read as the program makes it: 41 and seven zeros in, the reply out.
    std::optional<Report> Read() {
        Report report{0x41};
        if (!handle->GetFeature(report.data(), report.size(), error)) return std::nullopt;
        return report;
    }
    // A whole block read (06 or 09 already sent): the block's bytes, FF for failed reads.
    std::vector<uint8_t> ReadChunks(unsigned length) {
        std::vector<uint8_t> out;
        for (unsigned done = 0; done < length; done += 7) {
            const std::optional<Report> r = Read();
            for (unsigned i = 0; i < 7 && done + i < length; ++i)
                out.push_back(r ? (*r)[1 + i] : 0xFF);
        }
        return out;
    }
    // The block write of the program: staging bytes past a short last chunk keep the
    // previous chunk's bytes (FF in the first).
    void WriteChunks(const std::vector<uint8_t>& source) {
        Report staging;
        staging.fill(0xFF);
        staging[0] = 0x41;
        for (size_t done = 0; done < source.size(); done += 7) {
            for (size_t i = 0; i < 7 && done + i < source.size(); ++i)
                staging[1 + i] = source[done + i];
            handle->SetFeature(staging.data(), staging.size(), error);
        }
    }
    struct InputResult {
        int n = -1;
        platform::win::HidError error = platform::win::HidError::None;
        Report report{};
    };
    // A blocking input read that gives up (interrupting the handle: OperationAborted) after
    // two seconds, so a report or a wake-up that never comes fails the test instead of
    // hanging it. Runs on its own thread; start it with std::async to wait meanwhile.
    InputResult ReadInputOrGiveUp() {
        auto read = std::async(std::launch::async, [this] {
            InputResult r;
            r.n = handle->ReadInput(r.report.data(), r.report.size(), r.error);
            return r;
        });
        if (read.wait_for(std::chrono::seconds(2)) != std::future_status::ready)
            handle->InterruptRead();
        return read.get();
    }
    std::vector<uint8_t> ReadImage(unsigned address, unsigned length) {
        Command(0x09, uint8_t(address >> 8), uint8_t(address), uint8_t(length >> 8),
                uint8_t(length));
        return ReadChunks(length);
    }
    void WriteImage(unsigned address, const std::vector<uint8_t>& bytes) {
        const unsigned length = unsigned(bytes.size());
        Command(0x07, uint8_t(address >> 8), uint8_t(address), uint8_t(length >> 8),
                uint8_t(length));
        WriteChunks(bytes);
    }
    std::vector<uint8_t> ReadLive(uint8_t address, uint8_t length) {
        Command(0x06, 0, address, 0, length);
        return ReadChunks(length);
    }
};

inline std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t from, size_t count) {
    return {bytes.begin() + from, bytes.begin() + from + count};
}

} // namespace simtest
