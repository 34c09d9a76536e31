#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace typeloom::exporters {

// A data layout that reproduces the memory arrangement of a common kind of display
// controller or driver. Choosing one sets the traversal, the bit order and the unit length of
// the data-format word; the invert bit and the panel's bits stay as they were.
struct ControllerPreset {
    const char* name;         // the command line's name ("page")
    const char* title;        // the dialog's list entry
    const char* description;  // one line: which displays use it
    const char* arrangement;  // the memory arrangement it reproduces, as datasheets draw it
    std::uint32_t layout;     // traversal, bit order and unit length bits of the word
};

// The presets, in the order the dialog lists them.
std::span<const ControllerPreset> controllerPresets();

// The preset of that name, or null.
const ControllerPreset* findControllerPreset(std::string_view name);

// The bits of the word a preset sets: traversal, bit order, unit length.
inline constexpr std::uint32_t kPresetMask = 0x000F1111;

// The word with the preset's layout in place of its own.
std::uint32_t applyControllerPreset(std::uint32_t word, const ControllerPreset& preset);

// The preset whose layout the word has (the 4-bit and unset lengths count as the 8 bits they
// encode), or null when none matches.
const ControllerPreset* matchingControllerPreset(std::uint32_t word);

}  // namespace typeloom::exporters
