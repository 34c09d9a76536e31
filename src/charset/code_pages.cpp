#include "charset/code_pages.h"

#include <unicode/ucnv.h>

#include <array>
#include <memory>
#include <mutex>
#include <vector>

namespace typeloom {

namespace {

struct PageInfo {
    int codePage;
    const char* icuName;
    bool doubleByte;
};

// ICU's converter names for the Windows code pages (the canonical names, so that an alias
// shared by several tables cannot pick the wrong one).
constexpr std::array<PageInfo, 18> kPages = {{
    {0, "ibm-5348_P100-1997", false},  // the ANSI page: windows-1252
    {1, "ibm-437_P100-1995", false},   // the OEM page
    {2, "macos-0_2-10.2", false},      // the Macintosh page: Mac Roman
    {874, "windows-874-2000", false},
    {932, "ibm-943_P15A-2003", true},
    {936, "windows-936-2000", true},
    {949, "windows-949-2000", true},
    {950, "windows-950-2000", true},
    {1250, "ibm-5346_P100-1998", false},
    {1251, "ibm-5347_P100-1998", false},
    {1252, "ibm-5348_P100-1997", false},
    {1253, "ibm-5349_P100-1998", false},
    {1254, "ibm-5350_P100-1998", false},
    {1255, "ibm-9447_P100-2002", false},
    {1256, "ibm-9448_X100-2005", false},
    {1257, "ibm-9449_P100-2002", false},
    {1258, "ibm-5354_P100-1998", false},
    {437, "ibm-437_P100-1995", false},
}};

const PageInfo* findPage(int codePage) {
    for (const PageInfo& p : kPages) {
        if (p.codePage == codePage) {
            return &p;
        }
    }
    return nullptr;
}

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Decodes bytes; returns the first UTF-16 unit, or nothing when the bytes are not a
// character of the page (the converter stops at the first undefined or illegal byte).
bool decodeFirst(UConverter* conv, const char* bytes, int length, char16_t& out) {
    UErrorCode status = U_ZERO_ERROR;
    UChar buffer[8];
    ucnv_reset(conv);
    int32_t n = ucnv_toUChars(conv, buffer, 8, bytes, length, &status);
    if (U_FAILURE(status) || n <= 0) {
        return false;
    }
    out = buffer[0];
    return true;
}

// The complete code -> Unicode table of one page, built on first use.
std::vector<std::uint16_t> buildTable(const PageInfo& page) {
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr conv(ucnv_open(page.icuName, &status));
    std::vector<std::uint16_t> table(page.doubleByte ? 0x10000 : 0x100, 0);
    if (U_FAILURE(status)) {
        return table;
    }
    status = U_ZERO_ERROR;
    ucnv_setToUCallBack(conv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    for (std::uint32_t code = 1; code < table.size(); ++code) {
        char bytes[2];
        int length = 0;
        if (code > 0xFF) {
            bytes[length++] = static_cast<char>(code >> 8);
        }
        bytes[length++] = static_cast<char>(code & 0xFF);
        char16_t unit = 0;
        if (decodeFirst(conv.get(), bytes, length, unit)) {
            table[code] = unit;
        } else if (page.doubleByte) {
            table[code] = 0xFFFD;
        } else if (code >= 0x80 && code <= 0x9F) {
            table[code] = static_cast<std::uint16_t>(code);
        } else {
            table[code] = static_cast<std::uint16_t>(0xF700 + code);
        }
    }
    return table;
}

const std::vector<std::uint16_t>& tableFor(const PageInfo& page) {
    static std::mutex mutex;
    static std::array<std::unique_ptr<std::vector<std::uint16_t>>, kPages.size()> tables;
    std::size_t index = static_cast<std::size_t>(&page - kPages.data());
    std::lock_guard lock(mutex);
    if (!tables[index]) {
        tables[index] = std::make_unique<std::vector<std::uint16_t>>(buildTable(page));
    }
    return *tables[index];
}

}  // namespace

int charsetToCodePage(std::uint8_t charset) {
    switch (charset) {
        case 0:
            return 1252;
        case 77:
            return 2;
        case 128:
            return 932;
        case 129:
        case 130:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 255:
            return 1;
        default:
            return 0;
    }
}

bool isKnownCodePage(int codePage) {
    return findPage(codePage) != nullptr;
}

std::uint16_t codeToUnicode(int codePage, std::uint16_t code) {
    if (code == 0) {
        return 0;
    }
    const PageInfo* page = findPage(codePage);
    if (page == nullptr) {
        return 0;
    }
    const auto& table = tableFor(*page);
    if (page->doubleByte) {
        return table[code];
    }
    // A single-byte page decodes the two bytes of a larger code one by one; the first
    // character is the lead (high) byte's.
    return table[code > 0xFF ? code >> 8 : code];
}

}  // namespace typeloom
