// The folder of one bitmap per character: each charXXXX.bmp read on its own.

#include <cstdio>
#include <filesystem>

#include "common/byte_io.h"
#include "verify/decoding_support.h"

namespace typeloom::verify::detail {

namespace {

// The picture of one uncompressed bitmap of 1, 2, 4 or 8 bits per pixel; a pixel is ink
// when its palette colour is dark.
DecodedCharacter decodeBmp(std::span<const std::uint8_t> bytes, int code, int height,
                           PixelBudget& budget) {
    DecodedCharacter c;
    c.code = code;
    ByteReader r(bytes);
    if (r.u16() != 0x4D42) {
        throw FileError(FileError::Kind::BadFormat, "no BM signature", 0);
    }
    r.seek(10);
    const std::size_t pixelsAt = r.u32();
    const std::size_t infoSize = r.u32();
    const std::int32_t width = r.i32();
    const std::int32_t rows = r.i32();
    r.skip(2);
    const int bits = r.u16();
    const std::uint32_t compression = r.u32();
    if (infoSize < 40 || width < 0 || width > 0xFFFF || rows == 0 || rows > 0xFFFF ||
        rows < -0xFFFF || compression != 0 || (bits != 1 && bits != 2 && bits != 4 && bits != 8)) {
        throw FileError(FileError::Kind::BadFormat,
                        "not an uncompressed bitmap of 1 to 8 bits per pixel", 14);
    }
    const int absRows = rows < 0 ? -rows : rows;
    if (absRows != height) {
        c.problem =
            "it is " + std::to_string(absRows) + " rows high, not " + std::to_string(height);
    }
    r.seek(14 + infoSize);
    const int colours = 1 << bits;
    r.requireItems(static_cast<std::uint64_t>(colours), 4, "palette");
    std::vector<std::uint8_t> dark;
    for (int k = 0; k < colours; ++k) {
        const int b = r.u8();
        const int g = r.u8();
        const int red = r.u8();
        r.skip(1);
        dark.push_back(b + g + red < 384 ? 1 : 0);
    }
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    r.seek(pixelsAt);
    r.requireItems(static_cast<std::uint64_t>(absRows), stride, "pixel rows");
    c.width = width;
    c.offset = pixelsAt;
    budget.take(width, height, 18);
    c.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    for (int row = 0; row < absRows && row < height; ++row) {
        const int y = rows > 0 ? absRows - 1 - row : row;
        if (y >= height) {
            continue;
        }
        const std::size_t line = pixelsAt + static_cast<std::size_t>(row) * stride;
        for (int x = 0; x < width; ++x) {
            const std::size_t bit = static_cast<std::size_t>(x) * bits;
            const unsigned byte = bytes[line + bit / 8];
            const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            c.pixels[static_cast<std::size_t>(y) * width + x] = dark[index];
        }
    }
    return c;
}

}  // namespace

DecodedExport decodeBmpFolder(const std::string& folder, const DecodeOptions& o) {
    DecodedExport out;
    out.layout = Layout::BmpFolder;
    const ProjectShape shape = projectShape(o, "which characters the folder should hold");
    out.height = shape.height;
    out.assumed.emplace_back("the characters named by the project");
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        fail(folder + " is not a folder", FileError::npos);
    }
    PixelBudget budget;
    for (int code : shape.codes) {
        char name[32];
        std::snprintf(name, sizeof name, "char%04x.bmp", static_cast<unsigned>(code));
        const std::string path = (std::filesystem::path(folder) / name).string();
        DecodedCharacter c;
        c.code = code;
        try {
            const std::vector<std::uint8_t> bytes = readWholeFile(path, std::uint64_t{64} << 20);
            budget.grow(bytes.size());
            c = decodeBmp(bytes, code, shape.height, budget);
        } catch (const FileError& e) {
            c.problem =
                std::string(name) + ": " + e.what() +
                (e.offset() != FileError::npos ? " (offset " + std::to_string(e.offset()) + ")"
                                               : std::string());
            c.pixels.clear();
        }
        out.characters.push_back(std::move(c));
    }
    return out;
}

}  // namespace typeloom::verify::detail
