// Feeds arbitrary bytes to the multi-copy clipboard reader and pastes what it accepts into a
// small font of each kind. A refused block must end in FileError; the pasted font must keep
// the model's invariants (see fuzz_interchange_check.h), and the block built from the pasted
// characters must read back.

#include <cstddef>
#include <cstdint>
#include <span>

#include "charset/dbcs_tables.h"
#include "common/file_error.h"
#include "fuzz_interchange_check.h"
#include "interchange/multicopy.h"

using namespace typeloom;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (auto problem = loadProgramDbcsTables()) {
        std::fprintf(stderr, "fuzz_multicopy_reader: %s\n", problem->c_str());
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MultiCopyData block;
    try {
        block = parseMultiCopyData(std::span(data, size));
    } catch (const FileError&) {
        return 0;
    }
    std::vector<std::uint16_t> codes;
    for (const MultiCopyRecord& r : block.records) {
        codes.push_back(r.code);
    }
    for (int encoding : {kEncodingAnsi, kEncodingUnicode}) {
        Font font;
        font.setEncoding(encoding);
        font.createFromScratch(0x41, 0x46, 4, 6, "Target");
        (void)multiPasteEnabled(font, std::span(data, size));
        pasteCharacters(font, block, codes);
        fuzz::checkImportedFont(font);
        try {
            (void)parseMultiCopyData(buildMultiCopyData(font, font.codeList));
        } catch (const FileError&) {
            fuzz::fault("the block of a pasted font does not read back");
        }
    }
    return 0;
}
