#include "common/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "common/file_error.h"

namespace typeloom {

namespace {

namespace fs = std::filesystem;

// A chain of symbolic links longer than this is refused (the system's own limit is 40).
constexpr int kMaxLinkDepth = 40;

std::string folderOf(const std::string& path) {
    fs::path p(path);
    auto parent = p.parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// What a temporary file's name starts with: ".<file name>.typeloom-", then the writing
// process's id, "-" and mkstemp's six characters. The process id tells a temporary that a
// crashed program left behind from one another program is still writing.
std::string temporaryPrefix(const std::string& target) {
    return "." + fs::path(target).filename().string() + ".typeloom-";
}

[[noreturn]] void refuse(const std::string& destination, const std::string& why) {
    throw FileError(FileError::Kind::Io, "cannot write " + destination + ": " + why);
}

// The file a save really replaces: the destination itself, or the last file of its chain of
// symbolic links (a relative link counts from its own folder), so that the save updates the
// target and keeps the links.
std::string resolveLinks(const std::string& destination) {
    fs::path path(destination);
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) {
            return path.string();
        }
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            refuse(destination, "its symbolic link cannot be read");
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    refuse(destination, "too many levels of symbolic links");
}

// Refuses to replace what a save must not turn into a regular file (a folder, a device, a pipe,
// a socket), and a read-only file, as editors do. A missing file is fine: it is created.
void checkReplaceable(const std::string& destination, const std::string& target) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) != 0) {
        return;
    }
    if (S_ISDIR(existing.st_mode)) {
        refuse(destination, "it is a folder");
    }
    if (!S_ISREG(existing.st_mode)) {
        refuse(destination, "it is not a regular file (a device, a pipe or a socket)");
    }
    // The permission bits count for the administrator too, who could write anyway.
    if ((existing.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
        refuse(destination, "the file is read-only");
    }
}

// Removes the temporary files of earlier writes to `target` whose program has ended (a crash
// or a kill in the middle of a save); those of a program still running are left alone.
void removeStaleTemporaries(const std::string& target) {
    const std::string prefix = temporaryPrefix(target);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folderOf(target), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const char* first = name.data() + prefix.size();
        const char* last = name.data() + name.size();
        long pid = 0;
        const auto [end, problem] = std::from_chars(first, last, pid);
        if (problem != std::errc() || end == last || *end != '-' || pid <= 0 || pid == ::getpid()) {
            continue;
        }
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            fs::remove(entry.path(), ignored);
        }
    }
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string destination, StaleTemporaries stale)
    : m_destination(std::move(destination)), m_stale(stale) {
    m_target = resolveLinks(m_destination);
    checkReplaceable(m_destination, m_target);
    std::string pattern = folderOf(m_target) + "/" + temporaryPrefix(m_target) +
                          std::to_string(::getpid()) + "-XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        fail("cannot create a temporary file beside it");
    }
    m_tempPath = pattern;
    // mkstemp creates the file readable by the owner only; give it the usual permissions
    // (as a plain create would, subject to the umask) or those of the file it replaces.
    struct stat existing {};
    if (::stat(m_target.c_str(), &existing) == 0) {
        ::fchmod(fd, existing.st_mode & 07777);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    m_file = ::fdopen(fd, "wb");
    if (m_file == nullptr) {
        ::close(fd);
        fail("cannot open the temporary file");
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!m_committed) {
        discard();
    }
}

void AtomicFileWriter::discard() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
    }
}

void AtomicFileWriter::fail(const std::string& what) {
    int err = errno;
    discard();
    m_committed = true;  // nothing left to clean up
    throw FileError(FileError::Kind::Io,
                    "cannot write " + m_destination + ": " + what +
                        (err != 0 ? std::string(" (") + std::strerror(err) + ")" : ""));
}

void AtomicFileWriter::write(std::span<const std::uint8_t> data) {
    if (m_file == nullptr) {
        fail("the file is already closed");
    }
    if (!data.empty() && std::fwrite(data.data(), 1, data.size(), m_file) != data.size()) {
        fail("write failed");
    }
    m_size += data.size();
}

void AtomicFileWriter::write(std::string_view text) {
    write(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                        text.size()));
}

void AtomicFileWriter::startWriteback() {
    if (m_file == nullptr) {
        fail("the file is already closed");
    }
    if (std::fflush(m_file) != 0) {
        fail("write failed");
    }
    // Only a request: commit() flushes to disk whether it was taken up or not.
    static_cast<void>(::sync_file_range(::fileno(m_file), static_cast<off_t>(m_writebackFrom),
                                        static_cast<off_t>(m_size - m_writebackFrom),
                                        SYNC_FILE_RANGE_WRITE));
    m_writebackFrom = m_size;
}

void AtomicFileWriter::overwrite(std::uint64_t offset, std::span<const std::uint8_t> data) {
    if (m_file == nullptr) {
        fail("the file is already closed");
    }
    if (offset > m_size || data.size() > m_size - offset) {
        throw std::logic_error("an overwrite reaches past what was written");
    }
    if (std::fflush(m_file) != 0) {
        fail("write failed");
    }
    const int fd = ::fileno(m_file);
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n =
            ::pwrite(fd, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            fail("write failed");
        }
        done += static_cast<std::size_t>(n);
    }
}

void AtomicFileWriter::commit() {
    if (m_file == nullptr) {
        fail("the file is already closed");
    }
    errno = 0;
    if (std::fflush(m_file) != 0 || ::fsync(::fileno(m_file)) != 0) {
        fail("flushing to disk failed");
    }
    std::FILE* file = m_file;
    m_file = nullptr;
    if (std::fclose(file) != 0) {
        fail("closing failed");
    }
    if (std::rename(m_tempPath.c_str(), m_target.c_str()) != 0) {
        fail("renaming the temporary file failed");
    }
    m_committed = true;
    if (m_stale == StaleTemporaries::Remove) {
        removeStaleTemporaries(m_target);
    }
}

void writeFileAtomically(const std::string& destination, std::span<const std::uint8_t> data,
                         StaleTemporaries stale) {
    AtomicFileWriter writer(destination, stale);
    writer.write(data);
    writer.commit();
}

}  // namespace typeloom
