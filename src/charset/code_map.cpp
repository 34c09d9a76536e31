#include "charset/code_map.h"

#include <algorithm>
#include <utility>

namespace typeloom {

// A moved-from map is empty: its page numbers must not outlive the entries that went away.
CodeMap::CodeMap(CodeMap&& other) noexcept
    : encoding(other.encoding),
      codePage(other.codePage),
      m_pageAt(std::exchange(other.m_pageAt, noPages())),
      m_entries(std::move(other.m_entries)),
      m_count(std::exchange(other.m_count, 0)) {
    other.m_entries.clear();
}

CodeMap& CodeMap::operator=(CodeMap&& other) noexcept {
    if (this != &other) {
        encoding = other.encoding;
        codePage = other.codePage;
        m_pageAt = std::exchange(other.m_pageAt, noPages());
        m_entries = std::move(other.m_entries);
        other.m_entries.clear();
        m_count = std::exchange(other.m_count, 0);
    }
    return *this;
}

TYPELOOM_BULK_DATA void CodeMap::setPacked(std::uint16_t code, std::uint32_t packed) {
    std::uint16_t& page = m_pageAt[code / kPageSize];
    if (page == kNoPage) {
        page = static_cast<std::uint16_t>(m_entries.size() / kPageSize);
        m_entries.resize(m_entries.size() + kPageSize, kNoEntry);
    }
    std::uint32_t& entry = m_entries[std::size_t{page} * kPageSize + code % kPageSize];
    if (entry == kNoEntry) {
        ++m_count;
    }
    entry = packed;
}

TYPELOOM_BULK_DATA void CodeMap::setEveryCodeToItself() {
    m_entries.resize(std::size_t{kPages} * kPageSize);
    for (std::uint32_t c = 0; c < kPages * kPageSize; ++c) {
        m_entries[c] = c << 16;
    }
    for (std::uint32_t p = 0; p < kPages; ++p) {
        m_pageAt[p] = static_cast<std::uint16_t>(p);
    }
    m_count = std::size_t{kPages} * kPageSize;
}

void CodeMap::setEnabled(std::uint16_t code, bool enabled) {
    const std::uint16_t page = m_pageAt[code / kPageSize];
    if (page == kNoPage) {
        return;
    }
    std::uint32_t& entry = m_entries[std::size_t{page} * kPageSize + code % kPageSize];
    if (entry != kNoEntry) {
        entry = (entry & ~0xFFu) | (enabled ? 1u : 0u);
    }
}

void CodeMap::clear() {
    m_pageAt = noPages();
    m_entries.clear();
    m_count = 0;
}

TYPELOOM_BULK_DATA bool operator==(const CodeMap& a, const CodeMap& b) {
    if (a.encoding != b.encoding || a.codePage != b.codePage || a.m_count != b.m_count) {
        return false;
    }
    // Page by page; a page one map lacks has no entries, as a page of markers would.
    const auto isBlank = [](const std::uint32_t* page) {
        return std::all_of(page, page + CodeMap::kPageSize,
                           [](std::uint32_t v) { return v == CodeMap::kNoEntry; });
    };
    for (std::uint32_t p = 0; p < CodeMap::kPages; ++p) {
        const std::uint16_t pa = a.m_pageAt[p];
        const std::uint16_t pb = b.m_pageAt[p];
        const std::uint32_t* ea = pa == CodeMap::kNoPage
                                      ? nullptr
                                      : a.m_entries.data() + std::size_t{pa} * CodeMap::kPageSize;
        const std::uint32_t* eb = pb == CodeMap::kNoPage
                                      ? nullptr
                                      : b.m_entries.data() + std::size_t{pb} * CodeMap::kPageSize;
        if (ea == nullptr && eb == nullptr) {
            continue;
        }
        const bool same = ea == nullptr   ? isBlank(eb)
                          : eb == nullptr ? isBlank(ea)
                                          : std::equal(ea, ea + CodeMap::kPageSize, eb);
        if (!same) {
            return false;
        }
    }
    return true;
}

}  // namespace typeloom
