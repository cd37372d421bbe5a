// Recording on the macro page. While it runs, every key event the keyboard capture
// reports is listed in the macro editor's event list by the key's name and its state.
// The recording stays in that list: it is not turned into a macro body, so nothing of it
// reaches the mouse or the PC macro library.
#include "device/KeyboardFunction.h"
#include "window/Main.h"

#include "platform/rtl/SysUtils.h"

namespace window {
namespace {

const char* StateWord(device::TKeyboardHookState state) {
    switch (state) {
    case device::kh_On:
        return "Down";
    case device::kh_Off:
        return "Up";
    default:
        return "Repeat";
    }
}

} // namespace

void TForm1::Btn_StartClick(platform::vcl::TObject* /*Sender*/) {
    HideAllMenu();
    const bool start = MacroRecording == 0;
    MacroRecording = start ? 1 : 0;
    // A new recording starts with an empty list.
    if (start) LB_macro->Items().Clear();
    KeyboardHook1->SetEnabled(start);
    controls::unicode::TWideLabel::SetCaption(
        Btn_Start, platform::rtl::Utf8ToUtf16(start ? LangTexts.Str401 : LangTexts.Str400));
}

void TForm1::KeyboardHook1Receive(platform::vcl::TObject* /*Sender*/, uint16_t Key,
                                  device::TKeyboardHookState ButtonState,
                                  int32_t /*ButtonRepeatCount*/) {
    if (!MacroRecording) return;
    const std::string name = ::device::KeyCodeToName(::device::VirtualKeyToKeyCode(Key));
    LB_macro->WideItems().Add(platform::rtl::Utf8ToUtf16(name + " " + StateWord(ButtonState)));
}

} // namespace window
