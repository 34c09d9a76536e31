/*
 * tlmfont.h - the types of the General font files that Typeloom Studio writes as C.
 *
 * A generated file (for instance Small_Font12h.c) includes this header and defines the font
 * record font<title> of type TLM_FONT, a chain of TLM_FONT_PROP records (one per run of
 * consecutive character codes), the character information array and one data array per
 * character. To use the font elsewhere, declare it:
 *
 *     #include "tlmfont.h"
 *     extern const TLM_FONT fontSmall_Font12h;
 *
 * Finding a character: walk the records from font.first.pProp through pNext until one holds
 * the code (first <= code <= last); its character information is pFirstChar[code - first],
 * with the width in pixels, the number of units and TLM_CHAR_DATA(info), the units (UCHAR,
 * USHORT or ULONG as the font type's DATALENGTH_ says).
 *
 * Each character information entry names its data array either in braces, as the option
 * "C99 compatible compiler" writes it (the default), or without them. This header declares
 * the braced form; define TLMFONT_NO_C99_BRACES before including it in a file exported with
 * the option off (a copy that `typeloom export --with-headers` writes beside such a file does
 * this itself).
 *
 * The header is C99 and C++ alike and declares only what the generated files use. When your
 * code already defines UCHAR, USHORT and ULONG (8, 16 and 32 bits, unsigned), define
 * TLM_BASIC_TYPES_DEFINED before including it.
 */
#ifndef TYPELOOM_TLMFONT_H
#define TYPELOOM_TLMFONT_H

#include <stdint.h>

#ifndef TLM_BASIC_TYPES_DEFINED
#define TLM_BASIC_TYPES_DEFINED
typedef uint8_t UCHAR;
typedef uint16_t USHORT;
typedef uint32_t ULONG;
#endif

/* Font type (TLM_FONT.fontType): one pixel depth, one encoding and one data length. */
#define FONTTYPE_PROP 0x00000002u     /* 1 bit per pixel */
#define FONTTYPE_PROP_AA2 0x00000020u /* 2 bits per pixel */
#define FONTTYPE_PROP_AA4 0x00000040u /* 4 bits per pixel */
#define FONTTYPE_PROP_AA8 0x00000080u /* 8 bits per pixel */
#define ENCODING_ASCII 0x00010000u    /* Ascii+ISO8859 */
#define ENCODING_UNICODE 0x00020000u  /* Unicode */
#define ENCODING_SHIFTJIS 0x00040000u /* Shift_JIS */
#define ENCODING_BIG5 0x00080000u     /* Big5 */
#define ENCODING_GBK 0x00100000u      /* GBK */
#define ENCODING_JOHAB 0x00200000u    /* Hangul */
#define DATALENGTH_8 0x01000000u      /* UCHAR units */
#define DATALENGTH_16 0x02000000u     /* USHORT units */
#define DATALENGTH_32 0x04000000u     /* ULONG units */

/* One character: its width, its number of units and its data array. */
typedef struct {
    USHORT width; /* width in pixels */
    USHORT units; /* units in the data array */
#ifdef TLMFONT_NO_C99_BRACES
    const void* pData;
#define TLM_CHAR_DATA(info) ((info)->pData)
#else
    union {
        const void* pData;
    } data;
#define TLM_CHAR_DATA(info) ((info)->data.pData)
#endif
} TLM_CHARINFO;

/* One run of consecutive codes. */
typedef struct TLM_FONT_PROP {
    USHORT first;                      /* first code of the run */
    USHORT last;                       /* last code of the run */
    const TLM_CHARINFO* pFirstChar;    /* the information of the run's first code */
    const struct TLM_FONT_PROP* pNext; /* the next run, or a null pointer after the last */
} TLM_FONT_PROP;

/* The font record. */
typedef struct {
    ULONG fontType;  /* FONTTYPE_... | ENCODING_... | DATALENGTH_... */
    USHORT height;   /* height in pixels */
    USHORT ascent;   /* ascent (baseline) in pixels */
    USHORT reserved; /* 0 */
    union {
        const TLM_FONT_PROP* pProp;
    } first; /* the first run */
} TLM_FONT;

#endif /* TYPELOOM_TLMFONT_H */
