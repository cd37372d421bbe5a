// Moving between the pages of the main window: the eight menu entries repeated on the five
// page headers and on the engineering page's button row, the hidden radio buttons rb_1..rb_8
// that remember the current page, and the profile entries, which also make their profile the
// mouse's current one.
#include "device/DeviceImage.h"
#include "device/Subroutines.h"
#include "platform/rtl/SysUtils.h"
#include "window/Main.h"
#include "window/shell/SkinImages.h"

#include <cstdint>
#include <string>

namespace window {

namespace {

constexpr int HeaderCopies = 5; // one header on each of the pages 1 to 5

// Live configuration addresses the profile entries write, one byte each, in this order.
constexpr uint8_t ButtonLedFlashAddress =
    ::device::image::User.Offset + ::device::image::UserButtonLedFlash;
constexpr uint8_t ProfileAndColourAddress =
    ::device::image::User.Offset + ::device::image::UserProfileAndColour;
constexpr uint8_t GunBytesAddress = ::device::image::User.Offset + ::device::image::UserGunBytes;
// The last item of the profile colour list is the specified colour, colour F.
constexpr int SpecifiedColourItem = 10;

// The key-function menu as the normal profile pages show it, and as the engineering page
// (or the second profile with gun display) shows it with the extra combination switch.
constexpr int MainMenuHeight = 170;
constexpr int SpecialMenuHeight = 242;
constexpr int MainMenuTallHeight = 194;
constexpr int SpecialMenuTallHeight = 314;
constexpr int EngineerProfileMenuHeight = 98;

const char* const ProfileFamilies[] = {"Img_Main_", "Img_Switch_", "Img_Fixed_"};

// The entry shows pressed on all five headers.
void ShowEntryPressed(TForm1& form, const char* family, platform::vcl::TPngImage& decoder) {
    for (int i = 1; i <= HeaderCopies; ++i)
        shell::LoadSkinPng(form.Named<platform::vcl::TImage>(family + std::to_string(i)), "SetS_03",
                           decoder);
}

// "L1_Back2" and the like: the background of a page in the current language.
void ShowPageBackground(TForm1& form, platform::vcl::TImage& target, int page,
                        platform::vcl::TPngImage& decoder) {
    shell::LoadSkinPng(target,
                       "L" + std::to_string(form.LanguageNumber) + "_Back" + std::to_string(page),
                       decoder);
}

// While the macro editor inserts, its insert panel stands where the delay panel was.
void ShowMacroDelayOrInsert(TForm1& form) {
    const bool inserting = form.MacroInsertMode != 0;
    form.Gb_Delay->SetVisible(!inserting);
    form.Gb_Insert->SetVisible(inserting);
    form.Img_InsertBase->SetVisible(inserting);
}

// The tests every entry makes first. Without a mouse the user is told so; in the no-device
// state the entries are inert; a profile entry called while a whole configuration is being
// shown must not write the mouse.
bool PageEntryAllowed(TForm1& form, bool profileEntry) {
    const auto invalid = platform::win::INVALID_HANDLE_VALUE;
    if (::device::CommandHandle == invalid || ::device::DataHandle == invalid) {
        form.RefreshFormMessagDialog(platform::rtl::Utf8ToUtf16(form.LangTexts.Str022));
        return false;
    }
    if (shell::NoDevicePageFlag) return false;
    return !(profileEntry && shell::UiLoadingFlag);
}

// User byte 164: the profile in the low four bits and its colour in the high four. With gun
// display the second profile always carries colour F.
uint8_t ProfileByte(int profile, int colourItem, bool gunDisplay) {
    if (profile == 1 && gunDisplay) return 0xF1;
    const int colour = colourItem == SpecifiedColourItem ? 0xF : colourItem;
    return static_cast<uint8_t>(colour * 16 + profile);
}

// Makes the profile the mouse's current one, with the button-flash and gun bytes that go
// with it; returns the profile byte written. A write the mouse did not take however often
// it was sent ends the choice: the rest would meet the same silence, and the device timer
// reports the loss.
uint8_t WriteProfileChoice(TForm1& form, int profile) {
    const bool gun = profile == 1 && form.GunDisplayEnabled;
    const int flash = form.cb_BtnEFT->ItemIndex() + (gun ? 4 : 0);
    const uint8_t choice =
        ProfileByte(profile, form.cb_ProfileColor->ItemIndex(), form.GunDisplayEnabled);
    const uint8_t bytes[][2] = {
        {ButtonLedFlashAddress, static_cast<uint8_t>(flash)},
        {GunBytesAddress, static_cast<uint8_t>(profile == 1 ? 0x0F : 0x00)},
        {GunBytesAddress + 1, 0x00},
        {GunBytesAddress + 2, static_cast<uint8_t>(profile == 1 ? 0x20 : 0x00)},
        {ProfileAndColourAddress, choice}};
    ::device::TransferJob job;
    for (const auto& [address, value] : bytes)
        if (!::device::WriteConfigBytes(address, value, 0, 0, 1)) break;
    return choice;
}

void EnterProfilePage(TForm1& form, int profile) {
    if (!PageEntryAllowed(form, true)) return;
    form.DisableMainButtonControl(nullptr);
    form.HideAllMenu();
    form.ButtonTypeB_1IconInit(nullptr);
    (profile == 0 ? form.rb_1 : profile == 1 ? form.rb_2 : form.rb_3)->SetChecked(true);
    form.cb_Profile->SetItemIndex(profile);
    form.ArrangeProfileMenus(profile);
    const uint8_t choice = WriteProfileChoice(form, profile);
    form.ShowOnlyPage(form.gbPage1);
    form.SizeNormalPages();

    platform::vcl::TPngImage decoder;
    form.RefreshProfileKeys(profile + 1);
    // The copy keeps the byte the mouse now holds, colour included, so that a later write
    // of the user section from the copy does not undo the colour.
    form.UserCopy[0] = choice;
    // The AIM controls draw with this entry's decoder, as they do within the refresh.
    form.SharedPng = &decoder;
    try {
        form.RefreshAIMKey();
    } catch (...) {
        form.SharedPng = nullptr;
        throw;
    }
    form.SharedPng = nullptr;
    ShowEntryPressed(form, ProfileFamilies[profile], decoder);
    ShowPageBackground(form, *form.Img_P1, 1, decoder);
    form.EnableMainButtonControl(nullptr);
}

// The performance, lighting, macro and update entries. `background` is the page number of
// the page's background picture, 0 for none; `afterSizing` runs once the page is shown.
template <typename AfterSizing>
void EnterSettingsPage(TForm1& form, platform::vcl::TRadioButton* radio,
                       platform::vcl::TGroupBox* page, const char* family,
                       platform::vcl::TImage* backgroundImage, int background,
                       AfterSizing afterSizing) {
    if (!PageEntryAllowed(form, false)) return;
    form.DisableMainButtonControl(nullptr);
    form.HideAllMenu();
    form.ButtonTypeB_1IconInit(nullptr);
    radio->SetChecked(true);
    form.ShowOnlyPage(page);
    form.SizeNormalPages();
    afterSizing();

    platform::vcl::TPngImage decoder;
    ShowEntryPressed(form, family, decoder);
    if (backgroundImage) ShowPageBackground(form, *backgroundImage, background, decoder);
    form.EnableMainButtonControl(nullptr);
}

// A recoil offset byte as the signed decimal the engineering page shows.
std::string SignedByteText(uint8_t value) {
    return platform::rtl::IntToStr(static_cast<int8_t>(value));
}

} // namespace

void TForm1::ShowOnlyPage(platform::vcl::TGroupBox* page) {
    for (platform::vcl::TGroupBox* p :
         {gbPage1, gbPage2, gbPage3, gbPage4, gbPage5, gbPage6, gbPage7})
        p->SetVisible(p == page);
}

void TForm1::ArrangeProfileMenus(int profile) {
    auto& comboKey8Switch = Named<platform::vcl::TControl>("IB_ComboKey8");
    auto& comboKey8Mark = Named<platform::vcl::TControl>("Img_ComboKey8");
    if (profile == 1 && GunDisplayEnabled) {
        Pnl_Main->SetHeight(MainMenuTallHeight);
        Pnl_Special->SetHeight(SpecialMenuTallHeight);
        if (ComboKey8Enabled) {
            comboKey8Switch.SetVisible(true);
            comboKey8Mark.SetVisible(true);
        }
    } else {
        Pnl_Main->SetHeight(MainMenuHeight);
        Pnl_Special->SetHeight(SpecialMenuHeight);
        comboKey8Switch.SetVisible(false);
        comboKey8Mark.SetVisible(false);
    }
    // The profile-switch menu offers the other of the first two profiles; the third
    // profile leaves it as the last profile shown left it.
    if (profile > 1) return;
    auto& first = Named<platform::vcl::TControl>("Key_Profile1");
    auto& second = Named<platform::vcl::TControl>("Key_Profile2");
    first.SetVisible(profile == 1);
    second.SetTop(1);
    second.SetVisible(profile == 0);
}

void TForm1::ArrangeEngineerMenus() {
    Pnl_Main->SetHeight(MainMenuTallHeight);
    Pnl_Special->SetHeight(SpecialMenuTallHeight);
    Pnl_Profile->SetHeight(EngineerProfileMenuHeight);
    Named<platform::vcl::TControl>("Key_Profile1").SetVisible(true);
    auto& second = Named<platform::vcl::TControl>("Key_Profile2");
    second.SetTop(25);
    second.SetVisible(true);
}

void TForm1::Btn_Main_0Click(platform::vcl::TObject* /*Sender*/) {
    EnterProfilePage(*this, 0);
}

void TForm1::Btn_Switch_0Click(platform::vcl::TObject* /*Sender*/) {
    EnterProfilePage(*this, 1);
}

void TForm1::Btn_Fixed_0Click(platform::vcl::TObject* /*Sender*/) {
    EnterProfilePage(*this, 2);
}

void TForm1::Btn_Adv_0Click(platform::vcl::TObject* /*Sender*/) {
    EnterSettingsPage(*this, rb_4, gbPage2, "Img_Adv_", Img_P2, 2, [] {});
}

void TForm1::Btn_Breath_0Click(platform::vcl::TObject* /*Sender*/) {
    EnterSettingsPage(*this, rb_5, gbPage3, "Img_Breath_", Img_P3, 3, [] {});
}

void TForm1::Btn_Macro_0Click(platform::vcl::TObject* /*Sender*/) {
    EnterSettingsPage(*this, rb_6, gbPage4, "Img_Macro_", Img_P4, 4,
                      [this] { ShowMacroDelayOrInsert(*this); });
}

void TForm1::Btn_Update_0Click(platform::vcl::TObject* /*Sender*/) {
    // A firmware file chosen before must be chosen again.
    EnterSettingsPage(*this, rb_7, gbPage5, "Img_Update_", nullptr, 0, [this] {
        controls::unicode::TWideLabel::SetCaption(
            &Named<controls::unicode::TWideLabel>("lbl_LoadBIN"), u"");
        FirmwareFileLoaded = 0;
    });
}

void TForm1::Btn_Engineer_0Click(platform::vcl::TObject* /*Sender*/) {
    if (!PageEntryAllowed(*this, false)) return;
    // The page's change handlers stay quiet while it is filled. A step that raises leaves
    // the guard set, as it leaves the page half filled.
    FireHoldSyncGuard = 1;
    HideAllMenu();
    ButtonTypeB_1IconInit(nullptr);
    rb_8->SetChecked(true);

    ArrangeEngineerMenus();
    ShowOnlyPage(gbPage7);
    SizeEngineerPage();

    platform::vcl::TPngImage decoder;
    TLRefreshProfile1Keys(nullptr);
    TLRefreshProfile2Keys(nullptr);
    TLRefreshProfile3Keys(nullptr);
    // Recoil offsets: user bytes 7..16 on the X edits, 17..26 on the Y edits.
    for (int i = 1; i <= 10; ++i)
        Named<platform::vcl::TEdit>("edt_XOffset" + std::to_string(i))
            .SetText(SignedByteText(UserCopy[6 + i]));
    for (int i = 1; i <= 10; ++i)
        Named<platform::vcl::TEdit>("edt_YOffset" + std::to_string(i))
            .SetText(SignedByteText(UserCopy[16 + i]));
    ShowEntryPressed(*this, "Img_Engineer_", decoder);
    FireHoldSyncGuard = 0;
}

void TForm1::RefreshAPPage(platform::vcl::TObject* /*Sender*/) {
    if (shell::NoDevicePageFlag) {
        ShowOnlyPage(gbPage1);
        return;
    }
    if (rb_1->Checked() || rb_2->Checked() || rb_3->Checked()) ShowOnlyPage(gbPage1);
    if (rb_4->Checked()) ShowOnlyPage(gbPage2);
    if (rb_5->Checked()) ShowOnlyPage(gbPage3);
    if (rb_6->Checked()) {
        ShowOnlyPage(gbPage4);
        ShowMacroDelayOrInsert(*this);
    }
    if (rb_7->Checked()) ShowOnlyPage(gbPage5);
    // The engineering page stays as it is.
}

} // namespace window
