#include "common/ini_settings_store.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/atomic_file.h"

namespace typeloom {

namespace {

// QSettings writes a key's spaces and other special characters as %XX.
std::string unescapeKey(const std::string& key) {
    std::string out;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (key[i] == '%' && i + 2 < key.size()) {
            unsigned value = 0;
            auto [end, ec] = std::from_chars(key.data() + i + 1, key.data() + i + 3, value, 16);
            if (ec == std::errc() && end == key.data() + i + 3) {
                out.push_back(static_cast<char>(value));
                i += 2;
                continue;
            }
        }
        out.push_back(key[i]);
    }
    return out;
}

std::string escapeKey(const std::string& key) {
    std::string out;
    for (char c : key) {
        if (c == ' ' || c == '=' || c == '%' || c == ';' || c == '#') {
            char buffer[4];
            std::snprintf(buffer, sizeof buffer, "%%%02X", static_cast<unsigned char>(c));
            out += buffer;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string trim(const std::string& s) {
    std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) {
        return {};
    }
    std::size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

// Values may be quoted; QSettings quotes strings holding special characters.
std::string unquote(const std::string& v) {
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

}  // namespace

std::string defaultSettingsPath() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        base = std::string(home) + "/.config";
    } else {
        base = ".";
    }
    return base + "/Typeloom/Typeloom Studio.conf";
}

IniSettingsStore::IniSettingsStore(std::string path) : m_path(std::move(path)) {
    std::ifstream in(m_path);
    std::string line;
    std::string section = "General";
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        m_sections[section][unescapeKey(trim(line.substr(0, eq)))] =
            unquote(trim(line.substr(eq + 1)));
    }
}

std::optional<std::int64_t> IniSettingsStore::readInteger(std::string_view section,
                                                          std::string_view key) const {
    auto text = readString(section, key);
    if (!text) {
        return std::nullopt;
    }
    std::int64_t v = 0;
    auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), v);
    if (ec != std::errc() || end != text->data() + text->size()) {
        return std::nullopt;
    }
    return v;
}

std::optional<std::string> IniSettingsStore::readString(std::string_view section,
                                                        std::string_view key) const {
    auto s = m_sections.find(section);
    if (s == m_sections.end()) {
        return std::nullopt;
    }
    auto k = s->second.find(std::string(key));
    if (k == s->second.end()) {
        return std::nullopt;
    }
    return k->second;
}

void IniSettingsStore::writeInteger(std::string_view section, std::string_view key,
                                    std::int64_t value) {
    m_sections[std::string(section)][std::string(key)] = std::to_string(value);
}

void IniSettingsStore::writeString(std::string_view section, std::string_view key,
                                   std::string_view value) {
    m_sections[std::string(section)][std::string(key)] = std::string(value);
}

void IniSettingsStore::save() const {
    std::ostringstream out;
    for (const auto& [section, values] : m_sections) {
        out << "[" << section << "]\n";
        for (const auto& [key, value] : values) {
            out << escapeKey(key) << "=" << value << "\n";
        }
        out << "\n";
    }
    const std::string text = out.str();
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), ec);
    writeFileAtomically(
        m_path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size()));
}

}  // namespace typeloom
