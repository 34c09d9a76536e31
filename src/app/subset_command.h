#pragma once

#include <QString>
#include <QStringList>

namespace typeloom {
class Font;
}

namespace typeloom::app {

class MainWindow;
class StudioApp;

// What keeping only the characters some texts use would do, or did, to a font.
struct SubsetOutcome {
    bool ok = false;  // false: a text could not be read (`message` says which and where)
    int kept = 0;     // characters left
    int before = 0;   // characters before
    QString message;
};

// Reads the texts (as `typeloom coverage` does) and keeps in `font` only the characters they
// use, the space and the default character. A text that cannot be read changes nothing.
SubsetOutcome keepOnlyCharactersUsedIn(Font& font, const QStringList& files);

// Font > "Keep Only Characters Used In…": chooses the text files, says how many characters
// would stay and asks before the others leave the font, as one step of the undo history; then
// the frame shows the font again.
void runKeepOnlyCharactersUsedIn(StudioApp& app, MainWindow& frame);

}  // namespace typeloom::app
