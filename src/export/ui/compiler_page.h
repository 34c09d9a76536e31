#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;

namespace typeloom {
class SettingsStore;
}

namespace typeloom::ui {

// The preferences page "C99 compatible compiler": its one check box sets bit 0x20 of
// "Pages option" (the General C file written with extra braces). Read when the page is first
// shown; apply() rewrites bit 0x20 only and writes only a changed value. A page that was
// never shown applies nothing.
//
// Object names: checkC99Braces, buttonHelp.
class CompilerPage : public QWidget {
    Q_OBJECT

  public:
    explicit CompilerPage(SettingsStore& settings, QWidget* parent = nullptr);

    static QString caption() { return QStringLiteral("C99 compatible compiler"); }

    void load();
    bool isLoaded() const { return m_loaded; }
    void apply();

  signals:
    void helpRequested(const QString& topic);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    SettingsStore& m_settings;
    bool m_loaded = false;
    QCheckBox* m_braces;
};

}  // namespace typeloom::ui
