#include "export/export_driver.h"

#include <cstring>
#include <filesystem>

#include "charset/encodings.h"
#include "common/atomic_file.h"
#include "common/file_error.h"
#include "common/progress_sink.h"
#include "common/settings_store.h"
#include "export/data_format.h"
#include "export/general_format.h"
#include "export/intel_hex.h"
#include "export/microchip_format.h"
#include "export/table_format.h"
#include "export/unit_text.h"
#include "export/version2_format.h"
#include "model/font.h"
#include "model/font_settings.h"
#include "model/project_file.h"

namespace typeloom::exporters {

const std::vector<FormatInfo>& exportFormats() {
    static const std::vector<FormatInfo> formats = {
        {ExportFormat::Hex, "hex", "Intel Hex File (*.hex)|*.hex||", "hex",
         "Export to Hexfile (*.hex)"},
        {ExportFormat::V2C, "v2-c", "C File (*.c) - Typeloom 2.0 format|*.c||", "c",
         "Export C file (*.c) in old Typeloom ver2.0 format"},
        {ExportFormat::V2Asm, "v2-asm", "ASM File (*.asm) - Typeloom 2.0 format|*.asm||", "asm",
         "Export to ASM file (*.asm) in old Typeloom ver2.0 format"},
        {ExportFormat::V2Dat, "v2-dat", "Binary File (*.dat) - Typeloom 2.0 format|*.dat||", "dat",
         "Export to binary file (*.dat) in old Typeloom ver2.0 format"},
        {ExportFormat::TableC, "table-c", "C File (*.c) - Typeloom 3.0 format|*.c||", "c",
         "Export to C file (*.c) in Typeloom ver3.0 format"},
        {ExportFormat::TableAsm, "table-asm", "ASM File (*.asm) - Typeloom 3.0 format|*.asm||",
         "asm", "Export to ASM file (*.asm) in Typeloom ver3.0 format"},
        {ExportFormat::TableBin, "table-bin", "Binary File (*.bin) - Typeloom 3.0 format|*.bin||",
         "bin", "Export to Binary file (*.bin) in Typeloom ver3.0 format"},
        {ExportFormat::StudioC, "studio-c", "C File (*.c) - Typeloom Studio 3.0 format|*.c||", "c",
         "Export to C file (*.c) in old Typeloom Studio ver3.0 format"},
        {ExportFormat::StudioAsm, "studio-asm",
         "ASM File (*.asm) - Typeloom Studio 3.0 format|*.asm||", "asm",
         "Export to ASM file (*.asm) in Typeloom Studio ver3.0 format"},
        {ExportFormat::StudioDat, "studio-dat",
         "Binary File (*.dat) - Typeloom Studio 3.0 format|*.dat||", "dat",
         "Export to binary file (*.dat) in Typeloom Studio ver3.0 format"},
        {ExportFormat::GeneralC, "general-c", "General C File (*.c)|*.c||", "c",
         "Export to general C format file (*.c)"},
        {ExportFormat::GeneralBin, "general-bin", "General Binary File (*.bin)|*.bin||", "bin",
         "Export to general binary format file (*.bin)"},
        {ExportFormat::MicrochipC, "microchip-c", "Microchip C File (*.c)|*.c||", "c",
         "Export to Microchip C format file (*.c)"},
        {ExportFormat::MicrochipBin, "microchip-bin", "Microchip Binary File (*.bin)|*.bin||",
         "bin", "Export to Microchip binary format file (*.bin)"},
    };
    return formats;
}

const FormatInfo* findFormat(int id) {
    for (const FormatInfo& f : exportFormats()) {
        if (static_cast<int>(f.id) == id) {
            return &f;
        }
    }
    return nullptr;
}

const FormatInfo* findFormat(std::string_view shortName) {
    for (const FormatInfo& f : exportFormats()) {
        if (shortName == f.shortName) {
            return &f;
        }
    }
    return nullptr;
}

int pagesOption(const SettingsStore& settings) {
    return static_cast<int>(
        settings.integer(kSettingsSection, kPagesOptionKey, kPagesOptionDefault));
}

ExportDialogChoice exportDialogChoice(const SettingsStore& settings) {
    ExportDialogChoice choice;
    auto stored = settings.readInteger(kSettingsSection, kFontOutKey);
    if (!stored) {
        return choice;  // no choice yet: index 3, the General C file
    }
    const auto value = static_cast<std::uint32_t>(*stored);
    const int index = static_cast<int>((value >> 8) & 0xFF);
    choice.radioIndex = index > 6 ? 0 : index;
    choice.advancedOpen = (value & 1) != 0;
    return choice;
}

void storeExportDialogChoice(SettingsStore& settings, const ExportDialogChoice& choice) {
    settings.writeInteger(kSettingsSection, kFontOutKey,
                          (choice.radioIndex << 8) | (choice.advancedOpen ? 1 : 0));
}

std::optional<ExportFormat> formatOfExportRadio(int radioIndex) {
    if (radioIndex < 0 || radioIndex > 6) {
        return std::nullopt;
    }
    return static_cast<ExportFormat>(static_cast<int>(ExportFormat::StudioC) + radioIndex);
}

WriterFunction writerFor(ExportFormat format) {
    switch (format) {
        case ExportFormat::Hex:
            return writeIntelHex;
        case ExportFormat::V2C:
            return writeVersion2C;
        case ExportFormat::V2Asm:
            return writeVersion2Asm;
        case ExportFormat::V2Dat:
            return writeVersion2Dat;
        case ExportFormat::TableC:
        case ExportFormat::StudioC:
            return writeTableC;
        case ExportFormat::TableAsm:
        case ExportFormat::StudioAsm:
            return writeTableAsm;
        case ExportFormat::TableBin:
        case ExportFormat::StudioDat:
            return writeTableBin;
        case ExportFormat::GeneralC:
            return writeGeneralC;
        case ExportFormat::GeneralBin:
            return writeGeneralBin;
        case ExportFormat::MicrochipC:
            return writeMicrochipC;
        case ExportFormat::MicrochipBin:
            return writeMicrochipBin;
        default:
            return nullptr;
    }
}

bool encodeForExport(ExportContext& context, std::vector<std::uint32_t>& offsets,
                     std::int64_t traversal) {
    return context.encoder.encodeAll(offsets, traversal, context.cancelFlag, context.progress) &&
           !context.cancelled();
}

bool beginExport(ExportContext& context, std::vector<std::uint32_t>& offsets) {
    return context.font.count() > 0 && encodeForExport(context, offsets);
}

std::string suggestedExportName(const Font& font) {
    std::string name = suggestedProjectName(font);
    if (font.bitsPerPixel > 1) {
        const std::string& face = font.faceName;
        std::string tail = face.size() > 4 ? face.substr(face.size() - 4) : face;
        if (tail.find("AA") == std::string::npos) {
            name += "AA" + std::to_string(font.bitsPerPixel);
        }
    }
    return name;
}

std::string identifierBase(const std::string& path) {
    std::string title = std::filesystem::path(path).filename().string();
    std::string base = "font" + title.substr(0, title.find('.'));
    // The base names C and assembler symbols: a file called my-font.c must still give
    // declarations that compile, so anything but letters, digits and '_' becomes '_'.
    for (char& c : base) {
        const bool valid =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!valid) {
            c = '_';
        }
    }
    return base;
}

