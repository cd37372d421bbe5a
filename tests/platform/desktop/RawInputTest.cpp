// Raw keyboard input: registration, WM_INPUT posted to the message loop, reading the input
// while its message is handled, and the key data the X key capture gives.
#include "platform/desktop/RawInput.h"
#include "platform/win/Kernel.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <vector>

namespace {

namespace win = platform::win;
using win::UINT;

constexpr UINT Failed = static_cast<UINT>(-1);

struct Received {
    win::MSG msg;
    win::RAWINPUTHEADER header;
    win::RAWINPUT input;
};

class RawInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        win::testing::ResetRawInput();
        win::SetThreadMessageHandler([this](const win::MSG& msg) { OnMessage(msg); });
    }
    void TearDown() override {
        win::SetThreadMessageHandler(nullptr);
        win::testing::ResetRawInput();
    }

    static bool RegisterKeyboard(void* target = nullptr) {
        const win::RAWINPUTDEVICE device{1, 6, win::RIDEV_INPUTSINK, target};
        return win::RegisterRawInputDevices(&device, 1, sizeof(device)) != 0;
    }

    // Reads the input the way a program does, while its message is handled.
    void OnMessage(const win::MSG& msg) {
        Received r{msg, {}, {}};
        auto handle = reinterpret_cast<win::HRAWINPUT>(msg.lParam);
        UINT size = sizeof(r.header);
        EXPECT_EQ(win::GetRawInputData(handle, win::RID_HEADER, &r.header, &size,
                                       sizeof(win::RAWINPUTHEADER)),
                  sizeof(r.header));
        size = sizeof(r.input);
        if (r.header.dwSize <= sizeof(r.input)) {
            EXPECT_EQ(win::GetRawInputData(handle, win::RID_INPUT, &r.input, &size,
                                           sizeof(win::RAWINPUTHEADER)),
                      r.header.dwSize);
        }
        received.push_back(r);
        handles.push_back(handle);
    }

    static void Pump() { QCoreApplication::processEvents(); }

    std::vector<Received> received;
    std::vector<win::HRAWINPUT> handles;
};

TEST_F(RawInputTest, WithoutAnXDisplayCaptureIsUnavailableButInputStillFlows) {
    ASSERT_TRUE(RegisterKeyboard());
    EXPECT_FALSE(win::RawKeyboardCaptureAvailable());
    win::testing::InjectKeyboardInput(0x41, win::WM_KEYDOWN, 0x1E);
    Pump();
    ASSERT_EQ(received.size(), 1u);
}

TEST_F(RawInputTest, KeyEventsArriveInOrderAsWmInput) {
    int target = 0;
    ASSERT_TRUE(RegisterKeyboard(&target));
    win::testing::InjectKeyboardInput(0x11, win::WM_KEYDOWN, 0x1D);
    win::testing::InjectKeyboardInput(0x43, win::WM_KEYDOWN, 0x2E);
    win::testing::InjectKeyboardInput(0x43, win::WM_KEYUP, 0x2E, win::RI_KEY_BREAK);
    EXPECT_TRUE(received.empty()); // posted: nothing runs before the loop does
    Pump();
    ASSERT_EQ(received.size(), 3u);
    const UINT messages[] = {win::WM_KEYDOWN, win::WM_KEYDOWN, win::WM_KEYUP};
    const win::USHORT keys[] = {0x11, 0x43, 0x43};
    for (size_t i = 0; i < 3; ++i) {
        const Received& r = received[i];
        EXPECT_EQ(r.msg.message, win::WM_INPUT);
        EXPECT_EQ(r.msg.hwnd, &target);
        EXPECT_EQ(r.header.dwType, win::RIM_TYPEKEYBOARD);
        EXPECT_EQ(r.header.dwSize, sizeof(win::RAWINPUTHEADER) + sizeof(win::RAWKEYBOARD));
        EXPECT_EQ(r.header.wParam, r.msg.wParam);
        EXPECT_EQ(r.input.data.keyboard.VKey, keys[i]);
        EXPECT_EQ(r.input.data.keyboard.Message, messages[i]);
    }
    EXPECT_EQ(received[2].input.data.keyboard.Flags, win::RI_KEY_BREAK);
    EXPECT_EQ(received[1].input.data.keyboard.MakeCode, 0x2E);
    EXPECT_NE(handles[0], handles[1]);
}

