#include "app/general_page.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "app/settings_keys.h"
#include "common/settings_store.h"
#include "editor/ui/editor_settings.h"
#include "model/font_settings.h"

namespace typeloom::app {

namespace {

constexpr int kFolderMaxLength = 256;
const char* const kBitmapFolderName = "TLM_bitmaps";
const char* const kBrowseTitle = "Select a folder to save the bitmap files: ";
const char* const kInvalidFolder =
    "The folder path is invalid.\n\nSelect a valid folder or create a new folder, please!";

bool isFolder(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

// `base`/TLM_bitmaps when it exists or can be made, else an empty string.
QString usableFolderIn(const QString& base) {
    if (base.isEmpty()) {
        return {};
    }
    const QString folder = QDir::cleanPath(base + QLatin1Char('/') + kBitmapFolderName);
    if (!isFolder(folder)) {
        QDir().mkpath(folder);
    }
    return isFolder(folder) ? QDir::toNativeSeparators(folder) : QString();
}

QString chooseFolderWithDialog(QWidget* parent, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
}

void warnWithBox(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("Typeloom Studio"), text);
}

bool storedFlag(const SettingsStore& settings, const char* key, int fallback) {
    return settings.integer(kSettingsSection, key, fallback) != 0;
}

// Writes the flag only when it differs (as true or false) from the stored value.
void storeFlag(SettingsStore& settings, const char* key, int fallback, bool value) {
    if (storedFlag(settings, key, fallback) != value) {
        settings.writeInteger(kSettingsSection, key, value ? 1 : 0);
    }
}

}  // namespace

GeneralPage::GeneralPage(SettingsStore& settings, QWidget* parent)
    : OptionPage(settings, QStringLiteral("General"), parent),
      m_documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)),
      m_programFolder(QCoreApplication::applicationDirPath()),
      m_browse(chooseFolderWithDialog),
      m_warn(warnWithBox) {
    auto* group = new QGroupBox(QStringLiteral("Export Bitmap files of all chars"), this);
    m_alwaysAsk = new QRadioButton(QStringLiteral("Always asked the destination folder"), group);
    m_alwaysAsk->setObjectName(QStringLiteral("alwaysAskRadio"));
    m_saveIn = new QRadioButton(QStringLiteral("Save in"), group);
    m_saveIn->setObjectName(QStringLiteral("saveInRadio"));
    m_folder = new QLineEdit(group);
    m_folder->setObjectName(QStringLiteral("folderEdit"));
    m_folder->setMaxLength(kFolderMaxLength);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), group);
    browse->setObjectName(QStringLiteral("browseButton"));
    connect(browse, &QPushButton::clicked, this, &GeneralPage::browse);
    auto* groupLayout = new QGridLayout(group);
    groupLayout->addWidget(m_alwaysAsk, 0, 0, 1, 3);
    groupLayout->addWidget(m_saveIn, 1, 0);
    groupLayout->addWidget(m_folder, 1, 1);
    groupLayout->addWidget(browse, 1, 2);

    m_autoSave = createCheckBox(this, "autoSaveCheck",
                                "Automatically save the changed character before editing another");
    m_autoOpen = createCheckBox(this, "autoOpenCheck",
                                "Automatically open the latest Typeloom (*.tlf) file at startup");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(m_autoSave);
    layout->addWidget(m_autoOpen);
    layout->addStretch();
}

void GeneralPage::setDefaultFolderBases(const QString& documents, const QString& programFolder) {
    m_documents = documents;
    m_programFolder = programFolder;
}

QString GeneralPage::defaultFolder() const {
    QString folder = usableFolderIn(m_documents);
    if (folder.isEmpty()) {
        folder = usableFolderIn(m_programFolder);
    }
    return folder;
}

void GeneralPage::loadValues() {
    const bool autoSave = storedFlag(settings(), ui::kAutoSaveCharKey, ui::kAutoSaveCharDefault);
    const bool autoOpen = storedFlag(settings(), kAutoOpenKey, kAutoOpenDefault);
    bool alwaysAsk = storedFlag(settings(), kAlwaysAskKey, kAlwaysAskDefault);
    QString folder = QString::fromStdString(settings().string(kSettingsSection, kBmpFolderKey, ""));
    if (!isFolder(folder)) {
        folder = defaultFolder();
        if (folder.isEmpty()) {
            alwaysAsk = true;  // no folder to save in: the export asks each time
        }
    }
    m_autoSave->setChecked(autoSave);
    m_autoOpen->setChecked(autoOpen);
    m_alwaysAsk->setChecked(alwaysAsk);
    m_saveIn->setChecked(!alwaysAsk);
    m_folder->setText(folder);
}

void GeneralPage::browse() {
    const QString chosen =
        m_browse ? m_browse(this, QString::fromLatin1(kBrowseTitle), m_folder->text()) : QString();
    if (chosen.isEmpty()) {
        return;  // cancelled: nothing changes
    }
    if (!isFolder(chosen)) {
        if (m_warn) {
            m_warn(this, QString::fromLatin1(kInvalidFolder));
        }
        return;
    }
    m_folder->setText(QDir::toNativeSeparators(chosen));
    m_saveIn->setChecked(true);
}

void GeneralPage::applyValues() {
    storeFlag(settings(), ui::kAutoSaveCharKey, ui::kAutoSaveCharDefault, autoSave());
    storeFlag(settings(), kAutoOpenKey, kAutoOpenDefault, autoOpen());
    storeFlag(settings(), kAlwaysAskKey, kAlwaysAskDefault, alwaysAsk());
    // A folder that does not exist is not stored; the old value stays.
    if (isFolder(folder())) {
        settings().writeString(kSettingsSection, kBmpFolderKey, folder().toStdString());
    }
}

bool GeneralPage::autoSave() const {
    return m_autoSave->isChecked();
}

bool GeneralPage::autoOpen() const {
    return m_autoOpen->isChecked();
}

bool GeneralPage::alwaysAsk() const {
    return m_alwaysAsk->isChecked();
}

QString GeneralPage::folder() const {
    return m_folder->text();
}

}  // namespace typeloom::app