std::string createTimeText(const CreateTime& now) {
    std::tm broken{};
    if (!now.brokenDown(broken)) {
        return {};
    }
    char buffer[64];
    if (std::strftime(buffer, sizeof buffer, "%H:%M %m-%d-%Y", &broken) == 0) {
        return {};
    }
    return buffer;
}

bool needsProgressWindow(const Font& font) {
    return font.count() > 499 || (font.count() > 99 && font.height >= 50);
}

namespace {

constexpr int kBoxWidth = 80;

// A boxed line: the text padded with spaces to 79 characters, then '*'; longer text is left
// as it is.
std::string boxed(const std::string& text) {
    if (text.size() >= kBoxWidth - 1) {
        return text;
    }
    return text + std::string(kBoxWidth - 1 - text.size(), ' ') + "*";
}

}  // namespace

void writeHeaderComment(ExportStream& out, bool assembler, const Font& font,
                        const CreateTime& now) {
    const std::uint32_t word = font.dataFormat;
    const std::string width = font.fixedWidth != 0
                                  ? std::to_string(font.fixedWidth) + " (monospaced font)"
                                  : std::string("0 (proportional font)");
    const std::string lines[] = {
        "/" + std::string(79, '*'),
        boxed(" *"),
        boxed(" * This file is generated by Typeloom Studio v3.5"),
        boxed(" * Typeloom Studio - bitmap fonts for embedded displays"),
        boxed(" * Edit the font project (.tlf) and export again rather than edit this file"),
        boxed(" *"),
        boxed(" * Font name: " + commentText(font.faceName)),
        boxed(" * Font width: " + width),
        boxed(" * Font height: " + std::to_string(font.height)),
        boxed(" * Encode: " + std::string(encodingName(static_cast<int>(font.encoding)))),
        boxed(" * Data length: " + std::to_string(unitBits(word)) + " bits"),
        boxed(std::string(" * Invert bits: ") + (isInverted(word) ? "Yes" : "No")),
        boxed(" * Data format: " + describeDataFormat(word)),
        boxed(" *"),
        boxed(" * Create time: " + createTimeText(now)),
        " " + std::string(79, '*') + "/",
    };
    for (const std::string& line : lines) {
        if (assembler) {
            out << ";";
        }
        out.line(line);
    }
}

