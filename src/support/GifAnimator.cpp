#include "support/GifAnimator.h"

#include "platform/core/Time.h"

#include <QPainter>

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace support {
namespace {

// Composed frames cost four bytes a pixel each; a picture that would need more than
// this many pixels in all is cut off there instead of exhausting memory.
constexpr long long kMaxComposedPixels = 64LL * 1024 * 1024;

struct MemoryReader {
    const unsigned char* data;
    size_t size;
    size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int wanted) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    if (wanted <= 0) return 0;
    const size_t n = std::min(static_cast<size_t>(wanted), reader->size - reader->pos);
    std::memcpy(buffer, reader->data + reader->pos, n);
    reader->pos += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

std::string GifErrorText(int code) {
    const char* text = GifErrorString(code);
    return text ? text : "the data ends early or is damaged";
}

// A walk over the GIF's block structure, without decoding any pixels. It tells how many
// images are complete in the data (their data blocks end before the data does), and
// where the first image with an empty size starts: the decoder library divides by the
// image height, so such an image must never reach it and the data is cut before it.
// The data is cut as well before an image of more pixels than a whole picture may have:
// the decoder library would take a byte for each of them before reading any.
struct BlockScan {
    int completeImages = 0;
    size_t usableSize = 0;
};

bool SkipSubBlocks(const unsigned char* d, size_t size, size_t& pos) {
    while (pos < size) {
        const size_t n = d[pos++];
        if (n == 0) return true;
        pos += n;
    }
    return false;
}

BlockScan ScanBlocks(const unsigned char* d, size_t size) {
    BlockScan scan;
    scan.usableSize = size;
    if (size < 13) return scan;
    size_t pos = 13;
    if (d[10] & 0x80) pos += 3u << ((d[10] & 7) + 1);
    while (pos < size) {
        const size_t start = pos;
        if (d[pos] == 0x21) {
            pos += 2;
            if (!SkipSubBlocks(d, size, pos)) break;
        } else if (d[pos] == 0x2C) {
            if (pos + 10 > size) break;
            const int width = d[pos + 5] | (d[pos + 6] << 8);
            const int height = d[pos + 7] | (d[pos + 8] << 8);
            if (width == 0 || height == 0 ||
                static_cast<long long>(width) * height > kMaxComposedPixels) {
                scan.usableSize = start;
                break;
            }
            const unsigned flags = d[pos + 9];
            pos += 10;
            if (flags & 0x80) pos += 3u << ((flags & 7) + 1);
            pos += 1; // LZW minimum code size
            if (!SkipSubBlocks(d, size, pos)) break;
            ++scan.completeImages;
        } else {
            break; // trailer, or a record the decoder will reject
        }
    }
    return scan;
}

bool IsPixelDataError(int error) {
    return error == D_GIF_ERR_IMAGE_DEFECT || error == D_GIF_ERR_EOF_TOO_SOON ||
           error == D_GIF_ERR_DATA_TOO_BIG || error == D_GIF_ERR_NOT_ENOUGH_MEM;
}

// How many of the images the decoder saved can be shown. After a failure every image
// but the last is complete (another record followed it). The last one is complete when
// all its data blocks are present and the failure was not in decoding its pixels: a
// read past the end of data cannot happen inside an image whose blocks are all there,
// so such a failure came after it. (A failure in the middle of an image descriptor
// leaves no error code at all.)
int UsableImageCount(const GifFileType* gif, bool slurped, const BlockScan& scan) {
    int count = gif->ImageCount;
    if (!slurped && count > 0) {
        const bool lastComplete = scan.completeImages >= count && !IsPixelDataError(gif->Error);
        if (!lastComplete) --count;
    }
    for (int i = 0; i < count; ++i)
        if (!gif->SavedImages[i].RasterBits) return i;
    return count;
}

// Paints one frame's pixels onto the canvas, clipped to the logical screen.
void PaintFrame(QImage& canvas, const SavedImage& image, const ColorMapObject& colours,
                int transparent) {
    const GifImageDesc& desc = image.ImageDesc;
    const int x0 = std::max(0, desc.Left);
    const int y0 = std::max(0, desc.Top);
    const int x1 = std::min(canvas.width(), desc.Left + desc.Width);
    const int y1 = std::min(canvas.height(), desc.Top + desc.Height);
    for (int y = y0; y < y1; ++y) {
        const GifPixelType* src = image.RasterBits + static_cast<size_t>(y - desc.Top) * desc.Width;
        auto* dst = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = x0; x < x1; ++x) {
            const int index = src[x - desc.Left];
            if (index == transparent || index >= colours.ColorCount) continue;
            const GifColorType& c = colours.Colors[index];
            dst[x] = qRgb(c.Red, c.Green, c.Blue);
        }
    }
}

void ClearRect(QImage& canvas, const GifImageDesc& desc) {
    const int x0 = std::max(0, desc.Left);
    const int y0 = std::max(0, desc.Top);
    const int x1 = std::min(canvas.width(), desc.Left + desc.Width);
    const int y1 = std::min(canvas.height(), desc.Top + desc.Height);
    for (int y = y0; y < y1; ++y) {
        auto* dst = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        std::fill(dst + x0, dst + std::max(x0, x1), QRgb(0));
    }
}

// A frame of at most 256 colours, as most composed GIF frames are, is kept as an 8-bit
// picture with its own colour table: a quarter of the memory and the same pixels. A frame
// with more colours stays as it is.
QImage CompactFrame(const QImage& frame) {
    QImage compact(frame.size(), QImage::Format_Indexed8);
    if (compact.isNull()) return frame;
    QList<QRgb> table;
    std::unordered_map<QRgb, uchar> indexOf;
    QRgb last = 0;
    uchar lastIndex = 0;
    bool any = false;
    const int width = frame.width(), height = frame.height();
    for (int y = 0; y < height; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
        uchar* dst = compact.scanLine(y);
        for (int x = 0; x < width; ++x) {
            if (!any || src[x] != last) {
                const auto found = indexOf.find(src[x]);
                if (found != indexOf.end()) {
                    lastIndex = found->second;
                } else {
                    if (table.size() == 256) return frame;
                    lastIndex = static_cast<uchar>(table.size());
                    indexOf.emplace(src[x], lastIndex);
                    table.push_back(src[x]);
                }
                last = src[x];
                any = true;
            }
            dst[x] = lastIndex;
        }
    }
    compact.setColorTable(table);
    return compact;
}

// Decodes as DecodeGif does; `keep` turns the canvas as it stands after each frame into
// the image the picture holds for that frame.
bool DecodeFrames(const void* data, size_t size, TGifPicture& picture, std::string& error,
                  QImage (*keep)(const QImage& canvas)) {
    picture = TGifPicture{};
    if (!data || size == 0) {
        error = "no data";
        return false;
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    const BlockScan scan = ScanBlocks(bytes, size);
    MemoryReader reader{bytes, scan.usableSize, 0};
    int openError = 0;
    GifHandle gif(DGifOpen(&reader, ReadFromMemory, &openError));
    if (!gif) {
        error = GifErrorText(openError);
        return false;
    }
    if (gif->SWidth <= 0 || gif->SHeight <= 0) {
        error = "the picture has no size";
        return false;
    }
    // The size comes from the header alone: test it before asking for the canvas, which
    // a few bytes could otherwise make gigabytes large.
    const long long screenPixels = static_cast<long long>(gif->SWidth) * gif->SHeight;
    if (screenPixels > kMaxComposedPixels) {
        error = "the picture is too large";
        return false;
    }
    const bool slurped = DGifSlurp(gif.get()) == GIF_OK;
    const int usable = UsableImageCount(gif.get(), slurped, scan);
    picture.Damaged = !slurped || scan.usableSize < size;
    QImage canvas(gif->SWidth, gif->SHeight, QImage::Format_ARGB32);
    if (canvas.isNull()) {
        error = "the picture is too large";
        return false;
    }
    canvas.fill(Qt::transparent);
    picture.Size = canvas.size();

    for (int i = 0; i < usable; ++i) {
        if (screenPixels * (i + 1) > kMaxComposedPixels) {
            picture.Damaged = true;
            break;
        }
        const SavedImage& image = gif->SavedImages[i];
        const ColorMapObject* colours =
            image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        if (!colours) {
            picture.Damaged = true;
            break;
        }
        GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        // A frame without a control block reports an error but gets these defaults.
        DGifSavedExtensionToGCB(gif.get(), i, &gcb);

        QImage before;
        if (gcb.DisposalMode == DISPOSE_PREVIOUS) before = canvas.copy();
        PaintFrame(canvas, image, *colours, gcb.TransparentColor);
        picture.Frames.push_back({keep(canvas), GifDelayMs(gcb.DelayTime)});

        if (gcb.DisposalMode == DISPOSE_BACKGROUND)
            ClearRect(canvas, image.ImageDesc);
        else if (gcb.DisposalMode == DISPOSE_PREVIOUS)
            canvas = before;
    }
    if (picture.Frames.empty()) {
        error = slurped ? "the picture has no frame" : GifErrorText(gif->Error);
        picture = TGifPicture{};
        return false;
    }
    error.clear();
    return true;
}

} // namespace

int GifDelayMs(int delayHundredths) {
    return delayHundredths <= 1 ? 100 : delayHundredths * 10;
}

bool DecodeGif(const void* data, size_t size, TGifPicture& picture, std::string& error) {
    return DecodeFrames(data, size, picture, error,
                        [](const QImage& canvas) { return canvas.copy(); });
}

bool DecodeGifForShow(const void* data, size_t size, TGifPicture& picture, std::string& error) {
    // Each frame is held compact straight from the canvas, without a full-size copy of
    // its own first.
    return DecodeFrames(data, size, picture, error, CompactFrame);
}

TGifAnimator::TGifAnimator(QWidget* parent) : QWidget(parent) {
    timer_.setSingleShot(true);
    // Exact to the millisecond, so that the moment a frame is due is known without
    // asking the timer (a coarse timer may run out a little before or after it).
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] {
        nextFrameDue_ = std::chrono::steady_clock::time_point::max();
        NextFrame();
    });
}

