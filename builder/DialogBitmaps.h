#pragma once
// The dialog bitmaps of a package: a picture drawn onto a template bitmap.
#include <string>

namespace tq {

// Draws the bitmap in pictureFile at its own size onto the bitmap in
// templateFile with its top-left corner at (x, y) (clipped at the template's
// edges, no scaling, an opaque copy) and saves the result as a 24-bit bitmap in
// outFile. Raises EInvalidGraphic for a file that is no readable bitmap.
void DrawOnTemplateBitmap(const std::string& templateFile, const std::string& pictureFile, int x, int y,
                          const std::string& outFile);

}  // namespace tq
