#pragma once
// The progress of writing an update file: the current file's gauge, the gauge
// over all files and the name of the file being processed. The window that shows
// them belongs to the GUI layer, which attaches through TUpdateProgressView; the
// arithmetic lives here so that it works (and is tested) without a window.
#include <cstdint>
#include <string>

namespace tq {

// What a progress window does with the numbers; every call may be ignored.
class TUpdateProgressView {
 public:
  virtual ~TUpdateProgressView() = default;
  virtual void ShowProgress() {}   // shown without waiting
  virtual void HideProgress() {}
  virtual void SetFileName(const std::string& Text) {}
  // ProgressBar ("Processing file") and GeneralProgressBar ("All files"), 0 to 100.
  virtual void SetFileGauge(int Percent) {}
  virtual void SetGeneralGauge(int Percent) {}
  // Lets the application process its pending window messages.
  virtual void ProcessMessages() {}
  // The hourglass cursor while a delta is made.
  virtual void SetBusy(bool Busy) {}
};

// The state of the "Update Progress" window.
class TUpdateProgress {
 public:
  explicit TUpdateProgress(TUpdateProgressView* View = nullptr) : FView(View) {}

  void SetCurrentCompleted(int64_t Value);
  void SetCompleted(int64_t Value);
  void SetTotal(int64_t Value);
  void SetCurrentTotal(int64_t Value) { FCurrentTotal = Value; }
  void SetFileNameLabel(const std::string& Text);
  void Show();
  void Hide();
  void SetBusy(bool Busy);

  int64_t CurrentCompleted() const { return FCurrentCompleted; }
  int64_t Completed() const { return FCompleted; }
  int64_t Total() const { return FTotal; }
  int64_t CurrentTotal() const { return FCurrentTotal; }
  int ProgressBar() const { return FProgressBar; }
  int GeneralProgressBar() const { return FGeneralProgressBar; }
  const std::string& FileNameLabel() const { return FFileNameLabel; }
  bool Visible() const { return FVisible; }

 private:
  void SetFileGauge(int Percent);
  void SetGeneralGauge(int Percent);

  TUpdateProgressView* FView;
  int64_t FCurrentCompleted = 0;
  int64_t FCompleted = 0;
  int64_t FTotal = 0;
  int64_t FCurrentTotal = 0;
  int FProgressBar = 0;
  int FGeneralProgressBar = 0;
  std::string FFileNameLabel;
  bool FVisible = false;
};

// A * B / C with a 64-bit intermediate, rounded to the nearest integer (halves
// away from zero); -1 when C is 0 or the result does not fit 32 bits.
int MulDiv(int64_t A, int64_t B, int64_t C);

}  // namespace tq
