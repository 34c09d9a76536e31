#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace typeloom::cli {

// What one run of the command-line tool did: its exit status and everything it wrote.
struct Result {
    int status;
    std::string out;
    std::string err;
};

// Runs the tool in-process with the arguments that follow the program name.
inline Result runCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = run(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace typeloom::cli
