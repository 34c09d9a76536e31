#pragma once

#include <QDialog>

#include "export/export_driver.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace typeloom {
class Font;
}

namespace typeloom::ui {

// The window an export that ran without the "Exporting..." window ends in: it says which
// file was written and offers "Verify", which reads that file back and compares it with the
// font (the first line of the result in the window, the differing characters with their
// pictures below it), and "OK", which closes it.
//
// Object names: labelProduct, labelExported, labelFile, labelState, textVerifyReport,
// buttonVerify, buttonOk.
class ExportFinishedDialog : public QDialog {
    Q_OBJECT

  public:
    ExportFinishedDialog(const Font& font, exporters::ExportRequest request,
                         QWidget* parent = nullptr);

    // What "Verify" found: empty before it was pressed.
    const QString& verifyText() const { return m_verifyText; }

  private:
    void verifyFile();

    const Font& m_font;
    exporters::ExportRequest m_request;
    QString m_verifyText;
    QLabel* m_stateText;
    QPlainTextEdit* m_report;
};

}  // namespace typeloom::ui
