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
    vcl::RegisterComponentClass(
        className, [](vcl::TComponent* owner) -> vcl::TComponent* { return new T(owner); });
}
} // namespace

// Registered from here rather than from static initialisers of each unit: the linker
// drops units of a static library that nothing refers to, and their registrations with
// them.
void RegisterControlClasses() {
    Register<TSkinButton>("TSkinButton");
    Register<TSkinGroupBox>("TSkinGroupBox");
    Register<TSkinCheckBox>("TSkinCheckBox");
    Register<TSkinComboBox>("TSkinComboBox");
    Register<TSkinEdit>("TSkinEdit");
    Register<TSkinNumberEdit>("TSkinNumberEdit");
    Register<THexEdit>("THexEdit");
    Register<TSkinListBox>("TSkinListBox");
    Register<TSkinPageControl>("TSkinPageControl");
    Register<TSkinTabSheet>("TSkinTabSheet");
    Register<TFramePanel>("TFramePanel");
    Register<TFrameGroupBox>("TFrameGroupBox");
    Register<TTrayIcon>("TTrayIcon");
    Register<TSkinInputDialog>("TSkinInputDialog");
    Register<TWideLabel>("TWideLabel");
    Register<TWideComboBox>("TWideComboBox");
    Register<TWideListBox>("TWideListBox");
}

} // namespace controls
