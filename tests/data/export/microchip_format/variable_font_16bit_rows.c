//
// Font file created using Typeloom Studio v3.5
// Typeloom Studio - bitmap fonts for embedded displays
// Date: 7 December 2026
// Font size: 48 bytes
//

extern const char __fontVar[] __attribute__((aligned(2)));

const FONT_FLASH fontVar =
{
	(FLASH | COMP_NONE),
	__fontVar
};

const char __fontVar[] __attribute__((aligned(2))) = 
{

//////////////////////////////////////////
// FONT HEADER
//////////////////////////////////////////
0x00,		// Info
0x00,		// FontID
0x20,0x00,	// First Character ID
0x23,0x00,	// Last Character ID
0x04,0x00,	// Height

//////////////////////////////////////////
// CHARACTER TABLE
//////////////////////////////////////////

0x02,0x18,0x00,0x00,	//Width, LSB Offset, MSB Offset
0x01,0x20,0x00,0x00,
0x09,0x28,0x00,0x00,
0x00,0x30,0x00,0x00,

//////////////////////////////////////////
// FONT BITMAP
//////////////////////////////////////////

//											Index: 0 (0x0000)  Character: 0x0020 (' ')
0x01, 0x00,  // #...............
0x02, 0x00,  // .#..............
0x00, 0x00,  // ................
0x00, 0x00,  // ................

//											Index: 1 (0x0001)  Character: 0x0021 ('!')
0x00, 0x00,  // ................
0x00, 0x00,  // ................
0x00, 0x00,  // ................
0x01, 0x00,  // #...............

//											Index: 2 (0x0002)  Character: 0x0030 ('0')
0x44, 0x00,  // ..#...#.........
0x88, 0x00,  // ...#...#........
0x11, 0x01,  // #...#...#.......
0x22, 0x00   // .#...#..........

//											Index: 3 (0x0003)  Character: 0x0031 ('1')

};

