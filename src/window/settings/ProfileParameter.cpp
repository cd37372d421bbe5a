// The live user section read back from the mouse, as the profile writes need it.
#include "device/Subroutines.h"
#include "window/Main.h"

namespace window {

// No checksum test: the mouse's running copy is taken as it comes. A read that did not
// come whole leaves the copy as it was: its missing bytes would read FF, and the copy is
// written back to the mouse.
bool TForm1::RefreshProfileParameter(platform::vcl::TObject* /*Sender*/) {
    ::device::TUserSection reply;
    if (!::device::ReadConfigBytes(0, static_cast<uint8_t>(::device::image::User.Offset),
                                   static_cast<uint8_t>(::device::image::User.Length),
                                   reply.data()))
        return false;
    UserCopy = reply;
    return true;
}

} // namespace window
