#include "tests/support/PsPageWriter.h"

#include "platform/Files.h"

#include <cstdio>

namespace kestrum::testing {

namespace {

// "%%Creator:(华光易捷杂志排版系统)"
constexpr std::string_view kCreator =
    "%%Creator:(\xBB\xAA\xB9\xE2\xD2\xD7\xBD\xDD\xD4\xD3\xD6\xBE\xC5\xC5\xB0\xE6\xCF\xB5\xCD\xB3)";
constexpr std::string_view kImageFileOpen = "\xCD\xBC\xCF\xF3\xCE\xC4\xBC\xFE(";  // 图象文件(
constexpr std::string_view kImageFileMissing =
    ")\xB2\xBB\xB4\xE6\xD4\xDA!\xBC\xCC\xD0\xF8\xBD\xE2\xCA\xCD\xC2\xF0?)";  // )不存在!继续解释吗?)
constexpr std::string_view kPadLine =
    "% prolog padding: procedure set of the typesetting system goes here .....\n";

std::string Join(const std::vector<double>& values) {
    std::string out;
    for (double v : values) {
        if (!out.empty()) out += ' ';
        out += PsPageWriter::Number(v);
    }
    return out;
}

std::string Hex(std::string_view text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        bool lead = c >= 0x81 && c <= 0xFE && i + 1 < text.size();
        if (!lead) out += "00";  // single-byte characters are written as 16-bit codes
        out += digits[c >> 4];
        out += digits[c & 15];
        if (lead) {
            unsigned char t = static_cast<unsigned char>(text[++i]);
            out += digits[t >> 4];
            out += digits[t & 15];
        }
    }
    return out;
}

}  // namespace

std::string PsPageWriter::Number(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

std::string PsPageWriter::Literal(std::string_view text) {
    std::string out = "(";
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];
            continue;
        }
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += text[i];
    }
    return out + ")";
}

std::string PsPageWriter::InkPrefix(const PsInk& ink) {
    switch (ink.kind) {
    case PsInk::kCmyk:
        return Join({ink.c, ink.m, ink.y, ink.k}) + " sc ";
    case PsInk::kGrey:
        return Number(ink.k) + " sg ";
    case PsInk::kNone:
        break;
    }
    return {};
}

PsPageWriter& PsPageWriter::boundingBox(double llx, double lly, double urx, double ury) {
    bbox_[0] = llx;
    bbox_[1] = lly;
    bbox_[2] = urx;
    bbox_[3] = ury;
    hasBox_ = true;
    return *this;
}

PsPageWriter& PsPageWriter::withoutBoundingBox() {
    hasBox_ = false;
    return *this;
}

PsPageWriter& PsPageWriter::setupEndOffset(size_t offset) {
    setupEnd_ = offset;
    return *this;
}

PsPageWriter& PsPageWriter::withoutPageEnd() {
    hasEnd_ = false;
    return *this;
}

PsPageWriter& PsPageWriter::resource(std::string_view path) {
    resources_.emplace_back(path);
    return *this;
}

PsPageWriter& PsPageWriter::line(std::string_view text) {
    body_ += text;
    body_ += '\n';
    return *this;
}

PsPageWriter& PsPageWriter::article(int number) { return line("%%Text 1 of Article " + std::to_string(number)); }

PsPageWriter& PsPageWriter::translate(double tx, double ty) {
    translations_.push_back({tx, ty});
    return line("[1 0 0 1 " + Number(tx) + " " + Number(ty) + "] concat");
}

PsPageWriter& PsPageWriter::endArticle() {
    PsPoint t;
    if (!translations_.empty()) {
        t = translations_.back();
        translations_.pop_back();
    }
    return line("[1 0 0 1 " + Number(0.0 - t.x) + " " + Number(0.0 - t.y) + "] concat");
}

PsPageWriter& PsPageWriter::font(std::string_view name, double width, double height) {
    return line(std::string("/").append(name) + " findfont [" + Join({width, 0, 0, -height, 0, 0}) + "] makefont setfont");
}

