#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace typeloom::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs the command line (without the program name). Output goes to `out`, errors to `err`.
// Returns the exit status: 0 done, 1 failed, 2 bad usage.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace typeloom::cli
