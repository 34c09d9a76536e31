#pragma once

#include <QColor>
#include <QWidget>

namespace typeloom::ui {

// One colour of the editor's palette: a filled box inside a one-pixel frame, red when it is
// the selected colour and light grey otherwise. A click is reported to the panel.
class ColorSwatch : public QWidget {
    Q_OBJECT

  public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);

    QSize sizeHint() const override { return {18, 17}; }

  Q_SIGNALS:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QColor m_color = Qt::white;
    bool m_selected = false;
};

}  // namespace typeloom::ui
