#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QWidget;

namespace typeloom::ui {

// What reading a written file back found: `text` is the whole report, its first line the
// result ("Verified N characters of FILE (...)" or why not), the rest the differing
// characters with their pictures.
struct FileCheck {
    bool ok = false;
    QString text;
};

// The bold "Typeloom Studio" line that heads the export windows (object name labelProduct).
QLabel* makeProductLabel(QWidget* parent);

// The read-only field, in a fixed-pitch font so that pictures line up, that showFileCheck
// fills; hidden until a check fails. Object name textVerifyReport.
QPlainTextEdit* makeFileCheckField(QWidget* parent);

// Puts the check's first line in `state`; after a failure the rest of the report goes into
// `details`, which is shown; after a success `details` is hidden.
void showFileCheck(const FileCheck& check, QLabel* state, QPlainTextEdit* details);

// "Export Finished": the window an export ends in. It names what was written and where, and
// offers "Verify", which reads the file back through `verify` and shows the result in place
// of "Finished!!", and "OK" (the default button), which closes it.
//
// Object names: labelProduct, labelExported, labelFile, labelState, textVerifyReport,
// buttonVerify, buttonOk.
class FileWrittenDialog : public QDialog {
    Q_OBJECT

  public:
    FileWrittenDialog(const QString& what, const QString& path, std::function<FileCheck()> verify,
                      QWidget* parent = nullptr);

    // What "Verify" found: empty before it was pressed.
    const QString& verifyText() const { return m_verifyText; }

  private:
    void verifyFile();

    std::function<FileCheck()> m_verify;
    QString m_verifyText;
    QLabel* m_stateText;
    QPlainTextEdit* m_report;
};

}  // namespace typeloom::ui
