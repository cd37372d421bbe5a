// Raw keyboard input: registration, WM_INPUT posted to the message loop, reading the input
// while its message is handled, and the key data the X key capture gives.
#include "platform/desktop/RawInput.h"
#include "platform/win/Kernel.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <vector>

namespace {

namespace win = platform::win;
namespace desktop = platform::desktop;
using win::UINT;

constexpr UINT Failed = static_cast<UINT>(-1);

struct Received {
    desktop::MSG msg;
    desktop::RAWINPUTHEADER header;
    desktop::RAWINPUT input;
};

class RawInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop::testing::ResetRawInput();
        desktop::SetThreadMessageHandler([this](const desktop::MSG& msg) { OnMessage(msg); });
    }
    void TearDown() override {
        desktop::SetThreadMessageHandler(nullptr);
        desktop::testing::ResetRawInput();
    }

    static bool RegisterKeyboard(void* target = nullptr) {
        const desktop::RAWINPUTDEVICE device{1, 6, desktop::RIDEV_INPUTSINK, target};
        return desktop::RegisterRawInputDevices(&device, 1, sizeof(device)) != 0;
    }

    // Reads the input the way a program does, while its message is handled.
    void OnMessage(const desktop::MSG& msg) {
        Received r{msg, {}, {}};
        auto handle = reinterpret_cast<desktop::HRAWINPUT>(msg.lParam);
        UINT size = sizeof(r.header);
        EXPECT_EQ(desktop::GetRawInputData(handle, desktop::RID_HEADER, &r.header, &size,
                                           sizeof(desktop::RAWINPUTHEADER)),
                  sizeof(r.header));
        size = sizeof(r.input);
        if (r.header.dwSize <= sizeof(r.input)) {
            EXPECT_EQ(desktop::GetRawInputData(handle, desktop::RID_INPUT, &r.input, &size,
                                               sizeof(desktop::RAWINPUTHEADER)),
                      r.header.dwSize);
        }
        received.push_back(r);
        handles.push_back(handle);
    }

    static void Pump() { QCoreApplication::processEvents(); }

    std::vector<Received> received;
    std::vector<desktop::HRAWINPUT> handles;
};

TEST_F(RawInputTest, WithoutAnXDisplayCaptureIsUnavailableButInputStillFlows) {
    ASSERT_TRUE(RegisterKeyboard());
    EXPECT_FALSE(desktop::RawKeyboardCaptureAvailable());
    desktop::testing::InjectKeyboardInput(0x41, desktop::WM_KEYDOWN, 0x1E);
    Pump();
    ASSERT_EQ(received.size(), 1u);
}

TEST_F(RawInputTest, KeyEventsArriveInOrderAsWmInput) {
    int target = 0;
    ASSERT_TRUE(RegisterKeyboard(&target));
    desktop::testing::InjectKeyboardInput(0x11, desktop::WM_KEYDOWN, 0x1D);
    desktop::testing::InjectKeyboardInput(0x43, desktop::WM_KEYDOWN, 0x2E);
    desktop::testing::InjectKeyboardInput(0x43, desktop::WM_KEYUP, 0x2E, desktop::RI_KEY_BREAK);
    EXPECT_TRUE(received.empty()); // posted: nothing runs before the loop does
    Pump();
    ASSERT_EQ(received.size(), 3u);
    const UINT messages[] = {desktop::WM_KEYDOWN, desktop::WM_KEYDOWN, desktop::WM_KEYUP};
    const win::USHORT keys[] = {0x11, 0x43, 0x43};
    for (size_t i = 0; i < 3; ++i) {
        const Received& r = received[i];
        EXPECT_EQ(r.msg.message, desktop::WM_INPUT);
        EXPECT_EQ(r.msg.hwnd, &target);
        EXPECT_EQ(r.header.dwType, desktop::RIM_TYPEKEYBOARD);
        EXPECT_EQ(r.header.dwSize, sizeof(desktop::RAWINPUTHEADER) + sizeof(desktop::RAWKEYBOARD));
        EXPECT_EQ(r.header.wParam, r.msg.wParam);
        EXPECT_EQ(r.input.data.keyboard.VKey, keys[i]);
        EXPECT_EQ(r.input.data.keyboard.Message, messages[i]);
    }
    EXPECT_EQ(received[2].input.data.keyboard.Flags, desktop::RI_KEY_BREAK);
    EXPECT_EQ(received[1].input.data.keyboard.MakeCode, 0x2E);
    EXPECT_NE(handles[0], handles[1]);
}

