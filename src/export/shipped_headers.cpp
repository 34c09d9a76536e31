#include "export/shipped_headers.h"

#include <filesystem>

#include "common/atomic_file.h"
#include "export/shipped_header_texts.h"

namespace typeloom::exporters {

const std::vector<ShippedHeader>& shippedHeaders() {
    static const std::vector<ShippedHeader> headers = {
        {"tlmtype.h", kTlmtypeHeaderText},
        {"tlmfont.h", kTlmfontHeaderText},
    };
    return headers;
}

const ShippedHeader* headerIncludedBy(ExportFormat format) {
    switch (format) {
        case ExportFormat::TableC:
        case ExportFormat::StudioC:
            return &shippedHeaders()[0];
        case ExportFormat::GeneralC:
            return &shippedHeaders()[1];
        default:
            return nullptr;
    }
}

std::string headerTextFor(const ShippedHeader& header, int pages) {
    std::string text(header.text);
    if (std::string_view(header.name) != "tlmfont.h" || (pages & kPageC99Braces) != 0) {
        return text;
    }
    // The switch goes right after the include guard, so that it is set before the record
    // that reads it and whatever the including file defined.
    const std::string guard = "#define TYPELOOM_TLMFONT_H\n";
    const std::size_t at = text.find(guard);
    if (at != std::string::npos) {
        text.insert(at + guard.size(),
                    "/* This copy goes with a file exported without the C99 braces. */\n"
                    "#define TLMFONT_NO_C99_BRACES\n");
    }
    return text;
}

std::string writeHeaderBeside(const std::string& exportPath, ExportFormat format, int pages) {
    const ShippedHeader* header = headerIncludedBy(format);
    if (header == nullptr) {
        return {};
    }
    const std::filesystem::path folder = std::filesystem::path(exportPath).parent_path();
    std::string path = (folder / header->name).string();
    AtomicFileWriter file(path);
    file.write(headerTextFor(*header, pages));
    file.commit();
    return path;
}

}  // namespace typeloom::exporters
