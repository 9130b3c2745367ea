// The windowed program: sets the application title, installs the real platform, creates the main
// window (which opens the last collection) and runs until it closes. "/BROWSE" as the first
// argument, in any letter case, opens the program in browse mode.
#include <QApplication>

#include "app/main_window.h"
#include "ui/platform.h"
#include "ui/qt_platform.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessellon"));
    // No display name: the window system would append it to every caption
    // ("Tessellon (MASTER) — Tessellon"), and captions are exact.
    ui::QtPlatform platform;
    ui::setPlatform(&platform);

    QStringList arguments = QApplication::arguments();
    if (!arguments.isEmpty()) arguments.removeFirst();
    int status = 1;
    {
        app::TMain mainWindow(arguments);
        if (!mainWindow.startFailed()) {
            mainWindow.show();
            status = application.exec();
        }
    }
    ui::setPlatform(nullptr);
    return status;
}
