#include "export/ui/export_verification.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
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

void showVerifyReport(const verify::VerifyReport& report, QLabel* state, QPlainTextEdit* details) {
    const QString text = QString::fromStdString(report.text());
    state->setText(text.section(QLatin1Char('\n'), 0, 0));
    if (report.ok) {
        details->clear();
        details->hide();
    } else {
        // The first line stands above the field already.
        details->setPlainText(text.section(QLatin1Char('\n'), 1).trimmed());
        details->show();
    }
}

QPlainTextEdit* makeVerifyReportField(QWidget* parent) {
    auto* field = new QPlainTextEdit(parent);
    field->setObjectName(QStringLiteral("textVerifyReport"));
    field->setReadOnly(true);
    field->setLineWrapMode(QPlainTextEdit::NoWrap);
    field->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    field->setMinimumSize(480, 220);
    field->hide();
    return field;
}

}  // namespace typeloom::ui
