// Multi Copy in one running program, Multi Paste in another: the block must reach a second
// process through the desktop's clipboard under the product's own MIME type, as it does when
// a user copies characters in one window of the program and pastes them in another.
//
//   clipboard_peer pair      runs the copying peer as a child process, waits for its copy,
//                            then checks the clipboard and pastes here; exit 0 when the pasted
//                            characters equal the copied ones.
//   clipboard_peer copy DIR  Multi Copy of a known font, then "DIR/copied" is written and the
//                            clipboard is served until "DIR/done" appears (at most 60 s).
//
// It needs a real display (the offscreen platform's clipboard is private to its process):
// the test runs it under xvfb-run.

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "interchange/multicopy.h"
#include "interchange/ui/multi_copy_dialogs.h"
#include "model/font.h"

namespace {

using typeloom::Font;

// A font whose every character has its own picture: column (code % 6) and row (code % 8)
// set, so a character pasted under another code or lost is seen.
Font copiedFont() {
    Font font;
    font.createFromScratch('A', 'H', 6, 8, "Peer");
    for (std::uint16_t code = 'A'; code <= 'H'; ++code) {
        auto& pixels = font.glyphs.find(code)->pixels;
        pixels[static_cast<std::size_t>((code % 8) * 6 + code % 6)] = 1;
    }
    return font;
}

typeloom::ui::DialogServices answeringServices() {
    typeloom::ui::DialogServices services;
    services.runDialog = [](QDialog& dialog) {
        dialog.setResult(QDialog::Rejected);
        dialog.accept();
        return dialog.result();
    };
    services.message = [](QWidget*, typeloom::ui::MessageIcon, const QString&,
                          const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    };
    services.askYesNo = [](QWidget*, const QString&, const QString& text) {
        std::fprintf(stderr, "unexpected question: %s\n", qPrintable(text));
        return false;
    };
    return services;
}

bool waitFor(const QString& path, int seconds) {
    const QDeadlineTimer deadline(seconds * 1000);
    while (!QFile::exists(path)) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    return true;
}

int runCopy(const QString& dir) {
    const Font font = copiedFont();
    const typeloom::ui::DialogServices services = answeringServices();
    typeloom::ui::MultiCopyDialog dialog(font, services);
    if (services.runDialog(dialog) != QDialog::Accepted) {
        std::fprintf(stderr, "copy: the dialog did not copy\n");
        return 1;
    }
    QFile(dir + QStringLiteral("/copied")).open(QIODevice::WriteOnly);
    // The clipboard is served from this process's event loop until the other peer is done.
    return waitFor(dir + QStringLiteral("/done"), 60) ? 0 : 1;
}

int runPair(const QString& program) {
    QTemporaryDir dir;
    QProcess copier;
    copier.setProcessChannelMode(QProcess::ForwardedChannels);
    copier.start(program, {QStringLiteral("copy"), dir.path()});
    auto finish = [&](int status) {
        QFile(dir.path() + QStringLiteral("/done")).open(QIODevice::WriteOnly);
        copier.waitForFinished(10000);
        return status;
    };
    if (!waitFor(dir.path() + QStringLiteral("/copied"), 30)) {
        std::fprintf(stderr, "pair: the copying peer did not copy\n");
        return finish(1);
    }

    // The block read here comes from the other process through the display's clipboard.
    const std::vector<std::uint8_t> block = typeloom::ui::clipboardMultiCopyBlock();
    if (block.empty()) {
        std::fprintf(stderr, "pair: no %s block on the clipboard\n", typeloom::kMultiCopyMimeType);
        return finish(1);
    }
    Font target;
    target.createFromScratch(0x20, 0x3F, 6, 8, "Target");
    if (!typeloom::multiPasteEnabled(target, block)) {
        std::fprintf(stderr, "pair: Multi Paste not offered for the block\n");
        return finish(1);
    }
    if (!typeloom::ui::runMultiPaste(nullptr, target, answeringServices())) {
        std::fprintf(stderr, "pair: Multi Paste changed nothing\n");
        return finish(1);
    }
    const Font copied = copiedFont();
    int wrong = 0;
    for (std::uint16_t code = 'A'; code <= 'H'; ++code) {
        const auto* pasted = target.glyphs.find(code);
        if (pasted == nullptr || pasted->pixels != copied.glyphs.find(code)->pixels ||
            pasted->width != copied.glyphs.find(code)->width) {
            std::fprintf(stderr, "pair: character 0x%02X not pasted as copied\n", code);
            ++wrong;
        }
    }
    if (target.codeList.size() != 0x20u + 8) {
        std::fprintf(stderr, "pair: %zu characters after the paste, expected 40\n",
                     target.codeList.size());
        ++wrong;
    }
    return finish(wrong == 0 ? 0 : 1);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("copy")) {
        return runCopy(args[2]);
    }
    if (args.size() == 2 && args[1] == QStringLiteral("pair")) {
        return runPair(QApplication::applicationFilePath());
    }
    std::fprintf(stderr, "usage: clipboard_peer pair | copy DIR\n");
    return 2;
}
