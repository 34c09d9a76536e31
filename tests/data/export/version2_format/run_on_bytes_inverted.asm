;/*******************************************************************************************
;  Font name: Cols
;  Font width: varialbe (proportional font)
;  Font height: 2
;  Data length: 32 bits
;  Data format: Little Endian, Column based, Column preferred, Unpacked
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

fontCols_data_table 

     ;character 0x0030 ('0'): [width=5, offset= 0x0000 (0) ]  
    db 0ffh,  0ffh,  0ffh,  0feh, 0ffh,  0ffh,  0ffh,  0fdh, 0ffh,  0ffh,  0ffh,  0feh, 0ffh,  0ffh,  0ffh,  0fch
    db 0ffh,  0ffh,  0ffh,  0fdh

     ;character 0x0031 ('1'): [width=1, offset= 0x0005 (5) ]  
    db 0ffh,  0ffh,  0ffh,  0fch



