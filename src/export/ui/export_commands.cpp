#include "export/ui/export_commands.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include "common/cancel_flag.h"
#include "common/file_error.h"
#include "export/export_driver.h"
#include "export/intel_hex.h"
#include "export/microchip_format.h"
#include "export/shipped_headers.h"
#include "export/ui/export_dialog.h"
#include "export/ui/export_progress_dialog.h"
#include "model/font.h"

namespace typeloom::ui {

namespace {

// The wait cursor while an export runs on this thread.
class WaitCursor {
  public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

exporters::ExportRequest requestFor(const QString& path, exporters::ExportFormat format) {
    exporters::ExportRequest request;
    request.path = QFile::encodeName(path).toStdString();
    request.format = format;
    return request;
}

// Runs the export on this thread, where nothing can cancel it; the core writes through a
// temporary file, so a failure leaves no file and keeps an earlier one.
exporters::ExportResult runDirect(const Font& font, const SettingsStore& settings,
                                  const exporters::ExportRequest& request, ProgressSink& progress) {
    const CancelFlag neverCancelled;
    WaitCursor wait;
    return exporters::runExport(font, settings, request, neverCancelled, progress);
}

// A Microchip file of a font with large gaps in its codes was written with an empty entry
// per missing code: say what they cost.
void warnOfMicrochipGaps(QWidget* parent, const Font& font, exporters::ExportFormat format,
                         const ExportUiHooks& hooks) {
    if (format != exporters::ExportFormat::MicrochipC &&
        format != exporters::ExportFormat::MicrochipBin) {
        return;
    }
    const std::string warning = exporters::microchipGapWarning(font);
    if (!warning.empty()) {
        hooks.showWarning(parent, messageText(warning));
    }
}

void rememberBaseName(QString* lastBaseName, const QString& path) {
    if (lastBaseName != nullptr) {
        *lastBaseName = QFileInfo(path).completeBaseName();
    }
}

}  // namespace

QString chooseExportFile(QWidget* parent, const Font& font, exporters::ExportFormat format,
                         const ExportUiHooks& hooks) {
    const exporters::FormatInfo* info = exporters::findFormat(static_cast<int>(format));
    if (info == nullptr || !hooks.chooseFile) {
        return {};
    }
    SaveFileRequest request;
    request.filter = qtFilterOf(info->filter);
    request.defaultSuffix = QString::fromLatin1(info->extension);
    request.suggestedName = QString::fromStdString(exporters::suggestedExportName(font));
    return hooks.chooseFile(parent, request);
}

bool runMenuExport(QWidget* parent, Font& font, SettingsStore& settings, ProgressSink& progress,
                   exporters::ExportFormat format, QString* lastBaseName,
                   const ExportUiHooks& givenHooks) {
    const ExportUiHooks hooks = withDefaults(givenHooks);
    if (format == exporters::ExportFormat::Hex) {
        const std::string problem = exporters::hexExportProblem(font);
        if (!problem.empty()) {
            hooks.showError(parent, messageText(problem));
            return false;
        }
    }
    const QString path = chooseExportFile(parent, font, format, hooks);
    if (path.isEmpty()) {
        return false;
    }
    rememberBaseName(lastBaseName, path);
    exporters::ExportRequest request = requestFor(path, format);
    if (format == exporters::ExportFormat::Hex) {
        const std::optional<std::uint32_t> start = hooks.askStartAddress(parent);
        if (!start) {
            return false;  // nothing is written, so no empty file is left either
        }
        request.hex.startAddress = *start;
        if (!exporters::hexWideCharacters(font).empty()) {
            const QString list = QString::fromStdString(exporters::hexWideCharacterList(font));
            if (!hooks.confirmWideCharacters(parent, list)) {
                return false;
            }
        }
        request.hex.skipWide = true;
    }
    const exporters::ExportResult result = runDirect(font, settings, request, progress);
    if (result.status == exporters::ExportResult::Status::Failed) {
        hooks.showError(parent, messageText(result.message));
    } else if (result.ok()) {
        warnOfMicrochipGaps(parent, font, format, hooks);
    }
    if (result.ok()) {
        hooks.showFinished(parent, font, request);
    }
    return result.ok();
}

bool runExportDialog(QWidget* parent, Font& font, SettingsStore& settings, ProgressSink& progress,
                     QString* lastBaseName, const ExportUiHooks& givenHooks) {
    const ExportUiHooks hooks = withDefaults(givenHooks);
    ExportDialog dialog(font, settings, hooks, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    rememberBaseName(lastBaseName, dialog.path());
    const exporters::ExportRequest request = requestFor(dialog.path(), dialog.format());
    bool written = false;
    bool windowShown = false;
    if (exporters::needsProgressWindow(font)) {
        // The window stays after the export with its own "Verify".
        ExportProgressDialog window(font, settings, request, parent);
        window.exec();
        written = window.result().ok();
        windowShown = true;
    } else {
        const exporters::ExportResult result = runDirect(font, settings, request, progress);
        // A write failure is reported rather than passed over in silence, so a missing file
        // is never taken for a written one.
        if (result.status == exporters::ExportResult::Status::Failed) {
            hooks.showError(parent, messageText(result.message));
        }
        written = result.ok();
    }
    if (written) {
        warnOfMicrochipGaps(parent, font, request.format, hooks);
    }
    if (written && dialog.withHeader()) {
        try {
            exporters::writeHeaderBeside(request.path, request.format,
                                         exporters::pagesOption(settings));
        } catch (const FileError& e) {
            hooks.showError(parent, messageText(e.what()));
            return false;
        }
    }
    if (written && !windowShown) {
        hooks.showFinished(parent, font, request);
    }
    return written;
}

}  // namespace typeloom::ui
