#include "window/device/KeyboardHook.h"

#include "platform/desktop/RawInput.h"
#include "platform/vcl/FormDesign.h"
#include "platform/win/Kernel.h"

namespace window::device {

namespace win = platform::win;
namespace desktop = platform::desktop;

std::vector<TPressedKey> PressedKeyList;
int32_t KeyRepeatCount = 0;

namespace {

TKeyboardHook* ActiveHook = nullptr;

// The raw input read last and what was handed to OnKeyCombination.
desktop::RAWINPUT LastRawInput{};
TKeyboardHookState LastState = kh_Off;
::device::TKeyCombination KeyCombination;
::device::TKeyboardHookShiftState ButtonShiftState;

bool IsGenericModifier(::device::TKeyboardHookKey key) {
    return key == ::device::kh_Shift || key == ::device::kh_Control || key == ::device::kh_Alt;
}

// The system posts window messages to the program's message loop; there they go to the
// application's message hook, as every message of the loop does.
void DispatchToApplication(const desktop::MSG& msg) {
    platform::vcl::TMsg appMsg{msg.hwnd, msg.message, msg.wParam, msg.lParam};
    platform::vcl::GuardedCall(
        [&appMsg] { platform::vcl::Application()->DispatchAppMessage(appMsg); });
}

} // namespace

TKeyboardHook::TKeyboardHook(platform::vcl::TComponent* owner) : platform::vcl::TComponent(owner) {
    RegisterKeyboardRawInput();
    platform::vcl::Application()->OnMessage = &TKeyboardHook::HookAppMessage;
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
    desktop::SetThreadMessageHandler(DispatchToApplication);
    // The program has no hidden application window: the messages go to its message loop.
    const desktop::RAWINPUTDEVICE device{desktop::HID_USAGE_PAGE_GENERIC,
                                         desktop::HID_USAGE_GENERIC_KEYBOARD,
                                         desktop::RIDEV_INPUTSINK, nullptr};
    return desktop::RegisterRawInputDevices(&device, 1, sizeof(device)) != 0;
}

void TKeyboardHook::HookAppMessage(platform::vcl::TMsg& Msg, bool& Handled) {
    Handled = false;
    if (Msg.message == desktop::WM_INPUT && ActiveHook)
        ActiveHook->ProcessRawKeyboardInput(Msg, Handled);
}

void TKeyboardHook::ProcessRawKeyboardInput(platform::vcl::TMsg& Msg, bool& Handled) {
    Handled = false;
    const auto input = reinterpret_cast<desktop::HRAWINPUT>(Msg.lParam);
    desktop::RAWINPUTHEADER header{};
    win::UINT size = sizeof(header);
    if (desktop::GetRawInputData(input, desktop::RID_HEADER, &header, &size, sizeof(header)) ==
        static_cast<win::UINT>(-1)) {
        TraceRawInput("GetRawInputData error : (RID_HEADER) : " + FormatRawInputError());
        return;
    }
    if (header.dwType != desktop::RIM_TYPEKEYBOARD) return;
    // Input larger than the record is not read, and then there is nothing to go on.
    size = header.dwSize;
    if (size > sizeof(LastRawInput)) return;
    if (desktop::GetRawInputData(input, desktop::RID_INPUT, &LastRawInput, &size,
                                 sizeof(desktop::RAWINPUTHEADER)) == static_cast<win::UINT>(-1)) {
        TraceRawInput("GetRawInputData error : (RID_INPUT) : " + FormatRawInputError());
        return;
    }
    const desktop::RAWKEYBOARD& keyboard = LastRawInput.data.keyboard;
    const ::device::TKeyboardHookKey key = ::device::VirtualKeyToKeyCode(keyboard.VKey);
    TraceRawInput(std::to_string(reinterpret_cast<uintptr_t>(LastRawInput.header.hDevice)) + " : " +
                  std::to_string(keyboard.MakeCode) + " - " + std::to_string(keyboard.VKey) +
                  " - " + std::to_string(keyboard.Message));

    bool allReleased = false;
    switch (keyboard.Message) {
    case desktop::WM_KEYDOWN:
    case desktop::WM_SYSKEYDOWN:
        ++KeyRepeatCount;
        if (FindPressedKey(key) == -1) PressedKeyList.push_back({key, 1, 0});
        break;
    case desktop::WM_KEYUP:
    case desktop::WM_SYSKEYUP: {
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

int FindPressedKey(::device::TKeyboardHookKey Key) {
    for (size_t i = 0; i < PressedKeyList.size(); ++i)
        if (PressedKeyList[i].Key == Key) return static_cast<int>(i);
    return -1;
}

std::string FormatRawInputError() {
    const win::DWORD error = win::GetLastError();
    return std::to_string(error) + "/" + desktop::RawInputErrorText(error);
}

int TraceRawInput(const std::string&) {
    return 0;
}

bool TKeyboardHook::SetDesignProperty(const std::string& name,
                                      const platform::vcl::TDesignValue& value) {
    if (name != "Enabled") return platform::vcl::TComponent::SetDesignProperty(name, value);
    SetEnabled(value.AsBool());
    return true;
}

bool TKeyboardHook::SetDesignEvent(const std::string& name, const std::any& handler) {
    if (name == "OnReceive") return platform::vcl::BindDesignHandler(handler, OnReceive);
    if (name == "OnKeyCombination")
        return platform::vcl::BindDesignHandler(handler, OnKeyCombination);
    return platform::vcl::TComponent::SetDesignEvent(name, handler);
}

void RegisterKeyboardHookClass() {
    platform::vcl::RegisterComponentClass(
        "TKeyboardHook", [](platform::vcl::TComponent* owner) -> platform::vcl::TComponent* {
            return new TKeyboardHook(owner);
        });
}

} // namespace window::device
