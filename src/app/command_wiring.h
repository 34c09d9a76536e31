#pragma once

namespace typeloom::app {

class CMainFrame;
class CTesseraApp;

// Connects every command whose work exists to its handler on the main frame. A command left
// out stays disabled in the menus and toolbars.
void connectCommands(CTesseraApp& app, CMainFrame& frame);

}  // namespace typeloom::app
