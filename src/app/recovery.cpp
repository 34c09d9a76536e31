#include "app/recovery.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QStandardPaths>
#include <QStatusBar>
#include <QUrl>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <span>

#include "app/font_document.h"
#include "app/main_window.h"
#include "app/studio_app.h"
#include "common/atomic_file.h"
#include "common/progress_sink.h"
#include "model/font_snapshot.h"
#include "model/project_file.h"

namespace typeloom::app {

namespace {

const QString kAppName = QStringLiteral("Typeloom Studio");
const QByteArray kInfoFirstLine = QByteArrayLiteral("Typeloom Studio recovery copy");
// A side file is a few lines; anything much larger is not one.
constexpr qint64 kLargestInfo = 64 * 1024;

QString copyName(const QString& id) {
    return id + QStringLiteral(".tlf");
}
QString infoName(const QString& id) {
    return id + QStringLiteral(".info");
}
QString lockName(const QString& id) {
    return id + QStringLiteral(".lock");
}

std::shared_ptr<QLockFile> makeLock(const QString& path) {
    auto lock = std::make_shared<QLockFile>(path);
    // Only a lock whose program is gone is stale: a program left open for days keeps its copy.
    lock->setStaleLockTime(0);
    return lock;
}

}  // namespace

QString defaultRecoveryFolder() {
    QString base;
    if (QStandardPaths::isTestModeEnabled()) {
        base = QDir::homePath() + QStringLiteral("/.qttest/state");
    } else {
        const QString state = qEnvironmentVariable("XDG_STATE_HOME");
        base = QDir::isAbsolutePath(state) ? state
                                           : QDir::homePath() + QStringLiteral("/.local/state");
    }
    return base + QStringLiteral("/typeloom-studio/recovery");
}

QByteArray recoveryInfoText(const RecoveryInfo& info) {
    QByteArray text = kInfoFirstLine + '\n';
    // The path is percent-encoded, so that no file name can break the line structure.
    text += "project=" + QUrl::toPercentEncoding(info.project, "/") + '\n';
    text += "saved=" + info.saved.toUTC().toString(Qt::ISODate).toUtf8() + '\n';
    text += "pid=" + QByteArray::number(info.pid) + '\n';
    text += "instance=" + info.instance.toUtf8() + '\n';
    return text;
}

std::optional<RecoveryInfo> parseRecoveryInfo(const QByteArray& text) {
    if (text.size() > kLargestInfo) {
        return std::nullopt;
    }
    const QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.first() != kInfoFirstLine) {
        return std::nullopt;
    }
    RecoveryInfo info;
    bool hasProject = false;
    bool hasPid = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (line.isEmpty()) {
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0) {
            return std::nullopt;
        }
        const QByteArray key = line.left(eq);
        const QByteArray value = line.mid(eq + 1);
        if (key == "project") {
            info.project = QUrl::fromPercentEncoding(value);
            hasProject = true;
        } else if (key == "saved") {
            info.saved = QDateTime::fromString(QString::fromUtf8(value), Qt::ISODate);
        } else if (key == "pid") {
            info.pid = value.toLongLong(&hasPid);
        } else if (key == "instance") {
            info.instance = QString::fromUtf8(value);
        }
    }
    if (!hasProject || !hasPid || !info.saved.isValid() || info.instance.isEmpty() ||
        (!info.project.isEmpty() && !QDir::isAbsolutePath(info.project))) {
        return std::nullopt;
    }
    return info;
}

// --- RecoveryWriter

RecoveryWriter::RecoveryWriter(std::function<void(const std::string&)> onError)
    : m_onError(std::move(onError)), m_thread([this] { run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void RecoveryWriter::write(std::unique_ptr<FontSnapshot> snapshot, std::string copyPath,
                           std::string infoPath, std::string infoText) {
    post(Job{std::move(snapshot), std::move(copyPath), std::move(infoPath), std::move(infoText)});
}

void RecoveryWriter::remove(std::string copyPath, std::string infoPath) {
    post(Job{nullptr, std::move(copyPath), std::move(infoPath), {}});
}

void RecoveryWriter::post(Job job) {
    std::optional<Job> replaced;
    {
        std::lock_guard lock(m_mutex);
        // The waiting job is older than this one: its snapshot is freed outside the lock.
        replaced = std::move(m_pending);
        m_pending = std::move(job);
    }
    m_wake.notify_all();
}

void RecoveryWriter::waitIdle() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_pending && !m_busy; });
}

void RecoveryWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || m_pending; });
        if (!m_pending) {
            break;  // stopping with nothing left to do
        }
        Job job = std::move(*m_pending);
        m_pending.reset();
        m_busy = true;
        lock.unlock();
        perform(job);
        job = Job{};
        lock.lock();
        m_busy = false;
        m_idle.notify_all();
    }
    m_idle.notify_all();
}

void RecoveryWriter::perform(Job& job) {
    try {
        if (job.snapshot) {
            const std::vector<std::uint8_t> bytes = job.snapshot->takeProjectBytes();
            job.snapshot.reset();
            // The copy first, then the side file naming it: a copy is never described by a
            // side file written for an older one.
            writeFileAtomically(job.copyPath, bytes);
            writeFileAtomically(
                job.infoPath, std::span(reinterpret_cast<const std::uint8_t*>(job.infoText.data()),
                                        job.infoText.size()));
        } else {
            // The copy first: a side file left alone by a crash here is cleared at the next
            // start, a copy left without its side file would be offered again.
            std::remove(job.copyPath.c_str());
            std::remove(job.infoPath.c_str());
        }
    } catch (const std::exception& error) {
        if (m_onError) {
            m_onError(error.what());
        }
    }
}

// --- RecoveryManager

RecoveryManager::RecoveryManager(StudioApp& app, QString folder)
    : m_app(app),
      m_folder(std::move(folder)),
      m_id(QUuid::createUuid().toString(QUuid::WithoutBraces)) {
    m_writer = std::make_unique<RecoveryWriter>([this](const std::string& error) {
        const QString text = QString::fromStdString(error);
        QMetaObject::invokeMethod(
            this, [this, text] { showWriteError(text); }, Qt::QueuedConnection);
    });
    prompt = [this](const RecoveryCandidate& candidate) { return askWithDialog(candidate); };
    reportDamaged = [this](const QString& text) {
        QMessageBox::warning(m_app.mainWindow(), kAppName, text);
    };
    m_idle.setSingleShot(true);
    m_idle.setInterval(kIdleMs);
    connect(&m_idle, &QTimer::timeout, this, &RecoveryManager::saveCopy);
    connect(&m_app.document(), &FontDocument::modifiedChanged, this, [this](bool modified) {
        if (modified) {
            m_idle.start();
            if (!m_sinceCopy.isValid()) {
                m_sinceCopy.start();
            }
        } else {
            // Saved, back at the saved state, or replaced by a new or opened document.
            m_idle.stop();
            removeCopy();
        }
    });
    if (MainWindow* frame = m_app.mainWindow()) {
        connect(frame, &MainWindow::fontWideChangeDone, this, &RecoveryManager::saveCopySoon);
    }
    qApp->installEventFilter(this);
}

RecoveryManager::~RecoveryManager() {
    // An orderly end: the document was saved or its changes were given up.
    if (m_lock) {
        m_writer->remove(copyPath().toStdString(), infoPath().toStdString());
    }
    m_writer.reset();
    m_lock.reset();
}

QString RecoveryManager::copyPath() const {
    return QDir(m_folder).filePath(copyName(m_id));
}

QString RecoveryManager::infoPath() const {
    return QDir(m_folder).filePath(infoName(m_id));
}

bool RecoveryManager::ensureLock() {
    if (m_lock) {
        return true;
    }
    if (!QDir().mkpath(m_folder)) {
        showWriteError(QStringLiteral("cannot create the folder %1").arg(m_folder));
        return false;
    }
    // The copies are the user's work: the folder is theirs alone.
    QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    auto lock = makeLock(QDir(m_folder).filePath(lockName(m_id)));
    if (!lock->tryLock(0)) {
        showWriteError(QStringLiteral("cannot lock %1").arg(lock->error()));
        return false;
    }
    m_lock = std::move(lock);
    return true;
}

void RecoveryManager::saveCopy() {
    m_copyDue = false;
    if (!m_app.document().isModified() || !ensureLock()) {
        return;
    }
    if (MainWindow* frame = m_app.mainWindow()) {
        frame->storeEditedGlyph();
    }
    auto snapshot = std::make_unique<FontSnapshot>(m_app.font());
    RecoveryInfo info;
    info.project = m_app.document().pathName();
    info.saved = QDateTime::currentDateTimeUtc();
    info.pid = QCoreApplication::applicationPid();
    info.instance = m_id;
    m_writer->write(std::move(snapshot), copyPath().toStdString(), infoPath().toStdString(),
                    recoveryInfoText(info).toStdString());
    m_idle.stop();
    m_sinceCopy.start();
}