bool TGifAnimator::LoadFromMemory(const void* data, size_t size) {
    TGifPicture loaded;
    if (!DecodeGifForShow(data, size, loaded, lastError_)) return false;
    ShowPicture(std::move(loaded));
    return true;
}

void TGifAnimator::ShowPicture(TGifPicture picture) {
    picture_ = std::move(picture);
    lastError_.clear();
    if (frameIndex_ >= FrameCount()) frameIndex_ = 0;
    Reschedule();
    FrameChanged();
}

void TGifAnimator::Clear() {
    picture_ = TGifPicture{};
    frameIndex_ = 0;
    Reschedule();
    FrameChanged();
}

void TGifAnimator::SetAnimate(bool on) {
    animate_ = on;
    Reschedule();
}

void TGifAnimator::SetStretch(bool on) {
    if (stretch_ == on) return;
    stretch_ = on;
    update();
}

void TGifAnimator::SetFrameIndex(int index) {
    if (index < 0 || (FrameCount() > 0 && index >= FrameCount())) return;
    frameIndex_ = index;
    Reschedule();
    FrameChanged();
}

int TGifAnimator::FrameDelay(int index) const {
    if (index < 0 || index >= FrameCount()) return 0;
    return picture_.Frames[static_cast<size_t>(index)].DelayMs;
}

