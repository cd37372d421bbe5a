// The key vocabulary: virtual keys to key codes, key codes to names and stored usages,
// stored usages back to names.
#include "device/KeyboardFunction.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace device;

TEST(KeyTableVirtualKeys, VirtualKeyFFIsTheKeyNamed255WithoutUsage) {
    EXPECT_EQ(VirtualKeyToKeyCode(0xFF), kh_255);
    EXPECT_EQ(VirtualKeyToKeyCode(0xFF), 2);
    EXPECT_EQ(KeyCodeToName(2), "255");
    EXPECT_EQ(KeyCodeToHidUsage(2), 0);
}

TEST(KeyTableVirtualKeys, DigitRowAndNumericPadDiffer) {
    EXPECT_EQ(VirtualKeyToKeyCode(0x30), 104);
    EXPECT_EQ(KeyCodeToName(104), "0");
    EXPECT_EQ(KeyCodeToHidUsage(104), 0x27);
    EXPECT_EQ(VirtualKeyToKeyCode(0x31), 105);
    EXPECT_EQ(KeyCodeToHidUsage(105), 0x1E);
    EXPECT_EQ(KeyCodeToHidUsage(VirtualKeyToKeyCode(0x39)), 0x26);

    EXPECT_EQ(VirtualKeyToKeyCode(0x60), 30);
    EXPECT_EQ(KeyCodeToName(30), "0 (numeric pad)");
    EXPECT_EQ(KeyCodeToHidUsage(30), 0x62);
    EXPECT_EQ(VirtualKeyToKeyCode(0x61), 31);
    EXPECT_EQ(KeyCodeToHidUsage(31), 0x59);
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0x69)), "9 (numeric pad)");
    EXPECT_EQ(KeyCodeToHidUsage(VirtualKeyToKeyCode(0x69)), 0x61);
}

TEST(KeyTableVirtualKeys, GenericAndSideSpecificModifiers) {
    EXPECT_EQ(VirtualKeyToKeyCode(0x10), kh_Shift);
    EXPECT_EQ(VirtualKeyToKeyCode(0x11), kh_Control);
    EXPECT_EQ(VirtualKeyToKeyCode(0x12), kh_Alt);
    const TKeyboardHookKey sided[] = {kh_LShift,   kh_RShift, kh_LControl,
                                      kh_RControl, kh_LAlt,   kh_RAlt};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(VirtualKeyToKeyCode(0xA0 + i), sided[i]) << i;
    EXPECT_EQ(kh_LShift, 72);
    EXPECT_EQ(kh_RAlt, 77);
}

TEST(KeyTableVirtualKeys, OutOfRangeAndUnknownKeysAreNone) {
    for (int vk : {-1,   0,    1,    7,    0x0A, 0x0B, 0x0E, 0x15, 0x2B, 0x3A,  0x40,  0x5E,
                   0x5F, 0x88, 0x92, 0xB8, 0xC1, 0xDA, 0xE0, 0xE2, 0xFE, 0x100, 0x141, 0x10000})
        EXPECT_EQ(VirtualKeyToKeyCode(vk), kh_None) << std::hex << vk;
}

TEST(KeyTableVirtualKeys, DemoAndKeypadEnterAreNeverProduced) {
    for (int vk = -8; vk < 0x200; ++vk) {
        const TKeyboardHookKey key = VirtualKeyToKeyCode(vk);
        EXPECT_NE(key, kh_Demo) << vk;
        EXPECT_NE(key, kh_Return_KP) << vk;
    }
}

TEST(KeyTableVirtualKeys, EachCodeComesFromExactlyOneVirtualKey) {
    std::multiset<int> produced;
    for (int vk = 0; vk <= 0xFF; ++vk)
        if (VirtualKeyToKeyCode(vk) != kh_None) produced.insert(VirtualKeyToKeyCode(vk));
    for (int code = 2; code < 144; ++code)
        EXPECT_EQ(produced.count(code), 1u) << code;
}

