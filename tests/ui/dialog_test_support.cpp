#include "dialog_test_support.h"

namespace typeloom::test {

ui::DialogServices ScriptedDialogs::services() {
    ui::DialogServices s;
    s.openFile = [this](QWidget*, const QString&, const QString& filter) {
        openFileFilters.push_back(filter);
        return openFileAnswer;
    };
    s.saveFile = [this](QWidget*, const QString&, const QString& proposed, const QString&,
                        const QString&) {
        proposedSaveNames.push_back(proposed);
        return saveFileAnswer;
    };
    s.chooseFolder = [this](QWidget*, const QString& title, const QString&) {
        folderTitles.push_back(title);
        return folderAnswer;
    };
    s.message = [this](QWidget*, ui::MessageIcon icon, const QString& caption,
                       const QString& text) {
        messages.push_back({icon, caption, text});
    };
    s.askYesNo = [this](QWidget*, const QString&, const QString& text) {
        questions.push_back(text);
        return yesNoAnswer;
    };
    s.runDialog = [this](QDialog& dialog) {
        dialogsRun.push_back(dialog.windowTitle());
        return onDialog ? onDialog(dialog) : static_cast<int>(QDialog::Rejected);
    };
    s.openFolder = [this](const QString& folder) { foldersOpened.push_back(folder); };
    s.showHelp = [this](const QString& topic) { helpTopics.push_back(topic); };
    return s;
}

int pressOk(QDialog& dialog) {
    dialog.setResult(QDialog::Rejected);
    dialog.accept();
    return dialog.result();
}

}  // namespace typeloom::test
