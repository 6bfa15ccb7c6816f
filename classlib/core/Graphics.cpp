#include "Graphics.h"

namespace tq {

const TIdentMap& ColorIdents() {
  static const TIdentMap map("TColor", {
      {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
      {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
      {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
      {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
      {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
      {clMedGray, "clMedGray"},
      {clActiveBorder, "clActiveBorder"}, {clActiveCaption, "clActiveCaption"},
      {clAppWorkSpace, "clAppWorkSpace"}, {clBackground, "clBackground"},
      {clBtnFace, "clBtnFace"}, {clBtnHighlight, "clBtnHighlight"}, {clBtnShadow, "clBtnShadow"},
      {clBtnText, "clBtnText"}, {clCaptionText, "clCaptionText"}, {clDefault, "clDefault"},
      {clGradientActiveCaption, "clGradientActiveCaption"},
      {clGradientInactiveCaption, "clGradientInactiveCaption"}, {clGrayText, "clGrayText"},
      {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clHotLight, "clHotLight"},
      {clInactiveBorder, "clInactiveBorder"}, {clInactiveCaption, "clInactiveCaption"},
      {clInactiveCaptionText, "clInactiveCaptionText"}, {clInfoBk, "clInfoBk"},
      {clInfoText, "clInfoText"}, {clMenu, "clMenu"}, {clMenuBar, "clMenuBar"},
      {clMenuHighlight, "clMenuHighlight"}, {clMenuText, "clMenuText"}, {clNone, "clNone"},
      {clScrollBar, "clScrollBar"}, {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"},
      {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"}, {clWindowText, "clWindowText"},
      // Read-only aliases.
      {clLtGray, "clLtGray"}, {clDkGray, "clDkGray"},
  });
  return map;
}

const TIdentMap& CharsetIdents() {
  static const TIdentMap map("TFontCharset", {
      {ANSI_CHARSET, "ANSI_CHARSET"}, {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
      {SYMBOL_CHARSET, "SYMBOL_CHARSET"}, {MAC_CHARSET, "MAC_CHARSET"},
      {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"}, {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
      {JOHAB_CHARSET, "JOHAB_CHARSET"}, {GB2312_CHARSET, "GB2312_CHARSET"},
      {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"}, {GREEK_CHARSET, "GREEK_CHARSET"},
      {TURKISH_CHARSET, "TURKISH_CHARSET"}, {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
      {HEBREW_CHARSET, "HEBREW_CHARSET"}, {ARABIC_CHARSET, "ARABIC_CHARSET"},
      {BALTIC_CHARSET, "BALTIC_CHARSET"}, {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
      {THAI_CHARSET, "THAI_CHARSET"}, {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
      {OEM_CHARSET, "OEM_CHARSET"},
  });
  return map;
}

const TEnumNames& FontPitchNames() {
  static const TEnumNames names("TFontPitch", {"fpDefault", "fpVariable", "fpFixed"});
  return names;
}

const TEnumNames& FontStyleNames() {
  static const TEnumNames names("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
  return names;
}

const TEnumNames& BorderStyleNames() {
  static const TEnumNames names("TBorderStyle", {"bsNone", "bsSingle"});
  return names;
}

namespace {
// Makes the constants known to readers of the text form without any call.
const bool kRegistered = [] {
  RegisterIntegerConsts(ColorIdents());
  RegisterIntegerConsts(CharsetIdents());
  return true;
}();
}  // namespace

bool ColorToIdent(TColor color, std::string& ident) { return ColorIdents().IntToIdent(color, ident); }
bool IdentToColor(const std::string& ident, TColor& color) { return ColorIdents().IdentToInt(ident, color); }

std::string ColorToString(TColor color) {
  std::string s;
  if (ColorToIdent(color, s)) return s;
  return "$" + IntToHex(static_cast<uint32_t>(color), 8);
}

TColor StringToColor(const std::string& s) {
  TColor c;
  if (IdentToColor(s, c)) return c;
  int64_t v;
  if (!TryStrToInt64(s, v) || v < INT32_MIN || v > UINT32_MAX)
    throw EConvertError("'%s' is not a valid integer value", {s});
  return static_cast<TColor>(static_cast<uint32_t>(v));
}

// ---- TFont ------------------------------------------------------------------

const TPropertyTable& TFont::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TFont>("TFont", TPersistent::ClassProperties())
          .Integer("Charset", &TFont::Charset, &TFont::SetCharset)
          .Idents(CharsetIdents())
          .Integer("Color", &TFont::Color, &TFont::SetColor)
          .Idents(ColorIdents())
          .Integer("Height", &TFont::Height, &TFont::SetHeight)
          .String("Name", &TFont::Name, &TFont::SetName)
          .Enum("Pitch", FontPitchNames(), &TFont::Pitch, &TFont::SetPitch)
          .Default(fpDefault)
          .Set("Style", FontStyleNames(), &TFont::Style, &TFont::SetStyle)
          .Build();
  return table;
}

void TFont::Assign(const TPersistent& source) {
  auto* f = dynamic_cast<const TFont*>(&source);
  if (!f) {
    TPersistent::Assign(source);
    return;
  }
  FCharset = f->FCharset;
  FColor = f->FColor;
  FHeight = f->FHeight;
  FName = f->FName;
  FPitch = f->FPitch;
  FStyle = f->FStyle;
  Changed();
}

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

void TFont::SetCharset(TFontCharset v) {
  if (v != FCharset) {
    FCharset = v;
    Changed();
  }
}
void TFont::SetColor(TColor v) {
  if (v != FColor) {
    FColor = v;
    Changed();
  }
}
void TFont::SetHeight(int v) {
  if (v != FHeight) {
    FHeight = v;
    Changed();
  }
}
void TFont::SetName(const std::string& v) {
  if (v != FName) {
    FName = v;
    Changed();
  }
}
void TFont::SetPitch(TFontPitch v) {
  if (v != FPitch) {
    FPitch = v;
    Changed();
  }
}
void TFont::SetStyle(TFontStyles v) {
  v &= 0x0F;
  if (v != FStyle) {
    FStyle = v;
    Changed();
  }
}

namespace {
// a * b / c rounded half away from zero, as the platform's MulDiv.
int MulDiv(int a, int b, int c) {
  int64_t p = static_cast<int64_t>(a) * b;
  int64_t q = (p >= 0 ? p + c / 2 : p - c / 2) / c;
  return static_cast<int>(q);
}
}  // namespace

int TFont::Size() const { return -MulDiv(FHeight, 72, PixelsPerInch); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, PixelsPerInch, 72)); }

}  // namespace tq