void RecoveryManager::saveCopySoon() {
    if (m_copyDue) {
        return;
    }
    m_copyDue = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_copyDue) {
                saveCopy();
            }
        },
        Qt::QueuedConnection);
}

void RecoveryManager::removeCopy() {
    m_copyDue = false;
    m_sinceCopy.invalidate();
    if (m_lock) {
        m_writer->remove(copyPath().toStdString(), infoPath().toStdString());
    }
}

void RecoveryManager::waitForWriter() {
    m_writer->waitIdle();
}

void RecoveryManager::showWriteError(const QString& text) {
    // Once per run in the status bar: the editor goes on, the user knows copies are missing.
    if (m_errorShown) {
        return;
    }
    m_errorShown = true;
    if (MainWindow* frame = m_app.mainWindow()) {
        frame->statusBar()->showMessage(
            QStringLiteral("The recovery copy could not be saved: %1").arg(text));
    }
}

bool RecoveryManager::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::MouseButtonRelease) &&
        m_app.document().isModified()) {
        // Input restarts the idle time; long work without a pause still gets its copies.
        m_idle.start();
        if (m_sinceCopy.isValid() && m_sinceCopy.elapsed() >= kLongestWorkMs) {
            saveCopySoon();
        }
    }
    return QObject::eventFilter(watched, event);
}

// --- Start-up

void RecoveryManager::scan(std::vector<RecoveryCandidate>& offers, QStringList& damaged) {
    const QDir dir(m_folder);
    if (!dir.exists()) {
        return;
    }
    QSet<QString> ids;
    const QStringList names = dir.entryList(
        {QStringLiteral("*.tlf"), QStringLiteral("*.info"), QStringLiteral("*.lock")}, QDir::Files);
    for (const QString& name : names) {
        ids.insert(name.left(name.lastIndexOf(QLatin1Char('.'))));
    }
    QStringList sorted(ids.begin(), ids.end());
    sorted.sort();
    for (const QString& id : sorted) {
        if (id == m_id) {
            continue;
        }
        auto lock = makeLock(dir.filePath(lockName(id)));
        if (!lock->tryLock(0)) {
            continue;  // its program is running: the copy is that program's
        }
        RecoveryCandidate candidate;
        candidate.id = id;
        candidate.copyPath = dir.filePath(copyName(id));
        candidate.infoPath = dir.filePath(infoName(id));
        const QFileInfo copyFile(candidate.copyPath);
        if (!copyFile.exists()) {
            // What a removal cut short left: nothing to recover.
            QFile::remove(candidate.infoPath);
            continue;
        }
        candidate.written = copyFile.lastModified().toUTC();
        if (QFileInfo::exists(candidate.infoPath)) {
            QFile file(candidate.infoPath);
            std::optional<RecoveryInfo> info;
            if (file.open(QIODevice::ReadOnly)) {
                info = parseRecoveryInfo(file.read(kLargestInfo + 1));
            }
            if (!info) {
                damaged << QStringLiteral("%1\n(not a readable recovery description)")
                               .arg(QDir::toNativeSeparators(candidate.infoPath));
                continue;
            }
            candidate.info = *info;
        } else {
            // The program ended between the first copy and its side file: a copy of a document
            // whose project is not known, offered as an unsaved one.
            candidate.info.saved = candidate.written;
        }
        // The copy must open as a project before it is offered.
        Font probe;
        NullProgressSink progress;
        const ProjectLoadResult loaded =
            loadProject(candidate.copyPath.toStdString(), probe, progress);
        if (!loaded.ok()) {
            damaged << QStringLiteral("%1\n(%2)")
                           .arg(QDir::toNativeSeparators(candidate.copyPath),
                                QString::fromStdString(loaded.message).simplified());
            continue;
        }
        if (!candidate.info.project.isEmpty()) {
            const QFileInfo project(candidate.info.project);
            candidate.projectExists = project.isFile();
            if (candidate.projectExists && project.lastModified() > candidate.written) {
                // The project was saved after the copy: the copy holds nothing newer.
                removeFiles(candidate);
                continue;
            }
        }
        candidate.lock = std::move(lock);
        offers.push_back(std::move(candidate));
    }
    std::sort(offers.begin(), offers.end(),
              [](const RecoveryCandidate& a, const RecoveryCandidate& b) {
                  return a.written > b.written;
              });
}

