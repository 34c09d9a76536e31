#include "app/recent_files.h"

#include <QFileInfo>
#include <QSettings>

#include "app/settings_keys.h"

namespace typeloom::app {

namespace {

bool samePath(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

}  // namespace

void RecentFileList::add(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (samePath(m_entries[i], path)) {
            m_entries.removeAt(i);
            break;
        }
    }
    m_entries.prepend(path);
    while (m_entries.size() > m_size) {
        m_entries.removeLast();
    }
}

void RecentFileList::remove(int index) {
    if (index >= 0 && index < m_entries.size()) {
        m_entries.removeAt(index);
    }
}

void RecentFileList::load(QSettings& settings) {
    m_entries.clear();
    settings.beginGroup(QString::fromLatin1(kRecentFilesGroup));
    for (int i = 1; i <= m_size; ++i) {
        QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty()) {
            m_entries.append(path);
        }
    }
    settings.endGroup();
}

void RecentFileList::save(QSettings& settings) const {
    settings.beginGroup(QString::fromLatin1(kRecentFilesGroup));
    settings.remove(QString());
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        settings.setValue(QStringLiteral("File%1").arg(i + 1), m_entries[i]);
    }
    settings.endGroup();
}

QString RecentFileList::takeMostRecentProject() {
    while (!m_entries.isEmpty()) {
        const QString& first = m_entries.first();
        if (first.size() > 4 &&
            first.right(4).compare(QStringLiteral(".tlf"), Qt::CaseInsensitive) == 0) {
            return first;
        }
        m_entries.removeFirst();
    }
    return {};
}

}  // namespace typeloom::app
