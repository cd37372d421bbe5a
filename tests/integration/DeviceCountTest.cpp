// The stable-count rule of the device timer: interfaces that come and go within a tick.
#include "DeviceFixture.h"

#include "platform/win/HidBus.h"
#include "window/device/MainDevice.h"

#include <set>

namespace devtest {
namespace {

// The simulated bus with one interface whose opening fails on the calls a test names, as
// an interface still settling does.
class FlickerBus : public platform::win::HidBus {
public:
    FlickerBus(std::shared_ptr<simulator::SimBus> inner, std::string path)
        : inner_(std::move(inner)), path_(std::move(path)) {}
    std::vector<platform::win::InterfaceInfo> Enumerate() override { return inner_->Enumerate(); }
    std::unique_ptr<platform::win::HidConnection> Open(const std::string& path,
                                                       platform::win::OpenAccess access,
                                                       platform::win::HidError& error) override {
        if (path == path_ && failing.count(calls_++)) {
            error = platform::win::HidError::FileNotFound;
            return nullptr;
        }
        return inner_->Open(path, access, error);
    }
    std::set<int> failing; // indexes of the opens of the interface that fail

private:
    std::shared_ptr<simulator::SimBus> inner_;
    std::string path_;
    int calls_ = 0;
};

class DeviceCountTest : public FormDeviceTest {
protected:
    // Each pass of a tick counts twice; open call 2p is the first count of pass p.
    void TickWithFailingOpens(std::set<int> failing) {
        auto keyboard = AddKeyboard();
        auto flicker = std::make_shared<FlickerBus>(bus, keyboard->Path());
        flicker->failing = std::move(failing);
        platform::win::SetBus(flicker);
        Tick();
        platform::win::SetBus(bus);
    }
};

TEST_F(DeviceCountTest, CountsThatDisagreeInEveryPassAreIgnored) {
    TickWithFailingOpens({0, 3, 4, 7, 8});
    EXPECT_EQ(window::device::LastDeviceCount, 0);
    EXPECT_TRUE(modal->texts.empty());
}

TEST_F(DeviceCountTest, OneAgreeingPassIsNotEnough) {
    TickWithFailingOpens({0, 2, 4, 6});
    EXPECT_EQ(window::device::LastDeviceCount, 0);
    EXPECT_TRUE(modal->texts.empty());
}

TEST_F(DeviceCountTest, TwoAgreeingPassesAreActedOn) {
    TickWithFailingOpens({0, 2, 4});
    EXPECT_EQ(window::device::LastDeviceCount, 1);
    ASSERT_EQ(modal->texts.size(), 1u); // the keyboard is no mouse: reported lost
}

TEST_F(DeviceCountTest, TheCountActedOnIsTheFirstReadingOfTheLastPass) {
    // Passes 1 and 2 agree on one interface; the last pass reads 0 first, which equals
    // the count of the last tick: nothing to do.
    TickWithFailingOpens({8});
    EXPECT_EQ(window::device::LastDeviceCount, 0);
    EXPECT_TRUE(modal->texts.empty());
}

} // namespace
} // namespace devtest
