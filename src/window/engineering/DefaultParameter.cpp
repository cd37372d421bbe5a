// The engineering page's default: a configuration built from the default contents of
// every section (not one of the built-in images), shown on every page and written to
// the mouse whole, which is then reset and read back.
#include "device/DefaultSetting.h"
#include "device/Subroutines.h"
#include "window/Main.h"
#include "window/device/ProfileWrites.h"

namespace window {

void TForm1::TLDefaultParameter(platform::vcl::TObject* /*Sender*/) {
    // A mouse that is open but not served would not be read back after the reset, and
    // the window would stay covered with its timer off.
    if (!device::MouseServed(*this)) return;
    // From the busy window's first step to the read after the reset, one job.
    ::device::TransferJob job;
    shell::UiLoadingFlag = 1;
    HideAllMenu();
    DevTimer->SetEnabled(false);
    ShowDisableOverlays();
    device::ShowBusyWindow();

    const ::device::DefaultsContext context = DefaultsFromWindow();
    ::device::DefaultVendorSection(VendorCopy, context);
    ::device::StampVendorChecksum(VendorCopy);
    ::device::DefaultUserSection(UserCopy, context);
    ::device::StampUserChecksum(UserCopy);
    ::device::DefaultProfile1Section(Profile1Copy, context);
    ::device::StampProfileChecksum(Profile1Copy);
    ::device::DefaultProfile2Section(Profile2Copy, context);
    ::device::StampProfileChecksum(Profile2Copy);
    ::device::DefaultProfile3Section(Profile3Copy, context);
    ::device::StampProfileChecksum(Profile3Copy);
    ::device::DefaultIdentityBlock(IdentityCopy, context);
    ::device::DefaultFireMacros();

    DataBufToUI();
    if (DetectedInterface == "I2C") ::device::JoinCopiesIntoImage(*this, ::device::LiveImage);
    WriteImageAndReFind();
}

} // namespace window
