#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/atomic_file.h"
#include "common/byte_io.h"
#include "model/log_font.h"

namespace typeloom {

class Font;
class Glyph;
class ProgressSink;

// Project files (.tlf). Three layouts share a 16-byte header (magic, version, sub-version,
// high bits of the glyph count, reserved):
//   "FDCL" 0x0300 (0x0320 read alike)  version 3: read and written by Save
//   "FDCL" 0x0200                      version 2: read only
//   "NOFW" 0x0220                      version 2.0: read, and written by Save As "Ver2.0"
// All integers are little-endian.

inline constexpr const char* kNotAProjectMessage =
    "Failed to open the file.\n\nThis is not a valid Typeloom document (*.tlf).";
inline constexpr const char* kAntialiasedMessage =
    "This file contains antialiased font,\r\ncreated by Typeloom Tonal.\r\n\r\n"
    "Please try Typeloom Tonal to open this document.";
inline constexpr const char* kUnknownFileFormatMessage = "Unknown file format.";
inline constexpr const char* kSaveAsFilter =
    "Typeloom Ver3.0 Files (*.tlf)|*.tlf|Typeloom Ver2.0 Files (*.tlf)|*.tlf||";
inline constexpr const char* kProjectExtension = ".tlf";

inline constexpr std::uint16_t kVersion3 = 0x0300;
inline constexpr std::uint16_t kVersion3b = 0x0320;
inline constexpr std::uint16_t kVersion2 = 0x0200;
inline constexpr std::uint16_t kVersion20 = 0x0220;

// The document's name check: at least 5 characters ending in ".tlf" (any case).
bool isProjectFileName(std::string_view path);

// The file name offered when a font is saved for the first time: the face name followed by
// the height and "h", blanks and hyphens replaced by underscores ("Untitled12h").
std::string suggestedProjectName(const Font& font);

struct ProjectLoadResult {
    enum class Status {
        Loaded,
        BadName,  // the name check failed; nothing was read
        Failed,   // unreadable, truncated or malformed file
        Refused,  // a file of another edition (bits per pixel other than 1)
    };
    Status status = Status::Loaded;
    std::string message;  // what to show (error icon) for anything but Loaded
    // A refused file closes the main window after the message.
    bool closeMainWindow = false;
    // Which layout was read.
    std::uint16_t version = 0;

    bool ok() const { return status == Status::Loaded; }
};

// Reads a project into `font`, which the caller prepared as a fresh record (see
// Font::inheritUnsavedState). Throws FileError for a malformed file; a refused bits per
// pixel value throws ProjectRefused. Returns the layout version read.
struct ProjectRefused {
    std::string message;
};
std::uint16_t readProject(std::span<const std::uint8_t> bytes, Font& font, ProgressSink& progress);

// Opens a project file: checks the name, reads the whole file into a fresh record and
// replaces `font` with it only when everything was read. A failed load leaves `font` exactly
// as it was.
ProjectLoadResult loadProject(const std::string& path, Font& font, ProgressSink& progress);

// The version 3 layout of a font.
std::vector<std::uint8_t> projectBytes(const Font& font);
// The version 2.0 layout of a font (refreshes its Windows header values first).
std::vector<std::uint8_t> projectBytesVer20(Font& font);

// Writes the layouts atomically; throw FileError(Io) on failure, leaving any earlier file.
void saveProject(const std::string& path, const Font& font);
void saveProjectVer20(const std::string& path, Font& font);

// Saves the version 3 layout of a font whose glyphs come one at a time while the font is still
// being made (a rasterised font is written as it renders, so that the file is ready soon after
// the last glyph). The destination is checked when the writer is made, before any work.
// begin() takes the font before its glyphs (lists, metrics and table in place) and how many
// glyphs will come; glyph() takes each glyph, keys ascending; finish() takes the finished font,
// writes the rest, puts in what the glyphs decided (the widths) and commits. A writer destroyed
// before finish(), or an exception, leaves the destination as it was.
class ProjectStreamWriter {
  public:
    explicit ProjectStreamWriter(const std::string& path);
    ~ProjectStreamWriter();
    ProjectStreamWriter(const ProjectStreamWriter&) = delete;
    ProjectStreamWriter& operator=(const ProjectStreamWriter&) = delete;

    void begin(const Font& font, std::size_t glyphCount);
    void glyph(std::uint16_t key, const Glyph& glyph);
    void finish(const Font& font);

  private:
    AtomicFileWriter m_file;
    ByteWriter m_bytes;
    std::size_t m_headSize = 0;
    std::size_t m_expected = 0;
    std::size_t m_count = 0;
    std::uint16_t m_lastKey = 0;
    bool m_begun = false;
};

// --- Record codecs shared by the layouts (also used by tests).
void writeArchiveString(ByteWriter& w, std::string_view utf8);
std::string readArchiveString(ByteReader& r);
void writeArchiveCount(ByteWriter& w, std::uint32_t count);
std::uint32_t readArchiveCount(ByteReader& r);
void writeLogFont(ByteWriter& w, const LogFont& font);
LogFont readLogFont(ByteReader& r);

}  // namespace typeloom
