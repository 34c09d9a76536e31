#include "cli/cli.h"

#include <iomanip>
#include <sstream>

#include "cli/arguments.h"
#include "cli/command_registry.h"

namespace typeloom::cli {

namespace {

std::string mainHelp() {
    std::ostringstream s;
    s << "Usage: typeloom COMMAND [OPTIONS]\n"
         "\n"
         "Typeloom Studio's command-line tool: makes, converts and exports bitmap fonts for\n"
         "embedded displays.\n"
         "\n"
         "Commands:\n";
    for (const Command& c : registeredCommands()) {
        s << "  " << std::left << std::setw(12) << c.name << c.summary << "\n";
    }
    s << "\n"
         "Run 'typeloom COMMAND --help' for the options of a command.\n"
         "Exit status: 0 done, 1 failed, 2 bad usage.\n";
    return s.str();
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << mainHelp();
        return kExitUsage;
    }
    const std::string& name = args.front();
    if (name == "--help" || name == "-h" || name == "help") {
        out << mainHelp();
        return kExitOk;
    }
    if (name == "--version") {
        out << "typeloom 3.5\n";
        return kExitOk;
    }
    std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const Command& command : registeredCommands()) {
        if (name == command.name) {
            try {
                return command.run(rest, out, err);
            } catch (const UsageError& e) {
                err << "typeloom " << command.name << ": " << e.message << "\n"
                    << "Run 'typeloom " << command.name << " --help' for usage.\n";
                return kExitUsage;
            }
        }
    }
    err << "typeloom: unknown command '" << name << "'\n\n" << mainHelp();
    return kExitUsage;
}

}  // namespace typeloom::cli
