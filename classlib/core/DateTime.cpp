// TDateTime arithmetic and the date/time formatter.
#include "DateTime.h"

#include <cmath>

#include "SysUtils.h"
#include "platform/Platform.h"

namespace tq {

namespace {
constexpr int kDateDelta = 693594;  // days from 0001-01-01 to 1899-12-30
constexpr double kMSecsPerDay = 86400000.0;
const int kDaysInMonth[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                 {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};
const char* const kShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};
const char* const kShortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// Day number since 0001-01-01 (day 1) and milliseconds of the day.
void SplitDateTime(TDateTime dt, int64_t& days, int& msec) {
  double whole = std::trunc(dt);
  double frac = std::fabs(dt - whole);
  long long ms = std::llround(frac * kMSecsPerDay);
  if (ms >= 86400000LL) ms = 86399999LL;
  days = static_cast<int64_t>(whole) + kDateDelta;
  msec = static_cast<int>(ms);
}
}  // namespace

TFormatSettings& FormatSettings() {
  static TFormatSettings fs = [] {
    TFormatSettings s;
    platform::LoadFormatSettings(s);
    return s;
  }();
  return fs;
}

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
  const int* dim = kDaysInMonth[IsLeapYear(year) ? 1 : 0];
  if (day < 1 || day > dim[month - 1]) return false;
  for (int m = 0; m < month - 1; ++m) day += dim[m];
  int y = year - 1;
  result = static_cast<double>(static_cast<int64_t>(y) * 365 + y / 4 - y / 100 + y / 400 + day - kDateDelta);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime r;
  if (!TryEncodeDate(year, month, day, r)) throw EConvertError("Invalid argument to date encode");
  return r;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result) {
  if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 || msec >= 1000)
    return false;
  result = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / kMSecsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime r;
  if (!TryEncodeTime(hour, min, sec, msec, r)) throw EConvertError("Invalid argument to time encode");
  return r;
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day) {
  int64_t days;
  int msec;
  SplitDateTime(dt, days, msec);
  if (days <= 0) {
    year = month = day = 0;
    return;
  }
  int64_t d = days - 1;  // days since 0001-01-01
  int64_t y400 = d / 146097;
  d %= 146097;
  int64_t y100 = d / 36524;
  if (y100 == 4) y100 = 3;
  d -= y100 * 36524;
  int64_t y4 = d / 1461;
  d %= 1461;
  int64_t y1 = d / 365;
  if (y1 == 4) y1 = 3;
  d -= y1 * 365;
  year = static_cast<int>(y400 * 400 + y100 * 100 + y4 * 4 + y1 + 1);
  const int* dim = kDaysInMonth[IsLeapYear(year) ? 1 : 0];
  month = 1;
  while (d >= dim[month - 1]) d -= dim[month++ - 1];
  day = static_cast<int>(d) + 1;
}

void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec) {
  int64_t days;
  int ms;
  SplitDateTime(dt, days, ms);
  hour = ms / 3600000;
  min = ms / 60000 % 60;
  sec = ms / 1000 % 60;
  msec = ms % 1000;
}

int DayOfWeek(TDateTime dt) {
  int64_t days;
  int ms;
  SplitDateTime(dt, days, ms);
  // 0001-01-01 was a Monday.
  return static_cast<int>(((days % 7) + 7) % 7) + 1;
}

TDateTime SystemTimeToDateTime(const TSystemTime& st) {
  return EncodeDate(st.Year, st.Month, st.Day) + EncodeTime(st.Hour, st.Minute, st.Second, st.Milliseconds);
}

TSystemTime DateTimeToSystemTime(TDateTime dt) {
  TSystemTime st{};
  DecodeDate(dt, st.Year, st.Month, st.Day);
  DecodeTime(dt, st.Hour, st.Minute, st.Second, st.Milliseconds);
  return st;
}

TDateTime UnixToDateTime(int64_t seconds) { return static_cast<double>(seconds) / 86400.0 + 25569.0; }

int64_t DateTimeToUnix(TDateTime dt) { return std::llround((dt - 25569.0) * 86400.0); }

TDateTime Now() { return SystemTimeToDateTime(platform::LocalNow()); }
TDateTime Date() { return std::trunc(Now()); }
TDateTime Time() {
  TDateTime n = Now();
  return n - std::trunc(n);
}

// ---- FormatDateTime ----------------------------------------------------------

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool StartsNoCase(const std::string& s, size_t i, const char* word) {
  for (size_t k = 0; word[k]; ++k)
    if (i + k >= s.size() || Upper(s[i + k]) != Upper(word[k])) return false;
  return true;
}

// Whether an am/pm specifier follows position i (12-hour clock for "h").
bool AmPmFollows(const std::string& f, size_t i) {
  while (i < f.size()) {
    char c = f[i];
    if (c == '\'' || c == '"') {
      size_t e = f.find(c, i + 1);
      if (e == std::string::npos) return false;
      i = e + 1;
      continue;
    }
    if (StartsNoCase(f, i, "am/pm") || StartsNoCase(f, i, "a/p") || StartsNoCase(f, i, "ampm")) return true;
    ++i;
  }
  return false;
}

