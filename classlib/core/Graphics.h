#pragma once
// Colours, character sets and fonts as stored values: the named constants a
// component stream writes as identifiers, and a portable TFont (no drawing).
#include <cstdint>
#include <string>

#include "Component.h"
#include "TypInfo.h"

namespace tq {

// 0x00BBGGRR, or a system colour: 0x80000000 | the system colour index.
using TColor = int32_t;

constexpr TColor TColorSystem(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }

constexpr TColor clScrollBar = TColorSystem(0);
constexpr TColor clBackground = TColorSystem(1);
constexpr TColor clActiveCaption = TColorSystem(2);
constexpr TColor clInactiveCaption = TColorSystem(3);
constexpr TColor clMenu = TColorSystem(4);
constexpr TColor clWindow = TColorSystem(5);
constexpr TColor clWindowFrame = TColorSystem(6);
constexpr TColor clMenuText = TColorSystem(7);
constexpr TColor clWindowText = TColorSystem(8);
constexpr TColor clCaptionText = TColorSystem(9);
constexpr TColor clActiveBorder = TColorSystem(10);
constexpr TColor clInactiveBorder = TColorSystem(11);
constexpr TColor clAppWorkSpace = TColorSystem(12);
constexpr TColor clHighlight = TColorSystem(13);
constexpr TColor clHighlightText = TColorSystem(14);
constexpr TColor clBtnFace = TColorSystem(15);
constexpr TColor clBtnShadow = TColorSystem(16);
constexpr TColor clGrayText = TColorSystem(17);
constexpr TColor clBtnText = TColorSystem(18);
constexpr TColor clInactiveCaptionText = TColorSystem(19);
constexpr TColor clBtnHighlight = TColorSystem(20);
constexpr TColor cl3DDkShadow = TColorSystem(21);
constexpr TColor cl3DLight = TColorSystem(22);
constexpr TColor clInfoText = TColorSystem(23);
constexpr TColor clInfoBk = TColorSystem(24);
constexpr TColor clHotLight = TColorSystem(26);
constexpr TColor clGradientActiveCaption = TColorSystem(27);
constexpr TColor clGradientInactiveCaption = TColorSystem(28);
constexpr TColor clMenuHighlight = TColorSystem(29);
constexpr TColor clMenuBar = TColorSystem(30);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The colour for drawing: a system colour resolved through sysColor(index),
// others unchanged.
inline uint32_t ColorToRGB(TColor c, uint32_t (*sysColor)(int index)) {
  return c < 0 ? sysColor(c & 0xFF) : static_cast<uint32_t>(c);
}

using TFontCharset = uint8_t;
// windows.h defines the character sets as macros with the same values; then
// those are used.
#ifndef ANSI_CHARSET
constexpr TFontCharset ANSI_CHARSET = 0;
#endif
#ifndef DEFAULT_CHARSET
constexpr TFontCharset DEFAULT_CHARSET = 1;
#endif
#ifndef SYMBOL_CHARSET
constexpr TFontCharset SYMBOL_CHARSET = 2;
#endif
#ifndef MAC_CHARSET
constexpr TFontCharset MAC_CHARSET = 77;
#endif
#ifndef SHIFTJIS_CHARSET
constexpr TFontCharset SHIFTJIS_CHARSET = 128;
#endif
#ifndef HANGEUL_CHARSET
constexpr TFontCharset HANGEUL_CHARSET = 129;
#endif
#ifndef JOHAB_CHARSET
constexpr TFontCharset JOHAB_CHARSET = 130;
#endif
#ifndef GB2312_CHARSET
constexpr TFontCharset GB2312_CHARSET = 134;
#endif
#ifndef CHINESEBIG5_CHARSET
constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
#endif
#ifndef GREEK_CHARSET
constexpr TFontCharset GREEK_CHARSET = 161;
#endif
#ifndef TURKISH_CHARSET
constexpr TFontCharset TURKISH_CHARSET = 162;
#endif
#ifndef VIETNAMESE_CHARSET
constexpr TFontCharset VIETNAMESE_CHARSET = 163;
#endif
#ifndef HEBREW_CHARSET
constexpr TFontCharset HEBREW_CHARSET = 177;
#endif
#ifndef ARABIC_CHARSET
constexpr TFontCharset ARABIC_CHARSET = 178;
#endif
#ifndef BALTIC_CHARSET
constexpr TFontCharset BALTIC_CHARSET = 186;
#endif
#ifndef RUSSIAN_CHARSET
constexpr TFontCharset RUSSIAN_CHARSET = 204;
#endif
#ifndef THAI_CHARSET
constexpr TFontCharset THAI_CHARSET = 222;
#endif
#ifndef EASTEUROPE_CHARSET
constexpr TFontCharset EASTEUROPE_CHARSET = 238;
#endif
#ifndef OEM_CHARSET
constexpr TFontCharset OEM_CHARSET = 255;
#endif

enum TFontPitch { fpDefault, fpVariable, fpFixed };

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = uint32_t;  // bit (1 << TFontStyle)
constexpr TFontStyles FontStyle(TFontStyle s) { return TFontStyles{1} << s; }

enum TBorderStyle { bsNone, bsSingle };

// The named constants (registered for text readers at start-up).
const TIdentMap& ColorIdents();    // "TColor": "clBlack", "clWindowText", ...
const TIdentMap& CharsetIdents();  // "TFontCharset": "DEFAULT_CHARSET", ...
const TEnumNames& FontPitchNames();
const TEnumNames& FontStyleNames();
const TEnumNames& BorderStyleNames();

bool ColorToIdent(TColor color, std::string& ident);
bool IdentToColor(const std::string& ident, TColor& color);
std::string ColorToString(TColor color);  // the identifier, else "$00BBGGRR"
TColor StringToColor(const std::string& s);  // identifier or integer; EConvertError

// A font description. Size is in points at 96 pixels per inch and derived from
// Height (negative: character height; positive: cell height). Changes call
// OnChange. Stored sub-properties: Charset, Color, Height, Name, Pitch (when
// not fpDefault), Style.
class TFont : public TPersistent {
 public:
  static constexpr int PixelsPerInch = 96;
  TFont() = default;
  TQ_PUBLISHED(TFont)

  void Assign(const TPersistent& source) override;

  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  int Height() const { return FHeight; }
  void SetHeight(int v);
  const std::string& Name() const { return FName; }
  void SetName(const std::string& v);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch v);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles v);
  int Size() const;
  void SetSize(int points);

  TNotifyEvent OnChange;

 private:
  void Changed();
  TFontCharset FCharset = DEFAULT_CHARSET;
  TColor FColor = clWindowText;
  int FHeight = -11;  // 8 points
  std::string FName = "MS Sans Serif";
  TFontPitch FPitch = fpDefault;
  TFontStyles FStyle = 0;
};

}  // namespace tq
