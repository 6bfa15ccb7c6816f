// What a distribution holds: its folders and names, the files of Setup.zip in
// their order, setup.ini and install.bat.
#include <cstdio>

#include "Distribution.h"
#include "FileUtils.h"
#include "IniFiles.h"
#include "UpdateCreation.h"

namespace tq {

namespace {

// The licence or readme text: the Gui page's file when the HTML pages show it
// and it exists, else the choices' file of that name when it exists.
void AddText(std::vector<std::string>& list, bool fromGuiPage, const std::string& guiFile,
             const std::string& found) {
  if (fromGuiPage && !guiFile.empty() && FileExists(guiFile)) list.push_back(guiFile);
  else if (!found.empty() && FileExists(found)) list.push_back(found);
}

void AddHtmlFrontEnd(const TDistributionJob& job, std::vector<std::string>& list) {
  const std::string packageDir = DistributionPackageDir(job);
  for (const char* f : {"Vantrel.exe", "ProgressBar.class", "ProgressBarApplet.class"})
    list.push_back(job.AppDir + f);
  list.push_back(packageDir + "TQSetup.htm");
  for (const TDistributionPage& page : job.Pages) {
    if (!page.Included) continue;
    list.push_back(packageDir + page.OutputName);
    list.insert(list.end(), page.SupportFiles.begin(), page.SupportFiles.end());
  }
  list.push_back(packageDir + "tqstyle.css");
}

void AddFlashFrontEnd(const TDistributionJob& job, std::vector<std::string>& list) {
  list.push_back(InstallBatPath(job));
  list.push_back(job.AppDir + "Sorvex.exe");
  list.push_back(job.FlashMovie);
  list.insert(list.end(), job.FlashSupportFiles.begin(), job.FlashSupportFiles.end());
}

const TDistributionPage* FindPage(const TDistributionJob& job, const char* name) {
  for (const TDistributionPage& page : job.Pages)
    if (page.Page == name) return &page;
  return nullptr;
}

}  // namespace

std::string DistributionPackageDir(const TDistributionJob& job) {
  return IncludeTrailingPathDelimiter(ExtractFileDir(job.PackageFile));
}

std::string DistributionDir(const TDistributionJob& job) {
  return DistributionPackageDir(job) + (job.CdImage ? "CD-Image" : "Floppy-Images") + job.FolderSuffix + "\\";
}

// In a work folder's job both are written in the work folder and put in place
// with the rest of the distribution.
std::string SetupIniPath(const TDistributionJob& job) {
  return (job.FolderSuffix.empty() ? DistributionPackageDir(job) : DistributionDir(job)) + "setup.ini";
}

std::string UninstallerCopyPath(const TDistributionJob& job) {
  return job.AppDir + "Uninstall" + job.ProductName + ".exe";
}

std::string InstallBatPath(const TDistributionJob& job) {
  return (job.FolderSuffix.empty() ? job.AppDir : DistributionDir(job)) + "install.bat";
}

std::string FloppyWholeArchivePath(const TDistributionJob& job) {
  return DistributionDir(job) + job.ProductName + "FloppySetup.zip";
}

std::string FloppyVolumeName(int volume) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%03d", (1001 + volume) % 1000);
  return std::string("Setup") + digits + ".zip";
}

std::vector<std::string> DistributionMembers(const TDistributionJob& job) {
  std::vector<std::string> list;
  list.push_back(job.AppDir + "Installation.txt");
  list.push_back(job.AppDir + "Install.exe");
  list.push_back(job.PackageFile);
  if (job.IncludeMsi) {
    list.push_back(job.AppDir + "InstMsiW.exe");
    list.push_back(job.AppDir + "InstMsiA.exe");
  }
  AddText(list, job.HtmlUi && job.LicenseHtml, job.LicenseFile, job.FoundLicenseFile);
  AddText(list, job.HtmlUi && job.ReadmeHtml, job.ReadmeFile, job.FoundReadmeFile);
  list.push_back(UninstallerCopyPath(job));
  if (job.HtmlUi) AddHtmlFrontEnd(job, list);
  if (job.FlashUi) AddFlashFrontEnd(job, list);
  list.push_back(SetupIniPath(job));
  return list;
}

void WriteSetupIni(const TDistributionJob& job) {
  const std::string path = SetupIniPath(job);
  if (FileExists(path) && !DeleteFile(path))
    throw EDistributionError("The old setup file \"" + path + "\" cannot be replaced.");
  TIniFile ini(path);
  ini.WriteString("Setup", "Version", GetMajorMinorVersion(job.ProductVersion));
  ini.WriteString("Setup", "Msiname", ExtractFileName(job.PackageFile));
  ini.WriteString("Setup", "PerUser", job.PerMachine ? "false" : "true");
  if (job.DisableComplete) ini.WriteString("Setup", "DisableComplete", "Yes");
  if (job.DisableCustom) ini.WriteString("Setup", "DisableCustom", "Yes");
  ini.WriteBool("Setup", "Vantrel", job.HtmlUi);
  if (job.HtmlUi) {
    for (const char* key : {"Welcome", "Custom", "Progress", "Finish"}) {
      const TDistributionPage* page = FindPage(job, key);
      ini.WriteString("Vantrel", key, page ? page->OutputName : "");
    }
  }
  ini.WriteBool("Setup", "Sorvex", job.FlashUi);
  if (job.FlashUi) ini.WriteString("Sorvex", "FlashMovie", ExtractFileName(job.FlashMovie));
  ini.UpdateFile();
  if (!FileExists(path)) throw EDistributionError("The setup file \"" + path + "\" cannot be written.");
}

std::string InstallBatText(const std::string& msiName) {
  return "@echo off\r\n"
         "echo The Flash installation will not execute due to your firewall settings\r\n"
         "echo Standard msi installation will begin\r\n"
         "echo See help file if you want to get Flash installation running\r\n"
         "msiexec /i \"" + msiName + "\"\r\n";
}

void WriteInstallBat(const TDistributionJob& job) {
  const std::string path = InstallBatPath(job);
  const std::string text = InstallBatText(ExtractFileName(job.PackageFile));
  THandle h = FileCreate(path);
  bool ok = h != INVALID_FILE_HANDLE;
  if (ok) {
    ok = FileWrite(h, text.data(), int64_t(text.size())) == int64_t(text.size());
    FileClose(h);
  }
  if (!ok) throw EDistributionError("The batch file \"" + path + "\" cannot be written.");
}

}  // namespace tq
