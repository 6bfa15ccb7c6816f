// Local time and the user's date/time formats from the Windows locale.
#include <windows.h>

#include <string>

#include "platform/Platform.h"

namespace tq::platform {

TSystemTime LocalNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return TSystemTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

namespace {
std::string LocaleText(LCTYPE type, const std::string& def) {
  char buf[128];
  int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
  return n > 1 ? std::string(buf, static_cast<size_t>(n - 1)) : def;
}

// A Windows time picture ("h:mm:ss tt", "HH:mm:ss") in our codes: "tt" is the
// AM/PM designator, "H" the 24-hour clock (our "h" without am/pm).
std::string TimeFormat(const std::string& win) {
  std::string out;
  for (size_t i = 0; i < win.size(); ++i) {
    char c = win[i];
    if (c == 't') {
      while (i + 1 < win.size() && win[i + 1] == 't') ++i;
      out += "AMPM";
    } else if (c == 'H') {
      out += 'h';
    } else {
      out += c;
    }
  }
  // "h:mm:ss AMPM" keeps its blank; a 24-hour picture has no designator.
  return out;
}
}  // namespace

void LoadFormatSettings(TFormatSettings& fs) {
  std::string date = LocaleText(LOCALE_SDATE, "/");
  std::string time = LocaleText(LOCALE_STIME, ":");
  std::string dec = LocaleText(LOCALE_SDECIMAL, ".");
  std::string thou = LocaleText(LOCALE_STHOUSAND, ",");
  if (!date.empty()) fs.DateSeparator = date[0];
  if (!time.empty()) fs.TimeSeparator = time[0];
  if (!dec.empty()) fs.DecimalSeparator = dec[0];
  if (!thou.empty()) fs.ThousandSeparator = thou[0];
  fs.ShortDateFormat = LocaleText(LOCALE_SSHORTDATE, fs.ShortDateFormat);
  fs.LongDateFormat = LocaleText(LOCALE_SLONGDATE, fs.LongDateFormat);
  fs.LongTimeFormat = TimeFormat(LocaleText(LOCALE_STIMEFORMAT, "h:mm:ss tt"));
  std::string shortTime = fs.LongTimeFormat;
  size_t sec = shortTime.find(":ss");
  if (sec != std::string::npos) shortTime.erase(sec, 3);
  fs.ShortTimeFormat = shortTime;
  fs.TimeAMString = LocaleText(LOCALE_S1159, "AM");
  fs.TimePMString = LocaleText(LOCALE_S2359, "PM");
}

}  // namespace tq::platform
