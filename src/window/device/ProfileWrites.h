#pragma once
#include <cstdint>

// Unit ProfileWrites: the block writes of the three profile sections (and of the identity
// block) after a settings handler changed key records, and the steps the whole-image
// changes of the main window share.
namespace window {
class TForm1;
}

namespace window::device {

// Stamps the three profile copies and writes them in one block at image address 192
// (only with an I2C memory), then makes the mouse take its current profile again: the
// live user section is read back into UserCopy and configuration byte 164 is written with
// 0F and then with its value as read. The result is that of the last configuration write.
bool WriteProfileSections(window::TForm1& form);
// The same with the identity block written at 484 after the profile block.
bool WriteProfilesAndIdentity(window::TForm1& form);

// One byte of the vendor section changed by a setting: mirrored in VendorCopy, the copy's
// checksum stamped, and the byte sent as one live configuration write.
bool WriteVendorSetting(window::TForm1& form, uint16_t at, uint8_t value);

// Both report handles of the mouse are open.
bool DeviceHandlesOpen();
// The mouse is open and answered as one with an I2C memory, the only kind whose image the
// program reads and writes whole; otherwise the user is told the device is still being
// looked for (Str022) and the result is false.
bool MouseServed(window::TForm1& form);
// Centres the busy window over the main window, shows it and handles waiting messages.
void ShowBusyWindow();
// Hides it and handles waiting messages.
void HideBusyWindow();

} // namespace window::device
