#pragma once

// Answers for the dialogs and message boxes of the font commands, recorded for the tests.

#include <QDialog>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "common/progress_sink.h"
#include "model/ui/dialog_services.h"

namespace typeloom::test {

struct ShownMessage {
    ui::MessageIcon icon;
    QString caption;
    QString text;
};

// Every dialog answered by a field the test sets; every message and question recorded.
class ScriptedDialogs {
  public:
    // The dialog run: fills and closes the dialog; Rejected when not set.
    std::function<int(QDialog&)> onDialog;
    QString openFileAnswer;
    QString saveFileAnswer;
    QString folderAnswer;
    bool yesNoAnswer = true;

    std::vector<ShownMessage> messages;
    std::vector<QString> questions;
    std::vector<QString> dialogsRun;  // window titles
    std::vector<QString> openFileFilters;
    std::vector<QString> proposedSaveNames;
    std::vector<QString> folderTitles;
    std::vector<QString> foldersOpened;
    std::vector<QString> helpTopics;

    ui::DialogServices services();
};

// Presses OK: runs the dialog's OK handling and reports whether it closed with OK.
int pressOk(QDialog& dialog);

// Records what the status-bar progress is told.
class RecordingProgress : public ProgressSink {
  public:
    void show(bool visible) override { shown.push_back(visible); }
    void setRange(int lower, int upper) override { ranges.emplace_back(lower, upper); }
    void setStep(int) override {}
    void stepIt() override { ++steps; }
    void setText(const std::string& text) override { texts.push_back(text); }

    std::vector<bool> shown;
    std::vector<std::pair<int, int>> ranges;
    std::vector<std::string> texts;
    int steps = 0;
};

}  // namespace typeloom::test
