#include "app/edit_routing.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace typeloom::app {

namespace {

// The line edit behind a focused widget: the widget itself or a spin box's field.
QLineEdit* lineEditOf(const QWidget* widget) {
    if (auto* line = qobject_cast<QLineEdit*>(const_cast<QWidget*>(widget))) {
        return line;
    }
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(const_cast<QWidget*>(widget))) {
        return spin->findChild<QLineEdit*>();
    }
    return nullptr;
}

QTextEdit* textEditOf(const QWidget* widget) {
    return qobject_cast<QTextEdit*>(const_cast<QWidget*>(widget));
}

QPlainTextEdit* plainEditOf(const QWidget* widget) {
    return qobject_cast<QPlainTextEdit*>(const_cast<QWidget*>(widget));
}

}  // namespace

bool isEditField(const QWidget* widget) {
    return widget != nullptr && (lineEditOf(widget) != nullptr || textEditOf(widget) != nullptr ||
                                 plainEditOf(widget) != nullptr);
}

bool fieldCanUndo(const QWidget* field) {
    if (QLineEdit* line = lineEditOf(field)) {
        return line->isUndoAvailable();
    }
    if (QTextEdit* text = textEditOf(field)) {
        return !text->isReadOnly() && text->document()->isUndoAvailable();
    }
    if (QPlainTextEdit* plain = plainEditOf(field)) {
        return !plain->isReadOnly() && plain->document()->isUndoAvailable();
    }
    return false;
}

bool fieldCanRedo(const QWidget* field) {
    if (QLineEdit* line = lineEditOf(field)) {
        return line->isRedoAvailable();
    }
    if (QTextEdit* text = textEditOf(field)) {
        return !text->isReadOnly() && text->document()->isRedoAvailable();
    }
    if (QPlainTextEdit* plain = plainEditOf(field)) {
        return !plain->isReadOnly() && plain->document()->isRedoAvailable();
    }
    return false;
}

bool fieldHasSelection(const QWidget* field) {
    if (QLineEdit* line = lineEditOf(field)) {
        return line->hasSelectedText();
    }
    if (QTextEdit* text = textEditOf(field)) {
        return text->textCursor().hasSelection();
    }
    if (QPlainTextEdit* plain = plainEditOf(field)) {
        return plain->textCursor().hasSelection();
    }
    return false;
}

bool fieldHasText(const QWidget* field) {
    if (QLineEdit* line = lineEditOf(field)) {
        return !line->text().isEmpty();
    }
    if (QTextEdit* text = textEditOf(field)) {
        return !text->document()->isEmpty();
    }
    if (QPlainTextEdit* plain = plainEditOf(field)) {
        return !plain->document()->isEmpty();
    }
    return false;
}

void fieldCopy(QWidget* field) {
    if (QLineEdit* line = lineEditOf(field)) {
        line->copy();
    } else if (QTextEdit* text = textEditOf(field)) {
        text->copy();
    } else if (QPlainTextEdit* plain = plainEditOf(field)) {
        plain->copy();
    }
}

void fieldPaste(QWidget* field) {
    if (QLineEdit* line = lineEditOf(field)) {
        line->paste();
    } else if (QTextEdit* text = textEditOf(field)) {
        text->paste();
    } else if (QPlainTextEdit* plain = plainEditOf(field)) {
        plain->paste();
    }
}

void fieldClear(QWidget* field) {
    if (!fieldHasSelection(field)) {
        return;
    }
    if (QLineEdit* line = lineEditOf(field)) {
        if (!line->isReadOnly()) {
            line->del();
        }
    } else if (QTextEdit* text = textEditOf(field)) {
        if (!text->isReadOnly()) {
            text->textCursor().removeSelectedText();
        }
    } else if (QPlainTextEdit* plain = plainEditOf(field)) {
        if (!plain->isReadOnly()) {
            plain->textCursor().removeSelectedText();
        }
    }
}

void fieldSelectAll(QWidget* field) {
    if (QLineEdit* line = lineEditOf(field)) {
        line->selectAll();
    } else if (QTextEdit* text = textEditOf(field)) {
        text->selectAll();
        text->ensureCursorVisible();
    } else if (QPlainTextEdit* plain = plainEditOf(field)) {
        plain->selectAll();
        plain->ensureCursorVisible();
    }
}

void fieldUndo(QWidget* field) {
    if (QLineEdit* line = lineEditOf(field)) {
        line->undo();
    } else if (QTextEdit* text = textEditOf(field)) {
        text->undo();
    } else if (QPlainTextEdit* plain = plainEditOf(field)) {
        plain->undo();
    }
}

void fieldRedo(QWidget* field) {
    if (QLineEdit* line = lineEditOf(field)) {
        line->redo();
    } else if (QTextEdit* text = textEditOf(field)) {
        text->redo();
    } else if (QPlainTextEdit* plain = plainEditOf(field)) {
        plain->redo();
    }
}

}  // namespace typeloom::app
