#pragma once

#include "common/ui/file_written_dialog.h"
#include "export/export_driver.h"

namespace typeloom {
class Font;
}

namespace typeloom::ui {

// "Export Finished" after an export of bitmap data that ran without the "Exporting..."
// window: its "Verify" reads the file back with the decoders of the export's layout and
// compares it with the font.
class ExportFinishedDialog : public FileWrittenDialog {
    Q_OBJECT

  public:
    ExportFinishedDialog(const Font& font, const exporters::ExportRequest& request,
                         QWidget* parent = nullptr);
};

}  // namespace typeloom::ui
