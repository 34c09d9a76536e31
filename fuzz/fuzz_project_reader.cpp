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
#include "fuzz_checks.h"
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
        check(fuzz::allZeroOrOne(g.pixels), "a glyph holds a pixel value other than 0 and 1");
    });
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
    const std::uint64_t savedSum = fuzz::checksum(*saved);
    Font reread;
    readAccepted(*saved, reread);
    saved.reset();
    checkInvariants(reread);
    const std::vector<std::uint8_t> again = projectBytes(reread);
    check(again.size() == savedSize && fuzz::checksum(again) == savedSum,
          "saving a re-read font gives other bytes");
    return 0;
}
