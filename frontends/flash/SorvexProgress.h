#pragma once
// Sorvex's progress outputs: the position moves with each report and action
// data message, and every position within the run goes to the GUI program as
// a whole percentage (position * 100 / total in 64 bits, truncated, kept
// within 0..100: Wine reports removal progress too, which can pass the total).
#include <functional>
#include <string>

#include "InstallProgress.h"

namespace tq {

class TPercentProgress : public TProgressOutputs {
 public:
  explicit TPercentProgress(std::function<void(const std::string&)> send) : FSend(std::move(send)) {}
  void ProgressReset(TProgressState& state, bool oldScriptInProgress) override {}
  void ProgressReport(TProgressState& state, int32_t ticks) override;
  void ProgressActionData(TProgressState& state) override;
  static int Percentage(int32_t position, int32_t total);

 private:
  void Send(const TProgressState& state);
  std::function<void(const std::string&)> FSend;
};

}  // namespace tq
