#pragma once

#include <QObject>
#include <Qt>
#include <functional>
#include <optional>

#include "app/commands.h"

class QAbstractButton;
class QWidget;

namespace typeloom::app {

// What the application does with a key press before dialogs and shortcuts see it.
struct KeyAction {
    enum class Kind {
        PassOn,      // the key goes on to the focused widget
        Command,     // send `command` to the main window (the key is consumed)
        Help,        // open the help contents
        NextSwatch,  // the next darker colour swatch
        PreviousSwatch,
    };
    Kind kind = Kind::PassOn;
    std::optional<CommandId> command;  // for Kind::Command
};

// The filter's rules, in their order: Delete (any Shift/Ctrl) becomes the Delete command; F1
// opens help; "=" / "-" without Ctrl step the colour swatches in fonts of 2 or more bits per
// pixel when no text field has the focus; Ctrl with a letter or "=" / "-" sends its command.
// `key` and `modifiers` are Qt's; keys of the numeric keypad are not the "=" and "-" keys.
KeyAction classifyKey(int key, Qt::KeyboardModifiers modifiers, int bitsPerPixel,
                      bool editFieldFocused);

// The enabled "Help" button of a dialog, the one in view first, if it has one.
QAbstractButton* helpButtonOf(QWidget* dialog);

// Installed on the application: applies classifyKey to key presses addressed to the main
// window and its panes (never to the characters list, which takes its keys directly). While a
// modal dialog is open only F1 is taken, and only in a dialog with a Help button: it presses
// that button, so F1 shows the dialog's own help topic.
class KeyFilter : public QObject {
    Q_OBJECT

  public:
    struct Hooks {
        std::function<int()> bitsPerPixel;
        std::function<void(CommandId)> command;
        std::function<void()> help;
        std::function<void(bool next)> swatch;
        std::function<bool(QObject*)> isMainWindowPart;  // the receiver belongs to the frame
    };
    explicit KeyFilter(Hooks hooks, QObject* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Hooks m_hooks;
};

}  // namespace typeloom::app
