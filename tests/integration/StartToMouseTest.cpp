// The whole road a user sees: the program's windows built as the program block builds
// them, the program's own simulated mouse on the bus, and the device timer finding the
// mouse and filling the form on its own.
#include "common/Screenshot.h"
#include "device/DefaultSetting.h"
#include "device/DeviceImage.h"
#include "device/Subroutines.h"
#include "platform/core/Time.h"
#include "platform/vcl/Forms.h"
#include "platform/win/HidBus.h"
#include "simulator/Install.h"
#include "simulator/SimBus.h"
#include "window/Main.h"
#include "window/device/MainDevice.h"
#include "window/shell/BusyWindow.h"
#include "window/shell/FormLoading.h"

#include <QApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

TEST(StartToMouse, TheTimerFindsTheProgramsSimulatedMouseAndFillsTheForm) {
    platform::core::SetTimeScale(0.02);
    std::shared_ptr<simulator::SimBus> bus = simulator::MakeProgramBus();
    platform::win::SetBus(bus);
    platform::vcl::TApplication* application = platform::vcl::Application();
    ASSERT_TRUE(application->CreateForm(window::Form1));
    ASSERT_TRUE(application->CreateForm(window::shell::FormLoadingUI));
    window::shell::InstallBusyWindow();
    window::Form1->Show();

    // Start-up ends in the no-device state; nothing has been said to the mouse yet.
    EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
    EXPECT_EQ(device::CommandHandle.load(), platform::win::INVALID_HANDLE_VALUE);
    EXPECT_TRUE(bus->Transcript().empty());

    // The first ticks find the mouse (3.5 s timer, 2.1 s arrival wait, scaled) and read it.
    const bool found = PumpUntil(
        [] {
            return device::CommandHandle.load() != platform::win::INVALID_HANDLE_VALUE &&
                   window::shell::NoDevicePageFlag == 0 && window::shell::UiLoadingFlag == 0;
        },
        10000);
    ASSERT_TRUE(found);
    // The program's mouse carries the first default image; the read brought all of it.
    const std::vector<uint8_t> image = device::OpenResourceBytes("VTRM408xData_Cfg1");
    ASSERT_EQ(image.size(), device::LiveImage.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), device::LiveImage.begin()));
    EXPECT_EQ(window::Form1->DetectedInterface, "I2C");
    EXPECT_FALSE(window::shell::FormLoadingUI->Visible()); // the read hid the busy window again
    EXPECT_TRUE(bus->Violations().empty());
    testing_support::SaveScreenshot(window::Form1->Widget(), "MouseFound");

    window::Form1->Close();
    window::shell::UninstallBusyWindow();
    application->DestroyForms();
    window::shell::FormLoadingUI = nullptr;
    window::Form1 = nullptr;
    device::ReleaseDeviceHandles();
    platform::core::SetTimeScale(1.0);
}

} // namespace
