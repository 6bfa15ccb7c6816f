// The small fields of the Info, Build and Msi pages that only mark the project
// modified, and the Msi page's bitmap browse buttons.
#include "main.h"

namespace tq {

namespace {

// The bitmap dialog; the field takes the chosen path, Cancel changes nothing.
void BrowseBitmap(TRWInstallForm& w, TEdit* field) {
  w.FModified = 1;
  w.OpenDialog7->Filter = "Bitmap Files (*.bmp)|*.bmp";
  w.OpenDialog7->DefaultExt = "bmp";
  if (w.OpenDialog7->Execute()) field->SetText(w.OpenDialog7->FileName);
}

}  // namespace

void TRWInstallForm::rgBuildTypeClick(TObject*) { FModified = 1; }

void TRWInstallForm::buWelcomeBitmapClick(TObject*) { BrowseBitmap(*this, edWelcomeBitmap); }

void TRWInstallForm::buBannerBitmapClick(TObject*) { BrowseBitmap(*this, edBannerBitmap); }

void TRWInstallForm::edWelcomeBitmapChange(TObject*) { FModified = 1; }

void TRWInstallForm::ckbIncludeMsiClick(TObject*) { FModified = 1; }

void TRWInstallForm::edHomepageUrlChange(TObject*) { FModified = 1; }

}  // namespace tq
