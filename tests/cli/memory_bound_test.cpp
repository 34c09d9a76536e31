// A project file of a few dozen bytes must not make the tool allocate gigabytes: a version 2
// project with an empty character list names an installed face whose every character would be
// rendered at 1,024 rows. Run in a child process under a 1 GiB address-space limit, the tool
// must refuse the file with its message, not die of an allocation failure.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "cli_test_support.h"
#include "model/freetype_renderer.h"
#include "model/project_bytes.h"

#if defined(__SANITIZE_ADDRESS__)
#define TYPELOOM_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TYPELOOM_UNDER_ASAN 1
#endif
#endif

namespace typeloom::cli {
namespace {

TEST(MemoryBound, TinyVersion2ProjectIsRefusedUnderAnAddressSpaceLimit) {
#ifdef TYPELOOM_UNDER_ASAN
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit an address-space limit";
#else
    test::Bytes b;
    b.header("FDCL", 0x0200, 0x0200);
    b.logFont(-1024, "Unifont");
    b.u16(768).u16(1).u16(1024).u16(900);  // point size, width, height, ascent
    b.u32(1);                              // Unicode: no code list follows
    b.words({});                           // no character listed: render the whole face
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("typeloom-tiny-" + std::to_string(getpid()) + ".tlf");
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(b.bytes().data()),
                  static_cast<std::streamsize>(b.size()));
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{rlim_t{1} << 30, rlim_t{1} << 30};
        setrlimit(RLIMIT_AS, &limit);
        installFreeTypeRenderer();
        const Result r = runCli({"info", path.string()});
        const bool refused = r.status == kExitFailed &&
                             r.err.find("the source font would render") != std::string::npos;
        std::fputs(r.err.c_str(), stderr);
        _exit(refused ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    std::filesystem::remove(path);
    ASSERT_TRUE(WIFEXITED(status)) << "the tool died of signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the tool did not refuse the file with its message";
#endif
}

}  // namespace
}  // namespace typeloom::cli
