// Local time and date/time formats for the native build (English defaults).
#include <sys/time.h>

#include <ctime>

#include "platform/Platform.h"

namespace tq::platform {

TSystemTime LocalNow() {
  struct timeval tv {};
  gettimeofday(&tv, nullptr);
  struct tm tm {};
  time_t t = tv.tv_sec;
  localtime_r(&t, &tm);
  return TSystemTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                     tm.tm_min,         tm.tm_sec,     static_cast<int>(tv.tv_usec / 1000)};
}

void LoadFormatSettings(TFormatSettings& /*fs*/) {}

}  // namespace tq::platform
