#pragma once

#include <array>
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
// The 65,536 codes are cut into 256 pages of 256 packed entries, with a marker for "no
// entry"; a page's entries are allocated (in one pool) with its first entry, so a table of a
// few hundred codes holds a few pages, not all 65,536. Lookups are two indexes, copies two
// block moves, and enumeration runs in ascending code order.
class CodeMap {
  public:
    int encoding = 0;
    int codePage = 0;

    CodeMap() = default;
    CodeMap(const CodeMap&) = default;
    CodeMap& operator=(const CodeMap&) = default;
    CodeMap(CodeMap&& other) noexcept;
    CodeMap& operator=(CodeMap&& other) noexcept;
    ~CodeMap() = default;

    bool contains(std::uint16_t code) const { return packed(code) != kNoEntry; }
    // The entry of a code; a default (all zero) entry when the code has none.
    CodeEntry get(std::uint16_t code) const {
        const std::uint32_t v = packed(code);
        return v != kNoEntry ? CodeEntry::unpack(v) : CodeEntry{};
    }
    // The packed entry of a code, kNoEntry when it has none.
    std::uint32_t packed(std::uint16_t code) const {
        const std::uint16_t page = m_pageAt[code / kPageSize];
        return page == kNoPage ? kNoEntry : m_entries[page * kPageSize + code % kPageSize];
    }
    void set(std::uint16_t code, CodeEntry entry) { setPacked(code, entry.packed()); }
    void setPacked(std::uint16_t code, std::uint32_t packed);
    // Gives every one of the 65,536 codes the entry of its own value, unmapped and disabled,
    // replacing whatever the map held.
    void setEveryCodeToItself();
    void setEnabled(std::uint16_t code, bool enabled);
    void clear();
    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }

    // Calls f(code, entry) for every code that has an entry, in ascending code order.
    template <typename F>
    TYPELOOM_BULK_DATA void forEach(F&& f) const {
        forEachPacked([&](std::uint16_t code, std::uint32_t v) { f(code, CodeEntry::unpack(v)); });
    }
    // The same with the entries packed.
    template <typename F>
    TYPELOOM_BULK_DATA void forEachPacked(F&& f) const {
        if (m_count == 0) {
            return;
        }
        for (std::uint32_t p = 0; p < kPages; ++p) {
            if (m_pageAt[p] == kNoPage) {
                continue;
            }
            const std::uint32_t* page = m_entries.data() + std::size_t{m_pageAt[p]} * kPageSize;
            for (std::uint32_t i = 0; i < kPageSize; ++i) {
                if (page[i] != kNoEntry) {
                    f(static_cast<std::uint16_t>(p * kPageSize + i), page[i]);
                }
            }
        }
    }

    // Same entries, encoding and code page.
    friend bool operator==(const CodeMap& a, const CodeMap& b);

    // Never a written entry: its mapped byte would be 0xFF.
    static constexpr std::uint32_t kNoEntry = 0xFFFFFFFFu;

  private:
    static constexpr std::uint32_t kPageSize = 0x100;
    static constexpr std::uint32_t kPages = 0x10000 / kPageSize;
    // The number of a page that has no entries yet.
    static constexpr std::uint16_t kNoPage = 0xFFFF;

    static constexpr std::array<std::uint16_t, kPages> noPages() {
        std::array<std::uint16_t, kPages> pages{};
        pages.fill(kNoPage);
        return pages;
    }

    // For each page of 256 codes, where its entries lie in m_entries: page number n holds
    // entries n * 256 to n * 256 + 255. Pages are numbered in the order they were first used.
    std::array<std::uint16_t, kPages> m_pageAt = noPages();
    std::vector<std::uint32_t> m_entries;
    std::size_t m_count = 0;
};

}  // namespace typeloom
