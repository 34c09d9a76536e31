#include "charset/table_text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "charset/character_table.h"
#include "charset/encodings.h"
#include "common/atomic_file.h"
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

TableTextLoadResult applyTableText(CharacterTable& table, std::span<const std::uint8_t> bytes) {
    TableTextLoadResult result;
    if (bytes.empty()) {
        result.status = TableTextLoadResult::Status::Empty;
        return result;
    }
    std::u16string text = decodeTableText(bytes);
    std::vector<std::uint16_t> wanted(text.begin(), text.end());
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());

    // Lowest candidate code for each Unicode value.
    CodeMap& map = table.editing;
    const std::uint16_t last = codeSpaceLast(map.encoding);
    std::vector<std::int32_t> lowestCode(0x10000, -1);
    std::vector<bool> wasEnabled(std::size_t{last} + 1, false);
    for (std::uint32_t c = 0; c <= last; ++c) {
        auto code = static_cast<std::uint16_t>(c);
        if (!map.contains(code)) {
            continue;
        }
        CodeEntry e = map.get(code);
        wasEnabled[c] = e.enabled;
        if (lowestCode[e.unicode] < 0) {
            lowestCode[e.unicode] = static_cast<std::int32_t>(c);
        }
    }
    std::vector<bool> nowEnabled(std::size_t{last} + 1, false);
    for (std::uint16_t u : wanted) {
        if (lowestCode[u] >= 0) {
            nowEnabled[static_cast<std::size_t>(lowestCode[u])] = true;
        } else {
            result.someUnmapped = true;
        }
    }
    // Entries outside the candidate codes are disabled too.
    map.forEach([&](std::uint16_t code, CodeEntry e) {
        if (code > last && e.enabled) {
            map.setEnabled(code, false);
            result.changed.push_back(code);
        }
    });
    for (std::uint32_t c = 0; c <= last; ++c) {
        if (wasEnabled[c] != nowEnabled[c]) {
            map.setEnabled(static_cast<std::uint16_t>(c), nowEnabled[c]);
            result.changed.push_back(static_cast<std::uint16_t>(c));
        }
    }
    std::sort(result.changed.begin(), result.changed.end());
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
