// The yardstick of the rasterising command as a whole process: a plain single-threaded
// FreeType loop that opens a font file, sets a pixel size and renders in 1 bit every character
// a rasterised font holds (every value up to U+FFFF of the face's Unicode map, and 0..255),
// discarding the bitmaps. It links FreeType only, so its start-up is a program's minimum.
//
//   typeloom_freetype_loop FONT_FILE PIXELS_PER_EM
//
// Unifont at 12 points (16 pixels per em at 96 dots per inch):
//   typeloom_freetype_loop /usr/share/fonts/opentype/unifont/unifont.otf 16

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FONT_FILE PIXELS_PER_EM\n", argv[0]);
        return 2;
    }
    const long em = std::strtol(argv[2], nullptr, 10);
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (em <= 0 || FT_Init_FreeType(&library) != 0 ||
        FT_New_Face(library, argv[1], 0, &face) != 0 ||
        FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 ||
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) {
        std::fprintf(stderr, "%s: cannot open %s at %ld pixels\n", argv[0], argv[1], em);
        return 1;
    }
    // The values, as the rasterised font takes them: the map's, then 0..255 where missing.
    std::vector<bool> wanted(0x10000, false);
    FT_UInt index = 0;
    for (FT_ULong code = FT_Get_First_Char(face, &index); index != 0 && code <= 0xFFFF;
         code = FT_Get_Next_Char(face, code, &index)) {
        wanted[code] = true;
    }
    for (unsigned u = 0; u <= 0xFF; ++u) {
        wanted[u] = true;
    }
    unsigned long rendered = 0;
    unsigned long rows = 0;
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        if (wanted[u] && FT_Load_Char(face, u, FT_LOAD_TARGET_MONO | FT_LOAD_RENDER) == 0) {
            ++rendered;
            rows += face->glyph->bitmap.rows;
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    std::printf("%lu characters rendered, %lu bitmap rows\n", rendered, rows);
    return 0;
}
