#include "cli/cli_support.h"

#include <unistd.h>

#include <cstdio>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "common/progress_sink.h"
#include "model/font.h"
#include "model/project_file.h"

namespace typeloom::cli {

namespace {

// Draws "N of M" over itself on a terminal while a long walk runs.
class TerminalProgress : public ProgressSink {
  public:
    explicit TerminalProgress(std::ostream& err) : m_err(err) {}
    void show(bool visible) override {
        if (!visible && m_drawn) {
            m_err << "\r\033[K" << std::flush;
            m_drawn = false;
        }
    }
    void setRange(int, int upper) override { m_upper = upper; }
    void setStep(int) override {}
    void stepIt() override {}
    void setText(const std::string& text) override {
        // Short walks finish before a bar would be seen.
        if (text == kIdleStatusText || m_upper < 1000) {
            return;
        }
        m_err << "\r" << text << std::flush;
        m_drawn = true;
    }

  private:
    std::ostream& m_err;
    int m_upper = 0;
    bool m_drawn = false;
};

}  // namespace

std::unique_ptr<ProgressSink> progressFor(std::ostream& err) {
    if (&err == &std::cerr && isatty(fileno(stderr))) {
        return std::make_unique<TerminalProgress>(err);
    }
    return std::make_unique<NullProgressSink>();
}

bool loadFontFile(const std::string& path, Font& font, std::ostream& err,
                  std::uint16_t* layoutVersion) {
    auto progress = progressFor(err);
    ProjectLoadResult result = loadProject(path, font, *progress);
    if (!result.ok()) {
        err << "typeloom: " << path << ": " << result.message << "\n";
        return false;
    }
    if (layoutVersion != nullptr) {
        *layoutVersion = result.version;
    }
    return true;
}

std::string hex4(int value) {
    std::ostringstream s;
    s << "0x" << std::uppercase << std::hex << std::setw(4) << std::setfill('0') << value;
    return s.str();
}

}  // namespace typeloom::cli
