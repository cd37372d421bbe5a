#pragma once
// The key captions of the profiles: the user page's labels Key1..Key12 show the twelve
// keys of the profile being viewed, the engineering page's buttons btn_Key101..btn_Key312
// all three profiles at once (btn_Key<p><kk>, kk the key as two digits) and
// btn_ComboKey001..btn_ComboKey009 the combination-key records. KeyNameCache keeps the
// 36 display names that the settings handlers search for the keys carrying a function.
//
// The TForm1 side is declared in Form1Device.h: RefreshProfile1Keys..RefreshProfile3Keys,
// TLRefreshProfile1Keys..TLRefreshProfile3Keys, RefreshComboKeyCaptions and
// RefreshKeyNameCache.
#include <string>

namespace window {
class TForm1;
}

namespace window::device {

// The engineering page's button of key k (1..12) of profile p (1..3), and of
// combination-key record n (1..9).
std::string ProfileKeyButtonName(int p, int k);
std::string ComboKeyButtonName(int n);

// Fills KeyNameCache from the captions of the 36 engineering key buttons, so that the
// engineering page's searches see what the page shows, including captions its key menu
// has set and that have not been turned into records yet.
void CacheKeyNamesFromButtons(window::TForm1& form);

} // namespace window::device
