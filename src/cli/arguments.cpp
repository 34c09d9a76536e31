#include "cli/arguments.h"

#include <cerrno>
#include <cstdlib>

namespace typeloom::cli {

Arguments::Arguments(const std::vector<std::string>& args, const std::set<std::string>& valued,
                     const std::set<std::string>& flags) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            m_help = true;
            continue;
        }
        if (arg == "--") {
            m_positional.insert(m_positional.end(), args.begin() + static_cast<long>(i) + 1,
                                args.end());
            break;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            m_positional.push_back(arg);
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (auto eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        if (valued.count(name) != 0) {
            if (inlineValue) {
                m_values[name] = *inlineValue;
            } else if (i + 1 < args.size()) {
                m_values[name] = args[++i];
            } else {
                throw UsageError{"option " + name + " needs a value"};
            }
        } else if (flags.count(name) != 0 && !inlineValue) {
            m_flags.insert(name);
        } else {
            throw UsageError{"unknown option " + arg};
        }
    }
}

bool Arguments::has(const std::string& option) const {
    return m_flags.count(option) != 0 || m_values.count(option) != 0;
}

std::optional<std::string> Arguments::value(const std::string& option) const {
    auto it = m_values.find(option);
    if (it == m_values.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::string Arguments::value(const std::string& option, const std::string& fallback) const {
    return value(option).value_or(fallback);
}

std::optional<unsigned long> parseNumber(const std::string& text) {
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') {
        return std::nullopt;
    }
    int base = 10;
    std::size_t start = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        start = 2;
    }
    errno = 0;
    char* end = nullptr;
    unsigned long v = std::strtoul(text.c_str() + start, &end, base);
    if (errno != 0 || end == text.c_str() + start || *end != '\0') {
        return std::nullopt;
    }
    return v;
}

}  // namespace typeloom::cli
