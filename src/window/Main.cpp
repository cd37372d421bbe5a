#include "window/Main.h"

#include "controls/RegisterControls.h"
#include "window/device/KeyboardHook.h"
#include "window/device/ThreadGetData.h"
#include "platform/vcl/FormDesign.h"

namespace window {

TForm1* Form1 = nullptr;

TForm1::TForm1(platform::vcl::TComponent* owner) : platform::vcl::TForm(owner) {
    controls::RegisterControlClasses();
    device::RegisterKeyboardHookClass();
    platform::vcl::LoadFormDesign(*this, "FORM1", Binding());
}

TForm1::~TForm1() {
    device::StopPrimeThread(this);
}

platform::vcl::TFormBinding TForm1::Binding() {
    platform::vcl::TFormBinding binding;
    binding.className = "TForm1";
#define VTRM_FORM1_FIELD(type, name) binding.fields.push_back(platform::vcl::Field(#name, name));
    VTRM_FORM1_FIELDS(VTRM_FORM1_FIELD)
#undef VTRM_FORM1_FIELD
#define VTRM_FORM1_HANDLER(kind, name)                                                             \
    binding.handlers.push_back(platform::vcl::Handler(#name, this, &TForm1::name));
    VTRM_FORM1_HANDLERS(VTRM_FORM1_HANDLER)
#undef VTRM_FORM1_HANDLER
    return binding;
}

} // namespace window
