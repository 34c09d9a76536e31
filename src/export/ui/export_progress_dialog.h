#pragma once

#include <QDialog>
#include <memory>

#include "export/export_driver.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace typeloom {
class Font;
class SettingsStore;
}  // namespace typeloom

namespace typeloom::ui {

// "Exporting...": runs one export on a worker thread while the user can cancel it.
// When shown it waits 100 ms, then starts the core's ExportJob. The worker only reads the font
// and settings and writes the file; it never touches a widget. This window watches the job
// from the user-interface thread and sets its own texts when the job has ended:
// "Finished!!" (OK enabled), "Cancelled!!" (OK reads "Exit"), or the error of a failed write
// (OK reads "Exit"). A cancelled or failed export leaves no file and any earlier file at the
// path as it was.
//
// Once the file is written, "Verify" (enabled only then) reads it back and compares it with
// the font, and the state text says what it found (the differing characters, with their
// pictures, in a field below it).
//
// Object names: labelProduct ("Typeloom Studio"), labelExporting, labelState (the state
// text), textVerifyReport, buttonCancel, buttonVerify, buttonOk.
class ExportProgressDialog : public QDialog {
    Q_OBJECT

  public:
    enum class State { Waiting, Exporting, Finished, Cancelled, Failed };

    ExportProgressDialog(const Font& font, const SettingsStore& settings,
                         exporters::ExportRequest request, QWidget* parent = nullptr);
    ~ExportProgressDialog() override;

    State state() const { return m_state; }
    // What "Verify" found: empty before it was pressed.
    const QString& verifyText() const { return m_verifyText; }
    // The export's result; waits for the worker when it is still running. Before the export
    // started (or when it was cancelled before it started) the result is Cancelled.
    exporters::ExportResult result();

    // Escape and the close box act as "Cancel" while the export can still be cancelled and
    // close the window only once "OK" or "Exit" is enabled.
    void reject() override;
    void done(int r) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void startExport();
    void pollJob();
    void cancelExport();
    void showResult();
    void verifyFile();

    const Font& m_font;
    const SettingsStore& m_settings;
    exporters::ExportRequest m_request;
    std::unique_ptr<exporters::ExportJob> m_job;
    exporters::ExportResult m_result;
    bool m_haveResult = false;
    State m_state = State::Waiting;
    bool m_shownOnce = false;
    QString m_verifyText;

    QTimer* m_startTimer;
    QTimer* m_pollTimer;
    QLabel* m_stateText;
    QPlainTextEdit* m_report;
    QPushButton* m_cancel;
    QPushButton* m_verify;
    QPushButton* m_ok;
};

}  // namespace typeloom::ui
