#ifndef GRAPHICS_STAND_IN_H
#define GRAPHICS_STAND_IN_H
#define FLASH 0x0001
#define COMP_NONE 0x0000
typedef struct {
    unsigned short type;
    const char* address;
} FONT_FLASH;
#endif
