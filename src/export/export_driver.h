#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/cancel_flag.h"
#include "export/bitmap_encoder.h"
#include "export/create_time.h"
#include "export/export_stream.h"

namespace typeloom {
class Font;
class ProgressSink;
class SettingsStore;
}  // namespace typeloom

namespace typeloom::exporters {

// Export formats. The numbers are the ids of the menu commands that start them and the ids
// the command line accepts in place of a format's name, so they never change.
enum class ExportFormat : int {
    Hex = 32840,
    V2C = 32841,
    V2Asm = 32842,
    V2Dat = 32843,
    TableC = 32844,
    TableAsm = 32845,
    TableBin = 32846,
    StudioC = 32847,    // same output as TableC
    StudioAsm = 32848,  // same output as TableAsm
    StudioDat = 32849,  // same output as TableBin
    GeneralC = 32850,
    GeneralBin = 32851,
    MicrochipC = 32852,
    MicrochipBin = 32853,
};

struct FormatInfo {
    ExportFormat id;
    const char* shortName;  // the command-line name ("table-c", ...)
    const char* filter;     // save-file dialog filter
    const char* extension;  // default extension, without the dot
    const char* prompt;     // status-bar prompt
};

// Every format, in id order.
const std::vector<FormatInfo>& exportFormats();
// The format of a number (a menu command id, an id typed on the command line); nullptr when no
// format has it.
const FormatInfo* findFormat(int id);
const FormatInfo* findFormat(std::string_view shortName);

// Settings the exporters keep under "Settings".
inline constexpr const char* kPagesOptionKey = "Pages option";
inline constexpr int kPagesOptionDefault = 111;  // 0x6F
inline constexpr const char* kFontOutKey = "FontOut";

// Bits of "Pages option".
inline constexpr int kPageDataTable = 0x01;  // always on
inline constexpr int kPageOffsetTable = 0x02;
inline constexpr int kPageWidthTable = 0x04;
inline constexpr int kPageAsciiIndexTable = 0x08;
inline constexpr int kPageUcharData = 0x10;  // data table declared as UCHAR whatever the length
inline constexpr int kPageC99Braces = 0x20;
inline constexpr int kPageExtendedIndexTable = 0x40;

int pagesOption(const SettingsStore& settings);

// The "Export Bitmap Data" dialog's last choice ("FontOut"): the radio index 0..6 in the high
// byte (absent: 3; a stored index above 6: 0) and whether the advanced part was open in bit 0.
struct ExportDialogChoice {
    int radioIndex = 3;
    bool advancedOpen = false;
};
ExportDialogChoice exportDialogChoice(const SettingsStore& settings);
void storeExportDialogChoice(SettingsStore& settings, const ExportDialogChoice& choice);
// The format a radio of the dialog exports: 0..6 give StudioC..MicrochipBin (32847..32853);
// nullopt for any other index.
std::optional<ExportFormat> formatOfExportRadio(int radioIndex);

// Options of the Intel HEX writer that its dialogs ask for.
struct HexOptions {
    std::uint32_t startAddress = 0;
    // The answer to the width warning when characters are wider than 16 pixels: true ("Yes")
    // leaves them out, false ("No") ends the export without a file.
    bool skipWide = true;
};

// Everything a writer gets for one run.
struct ExportContext {
    ExportContext(const Font& f, BitmapEncoder& e, ExportStream& o, const CancelFlag& cancel,
                  ProgressSink& p, const SettingsStore& s, std::string identifier)
        : font(f),
          encoder(e),
          out(o),
          cancelFlag(cancel),
          progress(p),
          settings(s),
          identifierBase(std::move(identifier)) {}

    const Font& font;
    BitmapEncoder& encoder;
    ExportStream& out;
    const CancelFlag& cancelFlag;
    ProgressSink& progress;
    const SettingsStore& settings;
    std::string identifierBase;  // "font" + the output file's title up to its first '.'
    CreateTime now;              // the "Create time" of headers
    HexOptions hex;

    bool cancelled() const { return cancelFlag.cancelled(); }
    int pages() const { return pagesOption(settings); }
};

// A writer returns false when it was cancelled (or cannot write the font).
using WriterFunction = bool (*)(ExportContext&);
WriterFunction writerFor(ExportFormat format);

// The opening every writer shares: encodes every character of the font in the font's order
// with the traversal `traversal` (-1: the one of the font's data-format word); `offsets`
// gets count + 1 entries, 0 and then the running total of units after each character. False
// when the run was cancelled during the encoding or right after it.
bool encodeForExport(ExportContext& context, std::vector<std::uint32_t>& offsets,
                     std::int64_t traversal = -1);
// The same for the formats that refuse a font without characters (all but Intel HEX): an
// empty font has no data table, no first or last code, nothing valid to declare or to read
// back, so it gives false without encoding.
bool beginExport(ExportContext& context, std::vector<std::uint32_t>& offsets);

// "%s%dh" from the font's name (spaces and '-' as '_') and height, plus "AA%d" for fonts of
// more than 1 bit per pixel whose name does not already end in it.
std::string suggestedExportName(const Font& font);
// "font" followed by the file's name cut at its first '.': x/y/Small_Font12h.c gives
// fontSmall_Font12h.
std::string identifierBase(const std::string& path);

// The "Create time" of generated files: "%H:%M %m-%d-%Y" in the time's zone; empty when the date
// is omitted.
std::string createTimeText(const CreateTime& now);

// True when an export of the font runs on the worker thread with the progress window: more
// than 499 characters, or more than 99 at a height of 50 or more.
bool needsProgressWindow(const Font& font);

// The boxed comment at the top of C and assembler files (every line 80 characters but the
// last, each prefixed by ';' in assembler).
void writeHeaderComment(ExportStream& out, bool assembler, const Font& font, const CreateTime& now);

struct ExportRequest {
    std::string path;
    ExportFormat format{};
    CreateTime now;  // a local time of 0: the current time
    HexOptions hex;
};

struct ExportResult {
    enum class Status { Written, Cancelled, Failed };
    Status status = Status::Written;
    std::string message;  // for Failed
    bool ok() const { return status == Status::Written; }
};

// Runs one export: encodes the font and writes the format to a temporary file that replaces
// `request.path` only when the writer finished. A cancelled or failed run leaves no file and
// any earlier file at the path as it was.
ExportResult runExport(const Font& font, const SettingsStore& settings,
                       const ExportRequest& request, const CancelFlag& cancelFlag,
                       ProgressSink& progress);

// The same into memory (the character data panel and tests); nullopt when cancelled or the
// format is unknown.
std::optional<std::string> exportToMemory(const Font& font, const SettingsStore& settings,
                                          ExportFormat format, const std::string& identifier,
                                          const CreateTime& now, const HexOptions& hex = {});

// An export on a worker thread that another thread can cancel (the "Exporting..." window).
// The font and settings must not change until the job has finished.
class ExportJob {
  public:
    ExportJob(const Font& font, const SettingsStore& settings, ExportRequest request);
    ~ExportJob();
    ExportJob(const ExportJob&) = delete;
    ExportJob& operator=(const ExportJob&) = delete;

    void start();
    void cancel() { m_cancel.requestCancel(); }
    bool finished() const { return m_finished.load(); }
    // Waits for the worker and returns its result.
    ExportResult wait();

  private:
    const Font& m_font;
    const SettingsStore& m_settings;
    ExportRequest m_request;
    CancelFlag m_cancel;
    std::atomic<bool> m_finished{false};
    ExportResult m_result;
    std::thread m_thread;
};

}  // namespace typeloom::exporters
