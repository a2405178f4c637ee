// Turning an image by any angle. A positive angle turns the picture counter-clockwise
// as it is seen on the screen (y downwards); callers pass the negated page angle to
// turn it clockwise. The canvas grows to hold the whole turned picture, and what the
// picture does not cover is white.
#include "parser/Image.h"

#include "parser/ImageDib.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace kestrum {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The palette entry closest to white.
uint8_t WhiteIndex(std::vector<uint8_t>& image) {
    uint8_t* palette = dib::Palette(image);
    int best = 0;
    int bestDistance = 3 * 256;
    for (int i = 0; i < int(dib::kPaletteEntries); ++i) {
        const int distance = 3 * 255 - palette[i * 4] - palette[i * 4 + 1] - palette[i * 4 + 2];
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return static_cast<uint8_t>(best);
}

// Extent of the turned picture, rounded so that quarter turns keep exact sizes; at
// least one pixel. Extents beyond 32 bits saturate and are refused by the image limit.
uint32_t TurnedExtent(double a, double b) {
    return static_cast<uint32_t>(std::max(1, trunc32(std::fabs(a) + std::fabs(b) + 0.5)));
}

}  // namespace

bool CxImage::Rotate(float angle, CxImage* dst) {
    if (!IsValid() || !std::isfinite(angle)) return false;
    const uint32_t width = GetWidth();
    const uint32_t height = GetHeight();
    const uint16_t bpp = GetBpp();
    const double a = angle * kPi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const uint32_t newWidth = TurnedExtent(width * c, height * s);
    const uint32_t newHeight = TurnedExtent(width * s, height * c);
    try {
        std::vector<uint8_t> turned;
        if (!dib::Create(turned, newWidth, newHeight, bpp)) return false;
        const size_t bytesPerPixel = bpp / 8;
        uint8_t background = 0xFF;
        if (bpp == 8) {
            std::memcpy(dib::Palette(turned), dib::Palette(dib_), dib::kPaletteEntries * 4);
            background = WhiteIndex(turned);
        }
        // Every target pixel centre is turned back into the source picture.
        const double sourceCx = width / 2.0;
        const double sourceCy = height / 2.0;
        const double targetCx = newWidth / 2.0;
        const double targetCy = newHeight / 2.0;
        for (uint32_t y = 0; y < newHeight; ++y) {
            uint8_t* row = dib::Row(turned, y);
            const double dy = y + 0.5 - targetCy;
            for (uint32_t x = 0; x < newWidth; ++x) {
                const double dx = x + 0.5 - targetCx;
                // On a y-down screen a counter-clockwise turn by a maps (u, v) to
                // (u cos a + v sin a, -u sin a + v cos a); this is its inverse.
                const double u = dx * c - dy * s + sourceCx;
                const double v = dx * s + dy * c + sourceCy;
                uint8_t* to = row + x * bytesPerPixel;
                if (u < 0 || v < 0 || u >= width || v >= height) {
                    std::memset(to, background, bytesPerPixel);
                    continue;
                }
                const uint8_t* from = dib::Row(dib_, static_cast<uint32_t>(trunc32(v))) +
                                      size_t(static_cast<uint32_t>(trunc32(u))) * bytesPerPixel;
                std::memcpy(to, from, bytesPerPixel);
            }
        }
        CxImage& out = dst ? *dst : *this;
        out.dib_.swap(turned);
        out.format_ = format_;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace kestrum
