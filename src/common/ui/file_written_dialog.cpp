#include "common/ui/file_written_dialog.h"

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace typeloom::ui {

QPlainTextEdit* makeFileCheckField(QWidget* parent) {
    auto* field = new QPlainTextEdit(parent);
    field->setObjectName(QStringLiteral("textVerifyReport"));
    field->setReadOnly(true);
    field->setLineWrapMode(QPlainTextEdit::NoWrap);
    field->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    field->setMinimumSize(480, 220);
    field->hide();
    return field;
}

void showFileCheck(const FileCheck& check, QLabel* state, QPlainTextEdit* details) {
    state->setText(check.text.section(QLatin1Char('\n'), 0, 0));
    if (check.ok) {
        details->clear();
        details->hide();
    } else {
        // The first line stands above the field already.
        details->setPlainText(check.text.section(QLatin1Char('\n'), 1).trimmed());
        details->show();
    }
}

QLabel* makeProductLabel(QWidget* parent) {
    auto* product = new QLabel(QStringLiteral("Typeloom Studio"), parent);
    product->setObjectName(QStringLiteral("labelProduct"));
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    return product;
}

FileWrittenDialog::FileWrittenDialog(const QString& what, const QString& path,
                                     std::function<FileCheck()> verify, QWidget* parent)
    : QDialog(parent), m_verify(std::move(verify)) {
    setWindowTitle(QStringLiteral("Export Finished"));
    setModal(true);

    QLabel* product = makeProductLabel(this);
    auto* whatLabel = new QLabel(what, this);
    whatLabel->setObjectName(QStringLiteral("labelExported"));
    auto* file = new QLabel(QDir::toNativeSeparators(path), this);
    file->setObjectName(QStringLiteral("labelFile"));
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_stateText = new QLabel(QStringLiteral("Finished!!"), this);
    m_stateText->setObjectName(QStringLiteral("labelState"));
    m_stateText->setWordWrap(true);
    m_report = makeFileCheckField(this);

    auto* verifyButton = new QPushButton(QStringLiteral("Verify"), this);
    verifyButton->setObjectName(QStringLiteral("buttonVerify"));
    verifyButton->setAutoDefault(false);
    connect(verifyButton, &QPushButton::clicked, this, &FileWrittenDialog::verifyFile);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("buttonOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(verifyButton);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product);
    layout->addWidget(whatLabel);
    layout->addWidget(file);
    layout->addWidget(m_stateText);
    layout->addWidget(m_report, 1);
    layout->addLayout(buttons);
    ok->setFocus();
    // Wide enough for the result line of a usual file name on two lines at most.
    setMinimumWidth(440);
}

void FileWrittenDialog::verifyFile() {
    const FileCheck check = m_verify();
    m_verifyText = check.text;
    showFileCheck(check, m_stateText, m_report);
    adjustSize();
}

}  // namespace typeloom::ui
