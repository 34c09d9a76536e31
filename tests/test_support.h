#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
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

}  // namespace typeloom::test
