// Choosing the current DPI level on the performance page by its mark.
#include "device/DeviceImage.h"
#include "device/Subroutines.h"
#include "window/Main.h"

#include <string>

namespace window {

void TForm1::CurrentDPI_OnClick(platform::vcl::TObject* Sender) {
    HideAllMenu();
    const auto* image = dynamic_cast<const platform::vcl::TImage*>(Sender);
    if (!image) return;
    // The mark's number is its level: Img_DPI1 .. Img_DPI8.
    const std::string& name = image->Name();
    const int n = name.size() > 7 ? std::atoi(name.c_str() + 7) : 0;
    if (n < 1 || n > 8) return;
    // The same marks the polling thread sets when the mouse's own button changes the level.
    ShowCurrentDPILevel(n - 1);
    UserCopy[2] = static_cast<uint8_t>(n - 1);
    if (!shell::UiLoadingFlag)
        ::device::WriteConfigBytes(::device::image::User.Offset + ::device::image::UserCpiLevel,
                                   static_cast<uint8_t>(n - 1), 0, 0, 1);
}

} // namespace window
