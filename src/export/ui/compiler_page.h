#pragma once

#include "common/ui/option_page.h"

class QCheckBox;

namespace typeloom::ui {

// The preferences page "C99 compatible compiler": its one check box sets bit 0x20 of
// "Pages option" (the General C file written with extra braces). Read when the page is first
// shown; apply() rewrites bit 0x20 only and writes only a changed value. A page that was
// never shown applies nothing.
//
// Object names: checkC99Braces, buttonHelp.
class CompilerPage : public OptionPage {
    Q_OBJECT

  public:
    explicit CompilerPage(SettingsStore& settings, QWidget* parent = nullptr);

  protected:
    void loadValues() override;
    void applyValues() override;

  private:
    QCheckBox* m_braces;
};

}  // namespace typeloom::ui
