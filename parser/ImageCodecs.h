// The codecs behind CxImage. Each decoder fills a packed DIB (see ImageDib.h) and
// returns false, leaving whatever it began, on any fault of the file; none throws
// except std::bad_alloc.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace kestrum::codec {

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// The format code the first bytes of the file show; 0 when none is recognised.
uint32_t SniffFormat(FILE* file);

bool DecodeJpeg(FILE* file, std::vector<uint8_t>& dib);
bool DecodePng(FILE* file, std::vector<uint8_t>& dib);
bool DecodeTiff(const std::string& osPath, std::vector<uint8_t>& dib);
bool DecodeGif(FILE* file, std::vector<uint8_t>& dib);
bool DecodeBmp(FILE* file, std::vector<uint8_t>& dib);

bool EncodeJpeg(FILE* file, const std::vector<uint8_t>& dib, int quality);

}  // namespace kestrum::codec
