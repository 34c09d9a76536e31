#include <iostream>

#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/command_registry.h"
#include "model/system_fonts.h"

namespace typeloom::cli {

namespace {

constexpr const char* kFontsHelp =
    "Usage: typeloom fonts [PATTERN] [--scripts]\n"
    "\n"
    "Lists the installed font families whose name contains PATTERN (ignoring case; all\n"
    "families without it), each followed by its styles.\n"
    "\n"
    "  --scripts   also list the scripts (character sets) each style offers\n";

int commandFonts(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args, {}, {"--scripts"});
    if (a.helpRequested()) {
        out << kFontsHelp;
        return kExitOk;
    }
    if (a.positional().size() > 1) {
        throw UsageError{"unexpected argument " + a.positional()[1]};
    }
    const std::string pattern = a.positional().empty() ? std::string{} : a.positional().front();
    const bool scripts = a.has("--scripts");
    std::vector<SystemFace> faces = listSystemFaces(pattern);
    if (faces.empty()) {
        err << "typeloom: no installed font family matches \"" << pattern << "\"\n";
        return kExitFailed;
    }
    const std::string* family = nullptr;
    for (const SystemFace& face : faces) {
        if (family == nullptr || *family != face.family) {
            family = &face.family;
            out << face.family << "\n";
        }
        out << "  " << face.style;
        if (scripts) {
            const char* separator = ": ";
            for (const FontScript& s : scriptsOfFace({face.file, face.index})) {
                out << separator << s.name;
                separator = ", ";
            }
        }
        out << "\n";
    }
    return kExitOk;
}

const CommandRegistration kRegistration({"fonts", "list the installed font families and styles",
                                         commandFonts});

}  // namespace

}  // namespace typeloom::cli
