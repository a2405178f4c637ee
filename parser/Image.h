// The image library: decoding, encoding, depth, bitmaps for the host, drawing and
// rotation, over libjpeg-turbo, libpng, libtiff, giflib and our BMP reader/writer
// of packed DIBs. Callers treat a failed load as an empty image.
#pragma once

#include <kestrum/kestrum.h>

#include "platform/Draw.h"
#include "platform/Rect.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

enum ImageFormat : uint32_t {
    CXIMAGE_FORMAT_UNKNOWN = 0,
    CXIMAGE_FORMAT_BMP = 1,
    CXIMAGE_FORMAT_GIF = 2,
    CXIMAGE_FORMAT_JPG = 3,
    CXIMAGE_FORMAT_PNG = 4,
    CXIMAGE_FORMAT_TIF = 6,
};

// Pixel buffers above this are refused: image dimensions come from untrusted files.
constexpr size_t kMaxImageBytes = kMaxBitmapBytes;

class CxImage {
public:
    explicit CxImage(uint32_t format = CXIMAGE_FORMAT_UNKNOWN);
    // Decodes the file (narrow path). Its content names the format; `format` counts
    // only when the content is not recognised. A file that does not decode, or whose
    // pixels would exceed kMaxImageBytes, gives an empty image.
    CxImage(std::string_view path, uint32_t format);
    virtual ~CxImage();
    CxImage(const CxImage&) = delete;
    CxImage& operator=(const CxImage&) = delete;

    // Format from the file name's extension; 0 when not recognised.
    static uint32_t FindType(std::string_view path);

    bool IsValid() const;
    bool Load(std::string_view path, uint32_t format);
    // Writes JPEG (format 3, the only one the callers ask for) at the JPEG quality;
    // other formats are refused. A failed write leaves no file behind.
    bool Save(std::string_view path, uint32_t format);
    void SetJpegQuality(uint8_t quality);
    uint8_t GetJpegQuality() const;

    // 8 (with a palette) or 24; 0 for an empty image.
    uint16_t GetBpp() const;
    // Only 24 is a depth to raise to; asking for the present depth succeeds.
    bool IncreaseBpp(uint32_t bpp);
    uint32_t GetWidth() const;
    uint32_t GetHeight() const;

    // Packed DIB (BITMAPINFOHEADER, palette for <= 8 bits, bottom-up rows padded to
    // 4 bytes), owned by the image; null when the image is empty.
    void* GetDIB();
    size_t GetDIBSize() const;
    // A caller-owned global memory handle with the same bytes; null for an empty image.
    HGLOBAL CopyToHandle() const;

    bool CreateFromHBITMAP(const DrawBitmap& bitmap);
    // Stretches the image into `target`, optionally clipped, smoothed only when asked.
    bool Draw(DrawContext& dc, const Rect& target, const Rect* clip = nullptr, bool smooth = false);
    // Turns the picture by `angle` degrees, counter-clockwise as seen on the screen for
    // a positive angle, in place or into `dst`; the canvas grows to hold it, the area
    // it does not cover is white. False, and nothing changed, when the canvas would
    // exceed the image limit.
    bool Rotate(float angle, CxImage* dst = nullptr);

    void Destroy();
    void DestroyFrames();

private:
    void ResetDib();

    uint32_t format_ = CXIMAGE_FORMAT_UNKNOWN;
    uint8_t jpegQuality_ = 90;
    std::vector<uint8_t> dib_;  // the packed DIB; empty when the image is empty
};

}  // namespace kestrum
