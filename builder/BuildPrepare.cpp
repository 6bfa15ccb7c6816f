// The first build step: a fresh copy of the template database at the output
// path (the running build's work file, BuiltPackageFile), the Info page's
// checks, the summary information, the product's properties, the dialog
// bitmaps, and the check that every source file exists.
#include "BuildSteps.h"

#include "DialogBitmaps.h"
#include "FileUtils.h"
#include "PackageWork.h"
#include "Prompts.h"

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
  std::string TBuildProject::*UserBitmap;
  const char* DefaultFile;
  int UserX, UserY;
  int DefaultX, DefaultY;
  const char* WorkFile;
};
const TDialogBitmap DialogBitmaps[] = {
    {"bannrbmp", "banner.template.bmp", &TBuildProject::BannerBitmap, "banner.bmp", 440, 6, 440, 6,
     "banner.tmp.bmp"},
    {"dlgbmp", "welcome.template.bmp", &TBuildProject::WelcomeBitmap, "welcome.bmp", 0, 0, 2, 76,
     "welcome.tmp.bmp"},
};

void ResetBuildResults(TBuild& build) {
  build.FResults = TBuildResults();
  build.FUninstallChoice = -1;
  build.FFtpDataWritten = false;
}

void CheckInfoPage(const TBuildProject& project) {
  const bool package = !project.MergeModule();
  if (project.PackageCode.empty()) throw EBuildException("One of the Guids is missing on the Information page");
  if ((package && project.Manufacturer.empty()) || (package && project.ProductCode.empty()) ||
      (!package && project.LanguageIndex < 0) || project.ProductName.empty() || project.ProductVersion.empty())
    throw EBuildException("There are missing fields on the Information page");
}

void WriteSummaryInformation(TBuild& build, const TBuildProject& project) {
  const bool package = !project.MergeModule();
  build.OpenSummaryInformation(5);
  build.SetSummaryProperty(PidRevisionNumber, project.PackageCode);
  build.SetSummaryProperty(PidTemplate, std::string(";1033"));
  build.SetSummaryProperty(PidPageCount, 110);
  build.SetSummaryProperty(PidTitle, std::string(package ? "Installation Database" : "Merge Module"));
  build.SetSummaryProperty(PidWordCount, 2);
  build.FCabinetName = package ? "primary.cab" : "MergeModule.CABinet";
  build.FKeySuffix = project.KeySuffix;
  if (!package) WriteModuleSignature(build);
  build.PersistSummaryInformation();
}

void WriteProperties(TBuild& build, const TBuildProject& project) {
  auto set = [&build](const char* property, const std::string& value) {
    build.RunStatement(std::string("UPDATE Property SET Value=? WHERE Property='") + property + "'", {value});
  };
  set("SetGroupPath", "tqsetgroup.exe");
  set("Manufacturer", project.Manufacturer);
  set("ProductCode", project.ProductCode);
  set("ProductName", project.CleanProductName);
  set("ProductVersion", project.ProductVersion);
  if (!project.SupportUrl.empty()) set("ARPHELPLINK", project.SupportUrl);
  if (!project.HomepageUrl.empty()) set("ARPURLINFOABOUT", project.HomepageUrl);
  // The installer reads ALLUSERS as text; "2" installs per machine where the
  // user may, per user otherwise.
  if (!project.MergeModule() && project.PerMachine)
    build.RunStatement("INSERT INTO Property (Property, Value) VALUES ('ALLUSERS',?)", {"2"});
  set("VERCOMP", project.VersionComparison);
}

void StoreDialogBitmap(TBuild& build, const TBuildProject& project, const TDialogBitmap& b) {
  build.RunStatement(std::string("Delete From Binary Where Name='") + b.RowName + "'");
  const std::string& user = project.*b.UserBitmap;
  const std::string picture = user.empty() ? project.AppDir + b.DefaultFile : user;
  const int x = user.empty() ? b.DefaultX : b.UserX;
  const int y = user.empty() ? b.DefaultY : b.UserY;
  const std::string work = project.AppDir + b.WorkFile;
  DrawOnTemplateBitmap(project.AppDir + b.TemplateFile, picture, x, y, work);
  try {
    build.InsertStream("Select * From Binary", b.RowName, work);
  } catch (...) {
    DeleteFile(work);
    throw;
  }
  DeleteFile(work);
}

// The source files of the choices that are not there, in tab and list order.
std::vector<std::string> MissingSourceFiles(const TBuildProject& project) {
  std::vector<std::string> missing;
  for (const TBuildChoice& choice : project.Choices)
    for (const TBuildFile& file : choice.Files)
      if (!FileExists(file.Source)) missing.push_back(file.Source);
  return missing;
}

}  // namespace

bool PrepareDatabase(TBuild& build) {
  const TBuildProject& project = ProjectOf(build);
  ResetBuildResults(build);
  build.CreateInstaller();

  const std::string templateFile = project.AppDir + (project.MergeModule() ? "templatemsm.tpl" : "template.tpl");
  const std::string package = BuiltPackageFile(project.OutputFile);
  if (!CopyFile(templateFile, package, false))
    throw EFCreateError(Format("Cannot copy %s to %s: %s", {templateFile, package, SysErrorMessage(GetLastOSError())}));
  DrainMessages();

  build.OpenDatabase(package);
  CheckInfoPage(project);
  WriteSummaryInformation(build, project);
  WriteProperties(build, project);
  for (const TDialogBitmap& b : DialogBitmaps) StoreDialogBitmap(build, project, b);
  DrainMessages();

  std::vector<std::string> missing = MissingSourceFiles(project);
  if (missing.empty()) return true;
  std::string text = "The following files were not found.\r\n\t";
  for (const std::string& path : missing) text += path + "\r\n\t";
  MessageDlg(text, mtError, mbOK);
  return false;
}

}  // namespace tq
