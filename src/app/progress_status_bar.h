#pragma once

#include <QStatusBar>

#include "common/progress_sink.h"

class QLabel;
class QProgressBar;

namespace typeloom::app {

// The status bar: the message pane, four indicator panes sized to their text, and the
// progress label and bar that long walks over all characters drive (the desktop program's
// ProgressSink). The label sits at x 0..119 and the bar at x 120..330.
class ProgressStatusBar : public QStatusBar, public ProgressSink {
    Q_OBJECT

  public:
    explicit ProgressStatusBar(QWidget* parent = nullptr);

    // ProgressSink. show(true) shows label and bar only when the bar is hidden; every other
    // call hides both.
    void show(bool visible) override;
    void setRange(int lower, int upper) override;
    void setStep(int step) override;
    void stepIt() override;
    void setText(const std::string& text) override;

    bool progressVisible() const;
    QLabel* progressLabel() const { return m_label; }
    QProgressBar* progressBar() const { return m_bar; }

    // Panes 1..4 (" Bpp: %d ", "Encoding: ...", the pitch text, " Characters: %d ").
    void setPaneText(int pane, const QString& text);
    QString paneText(int pane) const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void placeProgress();

    QLabel* m_label;
    QProgressBar* m_bar;
    QLabel* m_panes[4];
    int m_step = 1;
    int m_lastPercent = -1;
    int m_lastLabelPercent = -1;
};

}  // namespace typeloom::app
