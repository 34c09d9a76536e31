#pragma once

#include "export/export_driver.h"
#include "verify/verify_export.h"

class QLabel;
class QPlainTextEdit;
class QWidget;

namespace typeloom {
class Font;
}

namespace typeloom::ui {

// Reads the file an export has just written back with the decoders of its layout and
// compares it with the font: the data-format word is the font's, the HEX start address the
// one the export used.
verify::VerifyReport verifyWrittenExport(const Font& font, const exporters::ExportRequest& request);

// Shows what verify found: the first line ("Verified N characters of FILE (...)" or why it
// failed) in `state`, and for a failure the rest of the report, the differing characters
// with their pictures side by side, in `details`, which stays hidden after a success.
void showVerifyReport(const verify::VerifyReport& report, QLabel* state, QPlainTextEdit* details);

// The read-only field, in a fixed-pitch font so that the pictures line up, that
// showVerifyReport fills; hidden until a verify fails.
QPlainTextEdit* makeVerifyReportField(QWidget* parent);

}  // namespace typeloom::ui
