// The key-function menu: opened at a key of the user key page or at a key button of the
// engineering page, its entries open their sub-menus beside it, and a function chosen in a
// sub-menu goes into the key's record, in the working copy and on the mouse.
#include "device/DefaultSetting.h"
#include "device/Macros.h"
#include "device/Subroutines.h"
#include "platform/rtl/SysUtils.h"
#include "window/Main.h"
#include "window/device/FunctionCodes.h"
#include "window/device/ProfileWrites.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace window {

namespace {

// The sub-menu each entry of the main menu leads to; the entry's text label and its arrow
// label ("Key_" / "ST_" + the entry) both open it.
const std::pair<const char*, const char*> SubMenus[] = {
    {"Standard", "Pnl_MseKey"},  {"Special", "Pnl_Special"}, {"Media", "Pnl_Media"},
    {"WWW", "Pnl_WWW"},          {"MyPC", "Pnl_MyPC"},       {"CPIKey", "Pnl_CPIKey"},
    {"Fire", "Pnl_FireKey"},     {"ACPIKey", "Pnl_ACPI"},    {"ProfileKey", "Pnl_Profile"},
    {"AdjustXY", "Pnl_AdjustXY"}};

// The control's position in the coordinates of `parent`, one of its ancestors.
std::pair<int, int> PositionIn(const platform::vcl::TControl& control,
                               const platform::vcl::TWinControl* parent) {
    int left = control.Left();
    int top = control.Top();
    for (const platform::vcl::TWinControl* p = control.Parent(); p && p != parent;
         p = p->Parent()) {
        left += p->Left();
        top += p->Top();
    }
    return {left, top};
}

// Keeps a menu panel inside its parent where it fits.
void PlaceMenu(platform::vcl::TControl& menu, int left, int top) {
    if (const platform::vcl::TWinControl* parent = menu.Parent()) {
        left = std::max(0, std::min(left, parent->ClientWidth() - menu.Width()));
        top = std::max(0, std::min(top, parent->ClientHeight() - menu.Height()));
    }
    menu.SetLeft(left);
    menu.SetTop(top);
}

// Places a sub-menu level with the entry that opens it, beside the menu that holds the entry:
// on its right, or on its left where the right has no room. Room means inside the window and
// clear of every menu level still open, so no entry of an open level is ever covered; a level
// that leads on to further sub-menus (`reach`: the widest of them) also wants their room on
// the same side, so that they open beside it in turn. Where neither side has room the side
// with more space is taken and the panel kept in the window.
void PlaceSubMenu(platform::vcl::TControl& panel, const platform::vcl::TControl& menu,
                  const platform::vcl::TControl& entry,
                  const std::vector<const platform::vcl::TControl*>& open, int reach) {
    const platform::vcl::TWinControl* parent = panel.Parent();
    if (!parent) return;
    const int width = parent->ClientWidth();
    const int top =
        std::max(0, std::min(menu.Top() + entry.Top(), parent->ClientHeight() - panel.Height()));
    const int right = menu.Left() + menu.Width();
    const int left = menu.Left() - panel.Width();
    auto hasRoom = [&](int x, int before, int after) {
        if (x - before < 0 || x + panel.Width() + after > width) return false;
        return std::none_of(open.begin(), open.end(), [&](const platform::vcl::TControl* level) {
            return x < level->Left() + level->Width() && level->Left() < x + panel.Width() &&
                   top < level->Top() + level->Height() && level->Top() < top + panel.Height();
        });
    };
    int x = width - right >= menu.Left() ? right : left;
    if (hasRoom(right, 0, reach))
        x = right;
    else if (hasRoom(left, reach, 0))
        x = left;
    else if (hasRoom(right, 0, 0))
        x = right;
    else if (hasRoom(left, 0, 0))
        x = left;
    PlaceMenu(panel, x, top);
}

} // namespace

void TForm1::OpenKeyMenu(platform::vcl::TControl& key, int profile, int number) {
    HideAllMenu();
    KeyMenuTarget = &key;
    KeyMenuProfile = profile;
    KeyMenuNumber = number;
    // The menu opens just below the key it serves.
    const auto [left, top] = PositionIn(key, Pnl_Main->Parent());
    PlaceMenu(*Pnl_Main, left, top + key.Height());
    Pnl_Main->SetVisible(true);
    Pnl_Main->BringToFront();
}

void TForm1::ShowPnlMain_OnClick(platform::vcl::TObject* Sender) {
    auto* key = dynamic_cast<platform::vcl::TControl*>(Sender);
    if (!key) return;
    ComboKeyMenuFlag = 0;
    // Key1 .. Key12 of the profile page shown.
    const int number = std::atoi(key->Name().c_str() + 3);
    const int profile = rb_2->Checked() ? 1 : rb_3->Checked() ? 2 : 0;
    if (number < 1 || number > ::device::image::ProfileKeyCount) return;
    OpenKeyMenu(*key, profile, number);
}

