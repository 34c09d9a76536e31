#pragma once

#include <QMainWindow>
#include <QString>

class QSplitter;
class QFrame;

namespace typeloom::app {

class CTesseraApp;
class ProgressStatusBar;

// The main window: a splitter with the editing panel above the character data panel on the
// left and the characters table panel on the right, three toolbars, the menus and the status
// bar. It offers the frame services the rest of the program calls after changing the font.
class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    explicit CMainFrame(CTesseraApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    ProgressStatusBar& progressBar() { return *m_statusBar; }
    QSplitter* mainSplitter() const { return m_mainSplitter; }
    QSplitter* leftSplitter() const { return m_leftSplitter; }

    // --- Frame services
    void storeEditedGlyph();
    void reloadEditedGlyph();
    void refreshDataPanel();
    void refreshCharacterList();
    void selectInitialCharacter();
    void updateFrameTitle();
    void updateStatusPanes();

    // Window placement and splitter sizes, saved on close and restored at start.
    bool restoreWindowPlacement();
    void saveWindowPlacement();
    void applySplitterPos(long long splitterPos);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createPanes();

    CTesseraApp& m_app;
    QSplitter* m_mainSplitter = nullptr;
    QSplitter* m_leftSplitter = nullptr;
    QWidget* m_editorView = nullptr;  // CTesseraView: character editor panel and pixel grid
    QWidget* m_dataView = nullptr;    // CDataView: character data panel
    QWidget* m_rightView = nullptr;   // CRightView: characters table panel
    ProgressStatusBar* m_statusBar = nullptr;
};

}  // namespace typeloom::app
