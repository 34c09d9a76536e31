// The independent FreeType reader and the glyph pictures of the interchange tests, built into
// the widget tests as well so that files written through the dialogs are checked the same way.
#include "interchange/freetype_reference.cpp"
#include "interchange/interchange_test_support.cpp"
