#include "export/create_time.h"

#include <charconv>
#include <cstdint>

namespace typeloom::exporters {

bool CreateTime::brokenDown(std::tm& out) const {
    switch (zone) {
        case Zone::Local:
            return localtime_r(&when, &out) != nullptr;
        case Zone::Utc:
            return gmtime_r(&when, &out) != nullptr;
        case Zone::Omitted:
            break;
    }
    return false;
}

namespace {

// The year 9999 ends here; later moments would print years of more than four digits, which
// no "Create time" has room for.
constexpr std::int64_t kLastSecond = 253402300799;

bool allDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// Days from 1970-01-01 to the given day of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool isLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

}  // namespace

std::optional<CreateTime> createTimeFromEpoch(std::string_view seconds) {
    if (!allDigits(seconds)) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const auto [end, error] =
        std::from_chars(seconds.data(), seconds.data() + seconds.size(), value);
    if (error != std::errc() || end != seconds.data() + seconds.size() || value > kLastSecond) {
        return std::nullopt;
    }
    return CreateTime(static_cast<std::time_t>(value), CreateTime::Zone::Utc);
}

std::optional<CreateTime> createTimeFromDate(std::string_view text) {
    if (text == "none") {
        return CreateTime::omitted();
    }
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const std::string_view yearText = text.substr(0, 4);
    const std::string_view monthText = text.substr(5, 2);
    const std::string_view dayText = text.substr(8, 2);
    if (!allDigits(yearText) || !allDigits(monthText) || !allDigits(dayText)) {
        return std::nullopt;
    }
    const int year = std::stoi(std::string(yearText));
    const int month = std::stoi(std::string(monthText));
    const int day = std::stoi(std::string(dayText));
    static constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1970 || month < 1 || month > 12 || day < 1) {
        return std::nullopt;
    }
    const int last = kDaysIn[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
    if (day > last) {
        return std::nullopt;
    }
    const std::int64_t days =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return CreateTime(static_cast<std::time_t>(days * 86400), CreateTime::Zone::Utc);
}

}  // namespace typeloom::exporters
