#ifndef TLMTYPE_H
#define TLMTYPE_H
#include <stdint.h>

typedef uint8_t UCHAR;
typedef uint16_t USHORT;
typedef uint32_t ULONG;

typedef struct {
    USHORT charLow;
    USHORT nGlyphs;
} GLYPH_RANGE;

typedef struct {
    ULONG cbThis;
    USHORT nChars;
    USHORT nRanges;
    GLYPH_RANGE* pRanges;
} GLYPH_SET;

typedef struct {
    USHORT magic;
    USHORT version;
    USHORT flags;
    USHORT width;
    USHORT height;
    USHORT ascent;
    USHORT firstChar;
    USHORT lastChar;
    USHORT nChars;
    UCHAR reserved;
    UCHAR bytesPerUnit;
    ULONG dataSize;
    UCHAR* data_table;
    ULONG* offset_table;
    USHORT* width_table;
    UCHAR* ascii_index_table;
    GLYPH_SET* extended_index_table;
} FONTHEADER_TLM;

#endif
