#include "app/progress_status_bar.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>

namespace typeloom::app {

namespace {
constexpr int kInitialPaneWidths[4] = {100, 100, 100, 140};
}

ProgressStatusBar::ProgressStatusBar(QWidget* parent)
    : QStatusBar(parent), m_label(new QLabel(this)), m_bar(new QProgressBar(this)) {
    for (int i = 0; i < 4; ++i) {
        m_panes[i] = new QLabel(this);
        m_panes[i]->setMinimumWidth(kInitialPaneWidths[i]);
        m_panes[i]->setAlignment(Qt::AlignCenter);
        addPermanentWidget(m_panes[i]);
    }
    m_bar->setTextVisible(false);
    m_label->hide();
    m_bar->hide();
    showMessage(QString::fromLatin1(kIdleStatusText));
}

void ProgressStatusBar::show(bool visible) {
    if (visible && m_bar->isHidden()) {
        m_label->show();
        m_bar->show();
        m_label->raise();
        m_bar->raise();
        placeProgress();
    } else {
        m_label->hide();
        m_bar->hide();
    }
}

void ProgressStatusBar::setRange(int lower, int upper) {
    m_bar->setRange(lower, upper);
    m_bar->setValue(lower);
}

void ProgressStatusBar::setStep(int step) {
    m_step = step;
}

void ProgressStatusBar::stepIt() {
    int next = m_bar->value() + m_step;
    // The indicator wraps to the start past its end, as a step bar does.
    if (next > m_bar->maximum()) {
        next = m_bar->minimum();
    }
    m_bar->setValue(next);
    // Long walks run on this thread and no events are processed meanwhile (that would let
    // other commands run in the middle of a load): the bar paints itself at once, about a
    // hundred times per walk.
    const int span = std::max(1, m_bar->maximum() - m_bar->minimum());
    const int percent = static_cast<int>(100LL * (next - m_bar->minimum()) / span);
    if (percent != m_lastPercent && !m_bar->isHidden()) {
        m_lastPercent = percent;
        m_bar->repaint();
    }
}

void ProgressStatusBar::setText(const std::string& text) {
    const QString qtext = QString::fromStdString(text);
    if (qtext == QLatin1String(kIdleStatusText)) {
        showMessage(qtext);
    }
    m_label->setText(qtext);
    if (!m_label->isHidden() && m_lastPercent != m_lastLabelPercent) {
        m_lastLabelPercent = m_lastPercent;
        m_label->repaint();
    }
}

bool ProgressStatusBar::progressVisible() const {
    return !m_bar->isHidden();
}

void ProgressStatusBar::setPaneText(int pane, const QString& text) {
    if (pane < 1 || pane > 4) {
        return;
    }
    QLabel* label = m_panes[pane - 1];
    if (label->text() != text) {
        label->setText(text);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text));
    }
}

QString ProgressStatusBar::paneText(int pane) const {
    return pane >= 1 && pane <= 4 ? m_panes[pane - 1]->text() : QString();
}

void ProgressStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    placeProgress();
}

void ProgressStatusBar::placeProgress() {
    const QFontMetrics metrics = fontMetrics();
    const int textHeight = metrics.height() + metrics.leading();
    m_label->setGeometry(0, (height() - textHeight) / 2, 120, textHeight);
    m_bar->setGeometry(120, 2, 211, std::max(1, height() - 3));
}

}  // namespace typeloom::app
