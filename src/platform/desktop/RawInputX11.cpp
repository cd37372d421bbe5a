// The toolkit side of raw keyboard input: posted messages travel through the Qt event loop,
// and on an X display the keys come from the X server's raw key events (XInput2), which
// reach the program whichever window has the focus.
#include "platform/desktop/RawInputSource.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QtGui/qguiapplication_platform.h>

#ifdef VTRM_HAVE_XCB
#include <xcb/xcb.h>
#include <xcb/xinput.h>
#endif

#include <array>
#include <cstdlib>

namespace platform::desktop::detail {
namespace {

constexpr win::USHORT VK_MENU = 0x12;
constexpr win::USHORT VK_CONTROL = 0x11;
constexpr win::USHORT VK_F10 = 0x79;
// What the system reports for a key that has no virtual key.
constexpr win::USHORT VK_NONE_KEY = 0xFF;

constexpr uint16_t E0 = 0xE000; // scan code sent with the E0 prefix
constexpr uint16_t E1 = 0xE100; // ... with the E1 prefix (Pause)

struct KeyPosition {
    int linuxCode;
    win::USHORT virtualKey;
    uint16_t scanCode; // set 1, with its prefix in the high byte
};

// By key position (Linux input code), the virtual key of the US layout and the scan code.
// The input codes below 89 are the set-1 scan codes themselves.
constexpr KeyPosition KeyPositions[] = {
    {1, 0x1B, 0x01}, // Esc
    {2, '1', 0x02},
    {3, '2', 0x03},
    {4, '3', 0x04},
    {5, '4', 0x05},
    {6, '5', 0x06},
    {7, '6', 0x07},
    {8, '7', 0x08},
    {9, '8', 0x09},
    {10, '9', 0x0A},
    {11, '0', 0x0B},
    {12, 0xBD, 0x0C}, // minus: VK_OEM_MINUS
    {13, 0xBB, 0x0D}, // equal: VK_OEM_PLUS
    {14, 0x08, 0x0E}, // Backspace
    {15, 0x09, 0x0F}, // Tab
    {16, 'Q', 0x10},
    {17, 'W', 0x11},
    {18, 'E', 0x12},
    {19, 'R', 0x13},
    {20, 'T', 0x14},
    {21, 'Y', 0x15},
    {22, 'U', 0x16},
    {23, 'I', 0x17},
    {24, 'O', 0x18},
    {25, 'P', 0x19},
    {26, 0xDB, 0x1A},       // [ VK_OEM_4
    {27, 0xDD, 0x1B},       // ] VK_OEM_6
    {28, 0x0D, 0x1C},       // Enter
    {29, VK_CONTROL, 0x1D}, // left Ctrl
    {30, 'A', 0x1E},
    {31, 'S', 0x1F},
    {32, 'D', 0x20},
    {33, 'F', 0x21},
    {34, 'G', 0x22},
    {35, 'H', 0x23},
    {36, 'J', 0x24},
    {37, 'K', 0x25},
    {38, 'L', 0x26},
    {39, 0xBA, 0x27}, // ; VK_OEM_1
    {40, 0xDE, 0x28}, // ' VK_OEM_7
    {41, 0xC0, 0x29}, // ` VK_OEM_3
    {42, 0x10, 0x2A}, // left Shift
    {43, 0xDC, 0x2B}, // backslash VK_OEM_5
    {44, 'Z', 0x2C},
    {45, 'X', 0x2D},
    {46, 'C', 0x2E},
    {47, 'V', 0x2F},
    {48, 'B', 0x30},
    {49, 'N', 0x31},
    {50, 'M', 0x32},
    {51, 0xBC, 0x33},    // , VK_OEM_COMMA
    {52, 0xBE, 0x34},    // . VK_OEM_PERIOD
    {53, 0xBF, 0x35},    // / VK_OEM_2
    {54, 0x10, 0x36},    // right Shift
    {55, 0x6A, 0x37},    // keypad *
    {56, VK_MENU, 0x38}, // left Alt
    {57, 0x20, 0x39},    // Space
    {58, 0x14, 0x3A},    // Caps Lock
    {59, 0x70, 0x3B},
    {60, 0x71, 0x3C},
    {61, 0x72, 0x3D}, // F1..F3
    {62, 0x73, 0x3E},
    {63, 0x74, 0x3F},
    {64, 0x75, 0x40}, // F4..F6
    {65, 0x76, 0x41},
    {66, 0x77, 0x42},
    {67, 0x78, 0x43},   // F7..F9
    {68, VK_F10, 0x44}, // F10
    {69, 0x90, 0x45},   // Num Lock
    {70, 0x91, 0x46},   // Scroll Lock
    {71, 0x67, 0x47},
    {72, 0x68, 0x48},
    {73, 0x69, 0x49}, // keypad 7 8 9
    {74, 0x6D, 0x4A}, // keypad -
    {75, 0x64, 0x4B},
    {76, 0x65, 0x4C},
    {77, 0x66, 0x4D}, // keypad 4 5 6
    {78, 0x6B, 0x4E}, // keypad +
    {79, 0x61, 0x4F},
    {80, 0x62, 0x50},
    {81, 0x63, 0x51}, // keypad 1 2 3
    {82, 0x60, 0x52}, // keypad 0
    {83, 0x6E, 0x53}, // keypad .
    {86, 0xE2, 0x56}, // the extra ISO key: VK_OEM_102
    {87, 0x7A, 0x57},
    {88, 0x7B, 0x58},            // F11, F12
    {96, 0x0D, E0 | 0x1C},       // keypad Enter
    {97, VK_CONTROL, E0 | 0x1D}, // right Ctrl
    {98, 0x6F, E0 | 0x35},       // keypad /
    {99, 0x2C, E0 | 0x37},       // Print Screen: VK_SNAPSHOT
    {100, VK_MENU, E0 | 0x38},   // right Alt
    {102, 0x24, E0 | 0x47},      // Home
    {103, 0x26, E0 | 0x48},      // Up
    {104, 0x21, E0 | 0x49},      // Page Up
    {105, 0x25, E0 | 0x4B},      // Left
    {106, 0x27, E0 | 0x4D},      // Right
    {107, 0x23, E0 | 0x4F},      // End
    {108, 0x28, E0 | 0x50},      // Down
    {109, 0x22, E0 | 0x51},      // Page Down
    {110, 0x2D, E0 | 0x52},      // Insert
    {111, 0x2E, E0 | 0x53},      // Delete
    {113, 0xAD, E0 | 0x20},      // Mute
    {114, 0xAE, E0 | 0x2E},      // Volume Down
    {115, 0xAF, E0 | 0x30},      // Volume Up
    {119, 0x13, E1 | 0x1D},      // Pause
    {125, 0x5B, E0 | 0x5B},      // left Windows
    {126, 0x5C, E0 | 0x5C},      // right Windows
    {127, 0x5D, E0 | 0x5D},      // Applications (menu)
    {128, 0xA9, E0 | 0x68},      // browser Stop
    {138, 0x2F, 0x63},           // Help
    {140, 0xB7, E0 | 0x21},      // calculator: VK_LAUNCH_APP2
    {155, 0xB4, E0 | 0x6C},      // mail
    {156, 0xAB, E0 | 0x66},      // browser Favorites
    {157, 0xB6, E0 | 0x6B},      // my computer: VK_LAUNCH_APP1
    {158, 0xA6, E0 | 0x6A},      // browser Back
    {159, 0xA7, E0 | 0x69},      // browser Forward
    {163, 0xB0, E0 | 0x19},      // next track
    {164, 0xB3, E0 | 0x22},      // play/pause
    {165, 0xB1, E0 | 0x10},      // previous track
    {166, 0xB2, E0 | 0x24},      // stop
    {171, 0xB5, E0 | 0x6D},      // media select
    {172, 0xAC, E0 | 0x32},      // browser Home
    {173, 0xA8, E0 | 0x67},      // browser Refresh
    {183, 0x7C, 0x64},
    {184, 0x7D, 0x65},
    {185, 0x7E, 0x66}, // F13..F15
    {186, 0x7F, 0x67},
    {187, 0x80, 0x68},
    {188, 0x81, 0x69}, // F16..F18
    {189, 0x82, 0x6A},
    {190, 0x83, 0x6B},
    {191, 0x84, 0x6C}, // F19..F21
    {192, 0x85, 0x6D},
    {193, 0x86, 0x6E},
    {194, 0x87, 0x76},      // F22..F24
    {217, 0xAA, E0 | 0x65}, // browser Search
    {226, 0xB5, E0 | 0x6D}, // media
};

const KeyPosition* FindPosition(int linuxCode) {
    for (const KeyPosition& p : KeyPositions)
        if (p.linuxCode == linuxCode) return &p;
    return nullptr;
}

#ifdef VTRM_HAVE_XCB

// The virtual key a letter or digit key has in the active layout, from its unshifted
// symbol; 0 for other symbols.
win::USHORT LetterOrDigitKey(uint32_t keysym) {
    if (keysym >= 'a' && keysym <= 'z') return static_cast<win::USHORT>(keysym - 'a' + 'A');
    if ((keysym >= 'A' && keysym <= 'Z') || (keysym >= '0' && keysym <= '9'))
        return static_cast<win::USHORT>(keysym);
    return 0;
}

class XKeySource : public QAbstractNativeEventFilter {
public:
    XKeySource(xcb_connection_t* connection, uint8_t opcode)
        : connection_(connection), opcode_(opcode) {
        ReadKeyboardMapping();
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t") return false;
        auto* event = static_cast<xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_GE_GENERIC) return false;
        auto* generic = reinterpret_cast<xcb_ge_generic_event_t*>(event);
        if (generic->extension != opcode_) return false;
        const bool press = generic->event_type == XCB_INPUT_RAW_KEY_PRESS;
        if (!press && generic->event_type != XCB_INPUT_RAW_KEY_RELEASE) return false;
        const uint32_t keycode = reinterpret_cast<xcb_input_raw_key_press_event_t*>(event)->detail;
        Deliver(keycode, press);
        return false; // Qt's own handling goes on
    }

private:
    void ReadKeyboardMapping() {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        const int first = setup->min_keycode;
        const int count = setup->max_keycode - first + 1;
        xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
            connection_,
            xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<uint8_t>(count)),
            nullptr);
        if (!reply) return;
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply);
        const int perKey = reply->keysyms_per_keycode;
        const int available = xcb_get_keyboard_mapping_keysyms_length(reply);
        for (int i = 0; i < count && perKey > 0 && (i + 1) * perKey <= available; ++i)
            if (first + i < static_cast<int>(firstKeysym_.size()))
                firstKeysym_[first + i] = keysyms[i * perKey];
        std::free(reply);
    }

    void Deliver(uint32_t keycode, bool press) {
        RAWKEYBOARD keyboard = LinuxKeyData(static_cast<int>(keycode) - 8, press);
        if (keycode < firstKeysym_.size())
            if (const win::USHORT vk = LetterOrDigitKey(firstKeysym_[keycode]); vk != 0)
                keyboard.VKey = vk;
        if (keyboard.VKey == VK_MENU) altDown_ = press;
        if (keyboard.VKey == VK_CONTROL) ctrlDown_ = press;
        // Keys typed while Alt is held (without Ctrl) are system keys.
        if (altDown_ && !ctrlDown_ && keyboard.VKey != VK_MENU)
            keyboard.Message = press ? WM_SYSKEYDOWN : WM_SYSKEYUP;
        DeliverKeyboardInput(keyboard);
    }

    xcb_connection_t* connection_;
    uint8_t opcode_;
    std::array<xcb_keysym_t, 256> firstKeysym_{};
    bool altDown_ = false;
    bool ctrlDown_ = false;
};

