#include "cli/font_file_loading.h"

#include "cli/cli_support.h"
#include "interchange/font_import.h"
#include "model/font.h"
#include "model/project_file.h"

namespace typeloom::cli {

bool isProjectPath(const std::string& path) {
    return isProjectFileName(path);
}

namespace {

// Files named .bdf, .fnt or .fon (any case) are imported; anything else goes to the project
// reader, which names what it expects.
bool isImportPath(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos) {
        return false;
    }
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return ext == "bdf" || ext == "fnt" || ext == "fon";
}

}  // namespace

bool loadAnyFontFile(const std::string& path, Font& font, std::ostream& err, std::string* kind) {
    if (!isImportPath(path)) {
        std::uint16_t version = 0;
        if (!loadFontFile(path, font, err, &version)) {
            return false;
        }
        if (kind != nullptr) {
            *kind = std::string("layout ") + (version == kVersion20  ? "2.0"
                                              : version == kVersion2 ? "2"
                                                                     : "3");
        }
        return true;
    }
    const ImportOutcome outcome = importFontResource(path, font);
    if (outcome.status == ImportOutcome::Status::NotRecognised) {
        err << "typeloom: " << path << ": not a font file that can be imported (" << outcome.detail
            << ")\n";
        return false;
    }
    if (!outcome.ok()) {
        err << "typeloom: " << path << ":";
        for (const std::string& m : outcome.messages) {
            err << " " << m;
        }
        err << "\n  " << outcome.detail << "\n";
        return false;
    }
    // The font was read, but not all of it as written: say what was repaired or left out.
    for (const std::string& w : outcome.warnings) {
        err << "typeloom: " << path << ": warning: " << w << "\n";
    }
    if (kind != nullptr) {
        *kind = outcome.reader == "bdf"  ? "imported BDF"
                : outcome.reader == "rb" ? "imported RB11/RB12"
                                         : "imported Windows font resource";
    }
    return true;
}

}  // namespace typeloom::cli
