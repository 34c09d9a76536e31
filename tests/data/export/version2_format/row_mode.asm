;/*******************************************************************************************
;  Font name: Tiny
;  Font width: varialbe (proportional font)
;  Font height: 3
;  Data length: 8 bits
;  Data format: Big Endian, Row based, Row preferred, Unpacked
;
;  Create time: 09:05 12-07-2026  by Typeloom Basic v3.1 (e-mail: fonts@typeloom.example)
; *******************************************************************************************/

;/*******************************************************************************************
;  Data table provides the bitmap data of each character.
;
;  To get the starting data offset of character 'A', you can use the following expression:
;
;     const unsigned char index = index_table['A'];
;     const unsigned int offset = offset_table[index];
;     const unsigned char *pData = data_table[offset];
; *******************************************************************************************/

fontTiny3h_data_table 

     ; character 0x0041 ('A'): [width=3, offset= 0x0000 (0) ]   
    db 0a0h ;  #.#
    db  60h ;  .##
    db  00h ;  ...

     ; character 0x0042 ('B'): [width=10, offset= 0x0003 (3) ]   
    db 0ffh,  0c0h ;  ##########
    db  80h,   40h ;  #........#
    db  00h,  0c0h ;  ........##



;/*******************************************************************************************
;  Offset table provides the starting offset of each character in the data table.
;
;  To get the starting offset of character 'A', you can use the following expression:
;
;     const unsigned char index = index_table['A'];
;     const unsigned int offset = offset_table[index];
;
; *******************************************************************************************/

fontTiny3h_offset_table 

     ;       offset       -  char     hexcode    decimal
     ;     ========       -  ====     =======    =======
    dw         0000h ;    -     A        0041         65
    dw         0003h

;/*******************************************************************************************
;  Width table provides the width of each character. It's useful for proportional font.
;  For monospaced font, the widths of all characters are the same.
;
;  To get the width of character 'A', you can use the following expression:
;
;     const unsigned char index = index_table['A'];
;     const unsigned char width = width_table[index];
;
; *******************************************************************************************/

fontTiny3h_width_table 

     ;    width      -  char     hexcode    decimal
     ;    =====      -  ====     =======    =======
    db        3 ;    -     A        0041         65
    db       10 ;    -     B        0042         66


