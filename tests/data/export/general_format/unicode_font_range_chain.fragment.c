const TLM_FONT_PROP fontU_Prop3 = {
   0x4E00, /* first character */
   0x4E00, /* last character  */
   &fontU_CharInfo[   2],  /* address of first character */
   (const TLM_FONT_PROP *)0				/* pointer to next TLM_FONT_PROP */
};

const TLM_FONT_PROP fontU_Prop2 = {
   0x00E9, /* first character */
   0x00E9, /* last character  */
   &fontU_CharInfo[   1],  /* address of first character */
   &fontU_Prop3			/* pointer to next TLM_FONT_PROP */
};

const TLM_FONT_PROP fontU_Prop1 = {
   0x0041, /* first character */
   0x0041, /* last character  */
   &fontU_CharInfo[   0],  /* address of first character */
   &fontU_Prop2			/* pointer to next TLM_FONT_PROP */
};

const TLM_FONT fontU = {
   FONTTYPE_PROP | ENCODING_UNICODE | DATALENGTH_8, /* font type */
