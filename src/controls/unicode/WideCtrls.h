#pragma once
// Wide-text controls: the labels, combo boxes and list boxes that show the user's texts
// in any language. Their texts are UTF-16; a text given in the program's narrow
// encoding (UTF-8, the system code page here) is converted on the way in.
#include "controls/skin/SkinCtrls.h"
#include "platform/vcl/StdCtrls.h"

#include <string>
#include <string_view>

namespace controls::unicode {

// The one conversion from the narrow encoding to UTF-16 the wide controls use.
std::u16string AnsiToWide(std::string_view text);

// A label whose caption is a UTF-16 text. Transparent, it still takes the mouse, so it
// serves as the caption of a picture button lying under it.
class TWideLabel : public platform::vcl::TLabel {
public:
    explicit TWideLabel(platform::vcl::TComponent* owner);

    // The caption given in the narrow encoding; converted first.
    void SetCaption(const std::string& caption) override;
    const std::u16string& WideCaption() const { return wideCaption_; }
    void SetWideCaption(std::u16string_view caption);

    // The caption setter and reader the window code calls with the label.
    static void SetCaption(TWideLabel* label, std::u16string_view caption);
    static std::u16string GetCaption(const TWideLabel* label);

private:
    std::u16string wideCaption_;
};

// The item list of a wide control, read and written as UTF-16 texts. An index outside
// the list raises the list index error "List index out of bounds (<index>)".
class TWideStrings {
public:
    explicit TWideStrings(platform::vcl::TItemList& items) : items_(items) {}
    int Count() const { return items_.Count(); }
    std::u16string Get(int index) const;
    std::u16string operator[](int index) const { return Get(index); }
    // Replaces the text of the existing item `index`.
    void Put(int index, std::u16string_view text);
    int Add(std::u16string_view text);
    void Delete(int index) { items_.Delete(index); }
    void Clear() { items_.Clear(); }

private:
    platform::vcl::TItemList& items_;
};

// Drawn in the skin, as the skinned combo and list boxes are.
class TWideComboBox : public skin::TSkinned<platform::vcl::TComboBox> {
public:
    explicit TWideComboBox(platform::vcl::TComponent* owner);
    TWideStrings& WideItems() { return wideItems_; }
    // The combo box's item list, as the window code asks for it.
    static TWideStrings& GetItems(TWideComboBox* combo) { return combo->wideItems_; }

private:
    TWideStrings wideItems_;
};

class TWideListBox : public skin::TSkinned<platform::vcl::TListBox> {
public:
    explicit TWideListBox(platform::vcl::TComponent* owner);
    TWideStrings& WideItems() { return wideItems_; }

private:
    TWideStrings wideItems_;
};

} // namespace controls::unicode
