#pragma once

#include <QString>
#include <vector>

namespace typeloom::app {

// Command ids: every menu item, toolbar button and key reaches the main frame as one of these.
namespace cmd {
inline constexpr int kExportDialog = 1017;
inline constexpr int kWebsite = 32801;
inline constexpr int kQuickGuide = 32802;
inline constexpr int kPreferences = 32803;
inline constexpr int kInvertAll = 32804;
inline constexpr int kMirrorHorizontal = 32805;
inline constexpr int kMirrorVertical = 32806;
inline constexpr int kNewFromScratch = 32807;
inline constexpr int kCenterAll = 32808;
inline constexpr int kChangeAscent = 32810;
inline constexpr int kUndoAll = 32811;
inline constexpr int kNewMenu = 32812;
inline constexpr int kZoomIn = 32813;
inline constexpr int kZoomOut = 32814;
inline constexpr int kToFixedWidth = 32815;
inline constexpr int kToVariableWidth = 32816;
inline constexpr int kRemoveBlankColumns = 32817;
inline constexpr int kImportSystemFont = 32790;
inline constexpr int kChangeWidth = 32791;
inline constexpr int kChangeHeight = 32792;
inline constexpr int kEditTable = 32793;
inline constexpr int kFontInformation = 32794;
inline constexpr int kDataFormat = 32797;
inline constexpr int kImportResource = 32824;
inline constexpr int kExportFnt = 32825;
inline constexpr int kExportFon = 32826;
inline constexpr int kExportBitmaps = 32827;
inline constexpr int kOldFormatHeading = 32839;
inline constexpr int kExportHex = 32840;
inline constexpr int kExportOldC = 32847;
inline constexpr int kExportOldAsm = 32848;
inline constexpr int kExportOldDat = 32849;
inline constexpr int kExportGeneralC = 32850;
inline constexpr int kExportGeneralBin = 32851;
inline constexpr int kExportMicrochipC = 32852;
inline constexpr int kExportMicrochipBin = 32853;
inline constexpr int kResize = 32870;
inline constexpr int kMultiCopy = 32871;
inline constexpr int kMultiPaste = 32872;
inline constexpr int kFileNew = 57600;
inline constexpr int kOpen = 57601;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kRecentFirst = 57616;
inline constexpr int kRecentLast = 57619;
inline constexpr int kDelete = 57632;
inline constexpr int kCopy = 57634;
inline constexpr int kCut = 57635;
inline constexpr int kPaste = 57637;
inline constexpr int kSelectAll = 57642;
inline constexpr int kUndo = 57643;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
inline constexpr int kHelpContents = 57666;
inline constexpr int kNextPane = 57680;
inline constexpr int kPreviousPane = 57681;
}  // namespace cmd

// When a command is enabled (the update rule applied before a menu or toolbar is shown).
enum class EnableRule {
    Always,
    Never,
    HasCharacters,
    MoreThanOneCharacter,        // multi copy
    HasCharactersOneBit,         // Windows font exports
    FixedWidth,                  // change font width
    HasCharactersVariableWidth,  // to fixed width, remove blank columns
    HasCharactersFixedWidth,     // to variable width, centre all
    FontInformation,             // characters, encoding Ascii+ISO8859, 1 bit per pixel
    ZoomIn,
    ZoomOut,
    Undo,
    UndoAll,
    Copy,
    Paste,
    Delete,
    SelectAll,
};

struct CommandInfo {
    int id;
    const char* menuText;  // with "&" mnemonic and "\t" key text; empty for toolbar-only ids
    const char* strings;   // status-bar prompt, then "\n" and the tool tip (may be empty)
    EnableRule rule;
};

// Every command the frame knows, in the order of the command table.
const std::vector<CommandInfo>& commandTable();
const CommandInfo* findCommand(int id);

// The status-bar prompt (text before "\n") and the tool tip (after it) of a command.
QString commandPrompt(const CommandInfo& command);
QString commandToolTip(const CommandInfo& command);

// What the update rules look at.
struct CommandState {
    int characterCount = 0;
    int fixedWidth = 0;
    int bitsPerPixel = 1;
    int encoding = 0;
    int gridZoom = 15;
    // The focused widget is a text field, and what it offers.
    bool editFieldFocused = false;
    bool fieldCanUndo = false;
    bool fieldHasSelection = false;
    bool fieldHasText = false;
    bool clipboardHasText = false;
    bool clipboardHasImage = false;
    // The glyph editor.
    bool glyphChanged = false;     // the working glyph is marked changed (undo)
    bool glyphCanUndoAll = false;  // the working glyph differs from the loaded one
    bool glyphCanDelete = false;   // select tool active with a non-empty selection
};

bool isCommandEnabled(EnableRule rule, const CommandState& state);

// The main menu as the user sees it: popups with their items; 0 stands for a separator and
// -1 for the place of the recent files.
struct MenuEntry {
    int id = 0;                        // command id, 0 separator, -1 recent files
    const char* popupTitle = nullptr;  // set for a nested popup
    std::vector<MenuEntry> items;      // the popup's items
};
struct MenuPopup {
    const char* title;
    std::vector<MenuEntry> items;
};
const std::vector<MenuPopup>& mainMenu();
// The New pop-up of the file bar's first button.
const std::vector<int>& newMenuCommands();

}  // namespace typeloom::app
