#include "interchange/bmp_writer.h"

#include <cstdio>
#include <filesystem>

#include "common/atomic_file.h"
#include "common/byte_io.h"
#include "common/file_error.h"
#include "common/progress_sink.h"
#include "common/settings_store.h"
#include "model/font.h"
#include "model/font_settings.h"

namespace typeloom {

std::vector<std::uint8_t> bmpBytes(int width, int height, int bitsPerPixel,
                                   std::span<const std::uint8_t> pixels) {
    const int stored = bitsPerPixel == 2 ? 4 : bitsPerPixel;
    const std::uint32_t paletteSize = 1u << stored;
    const std::uint64_t rowSize = (std::uint64_t(width) * stored + 31) / 32 * 4;
    const std::uint64_t imageSize = rowSize * static_cast<std::uint64_t>(height);
    const std::uint32_t dataOffset = 54 + 4 * paletteSize;

    ByteWriter w;
    w.reserve(static_cast<std::size_t>(dataOffset + imageSize));
    w.u8('B');
    w.u8('M');
    w.u32(static_cast<std::uint32_t>(dataOffset + imageSize));
    w.u32(0);
    w.u32(dataOffset);
    w.u32(40);
    w.i32(width);
    w.i32(height);  // positive: bottom-up rows
    w.u16(1);
    w.u16(static_cast<std::uint16_t>(stored));
    w.u32(0);
    w.u32(static_cast<std::uint32_t>(imageSize));
    w.zeros(16);
    for (std::uint32_t k = 0; k < paletteSize; ++k) {
        std::uint8_t grey = 0;
        if (bitsPerPixel == 2) {
            static constexpr std::uint8_t kFourGreys[4] = {255, 192, 128, 0};
            grey = k < 4 ? kFourGreys[k] : 0;
        } else {
            grey = static_cast<std::uint8_t>((paletteSize - 1 - k) * 255 / (paletteSize - 1));
        }
        w.u8(grey);
        w.u8(grey);
        w.u8(grey);
        w.u8(0);
    }
    const std::uint32_t mask = (1u << bitsPerPixel) - 1;
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t start = w.size();
        w.zeros(static_cast<std::size_t>(rowSize));
        std::uint8_t* row = w.data().data() + start;
        for (int x = 0; x < width; ++x) {
            const std::size_t index =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x);
            const std::uint32_t value = index < pixels.size() ? pixels[index] & mask : 0;
            const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(stored);
            row[bit / 8] |= static_cast<std::uint8_t>(value << (8 - stored - bit % 8));
        }
    }
    return w.take();
}

void writeBmp(int width, int height, int bitsPerPixel, std::span<const std::uint8_t> pixels,
              const std::string& path) {
    // One of many files into one folder: no look through the folder after each.
    writeFileAtomically(path, bmpBytes(width, height, bitsPerPixel, pixels),
                        StaleTemporaries::Keep);
}

std::string characterBitmapName(std::uint16_t code) {
    char name[16];
    std::snprintf(name, sizeof name, "char%04x.bmp", static_cast<unsigned>(code));
    return name;
}

BitmapFolderChoice bitmapFolderChoice(const SettingsStore& settings) {
    BitmapFolderChoice choice;
    choice.folder = settings.string(kSettingsSection, kBmpFolderSetting, "");
    std::error_code ec;
    const bool exists = !choice.folder.empty() && std::filesystem::is_directory(choice.folder, ec);
    choice.askUser = settings.integer(kSettingsSection, kAlwaysAskSetting, 1) != 0 || !exists;
    return choice;
}

void rememberBitmapFolder(SettingsStore& settings, const std::string& folder) {
    settings.writeString(kSettingsSection, kBmpFolderSetting, folder);
}

BitmapExportResult exportCharacterBitmaps(const Font& font, const std::string& folder) {
    NullProgressSink quiet;
    return exportCharacterBitmaps(font, folder, quiet);
}

BitmapExportResult exportCharacterBitmaps(const Font& font, const std::string& folder,
                                          ProgressSink& progress) {
    BitmapExportResult result;
    ProgressRun run(progress, font.count());
    for (int i = 0; i < font.count(); ++i) {
        const auto code = static_cast<std::uint16_t>(font.codeAt(i));
        const auto unicode = static_cast<std::uint16_t>(font.unicodeAt(i));
        const Glyph* g = font.glyphs.find(unicode);
        const std::string path =
            (std::filesystem::path(folder) / characterBitmapName(code)).string();
        try {
            if (g == nullptr) {
                throw FileError(FileError::Kind::Io, "the character has no glyph");
            }
            writeBmp(g->width, font.height, static_cast<int>(font.bitsPerPixel), g->pixels, path);
        } catch (const FileError& e) {
            char text[96];
            std::snprintf(text, sizeof text,
                          "File exception happened when exporting bitmap file of character %d",
                          static_cast<int>(unicode));
            result.ok = false;
            result.message = text;
            result.detail = e.what();
            return result;
        }
        ++result.written;
        run.step();
    }
    return result;
}

}  // namespace typeloom
