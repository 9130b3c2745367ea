// tessellon-cli: batch work on collections through the same code as the program.
#include <QCoreApplication>
#include <iostream>

#include "cli/cli_commands.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    return cli::runCli(args, std::cout, std::cerr);
}
