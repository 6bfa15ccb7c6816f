#include "SorvexProgress.h"

#include <algorithm>
#include <cstdint>

#include "SorvexProtocol.h"

namespace tq {

namespace {

int32_t Moved(int32_t position, int64_t by) {
  return int32_t(std::clamp<int64_t>(int64_t(position) + by, INT32_MIN, INT32_MAX));
}

}  // namespace

int TPercentProgress::Percentage(int32_t position, int32_t total) {
  if (total == 0) return 0;
  return int(std::clamp<int64_t>(int64_t(position) * 100 / total, 0, 100));
}

void TPercentProgress::Send(const TProgressState& s) {
  FSend(InstallProgressElement(Percentage(s.g_iProgress, s.g_iProgressTotal)));
}

void TPercentProgress::ProgressReport(TProgressState& s, int32_t ticks) {
  if (s.g_bForwardProgress) {
    s.g_iProgress = Moved(s.g_iProgress, ticks);
    if (s.g_iProgress <= s.g_iProgressTotal) Send(s);
  } else {
    s.g_iProgress = Moved(s.g_iProgress, -int64_t(ticks));
    if (s.g_iProgress >= 0) Send(s);
  }
}

void TPercentProgress::ProgressActionData(TProgressState& s) {
  s.g_iProgress = Moved(s.g_iProgress, s.g_iActionStep);
  if (s.g_iProgress >= 0 && s.g_iProgress <= s.g_iProgressTotal) Send(s);
}

}  // namespace tq
