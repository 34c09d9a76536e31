#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace typeloom::cli {

// Thrown for a command line that does not fit the command (exit status 2).
struct UsageError {
    std::string message;
};

// Options of one command: "--name VALUE", "--name=VALUE", "-o VALUE" and flags, in any order
// among the positional arguments.
class Arguments {
  public:
    // `valued` lists the options that take a value, `flags` those that do not (both with
    // their dashes, e.g. "--from", "-o").
    Arguments(const std::vector<std::string>& args, const std::set<std::string>& valued,
              const std::set<std::string>& flags);

    bool has(const std::string& option) const;
    std::optional<std::string> value(const std::string& option) const;
    std::string value(const std::string& option, const std::string& fallback) const;
    const std::vector<std::string>& positional() const { return m_positional; }
    bool helpRequested() const { return m_help; }

  private:
    std::map<std::string, std::string> m_values;
    std::set<std::string> m_flags;
    std::vector<std::string> m_positional;
    bool m_help = false;
};

// Parses a number given as decimal or as 0x-prefixed hexadecimal.
std::optional<unsigned long> parseNumber(const std::string& text);

}  // namespace typeloom::cli
