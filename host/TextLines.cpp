#include "TextLines.h"

namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";

struct Token {
    size_t start = 0, length = 0;  // in characters of the line
    std::string text;
};

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The words of one line and the line's length, both in characters.
std::vector<Token> Words(std::string_view line, size_t& characters) {
    std::vector<Token> words;
    characters = 0;
    Token word;
    auto endWord = [&] {
        if (!word.text.empty()) words.push_back(word);
        word = Token{};
    };
    for (size_t i = 0; i < line.size();) {
        size_t size = 1;
        while (i + size < line.size() && IsContinuation(static_cast<unsigned char>(line[i + size]))) ++size;
        std::string_view ch = line.substr(i, size);
        if (ch == " " || ch == "\t" || ch == kIdeographicSpace) {
            endWord();
        } else {
            if (word.text.empty()) word.start = characters;
            word.text += ch;
            ++word.length;
        }
        ++characters;
        i += size;
    }
    endWord();
    return words;
}

int32_t Share(int32_t from, int32_t length, size_t part, size_t whole) {
    return from + static_cast<int32_t>(static_cast<int64_t>(length) * static_cast<int64_t>(part) / static_cast<int64_t>(whole));
}

}  // namespace

std::vector<LineBox> LayOutLines(const std::string& text, int32_t layout, const SpaceBox& box) {
    struct Line {
        std::vector<Token> words;
        size_t characters = 0;
    };
    std::vector<Line> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        Line l;
        l.words = Words(line, l.characters);
        if (!l.words.empty()) lines.push_back(std::move(l));
        start = end + 1;
    }

    const bool vertical = layout >= 3 && layout <= 5;
    const bool reversed = layout == 2 || layout == 4 || layout == 5;  // rows right to left, columns leftwards
    std::vector<LineBox> out;
    for (size_t n = 0; n < lines.size(); ++n) {
        LineBox line;
        if (vertical) {
            size_t slot = reversed ? lines.size() - 1 - n : n;
            line.box = {Share(box.left, box.Width(), slot, lines.size()), box.top,
                        Share(box.left, box.Width(), slot + 1, lines.size()), box.bottom};
        } else {
            line.box = {box.left, Share(box.top, box.Height(), n, lines.size()), box.right,
                        Share(box.top, box.Height(), n + 1, lines.size())};
        }
        const Line& l = lines[n];
        for (const Token& word : l.words) {
            size_t from = word.start, to = word.start + word.length;
            if (!vertical && reversed) {
                from = l.characters - to;
                to = l.characters - word.start;
            }
            WordBox w;
            w.text = word.text;
            w.box = line.box;
            if (vertical) {
                w.box.top = Share(line.box.top, line.box.Height(), from, l.characters);
                w.box.bottom = Share(line.box.top, line.box.Height(), to, l.characters);
            } else {
                w.box.left = Share(line.box.left, line.box.Width(), from, l.characters);
                w.box.right = Share(line.box.left, line.box.Width(), to, l.characters);
            }
            line.words.push_back(std::move(w));
        }
        out.push_back(std::move(line));
    }
    return out;
}
