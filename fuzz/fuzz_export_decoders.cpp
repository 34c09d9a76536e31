// Feeds arbitrary bytes to the export decoders of `typeloom verify`: the first byte picks the
// layout, the rest is the file. A refused file must end in DecodeError; any other exception,
// a sanitizer report, a leak or a hang is a fault. What decodes is compared with a small
// project, as verify does.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "charset/dbcs_tables.h"
#include "model/font.h"
#include "verify/decoded_export.h"
#include "verify/verify_export.h"

using namespace typeloom;

namespace {

// The layouts a single file holds (all but the folder of bitmaps).
constexpr verify::Layout kLayouts[] = {
    verify::Layout::TableC,       verify::Layout::TableAsm,   verify::Layout::TableBin,
    verify::Layout::GeneralC,     verify::Layout::GeneralBin, verify::Layout::MicrochipC,
    verify::Layout::MicrochipBin, verify::Layout::V2C,        verify::Layout::V2Asm,
    verify::Layout::V2Dat,        verify::Layout::Hex,        verify::Layout::Fnt,
    verify::Layout::Fon};

const Font& project() {
    static const Font font = [] {
        Font f;
        f.createFromScratch(0x41, 0x44, 5, 10, "Fuzz");
        return f;
    }();
    return font;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (auto problem = loadProgramDbcsTables()) {
        std::fprintf(stderr, "fuzz_export_decoders: %s\n", problem->c_str());
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const verify::Layout layout = kLayouts[data[0] % std::size(kLayouts)];
    const std::vector<std::uint8_t> bytes(data + 1, data + size);
    verify::DecodeOptions options;
    options.project = &project();
    // Words from the second byte: every traversal, order, length and inversion.
    if (size > 1) {
        const std::uint32_t b = data[1];
        options.dataWord = (b & 0x01) | ((b & 0x02) << 3) | ((b & 0x04) << 6) | ((b & 0x08) << 9) |
                           (0x00020000u << ((b >> 4) % 3)) | ((b & 0x80) != 0 ? 0x02000000u : 0);
    }
    try {
        const verify::DecodedExport decoded = verify::decodeExportBytes(layout, bytes, options);
        const verify::VerifyReport report = verify::compareWithProject(project(), decoded, "fuzz");
        (void)report.text();
    } catch (const verify::DecodeError&) {
        return 0;
    }
    return 0;
}
