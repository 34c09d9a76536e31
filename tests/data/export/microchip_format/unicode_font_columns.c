//
// Font file created using Typeloom Studio v3.5
// Typeloom Studio - bitmap fonts for embedded displays
// Date: 7 December 2026
// Font size: 29 bytes
//

extern const char __fontU[] __attribute__((aligned(2)));

const FONT_FLASH fontU =
{
	(FLASH | COMP_NONE),
	__fontU
};

const char __fontU[] __attribute__((aligned(2))) = 
{

//////////////////////////////////////////
// FONT HEADER
//////////////////////////////////////////
0x00,		// Info
0x00,		// FontID
0x41,0x00,	// First Character ID
0x43,0x00,	// Last Character ID
0x05,0x00,	// Height

//////////////////////////////////////////
// CHARACTER TABLE
//////////////////////////////////////////

0x03,0x14,0x00,0x00,	//Width, LSB Offset, MSB Offset
0x03,0x17,0x00,0x00,
0x03,0x1A,0x00,0x00,

//////////////////////////////////////////
// FONT BITMAP
//////////////////////////////////////////

// Index: 0 (0x0000)  Character: 0x0041 ('A')
0x90, 0x48, 0x20, 

// Index: 1 (0x0001)  Character: 0x00E9 ('é')
0x48, 0x20, 0x90, 

// Index: 2 (0x0002)  Character: 0x4E00 ('?')
0x20, 0x90, 0x48  

};

