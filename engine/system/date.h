// The date value used in screenshot and log names: the local wall-clock time
// counted in seconds since 1970-01-01 00:00:00 as if it were universal time,
// so that splitting it again gives the local date and time. It is 64 bits
// wide, so dates after January 2038 keep their meaning.
#pragma once

#include <cstdint>
#include <string>

// A date value is valid from 1970-01-01 00:00:00 to 9999-12-31 23:59:59 (the
// years a four-digit field can show). Anything else is invalid, written -1.
constexpr int64_t kDateInvalid = -1;
constexpr int64_t kDateLast = 253402300799;  // 9999-12-31 23:59:59

// The parts of a date value.
struct DateFields {
  int year;
  int month;   // 1-12
  int day;     // 1-31
  int hour;    // 0-23
  int minute;  // 0-59
  int second;  // 0-59 (a leap second 60 counts as 59)
};

// The current local date and time, or -1 when the clock cannot be read.
int64_t date_now();

// The date value of the given parts, or -1 when they name no real moment in
// the valid range (month 13, 30 February, year 1969, year 10000, ...).
int64_t date_make(const DateFields& fields);

// Splits a valid date value into its parts. False (and every part 0) for an
// invalid value.
bool date_split(int64_t date, DateFields* out);

// The mask with "%yyyy", "%yy", "%mm", "%dd", "%hh", "%ii" and "%ss" (in any
// letter case) replaced by the parts of the date; any other "%" is kept. An
// invalid date shows every part as zeros ("0000", "00").
std::string date_format(const std::string& mask, int64_t date);
