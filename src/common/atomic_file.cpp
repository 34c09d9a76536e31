#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/file_error.h"

namespace typeloom {

namespace {

std::string folderOf(const std::string& path) {
    std::filesystem::path p(path);
    auto parent = p.parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string destination)
    : m_destination(std::move(destination)) {
    // A folder cannot be replaced by a file: say so rather than what renaming over it reports.
    std::error_code ec;
    if (std::filesystem::is_directory(m_destination, ec)) {
        errno = 0;
        fail("it is a folder");
    }
    std::string pattern = folderOf(m_destination) + "/." +
                          std::filesystem::path(m_destination).filename().string() + ".XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        fail("cannot create a temporary file beside it");
    }
    m_tempPath = pattern;
    // mkstemp creates the file readable by the owner only; give it the usual permissions
    // (as a plain create would, subject to the umask) or those of the file it replaces.
    struct stat existing {};
    if (::stat(m_destination.c_str(), &existing) == 0) {
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
}

void AtomicFileWriter::write(std::string_view text) {
    write(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                        text.size()));
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
    if (std::rename(m_tempPath.c_str(), m_destination.c_str()) != 0) {
        fail("renaming the temporary file failed");
    }
    m_committed = true;
}

void writeFileAtomically(const std::string& destination, std::span<const std::uint8_t> data) {
    AtomicFileWriter writer(destination);
    writer.write(data);
    writer.commit();
}

}  // namespace typeloom
