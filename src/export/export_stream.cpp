#include "export/export_stream.h"

#include "common/atomic_file.h"

namespace typeloom::exporters {

void ExportStream::bytes(std::span<const std::uint8_t> data) {
    m_text.appendRaw(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    spill();
}

void ExportStream::u8(std::uint8_t v) {
    bytes(std::span<const std::uint8_t>(&v, 1));
}

void ExportStream::u16(std::uint16_t v) {
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    bytes(b);
}

void ExportStream::u32(std::uint32_t v) {
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16),
                               static_cast<std::uint8_t>(v >> 24)};
    bytes(b);
}

void ExportStream::flush() {
    if (m_file == nullptr || m_text.bytes().empty()) {
        return;
    }
    m_file->write(m_text.bytes());
    m_written += m_text.bytes().size();
    m_text.clear();
}

}  // namespace typeloom::exporters
