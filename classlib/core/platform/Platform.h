#pragma once
// What the portable core asks of each platform file set (platform/win32 or
// platform/posix) beyond the public headers.
#include "DateTime.h"

namespace tq::platform {

TSystemTime LocalNow();
// Fills the date and time formats from the system's locale.
void LoadFormatSettings(TFormatSettings& fs);

}  // namespace tq::platform
