#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

namespace typeloom {

// Writes a file so that the destination is either left as it was or replaced whole by the
// new contents: the data goes to a temporary file in the destination's folder, which is
// flushed to disk and renamed over the destination only by commit(). Destroying the writer
// without commit() (an error, a cancel, an exception) removes the temporary file; the
// temporaries a crashed program left beside the destination go with the next commit.
//
// A destination that is a symbolic link is written through to the file it names (the link
// stays); a folder, a device, a pipe, a socket or a read-only file is refused before anything
// is written. The replaced file keeps its permissions.
//
// Errors are reported by throwing FileError(Io) naming the destination.
//
// A writer of many files into one folder (a bitmap per character) passes
// StaleTemporaries::Keep: looking through the folder after each of tens of thousands of files
// would make the whole export quadratic.
enum class StaleTemporaries { Remove, Keep };

class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(std::string destination,
                              StaleTemporaries stale = StaleTemporaries::Remove);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::span<const std::uint8_t> data);
    void write(std::string_view text);
    // Hands what was written since the last call to the system and asks it to start putting
    // it on disk without waiting, so that commit() waits only for the rest.
    void startWriteback();
    // Writes `data` again at `offset` of what was written (a header whose values are known
    // only at the end); it may not reach past the end.
    void overwrite(std::uint64_t offset, std::span<const std::uint8_t> data);
    void commit();

    const std::string& destination() const { return m_destination; }
    const std::string& temporaryPath() const { return m_tempPath; }

  private:
    [[noreturn]] void fail(const std::string& what);
    void discard();

    std::string m_destination;
    std::string m_target;  // the file replaced: the destination or the end of its links
    std::string m_tempPath;
    std::FILE* m_file = nullptr;
    std::uint64_t m_size = 0;           // bytes written
    std::uint64_t m_writebackFrom = 0;  // where the next startWriteback begins
    bool m_committed = false;
    StaleTemporaries m_stale;
};

// Convenience for writers that build their output in memory.
void writeFileAtomically(const std::string& destination, std::span<const std::uint8_t> data,
                         StaleTemporaries stale = StaleTemporaries::Remove);

}  // namespace typeloom
