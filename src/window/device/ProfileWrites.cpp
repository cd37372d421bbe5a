// Whole stretches of the configuration image sent to the mouse: the block write of the
// three profile sections after a key record changed, and the restore of a built-in
// default image from the confirm labels of the user pages, with their hover pictures.
#include "window/device/ProfileWrites.h"

#include "device/DefaultSetting.h"
#include "device/Subroutines.h"
#include "window/Main.h"
#include "window/device/DeviceTexts.h"
#include "window/shell/SkinImages.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace window::device {
namespace {

// The three profile copies stamped and written in one block, the identity block after it
// when asked; only a mouse with an I2C memory has them. False when the mouse did not take
// them.
bool WriteBlocks(window::TForm1& form, bool withIdentity) {
    if (form.DetectedInterface != "I2C") return true;
    ::device::TProfileSection* copies[3] = {&form.Profile1Copy, &form.Profile2Copy,
                                            &form.Profile3Copy};
    auto staging = ::device::ProfileStaging.begin();
    for (::device::TProfileSection* copy : copies) {
        ::device::StampProfileChecksum(*copy);
        staging = std::copy(copy->begin(), copy->end(), staging);
    }
    // The identity block carries no checksum of its own.
    if (withIdentity) ::device::IdentityStaging = form.IdentityCopy;
    return ::device::WriteEepromBlockWhole(::device::image::Profiles.Offset,
                                           ::device::image::Profiles.Length,
                                           ::device::ProfileStaging.data()) &&
           (!withIdentity || ::device::WriteEepromBlockWhole(::device::image::Identity.Offset,
                                                             ::device::image::Identity.Length,
                                                             ::device::IdentityStaging.data()));
}

// The mouse takes the written profiles only when its current profile is set again: first
// to a value it cannot hold, then to the one it reports now. Without that value the
// profile is left alone: a guess would change the mouse's profile. A mouse that did not
// take a step is asked nothing more; the device timer reports it.
bool WriteProfileBlocks(window::TForm1& form, bool withIdentity) {
    ::device::TransferJob job;
    const auto profileByte = static_cast<uint8_t>(::device::image::User.Offset);
    const bool done = WriteBlocks(form, withIdentity) && form.RefreshProfileParameter() &&
                      ::device::WriteConfigBytes(profileByte, 0x0F, 0, 0, 1) &&
                      ::device::WriteConfigBytes(profileByte, form.UserCopy[0], 0, 0, 1);
    // The block write left the busy window up; a job cut short never reaches the hide.
    if (!done) HideBusyWindow();
    return done;
}

} // namespace

bool WriteProfileSections(window::TForm1& form) {
    return WriteProfileBlocks(form, false);
}

bool WriteProfilesAndIdentity(window::TForm1& form) {
    return WriteProfileBlocks(form, true);
}

bool WriteVendorSetting(window::TForm1& form, uint16_t at, uint8_t value) {
    form.VendorCopy[at] = value;
    ::device::StampVendorChecksum(form.VendorCopy);
    return ::device::WriteConfigBytes(static_cast<uint8_t>(at), value, 0, 0, 1);
}

bool DeviceHandlesOpen() {
    const platform::win::HANDLE closed = platform::win::INVALID_HANDLE_VALUE;
    return ::device::CommandHandle != closed && ::device::DataHandle != closed;
}

bool MouseServed(window::TForm1& form) {
    if (DeviceHandlesOpen() && form.DetectedInterface == "I2C") return true;
    form.RefreshFormMessagDialog(platform::rtl::Utf8ToUtf16(DeviceText("Str022")));
    return false;
}

void ShowBusyWindow() {
    if (::device::BusyWindow* busy = ::device::GetBusyWindow())
        busy->Step();
    else
        platform::vcl::Application()->ProcessMessages();
}

void HideBusyWindow() {
    if (::device::BusyWindow* busy = ::device::GetBusyWindow())
        busy->Hide();
    else
        platform::vcl::Application()->ProcessMessages();
}

} // namespace window::device

