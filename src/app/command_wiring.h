#pragma once

namespace typeloom::app {

class MainWindow;
class StudioApp;

// Connects every command whose work exists to its handler on the main frame. A command left
// out stays disabled in the menus and toolbars.
void connectCommands(StudioApp& app, MainWindow& frame);

}  // namespace typeloom::app
