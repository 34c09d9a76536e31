#include "model/ui/dialog_services.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

namespace typeloom::ui {

namespace {

// The core's texts keep their CR LF line ends; a message box wants LF alone.
QString messageBoxText(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

std::function<void(const QString&)>& helpHandler() {
    static std::function<void(const QString&)> handler;
    return handler;
}

}  // namespace

void setHelpHandler(std::function<void(const QString& topic)> handler) {
    helpHandler() = std::move(handler);
}

DialogServices DialogServices::standard() {
    DialogServices s;
    s.openFile = [](QWidget* parent, const QString& caption, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    };
    s.saveFile = [](QWidget* parent, const QString& caption, const QString& proposed,
                    const QString& filter, const QString& suffix) {
        // A dialog object rather than the static function: only it adds the default suffix
        // before asking whether to replace an existing file.
        QFileDialog dialog(parent, caption, QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(suffix);
        dialog.selectFile(proposed);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return QString();
        }
        return dialog.selectedFiles().front();
    };
    s.chooseFolder = [](QWidget* parent, const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
    };
    s.message = [](QWidget* parent, MessageIcon icon, const QString& caption,
                   const QString& message) {
        const QString text = messageBoxText(message);
        switch (icon) {
            case MessageIcon::Stop:
                QMessageBox::critical(parent, caption, text);
                break;
            case MessageIcon::Exclamation:
                QMessageBox::warning(parent, caption, text);
                break;
            case MessageIcon::Information:
                QMessageBox::information(parent, caption, text);
                break;
        }
    };
    s.askYesNo = [](QWidget* parent, const QString& caption, const QString& question) {
        return QMessageBox::question(parent, caption, messageBoxText(question),
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes;
    };
    s.runDialog = [](QDialog& dialog) { return dialog.exec(); };
    s.openFolder = [](const QString& folder) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    };
    s.showHelp = [](const QString& topic) {
        if (helpHandler()) {
            helpHandler()(topic);
        }
    };
    return s;
}

QString qtFileFilter(const char* filter) {
    const QStringList parts = QString::fromLatin1(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (label.isEmpty() || patterns.isEmpty()) {
            break;  // the "||" that ends the list
        }
        // Qt reads the patterns from the parentheses at the end of the label, separated by
        // blanks; the label keeps its words and shows the patterns Qt uses.
        const qsizetype open = label.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && label.endsWith(QLatin1Char(')'))) {
            label.truncate(open);
        } else {
            label += QLatin1Char(' ');
        }
        out << label + QLatin1Char('(') + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

WaitCursor::WaitCursor() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QGuiApplication::restoreOverrideCursor();
}

}  // namespace typeloom::ui