TEST_F(RawInputTest, HandleIsValidOnlyWhileItsMessageIsHandled) {
    ASSERT_TRUE(RegisterKeyboard());
    win::testing::InjectKeyboardInput(0x41, win::WM_KEYDOWN);
    Pump();
    ASSERT_EQ(handles.size(), 1u);
    win::RAWINPUTHEADER header{};
    UINT size = sizeof(header);
    EXPECT_EQ(win::GetRawInputData(handles[0], win::RID_HEADER, &header, &size, sizeof(header)),
              Failed);
    EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_HANDLE);
    EXPECT_EQ(win::GetRawInputData(nullptr, win::RID_HEADER, &header, &size, sizeof(header)),
              Failed);
}

TEST_F(RawInputTest, ReadingChecksSizesAndCommand) {
    ASSERT_TRUE(RegisterKeyboard());
    std::vector<UINT> results;
    std::vector<win::DWORD> errors;
    UINT needed = 0;
    win::SetThreadMessageHandler([&](const win::MSG& msg) {
        auto handle = reinterpret_cast<win::HRAWINPUT>(msg.lParam);
        win::RAWINPUT input{};
        UINT size = 0;
        EXPECT_EQ(win::GetRawInputData(handle, win::RID_INPUT, nullptr, &needed,
                                       sizeof(win::RAWINPUTHEADER)),
                  0u);
        size = 8; // too small for the header
        results.push_back(win::GetRawInputData(handle, win::RID_HEADER, &input, &size,
                                               sizeof(win::RAWINPUTHEADER)));
        errors.push_back(win::GetLastError());
        size = sizeof(input);
        results.push_back(win::GetRawInputData(handle, win::RID_INPUT, &input, &size, 16 + 1));
        errors.push_back(win::GetLastError());
        results.push_back(
            win::GetRawInputData(handle, 0x10000004, &input, &size, sizeof(win::RAWINPUTHEADER)));
        errors.push_back(win::GetLastError());
        size = sizeof(win::RAWINPUTHEADER);
        results.push_back(win::GetRawInputData(handle, win::RID_INPUT, &input, &size,
                                               sizeof(win::RAWINPUTHEADER)));
        errors.push_back(win::GetLastError());
    });
    win::testing::InjectKeyboardInput(0x41, win::WM_KEYDOWN);
    Pump();
    EXPECT_EQ(needed, sizeof(win::RAWINPUTHEADER) + sizeof(win::RAWKEYBOARD));
    ASSERT_EQ(results.size(), 4u);
    for (UINT r : results)
        EXPECT_EQ(r, Failed);
    EXPECT_EQ(errors[0], win::ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(errors[1], win::ERROR_INVALID_PARAMETER);
    EXPECT_EQ(errors[2], win::ERROR_INVALID_PARAMETER);
    EXPECT_EQ(errors[3], win::ERROR_INSUFFICIENT_BUFFER);
}

TEST_F(RawInputTest, NothingArrivesWithoutAKeyboardRegistration) {
    const win::RAWINPUTDEVICE mouse{1, 2, win::RIDEV_INPUTSINK, nullptr};
    ASSERT_TRUE(win::RegisterRawInputDevices(&mouse, 1, sizeof(mouse)));
    win::testing::InjectKeyboardInput(0x41, win::WM_KEYDOWN);
    Pump();
    EXPECT_TRUE(received.empty());

    ASSERT_TRUE(RegisterKeyboard());
    const win::RAWINPUTDEVICE remove{1, 6, win::RIDEV_REMOVE, nullptr};
    ASSERT_TRUE(win::RegisterRawInputDevices(&remove, 1, sizeof(remove)));
    win::testing::InjectKeyboardInput(0x41, win::WM_KEYDOWN);
    Pump();
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(win::testing::RegisteredRawInputDevices().size(), 1u); // the mouse
}

TEST_F(RawInputTest, RegistrationRefusesAWrongRecordSize) {
    const win::RAWINPUTDEVICE device{1, 6, win::RIDEV_INPUTSINK, nullptr};
    EXPECT_FALSE(win::RegisterRawInputDevices(&device, 1, 12 + 1));
    EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(win::RegisterRawInputDevices(&device, 0, sizeof(device)));
    EXPECT_TRUE(win::testing::RegisteredRawInputDevices().empty());
    // Registering again replaces the earlier entry of the same kind.
    ASSERT_TRUE(RegisterKeyboard());
    ASSERT_TRUE(RegisterKeyboard());
    EXPECT_EQ(win::testing::RegisteredRawInputDevices().size(), 1u);
}

TEST_F(RawInputTest, InputOfOtherKindsAndSizesIsPassedAsIs) {
    ASSERT_TRUE(RegisterKeyboard());
    win::RAWINPUT mouse{};
    mouse.header.dwType = win::RIM_TYPEMOUSE;
    mouse.header.dwSize = sizeof(win::RAWINPUTHEADER) + sizeof(win::RAWMOUSE);
    mouse.data.mouse.lLastX = 5;
    win::testing::InjectRawInput(mouse);
    win::RAWINPUT large{};
    large.header.dwType = win::RIM_TYPEKEYBOARD;
    large.header.dwSize = sizeof(win::RAWINPUT) + 64;
    win::testing::InjectRawInput(large);
    Pump();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].header.dwType, win::RIM_TYPEMOUSE);
    EXPECT_EQ(received[0].input.data.mouse.lLastX, 5);
    EXPECT_EQ(received[1].header.dwSize, sizeof(win::RAWINPUT) + 64);
}

