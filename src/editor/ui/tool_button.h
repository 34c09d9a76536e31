#pragma once

#include <QAbstractButton>

#include "editor/ui/tool_art.h"

namespace typeloom::ui {

// A tool button of the character editor: a picture that shows the button held down while it
// is pressed, as active when its tool is the active drawing tool, and at rest otherwise. It
// remembers the keyboard modifiers of the click that triggered it, since Ctrl chooses the
// right side for the column commands.
class ToolButton : public QAbstractButton {
    Q_OBJECT

  public:
    ToolButton(ToolId id, const QString& toolTip, QWidget* parent = nullptr);

    ToolId id() const { return m_id; }
    // Whether the button's tool is the active drawing tool.
    bool isActiveTool() const { return m_active; }
    void setActiveTool(bool active);
    // The look the button paints now.
    ToolLook look() const;
    // Ctrl was held when the button was last clicked (or activated from the keyboard).
    bool ctrlHeld() const { return m_ctrl; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    ToolId m_id;
    bool m_active = false;
    bool m_ctrl = false;
};

}  // namespace typeloom::ui
