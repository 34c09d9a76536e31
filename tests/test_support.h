#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace typeloom::test {

// A fresh empty folder under the system temporary folder, removed when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

  private:
    std::filesystem::path m_path;
};

std::vector<std::uint8_t> readFile(const std::string& path);
void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Files of the folder, for checking that nothing (no temporary file) was left behind.
std::vector<std::string> listFolder(const std::filesystem::path& folder);

// The bytes of a file under tests/data, e.g. readTestData("export/table_format/unicode_font.c"),
// exactly as stored (CR LF line ends stay). A missing or unreadable file fails the calling test
// with its full path and gives an empty string.
std::string readTestData(std::string_view relativePath);
// A C header the program ships (include/typeloom/NAME in the source tree), likewise.
std::string readShippedHeader(std::string_view name);

// Names the instances of a parameterised test after the `name` of their row, so that a test
// made of a table of rows keeps a readable name per row.
struct RowName {
    template <class Row>
    std::string operator()(const testing::TestParamInfo<Row>& row) const {
        return row.param.name;
    }
};

}  // namespace typeloom::test
