#include "app/key_filter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "app/edit_routing.h"

namespace typeloom::app {

namespace {

// The main keyboard's "=/+" and "-/_" keys in any shift state.
bool isEqualsKey(int key) {
    return key == Qt::Key_Equal || key == Qt::Key_Plus;
}
bool isMinusKey(int key) {
    return key == Qt::Key_Minus || key == Qt::Key_Underscore;
}

std::optional<CommandId> ctrlLetterCommand(int key) {
    switch (key) {
        case Qt::Key_A:
            return CommandId::SelectAll;
        case Qt::Key_C:
            return CommandId::Copy;
        case Qt::Key_E:
            return CommandId::ExportDialog;
        case Qt::Key_G:
            return CommandId::DataFormat;
        case Qt::Key_H:
            return CommandId::ChangeHeight;
        case Qt::Key_I:
            return CommandId::ImportSystemFont;
        case Qt::Key_J:
            return CommandId::GoToCharacter;
        case Qt::Key_N:
            return CommandId::NewFromScratch;
        case Qt::Key_O:
            return CommandId::Open;
        case Qt::Key_R:
            return CommandId::ImportResource;
        case Qt::Key_S:
            return CommandId::Save;
        case Qt::Key_T:
            return CommandId::EditTable;
        case Qt::Key_U:
            return CommandId::Preferences;
        case Qt::Key_V:
            return CommandId::Paste;
        case Qt::Key_W:
            return CommandId::ChangeWidth;
        case Qt::Key_Y:
            return CommandId::Redo;
        case Qt::Key_Z:
            return CommandId::Undo;
        default:
            return std::nullopt;
    }
}

}  // namespace

KeyAction classifyKey(int key, Qt::KeyboardModifiers modifiers, int bitsPerPixel,
                      bool editFieldFocused) {
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (key == Qt::Key_Delete) {
        return {KeyAction::Kind::Command, CommandId::Delete};
    }
    if (key == Qt::Key_F1) {
        return {KeyAction::Kind::Help, std::nullopt};
    }
    if (!ctrl && !keypad && bitsPerPixel >= 2 && !editFieldFocused) {
        if (isEqualsKey(key)) {
            return {KeyAction::Kind::NextSwatch, std::nullopt};
        }
        if (isMinusKey(key)) {
            return {KeyAction::Kind::PreviousSwatch, std::nullopt};
        }
    }
    if (ctrl) {
        if (key == Qt::Key_Z && modifiers.testFlag(Qt::ShiftModifier)) {
            return {KeyAction::Kind::Command, CommandId::Redo};
        }
        if (const std::optional<CommandId> command = ctrlLetterCommand(key)) {
            return {KeyAction::Kind::Command, command};
        }
        if (!keypad && isEqualsKey(key)) {
            return {KeyAction::Kind::Command, CommandId::ZoomIn};
        }
        if (!keypad && isMinusKey(key)) {
            return {KeyAction::Kind::Command, CommandId::ZoomOut};
        }
    }
    return {};
}

QAbstractButton* helpButtonOf(QWidget* dialog) {
    // The Help button in view first; a page without one (the General page of the
    // Preferences) takes the first of the other pages', which show the same topic.
    QAbstractButton* hidden = nullptr;
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        QString text = button->text();
        text.remove(QLatin1Char('&'));
        if (text != QStringLiteral("Help") || !button->isEnabled()) {
            continue;
        }
        if (button->isVisible()) {
            return button;
        }
        if (hidden == nullptr) {
            hidden = button;
        }
    }
    return hidden;
}

KeyFilter::KeyFilter(Hooks hooks, QObject* parent) : QObject(parent), m_hooks(std::move(hooks)) {}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) {
        return false;
    }
    if (QWidget* dialog = QApplication::activeModalWidget()) {
        // F1 in a dialog does what its Help button does: it opens the dialog's own topic.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier ||
            widget->window() != dialog) {
            return false;
        }
        QAbstractButton* help = helpButtonOf(dialog);
        if (help == nullptr) {
            return false;
        }
        if (event->type() == QEvent::KeyPress) {
            help->click();
        }
        event->accept();
        return true;
    }
    if (m_hooks.isMainWindowPart && !m_hooks.isMainWindowPart(widget)) {
        return false;
    }
    // The characters list takes its keys directly.
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (w->inherits("typeloom::ui::CharacterListGrid")) {
            return false;
        }
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const KeyAction action =
        classifyKey(key->key(), key->modifiers(), m_hooks.bitsPerPixel ? m_hooks.bitsPerPixel() : 1,
                    isEditField(QApplication::focusWidget()));
    if (action.kind == KeyAction::Kind::PassOn) {
        return false;
    }
    // A shortcut override is accepted so that the key press follows and is handled here,
    // before any widget's own shortcut (a line edit's Ctrl+C, say) can take it.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    switch (action.kind) {
        case KeyAction::Kind::Command:
            if (m_hooks.command && action.command)
                m_hooks.command(*action.command);
            break;
        case KeyAction::Kind::Help:
            if (m_hooks.help)
                m_hooks.help();
            break;
        case KeyAction::Kind::NextSwatch:
        case KeyAction::Kind::PreviousSwatch:
            if (m_hooks.swatch)
                m_hooks.swatch(action.kind == KeyAction::Kind::NextSwatch);
            break;
        case KeyAction::Kind::PassOn:
            break;
    }
    return true;
}

}  // namespace typeloom::app
