// Writes PostScript pages in the typesetting system's dialect, one call per page line,
// so that a test states its page in a few readable calls:
//
//   PsPageWriter page;
//   page.article(3).translate(10000, 20000).font("JBHGSS", 920)
//       .show(1000, 2000, "\xb0\xa1\xb0\xa2", {1000, 1000}).endArticle();
//   std::string path = dir.Write("page.ps", page.bytes());
//
// The page is: creator comment, bounding box, prolog padding so that "%%EndPageSetup"
// lies at byte offset 40000 or later, the body lines in call order, "%end of page 1",
// and the trailer with the resource list. Coordinates of body lines are page units
// (1/7420 inch) and are written as given; the bounding box is in points. Text operands
// are GBK bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum::testing {

// The colour written in front of a box, frame or rule: none, CMYK fractions
// ("c m y k sc") or a grey level ("g sg").
struct PsInk {
    enum Kind { kNone, kCmyk, kGrey };
    Kind kind = kNone;
    double c = 0, m = 0, y = 0, k = 0;  // fractions 0..1; `k` holds the grey level for kGrey

    static PsInk Cmyk(double c, double m, double y, double k) { return {kCmyk, c, m, y, k}; }
    static PsInk Grey(double level) { return {kGrey, 0, 0, 0, level}; }
};

struct PsPoint {
    double x = 0, y = 0;
};

class PsPageWriter {
public:
    // --- page frame ---
    PsPageWriter& boundingBox(double llx, double lly, double urx, double ury);  // default 0 0 595 842
    PsPageWriter& withoutBoundingBox();
    // Byte offset before which "%%EndPageSetup" is not written (default 40000).
    PsPageWriter& setupEndOffset(size_t offset);
    PsPageWriter& withoutPageEnd();                  // no "%end of page 1" line
    PsPageWriter& resource(std::string_view path);   // one entry of the trailer's resource list

    // --- raw escape hatch: one body line, a line feed is added ---
    PsPageWriter& line(std::string_view text);

    // --- articles and text ---
    PsPageWriter& article(int number);                // "%%Text 1 of Article N"
    PsPageWriter& translate(double tx, double ty);    // "[1 0 0 1 tx ty] concat"; negative = mirrored end
    PsPageWriter& endArticle();                       // undoes the innermost open translate (0 0 without one)
    PsPageWriter& font(std::string_view name, double width, double height);
    PsPageWriter& font(std::string_view name, double size) { return font(name, size, size); }
    PsPageWriter& rotatedFont(std::string_view name, double width, double height);  // matrix [0 w h 0 0 0]
    PsPageWriter& scale(double sx, double sy);        // "gs sx sy scale"
    // CMYK fractions written in front of the next show line (" sc ").
    PsPageWriter& textColour(double c, double m, double y, double k);
    PsPageWriter& show(double x, double y, std::string_view text, const std::vector<double>& advances);
    PsPageWriter& showHex(double x, double y, std::string_view text, const std::vector<double>& advances);
    PsPageWriter& showVertical(double x, double y, std::string_view text, const std::vector<double>& advances);
    PsPageWriter& paragraph();                        // "%Paragraph Break"
    PsPageWriter& titleBlock();                       // "%Title Block"
    // A glyph drawn by a procedure ("no searches" define block) at (x, y); `code` is
    // one GBK character.
    PsPageWriter& define(std::string_view code, double x, double y);
    // A Separation colour space line and its tint line ("/Cyan", "/Magenta", ... or a spot name).
    PsPageWriter& separation(std::string_view name, double tint);

    // --- rules, boxes, paths ---
    PsPageWriter& box(double x, double y, double w, double h, PsInk ink = {});    // "x y w h rectfill"
    PsPageWriter& frame(double x, double y, double w, double h, int width, PsInk ink = {});  // rectstroke
    PsPageWriter& rule(PsPoint from, PsPoint to, int width, PsInk ink = {});      // "m ... l st"
    // A broken line: its start line, one "x y l" line per further point, optional "cp", "st".
    PsPageWriter& brokenLine(const std::vector<PsPoint>& points, int width, PsInk ink = {}, bool closed = false);
    // The current path: a polygon ("gs x y m", "x y l" ..., "cp").
    PsPageWriter& path(const std::vector<PsPoint>& points);
    // A curved path: a start point and groups of three points, one "curveto" per group.
    PsPageWriter& curve(PsPoint start, const std::vector<PsPoint>& controls);

    // --- placed pictures; `file` is the path the message names (Windows paths allowed) ---
    // Transform on the line before: centre (tx, ty), size w x h, optional rotation.
    PsPageWriter& picture(double tx, double ty, double w, double h, std::string_view file, double angle = 0);
    // Rectangle clip (x, y, width, height) with the transform on the same line.
    PsPageWriter& clippedPicture(double x, double y, double cw, double ch, double tx, double ty, double w, double h,
                                 std::string_view file);
    // Oval clip (bounding box l t r b) with the transform on the same line.
    PsPageWriter& ovalPicture(double l, double t, double r, double b, double tx, double ty, double w, double h,
                              std::string_view file);
    // Only the error-handler line and the file-name line; the placement is up to the test.
    PsPageWriter& pictureMessage(std::string_view file);

    // --- embedded EPS documents ---
    // The clip line in front of a document: "gs x y w h rectclip ", or a clip path
    // ("gs np x1 y1 m x2 y2 l", "x y l" ..., "cp", "eoclip np").
    PsPageWriter& rectClip(double x, double y, double w, double h);
    PsPageWriter& eoClip(const std::vector<PsPoint>& points);
    // "%%BeginDocument: name", "BeginEPSF", the transform line placing a document of
    // w x h page units centred on (tx, ty), the document's lines as given (normally
    // another writer's bytes(): a page of the dialect itself), "EndEPSF" and
    // "%%EndDocument: name". Without `beginEpsf` the "BeginEPSF" line is left out.
    PsPageWriter& embeddedDocument(std::string_view name, double tx, double ty, double w, double h,
                                   std::string_view document, bool beginEpsf = true);

    // --- output ---
    std::string bytes() const;
    bool write(const std::string& path) const;

    // "(...)" literal with '(' ')' '\' escaped (two-byte characters left alone).
    static std::string Literal(std::string_view text);
    static std::string Number(double v);

private:
    PsPageWriter& showLine(double x, double y, std::string_view operand, const std::vector<double>& advances,
                           const char* op);
    static std::string InkPrefix(const PsInk& ink);

    double bbox_[4] = {0, 0, 595, 842};
    bool hasBox_ = true;
    bool hasEnd_ = true;
    size_t setupEnd_ = 40000;
    std::vector<std::string> resources_;
    std::string body_;
    std::string pendingColour_;
    std::vector<PsPoint> translations_;  // open translates, innermost last
};

}  // namespace kestrum::testing
