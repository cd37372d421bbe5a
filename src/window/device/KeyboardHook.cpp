#include "window/device/KeyboardHook.h"

#include "platform/vcl/FormDesign.h"
#include "platform/win/Kernel.h"
#include "platform/desktop/RawInput.h"

namespace device {

namespace win = platform::win;

std::vector<TPressedKey> PressedKeyList;
int32_t KeyRepeatCount = 0;

namespace {

TKeyboardHook* ActiveHook = nullptr;

// The raw input read last and what was handed to OnKeyCombination.
win::RAWINPUT LastRawInput{};
TKeyboardHookState LastState = kh_Off;
TKeyCombination KeyCombination;
TKeyboardHookShiftState ButtonShiftState;

bool IsGenericModifier(TKeyboardHookKey key) {
    return key == kh_Shift || key == kh_Control || key == kh_Alt;
}

// The system posts window messages to the program's message loop; there they go to the
// application's message hook, as every message of the loop does.
void DispatchToApplication(const win::MSG& msg) {
    vcl::TMsg appMsg{msg.hwnd, msg.message, msg.wParam, msg.lParam};
    vcl::GuardedCall([&appMsg] { vcl::Application()->DispatchAppMessage(appMsg); });
}

} // namespace

TKeyboardHook::TKeyboardHook(vcl::TComponent* owner) : vcl::TComponent(owner) {
    RegisterKeyboardRawInput();
    vcl::Application()->OnMessage = &TKeyboardHook::HookAppMessage;
    PressedKeyList.clear();
    KeyRepeatCount = 0;
    ActiveHook = this;
}

TKeyboardHook::~TKeyboardHook() {
    // The hook stays with the application; it must not reach a component that is gone.
    if (ActiveHook == this) {
        ActiveHook = nullptr;
        PressedKeyList.clear();
    }
}

bool RegisterKeyboardRawInput() {
    win::SetThreadMessageHandler(DispatchToApplication);
    // The program has no hidden application window: the messages go to its message loop.
    const win::RAWINPUTDEVICE device{win::HID_USAGE_PAGE_GENERIC, win::HID_USAGE_GENERIC_KEYBOARD,
                                     win::RIDEV_INPUTSINK, nullptr};
    return win::RegisterRawInputDevices(&device, 1, sizeof(device)) != 0;
}

void TKeyboardHook::HookAppMessage(vcl::TMsg& Msg, bool& Handled) {
    Handled = false;
    if (Msg.message == win::WM_INPUT && ActiveHook)
        ActiveHook->ProcessRawKeyboardInput(Msg, Handled);
}

void TKeyboardHook::ProcessRawKeyboardInput(vcl::TMsg& Msg, bool& Handled) {
    Handled = false;
    const auto input = reinterpret_cast<win::HRAWINPUT>(Msg.lParam);
    win::RAWINPUTHEADER header{};
    win::UINT size = sizeof(header);
    if (win::GetRawInputData(input, win::RID_HEADER, &header, &size, sizeof(header)) ==
        static_cast<win::UINT>(-1)) {
        TraceRawInput("GetRawInputData error : (RID_HEADER) : " + FormatRawInputError());
        return;
    }
    if (header.dwType != win::RIM_TYPEKEYBOARD) return;
    // Input larger than the record is not read, and then there is nothing to go on.
    size = header.dwSize;
    if (size > sizeof(LastRawInput)) return;
    if (win::GetRawInputData(input, win::RID_INPUT, &LastRawInput, &size,
                             sizeof(win::RAWINPUTHEADER)) == static_cast<win::UINT>(-1)) {
        TraceRawInput("GetRawInputData error : (RID_INPUT) : " + FormatRawInputError());
        return;
    }
    const win::RAWKEYBOARD& keyboard = LastRawInput.data.keyboard;
    const TKeyboardHookKey key = VirtualKeyToKeyCode(keyboard.VKey);
    TraceRawInput(std::to_string(reinterpret_cast<uintptr_t>(LastRawInput.header.hDevice)) + " : " +
                  std::to_string(keyboard.MakeCode) + " - " + std::to_string(keyboard.VKey) +
                  " - " + std::to_string(keyboard.Message));

    bool allReleased = false;
    switch (keyboard.Message) {
    case win::WM_KEYDOWN:
    case win::WM_SYSKEYDOWN:
        ++KeyRepeatCount;
        if (FindPressedKey(key) == -1) PressedKeyList.push_back({key, 1, 0});
        break;
    case win::WM_KEYUP:
    case win::WM_SYSKEYUP: {
        if (const int index = FindPressedKey(key); index != -1) PressedKeyList[index].Released = 1;
        allReleased = true;
        for (const TPressedKey& pressed : PressedKeyList)
            if (pressed.Released == 0) allReleased = false;
        KeyRepeatCount = 0;
        break;
    }
    default:
        break;
    }

    if (OnReceive && enabled_) {
        LastState = KeyRepeatCount == 0 ? kh_Off : KeyRepeatCount == 1 ? kh_On : kh_Repeat;
        OnReceive(this, keyboard.VKey, LastState, KeyRepeatCount);
    }

    if (allReleased && OnKeyCombination && enabled_) {
        ButtonShiftState.reset();
        KeyCombination.clear();
        for (const TPressedKey& pressed : PressedKeyList) {
            if (IsGenericModifier(pressed.Key))
                ButtonShiftState.set(pressed.Key);
            else
                KeyCombination.push_back(pressed.Key);
        }
        OnKeyCombination(this, KeyCombination, ButtonShiftState);
        PressedKeyList.clear();
    }
    Handled = true;
}

int FindPressedKey(TKeyboardHookKey Key) {
    for (size_t i = 0; i < PressedKeyList.size(); ++i)
        if (PressedKeyList[i].Key == Key) return static_cast<int>(i);
    return -1;
}

std::string FormatRawInputError() {
    const win::DWORD error = win::GetLastError();
    return std::to_string(error) + "/" + win::RawInputErrorText(error);
}

int TraceRawInput(const std::string&) {
    return 0;
}

bool TKeyboardHook::SetDesignProperty(const std::string& name, const vcl::TDesignValue& value) {
    if (name != "Enabled") return vcl::TComponent::SetDesignProperty(name, value);
    SetEnabled(value.AsBool());
    return true;
}

bool TKeyboardHook::SetDesignEvent(const std::string& name, const std::any& handler) {
    if (name == "OnReceive") return vcl::BindDesignHandler(handler, OnReceive);
    if (name == "OnKeyCombination") return vcl::BindDesignHandler(handler, OnKeyCombination);
    return vcl::TComponent::SetDesignEvent(name, handler);
}

void RegisterKeyboardHookClass() {
    vcl::RegisterComponentClass("TKeyboardHook", [](vcl::TComponent* owner) -> vcl::TComponent* {
        return new TKeyboardHook(owner);
    });
}

} // namespace device
