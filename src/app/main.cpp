// The windowed program: answers --help and --version without a display; otherwise sets the
// application title, prepares the program directory, installs the real platform, creates the
// main window (which opens the collection named on the command line, or the last one) and runs
// until it closes. "/BROWSE" (or --browse) opens the program in browse mode.
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/main_window.h"
#include "collection/settings_paths.h"
#include "interchange/byte_source.h"
#include "ui/platform.h"
#include "ui/qt_platform.h"

namespace {

const char kUsage[] =
    "Usage: tessellon [/BROWSE] [FILE.DBF]\n"
    "A catalogue for stamp collectors.\n"
    "\n"
    "  FILE.DBF    open this collection instead of the one used last\n"
    "  /BROWSE     browse mode: the collection is shown but cannot be changed\n"
    "              (--browse is the same)\n"
    "  --help      show this text and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "Collections, report layouts and list files live in the program directory: the\n"
    "program's own folder when it is writable and not installed, otherwise\n"
    "$XDG_DATA_HOME/tessellon (~/.local/share/tessellon). Settings are kept in\n"
    "$XDG_CONFIG_HOME/tessellon/TESSELON.INI (~/.config/tessellon).\n";

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tessellon %s\n", TESSELLON_VERSION);
            return 0;
        }
    }

    // Qt reads arguments as UTF-8 and would turn other bytes into U+FFFD, so a collection named
    // in another encoding would open (and could create) a different file: such names are refused.
    for (int i = 1; i < argc; ++i) {
        if (interchange::isValidUtf8(argv[i], std::strlen(argv[i]))) continue;
        std::fprintf(stderr,
                     "tessellon: an argument is not valid UTF-8. File names are kept in UTF-8: "
                     "rename the file and try again.\n");
        return 2;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessellon"));
    QApplication::setApplicationVersion(QStringLiteral(TESSELLON_VERSION));
    // No display name: the window system would append it to every caption
    // ("Tessellon (MASTER) — Tessellon"), and captions are exact.
    QString folderError;
    if (!collection::prepareProgramDirectory(&folderError)) {
        std::fprintf(stderr, "tessellon: %s\n", qPrintable(folderError));
        return 1;
    }
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
