// The engineering page's fire keys: shots, interval and hold of each, written into the
// identity block and into every key that carries the fire key.
#include "window/Main.h"
#include "window/device/KeyCaptions.h"
#include "window/device/ProfileWrites.h"
#include "window/shell/LayoutApply.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace window {

void TForm1::TLSettingFireKey(platform::vcl::TObject* /*Sender*/) {
    // The keys are found by the names the engineering page shows for them.
    device::CacheKeyNamesFromButtons(*this);
    for (int n = 1; n <= 3; ++n) {
        // The count list holds 1 .. 15 shots: its item is the identity block's count index.
        const int countIndex = std::max(
            0, Named<controls::skin::TSkinComboBox>(shell::LayoutName("cb_Fire", n, "Count"))
                   .ItemIndex());
        const int interval = std::clamp(
            platform::rtl::StrToIntDef(
                Named<platform::vcl::TEdit>(shell::LayoutName("edt_Fire", n, "Time")).Text(), 1),
            1, 0xFFFF);
        SetFireKey(n, countIndex + 1, interval);
    }
    RewriteFireKeys();
    device::WriteProfilesAndIdentity(*this);
}

} // namespace window
