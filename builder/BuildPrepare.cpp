// The first build step: a fresh copy of the template database at the output
// path, the Info page's checks, the summary information, the product's
// properties, the dialog bitmaps, and the check that every source file exists.
#include "BuildSteps.h"

#include "DialogBitmaps.h"
#include "FileUtils.h"
#include "Prompts.h"
#include "choices.h"
#include "main.h"

namespace tq {

namespace {

// Summary information property ids.
constexpr unsigned PidTitle = 2;
constexpr unsigned PidTemplate = 7;
constexpr unsigned PidRevisionNumber = 9;
constexpr unsigned PidPageCount = 14;
constexpr unsigned PidWordCount = 15;

// One dialog bitmap: the picture drawn onto a template, stored as a Binary row.
struct TDialogBitmap {
  const char* RowName;
  const char* TemplateFile;
  TEdit* TRWInstallForm::*UserBitmap;
  const char* DefaultFile;
  int UserX, UserY;
  int DefaultX, DefaultY;
  const char* WorkFile;
};
const TDialogBitmap DialogBitmaps[] = {
    {"bannrbmp", "banner.template.bmp", &TRWInstallForm::edBannerBitmap, "banner.bmp", 440, 6, 440, 6,
     "banner.tmp.bmp"},
    {"dlgbmp", "welcome.template.bmp", &TRWInstallForm::edWelcomeBitmap, "welcome.bmp", 0, 0, 2, 76,
     "welcome.tmp.bmp"},
};

void ResetBuildResults(TBuild& build) {
  DisableCustomFlag = 1;
  FoundLicenseFile.clear();
  FoundReadmeFile.clear();
  build.FUninstallChoice = -1;
  build.FFtpDataWritten = false;
}

void CheckInfoPage(const TRWInstallForm& form) {
  const bool package = form.FProjectType == 0;
  if (form.edPackageCode->Text().empty()) throw EBuildException("One of the Guids is missing on the Information page");
  if ((package && form.edManufacturer->Text().empty()) || (package && form.edProductCode->Text().empty()) ||
      (!package && form.cbLanguage->ItemIndex() < 0) || form.edProductName->Text().empty() ||
      form.edProductVersion->Text().empty())
    throw EBuildException("There are missing fields on the Information page");
}

void WriteSummaryInformation(TBuild& build, const TRWInstallForm& form) {
  const bool package = form.FProjectType == 0;
  build.OpenSummaryInformation(5);
  build.SetSummaryProperty(PidRevisionNumber, form.edPackageCode->Text());
  build.SetSummaryProperty(PidTemplate, std::string(";1033"));
  build.SetSummaryProperty(PidPageCount, 110);
  build.SetSummaryProperty(PidTitle, std::string(package ? "Installation Database" : "Merge Module"));
  build.SetSummaryProperty(PidWordCount, 2);
  build.FCabinetName = package ? "primary.cab" : "MergeModule.CABinet";
  build.FKeySuffix = ProjectKeySuffix(form);
  // A merge module's signature and module id join here (merge-module support).
  build.PersistSummaryInformation();
}

void WriteProperties(TBuild& build, const TRWInstallForm& form) {
  auto set = [&build](const char* property, const std::string& value) {
    build.RunStatement(std::string("UPDATE Property SET Value=? WHERE Property='") + property + "'", {value});
  };
  set("SetGroupPath", "tqsetgroup.exe");
  set("Manufacturer", form.edManufacturer->Text());
  set("ProductCode", form.edProductCode->Text());
  set("ProductName", form.GetCleanProductName());
  set("ProductVersion", form.edProductVersion->Text());
  if (!form.edSupportUrl->Text().empty()) set("ARPHELPLINK", form.edSupportUrl->Text());
  if (!form.edHomepageUrl->Text().empty()) set("ARPURLINFOABOUT", form.edHomepageUrl->Text());
  // The installer reads ALLUSERS as text; "2" installs per machine where the
  // user may, per user otherwise.
  if (form.FProjectType == 0 && form.rbPerMachine->Checked())
    build.RunStatement("INSERT INTO Property (Property, Value) VALUES ('ALLUSERS',?)", {"2"});
  set("VERCOMP", form.edVersionComparison->Text());
}

void StoreDialogBitmap(TBuild& build, const TRWInstallForm& form, const TDialogBitmap& b) {
  build.RunStatement(std::string("Delete From Binary Where Name='") + b.RowName + "'");
  const std::string user = (form.*b.UserBitmap)->Text();
  const std::string picture = user.empty() ? form.FAppDir + b.DefaultFile : user;
  const int x = user.empty() ? b.DefaultX : b.UserX;
  const int y = user.empty() ? b.DefaultY : b.UserY;
  const std::string work = form.FAppDir + b.WorkFile;
  DrawOnTemplateBitmap(form.FAppDir + b.TemplateFile, picture, x, y, work);
  try {
    build.InsertStream("Select * From Binary", b.RowName, work);
  } catch (...) {
    DeleteFile(work);
    throw;
  }
  DeleteFile(work);
}

// The source files of the choices that are not there, in tab and list order.
std::vector<std::string> MissingSourceFiles(const TRWInstallForm& form) {
  std::vector<std::string> missing;
  const int tabs = form.RealChoiceCount();
  for (int tab = 0; tab < tabs; ++tab) {
    TChoice* choice = BuiltChoice(form, tab);
    if (!choice) continue;
    for (int j = 0; j < choice->Files->Count(); ++j)
      if (!FileExists(choice->Files->Get(j))) missing.push_back(choice->Files->Get(j));
  }
  return missing;
}

}  // namespace

bool PrepareDatabase(TBuild& build) {
  TRWInstallForm& form = *RWInstallForm;
  ResetBuildResults(build);
  build.CreateInstaller();

  const std::string templateFile = form.FAppDir + (form.FProjectType == 0 ? "template.tpl" : "templatemsm.tpl");
  if (!CopyFile(templateFile, form.FOutputFile, false))
    throw EFCreateError(
        Format("Cannot copy %s to %s: %s", {templateFile, form.FOutputFile, SysErrorMessage(GetLastOSError())}));
  DrainMessages();

  build.OpenDatabase(form.FOutputFile);
  CheckInfoPage(form);
  WriteSummaryInformation(build, form);
  WriteProperties(build, form);
  for (const TDialogBitmap& b : DialogBitmaps) StoreDialogBitmap(build, form, b);
  DrainMessages();

  std::vector<std::string> missing = MissingSourceFiles(form);
  if (missing.empty()) return true;
  std::string text = "The following files were not found.\r\n\t";
  for (const std::string& path : missing) text += path + "\r\n\t";
  MessageDlg(text, mtError, mbOK);
  return false;
}

}  // namespace tq
