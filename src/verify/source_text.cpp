#include "verify/source_text.h"

#include <string_view>

namespace typeloom::verify::detail {

namespace {

bool isNameStart(std::uint8_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isNameChar(std::uint8_t c) {
    return isNameStart(c) || (c >= '0' && c <= '9');
}
int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

// Parses digits in a base; false on a digit outside it or a value beyond 32 bits.
bool parseDigits(std::string_view digits, int base, std::uint64_t& value) {
    if (digits.empty() || digits.size() > 10) {
        return false;
    }
    value = 0;
    for (char c : digits) {
        const int d = digitValue(c);
        if (d >= base) {
            return false;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    }
    return value <= 0xFFFFFFFFull;
}

// A number token as C writes it (0x... or decimal) or as assembler does (...h or decimal).
SourceItem numberItem(std::string_view token, std::size_t offset, bool assembler) {
    SourceItem item;
    item.offset = offset;
    bool ok = false;
    if (!assembler && token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
        ok = parseDigits(token.substr(2), 16, item.value);
    } else if (assembler && (token.back() == 'h' || token.back() == 'H')) {
        ok = parseDigits(token.substr(0, token.size() - 1), 16, item.value);
    } else {
        ok = parseDigits(token, 10, item.value);
    }
    item.kind = ok ? SourceItem::Kind::Number : SourceItem::Kind::Bad;
    if (!ok) {
        item.text = std::string(token);  // kept only for the message
    }
    return item;
}

std::size_t wordEnd(std::span<const std::uint8_t> text, std::size_t i) {
    while (i < text.size() && isNameChar(text[i])) {
        ++i;
    }
    return i;
}

std::string_view view(std::span<const std::uint8_t> text, std::size_t from, std::size_t to) {
    return {reinterpret_cast<const char*>(text.data()) + from, to - from};
}

}  // namespace

std::vector<const SourceItem*> SourceSection::numbers() const {
    std::vector<const SourceItem*> out;
    out.reserve(items.size());
    for (const SourceItem& item : items) {
        if (item.kind != SourceItem::Kind::Name) {
            out.push_back(&item);
        }
    }
    return out;
}

std::vector<SourceSection> readCSections(std::span<const std::uint8_t> text) {
    std::vector<SourceSection> sections;
    std::vector<std::string> declaration;  // the names since the last ';' or '}' at level 0
    std::size_t declared = 0;  // how many of them precede the declared name ('[' or '=')
    std::size_t declarationAt = 0;
    int depth = 0;
    bool lineStart = true;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::uint8_t c = text[i];
        if (c == '\n') {
            lineStart = true;
            ++i;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#' && lineStart) {
            while (i < text.size() && text[i] != '\n') {
                ++i;
            }
            continue;
        }
        lineStart = false;
        if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            while (i < text.size() && text[i] != '\n') {
                ++i;
            }
            continue;
        }
        if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            i += 2;
            while (i + 1 < text.size() && !(text[i] == '*' && text[i + 1] == '/')) {
                if (text[i] == '\n') {
                    lineStart = false;
                }
                ++i;
            }
            i = std::min(i + 2, text.size());
            continue;
        }
        if (isNameStart(c) || (c >= '0' && c <= '9')) {
            const std::size_t end = wordEnd(text, i);
            const std::string_view token = view(text, i, end);
            if (depth == 0) {
                if (declaration.empty()) {
                    declarationAt = i;
                }
                if (isNameStart(c)) {
                    declaration.emplace_back(token);
                }
            } else if (!sections.empty()) {
                if (isNameStart(c)) {
                    SourceItem item;
                    item.kind = SourceItem::Kind::Name;
                    item.text = std::string(token);
                    item.offset = i;
                    sections.back().items.push_back(std::move(item));
                } else {
                    sections.back().items.push_back(numberItem(token, i, false));
                }
            }
            i = end;
            continue;
        }
        if (c == '{') {
            if (depth == 0) {
                SourceSection s;
                const std::size_t n = declared > 0 ? declared : declaration.size();
                if (n > 0) {
                    s.name = declaration[n - 1];
                    s.typeWords.assign(declaration.begin(), declaration.begin() + (n - 1));
                }
                s.offset = declarationAt;
                sections.push_back(std::move(s));
            }
            ++depth;
        } else if (c == '}') {
            if (depth > 0) {
                --depth;
            }
            if (depth == 0) {
                declaration.clear();
                declared = 0;
            }
        } else if (c == ';' && depth == 0) {
            declaration.clear();
            declared = 0;
        } else if ((c == '[' || c == '=') && depth == 0 && declared == 0) {
            declared = declaration.size();
        }
        ++i;
    }
    return sections;
}

std::vector<SourceSection> readAsmSections(std::span<const std::uint8_t> text) {
    std::vector<SourceSection> sections;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        while (end < text.size() && text[end] != '\n') {
            ++end;
        }
        std::size_t stop = i;
        while (stop < end && text[stop] != ';') {
            ++stop;
        }
        const bool label = stop > i && isNameStart(text[i]);
        std::size_t k = i;
        int directive = 0;
        while (k < stop) {
            const std::uint8_t c = text[k];
            if (isNameStart(c) || (c >= '0' && c <= '9')) {
                const std::size_t wend = wordEnd(text, k);
                const std::string_view token = view(text, k, wend);
                if (label && k == i) {
                    SourceSection s;
                    s.name = std::string(token);
                    s.offset = i;
                    sections.push_back(std::move(s));
                } else if (!sections.empty() && !label) {
                    if (directive == 0 && isNameStart(c)) {
                        directive = token == "db" ? 8 : token == "dw" ? 16 : token == "dd" ? 32 : 0;
                        if (directive == 0) {
                            break;  // not a data line (a pointer line of the header)
                        }
                    } else {
                        SourceItem item =
                            isNameStart(c) && token.back() != 'h' && token.back() != 'H'
                                ? SourceItem{SourceItem::Kind::Bad, 0, std::string(token), k, 0}
                                : numberItem(token, k, true);
                        if (isNameStart(c) && item.kind == SourceItem::Kind::Number) {
                            // A hexadecimal number never starts with a letter in these files.
                            item.kind = SourceItem::Kind::Bad;
                        }
                        item.directiveBits = directive;
                        sections.back().items.push_back(std::move(item));
                    }
                }
                k = wend;
                continue;
            }
            ++k;
        }
        i = end + 1;
    }
    return sections;
}

std::string lineAfter(std::span<const std::uint8_t> text, const std::string& key) {
    const std::string_view all = view(text, 0, text.size());
    const std::size_t at = all.find(key);
    if (at == std::string_view::npos) {
        return {};
    }
    std::size_t end = all.find('\n', at);
    if (end == std::string_view::npos) {
        end = all.size();
    }
    std::string rest(all.substr(at + key.size(), end - at - key.size()));
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ' || rest.back() == '*')) {
        rest.pop_back();
    }
    return rest;
}

}  // namespace typeloom::verify::detail
