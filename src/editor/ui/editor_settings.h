#pragma once

// The values the character editor keeps in the section "Settings" of the settings file, with
// the default each reader uses when the value is absent.

namespace typeloom::ui {

// Save an edited character without asking when the user moves to another one (0 asks).
inline constexpr const char* kAutoSaveCharKey = "AutoSaveChar";
inline constexpr int kAutoSaveCharDefault = 0;

// The pixel grid's zoom: screen pixels per glyph pixel.
inline constexpr const char* kGridZoomKey = "Grid zoom";
inline constexpr int kGridZoomDefault = 15;
inline constexpr int kGridZoomMin = 1;
inline constexpr int kGridZoomMax = 30;

}  // namespace typeloom::ui
