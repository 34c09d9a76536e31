#pragma once

// TYPELOOM_BULK_DATA marks a function whose work is a loop over bulk data: the pixels of a
// glyph, the bytes of a record, the 65,536 codes of a table. It also marks the small steps such
// a loop takes for every key (a glyph map's lookup and insertion, whether one character's
// bitmap lies inside the bit data). The fuzz builds leave such a function out of their coverage
// tracing: every input runs its edges and comparisons thousands of times over and tells the
// fuzzer nothing new, while tracing them costs most of a run; what the loop decides reaches the
// fuzzer through the traced code that acts on its result. Elsewhere the mark has no effect.
#if defined(__clang__)
#define TYPELOOM_BULK_DATA __attribute__((no_sanitize("coverage")))
#else
#define TYPELOOM_BULK_DATA
#endif
