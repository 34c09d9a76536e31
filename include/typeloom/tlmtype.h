/*
 * tlmtype.h - the types of the table-based font files that Typeloom Studio writes as C.
 *
 * A generated file (for instance Small_Font12h.c) includes this header and defines the font
 * header record font<title> of type FONTHEADER_TLM with the tables it points to. To use the
 * font elsewhere, declare it:
 *
 *     #include "tlmtype.h"
 *     extern const FONTHEADER_TLM fontSmall_Font12h;
 *
 * A table switched off at export (its USE_..._TABLE line commented out) is a null pointer in
 * the record. Finding the bitmap of the character 'A' in an Ascii+ISO8859 font:
 *
 *     const UCHAR index = font.ascii_index_table['A'];
 *     const ULONG offset = font.offset_table[index];      (in units of bytesPerUnit bytes)
 *     const USHORT width = font.width_table[index];
 *
 * The header is C99 and C++ alike and declares only what the generated files use. When your
 * code already defines UCHAR, USHORT and ULONG (8, 16 and 32 bits, unsigned), define
 * TLM_BASIC_TYPES_DEFINED before including it.
 */
#ifndef TYPELOOM_TLMTYPE_H
#define TYPELOOM_TLMTYPE_H

#include <stddef.h> /* NULL, the pointer of a table switched off */
#include <stdint.h>

#ifndef TLM_BASIC_TYPES_DEFINED
#define TLM_BASIC_TYPES_DEFINED
typedef uint8_t UCHAR;
typedef uint16_t USHORT;
typedef uint32_t ULONG;
#endif

/* Font flags (FONTHEADER_TLM.flags): FONT_FLAG_PROP, one pixel depth and one encoding. */
#define FONT_FLAG_PROP 0x0001u
#define FONT_FLAG_BW 0x0004u       /* 1 bit per pixel */
#define FONT_FLAG_AA2 0x0008u      /* 2 bits per pixel */
#define FONT_FLAG_AA4 0x0010u      /* 4 bits per pixel */
#define FONT_FLAG_AA8 0x0020u      /* 8 bits per pixel */
#define FONT_FLAG_ASCII 0x0040u    /* Ascii+ISO8859 */
#define FONT_FLAG_UNICODE 0x0080u  /* Unicode */
#define FONT_FLAG_SHIFTJIS 0x0100u /* Shift_JIS */
#define FONT_FLAG_BIG5 0x0200u     /* Big5 */
#define FONT_FLAG_GBK 0x0400u      /* GBK */
#define FONT_FLAG_JOHAB 0x0800u    /* Hangul */

/* One run of consecutive character codes of the extended index table. */
typedef struct {
    USHORT charLow; /* first code of the run */
    USHORT nGlyphs; /* number of codes in the run */
} GLYPH_RANGE;

/* The extended index table: the runs of codes, in ascending order. */
typedef struct {
    ULONG cbThis;   /* sizeof(GLYPH_SET) + sizeof(GLYPH_RANGE) * nRanges in the binary file */
    USHORT nChars;  /* characters in the font */
    USHORT nRanges; /* runs in pRanges */
    const GLYPH_RANGE* pRanges;
} GLYPH_SET;

/* The font header record. */
typedef struct {
    USHORT magic;     /* 0x6A5D */
    USHORT version;   /* 0x0320 for 3.20 */
    USHORT flags;     /* FONT_FLAG_... */
    USHORT width;     /* width in pixels; 0 for a variable-width font */
    USHORT height;    /* height in pixels */
    USHORT ascent;    /* ascent (baseline) in pixels */
    USHORT firstChar; /* first character code */
    USHORT lastChar;  /* last character code */
    USHORT nChars;    /* characters in the font, not always lastChar - firstChar + 1 */
    UCHAR reserved;
    UCHAR bytesPerUnit;                    /* 1, 2 or 4 bytes per unit of the data table */
    ULONG dataSize;                        /* units in the data table */
    const UCHAR* data_table;               /* every character's units, in code order */
    const ULONG* offset_table;             /* nChars + 1 unit offsets; the last is dataSize */
    const USHORT* width_table;             /* nChars widths in pixels */
    const UCHAR* ascii_index_table;        /* 256 indexes for the codes 0 to 255 */
    const GLYPH_SET* extended_index_table; /* the runs of codes */
} FONTHEADER_TLM;

#endif /* TYPELOOM_TLMTYPE_H */
