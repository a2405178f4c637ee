// GIF through giflib: the first frame only, placed on the logical screen, which is
// filled with the background colour.
#include "parser/Image.h"
#include "parser/ImageCodecs.h"
#include "parser/ImageDib.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <gif_lib.h>

namespace kestrum::codec {

namespace {

int ReadFromFile(GifFileType* gif, GifByteType* bytes, int count) {
    return static_cast<int>(std::fread(bytes, 1, static_cast<size_t>(count), static_cast<FILE*>(gif->UserData)));
}

struct GifFile {
    GifFileType* gif = nullptr;
    ~GifFile() {
        if (gif) DGifCloseFile(gif, nullptr);
    }
};

bool SkipExtension(GifFileType* gif) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    while (block)
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    return true;
}

void SetPalette(const ColorMapObject* map, uint8_t* palette) {
    if (!map || !map->Colors) return;
    for (int i = 0; i < map->ColorCount && i < int(dib::kPaletteEntries); ++i)
        dib::SetPaletteEntry(palette, uint32_t(i), map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
}

// Rows of the frame in the order the file stores them.
std::vector<int> FrameRowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(size_t(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) order.push_back(y);
        return order;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
    return order;
}

bool ReadFirstFrame(GifFileType* gif, std::vector<uint8_t>& dib) {
    if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
    const GifImageDesc& frame = gif->Image;
    if (frame.Width <= 0 || frame.Height <= 0) return false;
    const int screenWidth = gif->SWidth > 0 ? gif->SWidth : frame.Left + frame.Width;
    const int screenHeight = gif->SHeight > 0 ? gif->SHeight : frame.Top + frame.Height;
    if (!dib::Create(dib, uint32_t(screenWidth), uint32_t(screenHeight), 8)) return false;
    SetPalette(gif->SColorMap, dib::Palette(dib));
    SetPalette(frame.ColorMap, dib::Palette(dib));
    const auto background = static_cast<uint8_t>(gif->SBackGroundColor);
    for (uint32_t y = 0; y < uint32_t(screenHeight); ++y) std::memset(dib::Row(dib, y), background, size_t(screenWidth));

    std::vector<GifPixelType> line(size_t(frame.Width));
    const int visibleLeft = std::clamp(frame.Left, 0, screenWidth);
    const int visibleRight = std::clamp(frame.Left + frame.Width, 0, screenWidth);
    for (int y : FrameRowOrder(frame.Height, frame.Interlace)) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return false;
        const int screenY = frame.Top + y;
        if (screenY < 0 || screenY >= screenHeight || visibleRight <= visibleLeft) continue;
        std::memcpy(dib::Row(dib, uint32_t(screenY)) + visibleLeft, line.data() + (visibleLeft - frame.Left),
                    size_t(visibleRight - visibleLeft));
    }
    return true;
}

}  // namespace

bool DecodeGif(FILE* file, std::vector<uint8_t>& dib) {
    int error = 0;
    GifFile f;
    f.gif = DGifOpen(file, ReadFromFile, &error);
    if (!f.gif) return false;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(f.gif, &type) == GIF_ERROR) return false;
        switch (type) {
        case IMAGE_DESC_RECORD_TYPE: return ReadFirstFrame(f.gif, dib);
        case EXTENSION_RECORD_TYPE:
            if (!SkipExtension(f.gif)) return false;
            break;
        default: return false;  // the end, or no frame at all
        }
    }
}

}  // namespace kestrum::codec
