// The live user section read back from the mouse, as the profile writes need it.
#include "device/Subroutines.h"
#include "window/Main.h"

namespace window {

// No checksum test: the mouse's running copy is taken as it comes, and a failed read
// gives the FF bytes the read routine left.
void TForm1::RefreshProfileParameter(platform::vcl::TObject* /*Sender*/) {
    ::device::TUserSection reply;
    ::device::ReadConfigBytes(0, static_cast<uint8_t>(::device::image::User.Offset),
                              static_cast<uint8_t>(::device::image::User.Length), reply.data());
    UserCopy = reply;
}

} // namespace window
