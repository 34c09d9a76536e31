#include "freetype_reference.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace typeloom::test {

ReferenceFace freetypeFace(const std::vector<std::uint8_t>& bytes) {
    ReferenceFace result;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        result.error = "FT_Init_FreeType failed";
        return result;
    }
    FT_Face face = nullptr;
    FT_Error error =
        FT_New_Memory_Face(library, bytes.data(), static_cast<FT_Long>(bytes.size()), 0, &face);
    if (error != 0) {
        result.error = "FT_New_Memory_Face failed with error " + std::to_string(error);
        FT_Done_FreeType(library);
        return result;
    }
    result.ok = true;
    result.family = face->family_name != nullptr ? face->family_name : "";
    result.glyphCount = face->num_glyphs;
    if (face->num_fixed_sizes > 0) {
        result.height = face->available_sizes[0].height;
    }
    for (FT_Long g = 0; g < face->num_glyphs; ++g) {
        ReferenceGlyph glyph;
        glyph.index = static_cast<unsigned>(g);
        if (FT_Load_Glyph(face, static_cast<FT_UInt>(g), FT_LOAD_DEFAULT) == 0 &&
            (face->glyph->format == FT_GLYPH_FORMAT_BITMAP ||
             FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) == 0)) {
            const FT_Bitmap& bm = face->glyph->bitmap;
            glyph.width = static_cast<int>(bm.width);
            for (unsigned y = 0; y < bm.rows; ++y) {
                std::string row;
                const unsigned char* line = bm.buffer + static_cast<long>(y) * bm.pitch;
                for (unsigned x = 0; x < bm.width; ++x) {
                    row += (line[x / 8] & (0x80 >> (x % 8))) != 0 ? '#' : '.';
                }
                glyph.rows.push_back(row);
            }
        } else {
            glyph.width = -1;
        }
        result.glyphs.push_back(std::move(glyph));
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return result;
}

}  // namespace typeloom::test
