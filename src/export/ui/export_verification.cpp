#include "export/ui/export_verification.h"

#include <optional>

#include "model/font.h"

namespace typeloom::ui {

verify::VerifyReport verifyWrittenExport(const Font& font,
                                         const exporters::ExportRequest& request) {
    const exporters::FormatInfo* info = exporters::findFormat(static_cast<int>(request.format));
    const std::optional<verify::Layout> layout =
        info != nullptr ? verify::layoutOfName(info->shortName) : std::nullopt;
    verify::DecodeOptions options;
    options.dataWord = font.dataFormat;
    options.hexStartAddress = request.hex.startAddress;
    return verify::verifyExport(font, request.path, layout, options);
}

FileCheck fileCheckOf(const verify::VerifyReport& report) {
    return {report.ok, QString::fromStdString(report.text())};
}

}  // namespace typeloom::ui