PsPageWriter& PsPageWriter::rotatedFont(std::string_view name, double width, double height) {
    return line(std::string("/").append(name) + " findfont [" + Join({0, width, height, 0, 0, 0}) + "] makefont setfont");
}

PsPageWriter& PsPageWriter::scale(double sx, double sy) { return line("gs " + Join({sx, sy}) + " scale"); }

PsPageWriter& PsPageWriter::textColour(double c, double m, double y, double k) {
    pendingColour_ = Join({c, m, y, k}) + " sc ";
    return *this;
}

PsPageWriter& PsPageWriter::showLine(double x, double y, std::string_view operand,
                                     const std::vector<double>& advances, const char* op) {
    std::string text = pendingColour_ + Join({x, y}) + " m " + std::string(operand) + " [" + Join(advances) + op;
    pendingColour_.clear();
    return line(text);
}

PsPageWriter& PsPageWriter::show(double x, double y, std::string_view text, const std::vector<double>& advances) {
    return showLine(x, y, Literal(text), advances, " ] fxs");
}

PsPageWriter& PsPageWriter::showHex(double x, double y, std::string_view text, const std::vector<double>& advances) {
    return showLine(x, y, "<" + Hex(text) + ">", advances, " ] fxs");
}

PsPageWriter& PsPageWriter::showVertical(double x, double y, std::string_view text,
                                         const std::vector<double>& advances) {
    return showLine(x, y, Literal(text), advances, " ] fys");
}

PsPageWriter& PsPageWriter::paragraph() { return line("%Paragraph Break"); }

PsPageWriter& PsPageWriter::titleBlock() { return line("%Title Block"); }

PsPageWriter& PsPageWriter::define(std::string_view code, double x, double y) {
    line("%%begin define no searches flag (" + std::string(code) + ")");
    line(Join({x, y}) + " m 0 0 0 1 0 VT");
    return line("%%end define no searches flag (" + std::string(code) + ")");
}

PsPageWriter& PsPageWriter::separation(std::string_view name, double tint) {
    line("[ /Separation " + std::string(name) + " /DeviceCMYK { dup 0 0 0 } ] setcolorspace");
    return line(Number(tint) + " setcolor");
}

PsPageWriter& PsPageWriter::box(double x, double y, double w, double h, PsInk ink) {
    return line(InkPrefix(ink) + Join({x, y, w, h}) + " rectfill");
}

PsPageWriter& PsPageWriter::frame(double x, double y, double w, double h, int width, PsInk ink) {
    return line(InkPrefix(ink) + "np " + std::to_string(width) + " slw " + Join({x, y, w, h}) + " rectstroke");
}

PsPageWriter& PsPageWriter::rule(PsPoint from, PsPoint to, int width, PsInk ink) {
    // The rule takes its colour from the line before it.
    if (ink.kind != PsInk::kNone) line(InkPrefix(ink) + "0 slc");
    return line(std::to_string(width) + " slw " + Join({from.x, from.y}) + " m " + Join({to.x, to.y}) + " l st");
}

PsPageWriter& PsPageWriter::brokenLine(const std::vector<PsPoint>& points, int width, PsInk ink, bool closed) {
    if (points.size() < 2) return *this;
    line(InkPrefix(ink) + "np 0 slj " + std::to_string(width) + " slw " + Join({points[0].x, points[0].y}) + " m " +
         Join({points[1].x, points[1].y}) + " l");
    for (size_t i = 2; i < points.size(); ++i) line(Join({points[i].x, points[i].y}) + " l");
    if (closed) line("cp");
    return line("st");
}

PsPageWriter& PsPageWriter::path(const std::vector<PsPoint>& points) {
    if (points.size() < 2) return *this;
    line("np gs " + Join({points[0].x, points[0].y}) + " m " + Join({points[1].x, points[1].y}) + " l");
    for (size_t i = 2; i < points.size(); ++i) line(Join({points[i].x, points[i].y}) + " l");
    return line("cp");
}

