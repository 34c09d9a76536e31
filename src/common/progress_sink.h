#pragma once

#include <string>

#include "common/bulk_data.h"

namespace typeloom {

// The status-bar progress indicator's services, as the core drives them during long walks
// over all characters (loading, rendering, rebuilding tables, exporting). The desktop
// program shows them in its status bar, the command-line tool as a bar on a terminal.
class ProgressSink {
  public:
    virtual ~ProgressSink() = default;

    virtual void show(bool visible) = 0;
    virtual void setRange(int lower, int upper) = 0;
    virtual void setStep(int step) = 0;
    virtual void stepIt() = 0;
    virtual void setText(const std::string& text) = 0;
    // False when the text is thrown away: a walk then spares itself formatting "%d of %d"
    // for every item (65,536 strings for a large font).
    virtual bool showsText() const { return true; }
};

// Ignores everything (a subclass that wants the texts overrides showsText() too).
class NullProgressSink : public ProgressSink {
  public:
    void show(bool) override {}
    void setRange(int, int) override {}
    void setStep(int) override {}
    void stepIt() override {}
    void setText(const std::string&) override {}
    bool showsText() const override { return false; }
};

// The text shown when no operation is running.
inline constexpr const char* kIdleStatusText = "For Help, press F1";

// Runs a "%d of %d" progress over `total` items: shows the indicator on construction when
// the walk is long enough to need one, steps it, and hides it again with the idle text.
class ProgressRun {
  public:
    ProgressRun(ProgressSink& sink, int total, bool visible = true);
    ~ProgressRun();
    ProgressRun(const ProgressRun&) = delete;
    ProgressRun& operator=(const ProgressRun&) = delete;

    // Advances by one item and updates the "%d of %d" text. Inline, as walks over tens of
    // thousands of items call it for each, mostly with the indicator hidden.
    void step() {
        ++m_done;
        if (m_visible) {
            showStep();
        }
    }

  private:
    void showStep();

    ProgressSink& m_sink;
    int m_total;
    int m_done = 0;
    bool m_visible;
};

}  // namespace typeloom
