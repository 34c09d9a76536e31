#include <QApplication>
#include <QMessageBox>
#include <QSettings>

#include "app/tessera_app.h"
#include "charset/dbcs_tables.h"
#include "model/freetype_renderer.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Typeloom"));
    QApplication::setApplicationName(QStringLiteral("Typeloom Studio"));
    QApplication::setApplicationVersion(QStringLiteral("3.5"));
    QApplication::setDesktopFileName(QStringLiteral("typeloom-studio"));

    // Without the double-byte code tables the program cannot convert codes: it ends.
    if (auto problem = typeloom::loadProgramDbcsTables()) {
        QMessageBox::critical(nullptr, QStringLiteral("Typeloom Studio"),
                              QString::fromStdString(*problem));
        return 1;
    }
    typeloom::installFreeTypeRenderer();

    typeloom::app::CTesseraApp app(typeloom::app::openUserSettings());
    if (!app.initInstance(QApplication::arguments().mid(1))) {
        return 1;
    }
    return QApplication::exec();
}
