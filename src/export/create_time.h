#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace typeloom::exporters {

// The moment the "Create time" of a generated file shows, and in which zone. A plain time is the
// local time of the desktop program; a build that wants the same bytes on every run gives a
// fixed moment in UTC (SOURCE_DATE_EPOCH, `typeloom export --date`) or no date at all.
struct CreateTime {
    enum class Zone { Local, Utc, Omitted };
    std::time_t when = 0;
    Zone zone = Zone::Local;

    CreateTime() = default;
    // A plain time converts: every caller that knew only the local time keeps its meaning.
    CreateTime(std::time_t t) : when(t) {}  // NOLINT(google-explicit-constructor)
    CreateTime(std::time_t t, Zone z) : when(t), zone(z) {}
    static CreateTime omitted() { return {0, Zone::Omitted}; }
    bool isOmitted() const { return zone == Zone::Omitted; }
    // The broken-down time in the chosen zone; false when the date is omitted or the moment
    // lies beyond what the calendar functions take.
    bool brokenDown(std::tm& out) const;
};

// The fixed moment of a reproducible build: SOURCE_DATE_EPOCH, a count of seconds since
// 1970-01-01 00:00 UTC in decimal digits. nullopt for anything else (empty, a sign, other
// characters, a number beyond the calendar), which the caller reports rather than guessing.
std::optional<CreateTime> createTimeFromEpoch(std::string_view seconds);
// A date typed as YYYY-MM-DD, taken at 00:00 UTC, or "none" for no date; nullopt when the text
// is neither or names no day of the calendar (2023-02-29).
std::optional<CreateTime> createTimeFromDate(std::string_view text);

}  // namespace typeloom::exporters
