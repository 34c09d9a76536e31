#include "cli/command_registry.h"

#include <algorithm>
#include <cstring>

namespace typeloom::cli {

namespace {

std::vector<Command>& registry() {
    static std::vector<Command> commands;
    return commands;
}

}  // namespace

std::vector<Command> registeredCommands() {
    std::vector<Command> commands = registry();
    std::sort(commands.begin(), commands.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    return commands;
}

CommandRegistration::CommandRegistration(Command command) {
    registry().push_back(command);
}

}  // namespace typeloom::cli
