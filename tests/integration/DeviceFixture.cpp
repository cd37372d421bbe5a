#include "DeviceFixture.h"

#include "controls/unicode/WideCtrls.h"
#include "device/DefaultSetting.h"
#include "device/Subroutines.h"
#include "platform/core/Time.h"
#include "platform/win/HidBus.h"
#include "window/device/MainDevice.h"
#include "window/device/ReFindProbe.h"
#include "window/device/ThreadGetData.h"

#include "platform/vcl/StdCtrls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>

namespace devtest {

ModalAnswerer::ModalAnswerer() {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
        static bool inside = false;
        if (inside) return;
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (held_ < holdRounds) {
            ++held_;
            return;
        }
        held_ = 0;
        inside = true;
        texts.push_back(box->text().toStdString());
        captions.push_back(box->windowTitle().toStdString());
        if (whileOpen) whileOpen(texts.size() - 1);
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->close();
        inside = false;
    });
    poll_.start(1);
}

ModalAnswerer::~ModalAnswerer() = default;

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

void TestBusyWindow::Step() {
    ++steps;
    shown = true;
    if (onStep) onStep(steps);
    platform::vcl::Application()->ProcessMessages();
}

void TestBusyWindow::Hide() {
    ++hides;
    shown = false;
    platform::vcl::Application()->ProcessMessages();
}

void FormDeviceTest::SetUp() {
    platform::core::SetTimeScale(0.001);
    bus = std::make_shared<simulator::SimBus>();
    platform::win::SetBus(bus);
    device::SetBusyWindow(&busy);

    device::LoadDefaultImageHeader();
    device::DeriveMemoryType();
    const device::TImageHeader& h = device::DefaultImageHeader;
    device::DeviceIdTable[0] = {uint32_t{h[0]} * 256 + h[1], uint32_t{h[2]} * 256 + h[3]};
    device::DeviceIdTable[1] = {};
    window::device::ExpectedManufacturerId = h[device::image::Identity.Offset];
    window::device::ExpectedProductId = h[device::image::Identity.Offset + 1];
    window::device::DevicePollGuard = 0;
    window::device::LastDeviceCount = 0;
    window::device::PingAnswered = 0;

    modal = std::make_unique<ModalAnswerer>();
    // Built the way the program block builds it: the design, then the start-up handler
    // (sizes, skin, language, the no-device state). The polling thread it starts is
    // stopped again while no mouse is open: the tests that follow the mouse's own buttons
    // start it themselves, and the others see no reads but their own.
    form = std::make_unique<window::TForm1>(nullptr);
    ASSERT_TRUE(form->DoCreate());
    window::device::StopPrimeThread(form.get());
    // The test drives the ticks itself; the timer keeps its enabled state for the checks.
    form->DevTimer->SetInterval(100000000);
}

void FormDeviceTest::TearDown() {
    // The hint event points at the window; nothing may call it once the window is gone.
    platform::vcl::Application()->OnHint = nullptr;
    form.reset();
    device::ReleaseDeviceHandles();
    device::SetBusyWindow(nullptr);
    for (const simulator::Violation& v : bus->Violations())
        ADD_FAILURE() << simulator::Describe(v);
    modal.reset();
    platform::win::SetBus(nullptr);
    platform::core::SetTimeScale(1.0);
}

void FormDeviceTest::Click(const std::string& name) {
    auto& control = Control(name);
    ASSERT_TRUE(control.OnClick) << name;
    control.OnClick(&control);
}

void FormDeviceTest::Choose(const char* key, const char* arrow, const char* menuLabel,
                            const std::u16string& caption) {
    Click(key);
    Click(arrow);
    auto& label = Control<controls::unicode::TWideLabel>(menuLabel);
    controls::unicode::TWideLabel::SetCaption(&label, caption);
    Click(menuLabel);
}

std::vector<uint8_t> FormDeviceTest::DefaultImage(int n) {
    return device::OpenResourceBytes(device::DefaultImageResources[n - 1]);
}

std::vector<uint8_t> FormDeviceTest::WithIdentity(std::vector<uint8_t> image, uint8_t manufacturer,
                                                  uint8_t product) {
    image[device::image::Identity.Offset + device::image::IdentityManufacturer] = manufacturer;
    image[device::image::Identity.Offset + device::image::IdentityProduct] = product;
    return image;
}

std::shared_ptr<simulator::SimMouse> FormDeviceTest::AddMouse(std::vector<uint8_t> image) {
    simulator::SimMouseConfig config;
    config.vendorId = static_cast<uint16_t>(device::DeviceIdTable[0].vendorId);
    config.productId = static_cast<uint16_t>(device::DeviceIdTable[0].productId);
    config.image = image.empty() ? DefaultImage() : std::move(image);
    config.resetReturnMs = 200;
    return bus->AddMouse(config);
}

std::shared_ptr<simulator::SimKeyboard> FormDeviceTest::AddKeyboard() {
    return bus->AddKeyboard();
}

bool FormDeviceTest::TickUntil(const std::function<bool()>& done, uint32_t withinMs) {
    constexpr uint32_t kTickMs = 3500;
    for (uint32_t waited = 0;; waited += kTickMs) {
        Tick();
        if (done() || waited >= withinMs) return done();
        platform::core::Sleep(kTickMs);
    }
}

bool FormDeviceTest::ProbeIdle() const {
    return !window::device::ReFindProbeOf(*form).Running();
}

std::shared_ptr<simulator::SimMouse> FormDeviceTest::StartWithMouse() {
    auto mouse = AddMouse();
    Tick();
    return mouse;
}

bool FormDeviceTest::Present() const {
    const auto invalid = platform::win::INVALID_HANDLE_VALUE;
    return device::CommandHandle != invalid && device::DataHandle != invalid;
}

bool FormDeviceTest::Visible(const char* name) const {
    auto* control = dynamic_cast<platform::vcl::TControl*>(form->FindComponent(name));
    EXPECT_NE(control, nullptr) << name;
    return control && control->Visible();
}

bool FormDeviceTest::OverlaysVisible(bool visible) const {
    for (const char* name :
         {"Disable_All_1", "Disable_All_2", "Disable_All_3", "Disable_All_4", "Disable_All_5"})
        if (Visible(name) != visible) return false;
    return true;
}

std::string FormDeviceTest::TextOf(const char* name) const {
    auto* control = dynamic_cast<platform::vcl::TControl*>(form->FindComponent(name));
    EXPECT_NE(control, nullptr) << name;
    if (auto* edit = dynamic_cast<platform::vcl::TEdit*>(control)) return edit->Text();
    return control ? control->Caption() : std::string();
}

std::vector<std::string> FormDeviceTest::ItemsOf(const char* name) const {
    platform::vcl::TComponent* c = form->FindComponent(name);
    if (auto* list = dynamic_cast<platform::vcl::TListBox*>(c)) return list->Items().ToVector();
    if (auto* memo = dynamic_cast<platform::vcl::TMemo*>(c)) return memo->Lines().ToVector();
    ADD_FAILURE() << "no list " << name;
    return {};
}

std::vector<uint8_t> FormDeviceTest::CommandsSent() const {
    std::vector<uint8_t> commands;
    for (const simulator::TranscriptEntry& e : bus->Transcript())
        if (e.kind == simulator::TransferKind::SetFeature && e.bytes[0] == 0x40)
            commands.push_back(e.bytes[1]);
    return commands;
}

} // namespace devtest
