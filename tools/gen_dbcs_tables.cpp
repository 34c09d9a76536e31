// Build-time generator of the double-byte code table data file: for every Unicode value
// 0..0xFFFF, the code of that character in Shift_JIS (932), Big5 (950), GBK (936) and
// Hangul (949), taken from ICU's Windows tables, lead byte in the high byte.
//
// Usage: gen_dbcs_tables OUTPUT

#include <unicode/ucnv.h>

#include <array>
#include <cstdio>
#include <vector>

#include "charset/dbcs_tables.h"
#include "common/atomic_file.h"
#include "common/file_error.h"

namespace {

std::vector<std::uint16_t> buildTable(const char* icuName) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* conv = ucnv_open(icuName, &status);
    if (U_FAILURE(status)) {
        std::fprintf(stderr, "gen_dbcs_tables: ICU has no converter %s\n", icuName);
        std::exit(1);
    }
    // Only round-trip mappings: a character the encoding merely approximates has no code.
    // ICU keeps some fallbacks from private-use characters even with fallbacks off (Shift_JIS
    // U+F86F -> 0x8782, which decodes to U+2116), so every code is also decoded back below.
    ucnv_setFromUCallBack(conv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setToUCallBack(conv, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFallback(conv, false);
    std::vector<std::uint16_t> table(typeloom::DbcsTables::kEntries, typeloom::DbcsTables::kNone);
    for (std::uint32_t u = 0; u < 0x10000; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF) {
            continue;  // surrogate halves are not characters
        }
        UChar source = static_cast<UChar>(u);
        char bytes[8];
        status = U_ZERO_ERROR;
        ucnv_resetFromUnicode(conv);
        int32_t n = ucnv_fromUChars(conv, bytes, sizeof bytes, &source, 1, &status);
        if (U_FAILURE(status)) {
            continue;
        }
        UChar back[4];
        status = U_ZERO_ERROR;
        ucnv_resetToUnicode(conv);
        int32_t m = ucnv_toUChars(conv, back, 4, bytes, n, &status);
        if (U_FAILURE(status) || m != 1 || back[0] != source) {
            continue;
        }
        auto b0 = static_cast<unsigned char>(bytes[0]);
        if (n == 1) {
            table[u] = b0;
        } else if (n == 2) {
            table[u] = static_cast<std::uint16_t>((b0 << 8) | static_cast<unsigned char>(bytes[1]));
        }
    }
    ucnv_close(conv);
    return table;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_dbcs_tables OUTPUT\n");
        return 2;
    }
    std::array<std::vector<std::uint16_t>, 4> tables = {
        buildTable("ibm-943_P15A-2003"), buildTable("windows-950-2000"),
        buildTable("windows-936-2000"), buildTable("windows-949-2000")};
    try {
        typeloom::writeFileAtomically(argv[1], typeloom::DbcsTables::serialize(tables));
    } catch (const typeloom::FileError& e) {
        std::fprintf(stderr, "gen_dbcs_tables: %s\n", e.what());
        return 1;
    }
    return 0;
}
