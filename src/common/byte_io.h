#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/bulk_data.h"
#include "common/file_error.h"

namespace typeloom {

// Little-endian reader over a byte buffer. Every read checks the remaining size first and
// throws FileError(EndOfFile) with the offset instead of reading past the end, so that a
// truncated or hostile file can never make a reader run off its buffer.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> data) : m_data(data) {}

    std::size_t offset() const { return m_pos; }
    std::size_t size() const { return m_data.size(); }
    std::size_t remaining() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos == m_data.size(); }

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    std::int32_t i32();
    // Returns a view of the next n bytes and moves past them.
    std::span<const std::uint8_t> bytes(std::size_t n);
    void skip(std::size_t n);
    void seek(std::size_t offset);

    // Throws unless n more items of itemSize bytes each can still be in the buffer. Readers
    // call this before allocating room for a count taken from the file.
    void requireItems(std::uint64_t n, std::size_t itemSize, const char* what) const;

    [[noreturn]] void fail(const std::string& message) const;

  private:
    void need(std::size_t n) const;

    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
};

// Little-endian writer appending to a growing byte buffer.
class ByteWriter {
  public:
    TYPELOOM_BULK_DATA void u8(std::uint8_t v) { m_bytes.push_back(v); }
    TYPELOOM_BULK_DATA void u16(std::uint16_t v);
    TYPELOOM_BULK_DATA void u32(std::uint32_t v);
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void bytes(std::span<const std::uint8_t> data);
    void zeros(std::size_t n) { m_bytes.resize(m_bytes.size() + n, 0); }
    void reserve(std::size_t n) { m_bytes.reserve(n); }

    std::size_t size() const { return m_bytes.size(); }
    const std::vector<std::uint8_t>& data() const { return m_bytes; }
    std::vector<std::uint8_t>& data() { return m_bytes; }
    std::vector<std::uint8_t> take() { return std::move(m_bytes); }

    // Overwrites a u16/u32 written earlier (headers whose values are known only at the end).
    void patchU16(std::size_t offset, std::uint16_t v);
    void patchU32(std::size_t offset, std::uint32_t v);

  private:
    std::vector<std::uint8_t> m_bytes;
};

// Reads a whole file. Throws FileError(Io) when the file cannot be opened or read; refuses
// files larger than maxBytes so that a mistaken path to a huge file cannot exhaust memory.
std::vector<std::uint8_t> readWholeFile(const std::string& path,
                                        std::uint64_t maxBytes = std::uint64_t{1} << 31);

}  // namespace typeloom