namespace window {
namespace {

// "Btn_Confirm2_4" -> "Confirm2": the name without "Btn_" and without the page suffix.
std::string LabelFamilyBase(const std::string& name) {
    return name.size() > 6 ? name.substr(4, name.size() - 6) : std::string();
}

// The picture of one label family, shown on all five page copies at once.
void ShowFamilyPicture(TForm1& form, const std::string& base, const char* picture) {
    platform::vcl::TPngImage decoder;
    for (int i = 1; i <= 5; ++i)
        shell::LoadSkinPng(
            form.Named<platform::vcl::TImage>("Img_" + base + "_" + platform::rtl::IntToStr(i)),
            picture, decoder);
}

void ConfirmClick(TForm1& form, int n, void (TForm1::*restore)(platform::vcl::TObject*)) {
    ShowFamilyPicture(form, "Confirm" + platform::rtl::IntToStr(n), "BtnS_03");
    // A mouse that is open but not served would not be read back after the reset, and
    // the window would stay covered with its timer off.
    if (device::MouseServed(form)) (form.*restore)(nullptr);
}

// Everything the mouse holds is replaced by the chosen default image; the reset at the
// end reads it back, which gives the form, the timer and the pages back to the user.
void RestoreDefaultImage(TForm1& form, const ::device::TDeviceImage& chosen) {
    // From the busy window's first step to the read after the reset, one job.
    ::device::TransferJob job;
    shell::UiLoadingFlag = 1;
    form.HideAllMenu();
    form.DevTimer->SetEnabled(false);
    form.ShowDisableOverlays();
    device::ShowBusyWindow();
    // Reads the images afresh, so `chosen` holds the built-in bytes from here on.
    ::device::LoadDefaultImages();
    if (form.DetectedInterface == "I2C") {
        ::device::LiveImage = chosen;
        form.ClearMacroEditor();
        form.SplitLiveImage(false);
    }
    device::ShowBusyWindow();
    form.DataBufToUI();
    form.WriteImageAndReFind();
}

} // namespace

void TForm1::Btn_Confirm1_0Click(platform::vcl::TObject* /*Sender*/) {
    ConfirmClick(*this, 1, &TForm1::DefaultParameterConfirm1);
}

void TForm1::Btn_Confirm2_0Click(platform::vcl::TObject* /*Sender*/) {
    ConfirmClick(*this, 2, &TForm1::DefaultParameterConfirm2);
}

void TForm1::Btn_Confirm3_0Click(platform::vcl::TObject* /*Sender*/) {
    ConfirmClick(*this, 3, &TForm1::DefaultParameterConfirm3);
}

void TForm1::DefaultParameterConfirm1(platform::vcl::TObject* /*Sender*/) {
    RestoreDefaultImage(*this, ::device::DefaultImage1);
}

void TForm1::DefaultParameterConfirm2(platform::vcl::TObject* /*Sender*/) {
    RestoreDefaultImage(*this, ::device::DefaultImage2);
}

void TForm1::DefaultParameterConfirm3(platform::vcl::TObject* /*Sender*/) {
    RestoreDefaultImage(*this, ::device::DefaultImage3);
}

void TForm1::ButtonTypeAMouseEnter(platform::vcl::TObject* Sender) {
    auto* label = dynamic_cast<controls::unicode::TWideLabel*>(Sender);
    if (!label) return;
    RollingLabelName = label->Name();
    RollingLabelCaption = controls::unicode::TWideLabel::GetCaption(label);
    RollingText = RollingLabelCaption;
    ShowFamilyPicture(*this, LabelFamilyBase(label->Name()), "BtnS_02");
}

void TForm1::ButtonTypeAMouseLeave(platform::vcl::TObject* Sender) {
    LabelRun->SetEnabled(false);
    auto* label = dynamic_cast<controls::unicode::TWideLabel*>(Sender);
    if (!label) return;
    ShowFamilyPicture(*this, LabelFamilyBase(label->Name()), "BtnS_01");
    if (auto* rolling =
            dynamic_cast<controls::unicode::TWideLabel*>(FindComponent(RollingLabelName)))
        controls::unicode::TWideLabel::SetCaption(rolling, RollingLabelCaption);
}

} // namespace window
