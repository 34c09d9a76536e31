#include "app/commands.h"

namespace typeloom::app {

namespace {

using R = EnableRule;

// Menu texts keep their mnemonics and key texts; the strings are the status-bar prompt and,
// after "\n", the tool tip.
const std::vector<CommandInfo> kCommands = {
    {cmd::kNewFromScratch, "&New Font From Scratch...\tCtrl+N",
     "Create a new empty font project\nNew Font From Scratch", R::Always},
    {cmd::kImportSystemFont, "&Import An Existing System Font\tCtrl+I",
     "Import Font\nStep 1: import font", R::Always},
    {cmd::kImportResource, "Import Font &Resource...\tCtrl+R",
     "Import font resource(*.fnt, *.fon, *.bdf )", R::Always},
    {cmd::kOpen, "&Open Font...\tCtrl+O", "Open an existing Typeloom document\nOpen", R::Always},
    {cmd::kSave, "&Save Font\tCtrl+S", "Save the active Typeloom document\nSave", R::HasCharacters},
    {cmd::kSaveAs, "Save Font &As...", "Save the active document with a new name\nSave As",
     R::HasCharacters},
    {cmd::kExportGeneralC, "General C file (*.c)...", "Export to general C format file (*.c)",
     R::HasCharacters},
    {cmd::kExportGeneralBin, "General Binary file (*.bin)...",
     "Export to general binary format file (*.bin)", R::HasCharacters},
    {cmd::kExportMicrochipC, "Microchip C file (*.c)...", "Export to Microchip C format file (*.c)",
     R::HasCharacters},
    {cmd::kExportMicrochipBin, "Microchip Binary file (*.bin)...",
     "Export to Microchip binary format file (*.c)", R::HasCharacters},
    {cmd::kOldFormatHeading, "Old Typeloom Studio 3.0 Format", "", R::Never},
    {cmd::kExportOldC, "     C file (*.c) ...",
     "Export to C file (*.c) in old Typeloom Studio ver3.0 format", R::HasCharacters},
    {cmd::kExportOldAsm, "     ASM file (*.asm) ...",
     "Export to ASM file (*.asm) in Typeloom Studio ver3.0 format", R::HasCharacters},
    {cmd::kExportOldDat, "     Binary file (*.dat) ...",
     "Export to Binary file (*.bin) in Typeloom Studio ver3.0 format", R::HasCharacters},
    // Not in any menu: the HEX export keeps its command for other commands to send.
    {cmd::kExportHex, "Export to &Hex File\tCtrl+E", "Export to Hexfile (*.hex)", R::HasCharacters},
    {cmd::kExportFnt, "Windows Font &Resource file (*.fnt)...",
     "Export to Windows *.fnt file, ASCII+ISO8859 encoding ONLY", R::HasCharactersOneBit},
    {cmd::kExportFon, "Windows Bitmap &Font file (*.fon)...",
     "Export to Windows *.fon file, ASCII+ISO8859 encoding ONLY", R::HasCharactersOneBit},
    {cmd::kExportBitmaps, "Windows &Bitmap files of all chars(*.bmp)",
     "Export bitmap files of all characters", R::HasCharacters},
    {cmd::kDataFormat, "Confi&gure Data Format...\tCtrl+G",
     "Configure data format\nStep 4: configure data format", R::HasCharacters},
    {cmd::kExit, "E&xit", "Quit the application; prompts to save documents\nExit", R::Always},
    {cmd::kUndo, "&Undo\tCtrl+Z", "Undo the last action\nUndo", R::Undo},
    {cmd::kUndoAll, "U&ndo All", "Restore current character to last saved state.", R::UndoAll},
    {cmd::kCopy, "&Copy\tCtrl+C",
     "Copy the editing character as image and put it on the Clipboard\nCopy", R::Copy},
    {cmd::kPaste, "&Paste\tCtrl+V", "Paste clipboard image into editing character\nPaste",
     R::Paste},
    {cmd::kDelete, "&Delete\t   Del", "Erase the selection\nErase", R::Delete},
    {cmd::kMultiCopy, "Multi Cop&y ...", "Copy select characters into Windows clipboard",
     R::MoreThanOneCharacter},
    {cmd::kMultiPaste, "Multi Pas&te ...",
     "Paste the copied characters from Windows clipboard into this font", R::HasCharacters},
    {cmd::kSelectAll, "Select &All\tCtrl+A",
     "Select the entire editing character pixels\nSelect All", R::SelectAll},
    {cmd::kChangeHeight, "Change Font &Height...\tCtrl+H",
     "Change the font height with pixel units\nStep 3: change font height", R::HasCharacters},
    {cmd::kChangeWidth, "Change Font &Width...\tCtrl+W",
     "Change the fixed font width with pixel units\nchange font width", R::FixedWidth},
    {cmd::kChangeAscent, "Change Font &Ascent...", "Change font Ascent", R::HasCharacters},
    {cmd::kResize, "Re&size Font...", "Resize font by percentage or pixel", R::HasCharacters},
    {cmd::kToFixedWidth, "Change to &Fixed-Width Font",
     "Change this varialbe width font to be Fixed-Width font", R::HasCharactersVariableWidth},
    {cmd::kToVariableWidth, "Change to &Variable-Width Font",
     "Change this fixed width font to be Variable-Width font", R::HasCharactersFixedWidth},
    {cmd::kRemoveBlankColumns, "&Remove Blank Columns",
     "Remove blank columns (variable-width font ONLY)\nRemove blank columns",
     R::HasCharactersVariableWidth},
    {cmd::kCenterAll, "&Center All Characters Horizontally",
     "Horizontally center all characters (fixed-width font ONLY)", R::HasCharactersFixedWidth},
    {cmd::kMirrorHorizontal, "&Horizontal",
     "Horizontal mirror all characters\nHorizontal mirror all characters", R::HasCharacters},
    {cmd::kMirrorVertical, "&Vertical",
     "Vertical mirror all characters\nVertical mirror all characters", R::HasCharacters},
    {cmd::kInvertAll, "&Invert All Characters",
     "Invert all characters of the font\nInvert all characters", R::HasCharacters},
    {cmd::kEditTable, "Edit Characters &Table...\tCtrl+T",
     "Change the characters rang of the font\nStep 2: edit characters table", R::HasCharacters},
    {cmd::kFontInformation, "Font Information...",
     "Show font information, ONLY for Ascii+ISO8859 encoding", R::FontInformation},
    {cmd::kZoomIn, "Grid Zoom &In\tCtrl +", "Grid zoom in", R::ZoomIn},
    {cmd::kZoomOut, "Grid Zoom &Out\tCtrl -", "Grid zoom out", R::ZoomOut},
    {cmd::kPreferences, "&Preferences...", "Preferences", R::Always},
    {cmd::kHelpContents, "&Help Contents and Index\tF1", "Open help document", R::Always},
    {cmd::kQuickGuide, "&Quick User Guide", "Quick user guide to use Typeloom", R::Always},
    {cmd::kWebsite, "Visit our &Website", "Go to Typeloom world-wide-web site", R::Always},
    {cmd::kAbout, "&About...", "Display Typeloom information, version number and copyright\nAbout",
     R::Always},
    {cmd::kNewMenu, "", "New Font Project\nNew", R::Always},
    {cmd::kExportDialog, "", "Export the font in various format\nStep 5: export font",
     R::HasCharacters},
};

QString beforeNewline(const char* text, bool before) {
    const QString all = QString::fromLatin1(text);
    const qsizetype cut = all.indexOf(QLatin1Char('\n'));
    if (cut < 0) {
        return before ? all : QString();
    }
    return before ? all.left(cut) : all.mid(cut + 1);
}

MenuEntry item(int id) {
    return MenuEntry{id, nullptr, {}};
}
MenuEntry separator() {
    return MenuEntry{0, nullptr, {}};
}
MenuEntry popup(const char* title, std::vector<MenuEntry> items) {
    return MenuEntry{0, title, std::move(items)};
}

}  // namespace

const std::vector<CommandInfo>& commandTable() {
    return kCommands;
}

const CommandInfo* findCommand(int id) {
    for (const CommandInfo& command : kCommands) {
        if (command.id == id) {
            return &command;
        }
    }
    return nullptr;
}

QString commandPrompt(const CommandInfo& command) {
    return beforeNewline(command.strings, true);
}

QString commandToolTip(const CommandInfo& command) {
    return beforeNewline(command.strings, false);
}

bool isCommandEnabled(EnableRule rule, const CommandState& s) {
    const bool hasCharacters = s.characterCount > 0;
    switch (rule) {
        case R::Always:
            return true;
        case R::Never:
            return false;
        case R::HasCharacters:
            return hasCharacters;
        case R::MoreThanOneCharacter:
            return s.characterCount > 1;
        case R::HasCharactersOneBit:
            return hasCharacters && s.bitsPerPixel == 1;
        case R::FixedWidth:
            return s.fixedWidth != 0;
        case R::HasCharactersVariableWidth:
            return hasCharacters && s.fixedWidth == 0;
        case R::HasCharactersFixedWidth:
            return hasCharacters && s.fixedWidth != 0;
        case R::FontInformation:
            return hasCharacters && s.encoding == 0 && s.bitsPerPixel == 1;
        case R::ZoomIn:
            return s.gridZoom < 30;
        case R::ZoomOut:
            return s.gridZoom > 1;
        case R::Undo:
            return s.editFieldFocused ? s.fieldCanUndo : s.glyphChanged;
        case R::UndoAll:
            return s.glyphCanUndoAll;
        case R::Copy:
            return s.editFieldFocused ? s.fieldHasSelection : hasCharacters;
        case R::Paste:
            return s.editFieldFocused ? s.clipboardHasText : hasCharacters && s.clipboardHasImage;
        case R::Delete:
            return s.editFieldFocused ? s.fieldHasSelection : s.glyphCanDelete;
        case R::SelectAll:
            // A focused text field can select all of its text when it has any.
            return s.editFieldFocused ? s.fieldHasText : hasCharacters;
    }
    return false;
}

const std::vector<MenuPopup>& mainMenu() {
    static const std::vector<MenuPopup> menu = {
        {"&File",
         {popup("&New Font", {item(cmd::kNewFromScratch), item(cmd::kImportSystemFont),
                              item(cmd::kImportResource)}),
          item(cmd::kOpen), item(cmd::kSave), item(cmd::kSaveAs), separator(),
          popup("&Export",
                {item(cmd::kExportGeneralC), item(cmd::kExportGeneralBin),
                 item(cmd::kExportMicrochipC), item(cmd::kExportMicrochipBin),
                 item(cmd::kOldFormatHeading), item(cmd::kExportOldC), item(cmd::kExportOldAsm),
                 item(cmd::kExportOldDat), separator(), item(cmd::kExportFnt),
                 item(cmd::kExportFon), item(cmd::kExportBitmaps)}),
          item(cmd::kDataFormat), separator(), MenuEntry{-1, nullptr, {}}, separator(),
          item(cmd::kExit)}},
        {"&Edit",
         {item(cmd::kUndo), item(cmd::kUndoAll), separator(), item(cmd::kCopy), item(cmd::kPaste),
          item(cmd::kDelete), separator(), item(cmd::kMultiCopy), item(cmd::kMultiPaste),
          separator(), item(cmd::kSelectAll), separator()}},
        {"Fo&nt",
         {item(cmd::kChangeHeight), item(cmd::kChangeWidth), item(cmd::kChangeAscent),
          item(cmd::kResize), separator(), item(cmd::kToFixedWidth), item(cmd::kToVariableWidth),
          separator(), item(cmd::kRemoveBlankColumns), item(cmd::kCenterAll),
          popup("Mirror All Characters",
                {item(cmd::kMirrorHorizontal), item(cmd::kMirrorVertical)}),
          item(cmd::kInvertAll), separator(), item(cmd::kEditTable), item(cmd::kFontInformation)}},
        {"&Options",
         {item(cmd::kZoomIn), item(cmd::kZoomOut), separator(), item(cmd::kPreferences)}},
        {"&Help",
         {item(cmd::kHelpContents), item(cmd::kQuickGuide), separator(), item(cmd::kWebsite),
          separator(), item(cmd::kAbout)}},
    };
    return menu;
}

const std::vector<int>& newMenuCommands() {
    static const std::vector<int> ids = {cmd::kNewFromScratch, cmd::kImportSystemFont,
                                         cmd::kImportResource};
    return ids;
}

}  // namespace typeloom::app
