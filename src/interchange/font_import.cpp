#include "interchange/font_import.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "common/byte_io.h"
#include "common/file_error.h"
#include "interchange/bdf_reader.h"
#include "interchange/imported_font.h"
#include "interchange/rb_reader.h"
#include "interchange/winfont_reader.h"
#include "model/font.h"

namespace typeloom {

namespace {

std::string lowerExtension(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos) {
        return {};
    }
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return ext;
}

// The first four bytes of a file (fewer for a shorter file); false when it cannot be opened.
bool firstBytes(const std::string& path, std::uint8_t (&head)[4], std::size_t& got) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        return false;
    }
    got = std::fread(head, 1, sizeof head, file.get());
    return true;
}

std::string describe(const FileError& e) {
    std::string text = e.what();
    if (e.offset() != FileError::npos) {
        text += " (at byte " + std::to_string(e.offset()) + ")";
    }
    return text;
}

}  // namespace

ImportOutcome importFontResource(const std::string& path, Font& font) {
    ImportOutcome outcome;
    const std::string ext = lowerExtension(path);
    enum class Reader { None, Bdf, Windows, Rb } reader = Reader::None;
    if (ext == "bdf") {
        reader = Reader::Bdf;
    } else if (ext == "fnt" || ext == "fon") {
        std::uint8_t head[4] = {};
        std::size_t got = 0;
        if (!firstBytes(path, head, got)) {
            outcome.status = ImportOutcome::Status::NotRecognised;
            outcome.detail = "cannot open " + path;
            return outcome;
        }
        const unsigned word = got >= 2 ? head[0] | (head[1] << 8) : 0;
        const bool rb =
            got == 4 && (std::memcmp(head, "RB11", 4) == 0 || std::memcmp(head, "RB12", 4) == 0);
        if (ext == "fnt" && rb) {
            reader = Reader::Rb;
        } else if (word == 0x0200 || word == 0x0300 || (ext == "fon" && word == 0x5A4D)) {
            reader = Reader::Windows;
        }
    }
    if (reader == Reader::None) {
        outcome.status = ImportOutcome::Status::NotRecognised;
        outcome.detail = path + " is not a font file the import knows";
        return outcome;
    }

    Font fresh;
    fresh.inheritUnsavedState(font);
    try {
        switch (reader) {
            case Reader::Bdf:
                outcome.reader = "bdf";
                {
                    ImportedFont imported = readBdf(path);
                    buildFromImported(imported, path, fresh);
                    outcome.warnings = std::move(imported.warnings);
                    break;
                }
            case Reader::Rb:
                outcome.reader = "rb";
                buildFromImported(readRbFont(path), path, fresh);
                break;
            case Reader::Windows:
                outcome.reader = "fnt";
                buildFromWindowsResource(readWindowsFontResource(path), fresh);
                break;
            case Reader::None:
                break;
        }
    } catch (const FileError& e) {
        outcome.status = ImportOutcome::Status::Failed;
        outcome.detail = describe(e);
        // One message a failure: the second fixed text ("... this .fnt file", also for a BDF
        // file) said nothing the first did not, and the reason goes beside the message.
        if (reader == Reader::Bdf && e.kind() == FileError::Kind::Io) {
            outcome.messages = {kImportOpenFailedMessage};
        } else {
            outcome.messages = {reader == Reader::Windows ? kFntImportFailedMessage
                                                          : kImportFailedMessage};
        }
        return outcome;
    } catch (const std::bad_alloc&) {
        outcome.status = ImportOutcome::Status::Failed;
        outcome.detail = "not enough memory to import " + path;
        outcome.messages = {reader == Reader::Windows ? kFntImportFailedMessage
                                                      : kImportFailedMessage};
        return outcome;
    }
    // Characters added later start blank.
    fresh.fromSystemFont = false;
    fresh.updateMaxWidth();
    font = std::move(fresh);
    return outcome;
}

}  // namespace typeloom
