#ifndef TLMFONT_H
#define TLMFONT_H
typedef unsigned char UCHAR;
typedef unsigned short USHORT;
typedef unsigned int ULONG;
#define FONTTYPE_PROP 0x00000002u
#define FONTTYPE_PROP_AA2 0x00000020u
#define FONTTYPE_PROP_AA4 0x00000040u
#define FONTTYPE_PROP_AA8 0x00000080u
#define ENCODING_ASCII 0x00010000u
#define ENCODING_UNICODE 0x00020000u
#define ENCODING_SHIFTJIS 0x00040000u
#define ENCODING_BIG5 0x00080000u
#define ENCODING_GBK 0x00100000u
#define ENCODING_JOHAB 0x00200000u
#define DATALENGTH_8 0x01000000u
#define DATALENGTH_16 0x02000000u
#define DATALENGTH_32 0x04000000u
typedef struct {
    USHORT width;
    USHORT units;
    const void* pData;
} TLM_CHARINFO;
#define CHAR_DATA(ci) ((ci)->pData)
typedef struct TLM_FONT_PROP {
    USHORT first;
    USHORT last;
    const TLM_CHARINFO* pFirstChar;
    const struct TLM_FONT_PROP* pNext;
} TLM_FONT_PROP;
typedef struct {
    ULONG fontType;
    USHORT height;
    short ascent;
    USHORT reserved;
    union {
        const TLM_FONT_PROP* pProp;
    } first;
} TLM_FONT;
#endif
