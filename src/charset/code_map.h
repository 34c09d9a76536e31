#pragma once

#include <cstdint>
#include <vector>

#include "common/bulk_data.h"

namespace typeloom {

// One table entry packed the way project files store it: bits 16-31 the Unicode value,
// bits 8-15 the mapped flag (0 or 1), bits 0-7 the enabled flag (0 or 1).
struct CodeEntry {
    std::uint16_t unicode = 0;
    bool mapped = false;
    bool enabled = false;

    std::uint32_t packed() const {
        return (std::uint32_t{unicode} << 16) | (std::uint32_t{mapped} << 8) |
               std::uint32_t{enabled};
    }
    static CodeEntry unpack(std::uint32_t v) {
        return {static_cast<std::uint16_t>(v >> 16), ((v >> 8) & 0xFF) != 0, (v & 0xFF) != 0};
    }
    // True when the flags are 0 or 1 as a written entry has them.
    static bool isWellFormed(std::uint32_t v) { return ((v >> 8) & 0xFF) <= 1 && (v & 0xFF) <= 1; }

    friend bool operator==(const CodeEntry&, const CodeEntry&) = default;
};

// Map from 16-bit code to entry, with the map's encoding and code page.
//
// Codes are 16-bit, so the map is a direct table of 65,536 packed entries (allocated on first
// use) with a marker for "no entry": lookups are one index, copies one block move, and
// enumeration runs in ascending code order.
class CodeMap {
  public:
    int encoding = 0;
    int codePage = 0;

    bool contains(std::uint16_t code) const {
        return !m_entries.empty() && m_entries[code] != kNoEntry;
    }
    // The entry of a code; a default (all zero) entry when the code has none.
    CodeEntry get(std::uint16_t code) const {
        return contains(code) ? CodeEntry::unpack(m_entries[code]) : CodeEntry{};
    }
    std::uint32_t packed(std::uint16_t code) const { return m_entries[code]; }
    void set(std::uint16_t code, CodeEntry entry) { setPacked(code, entry.packed()); }
    void setPacked(std::uint16_t code, std::uint32_t packed);
    void setEnabled(std::uint16_t code, bool enabled);
    void clear();
    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }

    // Calls f(code, entry) for every code that has an entry, in ascending code order.
    template <typename F>
    TYPELOOM_BULK_DATA void forEach(F&& f) const {
        if (m_entries.empty()) {
            return;
        }
        for (std::uint32_t c = 0; c < kCodes; ++c) {
            if (m_entries[c] != kNoEntry) {
                f(static_cast<std::uint16_t>(c), CodeEntry::unpack(m_entries[c]));
            }
        }
    }

    // Same entries, encoding and code page.
    friend bool operator==(const CodeMap& a, const CodeMap& b);

  private:
    static constexpr std::uint32_t kCodes = 0x10000;
    // Never a written entry: its mapped byte would be 0xFF.
    static constexpr std::uint32_t kNoEntry = 0xFFFFFFFFu;

    std::vector<std::uint32_t> m_entries;
    std::size_t m_count = 0;
};

}  // namespace typeloom
