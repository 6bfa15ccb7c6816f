#pragma once
// A status bar over the common control: one simple text, or panels of which
// the first carries the text.
#include <string>
#include <vector>

#include "Controls.h"

namespace tq {

class TStatusBar : public TWinControl {
 public:
  explicit TStatusBar(TComponent* owner);
  std::string ClassName() const override { return "TStatusBar"; }
  // True (the default): the bar shows SimpleText; false: it shows its panels.
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool v);
  const std::string& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::string& text);
  // The panels' texts (one panel per entry).
  int PanelCount() const { return static_cast<int>(FPanels.size()); }
  void SetPanelCount(int count);
  const std::string& PanelText(int index) const { return FPanels.at(index); }
  void SetPanelText(int index, const std::string& text);

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitWindow() override;

 private:
  void SendTexts();
  bool FSimplePanel = true;
  std::string FSimpleText;
  std::vector<std::string> FPanels;
};

}  // namespace tq
