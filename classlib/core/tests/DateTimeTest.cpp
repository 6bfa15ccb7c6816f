#include <gtest/gtest.h>

#include <cmath>

#include "DateTime.h"
#include "SysUtils.h"

using namespace tq;

TEST(DateTime, EncodeAndDecodeAgreeWithTheEpoch) {
  EXPECT_EQ(0, EncodeDate(1899, 12, 30));
  EXPECT_EQ(2, EncodeDate(1900, 1, 1));
  EXPECT_EQ(36526, EncodeDate(2000, 1, 1));
  EXPECT_EQ(45351, EncodeDate(2024, 2, 29));
  EXPECT_EQ(-693593, EncodeDate(1, 1, 1));
  const int dates[][3] = {{2024, 2, 29}, {1999, 12, 31}, {1900, 3, 1}, {2100, 2, 28}, {1, 1, 1}, {9999, 12, 31}};
  for (const auto& d : dates) {
    int y, m, day;
    DecodeDate(EncodeDate(d[0], d[1], d[2]), y, m, day);
    EXPECT_EQ(d[0], y);
    EXPECT_EQ(d[1], m);
    EXPECT_EQ(d[2], day);
  }
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(2023, 13, 1), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  int h, n, s, ms;
  DecodeTime(EncodeTime(13, 5, 59, 250), h, n, s, ms);
  EXPECT_EQ(13, h);
  EXPECT_EQ(5, n);
  EXPECT_EQ(59, s);
  EXPECT_EQ(250, ms);
  EXPECT_EQ(7, DayOfWeek(EncodeDate(1899, 12, 30)));  // a Saturday
  EXPECT_EQ(5, DayOfWeek(EncodeDate(2024, 2, 29)));   // a Thursday
  EXPECT_EQ(25569, UnixToDateTime(0));
  EXPECT_EQ(86400, DateTimeToUnix(25570));
}

TEST(DateTime, FormatCodes) {
  TDateTime dt = EncodeDate(2024, 3, 7) + EncodeTime(15, 4, 5, 9);
  const std::pair<const char*, const char*> cases[] = {
      {"yyyy-mm-dd hh:nn:ss.zzz", "2024-03-07 15:04:05.009"},
      {"d/m/yy", "7/3/24"},
      {"ddd dddd mmm mmmm", "Thu Thursday Mar March"},
      {"h:mm", "15:04"},  // m after h is minutes
      {"h:mm AMPM", "3:04 PM"},
      {"hh:nn am/pm", "03:04 pm"},
      {"h a/p", "3 p"},
      {"'at' h \"o'clock\"", "at 15 o'clock"},
      {"c", "3/7/2024 3:04:05 PM"},
      {"ddddd", "3/7/2024"},
      {"tt", "3:04:05 PM"},
      {"t", "3:04 PM"},
  };
  TFormatSettings saved = FormatSettings();
  FormatSettings() = TFormatSettings();  // the defaults, whatever the machine's locale
  for (const auto& [fmt, expected] : cases) EXPECT_EQ(expected, FormatDateTime(fmt, dt)) << fmt;
  EXPECT_EQ("12:00:00 AM", TimeToStr(EncodeTime(0, 0, 0, 0)));
  EXPECT_EQ("12:30:00 PM", TimeToStr(EncodeTime(12, 30, 0, 0)));
  EXPECT_EQ("3/7/2024", DateTimeToStr(EncodeDate(2024, 3, 7)));  // midnight: no time
  EXPECT_EQ("3/7/2024 3:04:05 PM", DateTimeToStr(dt));
  EXPECT_EQ("3/7/2024", DateToStr(dt));
  FormatSettings() = saved;
}

TEST(DateTime, NowIsToday) {
  TDateTime n = Now();
  EXPECT_GT(n, EncodeDate(2020, 1, 1));
  EXPECT_NEAR(std::trunc(n), Date(), 1.0);
}
