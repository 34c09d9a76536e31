// Feeds arbitrary bytes to the BDF reader and builds the font from what it accepts. A refused
// file must end in FileError; any other exception, a sanitizer report, a leak, a hang or an
// accepted font that breaks the model's invariants is a fault.

#include <cstddef>
#include <cstdint>
#include <span>

#include "charset/dbcs_tables.h"
#include "common/file_error.h"
#include "fuzz_cli_replay.h"
#include "fuzz_interchange_check.h"
#include "interchange/bdf_reader.h"
#include "interchange/imported_font.h"

using namespace typeloom;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::readHarnessOptions(argc, argv);
    if (auto problem = loadProgramDbcsTables()) {
        std::fprintf(stderr, "fuzz_bdf_reader: %s\n", problem->c_str());
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (fuzz::viaCli()) {
        fuzz::replayThroughCli(data, size, ".bdf");
        return 0;
    }
    Font font;
    try {
        const ImportedFont imported = parseBdf(std::span(data, size));
        buildFromImported(imported, "fuzz.bdf", font);
    } catch (const FileError&) {
        return 0;
    }
    fuzz::checkImportedFont(font);
    return 0;
}
