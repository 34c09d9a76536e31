#include "export/ui/export_finished_dialog.h"

#include <QFile>

#include "export/ui/export_verification.h"

namespace typeloom::ui {

ExportFinishedDialog::ExportFinishedDialog(const Font& font,
                                           const exporters::ExportRequest& request, QWidget* parent)
    : FileWrittenDialog(
          QStringLiteral("has exported bitmap data to a file."),
          QFile::decodeName(QByteArray::fromStdString(request.path)),
          [&font, request] { return fileCheckOf(verifyWrittenExport(font, request)); }, parent) {}

}  // namespace typeloom::ui
