#include "UpdateProgress.h"

#include <cmath>
#include <limits>

namespace tq {

int MulDiv(int64_t A, int64_t B, int64_t C) {
  if (C == 0) return -1;
  int64_t p;
  long double q;
  if (!__builtin_mul_overflow(A, B, &p) && C != std::numeric_limits<int64_t>::min()) {
    bool negative = (p < 0) != (C < 0);
    uint64_t ap = p < 0 ? 0 - uint64_t(p) : uint64_t(p);
    uint64_t ac = C < 0 ? 0 - uint64_t(C) : uint64_t(C);
    uint64_t r = ap / ac + ((ap % ac) >= ac - ac / 2 ? 1 : 0);  // halves round up
    q = negative ? -static_cast<long double>(r) : static_cast<long double>(r);
  } else {
    long double x = static_cast<long double>(A) * B / C;
    q = x < 0 ? -std::floor(-x + 0.5L) : std::floor(x + 0.5L);
  }
  if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(q);
}

void TUpdateProgress::SetFileGauge(int Percent) {
  FProgressBar = Percent;
  if (FView) FView->SetFileGauge(Percent);
}

void TUpdateProgress::SetGeneralGauge(int Percent) {
  FGeneralProgressBar = Percent;
  if (FView) FView->SetGeneralGauge(Percent);
}

void TUpdateProgress::SetCurrentCompleted(int64_t Value) {
  FCurrentCompleted = Value;
  if (FCurrentTotal > 0) SetFileGauge(MulDiv(FCurrentCompleted, 100, FCurrentTotal));
  if (FTotal > 0) SetGeneralGauge(MulDiv(FCompleted + FCurrentCompleted, 100, FTotal));
  if (FView) FView->ProcessMessages();
}

void TUpdateProgress::SetCompleted(int64_t Value) {
  FCompleted = Value;
  if (FTotal > 0) SetGeneralGauge(MulDiv(FCompleted + FCurrentCompleted, 100, FTotal));
  if (FView) FView->ProcessMessages();
}

void TUpdateProgress::SetTotal(int64_t Value) {
  FTotal = Value;
  if (FTotal > 0) SetGeneralGauge(MulDiv(FCompleted, 100, FTotal));
}

void TUpdateProgress::SetFileNameLabel(const std::string& Text) {
  FFileNameLabel = Text;
  if (FView) FView->SetFileName(Text);
}

void TUpdateProgress::Show() {
  FVisible = true;
  if (FView) FView->ShowProgress();
}

void TUpdateProgress::Hide() {
  FVisible = false;
  if (FView) FView->HideProgress();
}

void TUpdateProgress::SetBusy(bool Busy) {
  if (FView) FView->SetBusy(Busy);
}

}  // namespace tq
