// Configuration files: the mouse's whole image saved to a file and loaded back into the
// mouse. A file is the 2048 image bytes as they are, with no header; the identity block's
// memory marker inside it tells a configuration from any other file, and its maker and
// product ids whether the configuration is one of a mouse this program serves.
#include "device/Subroutines.h"
#include "window/Main.h"
#include "window/device/DeviceTexts.h"
#include "window/device/ProfileWrites.h"
#include "window/shell/SkinImages.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/FileSave.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Dialogs.h"

#include <algorithm>
#include <string_view>

namespace window {
namespace {

// The same words in every language.
constexpr const char* LoadRefusedText = "Loading .bin is error!";
constexpr const char* SaveRefusedText = "Saving .bin is error!";

void ShowPressed(TForm1& form, const std::string& family) {
    platform::vcl::TPngImage decoder;
    for (int i = 1; i <= 5; ++i)
        shell::LoadSkinPng(form.Named<platform::vcl::TImage>(family + platform::rtl::IntToStr(i)),
                           "SetS_03", decoder);
}

void Tell(TForm1& form, const char* text) {
    form.RefreshFormMessagDialog(platform::rtl::Utf8ToUtf16(text));
}

// The file a chosen name saves to: the name itself when it already ends in ".bin", in any
// case, else the name with ".bin" added.
std::string ConfigFileName(const std::string& chosen) {
    constexpr std::string_view extension = ".bin";
    const bool hasExtension =
        chosen.size() >= extension.size() &&
        platform::rtl::SameText(std::string_view(chosen).substr(chosen.size() - extension.size()),
                                extension);
    return hasExtension ? chosen : chosen + std::string(extension);
}

// The save dialog never asks about an existing file, and the name it returns may still get
// ".bin": the question is asked here, about the file that is written. True when the file
// may be written; `mode` replaces only a file the user agreed to replace.
bool MayWrite(const std::string& fileName, platform::rtl::TSaveMode& mode) {
    mode = platform::rtl::TSaveMode::KeepExisting;
    if (!platform::rtl::FileExists(fileName)) return true;
    if (platform::vcl::MessageDlg(fileName + " already exists.\nDo you want to replace it?",
                                  platform::vcl::mtConfirmation,
                                  platform::vcl::mbYes | platform::vcl::mbNo) !=
        platform::vcl::mrYes)
        return false;
    mode = platform::rtl::TSaveMode::Replace;
    return true;
}

// Reads a configuration file: its first 2048 bytes are the image, whatever follows is
// not read. False when it is shorter than an image; raises the stream errors of the
// component library when it cannot be opened or read. Nothing of the program's image
// changes unless a whole image was read.
bool ReadImageFile(const std::string& fileName, ::device::TDeviceImage& image) {
    platform::rtl::TFileStream file(fileName,
                                    platform::rtl::fmOpenRead | platform::rtl::fmShareDenyWrite);
    if (file.Size() < ::device::image::ImageSize) return false;
    file.ReadBuffer(image.data(), ::device::image::ImageSize);
    return true;
}

} // namespace

void TForm1::Btn_Save_0Click(platform::vcl::TObject* /*Sender*/) {
    HideAllMenu();
    ShowPressed(*this, "Img_Save_");
    // Without a served mouse there is no image to save and none can be taken.
    if (!device::MouseServed(*this)) return;
    if (!SaveDialog1->Execute()) return;
    const std::string fileName = ConfigFileName(SaveDialog1->FileName());
    platform::rtl::TSaveMode mode;
    if (!MayWrite(fileName, mode)) return;

    // A read that failed is reported as the loss of the mouse: there is no image to save.
    if (!Btn_Read()) return;
    // A mouse whose image lacks the marker gives a file that could never be loaded back,
    // so it is not written.
    if (!::device::image::CarriesI2CMarker(::device::LiveImage.data())) {
        Tell(*this, SaveRefusedText);
        return;
    }
    // A save that fails part-way (a full disk, a size limit) leaves the file the user had:
    // the message says which file and why. A file that appeared after the question is
    // not replaced unasked.
    try {
        platform::rtl::SaveFile(fileName, ::device::LiveImage.data(), ::device::image::ImageSize,
                                mode);
    } catch (...) {
        platform::vcl::Application()->HandleException(std::current_exception());
    }
}

void TForm1::Btn_Load_0Click(platform::vcl::TObject* /*Sender*/) {
    shell::UiLoadingFlag = 1;
    struct LoadingScope {
        ~LoadingScope() { shell::UiLoadingFlag = 0; }
    } loading;
    HideAllMenu();
    ShowPressed(*this, "Img_Load_");
    // A mouse that is not served could not take the image, nor be read back after.
    if (!device::MouseServed(*this)) return;
    if (!OpenDialog1->Execute()) return;

    ::device::TDeviceImage fileImage;
    try {
        if (!ReadImageFile(OpenDialog1->FileName(), fileImage)) {
            Tell(*this, LoadRefusedText);
            return;
        }
    } catch (...) {
        platform::vcl::Application()->HandleException(std::current_exception());
        return;
    }
    std::copy_n(fileImage.begin() + ::device::image::Identity.Offset,
                ::device::image::Identity.Length, ::device::IdentityStaging.begin());
    if (!ImageWritable(fileImage.data())) return;
    ::device::LiveImage = fileImage;
    MemoToDataBuf_OnClick(nullptr);
}

bool TForm1::ImageWritable(const uint8_t* image) {
    if (!::device::image::CarriesI2CMarker(image)) {
        Tell(*this, LoadRefusedText);
        return false;
    }
    // The mouse is reset after the write and its identity checked when it comes back: an
    // image of another mouse would make it a stranger to the program from then on, even
    // after a replug.
    const uint8_t* identity = image + ::device::image::Identity.Offset;
    if (!IdentityServed(identity[::device::image::IdentityManufacturer],
                        identity[::device::image::IdentityProduct])) {
        RefreshFormMessagDialog(platform::rtl::Utf8ToUtf16(device::DeviceText("Str107")));
        return false;
    }
    return true;
}

// The image goes to the mouse as it is, checksums and all; the pages show the repaired
// copies until the read after the reset shows what the mouse took.
void TForm1::MemoToDataBuf_OnClick(platform::vcl::TObject* /*Sender*/) {
    // From the busy window's first step to the read after the reset, one job.
    ::device::TransferJob job;
    HideAllMenu();
    DevTimer->SetEnabled(false);
    ShowDisableOverlays();
    if (DetectedInterface == "I2C") SplitLiveImage(false);
    DataBufToUI();
    device::ShowBusyWindow();
    WriteImageAndReFind();
}

} // namespace window
