// tessellon-cli: batch work on collections through the same code as the program. --version
// answers before anything else is set up.
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstring>
#include <iostream>
#include <memory>

#include "cli/cli_commands.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "tessellon-cli " << TESSELLON_VERSION << "\n";
        return 0;
    }
    // report measures and paints text: it needs the GUI application, on no display at all.
    const bool painting = argc > 1 && std::strcmp(argv[1], "report") == 0;
    if (painting && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (painting)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    return cli::runCli(args, std::cout, std::cerr);
}
