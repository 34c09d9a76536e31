#include "common/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "common/file_error.h"
#include "test_support.h"

namespace typeloom {
namespace {

using test::listFolder;
using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(AtomicFileWriter, CommitReplacesTheDestinationWhole) {
    TempDir dir;
    const std::string path = dir.file("font.tlf");
    writeFile(path, {1, 2, 3});
    {
        AtomicFileWriter w(path);
        w.write(std::vector<std::uint8_t>{9, 8});
        w.startWriteback();
        // Until the commit the old contents stay in place, data on its way to disk or not.
        EXPECT_EQ(readFile(path), (std::vector<std::uint8_t>{1, 2, 3}));
        w.write(std::string_view("x"));
        w.commit();
    }
    EXPECT_EQ(readFile(path), (std::vector<std::uint8_t>{9, 8, 'x'}));
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"font.tlf"});
}

TEST(AtomicFileWriter, AbandonedWriteLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    const std::string path = dir.file("font.tlf");
    writeFile(path, {1, 2, 3});
    {
        AtomicFileWriter w(path);
        w.write(std::vector<std::uint8_t>(1000, 7));
        w.startWriteback();
        // destroyed without commit: an error or a cancel half-way
    }
    EXPECT_EQ(readFile(path), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"font.tlf"});
}

TEST(AtomicFileWriter, KeepsThePermissionsOfTheFileItReplaces) {
    TempDir dir;
    const std::string path = dir.file("table.c");
    writeFile(path, {1});
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    writeFileAtomically(path, std::vector<std::uint8_t>{2});
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(AtomicFileWriter, MissingFolderIsAnIoErrorNamingTheFile) {
    TempDir dir;
    const std::string path = dir.file("no/such/folder/out.bin");
    try {
        writeFileAtomically(path, std::vector<std::uint8_t>{1});
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::Io);
        EXPECT_NE(std::string(e.what()).find("out.bin"), std::string::npos);
    }
}

// The message of the FileError a write to `path` throws, or "" when it succeeds.
std::string writeError(const std::string& path) {
    try {
        writeFileAtomically(path, std::vector<std::uint8_t>{1});
    } catch (const FileError& e) {
        return e.what();
    }
    return {};
}

TEST(AtomicFileWriter, WritesThroughSymbolicLinksAndKeepsThem) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("real"));
    const std::string target = dir.file("real/font.c");
    writeFile(target, {1, 2, 3});
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    // A relative link in another folder, and a link to that link.
    std::filesystem::create_symlink("real/font.c", dir.file("link.c"));
    std::filesystem::create_symlink(dir.file("link.c"), dir.file("link2.c"));
    writeFileAtomically(dir.file("link2.c"), std::vector<std::uint8_t>{7});
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.c")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link2.c")));
    EXPECT_EQ(readFile(target), std::vector<std::uint8_t>{7});
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(listFolder(dir.file("real")), std::vector<std::string>{"font.c"});
    // A link to a file not yet there creates it; a loop of links is refused.
    std::filesystem::create_symlink("real/new.c", dir.file("dangling.c"));
    writeFileAtomically(dir.file("dangling.c"), std::vector<std::uint8_t>{8});
    EXPECT_EQ(readFile(dir.file("real/new.c")), std::vector<std::uint8_t>{8});
    std::filesystem::create_symlink("loop2", dir.file("loop1"));
    std::filesystem::create_symlink("loop1", dir.file("loop2"));
    EXPECT_NE(writeError(dir.file("loop1")).find("too many levels of symbolic links"),
              std::string::npos);
}

TEST(AtomicFileWriter, RefusesWhatASaveMustNotReplace) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("folder"));
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
    writeFile(dir.file("locked.c"), {1, 2});
    ASSERT_EQ(::chmod(dir.file("locked.c").c_str(), 0444), 0);
    struct Row {
        std::string path;
        const char* why;
    };
    const Row rows[] = {
        {dir.file("folder"), "it is a folder"},
        {dir.path().string() + "/.", "it is a folder"},
        {dir.file("pipe"), "it is not a regular file"},
        {"/dev/null", "it is not a regular file"},
        {dir.file("locked.c"), "the file is read-only"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        const std::string message = writeError(row.path);
        EXPECT_EQ(message.rfind("cannot write " + row.path + ": " + row.why, 0), 0u) << message;
    }
    // Nothing was touched: the folder, the pipe, the device and the read-only file are as
    // they were, and no temporary file was left.
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder")));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.file("pipe")));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_EQ(readFile(dir.file("locked.c")), (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"folder", "locked.c", "pipe"}));
}

TEST(AtomicFileWriter, ACommitRemovesTheTemporariesOfEndedPrograms) {
    TempDir dir;
    // The id of a program that has ended: a child that exits at once.
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string ended = ".font.tlf.typeloom-" + std::to_string(child) + "-a1b2c3";
    const std::string running = ".font.tlf.typeloom-" + std::to_string(::getppid()) + "-d4e5f6";
    const std::string otherFile = ".other.tlf.typeloom-" + std::to_string(child) + "-g7h8i9";
    for (const std::string& name : {ended, running, otherFile, std::string(".font.tlf.x")}) {
        writeFile(dir.file(name), {0});
    }
    writeFileAtomically(dir.file("font.tlf"), std::vector<std::uint8_t>{5});
    EXPECT_EQ(listFolder(dir.path()),
              (std::vector<std::string>{running, ".font.tlf.x", otherFile, "font.tlf"}));
}

}  // namespace
}  // namespace typeloom
