// Writes S2 pages word by word: a test states the header and the stream in a few
// readable calls, one per operation of the page,
//   S2Writer page;
//   page.ShortHeader(4000, 12000).Horizontal().SizeNumbers(5, 5).SetLine(1000)
//       .Text(100, 100, "\xB0\xA1\xB0\xA2").EndItem();
// or a whole text block at once with TextBlock().
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrum::testing {

class S2Writer {
public:
    // 0x8003 width 0x8003 height.
    S2Writer& ShortHeader(uint16_t width, uint16_t height);
    // 16 words: signature pair, origin offsets at 12/14, page size at 16/18.
    S2Writer& LongHeader(uint16_t sig1, uint16_t sig2, uint16_t width, uint16_t height, uint16_t xOffset = 0,
                         uint16_t yOffset = 0);
    S2Writer& Word(uint32_t word);
    // A 32-bit word of two 16-bit halves: lo in bytes 0-1, hi in bytes 2-3.
    S2Writer& Halves(uint16_t lo, uint16_t hi) { return Word(static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16)); }
    S2Writer& Glyph(uint16_t position, uint16_t code) { return Halves(position, code); }
    S2Writer& Op(uint16_t code, uint16_t parameter = 0) { return Halves(code, parameter); }
    // Raw bytes, for files that end inside a word.
    S2Writer& Bytes(const std::string& bytes);

    // Line position (y of a horizontal line, x of a vertical column).
    S2Writer& SetLine(int16_t position) { return Op(0x8001, static_cast<uint16_t>(position)); }
    // Glyph size by size-table numbers (0 to 21), as 0x8002 (may split the item) or 0x801E.
    S2Writer& SizeNumbers(unsigned width, unsigned height) {
        return Op(0x8002, static_cast<uint16_t>(((width & 0x1F) << 5) | (height & 0x1F)));
    }
    S2Writer& SizeNumberBytes(unsigned width, unsigned height) {
        return Op(0x801E, static_cast<uint16_t>(((width & 0xFF) << 8) | (height & 0xFF)));
    }
    // Glyph width and height in quarter units.
    S2Writer& WidthQuarters(int16_t quarters) { return Op(0x8070, static_cast<uint16_t>(quarters)); }
    S2Writer& HeightQuarters(int16_t quarters) { return Op(0x8071, static_cast<uint16_t>(quarters)); }
    S2Writer& Vertical() { return Op(0x8018); }
    S2Writer& Horizontal() { return Op(0x8019); }
    S2Writer& Space() { return Op(0x80F1); }
    S2Writer& LineBreak() { return Op(0x80F4); }
    S2Writer& Link() { return Op(0x80F2); }
    // 0x80F3, or the other end code 0x80F7.
    S2Writer& EndItem(uint16_t code = 0x80F3) { return Op(code); }
    S2Writer& PushOrigin(uint16_t dx, int16_t dy) { return Op(0x801A).Halves(dx, static_cast<uint16_t>(dy)); }
    S2Writer& PopOrigin() { return Op(0x801B); }

    // One glyph per character of `gbk` (a GB2312 pair or an ASCII byte), at positions
    // start, start + step, ... along the current line.
    S2Writer& Text(uint16_t start, uint16_t step, const std::string& gbk);

    // A whole horizontal text item: size numbers, then one line per entry of `lines`
    // (line positions top + k * lineStep, glyphs from `left` a size apart), then the
    // end of the item. Lines up to 1000 units apart stay one item.
    S2Writer& TextBlock(uint16_t left, int16_t top, unsigned sizeNumber, const std::vector<std::string>& lines,
                        int16_t lineStep = 0);
    // The same written in vertical columns: `columns` from x = left leftwards by
    // columnStep (or rightwards with a negative step), glyphs down from `top`.
    S2Writer& VerticalTextBlock(int16_t left, uint16_t top, unsigned sizeNumber, const std::vector<std::string>& columns,
                                int16_t columnStep = 0);

    // A picture record: 0x800A without extension, or 0x808A / 0x809A with an extension
    // of 2 * extensionCount + 4 units. A name of up to 8 characters is written in the
    // short form (zero-padded), a longer one in the long form (0xFFFF, count, units);
    // `forceLong` writes a short name in the long form too.
    S2Writer& Picture(uint16_t left, uint16_t top, uint16_t width, uint16_t height, const std::string& name,
                      uint16_t code = 0x800A, uint16_t extensionCount = 0, bool forceLong = false);
    // The long-form name field with an explicit (possibly negative or oversized) count
    // and the characters actually written.
    S2Writer& PictureLongCount(uint16_t left, uint16_t top, uint16_t width, uint16_t height, int16_t count,
                               const std::string& chars);
    // A rule record (0x8006-0x8008, 0x8010-0x8012): six units, then `extension` units
    // as given, padded with a zero unit to whole words.
    S2Writer& Rule(uint16_t code, uint16_t x1, uint16_t y1, uint16_t x2, uint16_t y2,
                   const std::vector<uint16_t>& extension = {});

    const std::string& Data() const { return data_; }
    size_t WordCount() const { return data_.size() / 4; }

private:
    void U16(uint16_t v);
    // Pads a record of 16-bit units to whole words.
    void EndUnits(size_t unitsWritten);
    std::string data_;
};

// GB2312 codes of test text: the character pairs of `gbk` as 16-bit codes.
uint16_t GbCode(const char* pair);

}  // namespace kestrum::testing
