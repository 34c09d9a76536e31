#include "common/settings_store.h"

#include <charconv>

namespace typeloom {

namespace {

std::string keyOf(std::string_view section, std::string_view key) {
    std::string k(section);
    k += '/';
    k += key;
    return k;
}

}  // namespace

std::optional<std::int64_t> MemorySettingsStore::readInteger(std::string_view section,
                                                             std::string_view key) const {
    auto it = m_values.find(keyOf(section, key));
    if (it == m_values.end()) {
        return std::nullopt;
    }
    std::int64_t v = 0;
    const std::string& s = it->second;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) {
        return std::nullopt;
    }
    return v;
}

std::optional<std::string> MemorySettingsStore::readString(std::string_view section,
                                                           std::string_view key) const {
    auto it = m_values.find(keyOf(section, key));
    if (it == m_values.end()) {
        return std::nullopt;
    }
    return it->second;
}

void MemorySettingsStore::writeInteger(std::string_view section, std::string_view key,
                                       std::int64_t value) {
    m_values[keyOf(section, key)] = std::to_string(value);
    ++m_writes;
}

void MemorySettingsStore::writeString(std::string_view section, std::string_view key,
                                      std::string_view value) {
    m_values[keyOf(section, key)] = std::string(value);
    ++m_writes;
}

}  // namespace typeloom
