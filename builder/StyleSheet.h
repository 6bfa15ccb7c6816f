#pragma once
// The setup pages' stylesheet tqstyle.css, written beside the package from the
// program folder's template tqstyle.tpl, in which ten "^" marks take, in order:
// the other-text font's colour ("#rrggbb", red first), size ("10pt"), name,
// "italic" or "normal", "bold" or "normal", then the same five of the Back,
// Next and Cancel font. The generated pages all link "tqstyle.css", so a new
// stylesheet changes them without their being made again.
//
//   std::string css = FillStyleSheet(ReadTemplate(), otherFont, buttonFont);
#include <string>

namespace tq {

class TFont;
class TRWInstallForm;

// The template text (up to its first zero byte) with its marks filled; marks
// beyond the ten stay, missing marks leave the later values out.
std::string FillStyleSheet(const std::string& tpl, const TFont& otherText, const TFont& backNextCancel);
// "#rrggbb" of a font colour (system colours resolved).
std::string StyleSheetColour(int colour);

// "Font And Color Options": the options dialog, and on OK tqstyle.css anew.
void buHtmlUiFontAndColorOptionsClick(TRWInstallForm& form);

}  // namespace tq
