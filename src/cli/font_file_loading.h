#pragma once

#include <ostream>
#include <string>

namespace typeloom {
class Font;
}

namespace typeloom::cli {

// Loads a project (.tlf) or imports a font file (.bdf, .fnt, .fon) for a command; prints the
// reason and returns false on failure. `kind` receives "layout 3" / "layout 2" / "layout 2.0"
// for projects, "imported BDF" and the like for imports, when not null.
bool loadAnyFontFile(const std::string& path, Font& font, std::ostream& err,
                     std::string* kind = nullptr);

// True for paths ending in ".tlf" (any case).
bool isProjectPath(const std::string& path);

}  // namespace typeloom::cli
