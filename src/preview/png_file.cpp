#include "preview/png_file.h"

#include <png.h>

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "preview/text_preview.h"

namespace typeloom::preview {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

// libpng reports errors by longjmp; the handler turns them into the core's exception type
// at the one place they can occur, after everything that needs a destructor is set up.
[[noreturn]] void fail(const char* what) {
    throw FileError(FileError::Kind::Io, std::string("cannot make the PNG picture: ") + what);
}

}  // namespace

std::vector<std::uint8_t> pngBytes(const PreviewImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) {
        fail("the picture is empty");
    }
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        fail("out of memory");
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        fail("out of memory");
    }
    std::vector<png_byte> row(static_cast<std::size_t>(image.width) * 3);
    // NOLINTNEXTLINE(cert-err52-cpp): libpng reports its errors only through longjmp
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        fail("libpng could not encode it");
    }
    png_set_write_fn(png, &out, appendBytes, noFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t c = image.pixels[static_cast<std::size_t>(y) * image.width +
                                                 static_cast<std::size_t>(x)];
            row[static_cast<std::size_t>(x) * 3] = static_cast<png_byte>(c >> 16);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<png_byte>(c >> 8);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<png_byte>(c);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void writePng(const PreviewImage& image, const std::string& path) {
    writeFileAtomically(path, pngBytes(image));
}

}  // namespace typeloom::preview
