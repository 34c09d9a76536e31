#include "common/file_error.h"

#include <filesystem>

namespace typeloom {

std::string describeReadFailure(const std::string& path, const FileError& error) {
    const std::string name = std::filesystem::path(path).filename().string();
    std::string text = "Failed to open " + name + ".\n\n";
    switch (error.kind()) {
        case FileError::Kind::Io:
            return text + error.what();
        case FileError::Kind::EndOfFile:
            text += "The file ends too early: it is truncated or damaged (";
            break;
        case FileError::Kind::BadFormat:
            text += "The file is damaged or not of the expected format (";
            break;
    }
    text += error.what();
    if (error.offset() != FileError::npos) {
        text += ", at byte " + std::to_string(error.offset());
    }
    return text + ").";
}

}  // namespace typeloom
