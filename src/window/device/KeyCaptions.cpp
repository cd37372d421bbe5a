#include "window/device/KeyCaptions.h"

#include "window/Main.h"
#include "window/device/ButtonNames.h"

#include "platform/rtl/SysUtils.h"

#include <cstdio>

namespace window::device {
namespace {

constexpr int ProfileCount = 3;

void CheckProfile(int p) {
    if (p < 1 || p > ProfileCount)
        throw platform::rtl::Exception("There is no profile " + std::to_string(p));
}

// The captions are shown at once, before whatever the caller does next. Not while the
// window is being created (the no-device start runs inside its creation): a window not
// yet shown has nothing to repaint, and pumping there could run a device timer tick in
// the middle of start-up.
void RepaintNow(const window::TForm1& form) {
    if (form.Visible()) platform::vcl::Application()->ProcessMessages();
}

} // namespace

std::string ProfileKeyButtonName(int p, int k) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02d", k);
    return "btn_Key" + std::to_string(p) + digits;
}

std::string ComboKeyButtonName(int n) {
    return "btn_ComboKey00" + std::to_string(n);
}

void CacheKeyNamesFromButtons(window::TForm1& form) {
    for (int p = 1; p <= ProfileCount; ++p)
        for (int k = 1; k <= ::device::image::ProfileKeyCount; ++k)
            form.KeyNameCache[::device::image::ProfileKeyCount * (p - 1) + (k - 1)] =
                form.Named<controls::skin::TSkinButton>(ProfileKeyButtonName(p, k)).Caption();
}

} // namespace window::device

namespace window {

void TForm1::RefreshProfileKeys(int profile) {
    device::CheckProfile(profile);
    for (int k = 1; k <= ::device::image::ProfileKeyCount; ++k) {
        const std::string name =
            device::CodeToFunctionName(*this, KeyCodeStrings[profile - 1][k - 1]);
        Named<controls::unicode::TWideLabel>("Key" + std::to_string(k)).SetCaption(name);
    }
    device::RepaintNow(*this);
}

void TForm1::RefreshProfile1Keys(platform::vcl::TObject*) {
    RefreshProfileKeys(1);
}
void TForm1::RefreshProfile2Keys(platform::vcl::TObject*) {
    RefreshProfileKeys(2);
}
void TForm1::RefreshProfile3Keys(platform::vcl::TObject*) {
    RefreshProfileKeys(3);
}

void TForm1::TLRefreshProfileKeys(int profile) {
    device::CheckProfile(profile);
    for (int k = 1; k <= ::device::image::ProfileKeyCount; ++k) {
        const std::string name =
            device::CodeToFunctionName(*this, KeyCodeStrings[profile - 1][k - 1]);
        Named<controls::skin::TSkinButton>(device::ProfileKeyButtonName(profile, k))
            .SetCaption(name);
    }
    device::RepaintNow(*this);
}

void TForm1::TLRefreshProfile1Keys(platform::vcl::TObject*) {
    TLRefreshProfileKeys(1);
}
void TForm1::TLRefreshProfile2Keys(platform::vcl::TObject*) {
    TLRefreshProfileKeys(2);
}
void TForm1::TLRefreshProfile3Keys(platform::vcl::TObject*) {
    TLRefreshProfileKeys(3);
}

void TForm1::RefreshComboKeyCaptions() {
    for (int n = 1; n <= ::device::image::ComboRecordCount; ++n)
        Named<controls::skin::TSkinButton>(device::ComboKeyButtonName(n))
            .SetCaption(device::CodeToFunctionName(*this, ComboCodeStrings[n - 1]));
}

void TForm1::RefreshKeyNameCache() {
    std::vector<std::string> codes;
    for (const auto& profile : KeyCodeStrings)
        codes.insert(codes.end(), profile.begin(), profile.end());
    const std::vector<std::string> names = device::CodesToFunctionNames(*this, codes);
    std::copy(names.begin(), names.end(), KeyNameCache.begin());
}

} // namespace window
