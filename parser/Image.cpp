#include "parser/Image.h"

#include "parser/ImageCodecs.h"
#include "parser/ImageDib.h"
#include "platform/Files.h"
#include "platform/Mbcs.h"
#include "platform/Path.h"

#include <cstring>
#include <new>

#include <unistd.h>

namespace kestrum {

namespace {

struct Extension {
    const char* text;
    uint32_t format;
};
constexpr Extension kExtensions[] = {
    {".jpg", CXIMAGE_FORMAT_JPG}, {".jpeg", CXIMAGE_FORMAT_JPG}, {".jpe", CXIMAGE_FORMAT_JPG},
    {".tif", CXIMAGE_FORMAT_TIF}, {".tiff", CXIMAGE_FORMAT_TIF}, {".png", CXIMAGE_FORMAT_PNG},
    {".gif", CXIMAGE_FORMAT_GIF}, {".bmp", CXIMAGE_FORMAT_BMP},  {".dib", CXIMAGE_FORMAT_BMP},
};

bool DecodeAs(uint32_t format, FILE* file, const std::string& osPath, std::vector<uint8_t>& dib) {
    switch (format) {
    case CXIMAGE_FORMAT_JPG: return codec::DecodeJpeg(file, dib);
    case CXIMAGE_FORMAT_PNG: return codec::DecodePng(file, dib);
    case CXIMAGE_FORMAT_TIF: return codec::DecodeTiff(osPath, dib);
    case CXIMAGE_FORMAT_GIF: return codec::DecodeGif(file, dib);
    case CXIMAGE_FORMAT_BMP: return codec::DecodeBmp(file, dib);
    default: return false;
    }
}

}  // namespace

CxImage::CxImage(uint32_t format) : format_(format) {}

CxImage::CxImage(std::string_view path, uint32_t format) : format_(format) { Load(path, format); }

CxImage::~CxImage() = default;

uint32_t CxImage::FindType(std::string_view path) {
    const std::string ext = ExtensionOf(path);
    for (const Extension& e : kExtensions)
        if (MbEqualNoCase(ext, e.text)) return e.format;
    return CXIMAGE_FORMAT_UNKNOWN;
}

bool CxImage::IsValid() const { return !dib_.empty(); }

bool CxImage::Load(std::string_view path, uint32_t format) {
    ResetDib();
    const std::string osPath = ToOsPath(path);
    size_t size = 0;
    const int fd = OpenRegularFile(path, size);
    if (fd < 0) return false;
    codec::FilePtr file(::fdopen(fd, "rb"));
    if (!file) {
        ::close(fd);
        return false;
    }
    // The content decides: picture files often carry the wrong extension.
    uint32_t found = codec::SniffFormat(file.get());
    if (found == CXIMAGE_FORMAT_UNKNOWN) found = format;
    bool ok = false;
    try {
        ok = DecodeAs(found, file.get(), osPath, dib_);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) {
        ResetDib();
        return false;
    }
    format_ = found;
    return true;
}

bool CxImage::Save(std::string_view path, uint32_t format) {
    if (!IsValid() || format != CXIMAGE_FORMAT_JPG) return false;
    const std::string osPath = ToOsPath(path);
    codec::FilePtr file(std::fopen(osPath.c_str(), "wb"));
    if (!file) return false;
    bool ok = false;
    try {
        ok = codec::EncodeJpeg(file.get(), dib_, jpegQuality_);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    ok = std::fclose(file.release()) == 0 && ok;
    if (!ok) RemoveFile(path);
    return ok;
}

void CxImage::SetJpegQuality(uint8_t quality) { jpegQuality_ = quality; }
uint8_t CxImage::GetJpegQuality() const { return jpegQuality_; }

uint16_t CxImage::GetBpp() const { return dib::Bpp(dib_); }

bool CxImage::IncreaseBpp(uint32_t bpp) {
    const uint16_t current = GetBpp();
    if (current == 0 || bpp < current) return false;
    if (bpp == current) return true;
    if (bpp != 24) return false;
    try {
        std::vector<uint8_t> wider;
        const uint32_t width = GetWidth();
        const uint32_t height = GetHeight();
        if (!dib::Create(wider, width, height, 24)) return false;
        for (uint32_t y = 0; y < height; ++y) dib::RowToBgr(dib_, y, dib::Row(wider, y));
        dib_.swap(wider);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

uint32_t CxImage::GetWidth() const { return dib::Width(dib_); }
uint32_t CxImage::GetHeight() const { return dib::Height(dib_); }

void* CxImage::GetDIB() { return dib_.empty() ? nullptr : dib_.data(); }
size_t CxImage::GetDIBSize() const { return dib_.size(); }

HGLOBAL CxImage::CopyToHandle() const {
    if (dib_.empty() || dib_.size() > kMaxImageBytes + dib::kHeaderSize + dib::kPaletteEntries * 4) return nullptr;
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, dib_.size());
    if (!handle) return nullptr;
    void* bytes = GlobalLock(handle);
    if (!bytes) {
        GlobalFree(handle);
        return nullptr;
    }
    std::memcpy(bytes, dib_.data(), dib_.size());
    GlobalUnlock(handle);
    return handle;
}

void CxImage::Destroy() { ResetDib(); }

// One frame is all we ever decode.
void CxImage::DestroyFrames() {}

void CxImage::ResetDib() {
    dib_.clear();
    dib_.shrink_to_fit();
}

}  // namespace kestrum