namespace {

ExportResult failed(std::string message) {
    ExportResult r;
    r.status = ExportResult::Status::Failed;
    r.message = std::move(message);
    return r;
}

}  // namespace

ExportResult runExport(const Font& font, const SettingsStore& settings,
                       const ExportRequest& request, const CancelFlag& cancelFlag,
                       ProgressSink& progress) {
    WriterFunction writer = writerFor(request.format);
    if (writer == nullptr) {
        return failed("Unknown export format " + std::to_string(static_cast<int>(request.format)) +
                      ".");
    }
    try {
        AtomicFileWriter file(request.path);
        ExportStream out(&file);
        BitmapEncoder encoder(font);
        ExportContext context(font, encoder, out, cancelFlag, progress, settings,
                              identifierBase(request.path));
        const bool currentTime =
            request.now.zone == CreateTime::Zone::Local && request.now.when == 0;
        context.now = currentTime ? CreateTime(std::time(nullptr)) : request.now;
        context.hex = request.hex;
        if (!writer(context)) {
            // The temporary file is removed with `file`.
            if (context.cancelled()) {
                ExportResult r;
                r.status = ExportResult::Status::Cancelled;
                return r;
            }
            return failed("Nothing was exported: the font has no characters this format holds.");
        }
        out.flush();
        file.commit();
    } catch (const FileError& e) {
        return failed(e.what());
    }
    return {};
}

std::optional<std::string> exportToMemory(const Font& font, const SettingsStore& settings,
                                          ExportFormat format, const std::string& identifier,
                                          const CreateTime& now, const HexOptions& hex) {
    WriterFunction writer = writerFor(format);
    if (writer == nullptr) {
        return std::nullopt;
    }
    ExportStream out;
    BitmapEncoder encoder(font);
    const CancelFlag neverCancelled;
    NullProgressSink progress;
    ExportContext context(font, encoder, out, neverCancelled, progress, settings, identifier);
    context.now = now;
    context.hex = hex;
    try {
        if (!writer(context)) {
            return std::nullopt;
        }
    } catch (const FileError&) {
        return std::nullopt;  // a font the format cannot hold
    }
    return out.contents();
}

ExportJob::ExportJob(const Font& font, const SettingsStore& settings, ExportRequest request)
    : m_font(font), m_settings(settings), m_request(std::move(request)) {}

ExportJob::~ExportJob() {
    if (m_thread.joinable()) {
        m_cancel.requestCancel();
        m_thread.join();
    }
}

void ExportJob::start() {
    m_cancel.reset();
    m_finished.store(false);
    m_thread = std::thread([this] {
        NullProgressSink progress;
        m_result = runExport(m_font, m_settings, m_request, m_cancel, progress);
        m_finished.store(true);
    });
}

ExportResult ExportJob::wait() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    return m_result;
}

}  // namespace typeloom::exporters
