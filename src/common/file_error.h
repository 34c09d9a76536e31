#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace typeloom {

// The one exception the core throws: a file that cannot be read or written, or whose
// contents are not what the reader expects. Every reader reports the byte offset at which
// it gave up so that a damaged file can be diagnosed.
class FileError : public std::runtime_error {
  public:
    enum class Kind { Io, EndOfFile, BadFormat };

    FileError(Kind kind, const std::string& message, std::size_t offset = npos)
        : std::runtime_error(message), m_kind(kind), m_offset(offset) {}

    Kind kind() const { return m_kind; }
    // Byte offset in the file where the problem was found, or npos when it does not apply.
    std::size_t offset() const { return m_offset; }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  private:
    Kind m_kind;
    std::size_t m_offset;
};

}  // namespace typeloom

namespace typeloom {

// The message shown when reading `path` failed: names the file, says what was wrong and, for
// damaged contents, the byte offset where the reader gave up.
std::string describeReadFailure(const std::string& path, const FileError& error);

}  // namespace typeloom