TEST(RawInputKeyData, PositionsGiveTheSystemVirtualKeys) {
    using win::testing::KeyboardDataForLinuxKey;
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
    using win::testing::KeyboardDataForLinuxKey;
    const win::RAWKEYBOARD print = KeyboardDataForLinuxKey(99, true);
    EXPECT_EQ(print.VKey, 0x2C); // VK_SNAPSHOT
    EXPECT_EQ(print.MakeCode, 0x37);
    EXPECT_EQ(print.Flags, win::RI_KEY_E0);
    const win::RAWKEYBOARD pause = KeyboardDataForLinuxKey(119, false);
    EXPECT_EQ(pause.VKey, 0x13);
    EXPECT_EQ(pause.Flags, win::RI_KEY_E1 | win::RI_KEY_BREAK);
    EXPECT_EQ(KeyboardDataForLinuxKey(30, true).Flags, win::RI_KEY_MAKE);
    EXPECT_EQ(KeyboardDataForLinuxKey(30, true).MakeCode, 0x1E);
}

TEST(RawInputKeyData, ModifiersAreGenericAndAltIsASystemKey) {
    using win::testing::KeyboardDataForLinuxKey;
    const win::RAWKEYBOARD leftCtrl = KeyboardDataForLinuxKey(29, true);
    const win::RAWKEYBOARD rightCtrl = KeyboardDataForLinuxKey(97, true);
    EXPECT_EQ(leftCtrl.VKey, 0x11);
    EXPECT_EQ(rightCtrl.VKey, 0x11);
    EXPECT_EQ(leftCtrl.Flags, 0);
    EXPECT_EQ(rightCtrl.Flags, win::RI_KEY_E0);
    EXPECT_EQ(KeyboardDataForLinuxKey(42, true).VKey, 0x10);
    EXPECT_EQ(KeyboardDataForLinuxKey(54, true).VKey, 0x10);
    EXPECT_EQ(KeyboardDataForLinuxKey(29, true).Message, win::WM_KEYDOWN);
    EXPECT_EQ(KeyboardDataForLinuxKey(29, false).Message, win::WM_KEYUP);
    EXPECT_EQ(KeyboardDataForLinuxKey(100, true).VKey, 0x12);
    EXPECT_EQ(KeyboardDataForLinuxKey(56, true).Message, win::WM_SYSKEYDOWN);
    EXPECT_EQ(KeyboardDataForLinuxKey(56, false).Message, win::WM_SYSKEYUP);
    EXPECT_EQ(KeyboardDataForLinuxKey(68, true).Message, win::WM_SYSKEYDOWN); // F10
}

} // namespace
