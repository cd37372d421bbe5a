#pragma once
// Finding the main window's controls by name, for the controls that several parts of the
// window use. A control the design lacks is a fault of the design: it raises, naming it.
#include "platform/vcl/Component.h"
#include "platform/vcl/SysUtils.h"

#include <string>
#include <string_view>

namespace vcl {
class TControl;
}

namespace device {

template <class T> T& FormControl(const vcl::TComponent& form, std::string_view name) {
    T* control = dynamic_cast<T*>(form.FindComponent(name));
    if (!control)
        throw vcl::Exception("The main window has no control " + std::string(name) +
                             " of the expected kind");
    return *control;
}

// Empties a list box, combo box or memo found by name.
void ClearItemsOf(const vcl::TComponent& form, std::string_view name);
// Sets the text of an edit (or the caption of another control) found by name.
void SetTextOf(const vcl::TComponent& form, std::string_view name, const std::string& text);
// Shows or hides the control found by name.
void SetVisibleOf(const vcl::TComponent& form, std::string_view name, bool visible);

} // namespace device
