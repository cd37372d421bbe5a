// The keyboard hook component fed with injected raw keyboard input: the states and repeat
// counts it reports, the combinations, the key list, and what it leaves alone.
#include "window/device/KeyboardHook.h"
#include "platform/vcl/FormDesign.h"
#include "platform/desktop/RawInput.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace device;
using namespace window::device;
namespace desktop = platform::desktop;

struct Event {
    uint16_t key;
    TKeyboardHookState state;
    int32_t count;
    bool operator==(const Event&) const = default;
};

struct Combination {
    TKeyCombination keys;
    TKeyboardHookShiftState modifiers;
};

class KeyboardHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop::testing::ResetRawInput();
        hook = std::make_unique<TKeyboardHook>(nullptr);
        hook->SetEnabled(true);
        hook->OnReceive = [this](platform::vcl::TObject* sender, uint16_t key,
                                 TKeyboardHookState state, int32_t count) {
            EXPECT_EQ(sender, hook.get());
            events.push_back({key, state, count});
        };
        // The program's message loop, recording whether the hook handled each message.
        desktop::SetThreadMessageHandler([this](const desktop::MSG& msg) {
            platform::vcl::TMsg appMsg{msg.hwnd, msg.message, msg.wParam, msg.lParam};
            handled.push_back(platform::vcl::Application()->DispatchAppMessage(appMsg));
        });
    }
    void TearDown() override {
        hook.reset();
        desktop::SetThreadMessageHandler(nullptr);
        desktop::testing::ResetRawInput();
    }

    void BindCombination() {
        hook->OnKeyCombination = [this](platform::vcl::TObject*, const TKeyCombination& keys,
                                        TKeyboardHookShiftState& modifiers) {
            combinations.push_back({keys, modifiers});
        };
    }

    static void Down(uint16_t vk) {
        desktop::testing::InjectKeyboardInput(vk, desktop::WM_KEYDOWN);
    }
    static void Up(uint16_t vk) { desktop::testing::InjectKeyboardInput(vk, desktop::WM_KEYUP); }
    static void Pump() { platform::vcl::Application()->ProcessMessages(); }

    std::unique_ptr<TKeyboardHook> hook;
    std::vector<Event> events;
    std::vector<Combination> combinations;
    std::vector<bool> handled;
};

TEST_F(KeyboardHookTest, PressAndReleaseGiveOnThenOff) {
    BindCombination();
    Down(0x41);
    Up(0x41);
    Pump();
    EXPECT_EQ(events, (std::vector<Event>{{0x41, kh_On, 1}, {0x41, kh_Off, 0}}));
    ASSERT_EQ(combinations.size(), 1u);
    EXPECT_EQ(combinations[0].keys, TKeyCombination{kh_A});
    EXPECT_TRUE(combinations[0].modifiers.none());
    EXPECT_TRUE(PressedKeyList.empty());
    EXPECT_EQ(handled, (std::vector<bool>{true, true}));
}

TEST_F(KeyboardHookTest, HeldKeyRepeats) {
    for (int i = 0; i < 4; ++i)
        Down(0x41);
    Up(0x41);
    Pump();
    EXPECT_EQ(events, (std::vector<Event>{{0x41, kh_On, 1},
                                          {0x41, kh_Repeat, 2},
                                          {0x41, kh_Repeat, 3},
                                          {0x41, kh_Repeat, 4},
                                          {0x41, kh_Off, 0}}));
    EXPECT_EQ(PressedKeyList.size(), 1u); // one record for the key, however often it repeats
}

TEST_F(KeyboardHookTest, ControlCIsOneCombinationWithTheGenericModifier) {
    BindCombination();
    Down(0x11);
    Down(0x43);
    Up(0x43);
    EXPECT_TRUE(events.empty());
    Pump();
    ASSERT_TRUE(combinations.empty()); // Ctrl is still down
    Up(0x11);
    Pump();
    EXPECT_EQ(events,
              (std::vector<Event>{
                  {0x11, kh_On, 1}, {0x43, kh_Repeat, 2}, {0x43, kh_Off, 0}, {0x11, kh_Off, 0}}));
    ASSERT_EQ(combinations.size(), 1u);
    EXPECT_EQ(combinations[0].keys, TKeyCombination{kh_C});
    TKeyboardHookShiftState control;
    control.set(kh_Control);
    EXPECT_EQ(combinations[0].modifiers, control);
    EXPECT_TRUE(PressedKeyList.empty());
}

