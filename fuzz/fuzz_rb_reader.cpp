// Feeds arbitrary bytes to the RB11/RB12 reader and builds the font from what it accepts.
// A refused file must end in FileError; anything else wrong is a fault (see
// fuzz_interchange_check.h).

#include <cstddef>
#include <cstdint>
#include <span>

#include "charset/dbcs_tables.h"
#include "common/file_error.h"
#include "fuzz_cli_replay.h"
#include "fuzz_interchange_check.h"
#include "interchange/imported_font.h"
#include "interchange/rb_reader.h"

using namespace typeloom;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::readHarnessOptions(argc, argv);
    if (auto problem = loadProgramDbcsTables()) {
        std::fprintf(stderr, "fuzz_rb_reader: %s\n", problem->c_str());
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (fuzz::viaCli()) {
        fuzz::replayThroughCli(data, size, ".fnt");
        return 0;
    }
    Font font;
    try {
        const ImportedFont imported = parseRbFont(std::span(data, size), "fuzz.fnt");
        buildFromImported(imported, "fuzz.fnt", font);
    } catch (const FileError&) {
        return 0;
    }
    fuzz::checkImportedFont(font);
    return 0;
}
