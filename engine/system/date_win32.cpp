// The local wall-clock time on Windows.
#include "engine/system/windows_win32.h"

#include "engine/system/date_clock.h"

bool date_local_clock(DateFields* out) {
  SYSTEMTIME t;
  GetLocalTime(&t);
  out->year = t.wYear;
  out->month = t.wMonth;
  out->day = t.wDay;
  out->hour = t.wHour;
  out->minute = t.wMinute;
  out->second = t.wSecond > 59 ? 59 : t.wSecond;
  return true;
}
