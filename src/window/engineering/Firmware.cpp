// The update page: a firmware file chosen with Load is programmed into the mouse with
// Update. Only a whole configuration image is accepted: the mouse is never sent bytes
// whose place in its memory is not known.
#include "device/Subroutines.h"
#include "window/Main.h"
#include "window/device/ProfileWrites.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace shell {
namespace {

// The same words in every language.
constexpr const char* NoFileText = "Please load a .bin file first!";
constexpr const char* NotAnImageText = "Loading .bin is error!";

} // namespace

void TForm1::Btn_LoadBINClick(vcl::TObject* /*Sender*/) {
    HideAllMenu();
    if (!OpenDialog1->Execute()) return;
    std::vector<uint8_t> bytes;
    try {
        vcl::TFileStream file(OpenDialog1->FileName(), vcl::fmOpenRead | vcl::fmShareDenyWrite);
        bytes.resize(static_cast<size_t>(file.Size()));
        if (!bytes.empty()) file.ReadBuffer(bytes.data(), bytes.size());
    } catch (...) {
        vcl::Application()->HandleException(std::current_exception());
        return;
    }
    FirmwareFile = std::move(bytes);
    FirmwareFileLoaded = 1;
    controls::TWideLabel::SetCaption(&Named<controls::TWideLabel>("lbl_LoadBIN"),
                                     vcl::Utf8ToUtf16(OpenDialog1->FileName()));
}

void TForm1::Btn_ProgramClick(vcl::TObject* /*Sender*/) {
    HideAllMenu();
    if (!FirmwareFileLoaded) {
        RefreshFormMessagDialog(vcl::Utf8ToUtf16(NoFileText));
        return;
    }
    if (FirmwareFile.size() != device::image::ImageSize) {
        RefreshFormMessagDialog(vcl::Utf8ToUtf16(NotAnImageText));
        return;
    }
    // A mouse that is not served could not take the image, nor be read back after.
    if (!device::MouseServed(*this)) return;
    UiLoadingFlag = 1;
    struct LoadingScope {
        ~LoadingScope() { UiLoadingFlag = 0; }
    } loading;
    std::copy(FirmwareFile.begin(), FirmwareFile.end(), device::LiveImage.begin());
    MemoToDataBuf_OnClick(nullptr);
}

} // namespace shell
