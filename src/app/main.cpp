#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <algorithm>

#include "app/icons.h"
#include "app/main_window.h"
#include "app/studio_app.h"
#include "charset/dbcs_tables.h"
#include "editor/ui/pixel_grid.h"
#include "model/freetype_renderer.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Typeloom"));
    QApplication::setApplicationName(QStringLiteral("Typeloom Studio"));
    QApplication::setApplicationVersion(QStringLiteral("3.5"));
    QApplication::setDesktopFileName(QStringLiteral("typeloom-studio"));
    QApplication::setWindowIcon(typeloom::app::applicationIcon());

    // Without the double-byte code tables the program cannot convert codes: it ends.
    if (auto problem = typeloom::loadProgramDbcsTables()) {
        QMessageBox::critical(nullptr, QStringLiteral("Typeloom Studio"),
                              QString::fromStdString(*problem));
        return 1;
    }
    typeloom::installFreeTypeRenderer();

    typeloom::app::StudioApp app(typeloom::app::openUserSettings());
    if (!app.initInstance(QApplication::arguments().mid(1))) {
        return 1;
    }
    // For the tests that drive the real program (and tools/screenshot.sh): commands run once
    // the window is up, by object name without "action", comma separated.
    const QString run = qEnvironmentVariable("TYPELOOM_RUN_COMMANDS");
    if (!run.isEmpty()) {
        QTimer::singleShot(300, &app, [&app, run] {
            for (const QString& name : run.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                if (auto* action =
                        app.mainWindow()->findChild<QAction*>(QStringLiteral("action") + name)) {
                    action->trigger();
                }
            }
        });
    }
    // tools/screenshot.sh: after a delay the main window is saved as a PNG and the program
    // ends without touching the project.
    const QString screenshot = qEnvironmentVariable("TYPELOOM_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        // For the pictures of the help pages: a cell of the grid the pointer rests on ("x,y")
        // and commands run once the window is up (object names without "action", comma
        // separated).
        const QStringList hover =
            qEnvironmentVariable("TYPELOOM_SCREENSHOT_HOVER").split(QLatin1Char(','));
        const QString command = qEnvironmentVariable("TYPELOOM_SCREENSHOT_COMMAND");
        QTimer::singleShot(800, &app, [&app, hover, command] {
            typeloom::app::MainWindow* frame = app.mainWindow();
            if (hover.size() == 2) {
                typeloom::ui::PixelGrid* grid = frame->pixelGrid();
                const typeloom::ui::GridGeometry g = grid->geometry();
                const QPoint at = g.cellSquare(hover[0].toInt(), hover[1].toInt()).center();
                QMouseEvent move(QEvent::MouseMove, at, grid->mapToGlobal(at), Qt::NoButton,
                                 Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(grid, &move);
            }
            // Several commands, separated by commas, run in order (the last may open a dialog).
            for (const QString& name : command.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                if (auto* action = frame->findChild<QAction*>(QStringLiteral("action") + name)) {
                    action->trigger();
                }
            }
        });
        // Text typed into the field that has the focus in the dialog the command opened, so
        // that a picture shows the dialog with a value of the user's.
        const QString typed = qEnvironmentVariable("TYPELOOM_SCREENSHOT_TYPE");
        if (!typed.isEmpty()) {
            QTimer::singleShot(1100, &app, [typed] {
                QWidget* modal = QApplication::activeModalWidget();
                QWidget* field = modal != nullptr ? modal->focusWidget() : nullptr;
                if (field == nullptr) {
                    return;
                }
                // A line feed is the Return key (it accepts a file dialog, say).
                for (const QChar c : typed) {
                    QKeyEvent press(QEvent::KeyPress, c == QLatin1Char('\n') ? Qt::Key_Return : 0,
                                    Qt::NoModifier, QString(c));
                    QApplication::sendEvent(field, &press);
                }
            });
        }
        // A button of the dialog open then, by object name ("buttonVerify"), pressed shortly
        // before the picture is taken.
        const QString button = qEnvironmentVariable("TYPELOOM_SCREENSHOT_CLICK");
        if (!button.isEmpty()) {
            const int at = qEnvironmentVariableIntValue("TYPELOOM_SCREENSHOT_DELAY_MS");
            QTimer::singleShot(std::max(at - 400, 1200), &app, [button] {
                QWidget* modal = QApplication::activeModalWidget();
                if (auto* target =
                        modal != nullptr ? modal->findChild<QAbstractButton*>(button) : nullptr) {
                    target->click();
                }
            });
        }
        // A key pressed in the dialog the command opened ("F1" opens its help over it).
        const QKeySequence key(qEnvironmentVariable("TYPELOOM_SCREENSHOT_KEY"));
        if (!key.isEmpty()) {
            QTimer::singleShot(1200, &app, [key] {
                QWidget* modal = QApplication::activeModalWidget();
                QWidget* field = modal != nullptr ? modal->focusWidget() : nullptr;
                if (field == nullptr) {
                    return;
                }
                const QKeyCombination combination = key[0];
                QKeyEvent press(QEvent::KeyPress, combination.key(),
                                combination.keyboardModifiers());
                QApplication::sendEvent(field, &press);
            });
        }
        const int delay = qEnvironmentVariableIntValue("TYPELOOM_SCREENSHOT_DELAY_MS");
        QTimer::singleShot(delay > 0 ? delay : 1500, &app, [&app, screenshot] {
            // TYPELOOM_SCREENSHOT_SCREEN takes the whole screen instead, with the frame a window
            // manager draws round the window (its title bar).
            bool saved =
                qEnvironmentVariableIsSet("TYPELOOM_SCREENSHOT_SCREEN")
                    ? QGuiApplication::primaryScreen()->grabWindow(0).save(screenshot, "PNG")
                    : app.mainWindow()->grab().save(screenshot, "PNG");
            // A dialog open at that moment (the first start's font chooser, say) is saved
            // beside it.
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                QString dialogShot = screenshot;
                dialogShot.replace(QStringLiteral(".png"), QStringLiteral("-dialog.png"));
                saved = dialog->grab().save(dialogShot, "PNG") && saved;
            }
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}
