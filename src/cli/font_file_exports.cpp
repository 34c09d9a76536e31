#include "cli/font_file_exports.h"

#include <filesystem>
#include <iostream>

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/font_file_loading.h"
#include "common/file_error.h"
#include "interchange/bdf_writer.h"
#include "interchange/bmp_writer.h"
#include "interchange/winfont_writer.h"
#include "model/font.h"

namespace typeloom::cli {

bool isFontFileFormat(const std::string& format) {
    return format == "fnt" || format == "fon" || format == "bmp" || format == "bdf";
}

int exportFontFile(const Font& font, const std::string& format, const std::string& output,
                   std::ostream& out, std::ostream& err) {
    if (format == "bmp") {
        // The folder is made first; when that fails, its reason (a read-only file system, no
        // permission, a file of that name) is the one to report.
        std::error_code ec;
        if (std::filesystem::exists(output, ec) && !std::filesystem::is_directory(output, ec)) {
            err << "typeloom: cannot write bitmaps into " << output << ": it is not a folder\n";
            return kExitFailed;
        }
        std::filesystem::create_directories(output, ec);
        if (ec) {
            err << "typeloom: cannot make the folder " << output << ": " << ec.message() << "\n";
            return kExitFailed;
        }
        const BitmapExportResult r = exportCharacterBitmaps(font, output);
        if (!r.ok) {
            err << "typeloom: " << r.message << "\n  " << r.detail << "\n";
            return kExitFailed;
        }
        out << "Wrote " << r.written << " bitmap files into " << output << "\n";
        return kExitOk;
    }
    if (format == "bdf") {
        try {
            writeBdf(font, output);
        } catch (const FileError& e) {
            err << "typeloom: " << e.what() << "\n";
            return kExitFailed;
        }
        out << "Wrote " << output << ": " << font.count() << " characters ("
            << bdfCharsetOf(font).registry << "-" << bdfCharsetOf(font).encoding << ")\n";
        return kExitOk;
    }
    const bool fon = format == "fon";
    if (const char* refusal = windowsFontExportRefusal(font, fon)) {
        err << "typeloom: " << refusal << "\n";
        return kExitFailed;
    }
    const FontWriteResult r = fon ? writeFon(font, output) : writeFnt(font, output);
    if (!r.ok) {
        // A destination that cannot be written has no message of its own: its detail already
        // names the file and the cause.
        err << "typeloom: " << (r.message.empty() ? r.detail : r.message + "\n  " + r.detail)
            << "\n";
        return kExitFailed;
    }
    out << "Wrote " << output << ": " << font.count() << " characters\n";
    return kExitOk;
}

}  // namespace typeloom::cli
