#include <iostream>

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "cli/font_file_loading.h"
#include "coverage/font_coverage.h"
#include "coverage/text_sources.h"
#include "model/font.h"
#include "model/project_file.h"

namespace typeloom::cli {

namespace {

constexpr const char* kCoverageHelp =
    "Usage: typeloom coverage PROJECT FILE...\n"
    "\n"
    "Lists the characters the firmware's texts use that the font lacks, grouped by Unicode\n"
    "block; exits 1 when there are any. Each FILE is UTF-8, read by its extension:\n"
    "  .c .h .cc .cpp .cxx .hpp .hh .inc   the string and character literals (\\x, \\u, \\U\n"
    "                                      escapes too; comments are passed over)\n"
    "  .po .pot                            the msgstr strings\n"
    "  .json                               the string values (not the keys)\n"
    "  anything else                       all of the text\n";

constexpr const char* kSubsetHelp =
    "Usage: typeloom subset PROJECT --text-file FILE [FILE...] [--keep RANGES] -o OUT.tlf\n"
    "\n"
    "Writes a project that keeps only the characters the texts use (read as `typeloom\n"
    "coverage` reads them), the space, the default character and the --keep ranges\n"
    "(\"0x20-0x7E,0xB0\").\n";

// The characters of every file; false (with the reason on err) when one cannot be read.
bool readTexts(const std::vector<std::string>& files, std::vector<char32_t>& used,
               std::ostream& err) {
    for (const std::string& f : files) {
        try {
            const std::vector<char32_t> chars = coverage::charactersOfFile(f);
            used.insert(used.end(), chars.begin(), chars.end());
        } catch (const coverage::TextError& e) {
            err << "typeloom: " << e.what() << "\n";
            return false;
        }
    }
    return true;
}

int commandCoverage(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args, {}, {});
    if (a.helpRequested()) {
        out << kCoverageHelp;
        return kExitOk;
    }
    if (a.positional().size() < 2) {
        throw UsageError{"coverage takes a project and at least one text file"};
    }
    Font font;
    if (!loadAnyFontFile(a.positional()[0], font, err)) {
        return kExitFailed;
    }
    std::vector<char32_t> used;
    if (!readTexts({a.positional().begin() + 1, a.positional().end()}, used, err)) {
        return kExitFailed;
    }
    const coverage::CoverageReport report = coverage::coverageOf(font, used);
    if (report.missing.empty()) {
        out << "All " << report.used << " characters the texts use are in the font\n";
        return kExitOk;
    }
    out << "The font lacks " << report.missingCount() << " of the " << report.used
        << " characters the texts use:\n"
        << report.text();
    return kExitFailed;
}

int commandSubset(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args, {"-o", "--output", "--text-file", "--keep"}, {});
    if (a.helpRequested()) {
        out << kSubsetHelp;
        return kExitOk;
    }
    const std::string output = a.value("-o", a.value("--output", ""));
    if (a.positional().empty() || output.empty() || !a.has("--text-file")) {
        throw UsageError{"subset takes a project, --text-file FILE... and -o OUT.tlf"};
    }
    std::vector<std::pair<char32_t, char32_t>> keep;
    if (auto k = a.value("--keep"); k && !coverage::parseRanges(*k, keep)) {
        throw UsageError{"--keep takes ranges such as 0x20-0x7E,0xB0"};
    }
    Font font;
    if (!loadAnyFontFile(a.positional()[0], font, err)) {
        return kExitFailed;
    }
    std::vector<std::string> files{*a.value("--text-file")};
    files.insert(files.end(), a.positional().begin() + 1, a.positional().end());
    std::vector<char32_t> used;
    if (!readTexts(files, used, err)) {
        return kExitFailed;
    }
    const int before = font.count();
    if (coverage::keepOnly(font, used, keep) == 0) {
        err << "typeloom: the texts use none of the font's characters; nothing written\n";
        return kExitFailed;
    }
    try {
        saveProject(output, font);
    } catch (const FileError& e) {
        err << "typeloom: " << e.what() << "\n";
        return kExitFailed;
    }
    out << "Wrote " << output << ": kept " << font.count() << " of " << before << " characters\n";
    return kExitOk;
}

const CommandRegistration kCoverage({"coverage",
                                     "list the characters texts use that the font lacks",
                                     commandCoverage});
const CommandRegistration kSubset({"subset", "keep only the characters texts use", commandSubset});

}  // namespace

}  // namespace typeloom::cli
