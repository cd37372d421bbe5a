// The bus the program talks through, chosen at start from VTRM408X_SIMULATE and the
// interfaces present.
#include "device/DefaultSetting.h"
#include "platform/core/Resources.h"
#include "platform/win/backends/HidrawBus.h"
#include "simulator/SimBus.h"
#include "simulator/SimMouse.h"
#include "window/shell/Program.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

class ProgramBus : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* v = std::getenv("VTRM408X_SIMULATE")) saved_ = v;
    }
    void TearDown() override {
        if (saved_)
            setenv("VTRM408X_SIMULATE", saved_->c_str(), 1);
        else
            unsetenv("VTRM408X_SIMULATE");
        platform::win::SetBus(nullptr);
    }
    static bool RealMousePresent() {
        for (const auto& info : platform::win::HidrawBus().Enumerate())
            if (info.vendorId == 0x1209 && info.productId == 0x08B9) return true;
        return false;
    }

    std::optional<std::string> saved_;
};

TEST_F(ProgramBus, SimulateOneGivesTheSimulatedMouseWithTheFirstDefaultImage) {
    setenv("VTRM408X_SIMULATE", "1", 1);
    testing::internal::CaptureStderr();
    const auto bus = window::shell::InstallDeviceBus();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "asked for: nothing to say";
    EXPECT_EQ(platform::win::Bus(), bus);
    auto* sim = dynamic_cast<simulator::SimBus*>(bus.get());
    ASSERT_NE(sim, nullptr);

    int mice = 0;
    for (const auto& info : sim->Enumerate())
        if (info.vendorId == 0x1209 && info.productId == 0x08B9 &&
            info.featureReportByteLength == 8)
            ++mice;
    EXPECT_EQ(mice, 1);
    EXPECT_GE(sim->Enumerate().size(), 2u) << "the mouse and at least one other interface";

    // What the mouse holds is the shipped default image: read it through the bus.
    const std::vector<uint8_t> expected = device::OpenResourceBytes("VTRM408xData_Cfg1");
    platform::win::HidError error{};
    std::string path;
    for (const auto& info : sim->Enumerate())
        if (info.vendorId == 0x1209 && info.featureReportByteLength == 8) path = info.path;
    auto handle = sim->Open(path, platform::win::OpenAccess::Query, error);
    ASSERT_NE(handle, nullptr);
    uint8_t command[8] = {0x40, 0x09, 0x00, 0x00, 0x00, 14, 0, 0};
    ASSERT_TRUE(handle->SetFeature(command, 8, error));
    for (int chunk = 0; chunk < 2; ++chunk) {
        uint8_t reply[8] = {0x41};
        ASSERT_TRUE(handle->GetFeature(reply, 8, error));
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(reply[1 + i], expected[static_cast<size_t>(chunk * 7 + i)]);
    }
    EXPECT_TRUE(sim->Violations().empty());
}

TEST_F(ProgramBus, SimulateZeroGivesHidraw) {
    setenv("VTRM408X_SIMULATE", "0", 1);
    testing::internal::CaptureStderr();
    const auto bus = window::shell::InstallDeviceBus();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(dynamic_cast<platform::win::HidrawBus*>(bus.get()), nullptr);
}

TEST_F(ProgramBus, UnsetFallsBackToTheSimulatedMouseWithANote) {
    unsetenv("VTRM408X_SIMULATE");
    if (RealMousePresent()) GTEST_SKIP() << "a real mouse is plugged in";
    testing::internal::CaptureStderr();
    const auto bus = window::shell::InstallDeviceBus();
    const std::string note = testing::internal::GetCapturedStderr();
    EXPECT_NE(dynamic_cast<simulator::SimBus*>(bus.get()), nullptr);
    EXPECT_NE(note.find("1209:08B9"), std::string::npos) << note;
    EXPECT_EQ(std::count(note.begin(), note.end(), '\n'), 1) << note;
}

} // namespace
