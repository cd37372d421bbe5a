#include "SimDeviceFixture.h"

#include "platform/win/Kernel.h"

namespace integration {

Bytes PatternImage(uint8_t seed) {
    Bytes image(simulator::SimMouse::kImageSize);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 13 + i / 256 * 5 + seed);
    return image;
}

simulator::SimMouseConfig MouseConfig(Bytes image) {
    simulator::SimMouseConfig config;
    config.vendorId = kVendor;
    config.productId = kProduct;
    config.image = std::move(image);
    return config;
}

Report R(std::initializer_list<uint8_t> bytes) {
    Report r{};
    std::copy(bytes.begin(), bytes.end(), r.begin());
    return r;
}

void RecordingBusyWindow::Step() {
    ++steps;
    if (onStep) onStep();
}

void SimDeviceTest::SetUp() {
    bus = std::make_shared<simulator::SimBus>();
    mouse = bus->AddMouse(MouseConfig());
    keyboard = bus->AddKeyboard();
    platform::win::SetBus(bus);
    device::ReleaseDeviceHandles();
    device::SetBusyWindow(&busyWindow);
}

void SimDeviceTest::TearDown() {
    ExpectNoViolations();
    device::SetBusyWindow(nullptr);
    device::ReleaseDeviceHandles();
    platform::win::SetBus(nullptr);
}

void SimDeviceTest::OpenMouse() {
    ASSERT_TRUE(device::OpenDevice(kVendor, kProduct));
    ASSERT_NE(device::CommandHandle, platform::win::INVALID_HANDLE_VALUE);
    ASSERT_NE(device::DataHandle, platform::win::INVALID_HANDLE_VALUE);
    bus->ClearTranscript();
}

namespace {
std::vector<Report> Reports(const simulator::SimBus& bus, uint32_t interfaceId, bool sent,
                            bool received) {
    std::vector<Report> out;
    for (const simulator::TranscriptEntry& e : bus.Transcript()) {
        if (e.interfaceId != interfaceId) continue;
        if ((e.kind == simulator::TransferKind::SetFeature && sent) ||
            (e.kind == simulator::TransferKind::GetFeature && received))
            out.push_back(e.bytes);
    }
    return out;
}
} // namespace

std::vector<Report> SimDeviceTest::Sent() const {
    return Reports(*bus, mouse->Id(), true, false);
}
std::vector<Report> SimDeviceTest::Received() const {
    return Reports(*bus, mouse->Id(), false, true);
}
std::vector<Report> SimDeviceTest::All() const {
    return Reports(*bus, mouse->Id(), true, true);
}

void SimDeviceTest::ExpectNoViolations() const {
    for (const simulator::Violation& v : bus->Violations())
        ADD_FAILURE() << "protocol violation: " << simulator::Describe(v);
}

} // namespace integration
