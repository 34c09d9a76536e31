#include <iostream>
#include <string>
#include <vector>

#include "charset/dbcs_tables.h"
#include "cli/cli.h"
#include "model/freetype_renderer.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (auto problem = typeloom::loadProgramDbcsTables()) {
        std::cerr << "typeloom: " << *problem << "\n";
        return typeloom::cli::kExitFailed;
    }
    typeloom::installFreeTypeRenderer();
    return typeloom::cli::run(args, std::cout, std::cerr);
}
