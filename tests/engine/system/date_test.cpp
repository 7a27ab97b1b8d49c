// Date values (64 bits: past January 2038) and the date masks of screenshot
// and log names.
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/system/date.h"
#include "tests/support/environment.h"

namespace {

int64_t Make(int y, int mo, int d, int h, int mi, int s) { return date_make({y, mo, d, h, mi, s}); }

TEST(Date, FormatsTheNamesOfScreenshotsAndLogs) {
  int64_t t = Make(2026, 12, 7, 15, 4, 9);
  EXPECT_EQ(date_format("%dd-%mm-%yyyy %hh-%ii-%ss", t), "07-12-2026 15-04-09");
  EXPECT_EQ(date_format("%yyyy-%mm-%dd--%hh-%ii-%ss", t), "2026-12-07--15-04-09");
  EXPECT_EQ(date_format("%yyyy-%mm-%dd--%hh-%ii-%ss", Make(1970, 1, 1, 0, 0, 0)), "1970-01-01--00-00-00");
}

TEST(Date, ValuesStayRightAcrossJanuary2038) {
  // The last second a 32-bit count could hold, and the ones after it.
  EXPECT_EQ(Make(2038, 1, 19, 3, 14, 7), 2147483647);
  EXPECT_EQ(Make(2038, 1, 19, 3, 14, 8), 2147483648LL);
  EXPECT_EQ(Make(2106, 2, 7, 6, 28, 16), 4294967296LL);
  int64_t t2039 = Make(2039, 6, 1, 12, 30, 45);
  ASSERT_NE(t2039, kDateInvalid);
  EXPECT_EQ(date_format("%dd-%mm-%yyyy %hh-%ii-%ss", t2039), "01-06-2039 12-30-45");
  EXPECT_EQ(Make(9999, 12, 31, 23, 59, 59), kDateLast);
  EXPECT_EQ(date_format("%yyyy-%mm-%dd %hh:%ii:%ss", kDateLast), "9999-12-31 23:59:59");

  // Splitting gives back every part, through leap days and century years,
  // and later dates have larger values.
  const DateFields samples[] = {{1972, 2, 29, 1, 2, 3},   {2000, 2, 29, 12, 0, 0},
                                {2038, 1, 19, 3, 14, 8},  {2100, 3, 1, 0, 0, 0},
                                {2400, 2, 29, 18, 45, 1}, {9999, 12, 31, 23, 59, 59}};
  int64_t previous = -1;
  for (const DateFields& in : samples) {
    int64_t v = date_make(in);
    ASSERT_GT(v, previous) << in.year;
    previous = v;
    DateFields out;
    ASSERT_TRUE(date_split(v, &out));
    EXPECT_EQ(std::vector<int>({out.year, out.month, out.day, out.hour, out.minute, out.second}),
              std::vector<int>({in.year, in.month, in.day, in.hour, in.minute, in.second}));
  }
  // Consecutive days are 86,400 seconds apart, also over 29 February 2400.
  EXPECT_EQ(Make(2400, 3, 1, 0, 0, 0) - Make(2400, 2, 28, 0, 0, 0), 2 * 86400);
  EXPECT_EQ(Make(2100, 3, 1, 0, 0, 0) - Make(2100, 2, 28, 0, 0, 0), 86400);
}

TEST(Date, ImpossibleDatesAndTimesOutsideTheRangeAreInvalid) {
  const DateFields bad[] = {{1969, 12, 31, 23, 59, 59}, {10000, 1, 1, 0, 0, 0}, {2026, 13, 1, 0, 0, 0},
                            {2026, 0, 1, 0, 0, 0},      {2026, 4, 31, 0, 0, 0},  {2026, 2, 29, 0, 0, 0},
                            {2100, 2, 29, 0, 0, 0},     {2026, 1, 0, 0, 0, 0},   {2026, 1, 1, 24, 0, 0},
                            {2026, 1, 1, 0, 60, 0},     {2026, 1, 1, 0, 0, -1}};
  for (const DateFields& f : bad) EXPECT_EQ(date_make(f), kDateInvalid) << f.year << "-" << f.month;
  DateFields f;
  EXPECT_FALSE(date_split(-1, &f));
  EXPECT_EQ(f.year, 0);
  EXPECT_FALSE(date_split(kDateLast + 1, &f));
  // An invalid date still makes a well-formed name, visibly all zeros.
  EXPECT_EQ(date_format("%dd-%mm-%yyyy %hh-%ii-%ss", kDateInvalid), "00-00-0000 00-00-00");
  EXPECT_EQ(date_format("%yy", INT64_MIN), "00");
}

TEST(Date, MaskTokensIgnoreCaseAndAnyOtherPercentStays) {
  int64_t t = Make(2005, 3, 4, 5, 6, 7);
  EXPECT_EQ(date_format("%YYYY %Yy %MM %Dd %hH %II %SS", t), "2005 05 03 04 05 06 07");
  EXPECT_EQ(date_format("%yy|%yyy|%y", t), "05|05y|%y");  // "yyyy" is tried first
  EXPECT_EQ(date_format("%x %q% 100%", t), "%x %q% 100%");
  EXPECT_EQ(date_format("%%dd %", t), "%04 %");
  EXPECT_EQ(date_format("%m%mm%", t), "%m03%");
  EXPECT_EQ(date_format("", t), "");
  EXPECT_EQ(date_format("caf\xC3\xA9 %ss", t), "caf\xC3\xA9 07");
}

// The current value is the local wall clock as if it were UTC.
TEST(Date, NowIsTheLocalWallClock) {
#ifdef _WIN32
  // The system's own time zone counts here, not TZ: the C library's local
  // time of the same moment, in whatever zone the machine is set to.
  std::time_t now = std::time(nullptr);
  std::tm* local = std::localtime(&now);
  ASSERT_NE(local, nullptr);
  DateFields f{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
               local->tm_hour, local->tm_min, local->tm_sec > 59 ? 59 : local->tm_sec};
  EXPECT_NEAR(static_cast<double>(date_now()), static_cast<double>(date_make(f)), 2.0);
#else
  const test_env::Scoped tz("TZ", "UTC0");
  int64_t utc = date_now();
  EXPECT_NEAR(static_cast<double>(utc), static_cast<double>(std::time(nullptr)), 2.0);
  tz.Change("JST-9");
  int64_t tokyo = date_now();
  EXPECT_NEAR(static_cast<double>(tokyo - utc), 9 * 3600.0, 2.0);
#endif
}

}  // namespace
