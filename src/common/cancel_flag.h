#pragma once

#include <atomic>

namespace typeloom {

// Whether the user has asked a long run (an export) to stop. Any thread may request the
// cancel at any time; the run reads the flag at its checkpoints and, once it is set, ends
// without a result. A new flag is not cancelled.
class CancelFlag {
  public:
    CancelFlag() = default;
    CancelFlag(const CancelFlag&) = delete;
    CancelFlag& operator=(const CancelFlag&) = delete;

    void requestCancel() { m_requested.store(true); }
    // Forgets an earlier request, before the flag serves a new run.
    void reset() { m_requested.store(false); }
    // Read at every checkpoint of a run: no ordering beyond the flag itself is needed.
    bool cancelled() const { return m_requested.load(std::memory_order_relaxed); }

  private:
    std::atomic<bool> m_requested{false};
};

}  // namespace typeloom
