#include "export/ui/export_progress_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "common/ui/file_written_dialog.h"
#include "export/ui/export_ui_hooks.h"
#include "export/ui/export_verification.h"
#include "model/font.h"

namespace typeloom::ui {

namespace {

constexpr int kStartDelayMs = 100;
// How often the window looks whether the worker has ended.
constexpr int kPollIntervalMs = 20;

exporters::ExportResult cancelledResult() {
    exporters::ExportResult result;
    result.status = exporters::ExportResult::Status::Cancelled;
    return result;
}

}  // namespace

ExportProgressDialog::ExportProgressDialog(const Font& font, const SettingsStore& settings,
                                           exporters::ExportRequest request, QWidget* parent)
    : QDialog(parent), m_font(font), m_settings(settings), m_request(std::move(request)) {
    setWindowTitle(QStringLiteral("Exporting..."));
    setModal(true);

    QLabel* product = makeProductLabel(this);
    auto* what = new QLabel(QStringLiteral("is exporting bitmap data to a file."), this);
    what->setObjectName(QStringLiteral("labelExporting"));
    m_stateText = new QLabel(QStringLiteral("Please Wait..."), this);
    m_stateText->setObjectName(QStringLiteral("labelState"));
    m_stateText->setWordWrap(true);
    m_report = makeFileCheckField(this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("buttonCancel"));
    m_verify = new QPushButton(QStringLiteral("Verify"), this);
    m_verify->setObjectName(QStringLiteral("buttonVerify"));
    m_verify->setEnabled(false);
    connect(m_verify, &QPushButton::clicked, this, &ExportProgressDialog::verifyFile);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("buttonOk"));
    m_ok->setEnabled(false);
    connect(m_cancel, &QPushButton::clicked, this, &ExportProgressDialog::cancelExport);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_verify);
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product);
    layout->addWidget(what);
    layout->addWidget(m_stateText);
    layout->addWidget(m_report, 1);
    layout->addLayout(buttons);

    m_startTimer = new QTimer(this);
    m_startTimer->setSingleShot(true);
    m_startTimer->setInterval(kStartDelayMs);
    connect(m_startTimer, &QTimer::timeout, this, &ExportProgressDialog::startExport);
    m_pollTimer = new QTimer(this);
    m_pollTimer->setInterval(kPollIntervalMs);
    connect(m_pollTimer, &QTimer::timeout, this, &ExportProgressDialog::pollJob);
}

ExportProgressDialog::~ExportProgressDialog() = default;  // the job joins its worker

void ExportProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        m_startTimer->start();
    }
}

void ExportProgressDialog::startExport() {
    if (m_state != State::Waiting) {
        return;  // cancelled before the worker was started
    }
    m_job = std::make_unique<exporters::ExportJob>(m_font, m_settings, m_request);
    m_state = State::Exporting;
    m_job->start();
    m_pollTimer->start();
}

void ExportProgressDialog::pollJob() {
    if (m_job && m_job->finished()) {
        m_pollTimer->stop();
        showResult();
    }
}

void ExportProgressDialog::cancelExport() {
    if (m_state == State::Waiting) {
        // Cancelled before the first tick: the export never starts, so nothing is written.
        m_startTimer->stop();
        m_result = cancelledResult();
        m_haveResult = true;
        m_state = State::Cancelled;
        m_stateText->setText(QStringLiteral("Cancelled!!"));
        m_ok->setText(QStringLiteral("Exit"));
    } else if (m_state == State::Exporting && m_job) {
        m_job->cancel();
    }
    m_cancel->setEnabled(false);
    m_ok->setEnabled(true);
}

void ExportProgressDialog::showResult() {
    m_result = m_job->wait();
    m_haveResult = true;
    switch (m_result.status) {
        case exporters::ExportResult::Status::Written:
            m_state = State::Finished;
            m_stateText->setText(QStringLiteral("Finished!!"));
            m_verify->setEnabled(true);
            break;
        case exporters::ExportResult::Status::Cancelled:
            m_state = State::Cancelled;
            m_stateText->setText(QStringLiteral("Cancelled!!"));
            m_ok->setText(QStringLiteral("Exit"));
            break;
        case exporters::ExportResult::Status::Failed:
            // A write error is not a cancel: the window says what went wrong.
            m_state = State::Failed;
            m_stateText->setText(messageText(m_result.message));
            m_ok->setText(QStringLiteral("Exit"));
            break;
    }
    m_cancel->setEnabled(false);
    m_ok->setEnabled(true);
}

void ExportProgressDialog::verifyFile() {
    const FileCheck check = fileCheckOf(verifyWrittenExport(m_font, m_request));
    m_verifyText = check.text;
    showFileCheck(check, m_stateText, m_report);
    adjustSize();
}

exporters::ExportResult ExportProgressDialog::result() {
    if (!m_haveResult) {
        if (!m_job) {
            return cancelledResult();
        }
        m_pollTimer->stop();
        m_result = m_job->wait();
        m_haveResult = true;
    }
    return m_result;
}

void ExportProgressDialog::reject() {
    if (m_cancel->isEnabled()) {
        cancelExport();
    } else if (m_ok->isEnabled()) {
        QDialog::reject();
    }
}

void ExportProgressDialog::done(int r) {
    // "OK" right after "Cancel" may close the window before the worker has noticed the flag;
    // the worker is waited for so that it never outlives the font it reads.
    m_startTimer->stop();
    if (m_job && !m_haveResult) {
        m_pollTimer->stop();
        m_result = m_job->wait();
        m_haveResult = true;
    }
    QDialog::done(r);
}

}  // namespace typeloom::ui
