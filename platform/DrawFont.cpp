#include "platform/DrawFont.h"

#include "platform/CodePage.h"
#include "platform/Draw.h"
#include "platform/Mbcs.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <map>
#include <mutex>
#include <string>

namespace kestrum {

namespace {

constexpr int32_t kBoldWeight = 700;
constexpr FcChar32 kChineseSample = 0x4E2D;  // 中: the font must have Chinese glyphs

// The families of the font table have no Linux namesakes: hei and yuan are sans
// faces, song, fangsong and kai (and anything unknown) serif ones.
const char* GenericFamily(std::string_view gbkName) {
    constexpr std::string_view kHei = "\xBA\xDA";   // 黑
    constexpr std::string_view kYuan = "\xD4\xB2";  // 圆
    return MbContains(gbkName, kHei) || MbContains(gbkName, kYuan) ? "sans-serif" : "serif";
}

struct Resolved {
    FcPattern* pattern = nullptr;
    cairo_font_face_t* face = nullptr;
};

Resolved Resolve(std::string_view gbkName, bool bold) {
    Resolved out;
    FcPattern* want = FcPatternCreate();
    if (!want) return out;
    const std::string utf8 = Utf16ToUtf8(NarrowToWide(gbkName));
    // An installed font of that very name wins; the generic family is the fallback.
    if (!utf8.empty()) FcPatternAddString(want, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.c_str()));
    FcPatternAddString(want, FC_FAMILY, reinterpret_cast<const FcChar8*>(GenericFamily(gbkName)));
    FcPatternAddString(want, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    if (FcCharSet* chars = FcCharSetCreate()) {
        FcCharSetAddChar(chars, kChineseSample);
        FcPatternAddCharSet(want, FC_CHARSET, chars);
        FcCharSetDestroy(chars);
    }
    FcPatternAddInteger(want, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcConfigSubstitute(nullptr, want, FcMatchPattern);
    FcDefaultSubstitute(want);
    FcResult result = FcResultNoMatch;
    out.pattern = FcFontMatch(nullptr, want, &result);
    FcPatternDestroy(want);
    if (!out.pattern) return out;
    out.face = cairo_ft_font_face_create_for_pattern(out.pattern);
    if (cairo_font_face_status(out.face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(out.face);
        out.face = nullptr;
    }
    return out;
}

// Resolving is slow and a page asks for the same few names thousands of times.
class FaceCache {
public:
    const Resolved& Get(std::string_view gbkName, bool bold) {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string key(gbkName);
        key.push_back(bold ? '\1' : '\0');
        auto it = faces_.find(key);
        if (it == faces_.end()) it = faces_.emplace(std::move(key), Resolve(gbkName, bold)).first;
        return it->second;
    }

private:
    std::mutex mutex_;
    std::map<std::string, Resolved> faces_;
};

FaceCache& Cache() {
    // Lives as long as the process: faces handed out must stay valid until the end.
    static FaceCache* cache = new FaceCache;
    return *cache;
}

}  // namespace

cairo_font_face_t* FontFaceFor(std::string_view gbkFaceName, int32_t weight) {
    return Cache().Get(gbkFaceName, weight >= kBoldWeight).face;
}

std::string ResolvedFontFamily(std::string_view gbkFaceName) {
    const Resolved& r = Cache().Get(gbkFaceName, false);
    FcChar8* family = nullptr;
    if (!r.pattern || FcPatternGetString(r.pattern, FC_FAMILY, 0, &family) != FcResultMatch || !family) return {};
    return reinterpret_cast<const char*>(family);
}

}  // namespace kestrum
