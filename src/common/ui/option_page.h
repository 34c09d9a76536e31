#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QHBoxLayout;
class QPushButton;

namespace typeloom {
class SettingsStore;
}

namespace typeloom::ui {

// A page of the Preferences sheet, kept in a settings store. The page reads its values from
// the store when it is first shown (or when load() is called) and never again, so that what
// the user changed survives switching tabs. apply() writes the values back, and does nothing
// for a page that was never loaded: a tab the user never opened cannot overwrite settings with
// the defaults of its controls.
class OptionPage : public QWidget {
    Q_OBJECT

  public:
    // The caption of the page's tab.
    const QString& caption() const { return m_caption; }

    void load();
    bool isLoaded() const { return m_loaded; }
    void apply();

  Q_SIGNALS:
    // The page's "&Help" button asks for a help topic.
    void helpRequested(const QString& topic);

  protected:
    OptionPage(SettingsStore& settings, QString caption, QWidget* parent);

    SettingsStore& settings() const { return m_settings; }

    // Shows the stored values in the controls.
    virtual void loadValues() = 0;
    // Writes the controls' values to the store; called only for a loaded page.
    virtual void applyValues() = 0;

    // A row with a "&Help" button (object name "buttonHelp") at its right end that asks for
    // `topic`.
    QHBoxLayout* createHelpRow(const QString& topic);
    // A check box known by an object name, its text given in Latin-1.
    static QCheckBox* createCheckBox(QWidget* parent, const char* name, const char* text);

    void showEvent(QShowEvent* event) override;

  private:
    SettingsStore& m_settings;
    QString m_caption;
    bool m_loaded = false;
};

}  // namespace typeloom::ui
