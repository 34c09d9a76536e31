#pragma once

class QWidget;

namespace typeloom::app {

// The edit commands (copy, paste, delete, select all, undo) act on a focused text field when
// there is one, and on the glyph editor otherwise. A text field is a line edit, a text edit,
// a plain-text edit or the field of a spin box.
bool isEditField(const QWidget* widget);

bool fieldCanUndo(const QWidget* field);
bool fieldCanRedo(const QWidget* field);
bool fieldHasSelection(const QWidget* field);
bool fieldHasText(const QWidget* field);

void fieldCopy(QWidget* field);
void fieldPaste(QWidget* field);
// Removes the selected text; does nothing without a selection.
void fieldClear(QWidget* field);
// Selects all text and keeps the caret in view.
void fieldSelectAll(QWidget* field);
void fieldUndo(QWidget* field);
void fieldRedo(QWidget* field);

}  // namespace typeloom::app
