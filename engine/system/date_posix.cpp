// The local wall-clock time on POSIX systems.
#include <time.h>

#include "engine/system/date_clock.h"

bool date_local_clock(DateFields* out) {
  time_t now = time(nullptr);
  if (now == static_cast<time_t>(-1)) return false;
  // localtime_r need not look at TZ again by itself; tzset makes a changed
  // time zone count from the next reading on.
  tzset();
  struct tm tm;
  if (!localtime_r(&now, &tm)) return false;
  out->year = tm.tm_year + 1900;
  out->month = tm.tm_mon + 1;
  out->day = tm.tm_mday;
  out->hour = tm.tm_hour;
  out->minute = tm.tm_min;
  out->second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
  return true;
}
