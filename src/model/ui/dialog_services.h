#pragma once

#include <QString>
#include <functional>
#include <string>

class QDialog;
class QWidget;

namespace typeloom::ui {

// The caption of the program's message boxes.
inline constexpr const char* kDialogCaption = "Typeloom Studio";

// The icon of a message box: stop for failures, exclamation for warnings and cancellations,
// information for notices.
enum class MessageIcon { Stop, Exclamation, Information };

// Every file dialog, folder chooser, message box and modal run the font commands and dialogs
// use, so that tests can answer them without a blocking window. standard() shows the real Qt
// dialogs.
struct DialogServices {
    // An open-file dialog for an existing file; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& filter)> openFile;
    // A save dialog proposing `proposed`, adding `suffix` to a name without one and asking
    // before an existing file is replaced; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& proposed,
                          const QString& filter, const QString& suffix)>
        saveFile;
    // A folder chooser starting at `start`; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& title, const QString& start)>
        chooseFolder;
    std::function<void(QWidget* parent, MessageIcon icon, const QString& caption,
                       const QString& text)>
        message;
    // A Yes/No question (question icon); true for Yes.
    std::function<bool(QWidget* parent, const QString& caption, const QString& text)> askYesNo;
    // Runs a dialog modally and returns its result (QDialog::Accepted or Rejected).
    std::function<int(QDialog& dialog)> runDialog;
    // Shows a folder in the desktop's file browser.
    std::function<void(const QString& folder)> openFolder;
    // Where the Help buttons of the dialogs a command shows send their topic; by default the
    // handler given to setHelpHandler.
    std::function<void(const QString& topic)> showHelp;

    static DialogServices standard();
};

// The program's help (the main frame sets it once): where the standard services send the topic
// of a Help button ("newfont.htm", "changeinfo.htm"). Without one, Help does nothing.
void setHelpHandler(std::function<void(const QString& topic)> handler);

// A file-dialog filter written as "Label (*.a;*.b)|*.a;*.b|...||" in Qt's form
// "Label (*.a *.b);;...".
QString qtFileFilter(const char* filter);

inline QString qtText(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
inline std::string utf8Text(const QString& text) {
    return text.toStdString();
}

// The wait cursor for the lifetime of the object.
class WaitCursor {
  public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace typeloom::ui
