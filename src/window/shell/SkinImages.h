#pragma once
// Unit SkinImages: the skin's pictures are PNG resources of type "RC_DATA"; every picture
// change of the main window goes through LoadSkinPng.
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/PngImage.h"

#include <QIcon>
#include <string>

namespace shell {

// Decodes the resource with the routine's decoder and gives the control a copy of the
// picture. A missing resource or a picture that does not decode raises; the control then
// keeps its picture.
void LoadSkinPng(vcl::TImage& target, const std::string& resourceName, vcl::TPngImage& decoder);

// The skin's picture of a check mark drawn on its own: "CbS_E" on, "CbS_D" off.
inline const char* CheckMarkPicture(bool checked) {
    return checked ? "CbS_E" : "CbS_D";
}

// The program's icon in every size the skin draws it ("AppIcon_16" .. "AppIcon_256"): the
// application's and the windows' icon, and the notification area's. Raises like
// LoadSkinPng when a size is missing or does not decode.
QIcon ProgramIcon();

} // namespace shell
