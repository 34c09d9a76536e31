#pragma once

// Hand assembly of project file bytes for the tests, written from the file layout so that the
// reader is checked against an independent picture of the format.

#include <cstdint>
#include <string>
#include <vector>

namespace typeloom::test {

class Bytes {
  public:
    Bytes& u8(std::uint8_t v) {
        m_b.push_back(v);
        return *this;
    }
    Bytes& u16(std::uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
    Bytes& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& text(const std::string& s) {
        for (char c : s) {
            u8(static_cast<std::uint8_t>(c));
        }
        return *this;
    }
    // A Unicode string of ASCII characters: FF, FFFE marker, one-byte length, UTF-16 units.
    Bytes& ustr(const std::string& s) {
        u8(0xFF).u16(0xFFFE).u8(static_cast<std::uint8_t>(s.size()));
        for (char c : s) {
            u16(static_cast<std::uint8_t>(c));
        }
        return *this;
    }
    // A LOGFONT record: five i32, eight bytes, face name.
    Bytes& logFont(std::int32_t height, const std::string& face, std::uint8_t charSet = 0) {
        u32(static_cast<std::uint32_t>(height)).u32(0).u32(0).u32(0).u32(0);
        u8(0).u8(0).u8(0).u8(charSet).u8(0).u8(0).u8(0).u8(0);
        return ustr(face);
    }
    Bytes& header(const std::string& magic, std::uint16_t version, std::uint16_t sub,
                  std::uint32_t high = 0) {
        return text(magic).u16(version).u16(sub).u32(high).u32(0);
    }
    // A glyph record: code, width, pixel count (u16), pixels.
    Bytes& glyph(std::uint16_t code, std::uint16_t width, const std::vector<std::uint8_t>& px) {
        u16(code).u16(width).u16(static_cast<std::uint16_t>(px.size()));
        m_b.insert(m_b.end(), px.begin(), px.end());
        return *this;
    }
    Bytes& words(const std::vector<std::uint16_t>& list) {
        u16(static_cast<std::uint16_t>(list.size()));
        for (std::uint16_t v : list) {
            u16(v);
        }
        return *this;
    }

    const std::vector<std::uint8_t>& bytes() const { return m_b; }
    std::size_t size() const { return m_b.size(); }

  private:
    std::vector<std::uint8_t> m_b;
};

}  // namespace typeloom::test