void RecoveryManager::removeFiles(const RecoveryCandidate& candidate) {
    QFile::remove(candidate.copyPath);
    QFile::remove(candidate.infoPath);
}

bool RecoveryManager::offerAtStart() {
    std::vector<RecoveryCandidate> offers;
    QStringList damaged;
    scan(offers, damaged);
    if (!damaged.isEmpty()) {
        reportDamaged(QStringLiteral("These recovery files are damaged and were not opened; they "
                                     "are left where they are:\n\n") +
                      damaged.join(QStringLiteral("\n\n")));
    }
    for (RecoveryCandidate& candidate : offers) {
        switch (prompt(candidate)) {
            case Choice::Restore:
                if (restore(candidate)) {
                    return true;
                }
                break;
            case Choice::OpenOriginal:
                // The copy stays: it is offered again at the next start.
                candidate.lock.reset();
                m_app.openDocumentFile(candidate.info.project);
                return true;
            case Choice::Discard:
                removeFiles(candidate);
                break;
            case Choice::Later:
                return false;
        }
    }
    return false;
}

bool RecoveryManager::restore(RecoveryCandidate& candidate) {
    FontDocument& document = m_app.document();
    if (!document.saveModified() || !document.openDocument(candidate.copyPath)) {
        return false;
    }
    // The recovered font is a modified document of its own project: Save writes the project
    // (atomically); nothing is written to it before.
    document.restoreDocument(candidate.info.project, true);
    if (MainWindow* frame = m_app.mainWindow()) {
        frame->updateFrameTitle();
        frame->selectInitialCharacter();
        frame->updateCommandStates();
    }
    // This program carries on with the copy (its lock is held already), so that a crash now
    // still finds it.
    if (m_lock) {
        m_writer->remove(copyPath().toStdString(), infoPath().toStdString());
        m_writer->waitIdle();
    }
    m_id = candidate.id;
    m_lock = std::move(candidate.lock);
    m_sinceCopy.start();
    return true;
}

QString RecoveryManager::promptText(const RecoveryCandidate& candidate) {
    const QString when =
        QLocale::system().toString(candidate.info.saved.toLocalTime(), QLocale::ShortFormat);
    if (candidate.info.project.isEmpty()) {
        return QStringLiteral(
                   "Typeloom Studio did not close normally while an unsaved font was open.\n\n"
                   "Recovery copy saved: %1\n\n"
                   "Restore opens the recovered font as an unsaved document.\n"
                   "Discard deletes the recovery copy.")
            .arg(when);
    }
    QString text =
        QStringLiteral("Typeloom Studio did not close normally while %1 had unsaved changes. ")
            .arg(QFileInfo(candidate.info.project).fileName());
    text += candidate.projectExists
                ? QStringLiteral("A recovery copy of them is newer than the project.")
                : QStringLiteral(
                      "A recovery copy of them was kept; the project is no longer "
                      "there.");
    text += QStringLiteral("\n\nProject: %1\nRecovery copy saved: %2\n\n")
                .arg(QDir::toNativeSeparators(candidate.info.project), when);
    text += QStringLiteral(
        "Restore opens the recovered font as a modified document; Save then writes it to the "
        "project.\n");
    if (candidate.projectExists) {
        text += QStringLiteral(
            "Open Original opens the project as it was last saved and keeps the recovery copy.\n");
    }
    text += QStringLiteral("Discard deletes the recovery copy.");
    return text;
}

RecoveryManager::Choice RecoveryManager::askWithDialog(const RecoveryCandidate& candidate) {
    QMessageBox box(QMessageBox::Warning, kAppName, promptText(candidate), QMessageBox::NoButton,
                    m_app.mainWindow());
    box.setObjectName(QStringLiteral("recoveryDialog"));
    QPushButton* restoreButton = box.addButton(QStringLiteral("&Restore"), QMessageBox::AcceptRole);
    QPushButton* originalButton =
        box.addButton(QStringLiteral("&Open Original"), QMessageBox::ActionRole);
    QPushButton* discardButton =
        box.addButton(QStringLiteral("&Discard"), QMessageBox::DestructiveRole);
    originalButton->setEnabled(candidate.projectExists);
    box.setDefaultButton(restoreButton);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == restoreButton) {
        return Choice::Restore;
    }
    if (clicked == originalButton) {
        return Choice::OpenOriginal;
    }
    if (clicked == discardButton) {
        return Choice::Discard;
    }
    return Choice::Later;
}

}  // namespace typeloom::app
