#include "window/Main.h"

#include "controls/RegisterControls.h"
#include "window/device/KeyboardHook.h"
#include "window/device/ThreadGetData.h"
#include "platform/vcl/FormDesign.h"

namespace shell {

TForm1* Form1 = nullptr;

TForm1::TForm1(vcl::TComponent* owner) : vcl::TForm(owner) {
    controls::RegisterControlClasses();
    device::RegisterKeyboardHookClass();
    vcl::LoadFormDesign(*this, "FORM1", Binding());
}

TForm1::~TForm1() {
    device::StopPrimeThread(this);
}

vcl::TFormBinding TForm1::Binding() {
    vcl::TFormBinding binding;
    binding.className = "TForm1";
#define VTRM_FORM1_FIELD(type, name) binding.fields.push_back(vcl::Field(#name, name));
    VTRM_FORM1_FIELDS(VTRM_FORM1_FIELD)
#undef VTRM_FORM1_FIELD
#define VTRM_FORM1_HANDLER(kind, name)                                                             \
    binding.handlers.push_back(vcl::Handler(#name, this, &TForm1::name));
    VTRM_FORM1_HANDLERS(VTRM_FORM1_HANDLER)
#undef VTRM_FORM1_HANDLER
    return binding;
}

} // namespace shell