void TForm1::TLShowPnlMain_OnClick(platform::vcl::TObject* Sender) {
    auto* button = dynamic_cast<platform::vcl::TControl*>(Sender);
    if (!button || button->Name().size() < 3) return;
    // btn_Key101 .. btn_Key312: profile and key; btn_ComboKey001 .. 009: the record.
    const int number = std::atoi(button->Name().c_str() + button->Name().size() - 3);
    ComboKeyMenuFlag = number < 100 ? 1 : 0;
    if (number < 100) {
        if (number < 1 || number > ::device::image::ComboRecordCount) return;
        OpenKeyMenu(*button, -1, number);
    } else {
        const int profile = number / 100 - 1;
        const int key = number % 100;
        if (profile > 2 || key < 1 || key > ::device::image::ProfileKeyCount) return;
        OpenKeyMenu(*button, profile, key);
    }
}

void TForm1::ShowKeySubMenu_OnClick(platform::vcl::TObject* Sender) {
    const auto* entry = dynamic_cast<const platform::vcl::TControl*>(Sender);
    if (!entry) return;
    const std::string& name = entry->Name();
    const std::string item = name.substr(name.find('_') + 1);
    const auto* found = std::find_if(std::begin(SubMenus), std::end(SubMenus),
                                     [&](const auto& m) { return item == m.first; });
    if (found == std::end(SubMenus)) return;
    // One sub-menu at a time, level with its entry, beside the menu that holds the entry:
    // the main menu, or the special menu for the entries it leads on to (which stays open).
    const platform::vcl::TControl* menu = entry->Parent();
    if (!menu) return;
    std::vector<const platform::vcl::TControl*> open;
    if (Pnl_Main->Visible()) open.push_back(Pnl_Main);
    for (const auto& [entryName, panelName] : SubMenus) {
        auto& other = Named<platform::vcl::TControl>(panelName);
        if (&other != menu)
            other.SetVisible(false);
        else if (other.Visible())
            open.push_back(&other);
    }
    auto& panel = Named<platform::vcl::TControl>(found->second);
    int reach = 0;
    for (const auto& [further, furtherPanel] : SubMenus)
        if (Named<platform::vcl::TControl>(std::string("Key_") + further).Parent() == &panel)
            reach = std::max(reach, Named<platform::vcl::TControl>(furtherPanel).Width());
    PlaceSubMenu(panel, *menu, *entry, open, reach);
    panel.SetVisible(true);
    panel.BringToFront();
}

void TForm1::KeyStatusOnClick(platform::vcl::TObject* Sender) {
    const auto* label = dynamic_cast<const controls::unicode::TWideLabel*>(Sender);
    if (!label || !KeyMenuTarget) {
        HideAllMenu();
        return;
    }
    const std::string code = device::FunctionIdToCode(*this, label->Tag());
    // The fire-macro key has no code without a mouse that has the fire macros in its I2C
    // memory; the key keeps its function rather than show one it does not have.
    if (code.empty() && !device::MouseServed(*this)) {
        HideAllMenu();
        return;
    }
    const std::u16string caption = controls::unicode::TWideLabel::GetCaption(label);
    StoreKeyFunction(code,
                     platform::rtl::Utf16ToUtf8(caption.size() > 2 ? caption.substr(2) : u""));
    HideAllMenu();
}

void TForm1::StoreKeyFunction(const std::string& code, const std::string& caption) {
    const ::device::TButtonFunction record = ::device::ButtonFunctionFromText(code);
    KeyMenuTarget->SetCaption(caption);

    const int index = KeyMenuNumber - 1;
    if (KeyMenuProfile < 0) {
        const int offset = ::device::image::VendorComboRecords.Offset +
                           ::device::image::ButtonFunctionSize * index;
        std::copy(record.begin(), record.end(), VendorCopy.begin() + offset);
        // The mouse keeps its section valid as the record lands; so does the copy.
        ::device::StampVendorChecksum(VendorCopy);
        // The engineering page names the records from these texts.
        ComboCodeStrings[index] = code;
        if (!shell::UiLoadingFlag)
            ::device::WriteConfigDword(static_cast<uint8_t>(offset), record[0], record[1],
                                       record[2], record[3]);
    } else {
        SetProfileKeyCode(KeyMenuProfile, index, code);
        if (!shell::UiLoadingFlag) device::WriteProfileSections(*this);
    }
}

void TForm1::SetProfileKeyCode(int p, int k, const std::string& code) {
    const ::device::TButtonFunction record = ::device::ButtonFunctionFromText(code);
    ::device::TProfileSection* copies[] = {&Profile1Copy, &Profile2Copy, &Profile3Copy};
    std::copy(record.begin(), record.end(),
              copies[p]->begin() + ::device::image::ButtonFunctionSize * k);
    KeyCodeStrings[p][k] = code;
}

} // namespace window
