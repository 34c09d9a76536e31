#pragma once

// The values the desktop program keeps in the section "Settings" of its settings file, with
// the default each reader uses when the value is absent. The font's own values
// ("BmpDataFlag", "FontGen") live in model/font_settings.h, the export values ("Pages
// option", "FontOut") in export/export_driver.h, the editor's ("AutoSaveChar", "Grid zoom")
// in editor/ui/editor_settings.h.

namespace typeloom::app {

inline constexpr const char* kAutoOpenKey = "AutoOpen";
inline constexpr int kAutoOpenDefault = 1;

inline constexpr const char* kAlwaysAskKey = "AlwaysAsk";
inline constexpr int kAlwaysAskDefault = 1;

inline constexpr const char* kBmpFolderKey = "BmpFolder";  // default: empty

inline constexpr const char* kSplitterPosKey = "Splitter Pos";
inline constexpr int kSplitterPosDefault = 0;

inline constexpr const char* kWindowPosKey = "Window Pos";  // default: absent

// The most memory the undo history keeps, in MiB (at least 1); the oldest steps go first.
inline constexpr const char* kHistoryMemoryKey = "HistoryMemory";
inline constexpr int kHistoryMemoryDefault = 256;

// The recent-file list lives in a group of its own beside "Settings".
inline constexpr const char* kRecentFilesGroup = "Recent File List";
inline constexpr int kRecentFileCount = 4;

}  // namespace typeloom::app
