#include "common/progress_sink.h"

namespace typeloom {

ProgressRun::ProgressRun(ProgressSink& sink, int total, bool visible)
    : m_sink(sink), m_total(total), m_visible(visible) {
    if (m_visible) {
        m_sink.show(true);
        m_sink.setRange(0, total);
        m_sink.setStep(1);
    }
}

ProgressRun::~ProgressRun() {
    if (m_visible) {
        m_sink.show(false);
        m_sink.setText(kIdleStatusText);
    }
}

// Called for every item of a walk: left out of the fuzz builds' coverage tracing as the walks
// are.
TYPELOOM_BULK_DATA void ProgressRun::showStep() {
    m_sink.stepIt();
    if (m_sink.showsText()) {
        m_sink.setText(std::to_string(m_done) + " of " + std::to_string(m_total));
    }
}

}  // namespace typeloom