TEST_F(KeyboardHookTest, SideSpecificModifiersAreOrdinaryKeys) {
    BindCombination();
    Down(0xA2); // left Ctrl as its own key
    Down(0x43);
    Up(0x43);
    Up(0xA2);
    Pump();
    ASSERT_EQ(combinations.size(), 1u);
    EXPECT_EQ(combinations[0].keys, (TKeyCombination{kh_LControl, kh_C}));
    EXPECT_TRUE(combinations[0].modifiers.none());
}

TEST_F(KeyboardHookTest, SystemKeyMessagesCountAsKeyMessages) {
    BindCombination();
    desktop::testing::InjectKeyboardInput(0x12, desktop::WM_SYSKEYDOWN);
    desktop::testing::InjectKeyboardInput(0x73, desktop::WM_SYSKEYDOWN);
    desktop::testing::InjectKeyboardInput(0x73, desktop::WM_SYSKEYUP);
    desktop::testing::InjectKeyboardInput(0x12, desktop::WM_KEYUP);
    Pump();
    EXPECT_EQ(events.size(), 4u);
    EXPECT_EQ(events[1], (Event{0x73, kh_Repeat, 2}));
    ASSERT_EQ(combinations.size(), 1u);
    EXPECT_EQ(combinations[0].keys, TKeyCombination{kh_F4});
    EXPECT_TRUE(combinations[0].modifiers.test(kh_Alt));
}

TEST_F(KeyboardHookTest, UnknownKeysAreListedAndReportedByVirtualKey) {
    Down(0x07); // no key code: kh_None
    Down(0xFF); // the system's "no virtual key"
    Pump();
    EXPECT_EQ(events, (std::vector<Event>{{0x07, kh_On, 1}, {0xFF, kh_Repeat, 2}}));
    ASSERT_EQ(PressedKeyList.size(), 2u);
    EXPECT_EQ(PressedKeyList[0].Key, kh_None);
    EXPECT_EQ(PressedKeyList[1].Key, kh_255);
}

TEST_F(KeyboardHookTest, OtherMessagesReportTheCountUnchanged) {
    Down(0x41);
    desktop::testing::InjectKeyboardInput(0x41, 0x0102); // a character message
    Pump();
    EXPECT_EQ(events, (std::vector<Event>{{0x41, kh_On, 1}, {0x41, kh_On, 1}}));
    EXPECT_EQ(handled, (std::vector<bool>{true, true}));
}

TEST_F(KeyboardHookTest, DisabledHookReportsNothingButKeepsTheKeys) {
    BindCombination();
    hook->SetEnabled(false);
    Down(0x41);
    Down(0x42);
    Up(0x42);
    Pump();
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(combinations.empty());
    EXPECT_EQ(handled, (std::vector<bool>{true, true, true}));
    ASSERT_EQ(PressedKeyList.size(), 2u);
    EXPECT_EQ(KeyRepeatCount, 0);
    // The count kept while disabled goes on once enabled.
    hook->SetEnabled(true);
    Down(0x43);
    Pump();
    EXPECT_EQ(events, (std::vector<Event>{{0x43, kh_On, 1}}));
}

TEST_F(KeyboardHookTest, WithoutCombinationHandlerTheListKeepsEveryKeySeen) {
    Down(0x41);
    Up(0x41);
    Down(0x42);
    Up(0x42);
    Down(0x41); // pressed again: its record stays released
    Pump();
    ASSERT_EQ(PressedKeyList.size(), 2u);
    EXPECT_EQ(PressedKeyList[0].Key, kh_A);
    EXPECT_EQ(PressedKeyList[0].Pressed, 1);
    EXPECT_EQ(PressedKeyList[0].Released, 1);
    EXPECT_EQ(PressedKeyList[1].Key, kh_B);
    EXPECT_EQ(FindPressedKey(kh_B), 1);
    EXPECT_EQ(FindPressedKey(kh_C), -1);
}

TEST_F(KeyboardHookTest, InputOtherThanKeyboardIsLeftAlone) {
    desktop::RAWINPUT mouse{};
    mouse.header.dwType = desktop::RIM_TYPEMOUSE;
    mouse.header.dwSize = sizeof(desktop::RAWINPUTHEADER) + sizeof(desktop::RAWMOUSE);
    desktop::testing::InjectRawInput(mouse);
    Pump();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(handled, std::vector<bool>{false});
}

