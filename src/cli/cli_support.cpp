#include "cli/cli_support.h"

#include <unistd.h>

#include <cstdio>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "common/progress_sink.h"
#include "export/controller_presets.h"
#include "export/data_format.h"
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

std::uint32_t parseWord(const std::string& text, const char* option) {
    auto v = parseNumber(text);
    if (!v || *v > 0xFFFFFFFFul) {
        throw UsageError{std::string(option) + " takes a number such as 0x01121110"};
    }
    return static_cast<std::uint32_t>(*v);
}

std::uint32_t applyLayoutOptions(const Arguments& a, std::uint32_t word) {
    using namespace typeloom::exporters;
    if (auto w = a.value("--data-format")) {
        word = parseWord(*w, "--data-format");
    }
    // A preset sets the layout; the single options after it may still change a part of it.
    if (auto name = a.value("--preset")) {
        const ControllerPreset* preset = findControllerPreset(*name);
        if (preset == nullptr) {
            std::string names;
            for (const ControllerPreset& known : controllerPresets()) {
                names += names.empty() ? "" : ", ";
                names += known.name;
            }
            throw UsageError{"unknown preset '" + *name + "' (presets: " + names + ")"};
        }
        word = applyControllerPreset(word, *preset);
    }
    auto choose = [&](const char* option, const char* on, const char* off, std::uint32_t bit) {
        if (auto v = a.value(option)) {
            if (*v == on) {
                word |= bit;
            } else if (*v == off) {
                word &= ~bit;
            } else {
                throw UsageError{std::string(option) + " takes " + on + " or " + off};
            }
        }
    };
    choose("--bit-order", "msb", "lsb", kBigEndian);
    choose("--scan", "row", "column", kScanRow);
    choose("--prefer", "row", "column", kPreferRow);
    if (a.has("--packed")) {
        word |= kPacked;
    }
    if (a.has("--unpacked")) {
        word &= ~kPacked;
    }
    if (a.has("--invert")) {
        word |= kInvert;
    }
    if (a.has("--no-invert")) {
        word &= ~kInvert;
    }
    if (auto u = a.value("--unit")) {
        if (*u != "8" && *u != "16" && *u != "32") {
            throw UsageError{"--unit takes 8, 16 or 32"};
        }
        word = withUnitBits(word, std::stoi(*u));
    }
    return word;
}

}  // namespace typeloom::cli

namespace typeloom::cli {

std::vector<CodeRange> parseCodeRanges(const std::string& text, std::uint16_t maxCode,
                                       const std::string& option) {
    if (text == "all") {
        return {{0, maxCode}};
    }
    std::vector<CodeRange> ranges;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const std::size_t dash = item.find('-');
        const std::string firstText = item.substr(0, dash);
        const std::string lastText = dash == std::string::npos ? firstText : item.substr(dash + 1);
        const std::optional<unsigned long> first = parseNumber(firstText);
        const std::optional<unsigned long> last = parseNumber(lastText);
        if (!first || !last) {
            throw UsageError{option + " takes code ranges like 0x20-0x7E,0xA0-0xFF; \"" + item +
                             "\" is not one"};
        }
        if (*first > *last) {
            throw UsageError{option + ": the first code of " + item + " is above its last"};
        }
        if (*last > maxCode) {
            throw UsageError{option + ": " + item + " goes beyond the encoding's last code " +
                             hex4(maxCode)};
        }
        ranges.push_back({static_cast<std::uint16_t>(*first), static_cast<std::uint16_t>(*last)});
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return ranges;
}

std::string formatCodeRanges(const std::vector<std::uint16_t>& ascendingCodes) {
    std::string text;
    for (std::size_t i = 0; i < ascendingCodes.size();) {
        std::size_t j = i;
        while (j + 1 < ascendingCodes.size() && ascendingCodes[j + 1] == ascendingCodes[j] + 1) {
            ++j;
        }
        if (!text.empty()) {
            text += ", ";
        }
        text += hex4(ascendingCodes[i]);
        if (j > i) {
            text += "-" + hex4(ascendingCodes[j]);
        }
        i = j + 1;
    }
    return text;
}

}  // namespace typeloom::cli
