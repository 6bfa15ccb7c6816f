#pragma once
// The common dialogs: open and save file, font and colour. Execute goes
// through the prompt service as a modal form named after the dialog
// component, so a headless run answers it (mrOk or mrCancel), filling in the
// dialog's result properties in the script's action.
#include <string>

#include "Controls.h"

namespace tq {

class TCommonDialog : public TLayoutComponent {
 public:
  explicit TCommonDialog(TComponent* owner) : TLayoutComponent(owner) {}
  // True when the user chose OK (the dialog's properties then hold the choice).
  bool Execute();
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;
  int HelpContext = 0;

 protected:
  virtual bool Run(HWND owner) = 0;
};

enum TOpenOption : unsigned {
  ofReadOnly = 1u << 0, ofOverwritePrompt = 1u << 1, ofHideReadOnly = 1u << 2, ofNoChangeDir = 1u << 3,
  ofShowHelp = 1u << 4, ofNoValidate = 1u << 5, ofAllowMultiSelect = 1u << 6, ofExtensionDifferent = 1u << 7,
  ofPathMustExist = 1u << 8, ofFileMustExist = 1u << 9, ofCreatePrompt = 1u << 10, ofShareAware = 1u << 11,
  ofNoReadOnlyReturn = 1u << 12, ofNoTestFileCreate = 1u << 13, ofNoNetworkButton = 1u << 14,
  ofNoLongNames = 1u << 15, ofOldStyleDialog = 1u << 16, ofNoDereferenceLinks = 1u << 17, ofEnableSizing = 1u << 18
};
using TOpenOptions = unsigned;

class TOpenDialog : public TCommonDialog {
 public:
  explicit TOpenDialog(TComponent* owner);
  std::string ClassName() const override { return "TOpenDialog"; }
  std::string FileName;
  std::string Filter;  // "Text files (*.txt)|*.txt|All files|*.*"
  int FilterIndex = 1;
  std::string DefaultExt;
  std::string InitialDir;
  std::string Title;
  TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
  // All chosen files (one entry without ofAllowMultiSelect).
  TStringList& Files() { return FFiles; }
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  bool Run(HWND owner) override;
  virtual bool IsSave() const { return false; }
  TStringList FFiles;
};

class TSaveDialog : public TOpenDialog {
 public:
  explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
  std::string ClassName() const override { return "TSaveDialog"; }

 protected:
  bool IsSave() const override { return true; }
};

class TFontDialog : public TCommonDialog {
 public:
  explicit TFontDialog(TComponent* owner) : TCommonDialog(owner) {}
  std::string ClassName() const override { return "TFontDialog"; }
  TFont& Font() { return FFont; }
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  bool Run(HWND owner) override;
  TFont FFont;
};

class TColorDialog : public TCommonDialog {
 public:
  explicit TColorDialog(TComponent* owner) : TCommonDialog(owner) {}
  std::string ClassName() const override { return "TColorDialog"; }
  TColor Color = clBlack;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  bool Run(HWND owner) override;
  COLORREF FCustom[16] = {};
};

}  // namespace tq
