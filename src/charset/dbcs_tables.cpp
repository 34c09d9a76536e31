#include "charset/dbcs_tables.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "charset/encodings.h"
#include "common/byte_io.h"

namespace typeloom {

namespace {

constexpr std::array<std::uint16_t, 4> kCodePages = {932, 950, 936, 949};
constexpr std::uint16_t kVersion = 1;

DbcsTables& programTables() {
    static DbcsTables tables;
    return tables;
}

}  // namespace

std::uint32_t crc32(std::span<const std::uint8_t> data) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t b : data) {
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

std::span<const std::uint16_t> DbcsTables::table(int encoding) const {
    if (!isDoubleByteEncoding(encoding)) {
        return {};
    }
    // Encodings 2..5 are Shift_JIS, Big5, GBK, Hangul: the file's order.
    return m_tables[static_cast<std::size_t>(encoding - kEncodingShiftJis)];
}

std::vector<std::uint8_t> DbcsTables::serialize(
    const std::array<std::vector<std::uint16_t>, 4>& tables) {
    ByteWriter w;
    w.reserve(8 + 4 * (2 + 2 * kEntries) + 4);
    w.bytes(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>("TLDB"), 4));
    w.u16(kVersion);
    w.u16(4);
    for (std::size_t t = 0; t < 4; ++t) {
        w.u16(kCodePages[t]);
        for (std::size_t i = 0; i < kEntries; ++i) {
            w.u16(i < tables[t].size() ? tables[t][i] : kNone);
        }
    }
    w.u32(crc32(w.data()));
    return w.take();
}

std::optional<std::string> DbcsTables::load(const std::string& path) {
    const std::string problem = "The double-byte code table file " + path;
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readWholeFile(path, 4u << 20);
    } catch (const FileError&) {
        return problem + " is missing or cannot be read. Reinstall Typeloom Studio.";
    }
    constexpr std::size_t kExpected = 8 + 4 * (2 + 2 * kEntries) + 4;
    if (bytes.size() != kExpected || bytes[0] != 'T' || bytes[1] != 'L' || bytes[2] != 'D' ||
        bytes[3] != 'B') {
        return problem + " is damaged. Reinstall Typeloom Studio.";
    }
    ByteReader r(bytes);
    r.skip(4);
    std::uint16_t version = r.u16();
    std::uint16_t count = r.u16();
    std::uint32_t stored = ByteReader(std::span(bytes).subspan(kExpected - 4)).u32();
    if (version != kVersion || count != 4 ||
        stored != crc32(std::span(bytes).first(kExpected - 4))) {
        return problem + " is damaged. Reinstall Typeloom Studio.";
    }
    std::array<std::vector<std::uint16_t>, 4> tables;
    for (std::size_t t = 0; t < 4; ++t) {
        if (r.u16() != kCodePages[t]) {
            return problem + " is damaged. Reinstall Typeloom Studio.";
        }
        tables[t].resize(kEntries);
        for (std::size_t i = 0; i < kEntries; ++i) {
            tables[t][i] = r.u16();
        }
    }
    m_tables = std::move(tables);
    return std::nullopt;
}

const DbcsTables& DbcsTables::program() {
    return programTables();
}

std::string defaultDbcsTablesPath() {
    if (const char* dir = std::getenv("TYPELOOM_DATA_DIR"); dir != nullptr && *dir != '\0') {
        return (std::filesystem::path(dir) / DbcsTables::kFileName).string();
    }
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return DbcsTables::kFileName;
    }
    return (exe.parent_path() / DbcsTables::kFileName).string();
}

std::optional<std::string> loadProgramDbcsTables(const std::string& path) {
    return programTables().load(path.empty() ? defaultDbcsTablesPath() : path);
}

}  // namespace typeloom
