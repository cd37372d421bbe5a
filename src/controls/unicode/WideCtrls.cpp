#include "controls/unicode/WideCtrls.h"

#include "platform/rtl/SysUtils.h"

namespace controls::unicode {

std::u16string AnsiToWide(std::string_view text) {
    return platform::rtl::Utf8ToUtf16(text);
}

// ---- TWideLabel ----

TWideLabel::TWideLabel(platform::vcl::TComponent* owner) : platform::vcl::TLabel(owner) {}

void TWideLabel::SetCaption(const std::string& caption) {
    SetWideCaption(AnsiToWide(caption));
}

void TWideLabel::SetWideCaption(std::u16string_view caption) {
    // The UTF-16 text is kept as given, so it reads back unchanged even where the
    // display has to replace a damaged character.
    wideCaption_.assign(caption);
    platform::vcl::TLabel::SetCaption(platform::rtl::Utf16ToUtf8(caption));
    Invalidate();
}

void TWideLabel::SetCaption(TWideLabel* label, std::u16string_view caption) {
    label->SetWideCaption(caption);
}

std::u16string TWideLabel::GetCaption(const TWideLabel* label) {
    return label->WideCaption();
}

// ---- item lists ----

std::u16string TWideStrings::Get(int index) const {
    return platform::rtl::Utf8ToUtf16(items_.Get(index));
}

void TWideStrings::Put(int index, std::u16string_view text) {
    items_.Put(index, platform::rtl::Utf16ToUtf8(text));
}

int TWideStrings::Add(std::u16string_view text) {
    return items_.Add(platform::rtl::Utf16ToUtf8(text));
}

TWideComboBox::TWideComboBox(platform::vcl::TComponent* owner)
    : skin::TSkinned<platform::vcl::TComboBox>(owner, skin::detail::SkinKind::Combo),
      wideItems_(Items()) {
    MakeListLate(); // the skin paints it; it never has a style sheet
}

TWideListBox::TWideListBox(platform::vcl::TComponent* owner)
    : skin::TSkinned<platform::vcl::TListBox>(owner, skin::detail::SkinKind::List),
      wideItems_(Items()) {}

} // namespace controls::unicode
