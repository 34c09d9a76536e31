#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace typeloom::app {

// The recent-file list: at most four paths, most recent first, kept in the settings group
// "Recent File List" as File1..File4.
class RecentFileList {
  public:
    explicit RecentFileList(int size = 4) : m_size(size) {}

    const QStringList& entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.isEmpty(); }
    // Puts a path first (moving it when listed already) and drops the oldest beyond the size.
    void add(const QString& path);
    void remove(int index);

    void load(QSettings& settings);
    void save(QSettings& settings) const;

    // The most recent project file: the first entry ending in ".tlf" (any case, more than
    // four characters). Entries before it that are not project files are removed for good.
    // Empty when none is left.
    QString takeMostRecentProject();

  private:
    int m_size;
    QStringList m_entries;
};

}  // namespace typeloom::app
