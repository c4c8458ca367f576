#include "shared/time_stamp.h"

#include <cstdio>
#include <cstdlib>

#include "shared/string_resources.h"

std::string FormatTimeStamp(const std::tm& when) {
    const int weekday = when.tm_wday >= 0 && when.tm_wday <= 6 ? when.tm_wday : 0;
    const std::string day = LoadString(IDS_DAY_SUNDAY + weekday);
    char text[96];
    std::snprintf(text, sizeof text, " %d/%d/%d -- %d:%02d:%02d", when.tm_mday, when.tm_mon + 1,
                  when.tm_year + 1900, when.tm_hour, when.tm_min, when.tm_sec);
    return day + text;
}

bool ParseTimeStampOverride(const char* text, std::tm& when) {
    if (text == nullptr) return false;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char end = 0;
    if (std::sscanf(text, "%d-%d-%d %d:%d:%d%c", &year, &month, &day, &hour, &minute, &second,
                    &end) != 6) {
        return false;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 60) {
        return false;
    }
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    // The day of the week of that calendar date (time zones do not matter).
    std::tm noon = fields;
    noon.tm_hour = 12;
    const std::time_t moment = timegm(&noon);
    std::tm check{};
    if (moment == static_cast<std::time_t>(-1) || gmtime_r(&moment, &check) == nullptr ||
        check.tm_mday != day) {
        return false;
    }
    fields.tm_wday = check.tm_wday;
    fields.tm_yday = check.tm_yday;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    when = fields;
    return true;
}

std::string CurrentTimeStamp() {
    std::tm when{};
    if (!ParseTimeStampOverride(std::getenv("QUORVEL_TIME_STAMP"), when)) {
        const std::time_t now = std::time(nullptr);
        localtime_r(&now, &when);
    }
    return FormatTimeStamp(when);
}
