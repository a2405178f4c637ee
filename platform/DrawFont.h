// Font faces for the drawing layer: display names of the page files' font table
// resolved through fontconfig to an installed font that has Chinese glyphs.
#pragma once

#include <cstdint>
#include <string_view>

typedef struct _cairo_font_face cairo_font_face_t;

namespace kestrum {

// A face owned by the resolver's cache (never released by the caller); null only
// when fontconfig finds no font at all.
cairo_font_face_t* FontFaceFor(std::string_view gbkFaceName, int32_t weight);

}  // namespace kestrum
