#include "export/controller_presets.h"

#include <array>

#include "export/data_format.h"

namespace typeloom::exporters {

namespace {

constexpr std::array kPresets = {
    ControllerPreset{
        "page", "Page-organised OLED/LCD (vertical bytes)",
        "Monochrome OLED and LCD controllers with page memory (SSD1306, SH1106, ST7565, "
        "PCD8544 and alike).",
        "Each byte is 8 pixels of one column, least significant bit at the top; a page is 8 "
        "rows, its columns left to right, pages from the top.",
        kLength8 | kPreferRow},
    ControllerPreset{
        "page-column", "Vertical bytes, column by column",
        "The same controllers written in vertical addressing mode, and column-driven LED "
        "displays.",
        "Each byte is 8 pixels of one column, least significant bit at the top; a column's "
        "bytes from the top page down, columns left to right.",
        kLength8},
    ControllerPreset{
        "row", "Row framebuffer (horizontal bytes)",
        "Framebuffers of monochrome LCDs and e-paper panels that store each row on its own "
        "(ST7920, UC8151 and alike).",
        "Each byte is 8 pixels of one row, most significant bit at the left; every row starts "
        "a new byte, rows from the top.",
        kLength8 | kBigEndian | kScanRow | kPreferRow},
    ControllerPreset{
        "row-stream", "Packed row stream",
        "Displays and shift-register chains fed one continuous bit stream, row after row.",
        "The pixels row by row from the top, left to right, 8 to a byte with the first in the "
        "most significant bit; a row does not start a new byte.",
        kLength8 | kBigEndian | kScanRow | kPreferRow | kPacked},
    ControllerPreset{
        "led-row", "LED matrix driver (one byte per row)",
        "LED matrix modules whose driver has one 8-bit register per row (MAX7219 and alike), "
        "wired with bit 0 at the leftmost LED.",
        "One byte per row, bit 0 for the leftmost LED; a wider glyph takes one more byte per "
        "row for each 8 columns, rows from the top.",
        kLength8 | kScanRow | kPreferRow},
};

// The length field as the encoder takes it: the 4-bit and unset values make 8-bit units.
std::uint32_t encodedLayout(std::uint32_t word) {
    return withUnitBits(word, unitBits(word)) & kPresetMask;
}

}  // namespace

std::span<const ControllerPreset> controllerPresets() {
    return kPresets;
}

const ControllerPreset* findControllerPreset(std::string_view name) {
    for (const ControllerPreset& preset : kPresets) {
        if (name == preset.name) {
            return &preset;
        }
    }
    return nullptr;
}

std::uint32_t applyControllerPreset(std::uint32_t word, const ControllerPreset& preset) {
    return (word & ~kPresetMask) | (preset.layout & kPresetMask);
}

const ControllerPreset* matchingControllerPreset(std::uint32_t word) {
    const std::uint32_t layout = encodedLayout(word);
    for (const ControllerPreset& preset : kPresets) {
        if (layout == preset.layout) {
            return &preset;
        }
    }
    return nullptr;
}

}  // namespace typeloom::exporters
