#include "Dialogs.h"

#include "Forms.h"

namespace tq {

namespace {
HWND DialogOwner() {
  TForm* f = Screen->ActiveForm();
  if (!f) f = Application->MainForm();
  return f ? f->WindowHandle() : nullptr;
}
}  // namespace

bool TCommonDialog::Execute() {
  return ShowModalHook(Name(), [this] { return Run(DialogOwner()) ? mrOk : mrCancel; }) == mrOk;
}

bool TCommonDialog::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "HelpContext")) {
    HelpContext = prop.Value.AsInt();
    return true;
  }
  if (SameText(prop.Name, "Ctl3D")) return true;
  return TLayoutComponent::SetLayoutProperty(prop, loader);
}

// ---- file dialogs ----------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner) {}

bool TOpenDialog::Run(HWND owner) {
  std::string filter = Filter;
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter += std::string(2, '\0');
  std::vector<char> buffer(65536, '\0');
  lstrcpynA(buffer.data(), FileName.c_str(), static_cast<int>(buffer.size()));
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
  ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
  ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
  ofn.Flags = OFN_EXPLORER;
  if (Options & ofReadOnly) ofn.Flags |= OFN_READONLY;
  if (Options & ofOverwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (Options & ofHideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  if (Options & ofNoChangeDir) ofn.Flags |= OFN_NOCHANGEDIR;
  if (Options & ofAllowMultiSelect) ofn.Flags |= OFN_ALLOWMULTISELECT;
  if (Options & ofPathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (Options & ofFileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
  if (Options & ofCreatePrompt) ofn.Flags |= OFN_CREATEPROMPT;
  if (Options & ofNoReadOnlyReturn) ofn.Flags |= OFN_NOREADONLYRETURN;
  if (Options & ofEnableSizing) ofn.Flags |= OFN_ENABLESIZING;
  BOOL ok = IsSave() ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  if (!ok) return false;
  FilterIndex = static_cast<int>(ofn.nFilterIndex);
  FFiles.Clear();
  const char* p = buffer.data();
  std::string first = p;
  p += first.size() + 1;
  if ((Options & ofAllowMultiSelect) && *p) {
    std::string dir = first;
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    while (*p) {
      std::string name = p;
      FFiles.Add(dir + name);
      p += name.size() + 1;
    }
    FileName = FFiles.Get(0);
  } else {
    FileName = first;
    FFiles.Add(first);
  }
  return true;
}

bool TOpenDialog::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "FileName")) FileName = prop.Value.AsString();
  else if (SameText(n, "Filter")) Filter = prop.Value.AsString();
  else if (SameText(n, "FilterIndex")) FilterIndex = prop.Value.AsInt();
  else if (SameText(n, "DefaultExt")) DefaultExt = prop.Value.AsString();
  else if (SameText(n, "InitialDir")) InitialDir = prop.Value.AsString();
  else if (SameText(n, "Title")) Title = prop.Value.AsString();
  else if (SameText(n, "Options"))
    Options = LayoutSetValue(
        prop, loader,
        {{"ofReadOnly", ofReadOnly}, {"ofOverwritePrompt", ofOverwritePrompt}, {"ofHideReadOnly", ofHideReadOnly},
         {"ofNoChangeDir", ofNoChangeDir}, {"ofShowHelp", ofShowHelp}, {"ofNoValidate", ofNoValidate},
         {"ofAllowMultiSelect", ofAllowMultiSelect}, {"ofExtensionDifferent", ofExtensionDifferent},
         {"ofPathMustExist", ofPathMustExist}, {"ofFileMustExist", ofFileMustExist},
         {"ofCreatePrompt", ofCreatePrompt}, {"ofShareAware", ofShareAware},
         {"ofNoReadOnlyReturn", ofNoReadOnlyReturn}, {"ofNoTestFileCreate", ofNoTestFileCreate},
         {"ofNoNetworkButton", ofNoNetworkButton}, {"ofNoLongNames", ofNoLongNames},
         {"ofOldStyleDialog", ofOldStyleDialog}, {"ofNoDereferenceLinks", ofNoDereferenceLinks},
         {"ofEnableSizing", ofEnableSizing}});
  else return TCommonDialog::SetLayoutProperty(prop, loader);
  return true;
}

// ---- font dialog -----------------------------------------------------------

bool TFontDialog::Run(HWND owner) {
  LOGFONTA lf{};
  lf.lfHeight = FFont.Height();
  lf.lfWeight = (FFont.Style() & FontStyle(fsBold)) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (FFont.Style() & FontStyle(fsItalic)) ? 1 : 0;
  lf.lfUnderline = (FFont.Style() & FontStyle(fsUnderline)) ? 1 : 0;
  lf.lfStrikeOut = (FFont.Style() & FontStyle(fsStrikeOut)) ? 1 : 0;
  lf.lfCharSet = FFont.Charset();
  lstrcpynA(lf.lfFaceName, FFont.Name().c_str(), LF_FACESIZE);
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = owner;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  cf.rgbColors = ColorToRGB(FFont.Color());
  if (!ChooseFontA(&cf)) return false;
  FFont.SetName(lf.lfFaceName);
  FFont.SetHeight(lf.lfHeight);
  TFontStyles st = 0;
  if (lf.lfWeight >= FW_BOLD) st |= FontStyle(fsBold);
  if (lf.lfItalic) st |= FontStyle(fsItalic);
  if (lf.lfUnderline) st |= FontStyle(fsUnderline);
  if (lf.lfStrikeOut) st |= FontStyle(fsStrikeOut);
  FFont.SetStyle(st);
  FFont.SetCharset(lf.lfCharSet);
  FFont.SetColor(static_cast<TColor>(cf.rgbColors));
  return true;
}

bool TFontDialog::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (StartsText("Font.", n) && SetLayoutFontProperty(FFont, prop, loader)) return true;
  if (SameText(n, "MinFontSize") || SameText(n, "MaxFontSize") || SameText(n, "Options")) return true;
  return TCommonDialog::SetLayoutProperty(prop, loader);
}

// ---- colour dialog ---------------------------------------------------------

bool TColorDialog::Run(HWND owner) {
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = owner;
  cc.rgbResult = ColorToRGB(Color);
  cc.lpCustColors = FCustom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&cc)) return false;
  Color = static_cast<TColor>(cc.rgbResult);
  return true;
}

bool TColorDialog::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "Color")) {
    Color = LayoutColor(prop, loader);
    return true;
  }
  if (SameText(prop.Name, "Options") || SameText(prop.Name, "CustomColors.Strings")) return true;
  return TCommonDialog::SetLayoutProperty(prop, loader);
}

}  // namespace tq
