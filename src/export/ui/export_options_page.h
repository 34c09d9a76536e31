#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QRadioButton;

namespace typeloom {
class SettingsStore;
}

namespace typeloom::ui {

// The preferences page "Typeloom Studio 3.0 Format": which tables the table-based
// exports write and the type of their data table, kept in "Pages option". The values are
// read when the page is first shown; apply() rewrites bits 0x01 (always set), 0x02, 0x04,
// 0x08, 0x10 and 0x40, keeps every other bit, and writes only a changed value. A page that
// was never shown applies nothing.
//
// Object names: checkDataTable (checked, disabled), checkOffsetTable, checkWidthTable,
// checkAsciiIndexTable, checkExtendedIndexTable, radioUchar (UCHAR), radioByLength (by the data
// length), buttonHelp.
class ExportOptionsPage : public QWidget {
    Q_OBJECT

  public:
    explicit ExportOptionsPage(SettingsStore& settings, QWidget* parent = nullptr);

    static QString caption() { return QStringLiteral("Typeloom Studio 3.0 Format"); }

    void load();
    bool isLoaded() const { return m_loaded; }
    void apply();

  signals:
    // "&Help": the help topic to open.
    void helpRequested(const QString& topic);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    SettingsStore& m_settings;
    bool m_loaded = false;
    QCheckBox* m_offset;
    QCheckBox* m_width;
    QCheckBox* m_asciiIndex;
    QCheckBox* m_extendedIndex;
    QRadioButton* m_uchar;
    QRadioButton* m_byLength;
};

}  // namespace typeloom::ui
