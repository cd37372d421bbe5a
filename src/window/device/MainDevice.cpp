// The device handling of the main window: the device timer that notices HID interfaces
// arriving and leaving, opening the mouse by the id table, the information and identity
// checks, the loss of the device, and the whole-image read that fills the form.
#include "window/device/MainDevice.h"

#include "device/Macros.h"
#include "device/Subroutines.h"
#include "platform/core/Time.h"
#include "window/Main.h"
#include "window/device/DeviceTexts.h"
#include "window/device/ProfileWrites.h"
#include "window/device/ReFindProbe.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Dialogs.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace window::device {

uint8_t DevicePollGuard = 0;
int32_t LastDeviceCount = 0;
uint8_t PingAnswered = 0;
uint8_t ReFindDue = 0;
int ExpectedManufacturerId = 0;
int ExpectedProductId = 0;
std::vector<::device::InterfaceKey> LastMouseInterfaces;
std::set<::device::InterfaceKey> RefusedInterfaces;

std::vector<::device::InterfaceKey> MouseInterfaces() {
    std::vector<::device::InterfaceKey> keys;
    for (const ::device::DeviceIdEntry& entry : ::device::DeviceIdTable) {
        if (entry.vendorId == 0 || entry.productId == 0) continue;
        for (::device::InterfaceKey& key :
             ::device::MatchingInterfaces(entry.vendorId, entry.productId))
            keys.push_back(std::move(key));
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

bool PingDevice() {
    ::device::ExchangeGuard exchange;
    if (!exchange.ok()) return false;
    const uint8_t info[8] = {0x40, 0x0D, 0, 0, 0, 0, 0, 0};
    std::memcpy(::device::ReportBuffer, info, sizeof info);
    if (::device::SetFeatureReport(::device::CommandHandle, ::device::ReportBuffer)) {
        ::device::ReadData7();
        PingAnswered = 1;
    } else {
        PingAnswered = 0;
    }
    return true;
}

} // namespace window::device

namespace window {
namespace {

constexpr char CR = '\r';

// Clears the poll guard however the tick ends, so that one failing tick does not stop
// every later one.
struct PollGuardScope {
    ~PollGuardScope() { device::DevicePollGuard = 0; }
};

void HandleWaitingMessages() {
    platform::vcl::Application()->ProcessMessages();
}

// The system's own message box: no icon, an empty caption and OK.
void SystemMessageBox(const std::string& text) {
    std::unique_ptr<platform::vcl::TMessageDialog> box =
        platform::vcl::CreateMessageDialog(text, platform::vcl::mtCustom, platform::vcl::mbOK);
    box->SetCaption("");
    box->ShowModal();
}

} // namespace

void TForm1::DevTimerTimer(platform::vcl::TObject*) {
    if (device::DevicePollGuard) return;
    // A tick that falls inside a job (its busy window handling messages) leaves the bus to
    // the job: the open the tick might make would be refused inside the job's exchange, and
    // the mouse being written taken for lost. What came or went is seen by the next tick.
    if (::device::InTransferJob()) return;
    device::DevicePollGuard = 1;
    PollGuardScope guard;
    // What the tick asks of the mouse (the presence ping, an arrival's reads) is one job.
    ::device::TransferJob job;

    // Interfaces still settling give differing counts; only a count that holds in at
    // least two of five double readings is acted on.
    int agreeing = 0;
    int32_t count = 0;
    for (int pass = 0; pass < 5; ++pass) {
        const int32_t a = ::device::CountHidDevices();
        const int32_t b = ::device::CountHidDevices();
        if (a == b) ++agreeing;
        count = a;
    }
    if (agreeing < 2) return;

    // A setting or a block that the open mouse did not take, however often it was sent.
    if (::device::TakeTransferFailure()) {
        DeviceStoppedAnswering();
        return;
    }
    // An interface of the mouse that was not there at the last look arrived, though the
    // count may be as it was: a mouse unplugged and plugged back between two ticks.
    std::vector<::device::InterfaceKey> interfaces = device::MouseInterfaces();
    const std::vector<::device::InterfaceKey> seenBefore = device::LastMouseInterfaces;
    const auto isNew = [&](const ::device::InterfaceKey& key) {
        return !std::binary_search(seenBefore.begin(), seenBefore.end(), key);
    };
    const bool mouseArrived = std::any_of(interfaces.begin(), interfaces.end(), isNew);
    // And one that was there is gone, though another device may have taken its place in
    // the count.
    const bool mouseLeft = std::any_of(seenBefore.begin(), seenBefore.end(), [&](const auto& key) {
        return !std::binary_search(interfaces.begin(), interfaces.end(), key);
    });
    // A refused mouse that left is forgotten; plugged in again it is another interface.
    std::erase_if(device::RefusedInterfaces, [&](const ::device::InterfaceKey& key) {
        return !std::binary_search(interfaces.begin(), interfaces.end(), key);
    });

    if (!mouseArrived && (count < device::LastDeviceCount || mouseLeft)) {
        device::LastMouseInterfaces = std::move(interfaces);
        // Something left. With the loss reported already there is nothing to probe.
        if (device::ReFindDue && !device::DeviceHandlesOpen()) {
            device::LastDeviceCount = count;
            return;
        }
        // The count stays as it was while the mouse answers, so the next tick probes
        // again.
        if (!device::PingDevice() || device::PingAnswered) return;
        DeviceLost();
        ::device::DeviceVendorId = 0;
        ::device::DeviceProductId = 0;
        ::device::ReleaseDeviceHandles();
        device::LastDeviceCount = count;
        return;
    }
    if (!mouseArrived && (count == device::LastDeviceCount || device::ReFindDue)) {
        device::LastDeviceCount = count;
        device::LastMouseInterfaces = std::move(interfaces);
        // A mouse that stopped answering while it stayed on the bus is looked for again,
        // by a probe on a thread of its own: the window is held neither by its time-outs
        // nor by another device arriving beside it. Once an interface passed a probe it is
        // opened and read here. The probe keeps to the interfaces seen now: one that
        // arrives later is opened by the window as any arriving mouse, never by both.
        if (device::ReFindDue) {
            const ::device::InterfaceKey proven = device::ReFindProbeOf(*this).Tick(
                [refused = device::RefusedInterfaces,
                 seen = device::LastMouseInterfaces](const ::device::InterfaceKey& key) {
                    return refused.count(key) == 0 &&
                           std::binary_search(seen.begin(), seen.end(), key);
                });
            if (!proven.empty())
                ReFindDev(false, [&](const ::device::InterfaceKey& key) { return key == proven; });
        }
        return;
    }

    // Something arrived: give the system time to let the new interface be opened.
    for (int i = 0; i < 21; ++i) {
        platform::core::Sleep(100);
        HandleWaitingMessages();
    }
    device::LastDeviceCount = count;
    // A refused mouse is not asked again. While the mouse that stopped answering is looked
    // for, only an interface that arrived since is opened here: the silent one is the
    // probe's. A loss reported already is not reported again when no mouse answers.
    const bool lookingFor = device::ReFindDue;
    OpenDeviceByTable(!lookingFor, [&](const ::device::InterfaceKey& key) {
        return device::RefusedInterfaces.count(key) == 0 && (!lookingFor || isNew(key));
    });
}

bool TForm1::OpenDeviceByTable(bool reportLoss,
                               const std::function<bool(const ::device::InterfaceKey&)>& accept) {
    // The interfaces the window has looked at: the next tick sees none of them arrive.
    std::vector<::device::InterfaceKey> interfaces = device::MouseInterfaces();
    // What the open takes last holds the device handles.
    ::device::InterfaceKey opened;
    const auto take = [&](const ::device::InterfaceKey& key) {
        if (accept && !accept(key)) return false;
        opened = key;
        return true;
    };
    for (const ::device::DeviceIdEntry& entry : ::device::DeviceIdTable) {
        if (entry.vendorId == 0 || entry.productId == 0) continue;
        if (!::device::OpenDevice(entry.vendorId, entry.productId, take)) continue;
        ::device::DeviceVendorId = entry.vendorId;
        ::device::DeviceProductId = entry.productId;
        device::LastMouseInterfaces = std::move(interfaces);
        return ReadDevInfo(opened);
    }
    device::LastMouseInterfaces = std::move(interfaces);
    if (reportLoss) DeviceLost();
    return false;
}

bool TForm1::ReFindDev(bool reportLoss,
                       const std::function<bool(const ::device::InterfaceKey&)>& accept) {
    ::device::DeviceVendorId = 0;
    ::device::DeviceProductId = 0;
    ::device::ReleaseDeviceHandles();
    return OpenDeviceByTable(reportLoss, accept);
}

void TForm1::DeviceLost() {
    EnterLossState();
    // The tick that noticed the loss waits here, its guard still set, so that ticks
    // arriving while the message is open return at once.
    RefreshFormMessagDialog(platform::rtl::Utf8ToUtf16(device::DeviceText("Str100") + CR + CR +
                                                       device::DeviceText("Str101")));
}

// The mouse is on the bus (or was until a moment ago) but its transfers failed however
// often they were made. Nothing it gave is shown and nothing more is sent to it: the
// window shows the loss, reported once however often it happens until a read completes,
// and every tick looks for the mouse again. A `told` text is shown in place of the loss,
// always.
void TForm1::DeviceStoppedAnswering(const std::string& told) {
    const bool reported = device::ReFindDue && told.empty();
    ::device::ReleaseDeviceHandles();
    device::LastDeviceCount = ::device::CountHidDevices();
    device::LastMouseInterfaces = device::MouseInterfaces();
    device::ReFindDue = 1;
    if (reported) {
        EnterLossState();
        return;
    }
    // No tick looks for the mouse while the message is open.
    const uint8_t guard = std::exchange(device::DevicePollGuard, uint8_t{1});
    if (told.empty()) {
        DeviceLost();
    } else {
        EnterLossState();
        RefreshFormMessagDialog(platform::rtl::Utf8ToUtf16(told));
    }
    device::DevicePollGuard = guard;
}

void TForm1::EnterLossState() {
    HideAllMenu();
    shell::NoDevicePageFlag = 0;
    LabelRun->SetEnabled(false);
    HandleWaitingMessages();
    RefreshErrorAP();
    LB_MacroName->Items().Clear();
    LB_Name->Items().Clear();
    LB_macro->Items().Clear();
    LedType.clear();
    DetectedInterface.clear();
    ReportRateHz = 0;
    ReportRateChanged = 0;
    ShowDisableOverlays();
}

bool TForm1::IdentityServed(int manufacturer, int product) const {
    return (manufacturer == device::ExpectedManufacturerId &&
            product == device::ExpectedProductId) ||
           (manufacturer == ReserveManufacturerId && product == ReserveProductId);
}

bool TForm1::ReadDevInfo(const ::device::InterfaceKey& opened) {
    // Made again after a glitch, as the handshake.
    uint8_t reply[7] = {};
    const bool answered = ::device::AskInformation(reply);
    // The mouse opened but does not answer: it is looked for again until it does.
    if (!answered) {
        DeviceStoppedAnswering();
        return false;
    }
    // Served: a mouse with an I2C memory answers below 40, ':' and C0.
    if (!(reply[0] < 0x40 && reply[1] == 0x3A && reply[2] == 0xC0)) return false;
    DetectedInterface = "I2C";

    if (::device::MemoryType == "Flash") {
        RefreshFormMessagDialog(platform::rtl::Utf8ToUtf16(device::DeviceText("Str102")));
        RefreshErrorAP();
        return false;
    }

    // An identity that could not be read whole says nothing about the mouse, so it is not
    // judged: the mouse is looked for again.
    if (!::device::ReadEepromBlockWhole(::device::image::Identity.Offset,
                                        ::device::image::Identity.Length,
                                        ::device::IdentityStaging.data())) {
        DeviceStoppedAnswering();
        return false;
    }
    const int manufacturer = ::device::IdentityStaging[::device::image::IdentityManufacturer];
    const int product = ::device::IdentityStaging[::device::image::IdentityProduct];
    edt_VendorID_Rd->SetText(platform::rtl::IntToStr(manufacturer));
    edt_ProductID_Rd->SetText(platform::rtl::IntToStr(product));

    if (IdentityServed(manufacturer, product)) return Btn_Read();
    // Refused: the mouse is not this program's, and is not asked again while it stays
    // plugged in, so the user is told once. The window is left without a mouse.
    device::RefusedInterfaces.insert(opened);
    ::device::ReleaseDeviceHandles();
    if (!shell::NoDevicePageFlag) EnterLossState();
    // No tick may look at the bus until the user has read why. The box has OK alone, so
    // however it is closed it answers OK.
    DevTimer->SetEnabled(false);
    SystemMessageBox(device::DeviceText("Str107"));
    DevTimer->SetEnabled(true);
    return false;
}

bool TForm1::Btn_Read() {
    ::device::TransferJob job;
    shell::UiLoadingFlag = 1;
    DevTimer->SetEnabled(false);
    ShowDisableOverlays();
    // The form is given back however the fill ends: a step that raises must not leave the
    // timer off and the handlers muted for the rest of the run.
    auto giveFormBack = [this] {
        device::HideBusyWindow();
        DevTimer->SetEnabled(true);
        HideDisableOverlays();
        shell::UiLoadingFlag = 0;
    };
    try {
        device::ShowBusyWindow();
        RefreshPCMacroName();
        if (DetectedInterface == "I2C") {
            // An image that did not come whole is not the mouse's: nothing of it is shown,
            // nor written back later by a change made on a page.
            if (!::device::ReadEepromBlockWholeWithWait(0, ::device::image::ImageSize,
                                                        ::device::LiveImage.data())) {
                giveFormBack();
                DeviceStoppedAnswering();
                return false;
            }
            SplitLiveImage(true);
        }
        DataBufToUI();
        RefreshMouseSystemParameterA(nullptr);
        RefreshMouseSystemParameterB(nullptr);
        ShowCurrentProfilePage();
    } catch (...) {
        giveFormBack();
        throw;
    }
    giveFormBack();
    device::ReFindDue = 0;
    device::ReFindSucceeded(*this);
    return true;
}

void TForm1::DataBufToUI() {
    const ::device::TProfileSection* profiles[3] = {&Profile1Copy, &Profile2Copy, &Profile3Copy};
    for (int p = 0; p < 3; ++p)
        for (int k = 0; k < ::device::image::ProfileKeyCount; ++k)
            KeyCodeStrings[p][k] = ::device::ButtonFunctionText(
                profiles[p]->data() + ::device::image::ButtonFunctionSize * k);
    for (int n = 0; n < ::device::image::ComboRecordCount; ++n)
        ComboCodeStrings[n] = ::device::ButtonFunctionText(
            VendorCopy.data() + ::device::image::VendorComboRecords.Offset +
            ::device::image::ButtonFunctionSize * n);
    RefreshUI();
}

void TForm1::ShowCurrentProfilePage() {
    gbPage1->SetVisible(true);
    shell::NoDevicePageFlag = 0;
    // Called while the read still holds UiLoadingFlag, the profile entry writes nothing.
    if (rb_1->Checked())
        Btn_Main_0Click(nullptr);
    else if (rb_2->Checked())
        Btn_Switch_0Click(nullptr);
    else if (rb_3->Checked())
        Btn_Fixed_0Click(nullptr);
    HandleWaitingMessages();
}

} // namespace window
