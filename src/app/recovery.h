#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class QLockFile;

namespace typeloom {
class FontSnapshot;
}

namespace typeloom::app {

class StudioApp;

// The folder of the recovery copies: "$XDG_STATE_HOME/typeloom-studio/recovery", with
// "~/.local/state" when XDG_STATE_HOME is unset or not an absolute path. Under Qt's test mode
// the base is "~/.qttest/state", so that test runs never meet the user's copies.
QString defaultRecoveryFolder();

// What the side file of a recovery copy ("<id>.info" beside "<id>.tlf") records: the project
// the copy belongs to, when it was written and by which running program.
struct RecoveryInfo {
    QString project;  // absolute path; empty for a document never saved
    QDateTime saved;  // UTC
    qint64 pid = 0;
    QString instance;
};
QByteArray recoveryInfoText(const RecoveryInfo& info);
// nullopt when the text is not a side file (damaged or foreign).
std::optional<RecoveryInfo> parseRecoveryInfo(const QByteArray& text);

// Writes recovery copies on a thread of its own, so the editor pays only for the snapshot.
// At most one job waits while one is written: a newer request replaces the waiting one, so
// memory stays bounded at two snapshots whatever the pace of the requests. Jobs run in order,
// so a removal asked after a write removes what the write left.
class RecoveryWriter {
  public:
    // Called on the writer's thread with the error of a failed job.
    explicit RecoveryWriter(std::function<void(const std::string&)> onError);
    ~RecoveryWriter();  // finishes the job in hand and the waiting one
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void write(std::unique_ptr<FontSnapshot> snapshot, std::string copyPath, std::string infoPath,
               std::string infoText);
    void remove(std::string copyPath, std::string infoPath);
    // Returns once no job waits or runs.
    void waitIdle();

  private:
    struct Job {
        std::unique_ptr<FontSnapshot> snapshot;  // nullptr: remove the files
        std::string copyPath;
        std::string infoPath;
        std::string infoText;
    };
    void post(Job job);
    void run();
    void perform(Job& job);

    std::function<void(const std::string&)> m_onError;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<Job> m_pending;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_thread;
};

// A recovery copy found at start-up whose program is gone. Its lock is held while it is
// offered, so that a second program starting at the same time cannot offer it too.
struct RecoveryCandidate {
    QString id;
    QString copyPath;
    QString infoPath;
    RecoveryInfo info;
    QDateTime written;  // when the copy was last written
    bool projectExists = false;
    std::shared_ptr<QLockFile> lock;
};

// Crash recovery of the document: while it has unsaved changes, a copy in the project layout
// is written after 30 seconds without input and after every font-wide command; saving it,
// going back to its saved state, opening another or closing it removes the copy. At start-up
// the copies of programs that ended without removing theirs are offered back.
class RecoveryManager : public QObject {
    Q_OBJECT

  public:
    static constexpr int kIdleMs = 30'000;
    // Continuous work without such a pause still gets a copy this often.
    static constexpr qint64 kLongestWorkMs = 120'000;

    RecoveryManager(StudioApp& app, QString folder);
    ~RecoveryManager() override;  // an orderly end removes the copy

    const QString& folder() const { return m_folder; }
    // The pause after which a copy is written (kIdleMs; shorter in tests).
    void setIdleInterval(int ms) { m_idle.setInterval(ms); }
    QString copyPath() const;
    QString infoPath() const;

    // Takes a snapshot of the font (with the glyph on screen) and hands it to the writer, when
    // the document has unsaved changes.
    void saveCopy();
    // The same once control is back in the event loop, so a burst of requests (a walk through
    // the history) takes one snapshot.
    void saveCopySoon();
    void removeCopy();
    // Waits until the writer has written or removed everything asked (tests, the end).
    void waitForWriter();

    // --- Start-up
    enum class Choice {
        Restore,       // the copy becomes the document, modified, bound to its project
        OpenOriginal,  // the project is opened as last saved; the copy stays
        Discard,       // the copy is deleted
        Later,         // nothing chosen (the dialog was closed by the program): the copy stays
    };
    // The question asked for each copy; replaceable by tests.
    std::function<Choice(const RecoveryCandidate&)> prompt;
    // Reports damaged recovery files (their names and what is wrong); replaceable by tests.
    std::function<void(const QString& text)> reportDamaged;
    // Finds the copies of programs that are gone: removes those older than their project,
    // reports damaged ones (left as they are), and offers the others, newest first, until one
    // is restored or its project opened. True when the document was replaced that way.
    bool offerAtStart();

    // The question's text for a copy (the dialog and the tests).
    static QString promptText(const RecoveryCandidate& candidate);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool ensureLock();
    void scan(std::vector<RecoveryCandidate>& offers, QStringList& damaged);
    bool restore(RecoveryCandidate& candidate);
    void removeFiles(const RecoveryCandidate& candidate);
    Choice askWithDialog(const RecoveryCandidate& candidate);
    void showWriteError(const QString& text);

    StudioApp& m_app;
    QString m_folder;
    QString m_id;  // this program's copy: "<id>.tlf", "<id>.info", "<id>.lock"
    std::shared_ptr<QLockFile> m_lock;
    QTimer m_idle;
    QElapsedTimer m_sinceCopy;
    bool m_copyDue = false;
    bool m_errorShown = false;
    std::unique_ptr<RecoveryWriter> m_writer;
};

}  // namespace typeloom::app