TEST_F(RawInputTest, HandleIsValidOnlyWhileItsMessageIsHandled) {
    ASSERT_TRUE(RegisterKeyboard());
    desktop::testing::InjectKeyboardInput(0x41, desktop::WM_KEYDOWN);
    Pump();
    ASSERT_EQ(handles.size(), 1u);
    desktop::RAWINPUTHEADER header{};
    UINT size = sizeof(header);
    EXPECT_EQ(
        desktop::GetRawInputData(handles[0], desktop::RID_HEADER, &header, &size, sizeof(header)),
        Failed);
    EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_HANDLE);
    EXPECT_EQ(
        desktop::GetRawInputData(nullptr, desktop::RID_HEADER, &header, &size, sizeof(header)),
        Failed);
}

TEST_F(RawInputTest, ReadingChecksSizesAndCommand) {
    ASSERT_TRUE(RegisterKeyboard());
    std::vector<UINT> results;
    std::vector<win::DWORD> errors;
    UINT needed = 0;
    desktop::SetThreadMessageHandler([&](const desktop::MSG& msg) {
        auto handle = reinterpret_cast<desktop::HRAWINPUT>(msg.lParam);
        desktop::RAWINPUT input{};
        UINT size = 0;
        EXPECT_EQ(desktop::GetRawInputData(handle, desktop::RID_INPUT, nullptr, &needed,
                                           sizeof(desktop::RAWINPUTHEADER)),
                  0u);
        size = 8; // too small for the header
        results.push_back(desktop::GetRawInputData(handle, desktop::RID_HEADER, &input, &size,
                                                   sizeof(desktop::RAWINPUTHEADER)));
        errors.push_back(win::GetLastError());
        size = sizeof(input);
        results.push_back(
            desktop::GetRawInputData(handle, desktop::RID_INPUT, &input, &size, 16 + 1));
        errors.push_back(win::GetLastError());
        results.push_back(desktop::GetRawInputData(handle, 0x10000004, &input, &size,
                                                   sizeof(desktop::RAWINPUTHEADER)));
        errors.push_back(win::GetLastError());
        size = sizeof(desktop::RAWINPUTHEADER);
        results.push_back(desktop::GetRawInputData(handle, desktop::RID_INPUT, &input, &size,
                                                   sizeof(desktop::RAWINPUTHEADER)));
        errors.push_back(win::GetLastError());
    });
    desktop::testing::InjectKeyboardInput(0x41, desktop::WM_KEYDOWN);
    Pump();
    EXPECT_EQ(needed, sizeof(desktop::RAWINPUTHEADER) + sizeof(desktop::RAWKEYBOARD));
    ASSERT_EQ(results.size(), 4u);
    for (UINT r : results)
        EXPECT_EQ(r, Failed);
    EXPECT_EQ(errors[0], win::ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(errors[1], win::ERROR_INVALID_PARAMETER);
    EXPECT_EQ(errors[2], win::ERROR_INVALID_PARAMETER);
    EXPECT_EQ(errors[3], win::ERROR_INSUFFICIENT_BUFFER);
}

TEST_F(RawInputTest, NothingArrivesWithoutAKeyboardRegistration) {
    const desktop::RAWINPUTDEVICE mouse{1, 2, desktop::RIDEV_INPUTSINK, nullptr};
    ASSERT_TRUE(desktop::RegisterRawInputDevices(&mouse, 1, sizeof(mouse)));
    desktop::testing::InjectKeyboardInput(0x41, desktop::WM_KEYDOWN);
    Pump();
    EXPECT_TRUE(received.empty());

    ASSERT_TRUE(RegisterKeyboard());
    const desktop::RAWINPUTDEVICE remove{1, 6, desktop::RIDEV_REMOVE, nullptr};
    ASSERT_TRUE(desktop::RegisterRawInputDevices(&remove, 1, sizeof(remove)));
    desktop::testing::InjectKeyboardInput(0x41, desktop::WM_KEYDOWN);
    Pump();
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(desktop::testing::RegisteredRawInputDevices().size(), 1u); // the mouse
}

TEST_F(RawInputTest, RegistrationRefusesAWrongRecordSize) {
    const desktop::RAWINPUTDEVICE device{1, 6, desktop::RIDEV_INPUTSINK, nullptr};
    EXPECT_FALSE(desktop::RegisterRawInputDevices(&device, 1, 12 + 1));
    EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(desktop::RegisterRawInputDevices(&device, 0, sizeof(device)));
    EXPECT_TRUE(desktop::testing::RegisteredRawInputDevices().empty());
    // Registering again replaces the earlier entry of the same kind.
    ASSERT_TRUE(RegisterKeyboard());
    ASSERT_TRUE(RegisterKeyboard());
    EXPECT_EQ(desktop::testing::RegisteredRawInputDevices().size(), 1u);
}

TEST_F(RawInputTest, InputOfOtherKindsAndSizesIsPassedAsIs) {
    ASSERT_TRUE(RegisterKeyboard());
    desktop::RAWINPUT mouse{};
    mouse.header.dwType = desktop::RIM_TYPEMOUSE;
    mouse.header.dwSize = sizeof(desktop::RAWINPUTHEADER) + sizeof(desktop::RAWMOUSE);
    mouse.data.mouse.lLastX = 5;
    desktop::testing::InjectRawInput(mouse);
    desktop::RAWINPUT large{};
    large.header.dwType = desktop::RIM_TYPEKEYBOARD;
    large.header.dwSize = sizeof(desktop::RAWINPUT) + 64;
    desktop::testing::InjectRawInput(large);
    Pump();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].header.dwType, desktop::RIM_TYPEMOUSE);
    EXPECT_EQ(received[0].input.data.mouse.lLastX, 5);
    EXPECT_EQ(received[1].header.dwSize, sizeof(desktop::RAWINPUT) + 64);
}