// Asks the X server for raw key events of all master keyboards on the root window.
bool SelectRawKeys(xcb_connection_t* connection, xcb_window_t root) {
    struct {
        xcb_input_event_mask_t head;
        uint32_t mask;
    } selection{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
                XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE};
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_input_xi_select_events_checked(connection, root, 1, &selection.head));
    std::free(error);
    return error == nullptr;
}

bool StartXKeySource() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb")) return false;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    // Under other platforms the interface can exist without a connection.
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return false;
    const xcb_query_extension_reply_t* extension =
        xcb_get_extension_data(connection, &xcb_input_id);
    if (!extension || !extension->present) return false;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen) return false;
    if (!SelectRawKeys(connection, screen->root)) {
        // The toolkit normally announces its XInput2 version on this connection; when it
        // has not, the server refuses the selection until someone does.
        std::free(xcb_input_xi_query_version_reply(
            connection, xcb_input_xi_query_version(connection, 2, 2), nullptr));
        if (!SelectRawKeys(connection, screen->root)) return false;
    }
    // Lives as long as the application: the selection lasts for the connection's life.
    app->installNativeEventFilter(new XKeySource(connection, extension->major_opcode));
    return true;
}

#endif

} // namespace

RAWKEYBOARD LinuxKeyData(int linuxKeyCode, bool pressed) {
    RAWKEYBOARD keyboard{};
    const KeyPosition* position = FindPosition(linuxKeyCode);
    keyboard.VKey = position ? position->virtualKey : VK_NONE_KEY;
    const uint16_t scan = position ? position->scanCode : 0;
    keyboard.MakeCode = static_cast<win::USHORT>(scan & 0xFF);
    keyboard.Flags = pressed ? RI_KEY_MAKE : RI_KEY_BREAK;
    if ((scan & 0xFF00) == E0) keyboard.Flags |= RI_KEY_E0;
    if ((scan & 0xFF00) == E1) keyboard.Flags |= RI_KEY_E1;
    const bool systemKey = keyboard.VKey == VK_MENU || keyboard.VKey == VK_F10;
    keyboard.Message =
        pressed ? (systemKey ? WM_SYSKEYDOWN : WM_KEYDOWN) : (systemKey ? WM_SYSKEYUP : WM_KEYUP);
    return keyboard;
}

void PostToMessageLoop(std::function<void()> task) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(app, std::move(task), Qt::QueuedConnection);
}

bool StartKeyboardSource() {
#ifdef VTRM_HAVE_XCB
    return StartXKeySource();
#else
    return false;
#endif
}

bool ProgramInForeground() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
           QGuiApplication::applicationState() == Qt::ApplicationActive;
}

} // namespace platform::desktop::detail
