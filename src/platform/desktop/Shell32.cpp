#include "platform/desktop/Shell32.h"

#include <cstdint>
#include <cstring>

namespace platform::desktop {

namespace {

constexpr intptr_t SE_ERR_NOASSOC = 31;
constexpr intptr_t SE_ERR_OK = 42; // any value above 32 means success

std::function<bool(const std::string&)>& OpenHandler() {
    static std::function<bool(const std::string&)> handler;
    return handler;
}

HINSTANCE Result(intptr_t code) {
    return reinterpret_cast<HINSTANCE>(code);
}

} // namespace

HINSTANCE ShellExecuteA(win::HWND /*window*/, win::LPCSTR operation, win::LPCSTR file,
                        win::LPCSTR /*parameters*/, win::LPCSTR /*directory*/,
                        int /*showCommand*/) {
    if (!file || !*file) return Result(win::ERROR_FILE_NOT_FOUND);
    if (operation && std::strcmp(operation, "open") != 0) return Result(SE_ERR_NOASSOC);
    const std::string target(file);
    const bool opened = OpenHandler() ? OpenHandler()(target) : detail::DesktopOpen(target);
    return Result(opened ? SE_ERR_OK : SE_ERR_NOASSOC);
}

namespace testing {
void SetShellOpenHandler(std::function<bool(const std::string& file)> open) {
    OpenHandler() = std::move(open);
}
} // namespace testing

} // namespace platform::desktop
