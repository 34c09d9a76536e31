/*
 * A host stand-in for firmware: draws a string into a 1-bit framebuffer with the kind of text
 * routine a microcontroller runs, reading the table-based font that the build generated from
 * demo_font.tlf, and prints the framebuffer as text art ('#' ink, '.' background), one line
 * per pixel row.
 *
 * The font is exported with the data format 0x01121110: 8-bit units, each row of a character
 * starting a new unit, the first pixel in the most significant bit. The routine finds a
 * character through the ASCII index table, its data through the offset table and its width
 * through the width table.
 *
 *     firmware_demo [TEXT]      (default "Typeloom 3.5!")
 */
#include <stdio.h>
#include <string.h>

#include "tlmtype.h"

extern const FONTHEADER_TLM fontdemo_font;

#define FB_WIDTH 640 /* pixels; a multiple of 8 */
#define FB_HEIGHT 32

static unsigned char framebuffer[FB_HEIGHT][FB_WIDTH / 8];

static void setPixel(int x, int y) {
    if (x >= 0 && x < FB_WIDTH && y >= 0 && y < FB_HEIGHT) {
        framebuffer[y][x / 8] |= (unsigned char)(0x80u >> (x % 8));
    }
}

static int pixelAt(int x, int y) {
    return (framebuffer[y][x / 8] >> (7 - x % 8)) & 1;
}

/* Draws one character with its top-left corner at (x, y); returns its width in pixels. */
static int drawCharacter(const FONTHEADER_TLM* font, int x, int y, unsigned char code) {
    if (code < font->firstChar || code > font->lastChar) {
        return 0; /* not in the font */
    }
    const UCHAR index = font->ascii_index_table[code];
    const int width = font->width_table[index];
    const int bytesPerRow = (width + 7) / 8;
    const UCHAR* data = font->data_table + font->offset_table[index];
    for (int row = 0; row < font->height; ++row) {
        for (int column = 0; column < width; ++column) {
            if (data[row * bytesPerRow + column / 8] & (0x80u >> (column % 8))) {
                setPixel(x + column, y + row);
            }
        }
    }
    return width;
}

static int drawText(const FONTHEADER_TLM* font, int x, int y, const char* text) {
    for (; *text != '\0'; ++text) {
        x += drawCharacter(font, x, y, (unsigned char)*text);
    }
    return x;
}

int main(int argc, char** argv) {
    const FONTHEADER_TLM* font = &fontdemo_font;
    const char* text = argc > 1 ? argv[1] : "Typeloom 3.5!";
    /* What this routine reads: 8-bit units and the three tables. */
    if (font->magic != 0x6A5D || font->bytesPerUnit != 1 || font->offset_table == NULL ||
        font->width_table == NULL || font->ascii_index_table == NULL ||
        font->height > FB_HEIGHT) {
        fprintf(stderr, "firmware_demo: the font is not exported as this routine reads it\n");
        return 1;
    }
    memset(framebuffer, 0, sizeof framebuffer);
    const int width = drawText(font, 0, 0, text);
    for (int y = 0; y < font->height; ++y) {
        for (int x = 0; x < width && x < FB_WIDTH; ++x) {
            putchar(pixelAt(x, y) ? '#' : '.');
        }
        putchar('\n');
    }
    return 0;
}
