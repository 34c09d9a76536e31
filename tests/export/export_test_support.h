#pragma once

// Shared by the writer tests: small fonts with hand-known pixels, a settings store with the
// export options, and a way to compile generated C with the host compiler and run it.

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "common/cancel_flag.h"
#include "common/progress_sink.h"
#include "common/settings_store.h"
#include "export/export_driver.h"
#include "model/font.h"

namespace typeloom::exporters {

// Test messages name a format by its number.
inline std::ostream& operator<<(std::ostream& out, ExportFormat format) {
    return out << static_cast<int>(format);
}

}  // namespace typeloom::exporters

namespace typeloom::exporters::test {

// Fixed width 5, height 7, encoding 0, codes 0x41..0x43 ('A' 'B' 'C'). Pixel (x, y) of
// character i is set when (x + y + i) % 3 == 0.
Font fixedFont();
// Variable width, height 4, encoding 0, codes 0x20, 0x21, 0x30, 0x31 (a gap after 0x21);
// widths 2, 1, 9, 0 (the last character is empty). Pixel (x, y) of character i is set when
// (x * 3 + y + i) % 4 == 0.
Font variableFont();
// Unicode font, fixed width 3, height 5, characters U+0041, U+00E9, U+4E00.
Font unicodeFont();

// A progress sink that requests the cancel at its `at`-th call, whatever the call is, so a
// test can cancel an export at every point where it reports progress.
class CancellingSink : public ProgressSink {
  public:
    CancellingSink(CancelFlag& flag, int at) : m_flag(flag), m_at(at) {}
    void show(bool) override { tick(); }
    void setRange(int, int) override { tick(); }
    void setStep(int) override { tick(); }
    void stepIt() override { tick(); }
    void setText(const std::string&) override { tick(); }
    int calls() const { return m_calls; }

  private:
    void tick() {
        if (++m_calls == m_at) {
            m_flag.requestCancel();
        }
    }
    CancelFlag& m_flag;
    int m_at;
    int m_calls = 0;
};

// The settings the writers read ("Pages option") with the given value.
MemorySettingsStore settingsWithPages(int pages);

// The pixel of a glyph of the font (0 when the character has no glyph).
int pixelOf(const Font& font, std::uint16_t unicode, int x, int y);

// The lines of a text whose every line ends with CR LF, as the export stream writes them; text
// after the last line end fails the calling test.
std::vector<std::string> crlfLines(const std::string& text);

struct CompileResult {
    bool compiled = false;
    std::string diagnostics;  // compiler output when it failed
    int exitStatus = -1;
    std::string output;  // what the program printed
};

// Writes the files into a temporary folder, compiles every *.c file among them with the host
// C compiler (cc -std=c99 -Wall -Werror and `flags`), runs the program and returns what it
// printed.
CompileResult compileAndRun(const std::vector<std::pair<std::string, std::string>>& files,
                            const std::string& flags = "");

struct ObjectResult {
    bool compiled = false;
    std::string diagnostics;   // compiler output, warnings included
    std::string symbols;       // the object's defined external symbols (nm), one a line
    std::string preprocessed;  // the source after the preprocessor: comments gone
};

// Writes the files into a temporary folder and compiles `source`, one of them, to an object
// with the host compiler: `cc -c` and `flags` alone (the caller chooses the language, the
// standard and the warnings), the folder on the include path.
ObjectResult compileObject(const std::vector<std::pair<std::string, std::string>>& files,
                           const std::string& source, const std::string& flags);

}  // namespace typeloom::exporters::test
