#pragma once
// Unit KeyboardHook: a non-visual component that reports every key press and release of
// every keyboard, also while the program is not in front. It reads the system's raw
// keyboard input through the application's message hook, keeps the keys that are down and
// counts the key-down messages since the last key-up, and tells its owner of each key
// event (OnReceive) and of each finished key combination (OnKeyCombination).
//
// The unit keeps one set of key state for the whole program; the last hook created is the
// active one and receives the input.
#include "device/KeyboardFunction.h"
#include "platform/vcl/Forms.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace window::device {

enum TKeyboardHookState : uint8_t { kh_On, kh_Off, kh_Repeat };

// Key is the virtual key of the event as the system delivered it, not the key code.
using TKeyboardHookEvent =
    std::function<void(platform::vcl::TObject* Sender, uint16_t Key, TKeyboardHookState ButtonState,
                       int32_t ButtonRepeatCount)>;
// The non-modifier keys of the combination in the order they were pressed, and the
// generic modifiers (kh_Shift, kh_Control, kh_Alt) that were part of it.
using TKeyCombinationPressedEvent = std::function<void(
    platform::vcl::TObject* Sender, const ::device::TKeyCombination& KeyCombination,
    ::device::TKeyboardHookShiftState& ButtonShiftState)>;

// A key that went down since the last finished combination.
struct TPressedKey {
    ::device::TKeyboardHookKey Key;
    uint8_t Pressed;  // 1 once added
    uint8_t Released; // 1 after the key's release
};

class TKeyboardHook : public platform::vcl::TComponent {
public:
    // Registers raw keyboard input, makes HookAppMessage the application's message hook
    // (replacing an earlier one) and becomes the active hook with an empty key state.
    explicit TKeyboardHook(platform::vcl::TComponent* owner);
    // Stops being the active hook; input that arrives later is left alone. Raw input
    // stays registered and the message hook stays in place.
    ~TKeyboardHook() override;

    // Events fire only while enabled; the key state is kept regardless.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    TKeyboardHookEvent OnReceive;
    TKeyCombinationPressedEvent OnKeyCombination;

    // The application's message hook: hands WM_INPUT to the active hook.
    static void HookAppMessage(platform::vcl::TMsg& Msg, bool& Handled);
    // Reads one raw-input message; keyboard input is marked handled.
    void ProcessRawKeyboardInput(platform::vcl::TMsg& Msg, bool& Handled);

    bool SetDesignProperty(const std::string& name,
                           const platform::vcl::TDesignValue& value) override;
    bool SetDesignEvent(const std::string& name, const std::any& handler) override;

private:
    bool enabled_ = false;
};

// The active hook's key state.
extern std::vector<TPressedKey> PressedKeyList;
extern int32_t KeyRepeatCount;

// Registers keyboards (page 1, usage 6) for input also in the background; whether the
// system accepted it.
bool RegisterKeyboardRawInput();
// Index of the key's record in PressedKeyList, -1 when there is none.
int FindPressedKey(::device::TKeyboardHookKey Key);
// The system's last error: its code, "/", its message text.
std::string FormatRawInputError();
// Where the diagnostic texts of the raw-input reading go; they are dropped.
int TraceRawInput(const std::string& text);

// Makes TKeyboardHook known to the form designs.
void RegisterKeyboardHookClass();

} // namespace window::device
