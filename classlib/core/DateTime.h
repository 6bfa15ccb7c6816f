#pragma once
// Dates and times as TDateTime: days since 1899-12-30, the fraction the time
// of day.
#include <cstdint>
#include <string>

namespace tq {

using TDateTime = double;

// Date and time formats, taken from the system's locale at start-up
// (defaults: "M/d/yyyy" and "h:nn:ss AMPM").
struct TFormatSettings {
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  std::string ShortDateFormat = "M/d/yyyy";
  std::string LongDateFormat = "dddd, MMMM d, yyyy";
  std::string ShortTimeFormat = "h:nn AMPM";
  std::string LongTimeFormat = "h:nn:ss AMPM";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
};
TFormatSettings& FormatSettings();

TDateTime Now();
TDateTime Date();
TDateTime Time();

// Raises EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result);
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);
int DayOfWeek(TDateTime dt);  // 1 = Sunday
bool IsLeapYear(int year);

// Format codes: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz
// am/pm a/p ampm, c (short date + long time), ddddd (short date),
// t tt (short/long time), "/" and ":" (separators), '...' and "..." literals.
// "m" after "h"/"hh" means minutes.
std::string FormatDateTime(const std::string& format, TDateTime dt);
std::string DateToStr(TDateTime dt);      // short date format
std::string TimeToStr(TDateTime dt);      // long time format
std::string DateTimeToStr(TDateTime dt);  // short date, blank, long time (time left out at midnight)

// Local calendar time <-> TDateTime (the platform supplies Now()).
struct TSystemTime {
  int Year, Month, Day, Hour, Minute, Second, Milliseconds;
};
TDateTime SystemTimeToDateTime(const TSystemTime& st);
TSystemTime DateTimeToSystemTime(TDateTime dt);
// Seconds since 1970-01-01 (no zone conversion) <-> TDateTime.
TDateTime UnixToDateTime(int64_t seconds);
int64_t DateTimeToUnix(TDateTime dt);

}  // namespace tq
