#pragma once

#include <ostream>
#include <string>

namespace typeloom {
class Font;
}

namespace typeloom::cli {

// The export formats that write font files rather than bitmap data: "fnt" (a Windows font
// resource), "fon" (a Windows font library) and "bmp" (one bitmap per character into a folder).
bool isFontFileFormat(const std::string& format);

// Writes the font in one of those formats; prints what was written or why not. Returns the
// exit status.
int exportFontFile(const Font& font, const std::string& format, const std::string& output,
                   std::ostream& out, std::ostream& err);

}  // namespace typeloom::cli
