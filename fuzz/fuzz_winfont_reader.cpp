// Feeds arbitrary bytes to the Windows font resource reader (.fnt, or a .fon library) and
// builds the font from what it accepts; the accepted font is then written as .fnt and .fon,
// and the characters of the .fnt read back must be the font's. A refused file must end in
// FileError; anything else wrong is a fault (see fuzz_interchange_check.h).

#include <cstddef>
#include <cstdint>
#include <span>

#include "charset/dbcs_tables.h"
#include "common/file_error.h"
#include "fuzz_cli_replay.h"
#include "fuzz_interchange_check.h"
#include "interchange/winfont_reader.h"
#include "interchange/winfont_writer.h"

using namespace typeloom;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::readHarnessOptions(argc, argv);
    if (auto problem = loadProgramDbcsTables()) {
        std::fprintf(stderr, "fuzz_winfont_reader: %s\n", problem->c_str());
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (fuzz::viaCli()) {
        fuzz::replayThroughCli(data, size, ".fon");
        return 0;
    }
    Font font;
    try {
        buildFromWindowsResource(parseWindowsFontResource(std::span(data, size)), font);
    } catch (const FileError&) {
        return 0;
    }
    fuzz::checkImportedFont(font);

    // What was read can be written; the written resource passes the reader's checks unless
    // the header's leading values (kept from the file) fail them.
    std::vector<std::uint8_t> fnt;
    try {
        fnt = fntBytes(font);
        (void)fonBytes(font);
    } catch (const FileError&) {
        return 0;  // too large for the layouts
    }
    try {
        const WindowsFontResource back = parseWindowsFontResource(fnt);
        for (const auto& c : back.characters) {
            const int index = font.indexOfCode(c.code);
            if (index < 0) {
                continue;  // a missing code, written as the framed default character
            }
            const Glyph* g = font.glyphs.find(static_cast<std::uint16_t>(font.unicodeAt(index)));
            fuzz::check(g->width == c.width && g->pixels == c.pixels,
                        "a written character reads back different");
        }
    } catch (const FileError&) {
    }
    return 0;
}
