// Date values and date masks: calendar arithmetic that is the same on every
// platform (the clock itself is read by the back end).
#include "engine/system/date.h"

#include "engine/system/date_clock.h"

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 to the given date of the proleptic Gregorian
// calendar, counting in 400-year eras so that no table is needed.
int64_t days_from_civil(int64_t y, int m, int d) {
  y -= m <= 2;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t yoe = y - era * 400;
  int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

bool is_leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int days_in_month(int y, int m) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && is_leap(y) ? 29 : kDays[m - 1];
}

void append_number(std::string* out, int value, int digits) {
  char buf[8];
  for (int i = digits - 1; i >= 0; --i) {
    buf[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  out->append(buf, static_cast<size_t>(digits));
}

// Whether the mask holds token (lower case) at pos, ignoring letter case.
bool token_at(const std::string& mask, size_t pos, const char* token) {
  for (size_t k = 0; token[k]; ++k) {
    if (pos + k >= mask.size()) return false;
    char c = mask[pos + k];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != token[k]) return false;
  }
  return true;
}

// The parts of a date a mask names after '%', each written with as many
// digits as its token has letters (the last two of the year for "yy").
struct Token {
  const char* text;
  int digits;
  int DateFields::*field;
};
constexpr Token kTokens[] = {
    {"yyyy", 4, &DateFields::year}, {"yy", 2, &DateFields::year},   {"mm", 2, &DateFields::month},
    {"dd", 2, &DateFields::day},    {"hh", 2, &DateFields::hour},   {"ii", 2, &DateFields::minute},
    {"ss", 2, &DateFields::second},
};

}  // namespace

int64_t date_make(const DateFields& f) {
  if (f.year < 1970 || f.year > 9999 || f.month < 1 || f.month > 12 || f.day < 1 ||
      f.day > days_in_month(f.year, f.month) || f.hour < 0 || f.hour > 23 || f.minute < 0 ||
      f.minute > 59 || f.second < 0 || f.second > 59) {
    return kDateInvalid;
  }
  return days_from_civil(f.year, f.month, f.day) * kSecondsPerDay + f.hour * 3600 +
         f.minute * 60 + f.second;
}

bool date_split(int64_t date, DateFields* out) {
  *out = DateFields{0, 0, 0, 0, 0, 0};
  if (date < 0 || date > kDateLast) return false;
  int64_t days = date / kSecondsPerDay;
  int64_t secs = date % kSecondsPerDay;
  // The inverse of days_from_civil (dates from 1970 on only).
  int64_t z = days + 719468;
  int64_t era = z / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  out->year = static_cast<int>(yoe + era * 400 + (month <= 2));
  out->month = month;
  out->day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  out->hour = static_cast<int>(secs / 3600);
  out->minute = static_cast<int>(secs / 60 % 60);
  out->second = static_cast<int>(secs % 60);
  return true;
}

int64_t date_now() {
  DateFields f;
  if (!date_local_clock(&f)) return kDateInvalid;
  return date_make(f);
}

std::string date_format(const std::string& mask, int64_t date) {
  DateFields f;
  date_split(date, &f);  // an invalid date leaves every part 0
  std::string out;
  out.reserve(mask.size() + 16);
  size_t i = 0;
  while (i < mask.size()) {
    char c = mask[i++];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    // "yyyy" before "yy", so that a four-digit year is never cut short.
    const Token* token = nullptr;
    for (const Token& t : kTokens) {
      if (token_at(mask, i, t.text)) {
        token = &t;
        break;
      }
    }
    if (token == nullptr) {
      out.push_back('%');
      continue;
    }
    append_number(&out, f.*(token->field), token->digits);
    i += static_cast<size_t>(token->digits);
  }
  return out;
}
