#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/working_glyph.h"
#include "model/font.h"

namespace typeloom::test {

// Glyph pictures in tests: one string per row, '.' is 0, '#' is 1, '2'..'9' that value.
inline std::uint8_t valueOf(char c) {
    if (c == '#') {
        return 1;
    }
    if (c >= '2' && c <= '9') {
        return static_cast<std::uint8_t>(c - '0');
    }
    return 0;
}

inline char charOf(std::uint8_t v) {
    if (v == 0) {
        return '.';
    }
    if (v == 1) {
        return '#';
    }
    return v <= 9 ? static_cast<char>('0' + v) : '?';
}

inline std::vector<std::uint8_t> pixelsOf(const std::vector<std::string>& rows) {
    std::vector<std::uint8_t> pixels;
    for (const std::string& row : rows) {
        for (char c : row) {
            pixels.push_back(valueOf(c));
        }
    }
    return pixels;
}

inline std::vector<std::string> picture(const std::vector<std::uint8_t>& pixels, int width) {
    std::vector<std::string> rows;
    if (width <= 0) {
        return rows;
    }
    for (std::size_t i = 0; i < pixels.size(); i += static_cast<std::size_t>(width)) {
        std::string row;
        for (int x = 0; x < width && i + x < pixels.size(); ++x) {
            row += charOf(pixels[i + x]);
        }
        rows.push_back(row);
    }
    return rows;
}

inline std::vector<std::string> picture(const WorkingGlyph& g) {
    return picture(g.pixels(), g.width());
}

inline std::vector<std::string> blankRows(int width, int height) {
    return std::vector<std::string>(static_cast<std::size_t>(height),
                                    std::string(static_cast<std::size_t>(width), '.'));
}

// A variable-width font holding one glyph, the letter A, drawn by `rows`.
inline Font fontWith(const std::vector<std::string>& rows, std::uint32_t bits = 1,
                     std::uint16_t u = 'A') {
    Font font;
    font.height = static_cast<std::uint16_t>(rows.size());
    font.ascent = static_cast<std::int16_t>(rows.size());
    font.bitsPerPixel = bits;
    const auto width = static_cast<std::uint16_t>(rows.empty() ? 0 : rows[0].size());
    font.glyphs.insert(u, Glyph(u, width, pixelsOf(rows)));
    font.codeList = {u};
    font.unicodeList = {u};
    return font;
}

// A working glyph loaded with that glyph, its font kept beside it.
struct Editing {
    Font font;
    WorkingGlyph glyph;

    explicit Editing(const std::vector<std::string>& rows, std::uint32_t bits = 1)
        : font(fontWith(rows, bits)) {
        glyph.loadGlyph(font, 'A');
    }
    EditOutcome tool(ToolId id, bool ctrl = false, bool makeVariableWidth = false) {
        return glyph.setTool(id, font, ctrl, makeVariableWidth);
    }
};

}  // namespace typeloom::test