TEST(KeyTableVirtualKeys, RangesRunInStep) {
    for (int i = 0; i < 26; ++i) {
        const TKeyboardHookKey key = VirtualKeyToKeyCode('A' + i);
        EXPECT_EQ(key, kh_A + i);
        EXPECT_EQ(KeyCodeToName(key), std::string(1, static_cast<char>('A' + i)));
        EXPECT_EQ(KeyCodeToHidUsage(key), 0x04 + i);
    }
    for (int i = 0; i < 24; ++i) {
        const TKeyboardHookKey key = VirtualKeyToKeyCode(0x70 + i);
        EXPECT_EQ(key, kh_F1 + i);
        EXPECT_EQ(KeyCodeToName(key), "F" + std::to_string(i + 1));
        EXPECT_EQ(KeyCodeToHidUsage(key), i < 12 ? 0x3A + i : 0x68 + i - 12) << i;
    }
    const int oemKeys[] = {0xBA, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF};
    const int oemUsages[] = {0x33, 0x38, 0x35, 0x2F, 0x31, 0x30, 0x34, 0};
    for (int i = 0; i < 8; ++i) {
        const TKeyboardHookKey key = VirtualKeyToKeyCode(oemKeys[i]);
        EXPECT_EQ(key, kh_OEM_1 + i);
        EXPECT_EQ(KeyCodeToName(key), "OEM_" + std::to_string(i + 1));
        EXPECT_EQ(KeyCodeToHidUsage(key), oemUsages[i]);
    }
}

TEST(KeyTableNames, NamedKeysWithTheirSystemTexts) {
    EXPECT_EQ(KeyCodeToName(0), "None");
    EXPECT_EQ(KeyCodeToName(1), "Demo");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0x08)), "Backspace");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0x09)), "Tab");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0x0D)), "Enter");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0x14)), "Caps Lock");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0x1B)), "Esc");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0x20)), "Space bar");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0x2C)), "Print Screen");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0x5B)), "Left Windows");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0x6C)), "Separator (numeric pad)");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0x90)), "Num Lock");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0x91)), "Scroll Lock");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0xA3)), "Right Ctrl");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0xBB)), "OEM_Plus");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0xBE)), "OEM_Period");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0xA6)), "Browser_Back");
    EXPECT_EQ(KeyCodeToName(VirtualKeyToKeyCode(0xB5)), "Launch_Media_Select");
    EXPECT_EQ(KeyCodeToName(143), "Launch_App2");
}

TEST(KeyTableNames, KeypadEnterAndBeyondHaveNoName) {
    EXPECT_EQ(KeyCodeToName(144), "");
    EXPECT_EQ(KeyCodeToName(145), "");
    EXPECT_EQ(KeyCodeToName(255), "");
}

TEST(KeyTableNames, NamesArePlainAsciiAndDistinct) {
    std::set<std::string> names;
    for (int code = 0; code < 144; ++code) {
        const std::string name = KeyCodeToName(static_cast<uint8_t>(code));
        ASSERT_FALSE(name.empty()) << code;
        for (char c : name)
            EXPECT_TRUE(c > 0x1F && c < 0x7F) << code;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 144u);
}

TEST(KeyTableUsages, KeysOutsideTheKeyboardPage) {
    EXPECT_EQ(KeyCodeToHidUsage(kh_Clear), 0x9C);
    EXPECT_EQ(KeyCodeToHidUsage(kh_Select), 0x77);
    EXPECT_EQ(KeyCodeToHidUsage(kh_Help), 0x75);
    EXPECT_EQ(KeyCodeToHidUsage(kh_APPS), 0x65);
    EXPECT_EQ(KeyCodeToHidUsage(kh_Separator), 0x58);
    EXPECT_EQ(HidUsageToKeyName(0x58), "Separator (numeric pad)");
    EXPECT_EQ(HidUsageToKeyName(0x9C), "Clear");
}

TEST(KeyTableUsages, KeysTheMouseCannotSend) {
    for (int code : {0, 1, 2, 121, 142, 143, 144, 145, 200, 255})
        EXPECT_EQ(KeyCodeToHidUsage(static_cast<uint8_t>(code)), 0) << code;
    EXPECT_EQ(HidUsageToKeyName(0), "");
}