std::string Pad2(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

void Append(std::string& out, const std::string& format, TDateTime dt, int depth) {
  const TFormatSettings& fs = FormatSettings();
  int year, month, day, hour, minute, sec, msec;
  DecodeDate(dt, year, month, day);
  DecodeTime(dt, hour, minute, sec, msec);
  char lastToken = ' ';
  size_t i = 0;
  const size_t n = format.size();
  auto count = [&](char c) {
    size_t k = i;
    while (k < n && Upper(format[k]) == c) ++k;
    return static_cast<int>(k - i);
  };
  while (i < n) {
    char c = format[i];
    char token = Upper(c);
    if (token >= 'A' && token <= 'Z') {
      if (token == 'M' && lastToken == 'H') token = 'N';
      lastToken = token;
    }
    switch (token) {
      case 'Y': {
        int k = count('Y');
        if (k <= 2)
          out += Pad2(year % 100);
        else
          out += std::to_string(year);
        i += static_cast<size_t>(k);
        break;
      }
      case 'M': {
        int k = count('M');
        if (k == 1) out += std::to_string(month);
        else if (k == 2) out += Pad2(month);
        else if (k == 3) out += kShortMonths[month - 1];
        else out += kLongMonths[month - 1];
        i += static_cast<size_t>(k);
        break;
      }
      case 'D': {
        int k = count('D');
        int dow = DayOfWeek(dt) - 1;
        if (k == 1) out += std::to_string(day);
        else if (k == 2) out += Pad2(day);
        else if (k == 3) out += kShortDays[dow];
        else if (k == 4) out += kLongDays[dow];
        else if (depth < 2) Append(out, k == 5 ? fs.ShortDateFormat : fs.LongDateFormat, dt, depth + 1);
        i += static_cast<size_t>(k);
        break;
      }
      case 'H': {
        int k = count('H');
        int h = hour;
        if (AmPmFollows(format, i + static_cast<size_t>(k))) {
          h %= 12;
          if (h == 0) h = 12;
        }
        out += k == 1 ? std::to_string(h) : Pad2(h);
        i += static_cast<size_t>(k);
        break;
      }
      case 'N': {
        int k = count(Upper(c));  // "m" or "n" letters
        out += k == 1 ? std::to_string(minute) : Pad2(minute);
        i += static_cast<size_t>(k);
        break;
      }
      case 'S': {
        int k = count('S');
        out += k == 1 ? std::to_string(sec) : Pad2(sec);
        i += static_cast<size_t>(k);
        break;
      }
      case 'Z': {
        int k = count('Z');
        std::string z = std::to_string(msec);
        if (k >= 3) z.insert(0, 3 - z.size(), '0');
        out += z;
        i += static_cast<size_t>(k);
        break;
      }
      case 'T': {
        int k = count('T');
        if (depth < 2) Append(out, k == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, dt, depth + 1);
        i += static_cast<size_t>(k);
        break;
      }
      case 'C': {
        int k = count('C');
        if (depth < 2) {
          Append(out, fs.ShortDateFormat, dt, depth + 1);
          if (hour != 0 || minute != 0 || sec != 0 || msec != 0) {
            out += ' ';
            Append(out, fs.LongTimeFormat, dt, depth + 1);
          }
        }
        i += static_cast<size_t>(k);
        break;
      }
      case 'A': {
        bool pm = hour >= 12;
        if (StartsNoCase(format, i, "am/pm")) {
          bool lower = format[i] == 'a';
          out += pm ? (lower ? "pm" : "PM") : (lower ? "am" : "AM");
          i += 5;
        } else if (StartsNoCase(format, i, "a/p")) {
          bool lower = format[i] == 'a';
          out += pm ? (lower ? 'p' : 'P') : (lower ? 'a' : 'A');
          i += 3;
        } else if (StartsNoCase(format, i, "ampm")) {
          out += pm ? fs.TimePMString : fs.TimeAMString;
          i += 4;
        } else {
          out += c;
          ++i;
        }
        break;
      }
      case '/':
        out += fs.DateSeparator;
        ++i;
        break;
      case ':':
        out += fs.TimeSeparator;
        ++i;
        break;
      case '\'':
      case '"': {
        size_t e = format.find(c, i + 1);
        if (e == std::string::npos) e = n;
        out.append(format, i + 1, e - i - 1);
        i = e < n ? e + 1 : n;
        break;
      }
      default:
        out += c;
        ++i;
    }
  }
}

}  // namespace

std::string FormatDateTime(const std::string& format, TDateTime dt) {
  std::string out;
  Append(out, format.empty() ? std::string("c") : format, dt, 0);
  return out;
}

std::string DateToStr(TDateTime dt) { return FormatDateTime(FormatSettings().ShortDateFormat, dt); }
std::string TimeToStr(TDateTime dt) { return FormatDateTime(FormatSettings().LongTimeFormat, dt); }
std::string DateTimeToStr(TDateTime dt) { return FormatDateTime("c", dt); }

}  // namespace tq
