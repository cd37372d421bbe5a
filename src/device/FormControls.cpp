#include "device/FormControls.h"

#include "platform/vcl/StdCtrls.h"

namespace device {

void ClearItemsOf(const vcl::TComponent& form, std::string_view name) {
    vcl::TComponent* component = form.FindComponent(name);
    if (auto* list = dynamic_cast<vcl::TListBox*>(component))
        list->Items().Clear();
    else if (auto* combo = dynamic_cast<vcl::TComboBox*>(component))
        combo->Items().Clear();
    else if (auto* memo = dynamic_cast<vcl::TMemo*>(component))
        memo->Clear();
    else
        throw vcl::Exception("The main window has no list or memo " + std::string(name));
}

void SetTextOf(const vcl::TComponent& form, std::string_view name, const std::string& text) {
    FormControl<vcl::TControl>(form, name).SetCaption(text);
}

void SetVisibleOf(const vcl::TComponent& form, std::string_view name, bool visible) {
    FormControl<vcl::TControl>(form, name).SetVisible(visible);
}

} // namespace device
