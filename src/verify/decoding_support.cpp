#include "verify/decoding_support.h"

#include <algorithm>

#include "model/font.h"
#include "model/glyph_renderer.h"

namespace typeloom::verify::detail {

void fail(const std::string& message, std::size_t offset) {
    throw DecodeError(message, offset);
}

void PixelBudget::grow(std::size_t bytes) {
    m_described += std::uint64_t{bytes} * 8;
}

void PixelBudget::take(std::int64_t width, std::int64_t height, std::size_t offset) {
    const auto pixels = static_cast<std::uint64_t>(std::max<std::int64_t>(width, 0)) *
                        static_cast<std::uint64_t>(std::max<std::int64_t>(height, 0));
    const std::uint64_t limit = std::max(kMaxFontPixels, m_described);
    if (pixels > limit - std::min(m_used, limit)) {
        fail("the characters would need more than " + std::to_string(limit) +
                 " pixels, more than the file can hold",
             offset);
    }
    m_used += pixels;
}

DecodedCharacter decodeCharacter(int code, int width, int height, const UnitLayout& layout,
                                 std::span<const std::uint32_t> units, std::size_t offset,
                                 std::size_t unitBytes, std::span<const std::size_t> unitOffsets) {
    DecodedCharacter c;
    c.code = code;
    c.width = width;
    c.offset = offset;
    const std::size_t expected = unitCount(layout, width, height);
    if (units.size() != expected) {
        c.problem = "holds " + std::to_string(units.size()) + " units where width " +
                    std::to_string(width) + " needs " + std::to_string(expected);
        if (units.size() < expected) {
            return c;
        }
        units = units.first(expected);
    }
    std::vector<UnitProblem> problems;
    c.pixels = decodeUnits(layout, width, height, units, problems);
    if (!problems.empty() && c.problem.empty()) {
        const UnitProblem& p = problems.front();
        const std::size_t at =
            p.unit < unitOffsets.size() ? unitOffsets[p.unit] : offset + p.unit * unitBytes;
        c.problem =
            "unit " + std::to_string(p.unit) + " at offset " + std::to_string(at) + ": " + p.what;
    }
    return c;
}

std::vector<std::uint32_t> readUnits(ByteReader& reader, std::size_t count, int bits) {
    const std::size_t bytes = static_cast<std::size_t>(bits / 8);
    reader.requireItems(count, bytes, "units");
    std::vector<std::uint32_t> units(count);
    for (std::uint32_t& u : units) {
        u = bits == 8 ? reader.u8() : bits == 16 ? reader.u16() : reader.u32();
    }
    return units;
}

ProjectShape projectShape(const DecodeOptions& options, const char* what) {
    if (options.project == nullptr) {
        fail(std::string("this layout does not record ") + what + "; a project must give them",
             FileError::npos);
    }
    const Font& font = *options.project;
    ProjectShape shape;
    shape.height = font.height;
    for (int i = 0; i < font.count(); ++i) {
        shape.codes.push_back(font.codeAt(i));
        std::uint16_t w = 0;
        font.widthOf(static_cast<std::uint16_t>(font.unicodeAt(i)), w);
        shape.widths.push_back(w);
    }
    return shape;
}

}  // namespace typeloom::verify::detail
