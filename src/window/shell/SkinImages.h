#pragma once
// Unit SkinImages: the skin's pictures are PNG resources of type "RC_DATA"; every picture
// change of the main window goes through LoadSkinPng.
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/PngImage.h"

#include "platform/core/WorkAhead.h"

#include <QIcon>
#include <string>
#include <vector>

namespace window::shell {

// Decodes the resource with the routine's decoder and gives the control a copy of the
// picture. A missing resource or a picture that does not decode raises; the control then
// keeps its picture.
void LoadSkinPng(platform::vcl::TImage& target, const std::string& resourceName,
                 platform::vcl::TPngImage& decoder);

// Decodes embedded pictures ahead of their first use, on a thread of its own and in the
// order given, into the shared pictures every load of a resource takes (see
// platform::vcl::LoadFromResourceName). While one is alive, LoadSkinPng and the program's
// icon first wait for a picture that is being decoded ahead, and decode one not yet begun
// themselves; what they load and what they raise stay the same. A picture that fails
// ahead is not kept, so its load decodes it again and raises then. No resource may be
// registered anew while it runs. One at a time, made and ended on the main thread.
class TSkinPicturesAhead {
public:
    explicit TSkinPicturesAhead(const std::vector<std::string>& resourceNames);
    // Lets the picture in hand finish and waits for the thread.
    ~TSkinPicturesAhead();
    TSkinPicturesAhead(const TSkinPicturesAhead&) = delete;
    TSkinPicturesAhead& operator=(const TSkinPicturesAhead&) = delete;

    // Returns once the resource is no longer being decoded ahead; one not yet begun is
    // left to the caller.
    void Await(const std::string& resourceName) { work_.Await(resourceName); }
    // The names on the list no load has asked for yet, in list order.
    std::vector<std::string> NeverAsked() { return work_.NeverAsked(); }

private:
    platform::core::TWorkAhead work_;
};

// The skin pictures a start of the program loads before its window first shows, in the
// order it loads them: the program's icon, then the main window's start-up.
std::vector<std::string> StartupSkinPictures();
// The animated pictures a start loads before its window first shows: the busy window's.
std::vector<std::string> StartupGifPictures();

// The skin's picture of a check mark drawn on its own: "CbS_E" on, "CbS_D" off.
inline const char* CheckMarkPicture(bool checked) {
    return checked ? "CbS_E" : "CbS_D";
}

// The program's icon in every size the skin draws it ("AppIcon_16" .. "AppIcon_256"): the
// application's and the windows' icon, and the notification area's. Raises like
// LoadSkinPng when a size is missing or does not decode.
QIcon ProgramIcon();

} // namespace window::shell
