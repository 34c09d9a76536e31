#include "bench_fonts.h"

#include <unistd.h>

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

}  // namespace typeloom::bench
