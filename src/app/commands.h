#pragma once

#include <QString>
#include <vector>

namespace typeloom::app {

// Every menu item, toolbar button and key reaches the main frame as one of these commands. The
// values are the commands' ids.
enum class CommandId : int {
    ExportDialog = 1017,
    ImportSystemFont = 32790,
    ChangeWidth = 32791,
    ChangeHeight = 32792,
    EditTable = 32793,
    FontInformation = 32794,
    DataFormat = 32797,
    Website = 32801,
    QuickGuide = 32802,
    Preferences = 32803,
    InvertAll = 32804,
    MirrorHorizontal = 32805,
    MirrorVertical = 32806,
    NewFromScratch = 32807,
    CenterAll = 32808,
    ChangeAscent = 32810,
    UndoAll = 32811,
    NewMenu = 32812,
    ZoomIn = 32813,
    ZoomOut = 32814,
    ToFixedWidth = 32815,
    ToVariableWidth = 32816,
    RemoveBlankColumns = 32817,
    ImportResource = 32824,
    ExportFnt = 32825,
    ExportFon = 32826,
    ExportBitmaps = 32827,
    ExportBdf = 32890,
    KeepOnlyUsedCharacters = 32891,
    OldFormatHeading = 32839,
    ExportHex = 32840,
    ExportOldC = 32847,
    ExportOldAsm = 32848,
    ExportOldDat = 32849,
    ExportGeneralC = 32850,
    ExportGeneralBin = 32851,
    ExportMicrochipC = 32852,
    ExportMicrochipBin = 32853,
    Resize = 32870,
    MultiCopy = 32871,
    MultiPaste = 32872,
    History = 32880,
    GoToCharacter = 32881,
    FileNew = 57600,
    Open = 57601,
    Save = 57603,
    SaveAs = 57604,
    RecentFirst = 57616,  // the recent files of the File menu, first to last
    RecentLast = 57619,
    Delete = 57632,
    Copy = 57634,
    Cut = 57635,
    Paste = 57637,
    SelectAll = 57642,
    Undo = 57643,
    Redo = 57644,
    About = 57664,
    Exit = 57665,
    HelpContents = 57666,
    NextPane = 57680,
    PreviousPane = 57681,
};

// When a command is enabled (the update rule applied before a menu or toolbar is shown).
enum class EnableRule {
    Always,
    Never,
    HasCharacters,
    MoreThanOneCharacter,        // multi copy
    MultiPaste,                  // the clipboard holds a block that can be pasted into the font
    HasCharactersOneBit,         // Windows font exports
    FixedWidth,                  // change font width
    HasCharactersVariableWidth,  // to fixed width, remove blank columns
    HasCharactersFixedWidth,     // to variable width, centre all
    FontInformation,             // characters, encoding Ascii+ISO8859, 1 bit per pixel
    ZoomIn,
    ZoomOut,
    Undo,
    Redo,
    History,
    UndoAll,
    Copy,
    Paste,
    Delete,
    SelectAll,
};

struct CommandInfo {
    CommandId id;
    const char* name;      // the action's object name after "action"
    const char* menuText;  // with "&" mnemonic and "\t" key text; empty for toolbar-only ids
    const char* strings;   // status-bar prompt, then "\n" and the tool tip (may be empty)
    EnableRule rule;
};

// Every command the frame knows, in the order of the command table.
const std::vector<CommandInfo>& commandTable();
const CommandInfo* findCommand(CommandId id);

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
    bool fieldCanRedo = false;
    bool fieldHasSelection = false;
    bool fieldHasText = false;
    bool clipboardHasText = false;
    bool clipboardHasImage = false;
    // The undo history of the font.
    bool historyCanUndo = false;
    bool historyCanRedo = false;
    bool historyHasSteps = false;
    // The clipboard holds a multi-copy block of the font's bits per pixel that is not the
    // font's own.
    bool clipboardCanMultiPaste = false;
    // The glyph editor.
    bool glyphChanged = false;     // the working glyph is marked changed (undo)
    bool glyphCanUndoAll = false;  // the working glyph differs from the loaded one
    bool glyphCanDelete = false;   // select tool active with a non-empty selection
};

bool isCommandEnabled(EnableRule rule, const CommandState& state);

// The main menu as the user sees it: popups with their items, separators and the place of the
// recent files.
struct MenuEntry {
    enum class Kind {
        Command,  // the item of `command`
        Separator,
        RecentFiles,  // where the recent files are listed
        Popup,        // a nested popup: `popupTitle` and `items`
    };
    Kind kind = Kind::Separator;
    CommandId command{};  // for Kind::Command only
    const char* popupTitle = nullptr;
    std::vector<MenuEntry> items;
};
struct MenuPopup {
    const char* title;
    std::vector<MenuEntry> items;
};
const std::vector<MenuPopup>& mainMenu();
// The New pop-up of the file bar's first button.
const std::vector<CommandId>& newMenuCommands();

}  // namespace typeloom::app
