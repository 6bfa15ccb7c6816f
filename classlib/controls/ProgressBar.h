#pragma once
// A progress bar over the common control: a position between Min and Max.
#include "Controls.h"

namespace tq {

class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TComponent* owner);
  std::string ClassName() const override { return "TProgressBar"; }
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const { return FPosition; }
  void SetMin(int v);
  void SetMax(int v);
  // Kept within Min and Max.
  void SetPosition(int v);
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitWindow() override;

 private:
  void SendRange();
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
};

}  // namespace tq
