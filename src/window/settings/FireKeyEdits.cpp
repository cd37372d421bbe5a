// The fire keys of the performance page: shots per press and the delay between shots,
// typed as decimal numbers and kept within what the identity block can hold.
#include "device/Macros.h"
#include "window/Main.h"
#include "window/device/ProfileWrites.h"
#include "window/settings/KeySearch.h"
#include "window/shell/LayoutApply.h"

#include "platform/rtl/SysUtils.h"

namespace window {
namespace {

constexpr int MaxShots = 15;
constexpr int MaxDelay = 4094;
constexpr char16_t Backspace = 8;

// A text that is not a number (pasted rather than typed) counts as empty.
int ValueOf(const std::string& text) {
    return text.empty() ? -1 : platform::rtl::StrToIntDef(text, -1);
}

} // namespace

void TForm1::Edt_FireKeyKeyPress(platform::vcl::TObject* /*Sender*/, char16_t& Key) {
    if (shell::UiLoadingFlag) return;
    if (!(Key >= u'0' && Key <= u'9') && Key != Backspace) Key = 0;
}

void TForm1::FireRepeatChanged(controls::skin::TSkinEdit& edit) {
    if (shell::UiLoadingFlag) return;
    // Setting the text runs this handler again, which then goes on with the fixed value.
    const int shots = ValueOf(edit.Text());
    if (shots < 0) return edit.SetText("2");
    if (shots > MaxShots) return edit.SetText(platform::rtl::IntToStr(MaxShots));
    SettingFireKey();
}

void TForm1::FireDelayChanged(controls::skin::TSkinEdit& edit) {
    if (shell::UiLoadingFlag) return;
    const int delay = ValueOf(edit.Text());
    if (delay < 1) return edit.SetText("1");
    if (delay > MaxDelay) return edit.SetText(platform::rtl::IntToStr(MaxDelay));
    SettingFireKey();
}

void TForm1::Edt_Repeat1Change(platform::vcl::TObject*) {
    FireRepeatChanged(*Edt_Repeat1);
}
void TForm1::Edt_Repeat2Change(platform::vcl::TObject*) {
    FireRepeatChanged(*Edt_Repeat2);
}
void TForm1::Edt_Repeat3Change(platform::vcl::TObject*) {
    FireRepeatChanged(*Edt_Repeat3);
}
void TForm1::Edt_DelayTime1Change(platform::vcl::TObject*) {
    FireDelayChanged(*Edt_DelayTime1);
}
void TForm1::Edt_DelayTime2Change(platform::vcl::TObject*) {
    FireDelayChanged(*Edt_DelayTime2);
}
void TForm1::Edt_DelayTime3Change(platform::vcl::TObject*) {
    FireDelayChanged(*Edt_DelayTime3);
}

void TForm1::Edt_RepeatExit(platform::vcl::TObject* Sender) {
    if (shell::UiLoadingFlag) return;
    // One shot is no fire key; leaving the edit with it makes it two.
    if (auto* edit = dynamic_cast<platform::vcl::TEdit*>(Sender); edit && edit->Text() == "1")
        edit->SetText("2");
}

void TForm1::SettingFireKey(platform::vcl::TObject* /*Sender*/) {
    // The keys are found by the names the fire keys give them before the change.
    RefreshKeyNameCache();
    for (int n = 1; n <= 3; ++n) {
        const int shots = std::clamp(
            ValueOf(Named<platform::vcl::TEdit>(shell::LayoutName("Edt_Repeat", n)).Text()), 1,
            MaxShots);
        const int delay = std::clamp(
            ValueOf(Named<platform::vcl::TEdit>(shell::LayoutName("Edt_DelayTime", n)).Text()), 1,
            MaxDelay);
        SetFireKey(n, shots, delay);
    }
    RewriteFireKeys();
    device::WriteProfilesAndIdentity(*this);
}

void TForm1::SetFireKey(int n, int shots, int interval) {
    const int b =
        ::device::image::IdentityFireKey1 + ::device::image::IdentityFireKeyStride * (n - 1);
    IdentityCopy[b] = static_cast<uint8_t>(shots - 1);
    IdentityCopy[b + 1] = static_cast<uint8_t>(interval >> 8);
    IdentityCopy[b + 2] = static_cast<uint8_t>(interval & 0xFF);
    FireKeyShots[n - 1] = shots;
    FireKeyInterval[n - 1] = interval;
}

void TForm1::RewriteFireKeys() {
    const settings::KeyFunctionNames names(*this);
    for (int i = 0; i < static_cast<int>(KeyNameCache.size()); ++i) {
        if (const int n = names.FireKeyOf(KeyNameCache[i]); n != 0) {
            const bool hold =
                Named<controls::skin::TSkinCheckBox>(shell::LayoutName("cb_Fire", n, "Continue"))
                    .Checked();
            const std::string code =
                "06" +
                ::device::FireKeyCountByte(platform::rtl::IntToStr(FireKeyShots[n - 1]), hold) +
                ::device::FireKeyInterval(platform::rtl::IntToStr(FireKeyInterval[n - 1]));
            SetProfileKeyCode(i / ::device::image::ProfileKeyCount,
                              i % ::device::image::ProfileKeyCount, code);
        }
    }
}

} // namespace window