QImage TGifAnimator::CurrentFrame() const {
    if (frameIndex_ >= FrameCount()) return {};
    return picture_.Frames[static_cast<size_t>(frameIndex_)].Image;
}

void TGifAnimator::paintEvent(QPaintEvent*) {
    const QImage frame = CurrentFrame();
    if (frame.isNull()) return;
    QPainter painter(this);
    if (stretch_)
        painter.drawImage(rect(), frame);
    else
        painter.drawImage(0, 0, frame);
}

void TGifAnimator::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Reschedule();
}

void TGifAnimator::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Reschedule();
}

void TGifAnimator::Reschedule() {
    timer_.stop();
    nextFrameDue_ = std::chrono::steady_clock::time_point::max();
    if (!animate_ || FrameCount() < 2 || !isVisible()) return;
    // A real timer of 0 ms would spin the event loop; one millisecond is the least.
    const int ms = static_cast<int>(std::max<uint32_t>(
        1, platform::core::ScaledMs(static_cast<uint32_t>(FrameDelay(frameIndex_)))));
    timer_.start(ms);
    // Read after the start, so never before the moment the timer runs out.
    nextFrameDue_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

void TGifAnimator::NextFrame() {
    if (FrameCount() == 0) return;
    frameIndex_ = (frameIndex_ + 1) % FrameCount();
    Reschedule();
    FrameChanged();
}

void TGifAnimator::FrameChanged() {
    update();
    if (OnFrameChange) OnFrameChange();
}

} // namespace support
