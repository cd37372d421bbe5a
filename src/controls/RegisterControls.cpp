#include "controls/RegisterControls.h"

#include "controls/skin/FrameCtrls.h"
#include "controls/skin/InputDialog.h"
#include "controls/skin/SkinCtrls.h"
#include "controls/skin/TrayIcon.h"
#include "controls/unicode/WideCtrls.h"
#include "platform/vcl/FormDesign.h"

namespace controls {

namespace {
template <class T> void Register(const char* className) {
    platform::vcl::RegisterComponentClass(
        className, [](platform::vcl::TComponent* owner) -> platform::vcl::TComponent* {
            return new T(owner);
        });
}
} // namespace

// Registered from here rather than from static initialisers of each unit: the linker
// drops units of a static library that nothing refers to, and their registrations with
// them.
void RegisterControlClasses() {
    Register<skin::TSkinButton>("TSkinButton");
    Register<skin::TSkinGroupBox>("TSkinGroupBox");
    Register<skin::TSkinCheckBox>("TSkinCheckBox");
    Register<skin::TSkinComboBox>("TSkinComboBox");
    Register<skin::TSkinEdit>("TSkinEdit");
    Register<skin::TSkinNumberEdit>("TSkinNumberEdit");
    Register<skin::THexEdit>("THexEdit");
    Register<skin::TSkinListBox>("TSkinListBox");
    Register<skin::TSkinPageControl>("TSkinPageControl");
    Register<skin::TSkinTabSheet>("TSkinTabSheet");
    Register<skin::TFramePanel>("TFramePanel");
    Register<skin::TFrameGroupBox>("TFrameGroupBox");
    Register<skin::TTrayIcon>("TTrayIcon");
    Register<skin::TSkinInputDialog>("TSkinInputDialog");
    Register<unicode::TWideLabel>("TWideLabel");
    Register<unicode::TWideComboBox>("TWideComboBox");
    Register<unicode::TWideListBox>("TWideListBox");
}

} // namespace controls
