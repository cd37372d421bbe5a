#pragma once
// Writing a GIF built in memory (screen, colour maps and saved images) with giflib.
#include <gif_lib.h>

namespace gif_write {

// EGifSpew writes the picture and closes the file, but in this giflib the close frees
// neither the saved images nor the global colour map the caller made (the screen
// descriptor takes a copy of it); they are freed here, whatever the outcome.
inline bool SpewAndFree(GifFileType* gif) {
    GifFileType owned{};
    owned.SavedImages = gif->SavedImages;
    owned.ImageCount = gif->ImageCount;
    ColorMapObject* globalMap = gif->SColorMap;
    const bool ok = EGifSpew(gif) == GIF_OK;
    GifFreeSavedImages(&owned);
    GifFreeMapObject(globalMap);
    return ok;
}

} // namespace gif_write
