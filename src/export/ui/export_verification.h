#pragma once

#include "common/ui/file_written_dialog.h"
#include "export/export_driver.h"
#include "verify/verify_export.h"

namespace typeloom {
class Font;
}

namespace typeloom::ui {

// Reads the file an export has just written back with the decoders of its layout and
// compares it with the font: the data-format word is the font's, the HEX start address the
// one the export used.
verify::VerifyReport verifyWrittenExport(const Font& font, const exporters::ExportRequest& request);

// The report as the export windows show it.
FileCheck fileCheckOf(const verify::VerifyReport& report);

}  // namespace typeloom::ui
