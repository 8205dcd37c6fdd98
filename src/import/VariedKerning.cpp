#include "import/VariedKerning.h"

#include <ft2build.h>
#include <memory>
#include FT_FREETYPE_H
#include FT_MULTIPLE_MASTERS_H
#include <hb-ft.h>
#include <hb.h>

namespace glyfora::fontimport {

namespace {

struct FontCloser {
    void operator()(hb_font_t* font) const { hb_font_destroy(font); }
};
struct BufferCloser {
    void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};

// How much shaping the two codes together changes the first one's advance, in design units.
std::int64_t PairAdjustment(hb_font_t* font, hb_buffer_t* buffer, const FontKerningPair& pair) {
    hb_buffer_clear_contents(buffer);
    const std::uint32_t codes[2] = {pair.First, pair.Second};
    hb_buffer_add_utf32(buffer, codes, 2, 0, 2);
    hb_buffer_guess_segment_properties(buffer);
    // Left to right whatever the script, as the typeface's pairs are applied.
    hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
    const hb_feature_t kernOnly[] = {{HB_TAG('l', 'i', 'g', 'a'), 0, 0, ~0U},
                                     {HB_TAG('c', 'l', 'i', 'g'), 0, 0, ~0U}};
    hb_shape(font, buffer, kernOnly, 2);
    unsigned int count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, nullptr);
    if (count != 2) {
        return 0;
    }
    return position[0].x_advance - hb_font_get_glyph_h_advance(font, info[0].codepoint);
}

} // namespace

std::vector<FontKerningPair> VariedKerningPairs(FT_Face face, std::vector<FontKerningPair> pairs,
                                                std::int64_t size) {
    FT_MM_Var* master = nullptr;
    if (!FT_HAS_MULTIPLE_MASTERS(face) || !FT_IS_SFNT(face) || face->units_per_EM == 0 ||
        FT_Get_MM_Var(face, &master) != 0) {
        return pairs;
    }
    std::vector<FT_Fixed> design(master->num_axis);
    FT_Done_MM_Var(face->glyph->library, master);
    if (FT_Get_Var_Design_Coordinates(face, static_cast<FT_UInt>(design.size()), design.data()) !=
        0) {
        return pairs;
    }
    std::vector<float> coordinates;
    for (const FT_Fixed value : design) {
        coordinates.push_back(static_cast<float>(value) / 65536.0F);
    }
    // HarfBuzz's own font functions at design units read the tables FreeType has loaded.
    hb_face_t* hbFace = hb_ft_face_create_referenced(face);
    const std::unique_ptr<hb_font_t, FontCloser> font(hb_font_create(hbFace));
    hb_face_destroy(hbFace);
    const int units = face->units_per_EM;
    hb_font_set_scale(font.get(), units, units);
    hb_font_set_var_coords_design(font.get(), coordinates.data(),
                                  static_cast<unsigned int>(coordinates.size()));
    const std::unique_ptr<hb_buffer_t, BufferCloser> buffer(hb_buffer_create());
    for (FontKerningPair& pair : pairs) {
        pair.Amount =
            ScaleKerningAmount(PairAdjustment(font.get(), buffer.get(), pair), size, units);
    }
    return pairs;
}

} // namespace glyfora::fontimport
