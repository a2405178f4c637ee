// JPEG through libjpeg-turbo. Errors of the library jump back here and end the
// decoding; warnings about damaged data are ignored, as viewers do.
#include "parser/Image.h"
#include "parser/ImageCodecs.h"
#include "parser/ImageDib.h"

#include <csetjmp>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace kestrum::codec {

namespace {

// A damaged progressive file can ask for an endless series of scans.
constexpr long kMaxScans = 1000;

struct ErrorTrap {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1); }
void OnMessage(j_common_ptr, int) {}
void OnOutput(j_common_ptr) {}

void OnProgress(j_common_ptr info) {
    auto* d = reinterpret_cast<j_decompress_ptr>(info);
    if (d->is_decompressor && d->input_scan_number > kMaxScans) OnError(info);
}

void InstallTrap(ErrorTrap& trap) {
    jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = OnError;
    trap.mgr.emit_message = OnMessage;
    trap.mgr.output_message = OnOutput;
}

struct Decompressor {
    jpeg_decompress_struct info{};
    bool created = false;
    ~Decompressor() {
        if (created) jpeg_destroy_decompress(&info);
    }
};

struct Compressor {
    jpeg_compress_struct info{};
    bool created = false;
    ~Compressor() {
        if (created) jpeg_destroy_compress(&info);
    }
};

// CMYK as Adobe writes it stores every ink inverted; others store it plain.
void CmykRowToBgr(const uint8_t* cmyk, uint32_t width, bool inverted, uint8_t* bgr) {
    for (uint32_t x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const int k = inverted ? cmyk[3] : 255 - cmyk[3];
        const auto ink = [&](int v) { return static_cast<uint8_t>((inverted ? v : 255 - v) * k / 255); };
        bgr[0] = ink(cmyk[2]);
        bgr[1] = ink(cmyk[1]);
        bgr[2] = ink(cmyk[0]);
    }
}

}  // namespace

bool DecodeJpeg(FILE* file, std::vector<uint8_t>& dib) {
    Decompressor d;
    ErrorTrap trap;
    jpeg_progress_mgr progress{};
    std::vector<uint8_t> cmykRow;
    d.info.err = &trap.mgr;
    InstallTrap(trap);
    if (setjmp(trap.jump)) return false;
    jpeg_create_decompress(&d.info);
    d.created = true;
    // Whole-image buffers of progressive files stay within twice the image limit.
    d.info.mem->max_memory_to_use = static_cast<long>(2 * kMaxImageBytes);
    progress.progress_monitor = OnProgress;
    d.info.progress = &progress;
    jpeg_stdio_src(&d.info, file);
    jpeg_read_header(&d.info, TRUE);

    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    const bool grey = d.info.jpeg_color_space == JCS_GRAYSCALE;
    d.info.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&d.info);
    if (!dib::Create(dib, d.info.output_width, d.info.output_height, grey ? 8 : 24)) return false;
    if (cmyk) cmykRow.resize(size_t{d.info.output_width} * 4);

    jpeg_start_decompress(&d.info);
    const bool inverted = d.info.saw_Adobe_marker;
    while (d.info.output_scanline < d.info.output_height) {
        const uint32_t y = d.info.output_scanline;
        JSAMPROW row = cmyk ? cmykRow.data() : dib::Row(dib, y);
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1) return false;
        if (cmyk) CmykRowToBgr(cmykRow.data(), d.info.output_width, inverted, dib::Row(dib, y));
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

bool EncodeJpeg(FILE* file, const std::vector<uint8_t>& dib, int quality) {
    const uint32_t width = dib::Width(dib);
    const uint32_t height = dib::Height(dib);
    // JPEG holds at most 65535 pixels a side.
    if (width == 0 || height == 0 || width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION) return false;
    Compressor c;
    ErrorTrap trap;
    std::vector<uint8_t> bgr(size_t{width} * 3);
    c.info.err = &trap.mgr;
    InstallTrap(trap);
    if (setjmp(trap.jump)) return false;
    jpeg_create_compress(&c.info);
    c.created = true;
    jpeg_stdio_dest(&c.info, file);
    c.info.image_width = width;
    c.info.image_height = height;
    c.info.input_components = 3;
    c.info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c.info);
    jpeg_set_quality(&c.info, quality, TRUE);
    jpeg_start_compress(&c.info, TRUE);
    while (c.info.next_scanline < height) {
        dib::RowToBgr(dib, c.info.next_scanline, bgr.data());
        JSAMPROW row = bgr.data();
        jpeg_write_scanlines(&c.info, &row, 1);
    }
    jpeg_finish_compress(&c.info);
    return !std::ferror(file);
}

}  // namespace kestrum::codec