TEST(RawInputKeyData, PositionsGiveTheSystemVirtualKeys) {
    using desktop::testing::KeyboardDataForLinuxKey;
    EXPECT_EQ(KeyboardDataForLinuxKey(30, true).VKey, 'A');   // KEY_A
    EXPECT_EQ(KeyboardDataForLinuxKey(11, true).VKey, '0');   // KEY_0
    EXPECT_EQ(KeyboardDataForLinuxKey(2, true).VKey, '1');    // KEY_1
    EXPECT_EQ(KeyboardDataForLinuxKey(86, true).VKey, 0xE2);  // the extra ISO key
    EXPECT_EQ(KeyboardDataForLinuxKey(39, true).VKey, 0xBA);  // semicolon: VK_OEM_1
    EXPECT_EQ(KeyboardDataForLinuxKey(82, true).VKey, 0x60);  // keypad 0
    EXPECT_EQ(KeyboardDataForLinuxKey(194, true).VKey, 0x87); // F24
    EXPECT_EQ(KeyboardDataForLinuxKey(164, true).VKey, 0xB3); // play/pause
    // A key the system has no virtual key for.
    EXPECT_EQ(KeyboardDataForLinuxKey(240, true).VKey, 0xFF);
    EXPECT_EQ(KeyboardDataForLinuxKey(0, true).VKey, 0xFF);
}

TEST(RawInputKeyData, ExtendedKeysCarryTheirPrefix) {
    using desktop::testing::KeyboardDataForLinuxKey;
    const desktop::RAWKEYBOARD print = KeyboardDataForLinuxKey(99, true);
    EXPECT_EQ(print.VKey, 0x2C); // VK_SNAPSHOT
    EXPECT_EQ(print.MakeCode, 0x37);
    EXPECT_EQ(print.Flags, desktop::RI_KEY_E0);
    const desktop::RAWKEYBOARD pause = KeyboardDataForLinuxKey(119, false);
    EXPECT_EQ(pause.VKey, 0x13);
    EXPECT_EQ(pause.Flags, desktop::RI_KEY_E1 | desktop::RI_KEY_BREAK);
    EXPECT_EQ(KeyboardDataForLinuxKey(30, true).Flags, desktop::RI_KEY_MAKE);
    EXPECT_EQ(KeyboardDataForLinuxKey(30, true).MakeCode, 0x1E);
}

TEST(RawInputKeyData, ModifiersAreGenericAndAltIsASystemKey) {
    using desktop::testing::KeyboardDataForLinuxKey;
    const desktop::RAWKEYBOARD leftCtrl = KeyboardDataForLinuxKey(29, true);
    const desktop::RAWKEYBOARD rightCtrl = KeyboardDataForLinuxKey(97, true);
    EXPECT_EQ(leftCtrl.VKey, 0x11);
    EXPECT_EQ(rightCtrl.VKey, 0x11);
    EXPECT_EQ(leftCtrl.Flags, 0);
    EXPECT_EQ(rightCtrl.Flags, desktop::RI_KEY_E0);
    EXPECT_EQ(KeyboardDataForLinuxKey(42, true).VKey, 0x10);
    EXPECT_EQ(KeyboardDataForLinuxKey(54, true).VKey, 0x10);
    EXPECT_EQ(KeyboardDataForLinuxKey(29, true).Message, desktop::WM_KEYDOWN);
    EXPECT_EQ(KeyboardDataForLinuxKey(29, false).Message, desktop::WM_KEYUP);
    EXPECT_EQ(KeyboardDataForLinuxKey(100, true).VKey, 0x12);
    EXPECT_EQ(KeyboardDataForLinuxKey(56, true).Message, desktop::WM_SYSKEYDOWN);
    EXPECT_EQ(KeyboardDataForLinuxKey(56, false).Message, desktop::WM_SYSKEYUP);
    EXPECT_EQ(KeyboardDataForLinuxKey(68, true).Message, desktop::WM_SYSKEYDOWN); // F10
}

} // namespace