TEST(KeyTableUsages, GenericModifierSharesTheLeftHandUsage) {
    EXPECT_EQ(KeyCodeToHidUsage(kh_Shift), 0xE1);
    EXPECT_EQ(KeyCodeToHidUsage(kh_LShift), 0xE1);
    EXPECT_EQ(KeyCodeToHidUsage(kh_Control), 0xE0);
    EXPECT_EQ(KeyCodeToHidUsage(kh_LControl), 0xE0);
    EXPECT_EQ(KeyCodeToHidUsage(kh_Alt), 0xE2);
    EXPECT_EQ(KeyCodeToHidUsage(kh_LAlt), 0xE2);
    EXPECT_EQ(HidUsageToKeyName(0xE0), "Left Ctrl");
    EXPECT_EQ(HidUsageToKeyName(0xE1), "Left Shift");
    EXPECT_EQ(HidUsageToKeyName(0xE2), "Left Alt");
    EXPECT_EQ(HidUsageToKeyName(0xE4), "Right Ctrl");
    EXPECT_EQ(HidUsageToKeyName(0xE5), "Right Shift");
    EXPECT_EQ(HidUsageToKeyName(0xE6), "Right Alt");
}

TEST(KeyTableUsages, BothWindowsKeysAreWin) {
    EXPECT_EQ(KeyCodeToHidUsage(kh_LWIN), 0xE3);
    EXPECT_EQ(KeyCodeToHidUsage(kh_RWIN), 0xE7);
    EXPECT_EQ(HidUsageToKeyName(0xE3), "Win");
    EXPECT_EQ(HidUsageToKeyName(0xE7), "Win");
}

TEST(KeyTableUsages, MediaKeysUseTheMouseOwnCodes) {
    const int codes[] = {0xCA, 0xCB, 0xCD, 0xCC, 0xC8, 0xCE, 0xC9, 0xC4,
                         0xC6, 0xC5, 0xC0, 0xC1, 0xC2, 0xC3, 0xC7, 0xD1};
    for (int i = 0; i < 16; ++i) {
        const uint8_t key = static_cast<uint8_t>(kh_Browser_Back + i);
        EXPECT_EQ(KeyCodeToHidUsage(key), codes[i]) << i;
        EXPECT_EQ(HidUsageToKeyName(codes[i]), KeyCodeToName(key)) << i;
    }
    EXPECT_EQ(HidUsageToKeyName(0xC0), "Media_Next_Track");
    EXPECT_EQ(HidUsageToKeyName(0xC8), "Browser_Search");
    EXPECT_EQ(HidUsageToKeyName(0xD1), "Launch_Media_Select");
    EXPECT_EQ(HidUsageToKeyName(0xCF), "");
    EXPECT_EQ(HidUsageToKeyName(0xD0), "");
}

TEST(KeyTableUsages, UsagesNoKeyProducesHaveNoName) {
    auto unnamed = [](int u) {
        return u <= 0x03 || u == 0x32 || u == 0x64 || u == 0x66 || u == 0x67 || u == 0x74 ||
               u == 0x76 || (u >= 0x78 && u <= 0x9B) || (u >= 0x9D && u <= 0xBF) || u == 0xCF ||
               u == 0xD0 || (u >= 0xD2 && u <= 0xDF) || u > 0xE7;
    };
    for (int usage = -1; usage <= 0x1FF; ++usage)
        EXPECT_EQ(HidUsageToKeyName(usage).empty(), unnamed(usage)) << std::hex << usage;
}

TEST(KeyTableUsages, StoredUsageNamesTheKeyItCameFrom) {
    for (int code = 0; code < KeyboardHookKeyCount; ++code) {
        const uint8_t key = static_cast<uint8_t>(code);
        const int usage = KeyCodeToHidUsage(key);
        if (usage == 0 || key == kh_Shift || key == kh_Control || key == kh_Alt || key == kh_LWIN ||
            key == kh_RWIN)
            continue;
        EXPECT_EQ(HidUsageToKeyName(usage), KeyCodeToName(key)) << code;
    }
}

} // namespace
