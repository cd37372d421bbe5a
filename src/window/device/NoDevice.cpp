// The no-device state of the main window, the overlays that cover the pages, and the
// reset of the mouse followed by the long wait and a fresh open.
#include "device/Subroutines.h"
#include "platform/core/Time.h"
#include "platform/win/Kernel.h"
#include "window/Main.h"
#include "window/device/MainDevice.h"
#include "window/device/ProfileWrites.h"
#include "window/shell/SkinImages.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/StdCtrls.h"

namespace window {
namespace {

// The language tables have no text for this case; the same words in every language.
constexpr const char* NotRestartedText =
    "The mouse did not restart. Its new settings take effect when it is plugged in again.";

// Sleeps in steps of 10 ms, handling waiting messages after each, so the window stays
// alive.
void WaitHandlingMessages(int steps) {
    for (int i = 0; i < steps; ++i) {
        platform::core::Sleep(10);
        platform::vcl::Application()->ProcessMessages();
    }
}

} // namespace

// The same five overlays the page buttons show and hide around their work. They cover
// the pages, not the window: minimise, close and Exit stay above them, so that a window
// without a mouse can always be put away.
void TForm1::ShowDisableOverlays() {
    DisableMainButtonControl(nullptr);
    for (int i = 1; i <= 5; ++i)
        for (const char* family : {"Btn_Mini_", "Btn_Exit1_", "Btn_Exit2_"})
            Named<platform::vcl::TControl>(family + platform::rtl::IntToStr(i)).BringToFront();
}

void TForm1::HideDisableOverlays() {
    EnableMainButtonControl(nullptr);
}

void TForm1::InitNoDevice() {
    shell::UiLoadingFlag = 1;
    ::device::LoadDefaultImages();
    if (::device::MemoryType == "I2C") {
        ::device::LiveImage = ::device::DefaultImage1;
        ClearMacroEditor();
        SplitLiveImage(false);
    }
    DataBufToUI();
    shell::UiLoadingFlag = 0;
}

void TForm1::RefreshErrorAP(platform::vcl::TObject*) {
    InitNoDevice();
    shell::NoDevicePageFlag = 1;
    rb_1->SetChecked(true);
    gbPage1->SetVisible(true);
    for (platform::vcl::TGroupBox* page : {gbPage2, gbPage3, gbPage4, gbPage5, gbPage6, gbPage7})
        page->SetVisible(false);
    RefreshProfile1Keys();

    // The first page's menu entry shows pressed on all five headers, every other normal.
    platform::vcl::TPngImage decoder;
    for (int i = 1; i <= 5; ++i)
        shell::LoadSkinPng(Named<platform::vcl::TImage>("Img_Main_" + platform::rtl::IntToStr(i)),
                           "SetS_03", decoder);
    for (int i = 1; i <= 5; ++i)
        for (const char* family : {"Img_Switch_", "Img_Fixed_", "Img_Adv_", "Img_Breath_",
                                   "Img_Macro_", "Img_Update_", "Img_Engineer_"})
            shell::LoadSkinPng(Named<platform::vcl::TImage>(family + platform::rtl::IntToStr(i)),
                               "SetS_01", decoder);
}

namespace {

// Sends the reset. A mouse that takes it restarts at once, and its answer may be lost as
// it leaves the bus: the send then fails as cut short by the device going, or the mouse
// is no longer listed. A mouse that is still there never got it, and is sent it again.
// False when the mouse never left.
bool SendReset() {
    const uint32_t vendorId = ::device::DeviceVendorId;
    const uint32_t productId = ::device::DeviceProductId;
    for (int attempt = 0; attempt < ::device::BlockAttempts; ++attempt) {
        if (::device::SendCommand(0x0E, 0, 0, 0, 0)) return true;
        if (platform::win::GetLastError() == platform::win::ERROR_DEVICE_NOT_CONNECTED ||
            !::device::DeviceListed(vendorId, productId))
            return true;
    }
    return false;
}

} // namespace

void TForm1::ResetDeviceAndReFind() {
    WaitHandlingMessages(101);
    if (!SendReset()) {
        // The mouse holds the new image but runs its former settings until it restarts,
        // and a mouse that missed every reset may miss anything else asked of it now.
        DeviceStoppedAnswering(NotRestartedText);
        GiveBackWithoutDevice();
        return;
    }
    // The mouse leaves the bus, restarts and enumerates again meanwhile.
    WaitHandlingMessages(601 + 1001);
    const int32_t interfaces = ::device::CountHidDevices();
    if (ReFindDev()) return; // the read gave the form and the timer back
    // The mouse did not come back (the loss is reported), stopped answering (reported, and
    // looked for again), or came back as one this program does not serve: an identity
    // refused, another answer to the information command. That last one gets the same
    // window as a loss, without the message: what the pages show was never the mouse's.
    if (device::DeviceHandlesOpen()) EnterLossState();
    // A loss already reported is not reported again: the count is the one the re-find saw.
    if (!device::DeviceHandlesOpen() && !device::ReFindDue) device::LastDeviceCount = interfaces;
    GiveBackWithoutDevice();
}

// A whole-image change sends the image, then resets the mouse and reads it back. A mouse
// that did not take the image is not reset: it does not answer, and is looked for again.
void TForm1::WriteImageAndReFind() {
    // The write, the reset and the read after it are one job.
    ::device::TransferJob job;
    if (DetectedInterface == "I2C" &&
        !::device::WriteEepromBlockWhole(0, ::device::image::ImageSize,
                                         ::device::LiveImage.data()) &&
        ::device::TakeTransferFailure()) {
        DeviceStoppedAnswering();
        GiveBackWithoutDevice();
        return;
    }
    ResetDeviceAndReFind();
}

// The end of a whole-image change or reset that found no mouse to read: the read that
// would have given the window back never ran, so the busy window goes, the handlers write
// again and the timer looks for the mouse. The window is in the no-device state.
void TForm1::GiveBackWithoutDevice() {
    device::HideBusyWindow();
    shell::UiLoadingFlag = 0;
    DevTimer->SetEnabled(true);
}

} // namespace window
