#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace typeloom {

// The four Unicode -> double-byte code tables (Shift_JIS, Big5, GBK, Hangul): 65,536 entries
// each, indexed by Unicode value, holding the encoding's code for the character (lead byte in
// the high byte; a single-byte code as itself) or 0xFFFF when the encoding has none.
//
// They are generated from ICU at build time into the data file "typeloom-dbcs.dat" that is
// installed beside the programs, and read once at start.
//
// Data file layout (little-endian): "TLDB", u16 version 1, u16 table count 4; per table a
// u16 code page (932, 950, 936, 949 in that order) and 65,536 u16 entries; last a u32
// CRC-32 of everything before it.
class DbcsTables {
  public:
    static constexpr std::size_t kEntries = 0x10000;
    static constexpr std::uint16_t kNone = 0xFFFF;
    static constexpr const char* kFileName = "typeloom-dbcs.dat";

    // Table of a double-byte encoding (2..5); an empty span for any other encoding or when the
    // tables are not loaded.
    std::span<const std::uint16_t> table(int encoding) const;
    bool loaded() const { return !m_tables[0].empty(); }

    // Reads and checks the data file; on failure returns a message for the user and leaves the
    // tables as they were.
    std::optional<std::string> load(const std::string& path);

    // Serialises tables given in the order Shift_JIS, Big5, GBK, Hangul (used by the build-time
    // generator and by tests).
    static std::vector<std::uint8_t> serialize(
        const std::array<std::vector<std::uint16_t>, 4>& tables);

    // The tables the whole program uses; loaded at start by loadProgramDbcsTables.
    static const DbcsTables& program();

  private:
    friend std::optional<std::string> loadProgramDbcsTables(const std::string& path);
    std::array<std::vector<std::uint16_t>, 4> m_tables;
};

// Where the data file is looked for: the TYPELOOM_DATA_DIR folder when that variable is set,
// else the running program's own folder.
std::string defaultDbcsTablesPath();

// Loads the program-wide tables from `path` (defaultDbcsTablesPath() when empty). Returns a
// message when the file is missing or damaged; programs then end with exit status 1.
std::optional<std::string> loadProgramDbcsTables(const std::string& path = {});

std::uint32_t crc32(std::span<const std::uint8_t> data);

}  // namespace typeloom