PsPageWriter& PsPageWriter::curve(PsPoint start, const std::vector<PsPoint>& controls) {
    auto group = [&](size_t i) {
        std::vector<double> v;
        for (size_t j = i; j < i + 3 && j < controls.size(); ++j) {
            v.push_back(controls[j].x);
            v.push_back(controls[j].y);
        }
        return Join(v) + " curveto";
    };
    if (controls.empty()) return *this;
    line("np gs " + Join({start.x, start.y}) + " m " + group(0));
    for (size_t i = 3; i < controls.size(); i += 3) line(group(i));
    return line("cp");
}

PsPageWriter& PsPageWriter::picture(double tx, double ty, double w, double h, std::string_view file, double angle) {
    std::string rotate = angle != 0 ? Number(angle) + " rotate " : "";
    line("gs " + Join({tx, ty}) + " tr " + rotate + Join({-w / 2, -h / 2}) + " tr");
    return pictureMessage(file);
}

PsPageWriter& PsPageWriter::clippedPicture(double x, double y, double cw, double ch, double tx, double ty, double w,
                                           double h, std::string_view file) {
    line("gs " + Join({x, y, cw, ch}) + " rectclip " + Join({tx, ty}) + " tr " + Join({-w / 2, -h / 2}) + " tr");
    return pictureMessage(file);
}

PsPageWriter& PsPageWriter::ovalPicture(double l, double t, double r, double b, double tx, double ty, double w,
                                        double h, std::string_view file) {
    line("gs " + Join({l, t, r, b}) + " oval clip np " + Join({tx, ty}) + " tr " + Join({-w / 2, -h / 2}) + " tr");
    return pictureMessage(file);
}

PsPageWriter& PsPageWriter::pictureMessage(std::string_view file) {
    line("errordict /undefinedfilename\t{errio} put");
    return line("/errio {(" + std::string(kImageFileOpen) + std::string(file) + std::string(kImageFileMissing) +
                " print flush} def");
}

PsPageWriter& PsPageWriter::rectClip(double x, double y, double w, double h) {
    return line("gs " + Join({x, y, w, h}) + " rectclip ");
}

PsPageWriter& PsPageWriter::eoClip(const std::vector<PsPoint>& points) {
    if (points.size() < 2) return *this;
    line("gs np " + Join({points[0].x, points[0].y}) + " m " + Join({points[1].x, points[1].y}) + " l");
    for (size_t i = 2; i < points.size(); ++i) line(Join({points[i].x, points[i].y}) + " l");
    return line("cp").line("eoclip np");
}

PsPageWriter& PsPageWriter::embeddedDocument(std::string_view name, double tx, double ty, double w, double h,
                                             std::string_view document, bool beginEpsf) {
    line("%%BeginDocument: " + std::string(name));
    if (beginEpsf) line("BeginEPSF");
    line("gs " + Join({tx, ty}) + " tr 1 1 scale " + Join({-w / 2, -h / 2}) + " tr ");
    body_ += document;
    if (!document.empty() && document.back() != '\n') body_ += '\n';
    line("EndEPSF");
    return line("%%EndDocument: " + std::string(name));
}

std::string PsPageWriter::bytes() const {
    std::string out = "%!PS-Adobe-3.0\n";
    out += kCreator;
    out += '\n';
    if (hasBox_) out += "%%BoundingBox: " + Join({bbox_[0], bbox_[1], bbox_[2], bbox_[3]}) + "\n";
    out += "%%Pages: 1\n";
    while (out.size() < setupEnd_) out += kPadLine;
    out += "%%EndPageSetup\n";
    out += body_;
    if (hasEnd_) out += "%end of page 1\n";
    out += "showpage\n%%Trailer\n%%DocResourceStart:\n";
    for (const std::string& r : resources_) out += "%%" + r + "\n";
    out += "%%DocResourceEnd:\n%%EOF\n";
    return out;
}

bool PsPageWriter::write(const std::string& path) const { return WriteWholeFile(path, bytes()); }

}  // namespace kestrum::testing