TEST_F(KeyboardHookTest, InputTooLargeToReadChangesNothing) {
    Down(0x41);
    desktop::RAWINPUT large{};
    large.header.dwType = desktop::RIM_TYPEKEYBOARD;
    large.header.dwSize = sizeof(desktop::RAWINPUT) + 8;
    large.data.keyboard = {0, 0, 0, 0x42, desktop::WM_KEYDOWN, 0};
    desktop::testing::InjectRawInput(large);
    Pump();
    EXPECT_EQ(events, (std::vector<Event>{{0x41, kh_On, 1}}));
    EXPECT_EQ(handled, (std::vector<bool>{true, false}));
    EXPECT_EQ(KeyRepeatCount, 1);
}

TEST_F(KeyboardHookTest, InvalidInputHandleIsNotHandled) {
    platform::vcl::TMsg msg{nullptr, desktop::WM_INPUT, 0, 12345};
    EXPECT_FALSE(platform::vcl::Application()->DispatchAppMessage(msg));
    msg.message = 0x0100; // not WM_INPUT: not even looked at
    EXPECT_FALSE(platform::vcl::Application()->DispatchAppMessage(msg));
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(FormatRawInputError().substr(0, 2), "6/"); // the handle is invalid
}

TEST_F(KeyboardHookTest, LastHookCreatedReceivesAndADestroyedOneNothing) {
    auto second = std::make_unique<TKeyboardHook>(nullptr);
    second->SetEnabled(true);
    int secondEvents = 0;
    second->OnReceive = [&](platform::vcl::TObject*, uint16_t, TKeyboardHookState, int32_t) {
        ++secondEvents;
    };
    desktop::SetThreadMessageHandler([this](const desktop::MSG& msg) {
        platform::vcl::TMsg appMsg{msg.hwnd, msg.message, msg.wParam, msg.lParam};
        handled.push_back(platform::vcl::Application()->DispatchAppMessage(appMsg));
    });
    Down(0x41);
    Pump();
    EXPECT_EQ(secondEvents, 1);
    EXPECT_TRUE(events.empty());
    second.reset();
    Down(0x41);
    Pump();
    EXPECT_EQ(secondEvents, 1);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(handled, (std::vector<bool>{true, false}));
}

TEST_F(KeyboardHookTest, RegistersKeyboardsForBackgroundInput) {
    const std::vector<desktop::RAWINPUTDEVICE> devices =
        desktop::testing::RegisteredRawInputDevices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].usUsagePage, 1);
    EXPECT_EQ(devices[0].usUsage, 6);
    EXPECT_EQ(devices[0].dwFlags, desktop::RIDEV_INPUTSINK);
    EXPECT_FALSE(desktop::RawKeyboardCaptureAvailable()); // offscreen: no system key source
}

// A form whose design holds a disabled hook bound to a handler.
class HookForm : public platform::vcl::TForm {
public:
    HookForm() : platform::vcl::TForm(nullptr) {
        RegisterKeyboardHookClass();
        platform::vcl::TFormBinding binding{
            "THookForm",
            {platform::vcl::Field("KeyboardHook1", KeyboardHook1)},
            {platform::vcl::Handler("KeyboardHook1Receive", this,
                                    &HookForm::KeyboardHook1Receive)}};
        platform::vcl::LoadFormDesignText(*this,
                                          "object HookForm: THookForm\n"
                                          "  object KeyboardHook1: TKeyboardHook\n"
                                          "    Enabled = False\n"
                                          "    OnReceive = KeyboardHook1Receive\n"
                                          "  end\n"
                                          "end\n",
                                          "hook form", binding);
    }
    void KeyboardHook1Receive(platform::vcl::TObject*, uint16_t Key, TKeyboardHookState, int32_t) {
        keys.push_back(Key);
    }
    TKeyboardHook* KeyboardHook1 = nullptr;
    std::vector<uint16_t> keys;
};

TEST_F(KeyboardHookTest, FormDesignCreatesADisabledHookWithItsHandler) {
    HookForm form;
    ASSERT_NE(form.KeyboardHook1, nullptr);
    EXPECT_FALSE(form.KeyboardHook1->Enabled());
    desktop::SetThreadMessageHandler([](const desktop::MSG& msg) {
        platform::vcl::TMsg appMsg{msg.hwnd, msg.message, msg.wParam, msg.lParam};
        platform::vcl::Application()->DispatchAppMessage(appMsg);
    });
    Down(0x41);
    Pump();
    EXPECT_TRUE(form.keys.empty());
    form.KeyboardHook1->SetEnabled(true); // as the macro recorder does when recording starts
    Up(0x41);
    Pump();
    EXPECT_EQ(form.keys, std::vector<uint16_t>{0x41});
}

} // namespace
