// The setup page generator on the open project: the job from the main window,
// the checks and messages of GenerateHtmlPages, and the Gui and Build page
// handlers that run it.
#include "HtmlPages.h"

#include <windows.h>

#include <exception>

#include "BPOptionsDlg.h"
#include "FileUtils.h"
#include "GdiObjects.h"
#include "Prompts.h"
#include "StyleSheet.h"
#include "main.h"

namespace tq {

namespace {

// A colour of the options dialog as 0xRRGGBB (system colours resolved).
uint32_t PageColour(TColor colour) {
  const COLORREF bgr = ColorToRGB(colour);
  return (GetRValue(bgr) << 16) | (GetGValue(bgr) << 8) | GetBValue(bgr);
}

// The hourglass while the pages are made, the default cursor afterwards.
struct THourGlass {
  THourGlass() { Screen->SetCursor(crHourGlass); }
  ~THourGlass() { Screen->SetCursor(crDefault); }
};

}  // namespace

THtmlPagesJob ProjectHtmlPagesJob(TRWInstallForm& form, bool allPages) {
  THtmlPagesJob job;
  job.AppDir = form.FAppDir;
  job.ProjectDir = ExtractFilePath(form.FProjectFile);
  TControlItems& tabs = form.tcHtmlPages->Tabs();
  for (int t = 0; t < tabs.Count(); ++t) {
    THtmlPageTab tab;
    tab.Caption = tabs[t];
    if (const TSetupPage* page = SetupPageByCaption(tab.Caption)) tab.Original = form.FHtmlPagesNames->*page->Original;
    tab.OutputName = form.GetHtmlPageSaveName(tab.Caption);
    job.Tabs.push_back(tab);
    if (allPages) job.Make.push_back(t);
  }
  if (!allPages && form.tcHtmlPages->TabIndex() >= 0) job.Make.push_back(form.tcHtmlPages->TabIndex());
  job.StartPage = allPages;
  job.DisableComplete = form.ckbDisableComplete->Checked();
  job.LicenseFile = form.edLicenseFile->Text();
  job.ReadmeFile = form.edReadmeFile->Text();
  if (BPOptionsDlg) {
    job.ProgressBackground = PageColour(BPOptionsDlg->ProgressBarBackgroundColorDlg->Color);
    job.ProgressForeground = PageColour(BPOptionsDlg->ProgressBarForegroundColorDlg->Color);
  }
  return job;
}

void GenerateHtmlPages(TRWInstallForm& form, bool allPages) {
  // A project never saved has no folder for its pages.
  if (form.FProjectFile.empty()) {
    MessageDlg("Please save the current project before saving any of the html pages.", mtInformation, mbOK);
    return;
  }
  if (allPages) {
    if (form.ckbLicenseHtml->Checked() && form.edLicenseFile->Text().empty()) {
      MessageDlg("Please select a license file", mtError, mbOK);
      return;
    }
    if (form.ckbReadmeHtml->Checked() && form.edReadmeFile->Text().empty()) {
      MessageDlg("Please select a readme file", mtError, mbOK);
      return;
    }
  }
  try {
    RunHtmlPagesJob(ProjectHtmlPagesJob(form, allPages));
  } catch (const std::exception& e) {
    MessageDlg(std::string("Unable to save file. The error message was ") + e.what(), mtError, mbOK);
  }
}

void buGenerateThePagesClick(TRWInstallForm& form) {
  for (const TSetupPage& page : SetupPages)
    if ((form.FHtmlPagesNames->*page.Original).empty()) {
      MessageDlg("One or more of the original html pages has not been specified.\r\n"
                 "Click the Edit button and see to it that each tab has an original file specified.",
                 mtError, mbOK);
      return;
    }
  THourGlass hourGlass;
  GenerateHtmlPages(form, true);
}

void ckbDisableCompleteClick(TRWInstallForm& form) {
  form.FModified = 1;
  if (!form.ckbHtmlUi->Checked()) return;
  THourGlass hourGlass;
  GenerateHtmlPages(form, true);
}

void InstallPageGenerator(TRWInstallForm& form) {
  form.buGenerateThePages->OnClick = [&form](TObject*) { buGenerateThePagesClick(form); };
  form.ckbDisableComplete->OnClick = [&form](TObject*) { ckbDisableCompleteClick(form); };
  form.buHtmlUiFontAndColorOptions->OnClick = [&form](TObject*) { buHtmlUiFontAndColorOptionsClick(form); };
}

}  // namespace tq
