// The update page: a firmware file chosen with Load is programmed into the mouse with
// Update. Only a whole configuration image of a mouse this program serves is accepted:
// the mouse is never sent bytes whose place in its memory is not known, nor an identity
// that would make it a stranger to the program.
#include "device/Subroutines.h"
#include "window/Main.h"
#include "window/device/ProfileWrites.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace window {
namespace {

// The same words in every language.
constexpr const char* NoFileText = "Please load a .bin file first!";
constexpr const char* NotAnImageText = "Loading .bin is error!";

} // namespace

void TForm1::Btn_LoadBINClick(platform::vcl::TObject* /*Sender*/) {
    HideAllMenu();
    if (!OpenDialog1->Execute()) return;
    // Only a file of an image's size is read: any other can never be programmed, and a
    // huge one must not fill the memory. It counts as loaded all the same, and Update
    // says why it is refused.
    std::vector<uint8_t> bytes;
    try {
        platform::rtl::TFileStream file(
            OpenDialog1->FileName(), platform::rtl::fmOpenRead | platform::rtl::fmShareDenyWrite);
        if (file.Size() == ::device::image::ImageSize) {
            bytes.resize(::device::image::ImageSize);
            file.ReadBuffer(bytes.data(), ::device::image::ImageSize);
        }
    } catch (...) {
        platform::vcl::Application()->HandleException(std::current_exception());
        return;
    }
    FirmwareFile = std::move(bytes);
    FirmwareFileLoaded = 1;
    controls::unicode::TWideLabel::SetCaption(&Named<controls::unicode::TWideLabel>("lbl_LoadBIN"),
                                              platform::rtl::Utf8ToUtf16(OpenDialog1->FileName()));
}

void TForm1::Btn_ProgramClick(platform::vcl::TObject* /*Sender*/) {
    HideAllMenu();
    if (!FirmwareFileLoaded) {
        RefreshFormMessagDialog(platform::rtl::Utf8ToUtf16(NoFileText));
        return;
    }
    // The file is judged as a configuration file load judges it: a whole image, a
    // configuration of a mouse this program serves. A refused file stays loaded.
    if (FirmwareFile.size() != ::device::image::ImageSize) {
        RefreshFormMessagDialog(platform::rtl::Utf8ToUtf16(NotAnImageText));
        return;
    }
    if (!ImageWritable(FirmwareFile.data())) return;
    // A mouse that is not served could not take the image, nor be read back after.
    if (!device::MouseServed(*this)) return;
    shell::UiLoadingFlag = 1;
    struct LoadingScope {
        ~LoadingScope() { shell::UiLoadingFlag = 0; }
    } loading;
    std::copy(FirmwareFile.begin(), FirmwareFile.end(), ::device::LiveImage.begin());
    MemoToDataBuf_OnClick(nullptr);
}

} // namespace window
