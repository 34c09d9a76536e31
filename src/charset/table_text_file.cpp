#include "charset/table_text_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "charset/character_table.h"
#include "charset/encodings.h"
#include "common/atomic_file.h"
#include "common/bulk_data.h"
#include "common/file_error.h"
#include "common/text.h"

namespace typeloom {

std::vector<std::uint8_t> tableTextBytes(const CharacterTable& table) {
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    table.editing.forEach([&](std::uint16_t, CodeEntry e) {
        if (e.enabled) {
            bytes.push_back(static_cast<std::uint8_t>(e.unicode));
            bytes.push_back(static_cast<std::uint8_t>(e.unicode >> 8));
        }
    });
    return bytes;
}

std::string saveTableText(const CharacterTable& table, const std::string& path) {
    try {
        writeFileAtomically(path, tableTextBytes(table));
    } catch (const FileError&) {
        return kFailedToSaveDocument;
    }
    return {};
}

bool looksLikeUtf16(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2) {
        return false;
    }
    if (std::find(bytes.begin(), bytes.end(), std::uint8_t{0}) != bytes.end()) {
        return true;
    }
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        if (bytes[i + 1] == 0xFF && (bytes[i] == 0xFE || bytes[i] == 0xFF)) {
            return true;
        }
    }
    return false;
}

std::u16string decodeTableText(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    bool bom = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    if (bom || looksLikeUtf16(bytes)) {
        std::size_t start = bom ? 2 : 0;
        text.reserve((bytes.size() - start) / 2);
        for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        }
        return text;
    }
    auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return ansiToUtf16(bytes.first(static_cast<std::size_t>(end - bytes.begin())));
}

namespace {

// One bit for each of the 65,536 UTF-16 values.
class CharacterBits {
  public:
    bool test(std::uint16_t u) const { return ((m_words[u >> 6] >> (u & 63)) & 1u) != 0; }
    void set(std::uint16_t u) { m_words[u >> 6] |= std::uint64_t{1} << (u & 63); }

  private:
    std::array<std::uint64_t, 0x10000 / 64> m_words{};
};

// Enables, for each wanted character, the lowest candidate code (up to `last`) standing for it
// and disables every other entry; appends the codes whose flag changed to `changed`, in
// ascending order. Returns false when a wanted character has no candidate code. One walk of
// the map in ascending code order: the first candidate met for a character is its lowest.
TYPELOOM_BULK_DATA bool enableWanted(CodeMap& map, std::uint16_t last, std::u16string_view wanted,
                                     std::vector<std::uint16_t>& changed) {
    CharacterBits isWanted;
    for (char16_t u : wanted) {
        isWanted.set(u);
    }
    CharacterBits found;
    map.forEach([&](std::uint16_t code, CodeEntry e) {
        const bool enable = code <= last && isWanted.test(e.unicode) && !found.test(e.unicode);
        if (enable) {
            found.set(e.unicode);
        }
        if (enable != e.enabled) {
            map.setEnabled(code, enable);
            changed.push_back(code);
        }
    });
    return std::all_of(wanted.begin(), wanted.end(), [&](char16_t u) { return found.test(u); });
}

}  // namespace

TableTextLoadResult applyTableText(CharacterTable& table, std::span<const std::uint8_t> bytes) {
    TableTextLoadResult result;
    if (bytes.empty()) {
        result.status = TableTextLoadResult::Status::Empty;
        return result;
    }
    const std::u16string text = decodeTableText(bytes);
    CodeMap& map = table.editing;
    result.someUnmapped = !enableWanted(map, codeSpaceLast(map.encoding), text, result.changed);
    if (result.someUnmapped) {
        result.message = kSomeCharactersUnmapped;
    }
    return result;
}

TableTextLoadResult loadTableText(CharacterTable& table, const std::string& path) {
    TableTextLoadResult failed;
    failed.status = TableTextLoadResult::Status::Failed;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        failed.message = kTableFileOpenFailed;
        return failed;
    }
    std::vector<std::uint8_t> bytes;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) {
        failed.message = kTableFileMapFailed;
        return failed;
    }
    long size = std::ftell(file.get());
    if (size < 0 || static_cast<std::uint64_t>(size) > kMaxTableTextBytes ||
        std::fseek(file.get(), 0, SEEK_SET) != 0) {
        failed.message = kTableFileMapFailed;
        return failed;
    }
    bytes.resize(static_cast<std::size_t>(size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        failed.message = kTableFileViewFailed;
        return failed;
    }
    return applyTableText(table, bytes);
}

}  // namespace typeloom
