#pragma once

#include <cstdint>
#include <string_view>

namespace typeloom {

// Label of the Unicode block that row `row` (codes row*16 .. row*16+15) lies in, for rows
// 0..4095; empty for any other row. unicodeRowLabel(2) is "Basic Latin".
std::string_view unicodeRowLabel(int row);

}  // namespace typeloom
