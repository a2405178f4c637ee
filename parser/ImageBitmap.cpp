// CxImage and the drawing layer: images from rendered bitmaps, images drawn into contexts.
#include "parser/Image.h"

#include "parser/ImageDib.h"
#include "platform/Draw.h"

#include <cstring>
#include <new>

namespace kestrum {

bool CxImage::CreateFromHBITMAP(const DrawBitmap& bitmap) {
    ResetDib();
    if (!bitmap.IsValid()) return false;
    try {
        const auto width = static_cast<uint32_t>(bitmap.Width());
        const auto height = static_cast<uint32_t>(bitmap.Height());
        if (!dib::Create(dib_, width, height, 24)) return false;
        const uint8_t* pixels = bitmap.Pixels();
        for (uint32_t y = 0; y < height; ++y) {
            const uint8_t* from = pixels + size_t{y} * size_t(bitmap.Stride());
            uint8_t* to = dib::Row(dib_, y);
            for (uint32_t x = 0; x < width; ++x) std::memcpy(to + size_t{x} * 3, from + size_t{x} * 4, 3);
        }
    } catch (const std::bad_alloc&) {
        ResetDib();
        return false;
    }
    return true;
}

bool CxImage::Draw(DrawContext& dc, const Rect& target, const Rect* clip, bool smooth) {
    if (!IsValid() || !dc.IsValid()) return false;
    const uint32_t width = GetWidth();
    const uint32_t height = GetHeight();
    if (uint64_t{width} * height * 4 > kMaxImageBytes) return false;
    try {
        // The drawing layer takes 32-bit words, B, G, R and one unused byte.
        std::vector<uint8_t> pixels(size_t{width} * height * 4);
        std::vector<uint8_t> bgr(size_t{width} * 3);
        for (uint32_t y = 0; y < height; ++y) {
            dib::RowToBgr(dib_, y, bgr.data());
            uint8_t* to = pixels.data() + size_t{y} * width * 4;
            for (uint32_t x = 0; x < width; ++x) std::memcpy(to + size_t{x} * 4, bgr.data() + size_t{x} * 3, 3);
        }
        dc.Save();
        if (clip) dc.IntersectClip(*clip);
        dc.StretchPixels(target, pixels.data(), static_cast<int32_t>(width), static_cast<int32_t>(height),
                         static_cast<int32_t>(width * 4), smooth);
        dc.Restore();
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace kestrum
