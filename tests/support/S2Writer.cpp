#include "tests/support/S2Writer.h"

namespace kestrum::testing {

namespace {

// Glyph sizes of the size numbers 0 to 21, in S2 units.
constexpr uint16_t kSizeTable[] = {48,  56,  66,  76,  86,  100, 116, 134, 152, 174, 202,
                                   232, 266, 308, 352, 410, 468, 546, 616, 704, 820, 938};

uint16_t SizeOf(unsigned number) { return number < std::size(kSizeTable) ? kSizeTable[number] : 0; }

// The characters of GBK text: a lead byte of 0x81 or more takes the next byte with it.
std::vector<uint16_t> Codes(const std::string& gbk) {
    std::vector<uint16_t> codes;
    for (size_t i = 0; i < gbk.size(); ++i) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead >= 0x81 && i + 1 < gbk.size()) {
            codes.push_back(static_cast<uint16_t>(lead << 8 | static_cast<unsigned char>(gbk[++i])));
        } else {
            codes.push_back(lead);
        }
    }
    return codes;
}

}  // namespace

uint16_t GbCode(const char* pair) {
    return static_cast<uint16_t>(static_cast<unsigned char>(pair[0]) << 8 | static_cast<unsigned char>(pair[1]));
}

void S2Writer::U16(uint16_t v) {
    data_ += static_cast<char>(v & 0xFF);
    data_ += static_cast<char>(v >> 8);
}

void S2Writer::EndUnits(size_t unitsWritten) {
    if (unitsWritten % 2 != 0) U16(0);
}

S2Writer& S2Writer::ShortHeader(uint16_t width, uint16_t height) {
    U16(0x8003);
    U16(width);
    U16(0x8003);
    U16(height);
    return *this;
}

S2Writer& S2Writer::LongHeader(uint16_t sig1, uint16_t sig2, uint16_t width, uint16_t height, uint16_t xOffset,
                               uint16_t yOffset) {
    U16(sig1);
    U16(sig2);
    data_.append(8, '\0');
    U16(xOffset);
    U16(yOffset);
    U16(width);
    U16(height);
    data_.append(44, '\0');
    return *this;
}

S2Writer& S2Writer::Word(uint32_t word) {
    U16(static_cast<uint16_t>(word & 0xFFFF));
    U16(static_cast<uint16_t>(word >> 16));
    return *this;
}

S2Writer& S2Writer::Bytes(const std::string& bytes) {
    data_ += bytes;
    return *this;
}

S2Writer& S2Writer::Text(uint16_t start, uint16_t step, const std::string& gbk) {
    uint16_t position = start;
    for (uint16_t code : Codes(gbk)) {
        Glyph(position, code);
        position = static_cast<uint16_t>(position + step);
    }
    return *this;
}

S2Writer& S2Writer::TextBlock(uint16_t left, int16_t top, unsigned sizeNumber, const std::vector<std::string>& lines,
                              int16_t lineStep) {
    const uint16_t size = SizeOf(sizeNumber);
    if (lineStep == 0) lineStep = static_cast<int16_t>(size + size / 4);
    Horizontal().SizeNumbers(sizeNumber, sizeNumber);
    for (size_t k = 0; k < lines.size(); ++k) {
        SetLine(static_cast<int16_t>(top + static_cast<int>(k) * lineStep));
        Text(left, size, lines[k]);
    }
    return EndItem();
}

S2Writer& S2Writer::VerticalTextBlock(int16_t left, uint16_t top, unsigned sizeNumber,
                                      const std::vector<std::string>& columns, int16_t columnStep) {
    const uint16_t size = SizeOf(sizeNumber);
    if (columnStep == 0) columnStep = static_cast<int16_t>(size + size / 4);
    Vertical().SizeNumbers(sizeNumber, sizeNumber);
    for (size_t k = 0; k < columns.size(); ++k) {
        SetLine(static_cast<int16_t>(left - static_cast<int>(k) * columnStep));
        Text(top, size, columns[k]);
    }
    EndItem();
    return Horizontal();
}

S2Writer& S2Writer::Picture(uint16_t left, uint16_t top, uint16_t width, uint16_t height, const std::string& name,
                            uint16_t code, uint16_t extensionCount, bool forceLong) {
    size_t units = 6;
    Op(code, 0);
    U16(left);
    U16(top);
    U16(width);
    U16(height);
    if (code != 0x800A) {
        // u[9], the fourth unit of the extension, counts its length.
        const size_t extension = 2u * extensionCount + 4u;
        for (size_t i = 0; i < extension; ++i) U16(i == 3 ? extensionCount : 0);
        units += extension;
    }
    if (name.size() <= 8 && !forceLong) {
        for (size_t i = 0; i < 8; ++i) U16(i < name.size() ? static_cast<unsigned char>(name[i]) : 0);
        units += 8;
    } else {
        U16(0xFFFF);
        U16(static_cast<uint16_t>(name.size()));
        for (char c : name) U16(static_cast<unsigned char>(c));
        units += 2 + name.size();
    }
    EndUnits(units);
    return *this;
}

S2Writer& S2Writer::PictureLongCount(uint16_t left, uint16_t top, uint16_t width, uint16_t height, int16_t count,
                                     const std::string& chars) {
    Op(0x800A, 0);
    U16(left);
    U16(top);
    U16(width);
    U16(height);
    U16(0xFFFF);
    U16(static_cast<uint16_t>(count));
    for (char c : chars) U16(static_cast<unsigned char>(c));
    EndUnits(8 + chars.size());
    return *this;
}

S2Writer& S2Writer::Rule(uint16_t code, uint16_t x1, uint16_t y1, uint16_t x2, uint16_t y2,
                         const std::vector<uint16_t>& extension) {
    Op(code, 0);
    U16(x1);
    U16(y1);
    U16(x2);
    U16(y2);
    for (uint16_t unit : extension) U16(unit);
    EndUnits(6 + extension.size());
    return *this;
}

}  // namespace kestrum::testing
