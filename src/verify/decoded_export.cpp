#include "verify/decoded_export.h"

#include <array>
#include <filesystem>
#include <string_view>

#include "common/byte_io.h"
#include "verify/decoding_support.h"

namespace typeloom::verify {

namespace {

struct LayoutName {
    const char* name;
    Layout layout;
};

// Every command-line format name of a layout; the first of each layout is its own name.
constexpr std::array kNames{
    LayoutName{"table-c", Layout::TableC},
    LayoutName{"table-asm", Layout::TableAsm},
    LayoutName{"table-bin", Layout::TableBin},
    LayoutName{"general-c", Layout::GeneralC},
    LayoutName{"general-bin", Layout::GeneralBin},
    LayoutName{"microchip-c", Layout::MicrochipC},
    LayoutName{"microchip-bin", Layout::MicrochipBin},
    LayoutName{"v2-c", Layout::V2C},
    LayoutName{"v2-asm", Layout::V2Asm},
    LayoutName{"v2-dat", Layout::V2Dat},
    LayoutName{"hex", Layout::Hex},
    LayoutName{"fnt", Layout::Fnt},
    LayoutName{"fon", Layout::Fon},
    LayoutName{"bmp", Layout::BmpFolder},
    LayoutName{"studio-c", Layout::TableC},
    LayoutName{"studio-asm", Layout::TableAsm},
    LayoutName{"studio-dat", Layout::TableBin},
};

constexpr std::uint64_t kMaxExportBytes = std::uint64_t{1} << 30;

bool contains(const std::vector<std::uint8_t>& bytes, std::string_view text) {
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return all.find(text) != std::string_view::npos;
}

}  // namespace

std::optional<Layout> layoutOfName(const std::string& name) {
    for (const LayoutName& n : kNames) {
        if (name == n.name) {
            return n.layout;
        }
    }
    return std::nullopt;
}

const char* layoutName(Layout layout) {
    for (const LayoutName& n : kNames) {
        if (n.layout == layout) {
            return n.name;
        }
    }
    return "?";
}

bool usesDataWord(Layout layout) {
    return layout != Layout::Hex && layout != Layout::Fnt && layout != Layout::Fon &&
           layout != Layout::BmpFolder;
}

std::optional<Layout> detectLayout(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return Layout::BmpFolder;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readWholeFile(path, kMaxExportBytes);
    } catch (const FileError&) {
        return std::nullopt;
    }
    if (bytes.size() >= 2) {
        const int word = bytes[0] | (bytes[1] << 8);
        if (word == 0x6A5D) {
            return Layout::TableBin;
        }
        if (word == 0x5A4D) {
            return Layout::Fon;
        }
        if (word == 0x0200 || word == 0x0300) {
            return Layout::Fnt;
        }
    }
    if (!bytes.empty() && bytes[0] == ':') {
        return Layout::Hex;
    }
    const bool assembler = contains(bytes, "_data_table \r\n") || contains(bytes, "_data_table \n");
    if (contains(bytes, "FONTHEADER_TLM")) {
        return assembler ? Layout::TableAsm : Layout::TableC;
    }
    if (contains(bytes, "TLM_FONT")) {
        return Layout::GeneralC;
    }
    if (contains(bytes, "FONT_FLASH")) {
        return Layout::MicrochipC;
    }
    if (contains(bytes, "_data_table")) {
        return assembler ? Layout::V2Asm : Layout::V2C;
    }
    return std::nullopt;
}

DecodedExport decodeExportBytes(Layout layout, const std::vector<std::uint8_t>& bytes,
                                const DecodeOptions& options) {
    using namespace detail;
    switch (layout) {
        case Layout::TableC:
            return decodeTableText(bytes, false, options);
        case Layout::TableAsm:
            return decodeTableText(bytes, true, options);
        case Layout::TableBin:
            return decodeTableBinary(bytes, options);
        case Layout::GeneralC:
            return decodeGeneralText(bytes, options);
        case Layout::GeneralBin:
            return decodeGeneralBinary(bytes, options);
        case Layout::MicrochipC:
            return decodeMicrochipText(bytes, options);
        case Layout::MicrochipBin:
            return decodeMicrochipImage(bytes, options);
        case Layout::V2C:
            return decodeVersion2Text(bytes, false, options);
        case Layout::V2Asm:
            return decodeVersion2Text(bytes, true, options);
        case Layout::V2Dat:
            return decodeVersion2Data(bytes, options);
        case Layout::Hex:
            return decodeIntelHex(bytes, options);
        case Layout::Fnt:
            return decodeFnt(bytes, 0);
        case Layout::Fon:
            return decodeFon(bytes);
        case Layout::BmpFolder:
            break;
    }
    throw DecodeError("a folder of bitmaps is read from its folder", FileError::npos);
}

DecodedExport decodeExport(Layout layout, const std::string& path, const DecodeOptions& options) {
    if (layout == Layout::BmpFolder) {
        return detail::decodeBmpFolder(path, options);
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readWholeFile(path, kMaxExportBytes);
    } catch (const FileError& e) {
        throw DecodeError(e.what(), FileError::npos);
    }
    return decodeExportBytes(layout, bytes, options);
}

}  // namespace typeloom::verify
