#include "export/ui/export_finished_dialog.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "export/ui/export_verification.h"

namespace typeloom::ui {

ExportFinishedDialog::ExportFinishedDialog(const Font& font, exporters::ExportRequest request,
                                           QWidget* parent)
    : QDialog(parent), m_font(font), m_request(std::move(request)) {
    setWindowTitle(QStringLiteral("Export Finished"));
    setModal(true);

    auto* product = new QLabel(QStringLiteral("Typeloom Studio"), this);
    product->setObjectName(QStringLiteral("labelProduct"));
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    auto* what = new QLabel(QStringLiteral("has exported bitmap data to a file."), this);
    what->setObjectName(QStringLiteral("labelExported"));
    auto* file = new QLabel(
        QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(m_request.path))),
        this);
    file->setObjectName(QStringLiteral("labelFile"));
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_stateText = new QLabel(QStringLiteral("Finished!!"), this);
    m_stateText->setObjectName(QStringLiteral("labelState"));
    m_stateText->setWordWrap(true);
    m_report = makeVerifyReportField(this);

    auto* verify = new QPushButton(QStringLiteral("Verify"), this);
    verify->setObjectName(QStringLiteral("buttonVerify"));
    verify->setAutoDefault(false);
    connect(verify, &QPushButton::clicked, this, &ExportFinishedDialog::verifyFile);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("buttonOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(verify);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product);
    layout->addWidget(what);
    layout->addWidget(file);
    layout->addWidget(m_stateText);
    layout->addWidget(m_report, 1);
    layout->addLayout(buttons);
    ok->setFocus();
    // Wide enough for the result line of a usual file name on two lines at most.
    setMinimumWidth(440);
}

void ExportFinishedDialog::verifyFile() {
    const verify::VerifyReport report = verifyWrittenExport(m_font, m_request);
    m_verifyText = QString::fromStdString(report.text());
    showVerifyReport(report, m_stateText, m_report);
    adjustSize();
}

}  // namespace typeloom::ui
