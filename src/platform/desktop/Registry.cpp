#include "platform/desktop/Registry.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace platform::desktop {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string ValueKey(std::string_view key, std::string_view name) {
    return Lower(key) + '\n' + Lower(name);
}

struct Overrides {
    std::mutex lock;
    std::map<std::string, std::optional<std::string>> values;
};

Overrides& TheOverrides() {
    static Overrides overrides;
    return overrides;
}

// Values the desktop has no setting for: the Windows defaults of a fresh account.
std::optional<std::string> DefaultValue(std::string_view key, std::string_view name) {
    static const std::map<std::string, std::string> defaults = {
        {ValueKey("Control Panel\\Mouse", "MouseSensitivity"), "10"},
        {ValueKey("Control Panel\\Mouse", "MouseSpeed"), "1"},
        {ValueKey("Control Panel\\Mouse", "MouseThreshold1"), "6"},
        {ValueKey("Control Panel\\Mouse", "MouseThreshold2"), "10"},
        {ValueKey("Control Panel\\Mouse", "DoubleClickSpeed"), "500"},
        {ValueKey("Control Panel\\Desktop", "WheelScrollLines"), "3"},
    };
    auto it = defaults.find(ValueKey(key, name));
    if (it == defaults.end()) return std::nullopt;
    return it->second;
}

} // namespace

std::optional<std::string> ReadCurrentUserValue(std::string_view key, std::string_view name) {
    {
        Overrides& o = TheOverrides();
        std::lock_guard guard(o.lock);
        auto it = o.values.find(ValueKey(key, name));
        if (it != o.values.end()) return it->second;
    }
    if (auto desktop = detail::DesktopValue(key, name)) return desktop;
    return DefaultValue(key, name);
}

namespace testing {

void OverrideCurrentUserValue(std::string_view key, std::string_view name,
                              std::optional<std::string> text) {
    Overrides& o = TheOverrides();
    std::lock_guard guard(o.lock);
    o.values[ValueKey(key, name)] = std::move(text);
}

void ClearCurrentUserOverrides() {
    Overrides& o = TheOverrides();
    std::lock_guard guard(o.lock);
    o.values.clear();
}

} // namespace testing

} // namespace platform::desktop
