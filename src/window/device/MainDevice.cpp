// The device handling of the main window: the device timer that notices HID interfaces
// arriving and leaving, opening the mouse by the id table, the information and identity
// checks, the loss of the device, and the whole-image read that fills the form.
#include "window/device/MainDevice.h"

#include "window/device/DeviceTexts.h"
#include "device/Macros.h"
#include "device/Subroutines.h"
#include "platform/core/Time.h"
#include "window/Main.h"

#include "platform/vcl/Dialogs.h"
#include "platform/rtl/SysUtils.h"

#include <cstring>

namespace device {

uint8_t DevicePollGuard = 0;
int32_t LastDeviceCount = 0;
uint8_t PingAnswered = 0;
int ExpectedManufacturerId = 0;
int ExpectedProductId = 0;

bool PingDevice() {
    ExchangeGuard exchange;
    if (!exchange.ok()) return false;
    const uint8_t info[8] = {0x40, 0x0D, 0, 0, 0, 0, 0, 0};
    std::memcpy(ReportBuffer, info, sizeof info);
    if (SetFeatureReport(CommandHandle, ReportBuffer)) {
        ReadData7();
        PingAnswered = 1;
    } else {
        PingAnswered = 0;
    }
    return true;
}

} // namespace device

namespace shell {
namespace {

constexpr char CR = '\r';

// Clears the poll guard however the tick ends, so that one failing tick does not stop
// every later one.
struct PollGuardScope {
    ~PollGuardScope() { device::DevicePollGuard = 0; }
};

void HandleWaitingMessages() {
    vcl::Application()->ProcessMessages();
}

void BusyStep() {
    if (device::BusyWindow* busy = device::GetBusyWindow())
        busy->Step();
    else
        HandleWaitingMessages();
}

void BusyHide() {
    if (device::BusyWindow* busy = device::GetBusyWindow())
        busy->Hide();
    else
        HandleWaitingMessages();
}

// The system's own message box: no icon, an empty caption and OK.
void SystemMessageBox(const std::string& text) {
    std::unique_ptr<vcl::TMessageDialog> box =
        vcl::CreateMessageDialog(text, vcl::mtCustom, vcl::mbOK);
    box->SetCaption("");
    box->ShowModal();
}

} // namespace

void TForm1::DevTimerTimer(vcl::TObject*) {
    if (device::DevicePollGuard) return;
    device::DevicePollGuard = 1;
    PollGuardScope guard;

    // Interfaces still settling give differing counts; only a count that holds in at
    // least two of five double readings is acted on.
    int agreeing = 0;
    int32_t count = 0;
    for (int pass = 0; pass < 5; ++pass) {
        const int32_t a = device::CountHidDevices();
        const int32_t b = device::CountHidDevices();
        if (a == b) ++agreeing;
        count = a;
    }
    if (count == device::LastDeviceCount || agreeing < 2) return;

    if (count < device::LastDeviceCount) {
        // Something left. The count stays as it was while the mouse answers, so the
        // next tick probes again.
        if (!device::PingDevice() || device::PingAnswered) return;
        DeviceLost();
        device::DeviceVendorId = 0;
        device::DeviceProductId = 0;
        device::ReleaseDeviceHandles();
        device::LastDeviceCount = count;
        return;
    }

    // Something arrived: give the system time to let the new interface be opened.
    for (int i = 0; i < 21; ++i) {
        platform::Sleep(100);
        HandleWaitingMessages();
    }
    OpenDeviceByTable();
    device::LastDeviceCount = count;
}

void TForm1::OpenDeviceByTable() {
    for (const device::DeviceIdEntry& entry : device::DeviceIdTable) {
        if (entry.vendorId == 0 || entry.productId == 0) continue;
        if (!device::OpenDevice(entry.vendorId, entry.productId)) continue;
        device::DeviceVendorId = entry.vendorId;
        device::DeviceProductId = entry.productId;
        ReadDevInfo();
        return;
    }
    DeviceLost();
}

void TForm1::ReFindDev() {
    device::DeviceVendorId = 0;
    device::DeviceProductId = 0;
    device::ReleaseDeviceHandles();
    OpenDeviceByTable();
}

void TForm1::DeviceLost() {
    HideAllMenu();
    NoDevicePageFlag = 0;
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
    // The tick that noticed the loss waits here, its guard still set, so that ticks
    // arriving while the message is open return at once.
    RefreshFormMessagDialog(
        vcl::Utf8ToUtf16(device::DeviceText("Str100") + CR + CR + device::DeviceText("Str101")));
}

bool TForm1::IdentityServed(int manufacturer, int product) const {
    return (manufacturer == device::ExpectedManufacturerId &&
            product == device::ExpectedProductId) ||
           (manufacturer == ReserveManufacturerId && product == ReserveProductId);
}

void TForm1::ReadDevInfo() {
    std::array<uint8_t, 7> reply{};
    {
        device::ExchangeGuard exchange;
        if (!exchange.ok()) return;
        if (!device::SendCommand(0x0D, 0, 0, 0, 0)) return;
        device::ReadData7();
        std::memcpy(reply.data(), device::ReplyBuffer, reply.size());
    }
    // Served: a mouse with an I2C memory answers below 40, ':' and C0.
    if (!(reply[0] < 0x40 && reply[1] == 0x3A && reply[2] == 0xC0)) return;
    DetectedInterface = "I2C";

    if (device::MemoryType == "Flash") {
        RefreshFormMessagDialog(vcl::Utf8ToUtf16(device::DeviceText("Str102")));
        RefreshErrorAP();
        return;
    }

    // An identity that could not be read whole says nothing about the mouse, so it is not
    // judged; a mouse that has gone is noticed by the next tick.
    if (!device::ReadEepromBlockWhole(device::image::Identity.Offset,
                                      device::image::Identity.Length,
                                      device::IdentityStaging.data()))
        return;
    const int manufacturer = device::IdentityStaging[device::image::IdentityManufacturer];
    const int product = device::IdentityStaging[device::image::IdentityProduct];
    edt_VendorID_Rd->SetText(vcl::IntToStr(manufacturer));
    edt_ProductID_Rd->SetText(vcl::IntToStr(product));

    if (IdentityServed(manufacturer, product)) {
        Btn_Read();
        return;
    }
    // Refused: no tick may look for the mouse again until the user has read why. The
    // box has OK alone, so however it is closed it answers OK.
    DevTimer->SetEnabled(false);
    SystemMessageBox(device::DeviceText("Str107"));
    DevTimer->SetEnabled(true);
}

void TForm1::Btn_Read() {
    UiLoadingFlag = 1;
    DevTimer->SetEnabled(false);
    ShowDisableOverlays();
    // The form is given back however the fill ends: a step that raises must not leave the
    // timer off and the handlers muted for the rest of the run.
    auto giveFormBack = [this] {
        BusyHide();
        DevTimer->SetEnabled(true);
        HideDisableOverlays();
        UiLoadingFlag = 0;
    };
    try {
        BusyStep();
        RefreshPCMacroName();
        if (DetectedInterface == "I2C") {
            device::ReadEepromBlockWholeWithWait(0, device::image::ImageSize,
                                                 device::LiveImage.data());
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
}

void TForm1::DataBufToUI() {
    const device::TProfileSection* profiles[3] = {&Profile1Copy, &Profile2Copy, &Profile3Copy};
    for (int p = 0; p < 3; ++p)
        for (int k = 0; k < device::image::ProfileKeyCount; ++k)
            KeyCodeStrings[p][k] = device::ButtonFunctionText(
                profiles[p]->data() + device::image::ButtonFunctionSize * k);
    for (int n = 0; n < device::image::ComboRecordCount; ++n)
        ComboCodeStrings[n] = device::ButtonFunctionText(VendorCopy.data() +
                                                         device::image::VendorComboRecords.Offset +
                                                         device::image::ButtonFunctionSize * n);
    RefreshUI();
}

void TForm1::ShowCurrentProfilePage() {
    gbPage1->SetVisible(true);
    NoDevicePageFlag = 0;
    // Called while the read still holds UiLoadingFlag, the profile entry writes nothing.
    if (rb_1->Checked())
        Btn_Main_0Click(nullptr);
    else if (rb_2->Checked())
        Btn_Switch_0Click(nullptr);
    else if (rb_3->Checked())
        Btn_Fixed_0Click(nullptr);
    HandleWaitingMessages();
}

} // namespace shell
