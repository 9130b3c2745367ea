// tessellon-cli: batch work on collections through the same code as the program. --version
// answers before anything else is set up.
#include <QCoreApplication>
#include <cstring>
#include <iostream>

#include "cli/cli_commands.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "tessellon-cli " << TESSELLON_VERSION << "\n";
        return 0;
    }
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    return cli::runCli(args, std::cout, std::cerr);
}
