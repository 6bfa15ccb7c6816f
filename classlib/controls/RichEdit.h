#pragma once
// The rich edit control (riched20.dll, loaded when the first one is made).
// Lines.LoadFromFile and LoadFromStream read rich text (RTF) unless PlainText
// is set or the data is not RTF.
#include "StdCtrls.h"

namespace tq {

class TRichEdit;

class TRichEditLines : public TMemoLines {
 public:
  explicit TRichEditLines(TRichEdit* edit);
  void LoadFromFile(const std::string& fileName) override;
  void LoadFromStream(TStream& stream) override;

 private:
  TRichEdit* FEdit;
};

class TRichEdit : public TMemo {
 public:
  explicit TRichEdit(TComponent* owner);
  TQ_CLASS_NAME(TRichEdit)
  TStrings& Lines() override { return FRichLines; }
  bool PlainText() const { return FPlainText; }
  void SetPlainText(bool v) { FPlainText = v; }
  // Replaces the contents with rich text (or plain text when it is not RTF).
  void LoadRichText(const std::string& data);
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitWindow() override;
  TRichEditLines FRichLines{this};
  bool FPlainText = false;
  std::string FPendingRtf;
};

}  // namespace tq
