#include "DeviceFixture.h"

#include "platform/win/Kernel.h"

namespace testing_support {

void DeviceTest::SetUp() {
    bus = std::make_shared<FakeBus>();
    platform::win::SetBus(bus);
    device::ReleaseDeviceHandles();
}

void DeviceTest::TearDown() {
    device::SetBusyWindow(nullptr);
    device::ReleaseDeviceHandles();
    platform::win::SetBus(nullptr);
    platform::win::testing::RestoreExports();
}

void DeviceTest::OpenMouse() {
    bus->Add("sim://mouse", kMouseVendor, kMouseProduct, 8);
    ASSERT_TRUE(device::OpenDevice(kMouseVendor, kMouseProduct));
    ASSERT_TRUE(IsValid(device::CommandHandle));
    ASSERT_TRUE(IsValid(device::DataHandle));
    bus->ClearTranscript();
}

std::vector<Bytes> DeviceTest::Sent() {
    std::vector<Bytes> out;
    for (const Transfer& t : bus->Transcript())
        if (t.kind == Transfer::Set) out.push_back(t.bytes);
    return out;
}

std::vector<Bytes> DeviceTest::All() {
    std::vector<Bytes> out;
    for (const Transfer& t : bus->Transcript())
        out.push_back(t.bytes);
    return out;
}

size_t DeviceTest::CountOf(Transfer::Kind kind) {
    size_t n = 0;
    for (const Transfer& t : bus->Transcript())
        n += t.kind == kind;
    return n;
}

} // namespace testing_support
