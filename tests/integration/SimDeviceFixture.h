#pragma once
// The device layer against the simulated mouse: a fresh virtual bus per test with the
// mouse (ids of the shipped default image, a patterned image) and a keyboard, the mouse
// opened by the program's own OpenDevice. Every test ends with the simulator's list of
// protocol violations checked empty.
#include "device/Subroutines.h"
#include "simulator/SimBus.h"
#include "simulator/SimMouse.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace integration {

using Bytes = std::vector<uint8_t>;
using Report = std::array<uint8_t, 8>;

inline constexpr uint16_t kVendor = 0x1209;
inline constexpr uint16_t kProduct = 0x08B9;

// Every byte differs from its neighbours and from its offset's low byte.
Bytes PatternImage(uint8_t seed = 3);
simulator::SimMouseConfig MouseConfig(Bytes image = PatternImage());
Report R(std::initializer_list<uint8_t> bytes);

// Records the busy window's steps; a test can act inside a step as message handling would.
class RecordingBusyWindow : public device::BusyWindow {
public:
    void Step() override;
    void Hide() override { ++hides; }
    int steps = 0;
    int hides = 0;
    std::function<void()> onStep;
};

class SimDeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Opens the mouse with OpenDevice and clears the transcript.
    void OpenMouse();

    // Feature reports of the mouse's interface since the transcript was cleared: what was
    // sent (SetFeature) and what came back (GetFeature), as full 8-byte reports.
    std::vector<Report> Sent() const;
    std::vector<Report> Received() const;
    std::vector<Report> All() const;
    void ExpectNoViolations() const;

    std::shared_ptr<simulator::SimBus> bus;
    std::shared_ptr<simulator::SimMouse> mouse;
    std::shared_ptr<simulator::SimKeyboard> keyboard;
    RecordingBusyWindow busyWindow;
};

} // namespace integration
