#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/text.h"

namespace typeloom {
class AtomicFileWriter;
}

namespace typeloom::exporters {

// Where a writer's output goes: text is converted to windows-1252 with CR LF line ends
// ('\n' in the text), binary data is written as it is. Output is buffered and passed on to
// the file in blocks of about 256 KiB (few system calls, and memory does not grow with the
// file); without a file it is kept in memory (the character data panel, tests).
class ExportStream {
  public:
    explicit ExportStream(AtomicFileWriter* file = nullptr) : m_file(file) {}
    ~ExportStream() = default;
    ExportStream(const ExportStream&) = delete;
    ExportStream& operator=(const ExportStream&) = delete;

    ExportStream& operator<<(std::string_view utf8) {
        m_text << utf8;
        spill();
        return *this;
    }
    // Writes the text and a line end.
    void line(std::string_view utf8 = {}) {
        m_text.line(utf8);
        spill();
    }
    void bytes(std::span<const std::uint8_t> data);
    void u8(std::uint8_t v);
    void u16(std::uint16_t v);
    void u32(std::uint32_t v);

    // Passes everything buffered on to the file.
    void flush();
    // Bytes written so far (in memory mode: all of the output).
    std::uint64_t size() const { return m_written + m_text.bytes().size(); }
    // The output of a stream without file.
    const std::string& contents() const { return m_text.bytes(); }

  private:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 18;

    void spill() {
        if (m_file != nullptr && m_text.bytes().size() >= kBlockSize) {
            flush();
        }
    }

    AtomicFileWriter* m_file;
    AnsiTextSink m_text;  // the buffer: text and binary data alike
    std::uint64_t m_written = 0;
};

}  // namespace typeloom::exporters
