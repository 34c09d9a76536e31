// Feeds arbitrary bytes to the project file reader, as if a damaged or hostile .tlf file had
// been opened. A file the reader cannot use must end in FileError or ProjectRefused; any other
// exception, any sanitizer report, a leak or a hang is a fault.
//
// A file the reader accepts must also leave a font that keeps the model's invariants, and
// saving that font must give a file that reads back and saves to the same bytes: whatever we
// accept, we can save and open again.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "common/bulk_data.h"
#include "common/file_error.h"
#include "common/progress_sink.h"
#include "fuzz_cli_replay.h"
#include "model/font.h"
#include "model/project_file.h"

namespace {

using namespace typeloom;

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "fuzz_project_reader: %s\n", what);
    std::abort();
}

void check(bool ok, const char* what) {
    if (!ok) {
        fault(what);
    }
}

// Uninstrumented, as the checks of every harness: coverage is to come from the reader.
TYPELOOM_BULK_DATA void checkInvariants(const Font& font) {
    check(font.unicodeList.size() == font.codeList.size(),
          "the code list and the Unicode list differ in length");
    for (std::size_t i = 1; i < font.codeList.size(); ++i) {
        check(font.codeList[i - 1] < font.codeList[i], "the code list is not strictly ascending");
    }
    check(isValidEncoding(font.encoding), "the font's encoding is not a known encoding");
    if (font.encoding == kEncodingUnicode) {
        check(font.codeList == font.unicodeList,
              "a Unicode font's code list differs from its Unicode list");
    }
    check(font.bitsPerPixel == 1, "an accepted font is not 1 bit deep");
    font.glyphs.forEach([&](std::uint16_t, const Glyph& g) {
        check(g.pixels.size() == std::size_t{g.width} * font.height,
              "a glyph does not hold width x height pixels");
        // Eight pixels at a time: no byte may have a bit other than its lowest set.
        std::uint64_t high = 0;
        std::size_t i = 0;
        for (; i + 8 <= g.pixels.size(); i += 8) {
            std::uint64_t w = 0;
            std::memcpy(&w, g.pixels.data() + i, 8);
            high |= w & ~std::uint64_t{0x0101010101010101u};
        }
        for (; i < g.pixels.size(); ++i) {
            high |= g.pixels[i] & ~1u;
        }
        check(high == 0, "a glyph holds a pixel value other than 0 and 1");
    });
}

// An FNV-1a style checksum over the bytes, eight at a time.
TYPELOOM_BULK_DATA std::uint64_t checksum(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t h = 0xCBF29CE484222325u;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t w = 0;
        std::memcpy(&w, bytes.data() + i, 8);
        h = (h ^ w) * 0x100000001B3u;
    }
    for (; i < bytes.size(); ++i) {
        h = (h ^ bytes[i]) * 0x100000001B3u;
    }
    return h;
}

// Reads bytes the reader must accept; any exception is a fault.
void readAccepted(std::span<const std::uint8_t> bytes, Font& font) {
    NullProgressSink progress;
    try {
        readProject(bytes, font, progress);
    } catch (const FileError& e) {
        std::fprintf(stderr, "%s at offset %zu\n", e.what(), e.offset());
        fault("a file written by saveProject was not read back");
    } catch (const ProjectRefused& e) {
        std::fprintf(stderr, "%s\n", e.message.c_str());
        fault("a file written by saveProject was refused");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::readHarnessOptions(argc, argv);
    // The program loads the double-byte tables at start; the harness does the same so that
    // every code path that consults them runs as it does in the product.
    if (auto problem = loadProgramDbcsTables()) {
        std::fprintf(stderr, "fuzz_project_reader: %s\n", problem->c_str());
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (fuzz::viaCli()) {
        fuzz::replayThroughCli(data, size, ".tlf");
        return 0;
    }
    const std::span<const std::uint8_t> bytes(data, size);
    Font font;
    NullProgressSink progress;
    try {
        readProject(bytes, font, progress);
    } catch (const FileError&) {
        return 0;
    } catch (const ProjectRefused&) {
        return 0;
    }
    checkInvariants(font);

    // A font may hold up to the readers' pixel bound (128 MB), so the round trip keeps at most
    // two such things alive at a time: the font goes before the re-read, and the first save's
    // bytes before the second save, compared by length and checksum.
    auto saved = std::make_unique<std::vector<std::uint8_t>>(projectBytes(font));
    font = Font{};
    const std::size_t savedSize = saved->size();
    const std::uint64_t savedSum = checksum(*saved);
    Font reread;
    readAccepted(*saved, reread);
    saved.reset();
    checkInvariants(reread);
    const std::vector<std::uint8_t> again = projectBytes(reread);
    check(again.size() == savedSize && checksum(again) == savedSum,
          "saving a re-read font gives other bytes");
    return 0;
}
