#include "common/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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
        // Until the commit the old contents stay in place.
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

}  // namespace
}  // namespace typeloom
