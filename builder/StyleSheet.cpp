// The stylesheet of the setup pages from its template and the page fonts.
#include "StyleSheet.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "BPOptionsDlg.h"
#include "Classes.h"
#include "FileUtils.h"
#include "GdiObjects.h"
#include "Prompts.h"
#include "main.h"

namespace tq {

std::string StyleSheetColour(int colour) {
  const COLORREF bgr = ColorToRGB(colour);
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(bgr), GetGValue(bgr), GetBValue(bgr));
  return text;
}

std::string FillStyleSheet(const std::string& tpl, const TFont& otherText, const TFont& backNextCancel) {
  std::string text = tpl.substr(0, tpl.find('\0'));
  std::vector<std::string> values;
  for (const TFont* font : {&otherText, &backNextCancel}) {
    values.push_back(StyleSheetColour(font->Color()));
    values.push_back(IntToStr(font->Size()) + "pt");
    values.push_back(font->Name());
    values.push_back((font->Style() & FontStyle(fsItalic)) ? "italic" : "normal");
    values.push_back((font->Style() & FontStyle(fsBold)) ? "bold" : "normal");
  }
  size_t at = 0;
  for (const std::string& value : values) {
    at = text.find('^', at);
    if (at == std::string::npos) break;
    text.replace(at, 1, value);
    at += value.size();
  }
  return text;
}

void buHtmlUiFontAndColorOptionsClick(TRWInstallForm& form) {
  if (form.FProjectFile.empty()) {
    MessageDlg("Please save the current project before changing fonts or colors.", mtInformation, mbOK);
    return;
  }
  if (!BPOptionsDlg || BPOptionsDlg->ShowModal() != mrOk) return;
  form.FModified = 1;
  std::string tpl;
  {
    TFileStream in(form.FAppDir + "tqstyle.tpl", fmOpenRead | fmShareDenyWrite);
    tpl.resize(static_cast<size_t>(in.Size()));
    if (!tpl.empty()) in.ReadBuffer(tpl.data(), static_cast<int64_t>(tpl.size()));
  }
  const std::string css =
      FillStyleSheet(tpl, BPOptionsDlg->FontDialog2->Font(), BPOptionsDlg->FontDialog1->Font());
  TFileStream out(ExtractFilePath(form.FOutputFile) + "tqstyle.css", fmCreate);
  if (!css.empty()) out.WriteBuffer(css.data(), static_cast<int64_t>(css.size()));
}

}  // namespace tq
