#include "controls/unicode/WideCtrls.h"

#include "platform/rtl/SysUtils.h"

namespace controls {

std::u16string AnsiToWide(std::string_view text) {
    return vcl::Utf8ToUtf16(text);
}

// ---- TWideLabel ----

TWideLabel::TWideLabel(vcl::TComponent* owner) : vcl::TLabel(owner) {}

void TWideLabel::SetCaption(const std::string& caption) {
    SetWideCaption(AnsiToWide(caption));
}

void TWideLabel::SetWideCaption(std::u16string_view caption) {
    // The UTF-16 text is kept as given, so it reads back unchanged even where the
    // display has to replace a damaged character.
    wideCaption_.assign(caption);
    vcl::TLabel::SetCaption(vcl::Utf16ToUtf8(caption));
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
    return vcl::Utf8ToUtf16(items_.Get(index));
}

void TWideStrings::Put(int index, std::u16string_view text) {
    items_.Put(index, vcl::Utf16ToUtf8(text));
}

int TWideStrings::Add(std::u16string_view text) {
    return items_.Add(vcl::Utf16ToUtf8(text));
}

TWideComboBox::TWideComboBox(vcl::TComponent* owner)
    : TSkinned<vcl::TComboBox>(owner, detail::SkinKind::Combo), wideItems_(Items()) {
    MakeListLate(); // the skin paints it; it never has a style sheet
}

TWideListBox::TWideListBox(vcl::TComponent* owner)
    : TSkinned<vcl::TListBox>(owner, detail::SkinKind::List), wideItems_(Items()) {}

} // namespace controls
