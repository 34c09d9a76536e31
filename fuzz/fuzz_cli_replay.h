#pragma once

// The harnesses' --via-cli option. Given it, a harness hands each input to the command-line
// tool instead of straight to its reader: the bytes are written to a file and
// `typeloom info FILE` runs on it in process, with FreeType rendering the installed faces as
// the program does. That is the road a build pipeline takes, so a file that needs the
// installed fonts to do harm (a version 2 project that renders a whole face) shows up here
// when the reader alone, rendering blank glyphs, stays cheap.
//
//   build/fuzz/bin/fuzz_project_reader --via-cli -rss_limit_mb=512 fuzz/corpus/project_reader
//
// libFuzzer leaves options that start with "--" to the harness.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "model/freetype_renderer.h"

namespace typeloom::fuzz {

inline bool& viaCli() {
    static bool on = false;
    return on;
}

// Reads --via-cli from the harness's command line.
inline void readHarnessOptions(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i) {
        if (std::strcmp((*argv)[i], "--via-cli") == 0) {
            viaCli() = true;
            installFreeTypeRenderer();
        }
    }
}

// Runs `typeloom info` on the bytes saved under a name ending in `extension`, which picks the
// reader as the tool picks it. Every outcome the tool reports is fine; a crash, a sanitizer
// report, an allocation beyond the RSS limit or a hang is what the harness is after.
inline void replayThroughCli(const std::uint8_t* data, std::size_t size, const char* extension) {
    static const std::string folder = [] {
        std::string pattern = "/tmp/typeloom-fuzz-cli-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        return pattern;
    }();
    static const bool cleanUp = std::atexit([] { rmdir(folder.c_str()); }) == 0;
    (void)cleanUp;
    const std::string path = folder + "/input" + extension;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
    std::ostringstream out;
    std::ostringstream err;
    cli::run({"info", path}, out, err);
    std::remove(path.c_str());
}

}  // namespace typeloom::fuzz
