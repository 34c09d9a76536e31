#include "bench_fonts.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "charset/encodings.h"

namespace typeloom::bench {

Font makeFullUnicodeFont() {
    Font font;
    font.setEncoding(kEncodingUnicode);
    font.createFromScratch(kFirst, kLast, 16, 16, "Bench");
    return font;
}

const Font& fullUnicodeFont() {
    static const Font font = makeFullUnicodeFont();
    return font;
}

namespace {

struct ScratchFile {
    std::string path;

    ScratchFile() {
        std::filesystem::path dir;
        if (const char* d = std::getenv("TYPELOOM_BENCH_DIR"); d != nullptr && *d != '\0') {
            dir = d;
        } else {
            dir = std::filesystem::temp_directory_path();
        }
        path = (dir / ("typeloom_bench_" + std::to_string(getpid()) + ".tlf")).string();
    }
    ~ScratchFile() {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

}  // namespace

const std::string& scratchProjectPath() {
    static const ScratchFile file;
    return file.path;
}

namespace {

// The BDF made from the PCF, removed when the program ends.
struct UnifontBdf {
    std::string path;

    UnifontBdf() {
        const std::string pcf = "/usr/share/fonts/X11/misc/unifont.pcf.gz";
        const std::string out = scratchProjectPath() + ".unifont.bdf";
        if (!std::filesystem::exists(pcf)) {
            return;
        }
        const std::string command = "gzip -dc '" + pcf + "' > '" + out + ".pcf' && pcf2bdf -o '" +
                                    out + "' '" + out + ".pcf' 2>/dev/null";
        const bool made = std::system(command.c_str()) == 0;
        std::remove((out + ".pcf").c_str());
        if (made) {
            path = out;
        } else {
            std::remove(out.c_str());
        }
    }
    ~UnifontBdf() {
        if (!path.empty()) {
            std::remove(path.c_str());
        }
    }
};

}  // namespace

const std::string& unifontBdf() {
    static const UnifontBdf file;
    return file.path;
}

}  // namespace typeloom::bench
