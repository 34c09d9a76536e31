#include "app/commands.h"

namespace typeloom::app {

namespace {

using R = EnableRule;

// Menu texts keep their mnemonics and key texts; the strings are the status-bar prompt and,
// after "\n", the tool tip.
const std::vector<CommandInfo> kCommands = {
    {CommandId::NewFromScratch, "NewFromScratch", "&New Font From Scratch...\tCtrl+N",
     "Create a new empty font project\nNew Font From Scratch", R::Always},
    {CommandId::ImportSystemFont, "ImportSystemFont", "&Import An Existing System Font\tCtrl+I",
     "Import Font\nStep 1: import font", R::Always},
    {CommandId::ImportResource, "ImportResource", "Import Font &Resource...\tCtrl+R",
     "Import font resource(*.fnt, *.fon, *.bdf )", R::Always},
    {CommandId::Open, "Open", "&Open Font...\tCtrl+O", "Open an existing Typeloom document\nOpen",
     R::Always},
    {CommandId::Save, "Save", "&Save Font\tCtrl+S", "Save the active Typeloom document\nSave",
     R::HasCharacters},
    {CommandId::SaveAs, "SaveAs", "Save Font &As...",
     "Save the active document with a new name\nSave As", R::HasCharacters},
    {CommandId::ExportGeneralC, "ExportGeneralC", "General C file (*.c)...",
     "Export to general C format file (*.c)", R::HasCharacters},
    {CommandId::ExportGeneralBin, "ExportGeneralBin", "General Binary file (*.bin)...",
     "Export to general binary format file (*.bin)", R::HasCharacters},
    {CommandId::ExportMicrochipC, "ExportMicrochipC", "Microchip C file (*.c)...",
     "Export to Microchip C format file (*.c)", R::HasCharacters},
    {CommandId::ExportMicrochipBin, "ExportMicrochipBin", "Microchip Binary file (*.bin)...",
     "Export to Microchip binary format file (*.c)", R::HasCharacters},
    {CommandId::OldFormatHeading, "OldFormatHeading", "Old Typeloom Studio 3.0 Format", "",
     R::Never},
    {CommandId::ExportOldC, "ExportOldC", "     C file (*.c) ...",
     "Export to C file (*.c) in old Typeloom Studio ver3.0 format", R::HasCharacters},
    {CommandId::ExportOldAsm, "ExportOldAsm", "     ASM file (*.asm) ...",
     "Export to ASM file (*.asm) in Typeloom Studio ver3.0 format", R::HasCharacters},
    {CommandId::ExportOldDat, "ExportOldDat", "     Binary file (*.dat) ...",
     "Export to Binary file (*.bin) in Typeloom Studio ver3.0 format", R::HasCharacters},
    // Not in any menu: the HEX export keeps its command for other commands to send.
    {CommandId::ExportHex, "ExportHex", "Export to &Hex File\tCtrl+E", "Export to Hexfile (*.hex)",
     R::HasCharacters},
    {CommandId::ExportFnt, "ExportFnt", "Windows Font &Resource file (*.fnt)...",
     "Export to Windows *.fnt file, ASCII+ISO8859 encoding ONLY", R::HasCharactersOneBit},
    {CommandId::ExportFon, "ExportFon", "Windows Bitmap &Font file (*.fon)...",
     "Export to Windows *.fon file, ASCII+ISO8859 encoding ONLY", R::HasCharactersOneBit},
    {CommandId::ExportBitmaps, "ExportBitmaps", "Windows &Bitmap files of all chars(*.bmp)",
     "Export bitmap files of all characters", R::HasCharacters},
    {CommandId::ExportBdf, "ExportBdf", "Bitmap &Distribution Format file (*.bdf)...",
     "Export to a Glyph Bitmap Distribution Format file (*.bdf)", R::HasCharacters},
    {CommandId::DataFormat, "DataFormat", "Confi&gure Data Format...\tCtrl+G",
     "Configure data format\nStep 4: configure data format", R::HasCharacters},
    {CommandId::Exit, "Exit", "E&xit", "Quit the application; prompts to save documents\nExit",
     R::Always},
    {CommandId::Undo, "Undo", "&Undo\tCtrl+Z", "Undo the last action\nUndo", R::Undo},
    {CommandId::Redo, "Redo", "&Redo\tCtrl+Y", "Redo the last action undone\nRedo", R::Redo},
    {CommandId::History, "History", "&History...",
     "Show the steps that Undo and Redo walk, and go back or forward to one", R::History},
    {CommandId::UndoAll, "UndoAll", "U&ndo All", "Restore current character to last saved state.",
     R::UndoAll},
    {CommandId::Copy, "Copy", "&Copy\tCtrl+C",
     "Copy the editing character as image and put it on the Clipboard\nCopy", R::Copy},
    {CommandId::Paste, "Paste", "&Paste\tCtrl+V",
     "Paste clipboard image into editing character\nPaste", R::Paste},
    {CommandId::Delete, "Delete", "&Delete\t   Del", "Erase the selection\nErase", R::Delete},
    {CommandId::MultiCopy, "MultiCopy", "Multi Cop&y ...",
     "Copy select characters into Windows clipboard", R::MoreThanOneCharacter},
    {CommandId::MultiPaste, "MultiPaste", "Multi Pas&te ...",
     "Paste the copied characters from Windows clipboard into this font", R::MultiPaste},
    {CommandId::GoToCharacter, "GoToCharacter", "&Go to Character...\tCtrl+J",
     "Edit the character of a code, a Unicode value or the character typed\nGo to Character",
     R::HasCharacters},
    {CommandId::SelectAll, "SelectAll", "Select &All\tCtrl+A",
     "Select the entire editing character pixels\nSelect All", R::SelectAll},
    {CommandId::ChangeHeight, "ChangeHeight", "Change Font &Height...\tCtrl+H",
     "Change the font height with pixel units\nStep 3: change font height", R::HasCharacters},
    {CommandId::ChangeWidth, "ChangeWidth", "Change Font &Width...\tCtrl+W",
     "Change the fixed font width with pixel units\nchange font width", R::FixedWidth},
    {CommandId::ChangeAscent, "ChangeAscent", "Change Font &Ascent...", "Change font Ascent",
     R::HasCharacters},
    {CommandId::Resize, "Resize", "Re&size Font...", "Resize font by percentage or pixel",
     R::HasCharacters},
    {CommandId::ToFixedWidth, "ToFixedWidth", "Change to &Fixed-Width Font",
     "Change this varialbe width font to be Fixed-Width font", R::HasCharactersVariableWidth},
    {CommandId::ToVariableWidth, "ToVariableWidth", "Change to &Variable-Width Font",
     "Change this fixed width font to be Variable-Width font", R::HasCharactersFixedWidth},
    {CommandId::KeepOnlyUsedCharacters, "KeepOnlyUsedCharacters",
     "Keep Only Characters &Used In...",
     "Keep only the characters that text files (C strings, .po, JSON, plain text) use",
     R::HasCharacters},
    {CommandId::RemoveBlankColumns, "RemoveBlankColumns", "&Remove Blank Columns",
     "Remove blank columns (variable-width font ONLY)\nRemove blank columns",
     R::HasCharactersVariableWidth},
    {CommandId::CenterAll, "CenterAll", "&Center All Characters Horizontally",
     "Horizontally center all characters (fixed-width font ONLY)", R::HasCharactersFixedWidth},
    {CommandId::MirrorHorizontal, "MirrorHorizontal", "&Horizontal",
     "Horizontal mirror all characters\nHorizontal mirror all characters", R::HasCharacters},
    {CommandId::MirrorVertical, "MirrorVertical", "&Vertical",
     "Vertical mirror all characters\nVertical mirror all characters", R::HasCharacters},
    {CommandId::InvertAll, "InvertAll", "&Invert All Characters",
     "Invert all characters of the font\nInvert all characters", R::HasCharacters},
    {CommandId::EditTable, "EditTable", "Edit Characters &Table...\tCtrl+T",
     "Change the characters rang of the font\nStep 2: edit characters table", R::HasCharacters},
    {CommandId::FontInformation, "FontInformation", "Font Information...",
     "Show font information, ONLY for Ascii+ISO8859 encoding", R::FontInformation},
    {CommandId::ZoomIn, "ZoomIn", "Grid Zoom &In\tCtrl +", "Grid zoom in", R::ZoomIn},
    {CommandId::ZoomOut, "ZoomOut", "Grid Zoom &Out\tCtrl -", "Grid zoom out", R::ZoomOut},
    {CommandId::Preferences, "Preferences", "&Preferences...", "Preferences", R::Always},
    {CommandId::HelpContents, "HelpContents", "&Help Contents and Index\tF1", "Open help document",
     R::Always},
    {CommandId::QuickGuide, "QuickGuide", "&Quick User Guide", "Quick user guide to use Typeloom",
     R::Always},
    {CommandId::Website, "Website", "Visit our &Website", "Go to Typeloom world-wide-web site",
     R::Always},
    {CommandId::About, "About", "&About...",
     "Display Typeloom information, version number and copyright\nAbout", R::Always},
    {CommandId::NewMenu, "NewMenu", "", "New Font Project\nNew", R::Always},
    {CommandId::ExportDialog, "ExportDialog", "",
     "Export the font in various format\nStep 5: export font", R::HasCharacters},
};

QString beforeNewline(const char* text, bool before) {
    const QString all = QString::fromLatin1(text);
    const qsizetype cut = all.indexOf(QLatin1Char('\n'));
    if (cut < 0) {
        return before ? all : QString();
    }
    return before ? all.left(cut) : all.mid(cut + 1);
}

MenuEntry item(CommandId id) {
    return MenuEntry{MenuEntry::Kind::Command, id, nullptr, {}};
}
MenuEntry separator() {
    return MenuEntry{MenuEntry::Kind::Separator, {}, nullptr, {}};
}
MenuEntry recentFiles() {
    return MenuEntry{MenuEntry::Kind::RecentFiles, {}, nullptr, {}};
}
MenuEntry popup(const char* title, std::vector<MenuEntry> items) {
    return MenuEntry{MenuEntry::Kind::Popup, {}, title, std::move(items)};
}

}  // namespace

const std::vector<CommandInfo>& commandTable() {
    return kCommands;
}

const CommandInfo* findCommand(CommandId id) {
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
        case R::MultiPaste:
            return hasCharacters && s.clipboardCanMultiPaste;
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
            return s.editFieldFocused ? s.fieldCanUndo : s.historyCanUndo;
        case R::Redo:
            return s.editFieldFocused ? s.fieldCanRedo : s.historyCanRedo;
        case R::History:
            return s.historyHasSteps;
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
         {popup("&New Font", {item(CommandId::NewFromScratch), item(CommandId::ImportSystemFont),
                              item(CommandId::ImportResource)}),
          item(CommandId::Open), item(CommandId::Save), item(CommandId::SaveAs), separator(),
          popup("&Export", {item(CommandId::ExportGeneralC), item(CommandId::ExportGeneralBin),
                            item(CommandId::ExportMicrochipC), item(CommandId::ExportMicrochipBin),
                            item(CommandId::OldFormatHeading), item(CommandId::ExportOldC),
                            item(CommandId::ExportOldAsm), item(CommandId::ExportOldDat),
                            separator(), item(CommandId::ExportFnt), item(CommandId::ExportFon),
                            item(CommandId::ExportBitmaps), item(CommandId::ExportBdf)}),
          item(CommandId::DataFormat), separator(), recentFiles(), separator(),
          item(CommandId::Exit)}},
        {"&Edit",
         {item(CommandId::Undo), item(CommandId::Redo), item(CommandId::UndoAll),
          item(CommandId::History), separator(), item(CommandId::Copy), item(CommandId::Paste),
          item(CommandId::Delete), separator(), item(CommandId::MultiCopy),
          item(CommandId::MultiPaste), separator(), item(CommandId::SelectAll), separator(),
          item(CommandId::GoToCharacter)}},
        {"Fo&nt",
         {item(CommandId::ChangeHeight), item(CommandId::ChangeWidth),
          item(CommandId::ChangeAscent), item(CommandId::Resize), separator(),
          item(CommandId::ToFixedWidth), item(CommandId::ToVariableWidth), separator(),
          item(CommandId::RemoveBlankColumns), item(CommandId::CenterAll),
          popup("Mirror All Characters",
                {item(CommandId::MirrorHorizontal), item(CommandId::MirrorVertical)}),
          item(CommandId::InvertAll), separator(), item(CommandId::KeepOnlyUsedCharacters),
          item(CommandId::EditTable), item(CommandId::FontInformation)}},
        {"&Options",
         {item(CommandId::ZoomIn), item(CommandId::ZoomOut), separator(),
          item(CommandId::Preferences)}},
        {"&Help",
         {item(CommandId::HelpContents), item(CommandId::QuickGuide), separator(),
          item(CommandId::Website), separator(), item(CommandId::About)}},
    };
    return menu;
}

const std::vector<CommandId>& newMenuCommands() {
    static const std::vector<CommandId> ids = {
        CommandId::NewFromScratch, CommandId::ImportSystemFont, CommandId::ImportResource};
    return ids;
}

}  // namespace typeloom::app
