#include "interchange/ui/interchange_commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "common/file_error.h"
#include "common/progress_sink.h"
#include "common/settings_store.h"
#include "common/ui/file_written_dialog.h"
#include "interchange/bdf_writer.h"
#include "interchange/bmp_writer.h"
#include "interchange/font_import.h"
#include "interchange/winfont_writer.h"
#include "model/font.h"
#include "model/ui/font_commands.h"
#include "verify/verify_export.h"

namespace typeloom::ui {

namespace {

QString caption() {
    return QString::fromLatin1(kDialogCaption);
}

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// "Export Finished" for the file or folder just written, whose "Verify" reads it back as
// `layout` and compares it with the font.
void showWritten(QWidget* parent, const DialogServices& services, const Font& font,
                 const QString& what, const QString& path, verify::Layout layout) {
    FileWrittenDialog window(
        what, path,
        [&font, path, layout] {
            const verify::VerifyReport report =
                verify::verifyExport(font, localPath(path), layout, {});
            return FileCheck{report.ok, QString::fromStdString(report.text())};
        },
        parent);
    services.runDialog(window);
}

}  // namespace

bool runImportFontResource(QWidget* parent, Font& font, SettingsStore& settings,
                           const std::function<bool()>& startNewDocument, QString* importedPath) {
    return runImportFontResource(parent, font, settings, startNewDocument, importedPath,
                                 DialogServices::standard());
}

namespace {

enum class Unrecognised { Silent, Told };

// The import of a chosen file after the save prompt: the one message of a failure holds the
// fixed text, the file and the reader's reason.
bool importChosenFile(QWidget* parent, Font& font, const QString& path,
                      const std::function<bool()>& startNewDocument, const DialogServices& services,
                      Unrecognised unrecognised) {
    if (!startNewDocument()) {
        return false;
    }
    ImportOutcome outcome;
    {
        WaitCursor wait;
        outcome = importFontResource(localPath(path), font);
    }
    const bool tell = outcome.status == ImportOutcome::Status::Failed ||
                      (outcome.status == ImportOutcome::Status::NotRecognised &&
                       unrecognised == Unrecognised::Told);
    if (tell) {
        QString text = outcome.messages.empty() ? QString::fromLatin1(kImportOpenFailedMessage)
                                                : qtText(outcome.messages.front());
        text += QStringLiteral("\n\n") + QDir::toNativeSeparators(path);
        if (!outcome.detail.empty()) {
            text += QStringLiteral("\n") + qtText(outcome.detail);
        }
        services.message(parent, MessageIcon::Stop, caption(), text);
        return false;
    }
    if (!outcome.ok()) {
        return false;  // not a file the import knows: nothing is shown
    }
    // What the reader repaired or left out (damaged BDF characters): the font is open, and the
    // user learns in one message what differs from the file.
    if (!outcome.warnings.empty()) {
        QString text = QStringLiteral(
                           "Some characters of %1 were damaged; the font was read as "
                           "far as it could be:\n")
                           .arg(QFileInfo(path).fileName());
        for (const std::string& warning : outcome.warnings) {
            text += QStringLiteral("\n- ") + qtText(warning);
        }
        services.message(parent, MessageIcon::Exclamation, caption(), text);
    }
    return true;
}

}  // namespace

bool runImportFontResource(QWidget* parent, Font& font, SettingsStore& /*settings*/,
                           const std::function<bool()>& startNewDocument, QString* importedPath,
                           const DialogServices& services) {
    const QString path =
        services.openFile(parent, QStringLiteral("Open"), qtFileFilter(kImportFilter));
    if (path.isEmpty()) {
        return false;
    }
    if (!importChosenFile(parent, font, path, startNewDocument, services, Unrecognised::Silent)) {
        return false;
    }
    if (importedPath != nullptr) {
        *importedPath = path;
    }
    return true;
}

bool importFontFile(QWidget* parent, Font& font, const QString& path,
                    const std::function<bool()>& startNewDocument, const DialogServices& services) {
    return importChosenFile(parent, font, path, startNewDocument, services, Unrecognised::Told);
}

bool runWindowsFontExport(QWidget* parent, Font& font, bool fon) {
    return runWindowsFontExport(parent, font, fon, DialogServices::standard());
}

bool runWindowsFontExport(QWidget* parent, Font& font, bool fon, const DialogServices& services,
                          bool* written) {
    if (written != nullptr) {
        *written = false;
    }
    if (const char* refusal = windowsFontExportRefusal(font, fon)) {
        services.message(parent, MessageIcon::Stop, caption(), QString::fromLatin1(refusal));
        return false;
    }
    bool accepted = false;
    const bool changed = editFontInformation(parent, font, services, accepted);
    if (!accepted) {
        services.message(parent, MessageIcon::Exclamation, caption(),
                         QString::fromLatin1(fon ? kFonCancelledMessage : kFntCancelledMessage));
        return false;
    }
    const QString suffix = fon ? QStringLiteral("fon") : QStringLiteral("fnt");
    const QString path = services.saveFile(parent, QStringLiteral("Save As"),
                                           qtText(suggestedWindowsFontName(font)) + '.' + suffix,
                                           qtFileFilter(fon ? kFonFilter : kFntFilter), suffix);
    if (path.isEmpty()) {
        return changed;
    }
    FontWriteResult result;
    {
        WaitCursor wait;
        result = fon ? writeFon(font, localPath(path)) : writeFnt(font, localPath(path));
    }
    if (!result.ok) {
        // A file that cannot be created is reported too, naming it and the reason, rather than
        // ending as if it had been written.
        QString text = result.message.empty()
                           ? QStringLiteral("The file %1 could not be written.").arg(path)
                           : qtText(result.message);
        if (!result.detail.empty()) {
            text += QStringLiteral("\n\n") + qtText(result.detail);
        }
        services.message(parent, MessageIcon::Stop, caption(), text);
        return changed;
    }
    if (written != nullptr) {
        *written = true;
    }
    showWritten(parent, services, font,
                QStringLiteral("has exported the font to a Windows font file."), path,
                fon ? verify::Layout::Fon : verify::Layout::Fnt);
    return changed;
}

bool runBdfExport(QWidget* parent, const Font& font) {
    return runBdfExport(parent, font, DialogServices::standard());
}

bool runBdfExport(QWidget* parent, const Font& font, const DialogServices& services) {
    const QString suffix = QStringLiteral("bdf");
    const QString path = services.saveFile(parent, QStringLiteral("Save As"),
                                           qtText(suggestedWindowsFontName(font)) + '.' + suffix,
                                           qtFileFilter(kBdfFilter), suffix);
    if (path.isEmpty()) {
        return false;
    }
    try {
        WaitCursor wait;
        writeBdf(font, localPath(path));
    } catch (const FileError& e) {
        services.message(
            parent, MessageIcon::Stop, caption(),
            QStringLiteral("The file %1 could not be written.\n\n%2").arg(path, qtText(e.what())));
        return false;
    }
    return true;
}

bool runBitmapExport(QWidget* parent, Font& font, SettingsStore& settings, ProgressSink& progress) {
    return runBitmapExport(parent, font, settings, progress, DialogServices::standard());
}

bool runBitmapExport(QWidget* parent, Font& font, SettingsStore& settings, ProgressSink& progress,
                     const DialogServices& services) {
    const BitmapFolderChoice choice = bitmapFolderChoice(settings);
    QString folder = qtText(choice.folder);
    if (choice.askUser) {
        const QString chosen =
            services.chooseFolder(parent, QString::fromLatin1(kBmpFolderTitle), folder);
        if (chosen.isEmpty()) {
            return false;  // cancelled: no message
        }
        if (!QFileInfo(chosen).isDir()) {
            services.message(parent, MessageIcon::Exclamation, caption(),
                             QString::fromLatin1(kInvalidFolderMessage));
            return false;
        }
        folder = QDir::cleanPath(chosen);
        rememberBitmapFolder(settings, utf8Text(folder));
    }
    BitmapExportResult result;
    {
        WaitCursor wait;
        result = exportCharacterBitmaps(font, localPath(folder), progress);
    }
    if (!result.ok) {
        services.message(parent, MessageIcon::Stop, QString::fromLatin1(kBmpExportCaption),
                         qtText(result.message));
        return false;
    }
    services.openFolder(folder);
    showWritten(parent, services, font,
                QStringLiteral("has exported one bitmap file per character to a folder."), folder,
                verify::Layout::BmpFolder);
    return true;
}

}  // namespace typeloom::ui
