#include "charset/code_map.h"

namespace typeloom {

TYPELOOM_BULK_DATA void CodeMap::setPacked(std::uint16_t code, std::uint32_t packed) {
    if (m_entries.empty()) {
        m_entries.assign(kCodes, kNoEntry);
    }
    if (m_entries[code] == kNoEntry) {
        ++m_count;
    }
    m_entries[code] = packed;
}

TYPELOOM_BULK_DATA void CodeMap::setEnabled(std::uint16_t code, bool enabled) {
    if (!contains(code)) {
        return;
    }
    m_entries[code] = (m_entries[code] & ~0xFFu) | (enabled ? 1u : 0u);
}

void CodeMap::clear() {
    if (m_count != 0) {
        m_entries.assign(kCodes, kNoEntry);
    }
    m_count = 0;
}

TYPELOOM_BULK_DATA bool operator==(const CodeMap& a, const CodeMap& b) {
    if (a.encoding != b.encoding || a.codePage != b.codePage || a.m_count != b.m_count) {
        return false;
    }
    if (a.m_count == 0) {
        return true;
    }
    return a.m_entries == b.m_entries;
}

}  // namespace typeloom
