#pragma once
// The current user's registry, as far as the program reads it: the pointer values under
// "Control Panel\Mouse" and the wheel value under "Control Panel\Desktop". On Linux they
// are served from the desktop's own settings where the desktop has them (the toolkit's
// double-click interval and wheel lines, the X server's pointer acceleration), and from
// the usual defaults otherwise. Values are texts, as the registry stores them.
#include <optional>
#include <string>
#include <string_view>

namespace platform::desktop {

// The text of value `name` under `key` of the current user, or nothing when the key has
// no such value. Keys and names compare without regard to case.
std::optional<std::string> ReadCurrentUserValue(std::string_view key, std::string_view name);

namespace testing {
// Replaces what the desktop says for one value; nullopt makes the value absent.
void OverrideCurrentUserValue(std::string_view key, std::string_view name,
                              std::optional<std::string> text);
// Drops every override.
void ClearCurrentUserOverrides();
} // namespace testing

namespace detail {
// The desktop's own value, or nothing where the desktop has no such setting (backend).
std::optional<std::string> DesktopValue(std::string_view key, std::string_view name);
} // namespace detail

} // namespace platform::desktop
