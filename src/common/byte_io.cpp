#include "common/byte_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace typeloom {

void ByteReader::need(std::size_t n) const {
    if (n > remaining()) {
        throw FileError(FileError::Kind::EndOfFile,
                        "unexpected end of file (" + std::to_string(n) + " bytes needed, " +
                            std::to_string(remaining()) + " left)",
                        m_pos);
    }
}

void ByteReader::fail(const std::string& message) const {
    throw FileError(FileError::Kind::BadFormat, message, m_pos);
}

void ByteReader::requireItems(std::uint64_t n, std::size_t itemSize, const char* what) const {
    if (itemSize != 0 && n > remaining() / itemSize) {
        throw FileError(FileError::Kind::EndOfFile,
                        std::string(what) + ": count " + std::to_string(n) +
                            " is larger than the rest of the file",
                        m_pos);
    }
}

std::uint8_t ByteReader::u8() {
    need(1);
    return m_data[m_pos++];
}

std::uint16_t ByteReader::u16() {
    need(2);
    std::uint16_t v = static_cast<std::uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return v;
}

std::uint32_t ByteReader::u32() {
    need(4);
    std::uint32_t v = std::uint32_t{m_data[m_pos]} | (std::uint32_t{m_data[m_pos + 1]} << 8) |
                      (std::uint32_t{m_data[m_pos + 2]} << 16) |
                      (std::uint32_t{m_data[m_pos + 3]} << 24);
    m_pos += 4;
    return v;
}

std::int32_t ByteReader::i32() {
    return static_cast<std::int32_t>(u32());
}

std::span<const std::uint8_t> ByteReader::bytes(std::size_t n) {
    need(n);
    auto view = m_data.subspan(m_pos, n);
    m_pos += n;
    return view;
}

void ByteReader::skip(std::size_t n) {
    need(n);
    m_pos += n;
}

void ByteReader::seek(std::size_t offset) {
    if (offset > m_data.size()) {
        throw FileError(FileError::Kind::EndOfFile,
                        "offset " + std::to_string(offset) + " lies beyond the end of the file",
                        m_pos);
    }
    m_pos = offset;
}

TYPELOOM_BULK_DATA void ByteWriter::u16(std::uint16_t v) {
    m_bytes.push_back(static_cast<std::uint8_t>(v));
    m_bytes.push_back(static_cast<std::uint8_t>(v >> 8));
}

TYPELOOM_BULK_DATA void ByteWriter::u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

void ByteWriter::bytes(std::span<const std::uint8_t> data) {
    m_bytes.insert(m_bytes.end(), data.begin(), data.end());
}

void ByteWriter::patchU16(std::size_t offset, std::uint16_t v) {
    m_bytes.at(offset) = static_cast<std::uint8_t>(v);
    m_bytes.at(offset + 1) = static_cast<std::uint8_t>(v >> 8);
}

void ByteWriter::patchU32(std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        m_bytes.at(offset + i) = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

std::vector<std::uint8_t> readWholeFile(const std::string& path, std::uint64_t maxBytes) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        throw FileError(FileError::Kind::Io, "cannot open " + path + ": " + std::strerror(errno));
    }
    std::vector<std::uint8_t> bytes;
    // Room for the whole file up front (at most maxBytes), so that a large file is not copied
    // from buffer to buffer while it grows; the reads below still decide the size.
    std::error_code sizeError;
    const std::uintmax_t expected = std::filesystem::file_size(path, sizeError);
    if (!sizeError) {
        bytes.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(expected, maxBytes)));
    }
    std::uint8_t chunk[65536];
    for (;;) {
        std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        if (got > 0) {
            if (bytes.size() + got > maxBytes) {
                throw FileError(FileError::Kind::Io, path + " is too large to be read");
            }
            bytes.insert(bytes.end(), chunk, chunk + got);
        }
        if (got < sizeof chunk) {
            if (std::ferror(file.get())) {
                throw FileError(FileError::Kind::Io,
                                "cannot read " + path + ": " + std::strerror(errno));
            }
            break;
        }
    }
    return bytes;
}

}  // namespace typeloom
