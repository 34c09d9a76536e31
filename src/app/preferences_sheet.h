#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

class QTabWidget;

namespace typeloom {
class SettingsStore;
}
namespace typeloom::ui {
class OptionPage;
class ExportOptionsPage;
class CompilerPage;
}  // namespace typeloom::ui

namespace typeloom::app {

class GeneralPage;

// "Preferences" (Options menu, Ctrl+U): a modal sheet of three pages in this order,
// "General" (GeneralPage), "Typeloom Studio 3.0 Format" (ExportOptionsPage) and "C99 compatible
// compiler" (CompilerPage), with OK and Cancel and no Apply. OK saves the pages in that
// order; Cancel saves nothing. The pages' help requests come out of helpRequested().
//
// Object names: tabs, buttonOk, buttonCancel.
class PreferencesSheet : public QDialog {
    Q_OBJECT

  public:
    explicit PreferencesSheet(SettingsStore& settings, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return m_tabs; }
    GeneralPage* preferPage() const { return m_prefer; }
    ui::ExportOptionsPage* exportPage() const { return m_export; }
    ui::CompilerPage* c99Page() const { return m_c99; }

    void accept() override;

  signals:
    void helpRequested(const QString& topic);

  private:
    // The pages in the order of their tabs.
    std::array<ui::OptionPage*, 3> pages() const;

    QTabWidget* m_tabs;
    GeneralPage* m_prefer;
    ui::ExportOptionsPage* m_export;
    ui::CompilerPage* m_c99;
};

// Shows the sheet modally; `showHelp` (when given) opens the help topic a page asks for.
void openPreferences(QWidget* parent, SettingsStore& settings,
                     const std::function<void(const QString& topic)>& showHelp = {});

}  // namespace typeloom::app
