#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace typeloom::cli {

// A command of the `typeloom` tool. Each command lives in its own file and registers itself
// with a static CommandRegistration, so adding one touches no shared table.
struct Command {
    const char* name;
    const char* summary;  // one line for the main help
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

// Every registered command, sorted by name.
std::vector<Command> registeredCommands();

struct CommandRegistration {
    explicit CommandRegistration(Command command);
};

}  // namespace typeloom::cli
