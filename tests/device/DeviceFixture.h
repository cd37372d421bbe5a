#pragma once
// The device layer over a scripted bus: the fixture installs a fresh FakeBus per test
// and leaves the device variables released afterwards.
#include "FakeBus.h"
#include "device/Subroutines.h"

#include <gtest/gtest.h>

namespace testing_support {

inline constexpr uint16_t kMouseVendor = 0x04B4;
inline constexpr uint16_t kMouseProduct = 0x08B9;

using Bytes = std::vector<uint8_t>;

// Records the busy window's steps; a test can run code inside a step as the message
// pumping would.
class RecordingBusyWindow : public device::BusyWindow {
public:
    void Step() override {
        ++steps;
        if (onStep) onStep();
    }
    void Hide() override { ++hides; }
    int steps = 0;
    int hides = 0;
    std::function<void()> onStep;
};

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Lists the mouse's vendor interface and opens it; the transcript starts empty.
    void OpenMouse();
    // Bytes of every feature report sent (Set) or asked for (Get), in order.
    std::vector<Bytes> Sent();
    std::vector<Bytes> All();
    size_t CountOf(Transfer::Kind kind);

    std::shared_ptr<FakeBus> bus;
};

inline bool IsValid(platform::win::HANDLE h) {
    return h != platform::win::INVALID_HANDLE_VALUE;
}

} // namespace testing_support
