#include "platform/desktop/RawInput.h"

#include "platform/win/Kernel.h"
#include "platform/desktop/RawInputSource.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace platform::desktop {
namespace {

struct RawInputState {
    std::mutex lock;
    std::vector<RAWINPUTDEVICE> devices;
    TThreadMessageHandler handler;
    // Inputs whose WM_INPUT message is waiting or being handled, by handle number.
    std::map<uintptr_t, std::vector<win::BYTE>> inputs;
    uintptr_t nextHandle = 1;
    bool sourceAsked = false;
    bool sourceAvailable = false;
};

RawInputState& State() {
    static RawInputState state;
    return state;
}

bool IsKeyboard(const RAWINPUTDEVICE& d) {
    return d.usUsagePage == HID_USAGE_PAGE_GENERIC && d.usUsage == HID_USAGE_GENERIC_KEYBOARD;
}

// The keyboard registration, if there is one (caller holds the lock).
const RAWINPUTDEVICE* KeyboardRegistration(const RawInputState& s) {
    auto it = std::find_if(s.devices.begin(), s.devices.end(), IsKeyboard);
    return it == s.devices.end() ? nullptr : &*it;
}

// Posts WM_INPUT for the input to the registered program; the handle lives until the
// message has been handled.
void Post(const RAWINPUT& input) {
    RawInputState& s = State();
    MSG msg{};
    uintptr_t handle = 0;
    {
        std::lock_guard guard(s.lock);
        const RAWINPUTDEVICE* keyboard = KeyboardRegistration(s);
        if (!keyboard || !s.handler) return;
        handle = s.nextHandle++;
        std::vector<win::BYTE> bytes(std::max<size_t>(input.header.dwSize, sizeof(RAWINPUTHEADER)));
        std::memcpy(bytes.data(), &input, std::min(bytes.size(), sizeof(RAWINPUT)));
        s.inputs.emplace(handle, std::move(bytes));
        msg = MSG{keyboard->hwndTarget, WM_INPUT, input.header.wParam, static_cast<LPARAM>(handle)};
    }
    detail::PostToMessageLoop([msg, handle] {
        RawInputState& s = State();
        TThreadMessageHandler handler;
        {
            std::lock_guard guard(s.lock);
            handler = s.handler;
        }
        if (handler) handler(msg);
        std::lock_guard guard(s.lock);
        s.inputs.erase(handle);
    });
}

} // namespace

namespace detail {

void DeliverKeyboardInput(const RAWKEYBOARD& keyboard) {
    RAWINPUT input{};
    input.header.dwType = RIM_TYPEKEYBOARD;
    input.header.dwSize = sizeof(RAWINPUTHEADER) + sizeof(RAWKEYBOARD);
    // One device handle stands for every keyboard: the X server merges them.
    input.header.hDevice = reinterpret_cast<win::HANDLE>(uintptr_t{1});
    input.header.wParam = ProgramInForeground() ? RIM_INPUT : RIM_INPUTSINK;
    input.data.keyboard = keyboard;
    Post(input);
}

} // namespace detail

win::BOOL RegisterRawInputDevices(const RAWINPUTDEVICE* devices, win::UINT count, win::UINT size) {
    if (!devices || count == 0 || size != sizeof(RAWINPUTDEVICE)) {
        win::SetLastError(win::ERROR_INVALID_PARAMETER);
        return 0;
    }
    RawInputState& s = State();
    bool startSource = false;
    {
        std::lock_guard guard(s.lock);
        for (win::UINT i = 0; i < count; ++i) {
            const RAWINPUTDEVICE& d = devices[i];
            auto same = [&d](const RAWINPUTDEVICE& r) {
                return r.usUsagePage == d.usUsagePage && r.usUsage == d.usUsage;
            };
            std::erase_if(s.devices, same);
            if (d.dwFlags & RIDEV_REMOVE) continue;
            s.devices.push_back(d);
            if (IsKeyboard(d) && !s.sourceAsked) startSource = s.sourceAsked = true;
        }
    }
    if (startSource) {
        const bool available = detail::StartKeyboardSource();
        std::lock_guard guard(s.lock);
        s.sourceAvailable = available;
    }
    return 1;
}

win::UINT GetRawInputData(HRAWINPUT input, win::UINT command, void* data, win::UINT* size,
                          win::UINT headerSize) {
    constexpr win::UINT Failed = static_cast<win::UINT>(-1);
    if (!size || headerSize != sizeof(RAWINPUTHEADER) ||
        (command != RID_HEADER && command != RID_INPUT)) {
        win::SetLastError(win::ERROR_INVALID_PARAMETER);
        return Failed;
    }
    RawInputState& s = State();
    std::lock_guard guard(s.lock);
    auto it = s.inputs.find(reinterpret_cast<uintptr_t>(input));
    if (it == s.inputs.end()) {
        win::SetLastError(win::ERROR_INVALID_HANDLE);
        return Failed;
    }
    const std::vector<win::BYTE>& bytes = it->second;
    const win::UINT needed = command == RID_HEADER ? win::UINT{sizeof(RAWINPUTHEADER)}
                                                   : static_cast<win::UINT>(bytes.size());
    if (!data) {
        *size = needed;
        return 0;
    }
    if (*size < needed) {
        win::SetLastError(win::ERROR_INSUFFICIENT_BUFFER);
        return Failed;
    }
    std::memcpy(data, bytes.data(), needed);
    return needed;
}

std::string RawInputErrorText(win::DWORD error) {
    switch (error) {
    case win::ERROR_SUCCESS:
        return "The operation completed successfully.";
    case win::ERROR_INVALID_HANDLE:
        return "The handle is invalid.";
    case win::ERROR_INVALID_PARAMETER:
        return "The parameter is incorrect.";
    case win::ERROR_INSUFFICIENT_BUFFER:
        return "The data area passed to a system call is too small.";
    default:
        return "Unknown error.";
    }
}

void SetThreadMessageHandler(TThreadMessageHandler handler) {
    RawInputState& s = State();
    std::lock_guard guard(s.lock);
    s.handler = std::move(handler);
}

bool RawKeyboardCaptureAvailable() {
    RawInputState& s = State();
    std::lock_guard guard(s.lock);
    return s.sourceAvailable;
}

namespace testing {

void InjectKeyboardInput(win::USHORT virtualKey, win::UINT message, win::USHORT makeCode,
                         win::USHORT flags) {
    RAWKEYBOARD keyboard{};
    keyboard.VKey = virtualKey;
    keyboard.Message = message;
    keyboard.MakeCode = makeCode;
    keyboard.Flags = flags;
    detail::DeliverKeyboardInput(keyboard);
}

void InjectRawInput(const RAWINPUT& input) {
    Post(input);
}

std::vector<RAWINPUTDEVICE> RegisteredRawInputDevices() {
    RawInputState& s = State();
    std::lock_guard guard(s.lock);
    return s.devices;
}

void ResetRawInput() {
    RawInputState& s = State();
    std::lock_guard guard(s.lock);
    s.devices.clear();
    s.inputs.clear();
}

RAWKEYBOARD KeyboardDataForLinuxKey(int linuxKeyCode, bool pressed) {
    return detail::LinuxKeyData(linuxKeyCode, pressed);
}

} // namespace testing

} // namespace platform::desktop
