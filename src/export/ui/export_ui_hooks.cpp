#include "export/ui/export_ui_hooks.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "export/ui/export_finished_dialog.h"
#include "export/ui/hex_dialogs.h"

namespace typeloom::ui {

namespace {

QString chooseFileWithDialog(QWidget* parent, const SaveFileRequest& request) {
    QFileDialog dialog(parent, QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.selectFile(request.suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void showErrorBox(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QString::fromLatin1(kMessageCaption), text);
}

void showFinishedWindow(QWidget* parent, const Font& font,
                        const exporters::ExportRequest& request) {
    ExportFinishedDialog window(font, request, parent);
    window.exec();
}

void showWarningBox(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QString::fromLatin1(kMessageCaption), text);
}

}  // namespace

ExportUiHooks withDefaults(ExportUiHooks hooks) {
    if (!hooks.chooseFile) {
        hooks.chooseFile = chooseFileWithDialog;
    }
    if (!hooks.askStartAddress) {
        hooks.askStartAddress = askHexStartAddress;
    }
    if (!hooks.confirmWideCharacters) {
        hooks.confirmWideCharacters = confirmHexWideCharacters;
    }
    if (!hooks.showError) {
        hooks.showError = showErrorBox;
    }
    if (!hooks.showFinished) {
        hooks.showFinished = showFinishedWindow;
    }
    if (!hooks.showHelp) {
        hooks.showHelp = [](const QString&) {};
    }
    if (!hooks.showWarning) {
        hooks.showWarning = showWarningBox;
    }
    return hooks;
}

QString qtFilterOf(std::string_view filter) {
    const QStringList parts =
        QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size()))
            .split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& text = parts[i];
        if (text.isEmpty()) {
            break;  // the "||" that ends the list
        }
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString tail = QLatin1Char('(') + patterns + QLatin1Char(')');
        filters << (text.endsWith(tail) ? text : text + QLatin1Char(' ') + tail);
    }
    return filters.join(QStringLiteral(";;"));
}

QString messageText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace typeloom::ui
