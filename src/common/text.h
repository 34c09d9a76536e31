#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace typeloom {

// UTF-8 <-> UTF-16 conversions used at file boundaries. Invalid input (a lone surrogate, a
// broken UTF-8 sequence) becomes U+FFFD rather than failing: names in files are shown, not
// trusted.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

// Strict UTF-8 for text files a command reads (firmware strings): the code points of `bytes`,
// or, at the first byte that does not begin or continue a valid sequence (an overlong form, a
// surrogate, a value above U+10FFFF, a cut-off sequence), nullopt with its offset in
// `badOffset`. A byte order mark at the start is skipped.
std::optional<std::u32string> decodeUtf8Strict(std::span<const std::uint8_t> bytes,
                                               std::size_t& badOffset);
// One code point as UTF-8.
std::string utf8Of(char32_t c);

// Windows-1252, the "ANSI" code page every generated text file uses. Bytes 0x81, 0x8D, 0x8F,
// 0x90 and 0x9D, which the code page leaves undefined, decode to the C1 controls of the same
// value, as Windows decodes them.
char16_t ansiToUnicode(std::uint8_t byte);
// The byte for a UTF-16 unit, or '?' when windows-1252 has no such character.
std::uint8_t unicodeToAnsi(char16_t unit);
std::u16string ansiToUtf16(std::span<const std::uint8_t> bytes);

// Accumulates generated text in windows-1252 with CR LF line ends. Text is given as UTF-8;
// every '\n' becomes CR LF and a character the code page lacks is written as '?'.
class AnsiTextSink {
  public:
    AnsiTextSink& operator<<(std::string_view utf8);
    AnsiTextSink& operator<<(char c) { return *this << std::string_view(&c, 1); }
    void line(std::string_view utf8 = {});
    // Appends bytes as they are (binary data sharing the buffer).
    void appendRaw(std::string_view bytes) { m_bytes.append(bytes); }

    const std::string& bytes() const { return m_bytes; }
    std::string take() { return std::move(m_bytes); }
    void clear() { m_bytes.clear(); }

  private:
    std::string m_bytes;
};

}  // namespace typeloom
