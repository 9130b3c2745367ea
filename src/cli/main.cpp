// tessellon-cli: batch work on collections through the same code as the program. --version
// answers before anything else is set up.
//
// Built twice (see CMakeLists.txt): tessellon-cli without Qt's GUI library, and, with
// TESSELLON_CLI_PAINTS, tessellon-cli-report, which runs the report verb (it measures and
// paints text, so it needs the GUI application, on no display at all), album, and picture and
// stats, whose code reaches Qt's GUI library. The other verbs need no
// application object (file names are UTF-8 either way, and no event loop runs), so tessellon-cli
// makes none: it starts sooner.
#include <cstring>
#include <iostream>
#include <memory>

#include "cli/cli_commands.h"

#if TESSELLON_CLI_PAINTS
#include <QGuiApplication>
#endif

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "tessellon-cli " << TESSELLON_VERSION << "\n";
        return 0;
    }
#if TESSELLON_CLI_PAINTS
    // Only report and album paint; picture and stats need no GUI application.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && (std::strcmp(argv[1], "report") == 0 || std::strcmp(argv[1], "album") == 0)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    return cli::runCli(args, std::cout, std::cerr);
}
